#pragma once
// Waiting that keeps the window and the tray served: every wait sleeps until a
// message arrives or its deadline comes, on the monotonic clock, and dispatches
// what arrived. After each pass the owner's afterPump runs: it takes up what
// was put off meanwhile, and stops a wait whose owner has gone (the form was
// unloaded by a handler that ran during the pump) by throwing WaitAbandoned.

#include <functional>

#include "base/errors.h"
#include "platform/desktop.h"

namespace tervane {

struct WaitAbandoned : ProgramError {
    WaitAbandoned() : ProgramError("the form was unloaded during a wait") {}
};

// For its lifetime, waits also end when another program's window comes or goes.
class OtherWindowsWatch {
  public:
    explicit OtherWindowsWatch(MessageLoop& loop) : loop_(loop) { loop_.watchOtherWindows(true); }
    ~OtherWindowsWatch() {
        quietly([this] { loop_.watchOtherWindows(false); });
    }
    OtherWindowsWatch(const OtherWindowsWatch&) = delete;
    OtherWindowsWatch& operator=(const OtherWindowsWatch&) = delete;

  private:
    MessageLoop& loop_;
};

class Waits {
  public:
    Waits(MessageLoop& loop, std::function<void()> afterPump)
        : loop_(loop), afterPump_(std::move(afterPump)) {}

    MessageLoop& loop() { return loop_; }
    Millis now() { return loop_.now(); }
    // Dispatches the waiting messages once.
    void pump();
    // Serves messages until the deadline.
    void waitUntil(Millis deadline);
    void waitFor(Millis duration) { waitUntil(now() + duration); }
    // Serves messages and asks done() after each pass: true once it is,
    // false when the deadline passes first. A pass ends when a message
    // arrives or after `every`, for what done() looks at may change without
    // a message.
    bool poll(Millis deadline, Millis every, const std::function<bool()>& done);

  private:
    MessageLoop& loop_;
    std::function<void()> afterPump_;
};

}  // namespace tervane
