#pragma once
// The two options kept per user: the digit colour and the CPU/MB alternation.

#include <optional>
#include <string_view>

#include "platform/desktop.h"

namespace tervane::app {

inline constexpr std::wstring_view kSettingsApp = L"Halvedon";
inline constexpr std::wstring_view kSettingsSection = L"Tervane_Lite";
inline constexpr std::wstring_view kTrayColorKey = L"TrayColor";
inline constexpr std::wstring_view kToggleKey = L"Toggle";

// "True"/"False" in any letter case, or a number (non-zero is true).
std::optional<bool> parseTrayColor(std::wstring_view text);
// A number that rounds to 0, 1 or 2.
std::optional<int> parseToggle(std::wstring_view text);

// Sets the options from the stored texts. A text that does not convert, or is
// out of range, leaves its option as designed and is not written back.
void restoreSettings(Desktop& desktop);
// Writes "True" when White is selected, else "False".
void saveTrayColor(Desktop& desktop);
// Writes the check box's value as "0", "1" or "2".
void saveToggle(Desktop& desktop);

}  // namespace tervane::app
