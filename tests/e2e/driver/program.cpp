#include "program.h"

#include <shellapi.h>

#include "check.h"
#include "readout/tray_icon.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr wchar_t kInstallKey[] = L"SOFTWARE\\ASUS\\ASUS Probe";

REGSAM registryViewFlag(RegistryView view) {
    return view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

}  // namespace

Process startProgram(const Paths& paths) {
    require(!paths.programExe.empty(), "the program under test is named (--program)");
    Process program = Process::start(paths.programExe);
    // The shipped program is 32-bit: on 64-bit Windows it runs under WOW64.
    static bool told = false;
    if (!told) {
        told = true;
        note(std::string("program under test: ") + utf8(paths.programExe) +
             (program.is32Bit() ? " (a 32-bit process)" : " (a 64-bit process)"));
    }
    return program;
}

HWND trayMenu(DWORD processId) {
    for (const HWND window : topLevelWindowsOf(processId)) {
        if (IsWindowVisible(window) && className(window) == L"#32768") return window;
    }
    return nullptr;
}

HWND trackedTrayMenu(DWORD processId) {
    const HWND menu = trayMenu(processId);
    if (!menu) return nullptr;
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(menu, nullptr), &thread)) return nullptr;
    return (thread.flags & GUI_INMENUMODE) != 0 ? menu : nullptr;
}

bool chooseOnlyTrayMenuItem(DWORD processId) {
    HWND menu = nullptr;
    if (!waitUntil([&] { return (menu = trackedTrayMenu(processId)) != nullptr; }, 10s)) {
        note("no tray menu tracking the mouse; the desktop:\n" + describeDesktop());
        return false;
    }
    // The menu's one item fills it: point at its middle, as a person does, and
    // wait until it shows highlighted before clicking.
    const RECT rect = windowRect(menu).value_or(RECT{});
    const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const auto unlit = screenFingerprint(rect);
    setCursorPos(middle);
    if (!waitUntil([&] { return screenFingerprint(rect) != unlit; }, 5s)) {
        note("the menu item did not light up under the pointer");
        return false;
    }
    leftClickAt(middle, 0ms);
    return true;
}

HWND formWindow(DWORD processId) {
    for (const HWND window : topLevelWindowsOf(processId)) {
        if (windowText(window) == kProgramTitle && className(window) != L"#32770") return window;
    }
    return nullptr;
}

bool dropProgramIcon(DWORD processId) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = formWindow(processId);
    data.uID = tervane::readout::kTrayIconId;
    return data.hWnd != nullptr && Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

void setMonitorInstallEntry(std::wstring_view text, RegistryView view) {
    const std::wstring data(text);
    setMonitorInstallValue(REG_SZ, data.c_str(), (data.size() + 1) * sizeof(wchar_t), view);
}

void setMonitorInstallValue(DWORD type, const void* data, std::size_t bytes, RegistryView view) {
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0,
                        KEY_SET_VALUE | registryViewFlag(view), nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, L"Path", 0, type, static_cast<const BYTE*>(data),
                                static_cast<DWORD>(bytes));
        RegCloseKey(key);
    }
    require(status == ERROR_SUCCESS, "set the monitor's install entry");
}

void deleteMonitorInstallEntry(RegistryView view) {
    const LSTATUS status =
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, registryViewFlag(view), 0);
    require(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND,
            "delete the monitor's install entry");
}

HWND optionsWindow(DWORD processId) {
    const HWND form = formWindow(processId);
    return form && IsWindowVisible(form) ? form : nullptr;
}

void setUserSetting(std::wstring_view name, std::wstring_view value) {
    const std::wstring key(name);
    const std::wstring data(value);
    const LSTATUS status =
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, key.c_str(), REG_SZ, data.c_str(),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    require(status == ERROR_SUCCESS, "store the setting " + utf8(key));
}

void setUserSettingValue(std::wstring_view name, DWORD type, const void* data, std::size_t bytes) {
    const std::wstring value(name);
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, value.c_str(), type,
                                           data, static_cast<DWORD>(bytes));
    require(status == ERROR_SUCCESS, "store the setting " + utf8(value));
}

std::optional<RegistryValue> userSettingValue(std::wstring_view name) {
    const std::wstring value(name);
    RegistryValue read;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &read.type, nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    read.data.resize(bytes);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &read.type, read.data.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    read.data.resize(bytes);
    return read;
}

std::optional<std::wstring> userSetting(std::wstring_view name) {
    const std::wstring value(name);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value.c_str(), RRF_RT_REG_SZ, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring data(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value.c_str(), RRF_RT_REG_SZ, nullptr,
                     data.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(bytes / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') data.pop_back();
    return data;
}

}  // namespace e2e
