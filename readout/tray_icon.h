#pragma once
// The program's one icon in the notification area: its record, and the add,
// change and remove calls. An add the shell does not take (it is not ready
// yet, or it restarted) is tried again every second until it succeeds; a
// change the shell refuses because it lost the icon adds it again. The icon
// owns its shell entry: one still shown when the TrayIcon goes is removed.

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tervane::readout {

inline constexpr std::uint32_t kTrayIconId = 2;
// The shell's callback: the form's mouse-move message, the mouse message as x.
inline constexpr std::uint32_t kTrayCallbackMessage = 512;
inline constexpr std::size_t kTipField = 64;
inline constexpr Millis kTrayRetryInterval{1000};

// The tip field: the text, one NUL, then spaces to 64 characters (or cut).
std::wstring tipField(std::wstring_view text);

// The mouse message of a click on the icon, when the mouse-move is the
// shell's callback for it; nullopt for a real move of the pointer over the
// form, whatever its place, buttons or the window's size.
std::optional<int> trayCallbackMessage(const MouseMove& move);

class TrayIcon {
  public:
    TrayIcon(Tray& tray, MessageLoop& loop) : tray_(tray), loop_(loop) {}
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void add(IconHandle icon, std::wstring_view tip);
    // Sent on every call, the picture only when it changed.
    void change(IconHandle icon, std::wstring_view tip);
    void remove();
    // The retry timer fired, or the shell announced that it restarted.
    void retryAdd();
    void shellRestarted();

  private:
    void tryAdd();

    Tray& tray_;
    MessageLoop& loop_;
    TrayRecord record_;
    bool added_ = false;
    bool retrying_ = false;
    bool removed_ = false;
    TrayRecord shown_;  // what the shell last took
};

}  // namespace tervane::readout
