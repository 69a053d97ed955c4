// Tervane Lite itself, end to end, against the stand-in monitor: what a user
// sees of its start, its tray icon, its window and its end.

#include <windows.h>

#include <algorithm>
#include <cstdlib>

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

void monitorRunning(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    installMonitor(standin);
    standin.start();
    const POINT userCursor{700, 600};
    setCursorPos(userCursor);
    const auto started = GetTickCount64();
    Resident resident = startAndRead(paths, standin, "monitor running", 15s);
    const auto tipSeen = GetTickCount64();
    const auto log = standin.log();
    const auto tipDelay = tipSeen - log.clicks[5].tick;
    note("first wake click " + std::to_string(log.clicks.front().tick - started) +
         " ms after the program was started; tip seen " + std::to_string(tipDelay) +
         " ms after the sixth click, " + std::to_string(tipSeen - started) + " ms after the start");
    expect(tipDelay < 900, "the first reading shows at once, not a tick later");
    const POINT cursor = cursorPos();
    expect(cursor.x == userCursor.x && cursor.y == userCursor.y,
           "the cursor is back where it was, at " + std::to_string(cursor.x) + "," +
               std::to_string(cursor.y));
    expectEqual(startedCount(log), 1, "monitors started (nothing launched)");
    expectEqual(static_cast<long long>(trayIcons().size()), 1, "tray icons");
    endWithTheMonitor(standin, resident.program);

    // A right-click on the tray icon as the clicks begin (the monitor posts
    // it at the first): no menu opens while the clicks hold the user's input,
    // from the first press to just after the fifth. It opens once input is
    // free, and while it is open the wake makes no click.
    standin.start(readings({.trayClickOnClick = true}));
    const std::size_t before = standin.log().clicks.size();
    Process clicked = startProgram(paths);
    const bool menuOpened = waitUntil([&] { return trayMenu(clicked.id()) != nullptr; }, 20s);
    const StandinLog atMenu = standin.log();
    if (!menuOpened) describeFailure(standin);
    require(menuOpened, "the tray menu opens");
    require(atMenu.firstTick("tray-click-posted").has_value(),
            "the monitor posted the tray click at the first click");
    const std::size_t made = atMenu.clicks.size() - before;
    note(std::to_string(made) + " clicks made when the tray menu opened");
    expectWakeClicks(atMenu, before, "when the tray menu opens",
                     std::clamp<std::size_t>(made, 5, 6));
    // The wake's next click would follow within a few hundred milliseconds.
    pauseFor(1s);
    expectEqual(static_cast<long long>(standin.log().clicks.size() - atMenu.clicks.size()), 0,
                "clicks while the tray menu is open");
    require(chooseOnlyTrayMenuItem(clicked.id()), "its Exit is chosen");
    expect(clicked.exitsCleanly(5s), "and ends the program in good order");
    standin.quit();
}

void launchesMonitor(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    standin.write(readings());
    const std::wstring exe = standin.install();
    // Spaces before the opening quote and inside the quotes before the path.
    setMonitorInstallEntry(L"  \"  " + exe + L"\"");
    Resident resident = startAndRead(paths, standin, "launched monitor");
    expectEqual(startedCount(standin.log()), 1, "monitors the program launched");
    expectEqual(imagePathOf(processOf(standin.mainWindow())), exe, "the launched executable");
    endWithTheMonitor(standin, resident.program);
}

// The monitor's 32-bit installer writes its entry in the 32-bit view of the
// registry; the program reads that view, whatever its own build.
void installEntryView(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    standin.write(readings());
    const std::wstring exe = standin.install();

    setMonitorInstallEntry(exe, RegistryView::Bits64);
    {
        Process program = startProgram(paths);
        expectNotFoundRoad(program, "an entry in the 64-bit view only");
        expect(!standin.log().firstTick("started").has_value(), "nothing was launched");
    }

    deleteMonitorInstallEntry(RegistryView::Bits64);
    setMonitorInstallEntry(exe, RegistryView::Bits32);
    Resident resident = startAndRead(paths, standin, "an entry in the 32-bit view: launched");
    endWithTheMonitor(standin, resident.program);
}

void noInstallEntry(const Paths& paths) {
    Process program = startProgram(paths);
    const auto lookup =
        answerBox(program, L"", 10s, "the install path lookup's box, with the path it tried,");
    expectEqual(lookup.title, L"Tervane Lite", "its title");
    expect(!lookup.hasIcon, "it shows no icon");
    const auto pressed = GetTickCount64();
    const auto notFound = answerLastBox(program, kNotFound, 10s, "then the not-found box");
    const auto delay = notFound.seen - pressed;
    expect(delay < 5000, "at once, without a search (" + std::to_string(delay) + " ms)");
    expect(notFound.hasIcon, "it shows the stop sign");
    expect(trayIcons().empty(), "no tray icon is left");
    expect(!userSetting(L"Toggle").has_value(), "no Toggle setting was written");
    expect(!userSetting(L"TrayColor").has_value(), "no TrayColor setting was written");
}

void monitorNeverAppears(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    installMonitor(standin, readings({.mainWindow = false}));
    Process program = startProgram(paths);
    const auto launched =
        requireLogged(standin, "started", 10s, "the program launches the monitor");
    const auto box = answerLastBox(program, kNotFound, 45s, "the not-found box");
    const auto after = box.seen - launched;
    note("reported " + std::to_string(after) + " ms after the launch");
    expect(after >= 30000 && after < 40000,
           "after the 2 s wait and the 30 s search (" + std::to_string(after) + " ms)");
    expect(box.hasIcon, "it shows the stop sign");
    standin.quit();

    // A monitor whose window starts left of the screen is found but cannot be woken.
    standin.start(readings({.position = {-60, 100}}));
    Process unwoken = startProgram(paths);
    answerLastBox(unwoken, kNotWoken, 15s, "a monitor left of the screen: the not-woken box");
    expect(standin.log().clicks.empty(), "no click was made");
    standin.quit();
}

void secondCopy(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    Resident first = startResident(paths, standin);
    expectSecondCopyRefused(paths, 1);
    expect(first.program.running(), "the first copy runs on");
    expect(trayTip(first.icon) == kReadingTip, "with its tray icon");
    endWithTheMonitor(standin, first.program, "the first copy");
}

void optionsAndExit(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    Resident resident = startResident(paths, standin);
    const DWORD pid = resident.program.id();
    // The first reading reaches the tray just before start-up hides the window.
    expect(waitUntil([&] { return optionsWindow(pid) == nullptr; }, 2s),
           "after the start the options window is hidden");

    HWND options = showOptions(resident);
    require(options != nullptr, "a double-click on the tray icon shows the options window");
    const RECT rect = windowRect(options).value_or(RECT{});
    expect(isCentred(rect), "it is centred on the screen, at " + std::to_string(rect.left) + "," +
                                std::to_string(rect.top) + "-" + std::to_string(rect.right) + "," +
                                std::to_string(rect.bottom));
    PostMessageW(options, WM_SYSCOMMAND, SC_CLOSE, 0);
    expect(waitUntil([&] { return optionsWindow(pid) == nullptr; }, 3s), "its close box hides it");
    expect(resident.program.running(), "and the program runs on");
    // A task list's "end task" and close-all tools send the hidden window a
    // close request too.
    const HWND form = formWindow(pid);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(form, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer);
    expect(!IsWindowVisible(form), "a close request to the hidden window leaves it hidden");
    expect(resident.program.running(), "and the program in the tray");

    require((options = showOptions(resident)) != nullptr, "a second double-click shows it again");
    const HWND white = childWithText(options, L"White");
    require(white != nullptr, "it offers \"White\"");
    DWORD_PTR result = 0;
    SendMessageTimeoutW(white, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    expect(waitUntil([] { return userSetting(L"TrayColor") == L"True"; }, 2s),
           "clicking \"White\" writes TrayColor = True at once");

    postRightButtonUp(resident.icon);
    require(chooseOnlyTrayMenuItem(pid), "a right click on the tray icon opens the menu");
    expect(resident.program.exitsCleanly(10s), "\"Exit Tervane Lite\" ends the program");
    expectEqual(userSetting(L"Toggle").value_or(L"(absent)"), L"0", "Toggle written at exit");
    expectEqual(userSetting(L"TrayColor").value_or(L"(absent)"), L"True", "TrayColor kept");
    expect(waitUntil([] { return trayIcons().empty(); }, 2s), "its tray icon is gone");
    standin.quit();
}

void monitorClosed(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    Resident resident = startResident(paths, standin);
    standin.quit();
    const auto quit = standin.log().firstTick("quit");
    require(quit.has_value(), "the monitor ends");
    bool boxSeen = false;
    const bool ended = waitUntil(
        [&] {
            boxSeen = boxSeen || !messageBoxes(resident.program.id()).empty();
            return !resident.program.running();
        },
        5s);
    require(ended && resident.program.exitsCleanly(0ms), "the program ends after the monitor");
    const auto after = GetTickCount64() - *quit;
    note("ended " + std::to_string(after) + " ms after the monitor");
    expect(after < 2500, "within about a second (" + std::to_string(after) + " ms)");
    expect(!boxSeen, "without a message");
    expect(trayIcons().empty(), "its tray icon is gone");
    expectEqual(userSetting(L"Toggle").value_or(L"(absent)"), L"0", "Toggle written at exit");
}

void taskbarCreated(const Paths& paths) { expectIconBack(paths, true); }

struct PictureSample {
    std::uint64_t picture = 0;
    ULONGLONG tick = 0;
};

std::vector<PictureSample> samplePictures(const TrayIcon& icon, Millis duration) {
    std::vector<PictureSample> samples;
    const auto end = GetTickCount64() + static_cast<ULONGLONG>(duration.count());
    while (GetTickCount64() < end) {
        samples.push_back({trayPicture(icon), GetTickCount64()});
        pauseFor(50ms);
    }
    return samples;
}

void toggleAlternates(const Paths& paths) {
    Standin standin(paths, monitorFolder(paths));
    // The pictures of 45 and of 38, each shown steadily with Toggle unchecked.
    setUserSetting(L"Toggle", L"0");
    Resident steady = startResident(paths, standin);
    require(className(GetAncestor(steady.icon.icon, GA_ROOT)) != L"__winex11_standalone_tray",
            "an X system tray shows the pictures (run with E2E_X_TRAY=1)");
    pauseFor(300ms);
    const auto cpu45 = trayPicture(steady.icon);
    pauseFor(1300ms);
    expect(cpu45 != 0 && trayPicture(steady.icon) == cpu45,
           "with Toggle unchecked the CPU picture stays");
    StandinSetup cpu38 = readings();
    cpu38.tree[5].text = L"38.0 C";  // slot 6
    standin.write(cpu38);
    require(waitForTrayTip(L"CPU:38\u00B0C  MB:38\u00B0C  F1:2410    F2:0       F3:1820    ", 5s)
                .has_value(),
            "the tip follows the new CPU reading");
    pauseFor(300ms);
    const auto picture38 = trayPicture(steady.icon);
    require(picture38 != 0 && picture38 != cpu45, "38 has a picture of its own");
    standin.quit();
    require(steady.program.exitsCleanly(5s), "the program ends after the monitor");

    // Toggle stored as checked: MB first, then CPU, changing every second.
    setUserSetting(L"Toggle", L"1");
    Resident alternating = startResident(paths, standin);
    const auto samples = samplePictures(alternating.icon, 4500ms);
    std::vector<PictureSample> changes;  // the known pictures, each where it began
    int unknown = 0;
    for (const auto& sample : samples) {
        if (sample.picture != picture38 && sample.picture != cpu45) {
            ++unknown;
        } else if (changes.empty() || changes.back().picture != sample.picture) {
            changes.push_back(sample);
        }
    }
    std::string seen;
    for (const auto& change : changes) seen += change.picture == picture38 ? " MB" : " CPU";
    note("pictures:" + seen + " (" + std::to_string(unknown) + " of " +
         std::to_string(samples.size()) + " samples neither)");
    expect(unknown * 5 <= static_cast<int>(samples.size()), "the samples show MB or CPU");
    expect(!changes.empty() && changes.front().picture == picture38, "the first reading is MB");
    expect(changes.size() >= 4, "the picture alternates");
    for (std::size_t i = 1; i + 1 < changes.size(); ++i) {
        const auto shown = changes[i + 1].tick - changes[i].tick;
        expect(shown >= 500 && shown <= 1500,
               "each picture shows about a second (" + std::to_string(shown) + " ms)");
    }
    endWithTheMonitor(standin, alternating.program);
    expectEqual(userSetting(L"Toggle").value_or(L"(absent)"), L"1", "Toggle kept at exit");
}

// The wake clicks land right every time: E2E_ROUNDS starts (20 by default).
void wakeClicksRepeat(const Paths& paths) {
    const int rounds = scenarioCount(L"E2E_ROUNDS", 20);
    Standin standin(paths, monitorFolder(paths));
    installMonitor(standin);
    int allRight = 0;
    for (int round = 1; round <= rounds; ++round) {
        standin.start();
        const int failuresBefore = failureCount();
        Resident resident = startAndRead(paths, standin, "start " + std::to_string(round), 15s);
        if (failureCount() == failuresBefore) ++allRight;
        endWithTheMonitor(standin, resident.program);
    }
    note(std::to_string(allRight) + " of " + std::to_string(rounds) +
         " starts with all six clicks right");
}

const ScenarioRegistration runningScenario(
    "program_monitor_running",
    "monitor running: six clicks, cursor back, first reading in the tray at once; a tray click "
    "as the clicks begin opens the menu once input is free, after the fifth, and no click "
    "comes while it is open",
    &monitorRunning);
const ScenarioRegistration launchScenario(
    "program_launches_monitor", "monitor not running: launched by its quoted install entry",
    &launchesMonitor);
const ScenarioRegistration viewScenario(
    "program_install_entry_view",
    "the install entry is read from the 32-bit view of the registry, not the 64-bit one",
    &installEntryView);
const ScenarioRegistration noEntryScenario("program_no_install_entry",
                                           "no install entry: two message boxes, then the end",
                                           &noInstallEntry);
const ScenarioRegistration neverScenario(
    "program_monitor_never_appears",
    "a launched monitor without a window: not found after 30 s; one off the screen: not woken",
    &monitorNeverAppears);
const ScenarioRegistration secondScenario("program_second_copy",
                                          "a second copy is refused with a message", &secondCopy);
const ScenarioRegistration optionsScenario(
    "program_options_and_exit", "options window from the tray, White, Exit from the tray menu",
    &optionsAndExit);
const ScenarioRegistration closedScenario("program_monitor_closed",
                                          "the monitor closed while resident: the program ends",
                                          &monitorClosed);
const ScenarioRegistration taskbarScenario("program_taskbar_created",
                                           "the icon comes back after \"TaskbarCreated\"",
                                           &taskbarCreated);
const ScenarioRegistration toggleScenario(
    "program_toggle_alternates", "Toggle stored as 1: MB and CPU pictures alternate every second",
    &toggleAlternates);
const ScenarioRegistration repeatScenario("program_wake_clicks_repeat",
                                          "the wake clicks land right in every one of 20 starts",
                                          &wakeClicksRepeat);

}  // namespace
}  // namespace e2e
