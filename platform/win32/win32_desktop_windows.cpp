// Windows of other programs, and synthetic input.

#include "platform/win32/win32_desktop.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace tervane::win32 {
namespace {

using Visit = std::function<bool(WindowHandle)>;

// Counts an answer; called while this thread takes its messages.
void CALLBACK onAnswer(HWND, UINT, ULONG_PTR answers, LRESULT) noexcept {
    ++*reinterpret_cast<unsigned*>(answers);
}

// Windows 10 1607 and later: looked up, not imported, so that the program
// still starts where they are missing (coordinates then stay its own).
template <class Function>
Function* user32Function(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}
const auto setThreadDpiAwarenessContext =
    user32Function<decltype(::SetThreadDpiAwarenessContext)>("SetThreadDpiAwarenessContext");
const auto getWindowDpiAwarenessContext =
    user32Function<decltype(::GetWindowDpiAwarenessContext)>("GetWindowDpiAwarenessContext");

BOOL CALLBACK visitDescendant(HWND window, LPARAM visit) noexcept {
    try {
        return (*reinterpret_cast<const Visit*>(visit))(fromHwnd(window)) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;  // no exception crosses the enumeration
    }
}

}  // namespace

WindowHandle Win32Desktop::findWindow(std::wstring_view className, std::wstring_view title) {
    return fromHwnd(FindWindowW(std::wstring(className).c_str(), std::wstring(title).c_str()));
}

void Win32Desktop::forEachDescendant(WindowHandle parent, const Visit& visit) {
    EnumChildWindows(toHwnd(parent), &visitDescendant, reinterpret_cast<LPARAM>(&visit));
}

std::wstring Win32Desktop::windowText(WindowHandle window) {
    std::array<wchar_t, 255> text{};
    const int length = GetWindowTextW(toHwnd(window), text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

WindowHandle Win32Desktop::foregroundWindow() { return fromHwnd(GetForegroundWindow()); }

void Win32Desktop::setForegroundWindow(WindowHandle window) { SetForegroundWindow(toHwnd(window)); }

// Both are posted to the window's thread, which carries them out in turn;
// the caller does not wait for it (a busy or hung program would hold it).
void Win32Desktop::showWindow(WindowHandle window, ShowCommand command) {
    ShowWindowAsync(toHwnd(window), static_cast<int>(command));
}

void Win32Desktop::setTopmost(WindowHandle window, bool onTop) {
    SetWindowPos(toHwnd(window), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_ASYNCWINDOWPOS);
}

std::optional<WindowState> Win32Desktop::windowState(WindowHandle window) {
    // The styles the system keeps for the window: no message to its thread.
    SetLastError(ERROR_SUCCESS);
    const auto style = static_cast<DWORD>(GetWindowLongW(toHwnd(window), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(toHwnd(window), GWL_EXSTYLE));
    if (GetLastError() != ERROR_SUCCESS) return std::nullopt;
    return WindowState{(style & WS_VISIBLE) != 0, (style & WS_MINIMIZE) != 0,
                       (style & WS_MAXIMIZE) != 0, (exStyle & WS_EX_TOPMOST) != 0};
}

std::optional<Rect> Win32Desktop::windowRect(WindowHandle window) {
    RECT rect{};
    if (!GetWindowRect(toHwnd(window), &rect)) return std::nullopt;
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

WindowHandle Win32Desktop::windowAt(Point point) {
    // WindowFromPoint asks only this thread's windows where they are hit.
    return fromHwnd(GetAncestor(WindowFromPoint(POINT{point.x, point.y}), GA_ROOT));
}

void Win32Desktop::askForAnswer(WindowHandle window) {
    // WM_NULL does nothing; the reply comes once the window's thread has taken it.
    Answers& answers = answers_[window];
    if (SendMessageCallbackW(toHwnd(window), WM_NULL, 0, 0, &onAnswer,
                             reinterpret_cast<ULONG_PTR>(&answers.received))) {
        ++answers.asked;
    }
}

bool Win32Desktop::answered(WindowHandle window) {
    const auto found = answers_.find(window);
    return found == answers_.end() || found->second.received == found->second.asked;
}

bool Win32Desktop::useCoordinatesOf(WindowHandle window) {
    // The thread takes the window's DPI awareness: the system then maps
    // rectangles and cursor positions as that window sees them. Without
    // that (before Windows 10 1607) they stay the program's own, which are
    // the window's only while the display is not scaled.
    if (setThreadDpiAwarenessContext == nullptr || getWindowDpiAwarenessContext == nullptr) {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dpi == USER_DEFAULT_SCREEN_DPI;
    }
    const DPI_AWARENESS_CONTEXT context = getWindowDpiAwarenessContext(toHwnd(window));
    if (context == nullptr) return false;
    const DPI_AWARENESS_CONTEXT previous = setThreadDpiAwarenessContext(context);
    if (ownCoordinates_ == nullptr) ownCoordinates_ = previous;
    return previous != nullptr;
}

void Win32Desktop::useOwnCoordinates() {
    if (ownCoordinates_ != nullptr) {
        setThreadDpiAwarenessContext(std::exchange(ownCoordinates_, nullptr));
    }
}

Point Win32Desktop::cursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return Point{point.x, point.y};
}

bool Win32Desktop::buttonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

namespace {
// Absolute coordinates run from 0 to 65536 over the virtual screen, in the
// coordinates in use; rounding up lands on the pixel itself.
MOUSEINPUT absoluteAt(Point point, DWORD flags) {
    const auto normalized = [](LONG value, int origin, int size) {
        return static_cast<LONG>(std::ceil((value - origin) * 65536.0 / std::max(size, 1)));
    };
    return {normalized(point.x, GetSystemMetrics(SM_XVIRTUALSCREEN),
                       GetSystemMetrics(SM_CXVIRTUALSCREEN)),
            normalized(point.y, GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_CYVIRTUALSCREEN)),
            0,
            MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | flags,
            0,
            0};
}

void sendMouse(std::initializer_list<MOUSEINPUT> events) {
    std::array<INPUT, 2> inputs{};
    std::size_t count = 0;
    for (const MOUSEINPUT& event : events) {
        inputs.at(count).type = INPUT_MOUSE;
        inputs.at(count++).mi = event;
    }
    SendInput(static_cast<UINT>(count), inputs.data(), sizeof(INPUT));
}
}  // namespace

// In the same input stream as the presses: a cursor set aside the stream
// (SetCursorPos) may be moved back by a press's move that comes after it.
void Win32Desktop::moveCursor(Point point) { sendMouse({absoluteAt(point, 0)}); }

// The move and the press and release in one call: the system lets no other
// input come between them.
void Win32Desktop::press(Point point, MouseButton button) {
    const bool left = button == MouseButton::Left;
    sendMouse({absoluteAt(point, left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN),
               absoluteAt(point, left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP)});
}

bool Win32Desktop::userPressing() {
    // The physical buttons, whichever is the primary one.
    constexpr std::array kKeys{VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2,
                               VK_SHIFT,   VK_CONTROL, VK_MENU,    VK_LWIN,     VK_RWIN};
    return std::any_of(kKeys.begin(), kKeys.end(),
                       [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; });
}

void Win32Desktop::blockInput(bool block) { BlockInput(block ? TRUE : FALSE); }

}  // namespace tervane::win32
