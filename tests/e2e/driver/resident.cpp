#include "resident.h"

#include <algorithm>

#include "check.h"
#include "program.h"
#include "tests/wake_clicks.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr const auto& kStripOffsets = tervane::expected::kWakeClicks;

}  // namespace

StandinSetup readings() { return plainTree(L"45.0 C", L"1820", L"0", L"2410", L"38.5 C"); }

std::wstring monitorFolder(const Paths& paths) { return paths.workFolder + L"\\Probe Folder"; }

long long startedCount(const StandinLog& log) {
    return std::count_if(log.lines.begin(), log.lines.end(),
                         [](const std::string& line) { return line.starts_with("started"); });
}

void expectWakeClicks(const StandinLog& log, std::size_t from, std::string_view when,
                      std::size_t count) {
    const std::string prefix(when);
    require(log.clicks.size() >= from + count,
            prefix + ": " + std::to_string(count) + " clicks arrive");
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
    return waitUntil([&] { return standin.log().clicks.size() >= count; }, timeout);
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

Resident startResident(const Paths& paths, Standin& standin) {
    standin.write(readings());
    setMonitorInstallEntry(standin.install());
    standin.start();
    const std::size_t clicksBefore = standin.log().clicks.size();
    Process program = startProgram(paths);
    if (!waitForClicks(standin, clicksBefore + 6, 15s)) describeFailure(standin);
    expectWakeClicks(standin.log(), clicksBefore, "start");
    const auto icon = waitForTrayTip(kReadingTip, 5s);
    require(icon.has_value(), "the tray icon shows the first reading");
    return Resident{std::move(program), *icon};
}

}  // namespace e2e
