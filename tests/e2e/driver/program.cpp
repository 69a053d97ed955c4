#include "program.h"

#include "window_query.h"

namespace e2e {

HWND optionsWindow(DWORD processId) { return findVisibleTopLevel(processId, kProgramTitle); }

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
