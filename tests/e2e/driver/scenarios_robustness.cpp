// Tervane Lite where a careless desktop could trip it: a pointer crossing its
// window at high scaling, a window closed while it starts, a first copy it may
// not open, a shell that drops its icon without a word, registry values of the
// wrong shape, and the session's end.

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "check.h"
#include "message_box.h"
#include "process.h"
#include "program.h"
#include "resident.h"
#include "standin.h"
#include "tray.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr wchar_t kSingleInstanceName[] = L"Local\\Halvedon.Tervane_Lite.SingleInstance";

std::string text(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

void movePointer(POINT point) {
    setCursorPos(point);
    pauseFor(15ms);  // lets the move reach the window under it
}

// At 225 % scaling and more the window is wider than 517 pixels, the mouse
// message numbers the tray's callback brings as x. Run at 240 DPI (E2E_DPI).
void pointerIsNotATrayClick(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    Resident resident = startResident(paths, standin);
    const DWORD pid = resident.program.id();
    const HWND options = showOptions(resident);
    require(options != nullptr, "a double-click on the tray icon shows the options window");
    RECT client{};
    GetClientRect(options, &client);
    POINT origin{0, 0};
    ClientToScreen(options, &origin);
    note("options window client area " + std::to_string(client.right) + " x " +
         std::to_string(client.bottom) + " at " + std::to_string(origin.x) + "," +
         std::to_string(origin.y));
    require(client.right > 517, "the client area is wider than 517 pixels (run at 240 DPI)");

    // Across the columns 505-525 on the top row, a row below and the middle,
    // then once more with the right button held, as in a drag.
    for (const LONG y : {0L, 1L, client.bottom / 2}) {
        for (int x = 505; x <= 525; ++x) movePointer({origin.x + x, origin.y + y});
    }
    movePointer({origin.x + 530, origin.y + 20});
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    for (int x = 525; x >= 505; --x) movePointer({origin.x + x, origin.y});
    movePointer({10, 700});
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    require(waitForLaterTick(standin, 46), "a tick comes after the moves");
    const bool menuOpen = trayMenu(pid) != nullptr;
    expect(!menuOpen, "the pointer crossing x = 515 and 517 opens no tray menu");
    if (menuOpen) PostMessageW(formWindow(pid), WM_CANCELMODE, 0, 0);
    expect(optionsWindow(pid) == options, "the options window stays as it was");

    // The tray's own clicks still do their work.
    PostMessageW(options, WM_SYSCOMMAND, SC_CLOSE, 0);
    require(waitUntil([&] { return optionsWindow(pid) == nullptr; }, 3s), "closing hides it");
    require(showOptions(resident) == options, "the tray's double-click shows it again");

    // Hidden from outside, in place, the window still takes the moves queued
    // for it at the pointer's place; those along its top row with the right
    // button held neither show it nor open the menu.
    POINT corner{0, 0};
    ClientToScreen(options, &corner);
    ShowWindow(options, SW_HIDE);
    require(waitUntil([&] { return optionsWindow(pid) == nullptr; }, 3s), "hidden from outside");
    for (const int x : {515, 517}) {
        movePointer({corner.x + x, corner.y});
        PostMessageW(options, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(x, 0));
    }
    // A message sent to a window carries the place of the last one it took:
    // a tick taken with the pointer elsewhere keeps the tray's next callback
    // from looking like one of these moves.
    movePointer({10, 700});
    require(waitForLaterTick(standin, 47), "a tick comes after the moves");
    expect(trayMenu(pid) == nullptr, "hidden, the moves at x = 515 and 517 open no tray menu");
    expect(optionsWindow(pid) == nullptr, "hidden, the options window stays hidden");
    postRightButtonUp(resident.icon);
    require(chooseOnlyTrayMenuItem(pid), "the tray's right click opens the menu");
    expect(resident.program.exitsCleanly(10s), "and Exit ends the program");
    standin.quit();
}

// The user closes the window while start-up waits for the monitor; once in
// the tray, a double-click must bring it back centred, on the screen.
void closedDuringStartup(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    installMonitor(standin);
    Process program = startProgram(paths);
    HWND form = nullptr;
    require(waitUntil(
                [&] {
                    form = formWindow(program.id());
                    return form != nullptr && IsWindowVisible(form);
                },
                20s),
            "start-up shows the window");
    require(standin.log().clicks.empty(), "while start-up still waits for the monitor");
    PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    expect(waitUntil([&] { return !IsWindowVisible(form); }, 3s), "closing it hides it");
    if (!waitForClicks(standin, 6, 30s)) describeFailure(standin);
    const auto icon = waitForTrayTip(kReadingTip, 10s);
    require(icon.has_value(), "start-up goes on to the first reading");
    require(waitForLaterTick(standin, 46), "the tick runs on after start-up");
    expect(!IsWindowVisible(form), "start-up ends with the window hidden");

    postDoubleClick(*icon);
    require(waitUntil([&] { return IsWindowVisible(form) && !IsIconic(form); }, 5s),
            "a double-click on the tray icon shows the window in its normal state");
    const HWND options = form;
    const RECT rect = windowRect(options).value_or(RECT{});
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    expect(isCentred(rect), "centred on the screen, at " + text(rect));
    expect(rect.left >= screen.left && rect.top >= screen.top && rect.right <= screen.right &&
               rect.bottom <= screen.bottom,
           "wholly on the screen, at " + text(rect));
    endWithTheMonitor(standin, program);
}

// A first copy running elevated holds the token with rights a second copy
// does not have: taking it fails with "access denied", not "already exists".
void secondCopyOfAnElevatedFirst(const Paths& paths) {
    SECURITY_DESCRIPTOR descriptor{};
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    alignas(DWORD) BYTE aclBytes[64] = {};
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);  // empty: nobody may open it
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const HANDLE token = CreateMutexW(&attributes, FALSE, kSingleInstanceName);
    require(token != nullptr, "the first copy's token is made");
    // What another program asking for the token meets.
    const HANDLE opened = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kSingleInstanceName);
    const DWORD error = GetLastError();
    expect(opened == nullptr && error == ERROR_ACCESS_DENIED,
           "another program is refused the token (error " + std::to_string(error) + ")");
    if (opened) CloseHandle(opened);

    expectSecondCopyRefused(paths, 0);
    CloseHandle(token);
}

// The shell loses the icon without announcing a restart: the next tick's
// change, refused, adds it again, even with readings that do not change.
void iconDroppedSilently(const Paths& paths) { expectIconBack(paths, false); }

bool checked(HWND button) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

// The session ends as Windows ends it at log-off or shut-down: wineboot asks
// every process's top-level windows, hidden ones included, whether the session
// may end, tells them that it ends, then ends the process; one process after
// another, in process-id order.
void endSession() {
    Process wineboot = Process::start(L"C:\\windows\\system32\\wineboot.exe", {L"--end-session"});
    require(wineboot.waitForExit(60s), "the session's end finishes");
    expectEqual(static_cast<long long>(wineboot.exitCode().value_or(999)), 0,
                "the session's end went through (wineboot's exit code)");
}

void sessionEnd(const Paths& paths) {
    // Resident with Toggle checked since the start. The program launches the
    // monitor, so the monitor's process comes after it and is ended after it:
    // the program never sees it vanish.
    Standin standin(paths, monitorFolder(paths));
    installMonitor(standin);
    Resident resident = startAndRead(paths, standin, "resident with the first reading");
    const DWORD monitorProcess = processOf(standin.mainWindow());
    require(monitorProcess > resident.program.id(),
            "the monitor's process id follows the program's");
    const HWND options = showOptions(resident);
    require(options != nullptr, "the options window shows");
    const HWND toggle = childWithText(options, L"Toggle CPU && MB Temps");
    require(toggle != nullptr, "it offers Toggle");
    DWORD_PTR result = 0;
    SendMessageTimeoutW(toggle, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    require(checked(toggle), "Toggle is checked");
    PostMessageW(options, WM_SYSCOMMAND, SC_CLOSE, 0);
    require(waitUntil([&] { return !IsWindowVisible(options); }, 3s), "the window is hidden");
    expect(!userSetting(L"Toggle").has_value(), "nothing is written before the end");

    endSession();
    expect(resident.program.exitsCleanly(5s), "the program has ended");
    expectEqual(userSetting(L"Toggle").value_or(L"(absent)"), L"1", "Toggle is saved");
    expect(!userSetting(L"TrayColor").has_value(), "TrayColor is not written");
    expect(trayIcons().empty(), "no tray icon is left");

    // During start-up, while the program waits for the monitor it launched
    // (whose window never comes): it ends by itself, and writes nothing. The
    // driver sends its window the system's two messages itself: wineboot ends
    // a process still there after them with exit code 0, as if it had ended.
    // Windows may end the process any time after it has answered, and gives
    // it 5 s to answer each.
    setUserSetting(L"Toggle", L"2");
    standin.write(readings({.mainWindow = false}));
    const auto startsBefore = startedCount(standin.log());
    Process starting = startProgram(paths);
    require(waitUntil([&] { return startedCount(standin.log()) > startsBefore; }, 20s),
            "start-up launches the monitor");
    pauseFor(500ms);
    require(starting.running(), "and waits for its window");
    const HWND form = formWindow(starting.id());
    DWORD_PTR answer = 0;
    require(SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer) &&
                answer != FALSE,
            "asked whether the session may end, the starting program says yes");
    require(SendMessageTimeoutW(form, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &answer),
            "it answers that the session ends");
    expect(starting.exitsCleanly(5s), "then it ends by itself");
    expectEqual(userSetting(L"Toggle").value_or(L"(absent)"), L"2", "Toggle is as stored");
    expect(!userSetting(L"TrayColor").has_value(), "TrayColor is not written");
    expect(trayIcons().empty(), "no tray icon is left");
    standin.quit();
}

struct Shape {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> bytesOf(const std::wstring& text, bool withNul) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(first, first + (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
}

void installEntryShapes(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    standin.write(readings());
    const std::wstring exe = standin.install();
    const DWORD number = 1;
    const std::vector<Shape> unusable = {
        {"a number",
         REG_DWORD,
         {reinterpret_cast<const BYTE*>(&number),
          reinterpret_cast<const BYTE*>(&number) + sizeof number}},
        {"an expandable text", REG_EXPAND_SZ, bytesOf(exe, true)},
        {"binary data", REG_BINARY, bytesOf(exe, true)},
        {"several texts", REG_MULTI_SZ, bytesOf(exe + L'\0', true)},
        {"an empty text", REG_SZ, {}},
        {"a text of 70000 characters", REG_SZ, bytesOf(std::wstring(70000, L'a'), true)},
    };
    for (const Shape& shape : unusable) {
        setMonitorInstallValue(shape.type, shape.data.data(), shape.data.size());
        Process program = startProgram(paths);
        expectNotFoundRoad(program, shape.name);
    }
    expect(!standin.log().firstTick("started").has_value(), "nothing was launched");

    // A text stored without its final NUL still names the monitor.
    const auto bare = bytesOf(exe, false);
    setMonitorInstallValue(REG_SZ, bare.data(), bare.size());
    Resident resident = startAndRead(paths, standin, "a text without its NUL: launched and read");
    endWithTheMonitor(standin, resident.program);

    // The entry changing size while it is read: both its forms name the
    // monitor, so the program launches it, or, never reading it whole, takes
    // the not-found road. No other box, and a clean end either way.
    standin.write(readings());
    struct Writer {
        std::vector<BYTE> shortForm, longForm;
        std::atomic<bool> writing = true;
        static DWORD WINAPI run(void* self) {
            auto& writer = *static_cast<Writer*>(self);
            HKEY key = nullptr;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ASUS\\ASUS Probe", 0, nullptr, 0,
                                KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key,
                                nullptr) != ERROR_SUCCESS) {
                return 1;
            }
            for (int i = 0; writer.writing; ++i) {
                const auto& data = i % 2 ? writer.longForm : writer.shortForm;
                RegSetValueExW(key, L"Path", 0, REG_SZ, data.data(),
                               static_cast<DWORD>(data.size()));
            }
            RegCloseKey(key);
            return 0;
        }
    } writer{bytesOf(exe, true), bytesOf(L"   \"" + exe + L"\"" + std::wstring(300, L' '), true)};
    const HANDLE writerThread = CreateThread(nullptr, 0, &Writer::run, &writer, 0, nullptr);
    require(writerThread != nullptr, "a thread rewrites the entry");
    const auto startsBefore = startedCount(standin.log());
    Process changing = startProgram(paths);
    const auto told = [&] { return !messageBoxes(changing.id()).empty(); };
    const auto relaunched = [&] { return startedCount(standin.log()) > startsBefore; };
    const bool settled =
        waitUntil([&] { return told() || relaunched() || !changing.running(); }, 30s);
    writer.writing = false;
    WaitForSingleObject(writerThread, INFINITE);
    CloseHandle(writerThread);
    require(settled, "an entry changing size: the program reports or launches the monitor");
    if (told()) {
        note("it took the not-found road");
        return expectNotFoundRoad(changing, "an entry changing size");
    }
    require(relaunched(),
            "an entry changing size: the program launches the monitor or says why not");
    note("it launched the monitor");
    expect(waitForTrayTip(kReadingTip, 20s).has_value(), "and reads it");
    endWithTheMonitor(standin, changing);
}

// Stored options of another shape leave the options as they start (Black, not
// alternating), and nothing writes them back but the exit's Toggle.
void storedOptionShapes(const Paths& paths) {
    const DWORD one = 1;
    const std::vector<std::pair<Shape, Shape>> rounds = {
        {{"TrayColor as a number",
          REG_DWORD,
          {reinterpret_cast<const BYTE*>(&one), reinterpret_cast<const BYTE*>(&one) + 4}},
         {"Toggle as an expandable text", REG_EXPAND_SZ, bytesOf(L"1", true)}},
        {{"TrayColor as binary data", REG_BINARY, bytesOf(L"True", true)},
         {"Toggle as a text of 100000 characters", REG_SZ,
          bytesOf(std::wstring(100000, L'1'), true)}},
        {{"TrayColor empty", REG_SZ, {}}, {"Toggle without its NUL", REG_SZ, bytesOf(L"1", false)}},
    };
    Standin standin(paths, monitorFolder(paths));
    for (const auto& [trayColor, toggle] : rounds) {
        const std::string what = std::string(trayColor.name) + ", " + toggle.name;
        setUserSettingValue(L"TrayColor", trayColor.type, trayColor.data.data(),
                            trayColor.data.size());
        setUserSettingValue(L"Toggle", toggle.type, toggle.data.data(), toggle.data.size());
        const auto storedColor = userSettingValue(L"TrayColor");
        Resident resident = startResident(paths, standin);
        const HWND options = showOptions(resident);
        require(options != nullptr, what + ": the options window shows");
        const bool withoutNul = toggle.type == REG_SZ && toggle.data.size() == sizeof(wchar_t);
        expect(checked(childWithText(options, L"Black")), what + ": Black is selected");
        expect(!checked(childWithText(options, L"White")), what + ": White is not");
        expect(checked(childWithText(options, L"Toggle CPU && MB Temps")) == withoutNul,
               what + (withoutNul ? ": Toggle is restored" : ": Toggle is not checked"));
        expect(userSettingValue(L"TrayColor") == storedColor,
               what + ": TrayColor is not rewritten");
        endWithTheMonitor(standin, resident.program, what);
        expect(userSettingValue(L"TrayColor") == storedColor,
               what + ": TrayColor is as stored after the exit too");
        expectEqual(userSetting(L"Toggle").value_or(L"(absent)"), withoutNul ? L"1" : L"0",
                    what + ": the exit writes Toggle as the check box has it");
    }
}

const ScenarioRegistration pointerScenario(
    "program_pointer_is_not_a_tray_click",
    "at 240 DPI the pointer crossing x = 515/517 of the window is no tray click",
    &pointerIsNotATrayClick);
const ScenarioRegistration closedScenario(
    "program_closed_during_startup",
    "the window closed during start-up comes back centred from the tray", &closedDuringStartup);
const ScenarioRegistration elevatedScenario(
    "program_second_copy_elevated",
    "a first copy whose token cannot be opened still refuses a second one",
    &secondCopyOfAnElevatedFirst);
const ScenarioRegistration droppedScenario(
    "program_icon_dropped_silently",
    "an icon the shell dropped without a word is back within a tick", &iconDroppedSilently);
const ScenarioRegistration entryShapesScenario(
    "program_install_entry_shapes",
    "install entries of the wrong shape take the not-found road; no NUL is fine",
    &installEntryShapes);
const ScenarioRegistration sessionEndScenario(
    "program_session_end",
    "the session's end: resident, leaves as Exit does; starting, ends writing nothing",
    &sessionEnd);
const ScenarioRegistration optionShapesScenario(
    "program_stored_option_shapes",
    "stored options of the wrong shape leave the options as they start, not rewritten",
    &storedOptionShapes);

}  // namespace
}  // namespace e2e
