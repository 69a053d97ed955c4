#include "base/waits.h"

#include <algorithm>

namespace tervane {

void Waits::pump() {
    loop_.pumpMessages();
    if (afterPump_) afterPump_();
}

void Waits::waitUntil(Millis deadline) {
    for (Millis t = now(); t < deadline; t = now()) {
        loop_.waitForMessage(deadline - t);
        pump();
    }
}

bool Waits::poll(Millis deadline, Millis every, const std::function<bool()>& done) {
    for (;;) {
        pump();
        if (done()) return true;
        const Millis t = now();
        if (t >= deadline) return false;
        loop_.waitForMessage(std::min(every, deadline - t));
    }
}

}  // namespace tervane
