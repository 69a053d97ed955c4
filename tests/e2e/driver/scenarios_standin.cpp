// The stand-in monitor keeps its promises: the window tree of its file in
// walk order, live changes, the splash window, the clicks it logs.

#include <cstdio>

#include "check.h"
#include "standin.h"
#include "tests/wake_clicks.h"
#include "window_query.h"

namespace e2e {
namespace {

int depthBelow(HWND window, HWND top) {
    int depth = 0;
    for (HWND at = window; at && at != top; at = GetParent(at)) ++depth;
    return depth;
}

// The walk over the main window's descendants shows the file's tree.
void expectTree(HWND main, const StandinSetup& setup, std::string_view when) {
    const auto windows = descendants(main);
    const std::string prefix(when);
    if (!expectEqual(static_cast<long long>(windows.size()),
                     static_cast<long long>(setup.tree.size()), prefix + ": descendants")) {
        return;
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::string which = prefix + ": window " + std::to_string(i + 1);
        expectEqual(windowText(windows[i]), setup.tree[i].text, which + " text");
        expectEqual(depthBelow(windows[i], main), setup.tree[i].depth, which + " depth");
    }
}

void standinTree(const Paths& paths) {
    Standin standin(paths);
    StandinSetup setup = nestedTree();
    setup.position = {120, 80};
    setup.size = {600, 420};
    standin.start(setup);
    const HWND main = standin.mainWindow();
    require(main != nullptr, "the main window TMainForm \"Asus Probe 2\" exists");
    expect(IsWindowVisible(main) != FALSE, "the main window is visible");
    const RECT rect = windowRect(main).value_or(RECT{});
    expect(rect.left == 120 && rect.top == 80 && rect.right == 720 && rect.bottom == 500,
           "the main window lies at 120,80 sized 600x420, got " + std::to_string(rect.left) + "," +
               std::to_string(rect.top) + "-" + std::to_string(rect.right) + "," +
               std::to_string(rect.bottom));
    expectTree(main, setup, "nested tree");

    // New readings in the same tree: the same windows change their texts.
    const auto before = descendants(main);
    setup.tree[9].text = L"47.0 C";
    setup.tree[13].text = L"";
    standin.write(setup);
    require(standin.waitForLoads(2), "the stand-in takes in the changed readings");
    expectTree(main, setup, "changed readings");
    expect(descendants(main) == before, "changed readings keep the same windows");

    // Another shape: fewer windows after the anchor, no nesting.
    StandinSetup shorter;
    shorter.position = setup.position;
    shorter.size = setup.size;
    shorter.tree = {{1, L"Before"}, {1, L"MonitorForm"}, {1, L"a"}, {1, L"b"}, {1, L"c"}};
    standin.write(shorter);
    require(standin.waitForLoads(3), "the stand-in takes in the shorter tree");
    expectTree(main, shorter, "shorter tree");

    standin.quit();
    expect(standin.process()->exitCode() == 0u, "a quit line in its file ends it with code 0");
    expect(findTopLevel(kMonitorClass, kMonitorTitle) == nullptr, "its main window is gone");
}

void standinStartup(const Paths& paths) {
    // A splash first: the main window exists, hidden, until the splash goes.
    {
        Standin standin(paths, paths.workFolder + L"\\splash");
        standin.start(readings({.splashMs = 1500}));
        const HWND splash = findTopLevel(kSplashClass, kSplashTitle);
        const HWND main = standin.mainWindow(0ms);
        expect(splash != nullptr && IsWindowVisible(splash), "the splash window shows first");
        expect(main != nullptr && !IsWindowVisible(main),
               "meanwhile the main window exists, hidden");
        expect(waitUntil([] { return findTopLevel(kSplashClass, kSplashTitle) == nullptr; }, 5s),
               "the splash window goes");
        expect(waitUntil([&] { return IsWindowVisible(main) != FALSE; }, 2s),
               "then the main window shows");
        const auto log = standin.log();
        const auto shown = log.firstTick("splash-shown");
        const auto gone = log.firstTick("splash-gone");
        expect(shown && gone && *gone >= *shown + 1400,
               "the splash stays for its 1500 ms (by the stand-in's log)");
        standin.quit();
    }
    // A monitor that never shows its main window still runs and still obeys its file.
    {
        Standin standin(paths, paths.workFolder + L"\\nomain");
        standin.start(readings({.mainWindow = false}));
        pauseFor(1500ms);
        expect(standin.process()->running(), "it keeps running");
        expect(findTopLevel(kMonitorClass, kMonitorTitle) == nullptr, "no main window appears");
        standin.quit();
        expect(standin.process()->exitCode() == 0u, "its quit line ends it");
    }
    // Installed in a folder and started by name alone, it shows the file beside it.
    {
        Standin standin(paths, paths.workFolder + L"\\installed");
        standin.write(readings());
        Process launched = Process::start(standin.install(), {}, paths.workFolder + L"\\installed");
        require(standin.waitForLoads(1),
                "started without arguments, it reads standin.txt beside it");
        const HWND main = standin.mainWindow();
        require(main != nullptr, "its main window exists");
        expectTree(main, readings(), "installed");
        standin.quit();
        expect(launched.waitForExit(5s), "its quit line ends it");
    }
    // Closing the main window ends the program, as closing the monitor does.
    {
        Standin standin(paths, paths.workFolder + L"\\close");
        standin.start(readings());
        const HWND main = standin.mainWindow();
        require(main != nullptr, "the main window exists");
        PostMessageW(main, WM_CLOSE, 0, 0);
        expect(standin.process()->waitForExit(5s), "WM_CLOSE ends the stand-in");
    }
}

constexpr const auto& kStripOffsets = tervane::expected::kWakeClicks;

// Clicks the six points; returns how many the stand-in logged at the right offsets
// with the right topmost state.
int clickStrip(Standin& standin, HWND main, Millis settle, bool report,
               std::string* firstWrong = nullptr) {
    const std::size_t logged = standin.log().clicks.size();
    const RECT rect = windowRect(main).value_or(RECT{});
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (report) expect(isTopmost(main), "HWND_TOPMOST sets WS_EX_TOPMOST");
    for (std::size_t i = 0; i < 6; ++i) {
        if (i == 5) {
            SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            if (report) expect(!isTopmost(main), "HWND_NOTOPMOST clears WS_EX_TOPMOST");
        }
        leftClickAt({rect.left + kStripOffsets[i].x, rect.top + kStripOffsets[i].y}, settle);
    }
    waitUntil([&] { return standin.log().clicks.size() >= logged + 6; }, 3s);
    const auto clicks = standin.log().clicks;
    int right = 0;
    for (std::size_t i = 0; i < 6 && logged + i < clicks.size(); ++i) {
        const auto& click = clicks[logged + i];
        const POINT want{kStripOffsets[i].x, kStripOffsets[i].y};
        const bool ok = click.offset.x == want.x && click.offset.y == want.y &&
                        click.screen.x == rect.left + want.x &&
                        click.screen.y == rect.top + want.y && click.topmost == (i < 5);
        const std::string seen =
            "click " + std::to_string(i + 1) + " logged at offset " +
            std::to_string(click.offset.x) + "," + std::to_string(click.offset.y) + " screen " +
            std::to_string(click.screen.x) + "," + std::to_string(click.screen.y) +
            (click.topmost ? " topmost" : " not topmost") + ", expected " + std::to_string(want.x) +
            "," + std::to_string(want.y) + (i < 5 ? " topmost" : " not topmost");
        right += ok ? 1 : 0;
        if (!ok && firstWrong && firstWrong->empty()) *firstWrong = seen;
        if (report) expect(ok, seen);
    }
    if (report) {
        expectEqual(static_cast<long long>(clicks.size() - logged), 6, "clicks logged");
    }
    return right;
}

void standinClicks(const Paths& paths) {
    Standin standin(paths);
    standin.start(readings());  // at 100,100
    const HWND main = standin.mainWindow();
    require(main != nullptr, "the main window exists");
    SetForegroundWindow(main);
    expect(waitUntil([&] { return GetForegroundWindow() == main; }, 2s),
           "another process can make it the foreground window");
    clickStrip(standin, main, 20ms, true);
    // The driver's own cursor read-back matches what it set.
    setCursorPos({321, 123});
    const POINT at = cursorPos();
    expect(at.x == 321 && at.y == 123, "GetCursorPos reads back SetCursorPos");
    standin.quit();
}

// Not a test: counts how often clicks land right with and without a settle
// after each cursor move (E2E_ROUNDS rounds of six clicks each).
void measureClickSettle(const Paths& paths) {
    Standin standin(paths);
    standin.start(readings());
    const HWND main = standin.mainWindow();
    require(main != nullptr, "the main window exists");
    SetForegroundWindow(main);
    const int rounds = scenarioCount(L"E2E_ROUNDS", 20);
    for (const Millis settle : {0ms, 5ms, 20ms}) {
        int runsAllRight = 0;
        int clicksRight = 0;
        std::string firstWrong;
        for (int round = 0; round < rounds; ++round) {
            const int right = clickStrip(standin, main, settle, false, &firstWrong);
            clicksRight += right;
            if (right == 6) ++runsAllRight;
        }
        std::printf("settle %3lld ms: %d of %d runs all six right, %d of %d clicks right\n",
                    static_cast<long long>(settle.count()), runsAllRight, rounds, clicksRight,
                    rounds * 6);
        if (!firstWrong.empty()) note("first wrong: " + firstWrong);
    }
    standin.quit();
}

const ScenarioRegistration treeScenario("standin_tree",
                                        "the stand-in's window tree follows its file, live",
                                        &standinTree);
const ScenarioRegistration startupScenario("standin_startup",
                                           "the stand-in's splash, a missing main window, WM_CLOSE",
                                           &standinStartup);
const ScenarioRegistration clicksScenario(
    "standin_clicks", "the stand-in logs clicks at their offsets with the topmost state",
    &standinClicks);
const ScenarioRegistration measureScenario("measure_click_settle",
                                           "(measurement) clicks right with and without a settle",
                                           &measureClickSettle);

}  // namespace
}  // namespace e2e
