#pragma once
// The user's input, held back while the wake presses. The program's event
// handlers see whether it is held: meanwhile nothing may go modal or wait on
// another program, for the user could neither answer nor close it.

#include <optional>

#include "platform/desktop.h"

namespace tervane::monitor {

class HeldInput {
  public:
    HeldInput(WindowRequests& requests, SyntheticInput& input)
        : requests_(requests), input_(input) {}
    HeldInput(const HeldInput&) = delete;
    HeldInput& operator=(const HeldInput&) = delete;

    bool held() const { return held_; }
    // Frees the input now; nothing when it is not held.
    void release() noexcept;

  private:
    friend class InputHold;
    bool hold(WindowHandle monitor);
    void putCursorBack() noexcept;

    WindowRequests& requests_;
    SyntheticInput& input_;
    bool held_ = false;
    WindowHandle monitor_ = 0;
    Point savedCursor_;            // in the program's own coordinates
    std::optional<Point> leftAt_;  // where the last press left the cursor
};

// Holds the user's input for its lifetime, with the monitor's own coordinates
// in use (the one place that switches them); on the way out, whatever the
// way, frees it and puts the cursor back (the input may be freed sooner, for
// the cursor to settle first).
class InputHold {
  public:
    InputHold(HeldInput& input, WindowHandle monitor)
        : input_(input), inMonitorCoordinates_(input.hold(monitor)) {}
    ~InputHold() {
        input_.release();
        input_.putCursorBack();
    }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    // False where the platform cannot give the monitor's coordinates and the
    // display is scaled: a point reckoned here would miss.
    bool inMonitorCoordinates() const { return inMonitorCoordinates_; }
    void press(Point point, MouseButton button);

  private:
    HeldInput& input_;
    bool inMonitorCoordinates_;
};

}  // namespace tervane::monitor
