#pragma once
// Wakes the monitor: brings its main window to the front and clicks its panel
// strip, holding the user's input back only while it clicks. Nothing here
// waits on the monitor's thread: each act on its window is asked for, and
// what depends on it waits, serving messages, until the window shows it.

#include <cstdint>

#include "base/errors.h"
#include "base/waits.h"
#include "platform/desktop.h"

namespace tervane::monitor {

// Click positions are 16-bit screen coordinates; a step that leaves that range
// is an error, never a wrapped coordinate.
struct CoordinateOverflow : ProgramError {
    CoordinateOverflow() : ProgramError("Overflow") {}
};
std::int16_t checked16(std::int64_t value);

// Blocks user input for its lifetime; on the way out, whatever the way,
// unblocks it and puts the cursor back where it was.
class InputBlock {
  public:
    explicit InputBlock(SyntheticInput& input);
    ~InputBlock();
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

  private:
    SyntheticInput& input_;
    Point savedCursor_;
};

// For its lifetime, rectangles and cursor positions are those the window
// itself sees: the monitor's own points, at any display scaling.
class WindowCoordinates {
  public:
    WindowCoordinates(OtherWindows& windows, WindowHandle window) : windows_(windows) {
        windows_.useCoordinatesOf(window);
    }
    ~WindowCoordinates() {
        try {
            windows_.useOwnCoordinates();
        } catch (...) {
            // Nothing more can be done from a destructor.
        }
    }
    WindowCoordinates(const WindowCoordinates&) = delete;
    WindowCoordinates& operator=(const WindowCoordinates&) = delete;

  private:
    OtherWindows& windows_;
};

// Asks for the monitor's window on top of the others; a wake abandoned
// before keep() or lift() (an exit, the session's end, an error) asks for it
// not to be on top any more.
class TopmostWhileWaking {
  public:
    TopmostWhileWaking(OtherWindows& windows, WindowHandle window);
    ~TopmostWhileWaking();
    TopmostWhileWaking(const TopmostWhileWaking&) = delete;
    TopmostWhileWaking& operator=(const TopmostWhileWaking&) = delete;

    void keep() { settled_ = true; }
    void lift();

  private:
    OtherWindows& windows_;
    WindowHandle window_;
    bool settled_ = false;
};

class WakeSequence {
  public:
    WakeSequence(OtherWindows& windows, SyntheticInput& input, Waits& waits, WindowHandle probe)
        : windows_(windows), input_(input), waits_(waits), probe_(probe) {}

    // True when the panel strip was clicked; false when the monitor could not
    // be brought to the front at non-negative screen coordinates, or did not
    // answer within the time the front is waited for.
    bool wakeProbe();

  private:
    void waitForSplash();
    WindowHandle bringToFront(Millis deadline);
    bool answers(Millis deadline);
    bool carriedOut(bool (*shows)(const WindowState&), Millis deadline);
    Rect monitorRect();
    void clickPanels(std::int16_t x, std::int16_t y);
    void clickAt(std::int16_t x, std::int16_t y);

    OtherWindows& windows_;
    SyntheticInput& input_;
    Waits& waits_;
    WindowHandle probe_;
};

}  // namespace tervane::monitor
