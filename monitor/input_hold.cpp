#include "monitor/input_hold.h"

namespace tervane::monitor {

bool HeldInput::hold(WindowHandle monitor) {
    // Read in the program's own coordinates, so the cursor comes back exactly.
    savedCursor_ = input_.cursorPos();
    leftAt_.reset();
    held_ = true;
    try {
        input_.blockInput(true);
        // At display scaling the system stretches a monitor that is not DPI
        // aware: its corner and the presses are reckoned in its own points.
        return requests_.useCoordinatesOf(monitor);
    } catch (...) {
        release();
        throw;
    }
}

void HeldInput::release() noexcept {
    if (!held_) return;
    held_ = false;
    // Each step is taken whatever became of the one before. A cursor the
    // user or another program has moved since the last press stays there.
    bool putBack = false;
    try {
        putBack = leftAt_ && input_.cursorPos() == *leftAt_;
    } catch (...) {
    }
    try {
        requests_.useOwnCoordinates();
    } catch (...) {
    }
    try {
        input_.blockInput(false);
    } catch (...) {
    }
    try {
        if (putBack) input_.moveCursor(savedCursor_);
    } catch (...) {
    }
}

void InputHold::press(Point point, MouseButton button) {
    input_.input_.press(point, button);
    input_.leftAt_ = point;
}

}  // namespace tervane::monitor
