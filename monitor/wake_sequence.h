#pragma once
// Wakes the monitor: brings its main window to the front and clicks its panel
// strip, holding the user's input back only while it clicks. Nothing here
// waits on the monitor's thread: each act on its window is asked for, and
// what depends on it waits, serving messages, until the window shows it. A
// click is made only where the monitor's window is at that moment.

#include <array>
#include <cstdint>
#include <optional>

#include "base/errors.h"
#include "base/waits.h"
#include "monitor/input_hold.h"
#include "platform/desktop.h"

namespace tervane::monitor {

// Click positions are 16-bit screen coordinates; a step that leaves that range
// is an error, never a wrapped coordinate.
struct CoordinateOverflow : ProgramError {
    CoordinateOverflow() : ProgramError("Overflow") {}
};
std::int16_t checked16(std::int64_t value);

// The point the clicks are reckoned from: the corner moved by the strip's anchor.
Point anchorPoint(const Rect& rect);
// The six clicks for a window whose top-left corner is the rectangle's, in
// the order they are made, each step of the arithmetic checked in the order
// the panel strip is walked.
std::array<Point, 6> panelPoints(const Rect& rect);

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

// How a wait for the monitor ended.
enum class Road {
    Shown,     // the window shows what it was asked
    Refused,   // it answered, yet does not show it
    Gone,      // the window is gone
    NoAnswer,  // it did not answer within the wait's limit
};

// How the look right before a press ended.
enum class Press {
    Made,         // the monitor was there as the click needs it, and was clicked
    MonitorGone,  // its window is gone
    NotThere,     // moved, covered, not in its normal state, not on top as needed
};

class WakeSequence {
  public:
    WakeSequence(OtherWindows& windows, SyntheticInput& input, HeldInput& held, Waits& waits,
                 WindowHandle probe)
        : windows_(windows), input_(input), held_(held), waits_(waits), probe_(probe) {}

    // True when start-up goes on: the panel strip was clicked, the monitor
    // went away after the first click (the first tick then ends the program),
    // or only the last click was left out. False when the monitor could not
    // be brought to the front at non-negative screen coordinates, did not
    // answer in time, or was not there for the clicks.
    bool wakeProbe();

  private:
    void waitForSplash();
    WindowHandle bringToFront();
    Road answers();
    Road carriedOut(bool (*shows)(const WindowState&));
    std::optional<Rect> monitorRect();
    bool holdWhenUserIsFree(std::optional<InputHold>& hold);
    struct Burst {
        int made = 0;  // clicks made
        Press end = Press::NotThere;
    };
    Burst clickPanels();
    void clickLast();
    Press press(std::size_t click, bool onTop);

    OtherWindows& windows_;
    SyntheticInput& input_;
    HeldInput& held_;
    Waits& waits_;
    WindowHandle probe_;
};

}  // namespace tervane::monitor
