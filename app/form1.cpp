#include "app/form1.h"

#include <utility>

#include "app/settings.h"
#include "base/errors.h"

namespace tervane::app {

Form1::Form1(const Desktop& desktop)
    : desktop_(desktop),
      heldInput_(desktop.requests, desktop.input),
      waits_(desktop.loop, [this] { afterPump(); }),
      icons_(desktop.tray),
      tray_(desktop.tray, desktop.loop) {}

void Form1::afterPump() {
    if (!heldInput_.held()) takeUpPutOff();
    if (!handlesEvents()) throw WaitAbandoned();
}

void Form1::onMouseMove(const MouseMove& move) {
    if (!handlesEvents()) return;
    const auto message = readout::trayCallbackMessage(move);
    // With the user's input held nobody could close a menu, and the window
    // would come up over the monitor being clicked.
    if (message == kTrayRightButtonUp) {
        putOff_.menu = heldInput_.held();
        if (!putOff_.menu) openTrayMenu();
    } else if (message == kTrayDoubleClick) {
        putOff_.options = heldInput_.held();
        if (!putOff_.options) showOptions();
    }
}

void Form1::openTrayMenu() {
    desktop_.requests.setForegroundWindow(desktop_.form.formWindow());
    if (desktop_.form.popupTrayMenu() == MenuChoice::Exit) exitProgram();
}

void Form1::showOptions() {
    desktop_.form.setFormState(FormState::Normal);
    desktop_.form.showForm();
}

void Form1::onTimer(TimerId timer) {
    if (!handlesEvents()) return;
    if (timer == TimerId::Tick) timer1Timer();
    // The shell may keep a call waiting (for seconds at log-on).
    if (timer == TimerId::TrayRetry) {
        putOff_.trayRetry = heldInput_.held();
        if (!putOff_.trayRetry) tray_.retryAdd();
    }
}

void Form1::takeUpPutOff() {
    if (std::exchange(putOff_.shellRestart, false) && handlesEvents()) tray_.shellRestarted();
    if (std::exchange(putOff_.trayRetry, false) && handlesEvents()) tray_.retryAdd();
    if (std::exchange(putOff_.options, false) && handlesEvents()) showOptions();
    if (std::exchange(putOff_.menu, false) && handlesEvents()) openTrayMenu();
}

void Form1::onCloseRequest() {
    // No exit was asked for: closing only hides the window, the program lives
    // in the tray.
    if (handlesEvents()) minimizeToTray();
}

void Form1::minimizeToTray() {
    // Minimizing hides the window (onResize). One minimized already (resident,
    // or closed during start-up) is only hidden: minimizing it again would
    // show it.
    if (desktop_.form.formState() == FormState::Minimized) {
        desktop_.form.hideForm();
    } else {
        desktop_.form.setFormState(FormState::Minimized);
    }
}

void Form1::onResize() {
    if (handlesEvents() && desktop_.form.formState() == FormState::Minimized) {
        desktop_.form.hideForm();
    }
}

void Form1::onOptionClicked() {
    if (handlesEvents()) saveTrayColor(desktop_.machine, desktop_.form);
}

void Form1::onToggleClicked() {
    if (handlesEvents()) desktop_.form.setToggleValue(desktop_.form.toggleValue() == 1 ? 0 : 1);
}

void Form1::onTaskbarCreated() {
    if (!handlesEvents()) return;
    putOff_.shellRestart = heldInput_.held();
    if (!putOff_.shellRestart) tray_.shellRestarted();
}

void Form1::onSessionEnd(bool ending) {
    // The system may end the process any time after this returns: the user's
    // input first, then the check box's state, whatever road out is already
    // under way (it may be suspended beneath this, waiting on the shell), and
    // never waiting for that road; then leave as Exit would.
    if (!ending) return;
    heldInput_.release();
    storeToggle();
    exitProgram();
}

void Form1::timer1Timer() {
    try {
        if (readout::runUpdateTick(desktop_.windows, desktop_.form, tick_, tray_, icons_) ==
            readout::TickOutcome::MonitorGone) {
            desktop_.loop.setTimer(TimerId::Tick, Millis{0});
            exitProgram();
        }
    } catch (const std::exception&) {
        // An error ends this tick only; the next one runs as usual.
    }
}

void Form1::exitProgram() {
    if (!handlesEvents()) return;
    phase_ = Phase::Unloading;
    formUnload();
    phase_ = Phase::Ended;
}

void Form1::formUnload() {
    desktop_.loop.setTimer(TimerId::Tick, Millis{0});
    // Stored before the icon's removal, which waits on the shell: at a log-off
    // the session may end meanwhile.
    storeToggle();
    tray_.remove();
    icons_.clear();
    desktop_.form.destroyForm();
}

void Form1::storeToggle() noexcept {
    if (!toggleToStore_) return;
    // A store that refused it leaves it to the session's end to try again; a
    // failed write does not stop the end.
    quietly([this] { toggleToStore_ = !saveToggle(desktop_.machine, desktop_.form); });
}

}  // namespace tervane::app
