#include "standin_app.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace standin {
namespace {

constexpr wchar_t kMainClass[] = L"TMainForm";
constexpr wchar_t kMainTitle[] = L"Asus Probe 2";
constexpr wchar_t kSplashClass[] = L"TSplashForm";
constexpr wchar_t kSplashTitle[] = L"SplashForm";
constexpr wchar_t kPartClass[] = L"StandinPart";
constexpr wchar_t kControllerClass[] = L"StandinController";
constexpr wchar_t kBackdropClass[] = L"StandinBackdrop";
// Tervane Lite's window, and the shell's callback for a right-click on its icon.
constexpr wchar_t kProgramClass[] = L"Halvedon.Tervane_Lite.Form1";
constexpr UINT kTrayCallback = WM_MOUSEMOVE;
constexpr WPARAM kTrayIconId = 2;

constexpr UINT_PTR kReloadTimer = 1;
constexpr UINT kReloadMs = 250;  // a test's change or quit is taken at once
constexpr UINT_PTR kSplashTimer = 2;

constexpr int kCaptionHeight = 28;  // the title strip the main window paints itself
constexpr int kRowHeight = 22;      // one window's own text row
constexpr int kIndent = 8;

// Reads the whole file; nullopt when it cannot be opened.
std::optional<std::string> readFile(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

bool sameShape(const std::vector<TreeWindow>& a, const std::vector<TreeWindow>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TreeWindow& x, const TreeWindow& y) { return x.depth == y.depth; });
}

bool samePlacement(const StandinConfig& a, const StandinConfig& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// Number of windows nested below tree[index].
int descendantCount(const std::vector<TreeWindow>& tree, std::size_t index) {
    int count = 0;
    for (std::size_t i = index + 1; i < tree.size() && tree[i].depth > tree[index].depth; ++i) {
        ++count;
    }
    return count;
}

class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return paint_.hdc; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

void drawText(HDC dc, const std::wstring& text, RECT area, UINT format, int textColor) {
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(textColor));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              format | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// A hand on the mouse, or another program: the cursor near the screen's
// bottom-left corner, off the main window, every 2 ms for 2 s.
DWORD WINAPI keepCursorAway(void*) {
    for (const auto end = GetTickCount64() + 2000; GetTickCount64() < end; Sleep(2)) {
        SetCursorPos(8, GetSystemMetrics(SM_CYSCREEN) - 8);
    }
    return 0;
}

}  // namespace

StandinApp::StandinApp(HINSTANCE instance, std::filesystem::path configPath)
    : instance_(instance), configPath_(std::move(configPath)) {}

StandinApp::~StandinApp() {
    // Windows first, while the members their procedure touches still live.
    splash_.reset();
    main_.reset();
    backdrop_.reset();
    controller_.reset();
}

bool StandinApp::start(int showCommand) {
    showCommand_ = showCommand;
    StandinConfig config = defaultConfig();
    if (const auto text = readFile(configPath_)) {
        lastFileText_ = *text;
        auto parsed = parseConfig(*text);
        if (!parsed.config) return false;
        config = std::move(*parsed.config);
    }
    config_ = std::move(config);
    log_.open(resolveLogPath(config_.logPath));
    log_.write("started pid=" + std::to_string(GetCurrentProcessId()));
    if (config_.quit) {
        log_.write("quit");
        PostQuitMessage(0);
        return true;
    }
    registerClasses();
    controller_.reset(create(kControllerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE));
    SetTimer(controller_.get(), kReloadTimer, kReloadMs, nullptr);
    if (config_.mainWindow) openMainWindow();
    log_.write("loaded n=" + std::to_string(++loads_));
    return true;
}

void StandinApp::registerClasses() {
    for (const wchar_t* name :
         {kMainClass, kSplashClass, kPartClass, kControllerClass, kBackdropClass}) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &StandinApp::windowProc;
        windowClass.hInstance = instance_;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }
}

HWND StandinApp::create(const wchar_t* className, const std::wstring& text, DWORD style, int x,
                        int y, int width, int height, HWND parent) {
    return CreateWindowExW(0, className, text.c_str(), style, x, y, width, height, parent, nullptr,
                           instance_, this);
}

void StandinApp::openMainWindow() {
    if (config_.backdrop) {
        backdrop_.reset(create(kBackdropClass, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               nullptr));
    }
    main_.reset(create(kMainClass, kMainTitle, WS_POPUP | WS_CLIPCHILDREN, config_.left,
                       config_.top, config_.width, config_.height, nullptr));
    buildTree();
    if (config_.splashMs > 0) {
        // The main window exists, hidden, while the splash shows.
        splash_.reset(create(kSplashClass, kSplashTitle, WS_POPUP | WS_BORDER | WS_VISIBLE,
                             config_.left + 40, config_.top + 40, 320, 120, nullptr));
        SetTimer(controller_.get(), kSplashTimer, static_cast<UINT>(config_.splashMs), nullptr);
        log_.write("splash-shown");
        return;
    }
    showMainWindow();
}

void StandinApp::showMainWindow() {
    ShowWindow(main_.get(), showCommand_);
    log_.write("main-shown");
    workFor(config_.busyMs);
}

void StandinApp::workFor(int ms) {
    if (ms <= 0) return;
    // Answers nothing meanwhile: whoever shows or moves this window waits.
    log_.write("busy ms=" + std::to_string(ms));
    Sleep(static_cast<DWORD>(ms));
    log_.write("busy-over");
    if (config_.afterBusy == AfterBusy::Nothing || !main_) return;
    // Clicks made on the window while it worked are told where it was then.
    logWaitingClicks();
    if (config_.afterBusy == AfterBusy::Move) {
        SetWindowPos(main_.get(), nullptr, config_.movedLeft, config_.movedTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        log_.write("main-moved");
    } else {
        closedOnPurpose_ = true;
        main_.reset();
        parts_.clear();
        log_.write("main-gone");
    }
}

void StandinApp::postTrayClick() {
    if (const HWND program = FindWindowW(kProgramClass, nullptr)) {
        PostMessageW(program, kTrayCallback, kTrayIconId, WM_RBUTTONUP);
        log_.write("tray-click-posted");
    }
}

void StandinApp::takeCursorAway() {
    // Its own thread: the window's thread may be set to work by the same click.
    if (const HANDLE thread = CreateThread(nullptr, 0, &keepCursorAway, nullptr, 0, nullptr)) {
        CloseHandle(thread);
        log_.write("cursor-away");
    }
}

void StandinApp::endSplash() {
    KillTimer(controller_.get(), kSplashTimer);
    splash_.reset();
    log_.write("splash-gone");
    if (!main_) return;
    showMainWindow();
}

void StandinApp::buildTree() {
    // Children go before their parents, so each handle is still valid.
    for (auto part = parts_.rbegin(); part != parts_.rend(); ++part) DestroyWindow(*part);
    parts_.clear();

    // The parent and the next free row of every depth on the current path.
    std::vector<HWND> parents{main_.get()};
    std::vector<int> nextTop{kCaptionHeight + 4};
    const auto& tree = config_.tree;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const auto depth = static_cast<std::size_t>(tree[i].depth);
        parents.resize(depth);
        nextTop.resize(depth);
        const int height = kRowHeight * (1 + descendantCount(tree, i));
        const int width = config_.width - 2 * kIndent * tree[i].depth;
        const HWND part = create(kPartClass, tree[i].text, WS_CHILD | WS_VISIBLE, kIndent,
                                 nextTop.back(), std::max(width, kIndent), height, parents.back());
        nextTop.back() += height;
        parents.push_back(part);
        nextTop.push_back(kRowHeight);
        parts_.push_back(part);
    }
}

void StandinApp::updateTexts() {
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        if (windowText(parts_[i]) != config_.tree[i].text) {
            SetWindowTextW(parts_[i], config_.tree[i].text.c_str());
        }
    }
}

void StandinApp::reload() {
    auto text = readFile(configPath_);
    if (!text || *text == lastFileText_) return;
    lastFileText_ = std::move(*text);
    auto parsed = parseConfig(lastFileText_);
    if (!parsed.config) {
        log_.write("error " + parsed.error);
        return;
    }
    apply(std::move(*parsed.config));
}

void StandinApp::apply(StandinConfig next) {
    if (next.logPath != config_.logPath) log_.open(resolveLogPath(next.logPath));
    if (next.quit) {
        log_.write("quit");
        splash_.reset();
        main_.reset();
        PostQuitMessage(0);
        return;
    }
    const bool moved = !samePlacement(next, config_);
    const bool reshaped = !sameShape(next.tree, config_.tree);
    // Splash, busy times and what follows them, the backdrop, what the first
    // click sets off and main-window presence belong to the start only.
    next.splashMs = config_.splashMs;
    next.busyMs = config_.busyMs;
    next.busyOnClickMs = config_.busyOnClickMs;
    next.afterBusy = config_.afterBusy;
    next.movedLeft = config_.movedLeft;
    next.movedTop = config_.movedTop;
    next.backdrop = config_.backdrop;
    next.trayClickOnClick = config_.trayClickOnClick;
    next.cursorAwayOnClick = config_.cursorAwayOnClick;
    next.mainWindow = config_.mainWindow;
    config_ = std::move(next);
    if (main_) {
        if (moved) {
            SetWindowPos(main_.get(), nullptr, config_.left, config_.top, config_.width,
                         config_.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (moved || reshaped) {
            buildTree();
        } else {
            updateTexts();
        }
    }
    log_.write("loaded n=" + std::to_string(++loads_));
}

void StandinApp::logClick(HWND window, LPARAM lParam) {
    if (!main_) return;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &point);
    RECT frame{};
    GetWindowRect(main_.get(), &frame);
    const bool topmost = (GetWindowLongPtrW(main_.get(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    log_.write("click x=" + std::to_string(point.x) + " y=" + std::to_string(point.y) +
               " dx=" + std::to_string(point.x - frame.left) +
               " dy=" + std::to_string(point.y - frame.top) + " topmost=" + (topmost ? "1" : "0"));
}

void StandinApp::logBackdropClick(LPARAM lParam) {
    // The backdrop covers the screen from its origin: client points are screen points.
    log_.write("backdrop-click x=" + std::to_string(GET_X_LPARAM(lParam)) +
               " y=" + std::to_string(GET_Y_LPARAM(lParam)));
}

void StandinApp::logWaitingClicks() {
    MSG waiting;
    while (PeekMessageW(&waiting, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) {
        if (waiting.hwnd == backdrop_.get()) {
            logBackdropClick(waiting.lParam);
        } else if (waiting.hwnd != splash_.get()) {
            logClick(waiting.hwnd, waiting.lParam);
        }
    }
}

void StandinApp::paint(HWND window) {
    PaintScope scope(window);
    RECT client{};
    GetClientRect(window, &client);
    if (window == main_.get()) {
        RECT strip{client.left, client.top, client.right, kCaptionHeight};
        FillRect(scope.dc(), &strip, GetSysColorBrush(COLOR_ACTIVECAPTION));
        strip.left += kIndent;
        drawText(scope.dc(), L"Asus Probe 2 (stand-in)", strip, DT_LEFT, COLOR_CAPTIONTEXT);
    } else if (window == splash_.get()) {
        drawText(scope.dc(), L"Starting the stand-in monitor\u2026", client, DT_CENTER,
                 COLOR_WINDOWTEXT);
    } else {
        FillRect(scope.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(scope.dc(), &client, GetSysColorBrush(COLOR_BTNSHADOW));
        RECT row{client.left + 4, client.top, client.right, kRowHeight};
        drawText(scope.dc(), windowText(window), row, DT_LEFT, COLOR_BTNTEXT);
    }
}

std::wstring StandinApp::resolveLogPath(const std::wstring& path) const {
    if (path.empty()) return {};
    const std::filesystem::path logPath(path);
    return logPath.is_absolute() ? logPath.wstring()
                                 : (configPath_.parent_path() / logPath).wstring();
}

LRESULT CALLBACK StandinApp::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<StandinApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!app) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return app->handle(window, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatch.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT StandinApp::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kReloadTimer) reload();
            if (wParam == kSplashTimer) endSplash();
            return 0;
        case WM_LBUTTONDOWN:
            if (window == splash_.get()) return 0;
            if (window == backdrop_.get()) {
                logBackdropClick(lParam);
                return 0;
            }
            logClick(window, lParam);
            if (!setToWork_) {
                setToWork_ = true;
                if (config_.trayClickOnClick) postTrayClick();
                if (config_.cursorAwayOnClick) takeCursorAway();
                workFor(config_.busyOnClickMs);
            }
            return 0;
        case WM_WINDOWPOSCHANGING:
            // Another program's SetWindowPos reaches this thread as a sent
            // message, ahead of clicks it made before the call that still wait
            // in the queue: log those first, with the z-order they were made in.
            if (window == main_.get() &&
                !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER)) {
                logWaitingClicks();
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        case WM_DESTROY:
            if (window == main_.get() && !std::exchange(closedOnPurpose_, false)) {
                log_.write("main-closed");
                PostQuitMessage(0);
            }
            return 0;
        case WM_NCDESTROY:
            // Closed from outside: the window is gone, nothing left to destroy.
            if (window == main_.get()) static_cast<void>(main_.release());
            if (window == splash_.get()) static_cast<void>(splash_.release());
            if (window == controller_.get()) static_cast<void>(controller_.release());
            if (window == backdrop_.get()) static_cast<void>(backdrop_.release());
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace standin
