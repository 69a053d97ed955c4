#include "platform/win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <system_error>

namespace tervane::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Halvedon.Tervane_Lite.Form1";

[[noreturn]] void throwLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

int screenDpi() {
    const OwnedScreenDc screen(GetDC(nullptr));
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

HICON loadApplicationIcon(int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(layout::kApplicationIcon), IMAGE_ICON,
                                         width, height, 0));
}

}  // namespace

FormWindow::FormWindow()
    : dpi_(screenDpi()),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")),
      background_(CreateSolidBrush(layout::kBackground)),
      font_(CreateFontW(-MulDiv(layout::kFontPoints, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, layout::kFontFace)),
      largeIcon_(loadApplicationIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))),
      smallIcon_(loadApplicationIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))),
      menuTop_(CreateMenu()) {
    const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);

    OwnedMenu popup(CreatePopupMenu());
    AppendMenuW(popup.get(), MF_STRING, layout::kMenuExitId, layout::kMenuExitCaption);
    if (AppendMenuW(menuTop_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()),
                    layout::kMenuTopCaption)) {
        popup.release();  // the top menu now owns it and destroys it with itself
    }

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &FormWindow::procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = largeIcon_.get();
    windowClass.hIconSm = smallIcon_.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background_.get();
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0) throwLastError("RegisterClassExW");

    RECT frame{0, 0, scale(layout::kClientWidth), scale(layout::kClientHeight)};
    AdjustWindowRectEx(&frame, layout::kStyle, FALSE, layout::kExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = scale(layout::kClientLeft) + frame.left;
    const int top = scale(layout::kClientTop) + frame.top;
    // WM_NCCREATE stores this object with the window; window_ is set there.
    if (CreateWindowExW(layout::kExStyle, kWindowClass, layout::kCaption, layout::kStyle, left, top,
                        width, height, nullptr, nullptr, instance, this) == nullptr) {
        throwLastError("CreateWindowExW");
    }
    // Run as administrator, the window would not hear the shell (a lower
    // integrity level) announce that it restarted.
    ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    try {
        createControls();
    } catch (...) {
        DestroyWindow(window_);  // no destructor runs for a half-made object
        throw;
    }
}

FormWindow::~FormWindow() {
    events_ = nullptr;
    if (window_ != nullptr) DestroyWindow(window_);
}

void FormWindow::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const layout::Control& control : layout::kControls) {
        HWND child = CreateWindowExW(
            0, control.windowClass, control.caption, WS_CHILD | WS_VISIBLE | control.style,
            scale(control.left), scale(control.top), scale(control.width), scale(control.height),
            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        if (child == nullptr) throwLastError("CreateWindowExW (control)");
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    Button_SetCheck(control(layout::kBlack), BST_CHECKED);
}

void FormWindow::dispatch(MSG& message) const noexcept {
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

LRESULT CALLBACK FormWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(window, message, wParam, lParam);
}

LRESULT FormWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: {
            // Real moves and the tray's callbacks both arrive here; where the
            // message was sent from tells them apart.
            const DWORD sentFrom = GetMessagePos();
            MouseMove move{wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), false};
            POINT screen{move.x, move.y};
            ClientToScreen(window, &screen);
            move.atPointer =
                screen.x == GET_X_LPARAM(sentFrom) && screen.y == GET_Y_LPARAM(sentFrom);
            raise([move](FormEvents& events) { events.onMouseMove(move); });
            return 0;
        }
        case WM_TIMER:
            raise([id = static_cast<TimerId>(wParam)](FormEvents& events) { events.onTimer(id); });
            return 0;
        case WM_CLOSE:
            // The program decides what a close request does.
            raise([](FormEvents& events) { events.onCloseRequest(); });
            return 0;
        case WM_SIZE:
            raise([](FormEvents& events) { events.onResize(); });
            return 0;
        case WM_COMMAND:
            if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case layout::kBlack:
                    case layout::kWhite:
                        raise([](FormEvents& events) { events.onOptionClicked(); });
                        break;
                    case layout::kToggle:
                        raise([](FormEvents& events) { events.onToggleClicked(); });
                        break;
                    default:
                        break;
                }
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // Labels and buttons sit on the window's pale yellow.
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(background_.get());
        }
        case WM_QUERYENDSESSION:
            return TRUE;  // the session may always end
        case WM_ENDSESSION:
            raise([ending = wParam != FALSE](FormEvents& events) { events.onSessionEnd(ending); });
            return 0;
        case WM_DESTROY:
            events_ = nullptr;
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
        default:
            if (message == taskbarCreated_) {
                raise([](FormEvents& events) { events.onTaskbarCreated(); });
                return 0;
            }
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tervane::win32
