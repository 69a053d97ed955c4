// The driver's own observation helpers, checked against things the driver
// makes itself: a tray icon of its own and message boxes of its own. The
// program's scenarios rely on these helpers seeing what a user would see.

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <vector>

#include "check.h"
#include "message_box.h"
#include "process.h"
#include "program.h"
#include "scenario.h"
#include "tray.h"
#include "wait.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr UINT kTrayId = 2;
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;  // as the program asks for it

// A hidden window that owns a tray icon and records the icon's callbacks.
class TrayOwner {
  public:
    TrayOwner() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &TrayOwner::proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"E2eTrayOwner";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"e2e tray owner", WS_POPUP, 0, 0,
                                  10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TrayOwner() {
        if (added_) notify(NIM_DELETE, {});
        DestroyWindow(window_);
    }
    TrayOwner(const TrayOwner&) = delete;
    TrayOwner& operator=(const TrayOwner&) = delete;

    bool notify(DWORD action, const std::wstring& tip) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window_;
        data.uID = kTrayId;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kCallbackMessage;
        data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        tip.copy(data.szTip, std::size(data.szTip) - 1);
        const bool done = Shell_NotifyIconW(action, &data) != FALSE;
        if (action == NIM_ADD && done) added_ = true;
        if (action == NIM_DELETE) added_ = false;
        return done;
    }
    // Destroys the window later without removing the icon first.
    void forget() { added_ = false; }
    // The mouse messages the icon reported, in order.
    const std::vector<LPARAM>& callbacks() const { return callbacks_; }

  private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TrayOwner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == kCallbackMessage && wParam == kTrayId) {
            self->callbacks_.push_back(lParam);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    bool added_ = false;
    std::vector<LPARAM> callbacks_;
};

void harnessTray(const Paths&) {
    const std::wstring firstTip = L"Tervane Lite By Dravel";
    const std::wstring readingTip =
        L"CPU:45\u00B0C  MB:38\u00B0C  F1:2410    F2:0       F3:1820    ";
    TrayOwner owner;
    require(owner.notify(NIM_ADD, firstTip), "Shell_NotifyIcon NIM_ADD succeeds");
    std::optional<TrayIcon> icon;
    require(waitUntil([&] { return (icon = trayIconWithTip(firstTip)).has_value(); }, 5s),
            "the icon shows with its tip");
    expectEqual(static_cast<long long>(trayIcons().size()), 1, "tray icons shown");
    note("icon window class " + utf8(className(icon->icon)) + " in " +
         utf8(className(GetAncestor(icon->icon, GA_ROOT))));

    require(owner.notify(NIM_MODIFY, readingTip), "NIM_MODIFY succeeds");
    std::optional<std::wstring> tip;
    waitUntil([&] { return (tip = trayTip(*icon)) == readingTip; }, 2s);
    expectEqual(tip.value_or(L"(unreadable)"), readingTip, "the changed tip, read back");

    postDoubleClick(*icon);
    expect(waitUntil([&] { return !owner.callbacks().empty(); }, 2s),
           "a double-click posted to the icon window reaches the owner");
    postRightButtonUp(*icon);
    waitUntil([&] { return owner.callbacks().size() >= 2; }, 2s);
    const auto& seen = owner.callbacks();
    expect(seen.size() == 2 && seen[0] == WM_LBUTTONDBLCLK && seen[1] == WM_RBUTTONUP,
           "the owner gets callback 512 with 0x203 then 0x205 (" + std::to_string(seen.size()) +
               " callbacks)");

    require(owner.notify(NIM_DELETE, {}), "NIM_DELETE succeeds");
    expect(waitUntil([] { return trayIcons().empty(); }, 2s), "the icon goes away");
}

struct BoxRequest {
    std::wstring text;
    UINT flags = MB_OK;
};

DWORD WINAPI showBox(void* parameter) {
    const auto* request = static_cast<const BoxRequest*>(parameter);
    return static_cast<DWORD>(
        MessageBoxW(nullptr, request->text.c_str(), L"Tervane Lite", request->flags));
}

void expectBox(const BoxRequest& request, bool withIcon) {
    struct CloseThread {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    const std::unique_ptr<void, CloseThread> thread(
        CreateThread(nullptr, 0, &showBox, const_cast<BoxRequest*>(&request), 0, nullptr));
    require(thread != nullptr, "start a thread for the box");
    std::vector<MessageBoxView> boxes;
    require(waitUntil([&] { return !(boxes = messageBoxes(GetCurrentProcessId())).empty(); }, 5s),
            "the message box is found as a #32770 window");
    expectEqual(boxes.size(), 1, "message boxes");
    expectEqual(boxes[0].title, L"Tervane Lite", "its title");
    expectEqual(boxes[0].text, request.text, "its text");
    expect(boxes[0].hasIcon == withIcon, withIcon ? "its icon is there" : "it shows no icon");
    expect(pressOk(boxes[0]), "OK closes it");
    expect(waitForHandle(thread.get(), 5s), "MessageBox returns");
    DWORD answer = 0;
    GetExitCodeThread(thread.get(), &answer);
    expectEqual(answer, IDOK, "MessageBox answers");
}

void harnessMessageBox(const Paths&) {
    expectBox(
        {L"Unable to find 'Asus Probe 2'", MB_OK | MB_ICONHAND | MB_SYSTEMMODAL | MB_SETFOREGROUND},
        true);
    expectBox({L"", MB_OK}, false);
}

// A window of the driver's own that stands for the program's options window.
class TitledWindow {
  public:
    explicit TitledWindow(const wchar_t* title)
        : window_(CreateWindowExW(0, L"STATIC", title, WS_POPUP, 200, 150, 300, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ~TitledWindow() { DestroyWindow(window_); }
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    HWND get() const { return window_; }

  private:
    HWND window_;
};

void harnessProgramViews(const Paths&) {
    expect(!userSetting(L"TrayColor").has_value(), "no TrayColor before one is written");
    Process reg = Process::start(L"C:\\windows\\system32\\reg.exe",
                                 {L"add", L"HKCU\\Software\\Halvedon\\Tervane_Lite", L"/v",
                                  L"TrayColor", L"/t", L"REG_SZ", L"/d", L"True", L"/f"});
    require(reg.waitForExit(20s) && reg.exitCode() == 0u, "reg.exe add ends with 0");
    expectEqual(userSetting(L"TrayColor").value_or(L"(absent)"), L"True",
                "a setting another process wrote, read back");
    expect(!userSetting(L"Toggle").has_value(), "an absent setting reads as absent");

    const TitledWindow options(kProgramTitle);
    const DWORD self = GetCurrentProcessId();
    expect(optionsWindow(self) == nullptr, "a hidden options window is not found");
    ShowWindow(options.get(), SW_SHOWNORMAL);
    expect(optionsWindow(self) == options.get(), "a shown options window is found");
    expect(optionsWindow(self + 4) == nullptr, "only among the given process's windows");
    const RECT rect = windowRect(options.get()).value_or(RECT{});
    expect(rect.left == 200 && rect.top == 150 && rect.right == 500 && rect.bottom == 350,
           "its rectangle is where it was put");
}

// Not a test: does the shell drop an icon whose owner window goes without NIM_DELETE?
void measureTrayOwnerGone(const Paths&) {
    auto owner = std::make_unique<TrayOwner>();
    require(owner->notify(NIM_ADD, L"owner goes"), "NIM_ADD succeeds");
    require(waitUntil([] { return trayIcons().size() == 1; }, 5s), "the icon shows");
    owner->forget();
    owner.reset();
    const auto start = GetTickCount64();
    const bool gone = waitUntil([] { return trayIcons().empty(); }, 10s);
    note(gone ? "the icon went " + std::to_string(GetTickCount64() - start) +
                    " ms after its owner window was destroyed"
              : "the icon stayed 10 s after its owner window was destroyed");
}

// Not a test: what BlockInput does under Wine.
void measureBlockInput(const Paths&) {
    SetLastError(0);
    const BOOL blocked = BlockInput(TRUE);
    const DWORD error = GetLastError();
    const BOOL unblocked = BlockInput(FALSE);
    note("BlockInput(TRUE) returned " + std::to_string(blocked) + " with error " +
         std::to_string(error) + "; BlockInput(FALSE) returned " + std::to_string(unblocked));
}

const ScenarioRegistration trayScenario(
    "harness_tray", "the tray helpers find an icon, read its tip, relay its clicks", &harnessTray);
const ScenarioRegistration boxScenario("harness_message_box",
                                       "the message box helpers read text and icon, and press OK",
                                       &harnessMessageBox);
const ScenarioRegistration programViewsScenario("harness_program_views",
                                                "the settings reader and the options window finder",
                                                &harnessProgramViews);
const ScenarioRegistration trayOwnerGoneScenario(
    "measure_tray_owner_gone", "(measurement) the icon of a destroyed owner window",
    &measureTrayOwnerGone);
const ScenarioRegistration blockInputScenario("measure_block_input",
                                              "(measurement) what BlockInput does",
                                              &measureBlockInput);

}  // namespace
}  // namespace e2e
