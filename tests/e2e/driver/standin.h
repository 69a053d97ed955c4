#pragma once
// The stand-in monitor as a scenario drives it: the file it shows (written
// whole and swapped in at once, so it never reads half a file), the program
// itself, and the log of what happened to it.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "process.h"
#include "scenario.h"

namespace e2e {

inline constexpr wchar_t kMonitorClass[] = L"TMainForm";
inline constexpr wchar_t kMonitorTitle[] = L"Asus Probe 2";
inline constexpr wchar_t kSplashClass[] = L"TSplashForm";
inline constexpr wchar_t kSplashTitle[] = L"SplashForm";

struct StandinWindow {
    int depth = 1;  // 1: a child of the main window
    std::wstring text;
};

struct StandinSetup {
    POINT position{100, 100};
    SIZE size{640, 400};
    int splashMs = 0;
    int busyMs = 0;         // the thread sleeps this long once the main window shows
    int busyOnClickMs = 0;  // and this long at the first click it gets
    // Once a busy spell ends, the main window goes away, or moves there.
    bool goneAfterBusy = false;
    std::optional<POINT> movedAfterBusy{};
    bool backdrop = false;           // a window over the screen below it logs missed clicks
    bool trayClickOnClick = false;   // its first click posts the program a tray right-click
    bool cursorAwayOnClick = false;  // and one that keeps the cursor off it for 2 s
    bool mainWindow = true;
    std::vector<StandinWindow> tree{};
    bool quit = false;
};

// The anchor and nine readings, all children of the main window:
// slots 2-5 voltages, 6 CPU, 7 fan 3, 8 fan 2, 9 fan 1, 10 mainboard.
StandinSetup plainTree(const std::wstring& cpu, const std::wstring& fan3, const std::wstring& fan2,
                       const std::wstring& fan1, const std::wstring& mainboard);
// The plain tree of the program scenarios in setup: CPU 45.0 C, fans 1820, 0
// and 2410, mainboard 38.5 C (the tip kReadingTip).
StandinSetup readings(StandinSetup setup = {});

// Windows before the anchor (one titled "monitorform"), the anchor nested in a
// panel, readings in panels below it, and a window after the tenth slot:
// slots 1-10 Monito, Volts, 3.30 V, 12.1 V, Sensor, 51.5 C, 960, 3125, 123456, 105 C.
StandinSetup nestedTree();

struct LoggedClick {
    POINT screen{};
    POINT offset{};  // from the main window's top-left corner
    bool topmost = false;
    ULONGLONG tick = 0;
};

struct StandinLog {
    std::vector<std::string> lines;
    std::vector<LoggedClick> clicks;
    int loads = 0;           // files taken in, the first one included
    int backdropClicks = 0;  // clicks that missed the main window
    // The tick of the first line that begins with event, from the tick from on.
    std::optional<ULONGLONG> firstTick(std::string_view event, ULONGLONG from = 0) const;
};

StandinLog parseStandinLog(std::string_view text);

class Standin {
  public:
    // Its file and log live in folder (the driver's work folder by default).
    explicit Standin(const Paths& paths, std::wstring folder = {});

    const std::wstring& configPath() const { return configPath_; }
    const std::wstring& logPath() const { return logPath_; }

    // Writes the file the stand-in shows; a running stand-in takes it within
    // a quarter second.
    void write(const StandinSetup& setup);
    // Starts AsusProb.exe with the file, written with setup if given (the
    // last setup, after a quit), and waits until it has taken it in.
    void start(const std::optional<StandinSetup>& setup = std::nullopt);
    // Copies AsusProb.exe into the folder and returns its path there: started
    // by name alone (as a program launches the monitor), it shows this file.
    std::wstring install();
    // Waits until the stand-in has taken in its n-th file.
    bool waitForLoads(int count, Millis timeout = 5s);
    // The main window, waiting for it to appear; nullptr after the timeout.
    HWND mainWindow(Millis timeout = 5s) const;
    StandinLog log() const;
    // Asks it to end through its file and waits for that (a busy one answers
    // late); a stand-in this driver started is ended by force if it does not.
    // True when it ended by its file, or never ran.
    bool quit(Millis within = 5s);
    Process* process() { return process_ ? &*process_ : nullptr; }

  private:
    const Paths& paths_;
    std::wstring folder_;
    std::wstring configPath_;
    std::wstring logPath_;
    StandinSetup last_;         // the last setup written, without its quit line
    bool quitWritten_ = false;  // the file now tells a stand-in to end
    std::optional<Process> process_;
};

// Writes text to path through a temporary file renamed over it.
void writeFileAtomically(const std::wstring& path, const std::string& text);
std::optional<std::string> readWholeFile(const std::wstring& path);

}  // namespace e2e
