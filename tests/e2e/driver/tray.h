#pragma once
// The notification area as another program sees it under Wine: every icon is
// a window of the shell (class ending in "tray_icon") with a top-level tooltip
// of its own that holds the icon's tip; the tooltip is owned by the icon
// window's top-level window (the standalone tray, or the icon itself in an X
// tray) and names the icon window as its one tool. Mouse messages posted to
// the icon window reach the icon's owner as its callback message, as a real
// click does.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct TrayIcon {
    HWND icon = nullptr;
    HWND tooltip = nullptr;
};

// The icons the shell shows now.
std::vector<TrayIcon> trayIcons();

// The tip as the shell holds it, read from the tooltip's process; nullopt
// when it cannot be read.
std::optional<std::wstring> trayTip(const TrayIcon& icon);

// The first icon whose tip is the given text, if any.
std::optional<TrayIcon> trayIconWithTip(std::wstring_view tip);

// Waits for an icon whose tip is the given text.
std::optional<TrayIcon> waitForTrayTip(std::wstring_view tip, std::chrono::milliseconds timeout);

// A fingerprint of the icon's picture as the screen shows it; 0 when it cannot
// be read. Wine's own tray window draws a new picture over the old one without
// clearing it, so pictures are compared only with an X system tray.
std::uint64_t trayPicture(const TrayIcon& icon);

void postDoubleClick(const TrayIcon& icon);
void postRightButtonUp(const TrayIcon& icon);

}  // namespace e2e
