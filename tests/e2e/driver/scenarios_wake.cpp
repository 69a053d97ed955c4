// The wake against a monitor or a desktop that does not keep still: a monitor
// busy as it shows its window or set to work by the first click (the user's
// Exit served meanwhile; left alone, woken), one whose window goes or moves
// meanwhile, and a cursor taken away at the first click. Each phase is a row:
// the monitor's set-up and what the program is seen to do against it.

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

// What a phase sees of the program, started against its monitor (installed,
// so the program launches it).
using PhaseCheck = std::function<void(Standin&, const std::string& name)>;

struct WakePhase {
    std::string name;
    StandinSetup monitor;
    PhaseCheck check;
};

// The readings' monitor, changed as a phase sets it up.
StandinSetup monitorThat(const std::function<void(StandinSetup&)>& change) {
    StandinSetup setup = readings();
    change(setup);
    return setup;
}

// Each phase with a monitor in a folder of its own. One that fails says so
// and the next runs, once this one's monitor has ended (a busy one answers late).
void runWakePhases(const Paths& paths, const std::vector<WakePhase>& phases) {
    for (const WakePhase& phase : phases) {
        Standin standin(paths, monitorFolder(paths) + L" " + widen(phase.name));
        installMonitor(standin, phase.monitor);
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
    const auto busy = [&] { return standin.log().firstTick("busy ms=").has_value(); };
    if (!waitUntil(busy, 20s)) describeFailure(standin);
    require(busy(), name + ": the launched monitor turns busy");
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

// The monitor's window goes once its work is done, after the first `made` of
// the six clicks: the program ends soon after, in good order and without a
// word, and no click lands anywhere else.
PhaseCheck endsQuietly(const Paths& paths, std::size_t made) {
    return [&paths, made](Standin& standin, const std::string& name) {
        Process program = startProgram(paths);
        const auto gone = [&] { return standin.log().firstTick("main-gone"); };
        if (!waitUntil([&] { return gone().has_value(); }, 30s)) describeFailure(standin);
        require(gone().has_value(), name + ": its window goes away once its work is done");
        bool boxSeen = false;
        const bool ended = waitUntil(
            [&] {
                boxSeen = boxSeen || !messageBoxes(program.id()).empty();
                return !program.running();
            },
            5s);
        note(name + (ended ? ": ended " : ": still running ") +
             std::to_string(GetTickCount64() - *gone()) + " ms after the window went");
        expect(!boxSeen, name + ": no message box");
        require(ended, name + ": the program ends within 5 s of the window going");
        expect(program.exitsCleanly(0ms), name + ": in good order");
        expectWakeClicks(standin.log(), 0, name, made);
    };
}

void monitorBusyAtWake(const Paths& paths) {
    runWakePhases(
        paths,
        {// Busy reading its sensors as it shows its window: the wake waits for
         // it serving the tray, so Exit works meanwhile. The program finds the
         // window 2 s after the launch and wakes it a second later.
         {"busy at wake", monitorThat([](StandinSetup& m) { m.busyMs = 9'000; }),
          [&](Standin& standin, const std::string& name) {
              exitWhileBusy(paths, standin, name, 5s);
              expect(standin.log().clicks.empty(), name + ": no click was made");
          }},
         // Left alone, slow twice: busy as it shows its window, then again at
         // the first click, each spell within the 30 s a wait allows, together
         // over it. Each wait has a limit of its own, so the wake completes
         // once the monitor answers, and the last click after its work.
         {"slow twice", monitorThat([](StandinSetup& m) {
              m.busyMs = 17'000;
              m.busyOnClickMs = 20'000;
          }),
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
         {"gone at show", monitorThat([](StandinSetup& m) {
              m.busyMs = 5'000;
              m.goneAfterBusy = true;
              m.backdrop = true;
          }),
          endsQuietly(paths, 0)}});
}

void wakeFirstClick(const Paths& paths) {
    runWakePhases(
        paths,
        {// The wake's first click sets the monitor to work. The program holds
         // the user's input only while it clicks, and waits for the monitor
         // to take its window off the top serving the tray, so Exit works
         // meanwhile and leaves the monitor not on top.
         {"set to work by the click", monitorThat([](StandinSetup& m) { m.busyOnClickMs = 6'000; }),
          [&](Standin& standin, const std::string& name) {
              exitWhileBusy(paths, standin, name, 2s);
              require(
                  waitUntil([&] { return standin.log().firstTick("busy-over").has_value(); }, 20s),
                  name + ": the monitor's work ends");
              const HWND main = standin.mainWindow();
              expect(waitUntil([&] { return main != nullptr && !isTopmost(main); }, 5s),
                     name + ": the abandoned wake leaves the monitor not on top");
          }},
         // Its window goes away while it works, after the first five clicks.
         {"gone while working", monitorThat([](StandinSetup& m) {
              m.busyOnClickMs = 3'000;
              m.goneAfterBusy = true;
              m.backdrop = true;
          }),
          endsQuietly(paths, 5)},
         // Its window moves while it works: the last click follows it.
         {"moved while working", monitorThat([](StandinSetup& m) {
              m.busyOnClickMs = 3'000;
              m.movedAfterBusy = POINT{300, 200};
              m.backdrop = true;
          }),
          [&](Standin& standin, const std::string& name) {
              const StandinLog log = woken(paths, standin, name);
              const auto moved = log.firstTick("main-moved");
              expect(moved && *moved <= log.clicks[5].tick,
                     name + ": it moved before the last click");
          }},
         // A hand on the mouse, or another program, takes the cursor off the
         // monitor's window at the first click and keeps it away: every press
         // still reaches the monitor.
         {"cursor away", monitorThat([](StandinSetup& m) {
              m.cursorAwayOnClick = true;
              m.backdrop = true;
          }),
          [&](Standin& standin, const std::string& name) {
              expect(woken(paths, standin, name).firstTick("cursor-away").has_value(),
                     name + ": the monitor took the cursor away at the first click");
          }}});
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
