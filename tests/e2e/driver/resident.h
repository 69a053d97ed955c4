#pragma once
// What the program scenarios share: the stand-in's readings and folder, the
// tip they give, the wake clicks, the program started and resident in the
// tray, and its message boxes answered.

#include <windows.h>

#include <string>
#include <string_view>

#include "message_box.h"
#include "process.h"
#include "scenario.h"
#include "standin.h"
#include "tray.h"

namespace e2e {

inline constexpr wchar_t kReadingTip[] =
    L"CPU:45\u00B0C  MB:38\u00B0C  F1:2410    F2:0       F3:1820    ";
inline constexpr wchar_t kNotFound[] = L"Unable to find 'Asus Probe 2'";
inline constexpr wchar_t kAlreadyRunning[] = L"A copy of Tervane Lite is already running!";
inline constexpr wchar_t kNotWoken[] =
    L"Unable to initialize PC Probe! Close PC Probe and try again";

// The monitor's folder, with a space in its name.
std::wstring monitorFolder(const Paths& paths);

// Writes the monitor's file and makes its copy in its folder the installed monitor.
void installMonitor(Standin& standin, const StandinSetup& setup = readings());

long long startedCount(const StandinLog& log);

// The wake clicks from the from-th logged click on, the first count of the six
// and no more: at the panel-strip offsets, in order, the first five while the
// monitor is topmost, the sixth after.
void expectWakeClicks(const StandinLog& log, std::size_t from, std::string_view when,
                      std::size_t count = 6);
// Until count clicks have arrived, on the monitor's window or off it.
bool waitForClicks(const Standin& standin, std::size_t count, Millis timeout);

// Changes the monitor's CPU reading to cpu and waits for the tray's tip to
// show it: the program's timer is served only when nothing else waits for
// it, so once this is true it has handled every message and input queued
// for it before. A check that nothing happened looks after this, not after a
// pause that a slow program would outlast.
bool waitForLaterTick(Standin& standin, int cpu);

// What the desktop shows, for the output of a failed wait.
void describeFailure(const Standin& standin);
// Waits until the monitor has logged event (what), and returns its tick.
ULONGLONG requireLogged(const Standin& standin, std::string_view event, Millis within,
                        const std::string& what);

// The program started and resident in the tray with the first reading.
struct Resident {
    Process program;
    TrayIcon icon;
};
// The program started against the monitor, running or launched by it: the
// six wake clicks at their offsets, then the first reading in the tray.
Resident startAndRead(const Paths& paths, Standin& standin, std::string_view what,
                      Millis clicksWithin = 20s);
// The same, the monitor installed with the readings and running.
Resident startResident(const Paths& paths, Standin& standin);
// A double-click on the tray icon; the options window it shows, nullptr if none.
HWND showOptions(const Resident& resident);
// The monitor quits, and the program ends after it in good order.
void endWithTheMonitor(Standin& standin, Process& program, const std::string& what = "");

// Waits for the program's message box: its text is text, and OK closes it.
// Returns the box as it was seen.
MessageBoxView answerBox(const Process& program, std::wstring_view text, Millis within,
                         const std::string& what);
// The same for the last box it shows: then it ends in good order.
MessageBoxView answerLastBox(Process& program, std::wstring_view text, Millis within,
                             const std::string& what);
// The road of an install entry that cannot be used: the lookup's box naming
// no path, then "not found", then the end.
void expectNotFoundRoad(Process& program, const std::string& what);
// A second copy started while the first holds the single-instance token: it
// says so with the information icon, shows no window and no icon of its own
// (the shell shows icons), and OK ends it cleanly, having written no setting.
void expectSecondCopyRefused(const Paths& paths, long long icons);
// The shell loses the program's icon (removed from outside), then says it
// restarted, if announced: the icon comes back with its tip, and only once.
void expectIconBack(const Paths& paths, bool announced);

}  // namespace e2e
