#include "readout/tray_icon.h"

#include <string>

#include "base/errors.h"
#include "base/text.h"

namespace tervane::readout {

std::wstring tipField(std::wstring_view text) {
    return fixedField(std::wstring(text) + L'\0', kTipField);
}

std::optional<int> trayCallbackMessage(const MouseMove& move) {
    // The shell sends the icon id as the keys and the message as the whole of
    // lParam (y = 0), from wherever the pointer is: over the icon, never at
    // that point of the form. A real move comes from the pointer itself.
    if (move.atPointer || move.keys != kTrayIconId || move.y != 0) return std::nullopt;
    return move.x;
}

TrayIcon::~TrayIcon() {
    if (added_ && !removed_) quietly([this] { remove(); });
}

void TrayIcon::tryAdd() {
    // The exit may run while the shell keeps a call waiting: an icon removed
    // for good is neither added again nor retried.
    if (removed_) return;
    // An icon the shell still shows refuses the add but takes the change.
    added_ = tray_.trayAdd(record_) || (!removed_ && tray_.trayModify(record_, true));
    if (removed_) return;
    if (added_) shown_ = record_;
    if (!added_ && !retrying_) {
        retrying_ = true;
        loop_.setTimer(TimerId::TrayRetry, kTrayRetryInterval);
    } else if (added_ && retrying_) {
        retrying_ = false;
        loop_.setTimer(TimerId::TrayRetry, Millis{0});
    }
}

void TrayIcon::add(IconHandle icon, std::wstring_view tip) {
    record_.id = kTrayIconId;
    record_.callbackMessage = kTrayCallbackMessage;
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
    if (tray_.trayModify(record_, record_.icon != shown_.icon)) {
        shown_ = record_;
    } else {
        tryAdd();
    }
}

void TrayIcon::remove() {
    if (retrying_) {
        loop_.setTimer(TimerId::TrayRetry, Millis{0});
        retrying_ = false;
    }
    tray_.trayDelete(record_);
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
