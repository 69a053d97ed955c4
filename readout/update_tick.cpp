#include "readout/update_tick.h"

#include "monitor/monitor_contract.h"
#include "readout/readout.h"

namespace tervane::readout {

TickOutcome runUpdateTick(OtherWindows& windows, OptionsWindow& options, TickState& state,
                          TrayIcon& tray, IconCache& icons) {
    state.probe = windows.findWindow(monitor::kMainClass, monitor::kMainTitle);
    if (state.probe == 0) return TickOutcome::MonitorGone;

    monitor::captureReadings(state.table, windows, state.probe);
    const Readout readout = composeReadout(state.table, options.toggleValue(), state.showMb,
                                           [&] { return options.whiteSelected(); });
    tray.change(icons.get(readout.iconId), readout.tipText);
    return TickOutcome::Updated;
}

}  // namespace tervane::readout
