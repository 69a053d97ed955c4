#include "process.h"

#include <cstdio>

#include "check.h"

namespace e2e {

std::wstring imagePathOf(DWORD processId) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL read = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return read ? std::wstring(path, size) : std::wstring();
}

Process Process::start(const std::wstring& exe, const std::vector<std::wstring>& args,
                       const std::wstring& workFolder) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    for (const auto& arg : args) commandLine += L" \"" + arg + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL started =
        CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workFolder.empty() ? nullptr : workFolder.c_str(), &startup, &info);
    require(started != FALSE,
            "start " + utf8(commandLine) + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        terminate();
        handle_ = std::move(other.handle_);
        id_ = other.id_;
    }
    return *this;
}

Process::~Process() { terminate(); }

bool Process::running() const {
    return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::waitForExit(Millis timeout) {
    return handle_ && waitForHandle(handle_.get(), timeout);
}

bool Process::exitsCleanly(Millis timeout) {
    if (!waitForExit(timeout)) return false;
    const DWORD code = exitCode().value_or(STILL_ACTIVE);
    if (code == 0) return true;
    char text[64];
    std::snprintf(text, sizeof text, "the process ended with exit code %lu (0x%08lX), not 0", code,
                  code);
    note(text);
    return false;
}

std::optional<DWORD> Process::exitCode() const {
    DWORD code = 0;
    if (!handle_ || running() || !GetExitCodeProcess(handle_.get(), &code)) return std::nullopt;
    return code;
}

bool Process::is32Bit() const {
    BOOL wow64 = FALSE;
    return handle_ && IsWow64Process(handle_.get(), &wow64) && wow64;
}

void Process::terminate() {
    if (!running()) return;
    TerminateProcess(handle_.get(), 99);
    WaitForSingleObject(handle_.get(), 5000);
}

}  // namespace e2e
