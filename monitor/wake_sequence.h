#pragma once
// Wakes the monitor: brings its main window to the front and clicks its panel
// strip. Nothing here waits on the monitor's thread: each act on its window
// is asked for, and what depends on it waits, serving messages, until the
// window shows it. Each press carries its point and is made only where the
// monitor's own window is; the user's input is held only while pressing.

#include <cstddef>
#include <optional>

#include "base/errors.h"
#include "base/waits.h"
#include "monitor/input_hold.h"
#include "platform/desktop.h"

namespace tervane::monitor {

// Press points are 16-bit screen coordinates; one that leaves that range is
// an error, never a wrapped point.
struct CoordinateOverflow : ProgramError {
    CoordinateOverflow() : ProgramError("Overflow") {}
};

enum class WakeOutcome {
    Woken,        // its panel strip was pressed
    NotWoken,     // it could not be brought to the front and pressed: the user is told
    MonitorGone,  // its window went, and none of its windows came instead
};

class WakeSequence {
  public:
    WakeSequence(OtherWindows& windows, WindowRequests& requests, SyntheticInput& input,
                 HeldInput& held, Waits& waits, WindowHandle probe)
        : windows_(windows),
          requests_(requests),
          input_(input),
          held_(held),
          waits_(waits),
          probe_(probe) {}

    WakeOutcome wakeProbe();

  private:
    void waitForSplash();
    bool bringToFront();
    bool answers();
    bool carriedOut(bool (*shows)(const WindowState&));
    bool pressClicks(std::size_t first, std::size_t end);
    bool pressOne(InputHold& hold, std::size_t click);
    bool exists();
    WakeOutcome neverInFront();
    WakeOutcome notWoken();
    WakeOutcome giveUp();
    WakeOutcome whenGone();

    OtherWindows& windows_;
    WindowRequests& requests_;
    SyntheticInput& input_;
    HeldInput& held_;
    Waits& waits_;
    WindowHandle probe_;
};

}  // namespace tervane::monitor
