#pragma once
// What a user can see of Tervane Lite itself besides its tray icon: its
// options window and its stored settings.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace e2e {

inline constexpr wchar_t kProgramTitle[] = L"Tervane Lite";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Halvedon\\Tervane_Lite";

// The options window: a visible top-level window of the process captioned
// "Tervane Lite"; nullptr while it is hidden.
HWND optionsWindow(DWORD processId);

// A string value under HKCU\Software\Halvedon\Tervane_Lite; nullopt when absent.
std::optional<std::wstring> userSetting(std::wstring_view name);

}  // namespace e2e
