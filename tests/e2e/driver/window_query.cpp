#include "window_query.h"

#include <cstdlib>
#include <memory>

#include "check.h"
#include "wait.h"

namespace e2e {
namespace {

struct ReleaseScreenDc {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DeleteDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteObjectDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};

BOOL CALLBACK collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

DWORD processOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(&collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> topLevelWindowsOf(DWORD processId) {
    std::vector<HWND> windows;
    for (const HWND window : topLevelWindows()) {
        if (processOf(window) == processId) windows.push_back(window);
    }
    return windows;
}

HWND findTopLevel(std::wstring_view wantedClass, std::wstring_view title) {
    return FindWindowW(std::wstring(wantedClass).c_str(), std::wstring(title).c_str());
}

std::vector<HWND> descendants(HWND window) {
    std::vector<HWND> windows;
    EnumChildWindows(window, &collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND childWithText(HWND parent, std::wstring_view text) {
    for (const HWND child : descendants(parent)) {
        if (windowText(child) == text) return child;
    }
    return nullptr;
}

bool isCentred(const RECT& rect) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return std::abs(rect.left + rect.right - screenWidth) <= 2 &&
           std::abs(rect.top + rect.bottom - screenHeight) <= 2;
}

bool isTopmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::optional<RECT> windowRect(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return std::nullopt;
    return rect;
}

namespace {

std::string describe(HWND window, int depth) {
    const RECT rect = windowRect(window).value_or(RECT{});
    std::string line(static_cast<std::size_t>(depth) * 2, ' ');
    line += utf8(className(window)) + " " + quoted(windowText(window));
    if (const HWND owner = GetWindow(window, GW_OWNER)) line += " owner=" + utf8(className(owner));
    line += IsWindowVisible(window) ? " visible" : " hidden";
    line += " id=" + std::to_string(GetDlgCtrlID(window));
    line += " " + std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" +
            std::to_string(rect.right) + "," + std::to_string(rect.bottom);
    line += " pid=" + std::to_string(processOf(window)) + "\n";
    return line;
}

}  // namespace

std::string describeDesktop() {
    std::string text;
    for (const HWND top : topLevelWindows()) {
        text += describe(top, 0);
        for (const HWND child : descendants(top)) {
            int depth = 0;
            for (HWND at = child; at && at != top; at = GetParent(at)) ++depth;
            text += describe(child, depth);
        }
    }
    return text;
}

POINT cursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

void setCursorPos(POINT point) { SetCursorPos(point.x, point.y); }

void leftClickAt(POINT point, std::chrono::milliseconds settle) {
    setCursorPos(point);
    if (settle.count() > 0) pauseFor(settle);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

std::uint64_t screenFingerprint(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return 0;

    const std::unique_ptr<HDC__, ReleaseScreenDc> screen(GetDC(nullptr));
    const std::unique_ptr<HDC__, DeleteDcDeleter> memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const std::unique_ptr<HBITMAP__, DeleteObjectDeleter> bitmap(
        CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return 0;
    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const BOOL copied =
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory.get(), previous);
    if (!copied) return 0;
    // FNV-1a over the pixels.
    std::uint64_t hash = 14695981039346656037ull;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        hash = (hash ^ (pixels[i] & 0xFFFFFFu)) * 1099511628211ull;
    return hash;
}

}  // namespace e2e
