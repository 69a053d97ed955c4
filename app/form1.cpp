#include "app/form1.h"

#include "app/settings.h"

namespace tervane::app {

Form1::Form1(Desktop& desktop, StartupTiming timing)
    : desktop_(desktop),
      timing_(timing),
      waits_(desktop, [this] { return unloaded_; }),
      icons_(desktop),
      tray_(desktop) {}

void Form1::onMouseMove(const MouseMove& move) {
    if (unloaded_) return;
    const auto message = readout::trayCallbackMessage(move, tray_.record().id);
    if (message == kTrayRightButtonUp) {
        desktop_.setForegroundWindow(desktop_.formWindow());
        if (desktop_.popupTrayMenu() == MenuChoice::Exit) mnuExitClick();
    } else if (message == kTrayDoubleClick) {
        desktop_.setFormState(FormState::Normal);
        desktop_.showForm();
    }
}

void Form1::onTimer(TimerId timer) {
    if (unloaded_) return;
    if (timer == TimerId::Tick) timer1Timer();
    if (timer == TimerId::TrayRetry) tray_.retryAdd();
}

void Form1::onCloseRequest() { unload(); }

void Form1::onResize() {
    if (!unloaded_ && desktop_.formState() == FormState::Minimized) desktop_.hideForm();
}

void Form1::onOptionClicked(int /*index*/) {
    if (!unloaded_) saveTrayColor(desktop_);
}

void Form1::onToggleClicked() {
    if (!unloaded_) desktop_.setToggleValue(desktop_.toggleValue() == 1 ? 0 : 1);
}

void Form1::onTaskbarCreated() {
    if (!unloaded_) tray_.shellRestarted();
}

void Form1::timer1Timer() {
    try {
        if (readout::runUpdateTick(desktop_, tick_, tray_, icons_) ==
            readout::TickOutcome::MonitorGone) {
            desktop_.setTimer(TimerId::Tick, Millis{0});
            exitRequested_ = true;
            unload();
        }
    } catch (const std::exception&) {
        // An error ends this tick only; the next one runs as usual.
    }
}

void Form1::mnuExitClick() {
    exitRequested_ = true;
    unload();
}

void Form1::unload() {
    if (unloaded_) return;
    if (!exitRequested_) {
        // Closing only hides the window: the program lives in the tray.
        desktop_.setFormState(FormState::Minimized);
        return;
    }
    unloaded_ = true;
    formUnload();
}

void Form1::formUnload() {
    desktop_.setTimer(TimerId::Tick, Millis{0});
    tray_.remove();
    // Before start-up restored the options, the check box holds only its
    // designed state: the user's stored value stays as it is.
    if (settingsRestored_) saveToggle(desktop_);
    icons_.clear();
    desktop_.destroyForm();
    ended_ = true;
}

}  // namespace tervane::app
