#include "readout/tray_icon.h"

namespace tervane::readout {

std::wstring tipField(std::wstring_view text) {
    std::wstring field(text.substr(0, kTipField));
    if (field.size() < kTipField) field.push_back(L'\0');
    field.resize(kTipField, L' ');
    return field;
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
    if (!added_ || (record_.icon == shown_.icon && record_.tip == shown_.tip)) return;
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
