#pragma once
// What anyone on the desktop can see of other programs' windows.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

std::wstring className(HWND window);
std::wstring windowText(HWND window);
DWORD processOf(HWND window);

// Every top-level window, in the system's z-order.
std::vector<HWND> topLevelWindows();
// Top-level windows of one process.
std::vector<HWND> topLevelWindowsOf(DWORD processId);
// The first top-level window with this class and title, as FindWindow; nullptr when none.
HWND findTopLevel(std::wstring_view className, std::wstring_view title);
// Every descendant, in the order EnumChildWindows walks them.
std::vector<HWND> descendants(HWND window);

// The first descendant whose text is exactly text; nullptr when none.
HWND childWithText(HWND parent, std::wstring_view text);

bool isTopmost(HWND window);
// True when the rectangle's middle is the screen's (within 2 pixels).
bool isCentred(const RECT& rect);
std::optional<RECT> windowRect(HWND window);

// One line per top-level window and descendant (class, text, owner, visibility,
// rectangle, process), for the output of a failed scenario.
std::string describeDesktop();

// A fingerprint of what the screen shows in the rectangle; 0 when it cannot be read.
std::uint64_t screenFingerprint(const RECT& rect);

POINT cursorPos();
void setCursorPos(POINT point);
// A left click as a user makes it: move the cursor, let the move take effect
// (under Wine a click right after a move can land on the old point), press, release.
void leftClickAt(POINT point, std::chrono::milliseconds settle = std::chrono::milliseconds(20));

}  // namespace e2e
