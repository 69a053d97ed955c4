#include "base/waits.h"

namespace tervane {

void Waits::pump() {
    loop_.pumpMessages();
    if (afterPump_) afterPump_();
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
