#pragma once
// Wakes the monitor: brings its main window to the front and clicks its panel
// strip with user input blocked.

#include <cstdint>

#include "platform/desktop.h"
#include "platform/errors.h"
#include "platform/waits.h"

namespace tervane::monitor {

// Click positions are 16-bit screen coordinates; a step that leaves that range
// is an error, never a wrapped coordinate.
struct CoordinateOverflow : ProgramError {
    CoordinateOverflow() : ProgramError("Overflow") {}
};
std::int16_t checked16(std::int64_t value);

struct WakeTiming {
    Millis foregroundLimit{30'000};
    // Splash wait (also woken when windows come and go) and foreground loop.
    Millis pollInterval{250};
    Millis settleAfterMove{20};  // lets a cursor move take effect before the click
    Millis pauseAfterClick{9};
};

// Blocks user input for its lifetime; on the way out, whatever the way,
// unblocks it and puts the cursor back where it was.
class InputBlock {
  public:
    explicit InputBlock(Desktop& desktop);
    ~InputBlock();
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

  private:
    Desktop& desktop_;
    Point savedCursor_;
};

class WakeSequence {
  public:
    WakeSequence(Desktop& desktop, Waits& waits, WindowHandle probe, WakeTiming timing = {})
        : desktop_(desktop), waits_(waits), probe_(probe), timing_(timing) {}

    // True when the panel strip was clicked; false when the monitor could not
    // be brought to the front at non-negative screen coordinates.
    bool wakeProbe();

  private:
    void waitForSplash();
    WindowHandle bringToFront();
    void clickPanels(std::int16_t x, std::int16_t y);
    void clickAt(std::int16_t x, std::int16_t y);

    Desktop& desktop_;
    Waits& waits_;
    WindowHandle probe_;
    WakeTiming timing_;
};

}  // namespace tervane::monitor
