#include "resident.h"

#include <algorithm>

#include "check.h"
#include "program.h"
#include "tests/wake_clicks.h"
#include "window_query.h"

namespace e2e {

constexpr const auto& kStripOffsets = tervane::expected::kWakeClicks;

std::wstring monitorFolder(const Paths& paths) { return paths.workFolder + L"\\Probe Folder"; }

void installMonitor(Standin& standin, const StandinSetup& setup) {
    standin.write(setup);
    setMonitorInstallEntry(standin.install());
}

long long startedCount(const StandinLog& log) {
    return std::count_if(log.lines.begin(), log.lines.end(),
                         [](const std::string& line) { return line.starts_with("started"); });
}

void expectWakeClicks(const StandinLog& log, std::size_t from, std::string_view when,
                      std::size_t count) {
    const std::string prefix(when);
    require(log.clicks.size() >= from + count,
            prefix + ": " + std::to_string(count) + " clicks arrive (" +
                std::to_string(log.clicks.size() - from) + " on the monitor's window, " +
                std::to_string(log.backdropClicks) + " off it)");
    for (std::size_t i = 0; i < count; ++i) {
        const auto& click = log.clicks[from + i];
        expect(click.offset.x == kStripOffsets[i].x && click.offset.y == kStripOffsets[i].y &&
                   click.topmost == (i < 5),
               prefix + ": click " + std::to_string(i + 1) + " at " +
                   std::to_string(click.offset.x) + "," + std::to_string(click.offset.y) +
                   (click.topmost ? " topmost" : " not topmost") + ", expected " +
                   std::to_string(kStripOffsets[i].x) + "," + std::to_string(kStripOffsets[i].y) +
                   (i < 5 ? " topmost" : " not topmost"));
    }
    expectEqual(static_cast<long long>(log.clicks.size() - from), static_cast<long long>(count),
                prefix + ": clicks");
    expectEqual(log.backdropClicks, 0, prefix + ": clicks off the monitor's window");
}

bool waitForClicks(const Standin& standin, std::size_t count, Millis timeout) {
    // Clicks that missed the monitor count too: they will not come again.
    return waitUntil(
        [&] {
            const auto log = standin.log();
            return log.clicks.size() + static_cast<std::size_t>(log.backdropClicks) >= count;
        },
        timeout);
}

bool waitForLaterTick(Standin& standin, int cpu) {
    StandinSetup changed = readings();
    changed.tree[5].text = std::to_wstring(cpu) + L".0 C";  // slot 6
    standin.write(changed);
    const std::wstring shown = L"CPU:" + std::to_wstring(cpu) + L"\u00B0C ";
    return waitUntil(
        [&] {
            const auto icons = trayIcons();
            return std::any_of(icons.begin(), icons.end(), [&](const TrayIcon& icon) {
                return trayTip(icon).value_or(L"").starts_with(shown);
            });
        },
        10s);
}

void describeFailure(const Standin& standin) {
    note(describeDesktop());
    for (const auto& line : standin.log().lines) note("stand-in: " + line);
}

ULONGLONG requireLogged(const Standin& standin, std::string_view event, Millis within,
                        const std::string& what) {
    std::optional<ULONGLONG> at;
    const auto logged = [&] { return (at = standin.log().firstTick(event)).has_value(); };
    if (!waitUntil(logged, within)) describeFailure(standin);
    require(at.has_value(), what);
    return *at;
}

Resident startAndRead(const Paths& paths, Standin& standin, std::string_view what,
                      Millis clicksWithin) {
    const std::size_t clicksBefore = standin.log().clicks.size();
    Process program = startProgram(paths);
    const bool arrived = waitForClicks(standin, clicksBefore + 6, clicksWithin);
    if (!arrived || standin.log().backdropClicks > 0) describeFailure(standin);
    expectWakeClicks(standin.log(), clicksBefore, what);
    const auto icon = waitForTrayTip(kReadingTip, 5s);
    require(icon.has_value(), std::string(what) + ": the tray icon shows the first reading");
    return Resident{std::move(program), *icon};
}

Resident startResident(const Paths& paths, Standin& standin) {
    installMonitor(standin);
    standin.start();
    return startAndRead(paths, standin, "start");
}

HWND showOptions(const Resident& resident) {
    postDoubleClick(resident.icon);
    HWND options = nullptr;
    // Restored from minimized: visible first, then at its normal size.
    waitUntil(
        [&] {
            options = optionsWindow(resident.program.id());
            return options != nullptr && !IsIconic(options);
        },
        5s);
    return options;
}

void endWithTheMonitor(Standin& standin, Process& program, const std::string& what) {
    standin.quit();
    expect(program.exitsCleanly(5s),
           what + (what.empty() ? "" : ": ") + "the program ends after the monitor, in good order");
}

MessageBoxView answerBox(const Process& program, std::wstring_view text, Millis within,
                         const std::string& what) {
    const auto box = waitForMessageBox(program.id(), within);
    require(box.has_value(), what + " shows");
    expectEqual(box->text, text, what + ": its text");
    require(pressOk(*box), what + ": OK closes it");
    return *box;
}

MessageBoxView answerLastBox(Process& program, std::wstring_view text, Millis within,
                             const std::string& what) {
    const MessageBoxView box = answerBox(program, text, within, what);
    expect(program.exitsCleanly(5s), what + ": then the program ends in good order");
    return box;
}

void expectNotFoundRoad(Process& program, const std::string& what) {
    answerBox(program, L"", 20s, what + ": the lookup's box, naming no path,");
    answerLastBox(program, kNotFound, 10s, what + ": then the not-found box");
}

void expectSecondCopyRefused(const Paths& paths, long long icons) {
    Process second = startProgram(paths);
    require(waitForMessageBox(second.id(), 20s).has_value(), "the second copy says something");
    expect(optionsWindow(second.id()) == nullptr, "the second copy shows no window");
    expectEqual(static_cast<long long>(trayIcons().size()), icons, "tray icons");
    const auto box = answerLastBox(second, kAlreadyRunning, 1s, "the second copy's box");
    expect(box.hasIcon, "it shows the information icon");
    expect(!userSetting(L"Toggle").has_value(), "the second copy wrote no setting");
}

void expectIconBack(const Paths& paths, bool announced) {
    Standin standin(paths, monitorFolder(paths));
    Resident resident = startResident(paths, standin);
    require(dropProgramIcon(resident.program.id()), "the icon is removed from outside");
    const auto dropped = GetTickCount64();
    require(waitUntil([] { return trayIcons().empty(); }, 3s), "the icon is gone");
    if (announced) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    expect(waitForTrayTip(kReadingTip, 5s).has_value(),
           announced ? "after \"TaskbarCreated\" the icon is back with its tip"
                     : "the icon is back with its tip, no announcement needed");
    note("back " + std::to_string(GetTickCount64() - dropped) + " ms after it was dropped");
    expectEqual(static_cast<long long>(trayIcons().size()), 1, "tray icons");
    endWithTheMonitor(standin, resident.program);
}

}  // namespace e2e
