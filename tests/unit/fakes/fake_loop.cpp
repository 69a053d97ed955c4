#include "fakes/fake_loop.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tervane::fake {
namespace {

// A wait moves the clock; a program that never waits would spin forever, so
// a runaway loop fails the test instead.
constexpr long kPumpLimit = 10'000'000;

}  // namespace

void FakeMessageLoop::at(Millis when, std::function<void()> action) {
    scheduled_.push_back({when, std::move(action), false});
}

void FakeMessageLoop::atWindowChange(Millis when, std::function<void()> action) {
    scheduled_.push_back({when, std::move(action), true});
}

void FakeMessageLoop::windowChanged() {
    if (watching) changeQueued_ = true;
}

void FakeMessageLoop::pumpMessages() {
    log_.record(Call::PumpMessages);
    if (++pumps > kPumpLimit) throw std::logic_error("the program pumps without end");
    waitedWhileDue_ = false;
    // Runs what is due, in time order; an action may schedule more.
    for (;;) {
        auto due = std::min_element(scheduled_.begin(), scheduled_.end(),
                                    [](const auto& a, const auto& b) { return a.when < b.when; });
        if (due == scheduled_.end() || due->when > clock) return;
        auto action = std::move(due->action);
        scheduled_.erase(due);
        action();
    }
}

void FakeMessageLoop::waitForMessage(Millis timeout) {
    log_.record(Call::WaitForMessage);
    ++waits;
    if (std::exchange(changeQueued_, false)) return;
    // Sleeps until the timeout, or until the next scripted event arrives.
    Millis until = clock + timeout;
    for (const auto& s : scheduled_) {
        if (!s.windowChange || watching) until = std::max(clock, std::min(until, s.when));
    }
    // An event that has arrived ends the wait at once, as on the platform;
    // waiting again before serving it would leave it waiting for good.
    if (until == clock && timeout > Millis{0} && std::exchange(waitedWhileDue_, true)) {
        throw std::logic_error("the program waits on without serving an event that has arrived");
    }
    clock = until;
}

void FakeMessageLoop::watchOtherWindows(bool on) {
    log_.record(on ? Call::WatchOn : Call::WatchOff);
    watching = on;
    if (!on) changeQueued_ = false;
}

void FakeMessageLoop::setTimer(TimerId timer, Millis interval) {
    log_.record(timer == TimerId::Tick ? Call::SetTickTimer : Call::SetRetryTimer);
    if (interval.count() == 0) {
        timers.erase(timer);
    } else {
        timers[timer] = interval;
    }
}

}  // namespace tervane::fake
