#pragma once
// Other programs' windows: a tree with classes, texts and rectangles, walked
// depth first in creation order as the platform walks it, top-level windows
// stacked in a z-order, a foreground that can refuse to move, programs whose
// thread is busy for a while and carries out what it is asked only once it is
// free again (or never), and display scaling that stretches windows that are
// not DPI aware.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_loop.h"
#include "platform/desktop.h"

namespace tervane::fake {

struct FakeWindow {
    WindowHandle parent = 0;
    std::wstring className;
    std::wstring text;
    Rect rect;  // on the screen, in physical pixels
    bool visible = true;
    bool topmost = false;
    bool minimized = false;
    bool maximized = false;
    // Its thread answers nothing, and carries out nothing it was asked,
    // before this time (Millis::max(): hung).
    Millis busyUntil{0};
    // It carries out a show or a z-order change this long after it answers
    // (a thread answers a question before what it was asked earlier).
    Millis carriesOutAfter{1};
    // It answers, and never carries out a show or a z-order change.
    bool refusesActs = false;
    // It keeps itself on top: taken off the top, it stays there.
    bool keepsOnTop = false;
    // Laid out in 96-DPI pixels and stretched by the display's scaling.
    bool dpiUnaware = false;
};

class FakeOtherWindows : public OtherWindows, public WindowRequests {
  public:
    explicit FakeOtherWindows(CallLog& log) : log_(log) {}

    // A new top-level window comes on top of its band: the topmost windows,
    // or the others below them.
    WindowHandle addTopLevel(std::wstring className, std::wstring title, Rect rect = {},
                             bool topmost = false);
    WindowHandle addChild(WindowHandle parent, std::wstring text,
                          std::wstring className = L"Static");
    // Removes a window and all its descendants.
    void removeWindow(WindowHandle window);
    void setText(WindowHandle window, std::wstring text) { windows_.at(window).text = text; }
    // As it is now, with what its thread has carried out by now.
    FakeWindow& window(WindowHandle handle) {
        carryOutDue();
        return windows_.at(handle);
    }
    bool exists(WindowHandle handle) const { return windows_.contains(handle); }
    std::set<WindowHandle> topmostWindows();
    // The shown top-level window on top at a physical screen point, 0 for none.
    WindowHandle rootAt(Point physical);
    // The scaling, in percent, of the coordinates in use now.
    int scaleNow() const;
    // A window's point in its own coordinates, from a physical screen point.
    Point ownPoint(WindowHandle window, Point screen) const;
    Point toPhysical(Point p) const;
    Point fromPhysical(Point p) const;

    // A window that is not in the tree but may take the foreground (the form's).
    WindowHandle ownWindow = 0;
    WindowHandle foreground = 0;
    bool refuseForeground = false;
    bool failWindowRect = false;
    // The display's scaling, in percent.
    int scalePercent = 100;
    // The program can take another window's coordinates (Windows 10 1607 on).
    bool perThreadDpi = true;
    // Busy windows answer once the clock has passed their time. Without a
    // loop, every window answers and carries out what it is asked at once.
    FakeMessageLoop* loop = nullptr;
    // What each visit of forEachDescendant answered, in order (false stopped the walk).
    std::vector<bool> visitAnswers;
    // Told when the foreground moves, as the platform tells a watcher.
    std::function<void()> onForegroundChange;

    WindowHandle findWindow(std::wstring_view className, std::wstring_view title) override;
    void forEachDescendant(WindowHandle parent,
                           const std::function<bool(WindowHandle)>& visit) override;
    std::wstring windowText(WindowHandle window) override;
    WindowHandle foregroundWindow() override {
        log_.record(Call::ForegroundWindow);
        return foreground;
    }
    void setForegroundWindow(WindowHandle window) override;
    void showWindow(WindowHandle window, ShowCommand command) override;
    void setTopmost(WindowHandle window, bool onTop) override;
    std::optional<WindowState> windowState(WindowHandle window) override;
    std::optional<Rect> windowRect(WindowHandle window) override;
    WindowHandle windowAt(Point point) override;
    void askForAnswer(WindowHandle window) override;
    bool answered(WindowHandle window) override;
    bool useCoordinatesOf(WindowHandle window) override;
    void useOwnCoordinates() override;

  private:
    struct Request {
        Millis due;
        WindowHandle window;
        std::function<void(FakeWindow&)> act;
    };
    // Queues an act for the window's thread; carryOutDue applies those whose
    // time has come, in the order they were asked for.
    void request(WindowHandle window, std::function<void(FakeWindow&)> act);
    void carryOutDue();
    // Moves a top-level window to the top of its band: the topmost windows,
    // or the others below them.
    void raise(WindowHandle window);

    void visitChildren(WindowHandle parent, const std::function<bool(WindowHandle)>& visit,
                       bool& go);

    CallLog& log_;
    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> order_;   // creation order, the walk's order
    std::vector<WindowHandle> zOrder_;  // top-level windows, the top one first
    WindowHandle next_ = 0x100;
    std::map<WindowHandle, std::pair<long, long>> answers_;  // asked, answered
    WindowHandle coordinatesOf_ = 0;                         // 0: the program's own
    std::vector<Request> requests_;
};

struct Click {
    Point at;  // physical screen pixels
    // The window the press reached, and where in it, in its own points.
    WindowHandle reached = 0;
    Point offset;
    bool inputBlocked = false;
    bool userPressing = false;  // a button or modifier key of the user's was down
    // The window gets the left button's messages: the primary button's.
    bool leftButtonMessages = true;
    std::set<WindowHandle> topmost;  // the windows that were topmost then
};

// The cursor, clicks and the blocking of the user's input.
class FakeSyntheticInput : public SyntheticInput {
  public:
    FakeSyntheticInput(CallLog& log, FakeOtherWindows& windows) : log_(log), windows_(windows) {}

    Point cursor{501, 401};  // physical screen pixels
    bool inputBlocked = false;
    // The user swapped the buttons: a press of the physical left button then
    // reaches windows as the right button's messages, and the other way round.
    bool swappedButtons = false;
    // The user holds a button or a modifier key down.
    bool pressing = false;
    Millis pressTakes{0};    // a press that is slow to return
    Millis longestBlock{0};  // the longest stretch the user's input was held
    std::vector<Click> clicks;
    std::vector<Point> cursorMoves;

    Point cursorPos() override;
    void moveCursor(Point point) override;
    bool buttonsSwapped() override;
    void press(Point point, MouseButton button) override;
    bool userPressing() override;
    void blockInput(bool block) override;

  private:
    CallLog& log_;
    FakeOtherWindows& windows_;
    Millis blockedSince_{0};
};

}  // namespace tervane::fake
