#pragma once
// What Tervane Lite relies on in the hardware-monitor program.

#include <string_view>

#include "platform/desktop.h"

namespace tervane::monitor {

inline constexpr std::wstring_view kMainClass = L"TMainForm";
inline constexpr std::wstring_view kMainTitle = L"Asus Probe 2";
inline constexpr std::wstring_view kSplashClass = L"TSplashForm";
inline constexpr std::wstring_view kSplashTitle = L"SplashForm";

inline constexpr std::wstring_view kInstallKey = L"SOFTWARE\\ASUS\\ASUS Probe";
inline constexpr std::wstring_view kInstallValue = L"Path";
inline constexpr std::wstring_view kExecutable = L"AsusProb.exe";

// The descendant whose text is exactly this opens the reading windows.
inline constexpr std::wstring_view kAnchorText = L"MonitorForm";

// Slots of the reading table: the anchor is slot 1, the readings follow it.
enum Slot : int { kSlotCpu = 6, kSlotFan3, kSlotFan2, kSlotFan1, kSlotMainboard };
// How many windows the capture reads, the anchor's included.
inline constexpr int kSlotCount = 10;

// The panel strip the wake sequence clicks. Every click is reckoned from the
// anchor point, the main window's top-left corner moved by anchor.
struct PanelStrip {
    Point anchor{150, 100};
    int firstRise = 48;    // the first click: this far above the anchor
    int step = 70;         // then a row to the right of the anchor, a click every step
    int rowEnd = 240;      // while not further than this
    Point last{405, -85};  // the last click, from the anchor, once the window is not topmost
};
inline constexpr PanelStrip kPanelStrip{};

}  // namespace tervane::monitor
