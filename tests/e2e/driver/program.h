#pragma once
// What a user can see of Tervane Lite itself besides its tray icon: its
// options window and its stored settings.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "process.h"
#include "scenario.h"

namespace e2e {

inline constexpr wchar_t kProgramTitle[] = L"Tervane Lite";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Halvedon\\Tervane_Lite";

// Starts the Tervane_Lite.exe under test (the scenario ends when none is named).
Process startProgram(const Paths& paths);

// The two views of HKLM\SOFTWARE on 64-bit Windows. The monitor's installer is
// a 32-bit program: its entry is in the 32-bit view (WOW6432Node).
enum class RegistryView { Bits32, Bits64 };

// Sets the monitor's install entry, HKLM\SOFTWARE\ASUS\ASUS Probe "Path", to
// text exactly as given (quotes and spaces included).
void setMonitorInstallEntry(std::wstring_view text, RegistryView view = RegistryView::Bits32);
// The same value with any type and raw data.
void setMonitorInstallValue(DWORD type, const void* data, std::size_t bytes,
                            RegistryView view = RegistryView::Bits32);
void deleteMonitorInstallEntry(RegistryView view);

// The options window: the process's top-level window captioned "Tervane Lite"
// (not one of its message boxes, which carry the same caption) while it is
// visible; nullptr while it is hidden.
HWND optionsWindow(DWORD processId);

// The program's tray menu while it is open (a visible #32768 window of the process).
HWND trayMenu(DWORD processId);
// The same, once the program's thread tracks the mouse in it.
HWND trackedTrayMenu(DWORD processId);
// Chooses the tray menu's one item as a person does: waits for the open menu,
// points at the item, waits for it to light up, and clicks. False when the
// menu did not come up or did not answer the pointer.
bool chooseOnlyTrayMenuItem(DWORD processId);

// The window that owns the program's tray icon: its top-level window captioned
// "Tervane Lite", shown or hidden.
HWND formWindow(DWORD processId);

// The shell loses the program's icon: removed from outside with the program's
// window and the icon's id, as the shell itself would drop it. True when the
// shell took the removal.
bool dropProgramIcon(DWORD processId);

// Stores a string value under HKCU\Software\Halvedon\Tervane_Lite, as an
// earlier run of the program would have.
void setUserSetting(std::wstring_view name, std::wstring_view value);

// A string value under HKCU\Software\Halvedon\Tervane_Lite; nullopt when absent.
std::optional<std::wstring> userSetting(std::wstring_view name);

// A value there of any type, with raw data.
void setUserSettingValue(std::wstring_view name, DWORD type, const void* data, std::size_t bytes);
// The type and raw data of a value there; nullopt when absent.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};
std::optional<RegistryValue> userSettingValue(std::wstring_view name);

}  // namespace e2e
