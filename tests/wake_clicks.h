#pragma once
// The six clicks that wake the monitor, as offsets from the top-left corner
// of its main window, in order: above the panel strip, three along it, the
// strip's anchor, then, once the window is no longer topmost, its last one.
// Written out as the monitor's layout has them, not reckoned as the program
// reckons them, for the unit and the end-to-end checks alike.

#include <array>

#include "platform/desktop.h"

namespace tervane::expected {

inline constexpr std::array<Point, 6> kWakeClicks{
    {{150, 52}, {220, 100}, {290, 100}, {360, 100}, {150, 100}, {555, 15}}};

}  // namespace tervane::expected
