#pragma once
// The two options kept per user, under Halvedon\Tervane_Lite: the digit colour
// ("TrayColor") and the CPU/MB alternation ("Toggle").

#include <optional>
#include <string_view>

#include "platform/desktop.h"

namespace tervane::app {

// "True"/"False" in any letter case, or a number (non-zero is true).
std::optional<bool> parseTrayColor(std::wstring_view text);
// A number that rounds to 0, 1 or 2.
std::optional<int> parseToggle(std::wstring_view text);

// Sets the options from the stored texts. A text that does not convert, or is
// out of range, leaves its option as it starts (Black, unchecked) and is not
// written back.
void restoreSettings(Machine& machine, OptionsWindow& options);
// Writes "True" when White is selected, else "False".
void saveTrayColor(Machine& machine, OptionsWindow& options);
// Writes the check box's value as "0", "1" or "2"; false when the store refused it.
bool saveToggle(Machine& machine, OptionsWindow& options);

}  // namespace tervane::app
