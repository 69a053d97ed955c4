#include "readout/tray_icon.h"

namespace tervane::readout {

std::wstring tipField(std::wstring_view text) {
    std::wstring field(text.substr(0, kTipField));
    if (field.size() < kTipField) field.push_back(L'\0');
    field.resize(kTipField, L' ');
    return field;
}

std::optional<int> trayCallbackMessage(const MouseMove& move, std::uint32_t iconId) {
    // The shell sends the icon id as the keys and the message as the whole of
    // lParam (y = 0), from wherever the pointer is: over the icon, never at
    // that point of the form. A real move comes from the pointer itself.
    if (move.atPointer || move.keys != iconId || move.y != 0) return std::nullopt;
    return move.x;
}

void TrayIcon::tryAdd() {
    // An icon the shell still shows refuses the add but takes the change.
    added_ = desktop_.trayAdd(record_) || desktop_.trayModify(record_, true);
    if (added_) shown_ = record_;
    if (!added_ && !retrying_) {
        retrying_ = true;
        desktop_.setTimer(TimerId::TrayRetry, kTrayRetryInterval);
    } else if (added_ && retrying_) {
        retrying_ = false;
        desktop_.setTimer(TimerId::TrayRetry, Millis{0});
    }
}

void TrayIcon::add(IconHandle icon, std::wstring_view tip) {
    record_.icon = icon;
    record_.tip = tipField(tip);
    removed_ = false;
    tryAdd();
}

void TrayIcon::change(IconHandle icon, std::wstring_view tip) {
    record_.icon = icon;
    record_.tip = tipField(tip);
    // Until an add has gone through, the retry carries the newest picture.
    if (!added_) return;
    // Sent on every tick, also when nothing changed: a shell that dropped the
    // icon without saying so refuses it, and the icon is added again at once.
    // The picture goes only when it changed; the shell keeps the one it has.
    if (desktop_.trayModify(record_, record_.icon != shown_.icon)) {
        shown_ = record_;
    } else {
        tryAdd();
    }
}

void TrayIcon::remove() {
    if (retrying_) {
        desktop_.setTimer(TimerId::TrayRetry, Millis{0});
        retrying_ = false;
    }
    desktop_.trayDelete(record_);
    added_ = false;
    removed_ = true;
}

void TrayIcon::retryAdd() {
    if (!removed_ && !added_) tryAdd();
}

void TrayIcon::shellRestarted() {
    if (removed_) return;
    added_ = false;
    tryAdd();
}

}  // namespace tervane::readout
