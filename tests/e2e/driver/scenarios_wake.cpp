// The wake against a monitor or a desktop that does not keep still: a monitor
// busy as it shows its window or set to work by the first click, its window
// gone or moved meanwhile, the cursor taken away at the first click. Each
// phase is a row: the monitor's set-up and what the program does against it.

#include <windows.h>

#include <functional>
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

// What a phase sees of the program, started against its monitor.
using PhaseCheck = std::function<void(Standin&, const std::string& name)>;

struct WakePhase {
    std::string name;
    StandinSetup monitor;  // with the readings' tree
    PhaseCheck check;
};

// Each phase with its monitor installed in a folder of its own, for the
// program to launch. One that fails says so, and the next runs once this
// one's monitor has ended (a busy one answers late).
void runWakePhases(const Paths& paths, const std::vector<WakePhase>& phases) {
    for (const WakePhase& phase : phases) {
        Standin standin(paths, monitorFolder(paths) + L" " + widen(phase.name));
        installMonitor(standin, readings(phase.monitor));
        try {
            phase.check(standin, phase.name);
        } catch (const ScenarioAborted&) {
            note(phase.name + ": the phase stops there");
        }
        require(standin.quit(30s), phase.name + ": the monitor ends, once it answers again");
    }
}

// Started with the cursor where the user left it. Once the monitor's thread
// is busy and the wake waits for it, the cursor is still there, and the tray
// menu's Exit ends the program at once, the monitor still busy.
void exitWhileBusy(const Paths& paths, Standin& standin, const std::string& name, Millis inWake) {
    const POINT userCursor{700, 600};
    setCursorPos(userCursor);
    Process program = startProgram(paths);
    requireLogged(standin, "busy ms=", 20s, name + ": the launched monitor turns busy");
    pauseFor(inWake);
    const POINT cursor = cursorPos();
    expect(cursor.x == userCursor.x && cursor.y == userCursor.y,
           name + ": while the monitor works, the cursor is where the user left it: " +
               std::to_string(cursor.x) + "," + std::to_string(cursor.y));
    const auto icon = trayIconWithTip(L"Tervane Lite By Dravel");
    require(icon.has_value(), name + ": start-up shows its tray icon with the first tip");
    postRightButtonUp(*icon);
    require(chooseOnlyTrayMenuItem(program.id()),
            name + ": while the wake waits for the busy monitor, the tray menu opens");
    expect(program.exitsCleanly(3s), name + ": and its Exit ends the program at once");
    expect(!standin.log().firstTick("busy-over").has_value(),
           name + ": while the monitor is still busy");
}

// Left alone, the wake completes: the six clicks at their offsets, the first
// reading, and the end with the monitor. Returns the monitor's log.
StandinLog woken(const Paths& paths, Standin& standin, const std::string& name) {
    Resident resident = startAndRead(paths, standin, name, 60s);
    endWithTheMonitor(standin, resident.program, name);
    return standin.log();
}

// Woken, and the monitor logged event before the last click.
PhaseCheck wokenAfter(const Paths& paths, std::string event) {
    return [&paths, event](Standin& standin, const std::string& name) {
        const StandinLog log = woken(paths, standin, name);
        const auto at = log.firstTick(event);
        expect(at && *at <= log.clicks[5].tick, name + ": " + event + " before the last click");
    };
}

// The monitor's window goes once its work is done, after the first `made` of
// the six clicks: the program ends soon after, in good order and without a
// word, and no click lands anywhere else.
PhaseCheck endsQuietly(const Paths& paths, std::size_t made) {
    return [&paths, made](Standin& standin, const std::string& name) {
        Process program = startProgram(paths);
        const ULONGLONG gone = requireLogged(standin, "main-gone", 30s,
                                             name + ": its window goes away once its work is done");
        bool boxSeen = false;
        const bool ended = waitUntil(
            [&] {
                boxSeen = boxSeen || !messageBoxes(program.id()).empty();
                return !program.running();
            },
            5s);
        note(name + (ended ? ": ended " : ": still running ") +
             std::to_string(GetTickCount64() - gone) + " ms after the window went");
        expect(!boxSeen, name + ": no message box");
        require(ended, name + ": the program ends within 5 s of the window going");
        expect(program.exitsCleanly(0ms), name + ": in good order");
        expectWakeClicks(standin.log(), 0, name, made);
    };
}

void monitorBusyAtWake(const Paths& paths) {
    runWakePhases(
        paths,
        {// Busy as it shows its window: the wake, which begins about 3 s after
         // the launch, waits for it serving the tray, so Exit works meanwhile.
         {"busy at wake",
          {.busyMs = 9'000},
          [&](Standin& standin, const std::string& name) {
              exitWhileBusy(paths, standin, name, 5s);
              expect(standin.log().clicks.empty(), name + ": no click was made");
          }},
         // Left alone, busy as it shows its window and again at the first
         // click, each spell within the 30 s a wait allows, together over it:
         // each wait has a limit of its own, so the wake completes, the first
         // click once it answers and the last once its work is done.
         {"slow twice",
          {.busyMs = 17'000, .busyOnClickMs = 20'000},
          [&](Standin& standin, const std::string& name) {
              const StandinLog log = woken(paths, standin, name);
              const auto answering = log.firstTick("busy-over");
              const auto workDone = log.firstTick("busy-over", log.clicks.front().tick);
              require(answering && workDone, name + ": both busy spells are over");
              note(name + ": first click " + std::to_string(log.clicks.front().tick - *answering) +
                   " ms after the monitor answers again, last click " +
                   std::to_string(log.clicks[5].tick - *workDone) + " ms after its work ended");
              expect(log.clicks[5].tick >= *workDone,
                     name + ": the last click comes once the monitor works no more");
          }},
         // Its window goes away as it answers again, before anything was clicked.
         {"gone at show",
          {.busyMs = 5'000, .goneAfterBusy = true, .backdrop = true},
          endsQuietly(paths, 0)}});
}

void wakeFirstClick(const Paths& paths) {
    runWakePhases(paths,
                  {// The first click sets the monitor to work. The program holds the
                   // user's input only while it clicks and waits for the monitor to take
                   // its window off the top serving the tray: Exit works meanwhile and
                   // leaves the monitor not on top.
                   {"set to work by the click",
                    {.busyOnClickMs = 6'000},
                    [&](Standin& standin, const std::string& name) {
                        exitWhileBusy(paths, standin, name, 2s);
                        requireLogged(standin, "busy-over", 20s,
                                      name + ": the monitor's work ends");
                        const HWND main = standin.mainWindow();
                        expect(waitUntil([&] { return main != nullptr && !isTopmost(main); }, 5s),
                               name + ": the abandoned wake leaves the monitor not on top");
                    }},
                   {"gone while working",
                    {.busyOnClickMs = 3'000, .goneAfterBusy = true, .backdrop = true},
                    endsQuietly(paths, 5)},
                   // The last click follows the window.
                   {"moved while working",
                    {.busyOnClickMs = 3'000, .movedAfterBusy = POINT{300, 200}, .backdrop = true},
                    wokenAfter(paths, "main-moved")},
                   // A hand on the mouse, or another program, keeps the cursor off the
                   // monitor's window from the first click: every press still reaches it.
                   {"cursor away",
                    {.backdrop = true, .cursorAwayOnClick = true},
                    wokenAfter(paths, "cursor-away")}});
}

const ScenarioRegistration busyScenario(
    "program_monitor_busy_at_wake",
    "a monitor busy as it shows its window: Exit works while the wake waits; slow twice (busy "
    "again at the first click): woken; its window gone as it answers: the program ends quietly",
    &monitorBusyAtWake);
const ScenarioRegistration firstClickScenario(
    "program_wake_first_click",
    "at the wake's first click the monitor is set to work (Exit works meanwhile, the monitor is "
    "left not on top), its window goes (the program ends quietly) or moves (the last click "
    "follows it), or the cursor is taken away (every press still reaches the monitor)",
    &wakeFirstClick);

}  // namespace
}  // namespace e2e
