#pragma once
// A program this driver starts. A process still running when its Process
// goes away is ended, so no scenario leaves one behind.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

// The full path of a running process's executable; empty when it cannot be read.
std::wstring imagePathOf(DWORD processId);

class Process {
  public:
    // Starts exe with the arguments (each quoted) in workFolder (empty: the driver's own).
    static Process start(const std::wstring& exe, const std::vector<std::wstring>& args = {},
                         const std::wstring& workFolder = {});
    Process(Process&&) noexcept = default;
    Process& operator=(Process&&) noexcept;
    ~Process();

    DWORD id() const { return id_; }
    bool running() const;
    bool waitForExit(Millis timeout);
    // An orderly end: within the timeout and with exit code 0. Any other code
    // is noted, so a crash or an abort on the way out is no end to count.
    bool exitsCleanly(Millis timeout);
    // nullopt while it runs.
    std::optional<DWORD> exitCode() const;
    void terminate();
    // True for a 32-bit program on 64-bit Windows (WOW64).
    bool is32Bit() const;

  private:
    struct CloseHandleDeleter {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}

    std::unique_ptr<void, CloseHandleDeleter> handle_;
    DWORD id_ = 0;
};

}  // namespace e2e
