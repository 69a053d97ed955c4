// The start-up sequence: refuse a second copy, go to the tray, find or launch
// the monitor, wake it, restore the options, show the first reading and start
// the tick.

#include <algorithm>
#include <string>

#include "app/form1.h"
#include "app/settings.h"
#include "monitor/install_path.h"
#include "monitor/monitor_contract.h"

namespace tervane::app {
namespace {

std::wstring describe(const std::exception& error) {
    const std::string what = error.what();
    return std::wstring(what.begin(), what.end());
}

}  // namespace

void Form1::load() {
    try {
        startUp();
    } catch (const WaitAbandoned&) {
        // The form was unloaded while start-up served messages: stop here.
    } catch (const std::exception& error) {
        if (!unloaded_) failStartup(L"Tervane Lite could not start: " + describe(error));
    }
}

void Form1::startUp() {
    // Whatever keeps this copy from taking the token, another copy may hold
    // it (one that runs elevated cannot even be opened): never run twice.
    if (desktop_.singleInstance() != SingleInstance::Taken) {
        desktop_.pumpMessages();
        desktop_.messageBox(kAlreadyRunning, kInformationBox);
        ended_ = true;
        return;
    }

    desktop_.showForm();
    waits_.pump();
    tray_.add(desktop_.formIcon(), kFirstTip);

    tick_.probe = desktop_.findWindow(monitor::kMainClass, monitor::kMainTitle);
    probePath_ = monitor::locateProbeFolder(desktop_);
    if (unloaded_) return;  // Exit chosen while the lookup's message box was up.

    if (tick_.probe == 0) {
        if (probePath_.empty()) return failStartup(kNotFound);
        const std::wstring executable = probePath_ + L"\\" + std::wstring(monitor::kExecutable);
        desktop_.launch(executable, probePath_);
        waits_.waitFor(timing_.afterLaunch);
    }
    searchForMonitor();
    if (tick_.probe == 0) return failStartup(kNotFound);
    waits_.waitFor(timing_.afterFound);

    monitor::WakeSequence wake(desktop_, waits_, tick_.probe, timing_.wake);
    if (!wake.wakeProbe()) probePath_ = kNotSupported;
    if (probePath_ == kNotSupported) return failStartup(kNotWoken);
    restoreSettings(desktop_);
    settingsRestored_ = true;

    timer1Timer();
    if (unloaded_) return;  // The monitor went away before the first tick.
    desktop_.setTimer(TimerId::Tick, timing_.tickInterval);

    // Centred in its normal state: the user may have closed or minimized the
    // window during start-up, and it is shown from there when restored.
    const Size screen = desktop_.screenSize();
    const Size form = desktop_.restoredFormSize();
    desktop_.placeRestoredForm(
        {(screen.width - form.width) / 2, (screen.height - form.height) / 2});
    // Minimizing hides the window (onResize). One the user minimized or closed
    // meanwhile is minimized already: minimizing it again would only show it.
    if (desktop_.formState() == FormState::Minimized) {
        desktop_.hideForm();
    } else {
        desktop_.setFormState(FormState::Minimized);
    }
}

// Looks for the monitor's main window for a limited time. Each window that
// comes or goes wakes the search, so the monitor's is taken at once.
void Form1::searchForMonitor() {
    const OtherWindowsWatch watch(desktop_);
    const Millis deadline = waits_.now() + timing_.searchLimit;
    tick_.probe = 0;
    for (Millis t = waits_.now(); t < deadline; t = waits_.now()) {
        waits_.pump();
        tick_.probe = desktop_.findWindow(monitor::kMainClass, monitor::kMainTitle);
        if (tick_.probe != 0) return;
        waits_.waitOnce(std::min(waits_.now() + timing_.searchPoll, deadline));
    }
}

void Form1::failStartup(std::wstring_view message) {
    desktop_.messageBox(message, kStopBox);
    exitRequested_ = true;
    unload();
}

}  // namespace tervane::app
