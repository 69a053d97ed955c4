#include "readout/update_tick.h"

#include "monitor/monitor_contract.h"
#include "readout/readout.h"

namespace tervane::readout {

TickOutcome runUpdateTick(Desktop& desktop, TickState& state, TrayIcon& tray, IconCache& icons) {
    state.probe = desktop.findWindow(monitor::kMainClass, monitor::kMainTitle);
    if (state.probe == 0) return TickOutcome::MonitorGone;

    monitor::captureReadings(state.table, desktop, state.probe);
    const Readout readout = composeReadout(state.table, desktop.toggleValue(), state.showMb,
                                           [&] { return desktop.whiteSelected(); });
    tray.change(icons.get(readout.iconId), readout.tipText);
    return TickOutcome::Updated;
}

}  // namespace tervane::readout
