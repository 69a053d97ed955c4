#include "program.h"

#include "check.h"
#include "window_query.h"

namespace e2e {

Process startProgram(const Paths& paths) {
    require(!paths.programExe.empty(), "Tervane_Lite.exe is built");
    return Process::start(paths.programExe);
}

HWND trayMenu(DWORD processId) {
    for (const HWND window : topLevelWindowsOf(processId)) {
        if (IsWindowVisible(window) && className(window) == L"#32768") return window;
    }
    return nullptr;
}

HWND formWindow(DWORD processId) {
    for (const HWND window : topLevelWindowsOf(processId)) {
        if (windowText(window) == kProgramTitle && className(window) != L"#32770") return window;
    }
    return nullptr;
}

void setMonitorInstallEntry(std::wstring_view text) {
    const std::wstring data(text);
    const LSTATUS status =
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ASUS\\ASUS Probe", L"Path", REG_SZ,
                        data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    require(status == ERROR_SUCCESS, "set the monitor's install entry");
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
