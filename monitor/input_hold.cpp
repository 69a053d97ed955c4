#include "monitor/input_hold.h"

namespace tervane::monitor {

void HeldInput::hold(WindowHandle monitor) {
    // Kept in the program's own coordinates, so the cursor comes back exactly.
    savedCursor_ = input_.cursorPos();
    held_ = true;
    try {
        input_.blockInput(true);
        // At display scaling the system stretches a monitor that is not DPI
        // aware: its rectangle and the clicks are reckoned in its own points.
        windows_.useCoordinatesOf(monitor);
    } catch (...) {
        release();
        throw;
    }
}

void HeldInput::release() noexcept {
    if (!held_) return;
    held_ = false;
    // Each step is taken whatever became of the one before.
    try {
        windows_.useOwnCoordinates();
    } catch (...) {
    }
    try {
        input_.blockInput(false);
    } catch (...) {
    }
    try {
        input_.setCursorPos(savedCursor_);
    } catch (...) {
    }
}

}  // namespace tervane::monitor
