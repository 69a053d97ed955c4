// The start-up sequence: refuse a second copy, go to the tray, find or launch
// the monitor, wake it, restore the options, show the first reading and start
// the tick.

#include <string>

#include "app/form1.h"
#include "app/settings.h"
#include "monitor/install_path.h"
#include "monitor/monitor_contract.h"
#include "monitor/wake_sequence.h"

namespace tervane::app {
namespace {

constexpr Millis kSearchLimit{30'000};
// The search is woken when other windows come and go; the poll only backs
// that up.
constexpr Millis kSearchPoll{250};
constexpr Millis kAfterLaunch{2'000};
constexpr Millis kAfterFound{1'000};
constexpr Millis kTickInterval{1'000};

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
        if (handlesEvents()) failStartup(L"Tervane Lite could not start: " + describe(error));
    }
}

void Form1::startUp() {
    // Whatever keeps this copy from taking the token, another copy may hold
    // it (one that runs elevated cannot even be opened): never run twice.
    if (desktop_.machine.singleInstance() != SingleInstance::Taken) {
        phase_ = Phase::Ended;  // this copy handles no event from here on
        desktop_.loop.pumpMessages();
        desktop_.boxes.messageBox(kAlreadyRunning, kInformationBox);
        return;
    }

    desktop_.form.showForm();
    waits_.pump();
    tray_.add(desktop_.form.formIcon(), kFirstTip);

    tick_.probe = desktop_.windows.findWindow(monitor::kMainClass, monitor::kMainTitle);
    const std::wstring probePath = monitor::locateProbeFolder(desktop_.machine, desktop_.boxes);
    if (!handlesEvents()) return;  // Exit chosen while the lookup's message box was up.

    if (tick_.probe == 0) {
        if (probePath.empty()) return failStartup(kNotFound);
        const std::wstring executable = probePath + L"\\" + std::wstring(monitor::kExecutable);
        desktop_.machine.launch(executable, probePath);
        waits_.waitFor(kAfterLaunch);
    }
    searchForMonitor();
    if (tick_.probe == 0) return failStartup(kNotFound);
    waits_.waitFor(kAfterFound);

    monitor::WakeSequence wake(desktop_.windows, desktop_.requests, desktop_.input, heldInput_,
                               waits_, tick_.probe);
    switch (wake.wakeProbe()) {
        case monitor::WakeOutcome::NotWoken:
            return failStartup(kNotWoken);
        case monitor::WakeOutcome::MonitorGone:
            return exitProgram();  // as a tick that finds it gone: without a word
        case monitor::WakeOutcome::Woken:
            break;
    }
    // What the user asked for while the last press held the input.
    takeUpPutOff();
    if (!handlesEvents()) return;
    restoreSettings(desktop_.machine, desktop_.form);
    phase_ = Phase::Resident;
    toggleToStore_ = true;

    timer1Timer();
    if (!handlesEvents()) return;  // The monitor went away before the first tick.
    desktop_.loop.setTimer(TimerId::Tick, kTickInterval);

    // Centred in its normal state: the user may have closed or minimized the
    // window during start-up, and it is shown from there when restored.
    const Size screen = desktop_.form.screenSize();
    const Size form = desktop_.form.restoredFormSize();
    desktop_.form.placeRestoredForm(
        {(screen.width - form.width) / 2, (screen.height - form.height) / 2});
    minimizeToTray();
}

// Looks for the monitor's main window for a limited time. Each window that
// comes or goes ends a pass, so the monitor's is taken at once.
void Form1::searchForMonitor() {
    const OtherWindowsWatch watch(desktop_.loop);
    waits_.poll(waits_.now() + kSearchLimit, kSearchPoll, [&] {
        tick_.probe = desktop_.windows.findWindow(monitor::kMainClass, monitor::kMainTitle);
        return tick_.probe != 0;
    });
}

void Form1::failStartup(std::wstring_view message) {
    desktop_.boxes.messageBox(message, kStopBox);
    exitProgram();
}

}  // namespace tervane::app
