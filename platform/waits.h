#pragma once
// Waiting that keeps the window and the tray served: every wait sleeps until a
// message arrives or its deadline comes, on the monotonic clock, and dispatches
// what arrived. A wait whose owner has gone (the form was unloaded by a handler
// that ran during the pump) stops by throwing WaitAbandoned.

#include <functional>

#include "platform/desktop.h"
#include "platform/errors.h"

namespace tervane {

struct WaitAbandoned : ProgramError {
    WaitAbandoned() : ProgramError("the form was unloaded during a wait") {}
};

class Waits {
  public:
    Waits(Desktop& desktop, std::function<bool()> abandoned)
        : desktop_(desktop), abandoned_(std::move(abandoned)) {}

    Millis now() { return desktop_.now(); }
    // Dispatches the waiting messages once.
    void pump();
    // Serves messages until the deadline.
    void waitUntil(Millis deadline);
    void waitFor(Millis duration) { waitUntil(now() + duration); }

  private:
    Desktop& desktop_;
    std::function<bool()> abandoned_;
};

}  // namespace tervane
