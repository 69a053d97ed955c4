#pragma once
// What a user can see of Tervane Lite itself besides its tray icon: its
// options window and its stored settings.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "process.h"
#include "scenario.h"

namespace e2e {

inline constexpr wchar_t kProgramTitle[] = L"Tervane Lite";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Halvedon\\Tervane_Lite";

// Starts Tervane_Lite.exe (the scenario ends when it is not built).
Process startProgram(const Paths& paths);

// Sets the monitor's install entry, HKLM\SOFTWARE\ASUS\ASUS Probe "Path", to
// text exactly as given (quotes and spaces included).
void setMonitorInstallEntry(std::wstring_view text);

// The options window: the process's top-level window captioned "Tervane Lite"
// (not one of its message boxes, which carry the same caption) while it is
// visible; nullptr while it is hidden.
HWND optionsWindow(DWORD processId);

// The program's tray menu while it is open (a visible #32768 window of the process).
HWND trayMenu(DWORD processId);

// The window that owns the program's tray icon: its top-level window captioned
// "Tervane Lite", shown or hidden.
HWND formWindow(DWORD processId);

// Stores a string value under HKCU\Software\Halvedon\Tervane_Lite, as an
// earlier run of the program would have.
void setUserSetting(std::wstring_view name, std::wstring_view value);

// A string value under HKCU\Software\Halvedon\Tervane_Lite; nullopt when absent.
std::optional<std::wstring> userSetting(std::wstring_view name);

}  // namespace e2e
