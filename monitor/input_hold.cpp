#include "monitor/input_hold.h"

#include <utility>

#include "base/errors.h"

namespace tervane::monitor {

bool HeldInput::hold(WindowHandle monitor) {
    // Read in the program's own coordinates, so the cursor comes back exactly.
    savedCursor_ = input_.cursorPos();
    monitor_ = monitor;
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
    // Each step is taken whatever became of the one before.
    quietly([&] { requests_.useOwnCoordinates(); });
    quietly([&] { input_.blockInput(false); });
}

// A cursor the user or another program has moved since stays there. The
// press was made in the monitor's coordinates: it is looked for in them.
void HeldInput::putCursorBack() noexcept {
    const std::optional<Point> leftAt = std::exchange(leftAt_, std::nullopt);
    if (!leftAt) return;
    bool there = false;
    quietly([&] { there = requests_.useCoordinatesOf(monitor_) && input_.cursorPos() == *leftAt; });
    quietly([&] { requests_.useOwnCoordinates(); });
    if (there) quietly([&] { input_.moveCursor(savedCursor_); });
}

void InputHold::press(Point point, MouseButton button) {
    input_.input_.press(point, button);
    input_.leftAt_ = point;
}

}  // namespace tervane::monitor
