#pragma once
// One update tick: look the monitor up, capture its readings, and bring the
// tray picture and tip up to date. One window lookup, one walk that stops at
// the tenth slot, no icon loaded once each picture has been seen, one change.

#include "monitor/reading_capture.h"
#include "platform/desktop.h"
#include "readout/icon_cache.h"
#include "readout/tray_icon.h"

namespace tervane::readout {

struct TickState {
    WindowHandle probe = 0;
    monitor::ReadingTable table;
    bool showMb = false;
};

enum class TickOutcome { Updated, MonitorGone };

// The options are read from the window on every tick: nothing caches them.
TickOutcome runUpdateTick(OtherWindows& windows, OptionsWindow& options, TickState& state,
                          TrayIcon& tray, IconCache& icons);

}  // namespace tervane::readout
