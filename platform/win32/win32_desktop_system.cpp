// Registry, files, launching, per-user settings, time, messages and dialogs.

#include "platform/win32/win32_desktop.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/form_layout.h"

namespace tervane::win32 {
namespace {

constexpr wchar_t kSingleInstanceName[] = L"Local\\Halvedon.Tervane_Lite.SingleInstance";

// Stored strings are read up to these sizes; anything larger is not one of
// theirs. A path has at most 32767 characters.
constexpr DWORD kMaxPathBytes = 32768 * sizeof(wchar_t);
constexpr DWORD kMaxSettingBytes = 256 * sizeof(wchar_t);

std::wstring settingsKeyPath(std::wstring_view app, std::wstring_view section) {
    return std::wstring(L"Software\\").append(app).append(L"\\").append(section);
}

SingleInstance tokenOutcome(HANDLE token, DWORD error) {
    if (token == nullptr) {
        return error == ERROR_ACCESS_DENIED ? SingleInstance::AccessDenied : SingleInstance::Failed;
    }
    return error == ERROR_ALREADY_EXISTS ? SingleInstance::AlreadyTaken : SingleInstance::Taken;
}

// The data of a REG_SZ value as stored (with its terminating NUL if it was
// stored with one); nullopt for a missing value, another type, data over
// maxBytes, or a value that keeps changing its size while it is read.
std::optional<std::wstring> readStringValue(HKEY key, const std::wstring& name, DWORD maxBytes) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = REG_NONE;
        DWORD bytes = 0;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            type != REG_SZ || bytes > maxBytes) {
            return std::nullopt;
        }
        std::wstring data((bytes + 1) / sizeof(wchar_t), L'\0');
        bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (status == ERROR_MORE_DATA) continue;  // it grew since the size was asked
        if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
        data.resize(bytes / sizeof(wchar_t));  // half a character is not one
        return data;
    }
    return std::nullopt;
}

}  // namespace

Win32Desktop::Win32Desktop()
    : singleInstanceToken_(CreateMutexW(nullptr, FALSE, kSingleInstanceName)),
      singleInstance_(tokenOutcome(singleInstanceToken_.get(), GetLastError())) {}

Win32Desktop::Attachment Win32Desktop::attach(FormEvents& events) noexcept {
    form_.attach(&events);
    return Attachment(form_);
}

std::optional<std::wstring> Win32Desktop::readMachineString(std::wstring_view keyPath,
                                                            std::wstring_view valueName) {
    HKEY opened = nullptr;
    // The 32-bit view in every build: the monitor's 32-bit installer writes
    // its entry there (WOW6432Node on 64-bit Windows).
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, std::wstring(keyPath).c_str(), 0,
                      KEY_READ | KEY_WOW64_32KEY, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const OwnedKey key(opened);
    return readStringValue(key.get(), std::wstring(valueName), kMaxPathBytes);
}

std::optional<std::uint32_t> Win32Desktop::fileAttributes(std::wstring_view path) {
    const DWORD attributes = GetFileAttributesW(std::wstring(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

void Win32Desktop::launch(std::wstring_view executablePath, std::wstring_view workingFolder) {
    ShellExecuteW(form_.handle(), nullptr, std::wstring(executablePath).c_str(), nullptr,
                  std::wstring(workingFolder).c_str(), SW_SHOWNORMAL);
}

std::optional<std::wstring> Win32Desktop::readSetting(std::wstring_view app,
                                                      std::wstring_view section,
                                                      std::wstring_view key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const OwnedKey settings(opened);
    auto text = readStringValue(settings.get(), std::wstring(key), kMaxSettingBytes);
    if (text) text->resize(std::wcslen(text->c_str()));  // the text ends at its first NUL
    return text;
}

bool Win32Desktop::writeSetting(std::wstring_view app, std::wstring_view section,
                                std::wstring_view key, std::wstring_view value) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, settingsKeyPath(app, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const OwnedKey settings(created);
    const std::wstring text(value);
    return RegSetValueExW(settings.get(), std::wstring(key).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

Millis Win32Desktop::now() { return Millis(static_cast<Millis::rep>(GetTickCount64())); }

void Win32Desktop::pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the program's message loop, which ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        form_.dispatch(message);
    }
}

void Win32Desktop::waitForMessage(Millis timeout) {
    const auto milliseconds = std::clamp<Millis::rep>(timeout.count(), 0, INFINITE - 1);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

namespace {
// Its delivery is what ends the wait; there is nothing more to do.
void CALLBACK onOtherWindowChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}
}  // namespace

void Win32Desktop::watchOtherWindows(bool on) {
    constexpr DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    windowWatch_.reset(on ? SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE, nullptr,
                                            &onOtherWindowChanged, 0, 0, flags)
                          : nullptr);
    foregroundWatch_.reset(on ? SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND,
                                                nullptr, &onOtherWindowChanged, 0, 0, flags)
                              : nullptr);
}

void Win32Desktop::messageBox(std::wstring_view text, std::uint32_t flags) {
    MessageBoxW(form_.handle(), std::wstring(text).c_str(), layout::kCaption, flags);
}

SingleInstance Win32Desktop::singleInstance() { return singleInstance_; }

}  // namespace tervane::win32
