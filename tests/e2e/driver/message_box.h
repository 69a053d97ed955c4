#pragma once
// Message boxes of other programs: the dialog window (class #32770), its text
// (the Static with id 0xFFFF), its icon (held by the Static with id 0x440),
// and its OK button (id 1).

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
    bool hasIcon = false;
    ULONGLONG seen = 0;  // GetTickCount64 when it was looked at
};

// The message boxes shown now, of one process (0: of any).
std::vector<MessageBoxView> messageBoxes(DWORD processId = 0);

// Waits for a message box of the process.
std::optional<MessageBoxView> waitForMessageBox(DWORD processId, std::chrono::milliseconds timeout);

// Presses OK; true when the box took the press and went away.
bool pressOk(const MessageBoxView& box);

}  // namespace e2e
