#pragma once
// What Tervane Lite relies on in the hardware-monitor program.

#include <array>
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

// The clicks that wake the monitor, in order, each at an offset from its main
// window's top-left corner: above the panel strip's anchor, three along the
// strip, the anchor, then, once the window is not on top, one near its top
// edge. Each waits its pause before the next.
struct WakeClick {
    Point offset;
    bool onTop;
    Millis pauseAfter;
};
inline constexpr std::array<WakeClick, 6> kWakeClicks{{
    {{150, 52}, true, Millis{0}},
    {{220, 100}, true, Millis{9}},
    {{290, 100}, true, Millis{9}},
    {{360, 100}, true, Millis{9}},
    {{150, 100}, true, Millis{0}},
    {{555, 15}, false, Millis{0}},
}};

}  // namespace tervane::monitor
