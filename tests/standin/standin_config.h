#pragma once
// What the stand-in monitor shows, read from a small UTF-8 text file, one item
// a line ('#' starts a comment line):
//
//   position X Y        top-left corner of the main window (default 100 100)
//   size W H            its size (default 640 400)
//   splash MS           show the splash window for MS milliseconds first; the
//                       main window exists meanwhile, hidden
//   busy MS             once the main window shows, the program's thread sleeps
//                       MS milliseconds (a monitor reading its sensors, or hung)
//   busy-on-click MS    the first click on the main window sets the thread to
//                       work for MS milliseconds
//   after-busy close    once a busy spell ends, the main window goes away while
//                       the program runs on (a monitor whose window crashed)
//   after-busy move X Y once a busy spell ends, the main window moves to X Y
//   backdrop            a window below the main one, over the whole screen, that
//                       logs the clicks it gets: what misses the main window
//   tray-click-on-click the first click on the main window posts Tervane Lite's
//                       window the tray icon's right-click, as the shell does
//   cursor-away-on-click from the first click on the main window, a thread
//                       keeps the cursor near the screen's bottom-left corner
//                       every 2 ms for 2 s (a hand on the mouse, or a program)
//   no-main-window      never create the main window (a monitor that never appears)
//   log PATH            append events and clicks to PATH (relative: beside the file)
//   window DEPTH TEXT   one window of the tree, in walk order; depth 1 is a child
//                       of the main window, depth n+1 a child of the last window
//                       of depth n before it; TEXT (may be empty) is its text
//   quit                end the program
//
// Without any window line the main window has no child windows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct TreeWindow {
    int depth = 1;
    std::wstring text;
    friend bool operator==(const TreeWindow&, const TreeWindow&) = default;
};

enum class AfterBusy { Nothing, Close, Move };

struct StandinConfig {
    int left = 100;
    int top = 100;
    int width = 640;
    int height = 400;
    int splashMs = 0;
    int busyMs = 0;
    int busyOnClickMs = 0;
    AfterBusy afterBusy = AfterBusy::Nothing;
    int movedLeft = 0;  // after-busy move
    int movedTop = 0;
    bool backdrop = false;
    bool trayClickOnClick = false;
    bool cursorAwayOnClick = false;
    bool mainWindow = true;
    std::wstring logPath;
    std::vector<TreeWindow> tree;
    bool quit = false;
};

// The tree shown when there is no file: the anchor and nine readings.
StandinConfig defaultConfig();

struct ParseResult {
    std::optional<StandinConfig> config;
    std::string error;  // "line N: what is wrong" when config is empty
};

ParseResult parseConfig(std::string_view utf8Text);

}  // namespace standin
