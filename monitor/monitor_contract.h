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

// Slots of the reading table (the anchor is slot 1).
inline constexpr int kSlotCount = 10;
inline constexpr int kSlotCpu = 6;
inline constexpr int kSlotFan3 = 7;
inline constexpr int kSlotFan2 = 8;
inline constexpr int kSlotFan1 = 9;
inline constexpr int kSlotMainboard = 10;

// Points of the panel strip the wake sequence clicks, as offsets from the
// main window's top-left corner, in order; the last after it stops being topmost.
inline constexpr std::array<Point, 6> kPanelStripOffsets{
    {{150, 52}, {220, 100}, {290, 100}, {360, 100}, {150, 100}, {555, 15}}};

}  // namespace tervane::monitor
