#include "base/waits.h"

namespace tervane {

void Waits::pump() {
    loop_.pumpMessages();
    if (abandoned_ && abandoned_()) throw WaitAbandoned();
}

void Waits::waitOnce(Millis deadline) {
    if (const Millis t = now(); t < deadline) loop_.waitForMessage(deadline - t);
    pump();
}

void Waits::waitUntil(Millis deadline) {
    for (Millis t = now(); t < deadline; t = now()) {
        loop_.waitForMessage(deadline - t);
        pump();
    }
}

}  // namespace tervane
