#pragma once
// A model of what the program sees of the desktop: a window tree, a foreground
// that can refuse, a clock that advances only while the program waits, HKLM and
// per-user settings, files, the tray, the cursor and input blocking, message
// boxes that are answered at once, and user events scripted to arrive during a
// pump at a given time. Every call is recorded in order.

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tervane::fake {

struct FakeWindow {
    WindowHandle parent = 0;
    std::wstring className;
    std::wstring text;
    Rect rect;
    bool topmost = false;
    bool minimized = false;
};

struct Click {
    Point at;
    bool inputBlocked = false;
    std::set<WindowHandle> topmost;  // the windows that were topmost then
};

struct ShownBox {
    std::wstring text;
    std::uint32_t flags = 0;
    Millis at{0};
};

struct TrayCall {
    std::string kind;  // "add", "modify", "delete"
    TrayRecord record;
    bool pictureChanged = true;
};

// The shell's callback for a click on the program's icon (id 2), as it
// arrives at the form.
inline MouseMove trayCallback(int mouseMessage) { return {2, mouseMessage, 0, false}; }
// A real move of the pointer over the form, at a client point.
inline MouseMove pointerMove(int x, int y, std::uintptr_t keys = 0) { return {keys, x, y, true}; }

// Thrown by the fake where a test injects a failure.
struct InjectedFailure : std::runtime_error {
    InjectedFailure() : std::runtime_error("injected failure") {}
};

class FakeDesktop : public Desktop {
  public:
    // --- the window tree -------------------------------------------------
    WindowHandle addTopLevel(std::wstring className, std::wstring title, Rect rect = {});
    WindowHandle addChild(WindowHandle parent, std::wstring text,
                          std::wstring className = L"Static");
    // Removes a window and all its descendants.
    void removeWindow(WindowHandle window);
    void setText(WindowHandle window, std::wstring text);
    FakeWindow& window(WindowHandle handle) { return windows_.at(handle); }
    bool exists(WindowHandle handle) const { return windows_.contains(handle); }

    // --- scripting -----------------------------------------------------------
    // Runs the action in the first pump at or after the given time; a message
    // arriving then ends any wait.
    void at(Millis when, std::function<void()> action);
    // The same for a change of other windows, which ends a wait only while
    // the program watches other windows.
    void atWindowChange(Millis when, std::function<void()> action);
    // Called with each call's name before it takes effect; may throw.
    std::function<void(const std::string&)> beforeCall;
    // Called when a message box is shown (the user reads, then presses OK).
    std::function<void(const ShownBox&)> onMessageBox;
    std::function<void(std::wstring_view path, std::wstring_view folder)> onLaunch;

    // --- state tests set and read ------------------------------------------
    FormEvents* events = nullptr;
    std::vector<std::string> calls;
    Millis clock{0};
    // What each visit of forEachDescendant answered, in order (false stopped the walk).
    std::vector<bool> visitAnswers;
    long pumps = 0;
    long waits = 0;
    bool watchingWindows = false;
    bool windowChangeQueued = false;  // seen while watching, not yet waited on
    WindowHandle foreground = 0;
    bool refuseForeground = false;
    bool failWindowRect = false;

    Point cursor{500, 400};
    bool inputBlocked = false;
    std::vector<Click> clicks;
    std::vector<Point> cursorMoves;

    std::map<std::wstring, std::wstring> machineValues;  // L"key|value" -> data
    std::map<std::wstring, std::uint32_t> files;         // path -> attributes
    std::map<std::wstring, std::wstring> settings;       // L"app\\section\\key" -> text
    bool failSettingWrites = false;
    std::vector<std::pair<std::wstring, std::wstring>> launches;

    std::vector<ShownBox> boxes;
    SingleInstance singleInstanceOutcome = SingleInstance::Taken;

    bool shellReady = true;
    bool trayPresent = false;
    TrayRecord trayShown;
    std::vector<TrayCall> trayCalls;
    std::set<IconHandle> liveIcons;
    long iconLoads = 0;
    std::set<int> failingIconIds;

    bool formVisible = false;
    bool formDestroyed = false;
    FormState formStateValue = FormState::Normal;
    Point formPosition{4, -97};    // in the normal state, whatever the state now
    Size formOuterSize{239, 126};  // the same
    Size screen{1024, 768};
    std::map<TimerId, Millis> timers;
    bool white = false;
    int toggle = 0;
    MenuChoice menuAnswer = MenuChoice::None;
    int menusShown = 0;

    long countCalls(const std::string& name) const;
    std::wstring setting(std::wstring_view key) const;  // under Halvedon\Tervane_Lite
    void setSetting(std::wstring_view key, std::wstring value);
    // The shown tip without its NUL and padding.
    std::wstring tipText() const;

    // --- Desktop -----------------------------------------------------------
    WindowHandle findWindow(std::wstring_view className, std::wstring_view title) override;
    void forEachDescendant(WindowHandle parent,
                           const std::function<bool(WindowHandle)>& visit) override;
    std::wstring windowText(WindowHandle window) override;
    WindowHandle foregroundWindow() override;
    void setForegroundWindow(WindowHandle window) override;
    void showWindow(WindowHandle window, ShowCommand command) override;
    void setTopmost(WindowHandle window, bool onTop) override;
    std::optional<Rect> windowRect(WindowHandle window) override;
    Point cursorPos() override;
    void setCursorPos(Point point) override;
    void leftClick() override;
    void blockInput(bool block) override;
    std::optional<std::wstring> readMachineString(std::wstring_view keyPath,
                                                  std::wstring_view valueName) override;
    std::optional<std::uint32_t> fileAttributes(std::wstring_view path) override;
    void launch(std::wstring_view executablePath, std::wstring_view workingFolder) override;
    std::optional<std::wstring> readSetting(std::wstring_view app, std::wstring_view section,
                                            std::wstring_view key) override;
    bool writeSetting(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                      std::wstring_view value) override;
    Millis now() override;
    void pumpMessages() override;
    void waitForMessage(Millis timeout) override;
    void watchOtherWindows(bool on) override;
    void messageBox(std::wstring_view text, std::uint32_t flags) override;
    SingleInstance singleInstance() override;
    bool trayAdd(const TrayRecord& record) override;
    bool trayModify(const TrayRecord& record, bool pictureChanged) override;
    void trayDelete(const TrayRecord& record) override;
    IconHandle loadIcon(int id) override;
    void destroyIcon(IconHandle icon) override;
    IconHandle formIcon() override;
    WindowHandle formWindow() override;
    void showForm() override;
    void hideForm() override;
    FormState formState() override;
    void setFormState(FormState state) override;
    Size restoredFormSize() override;
    Size screenSize() override;
    void placeRestoredForm(Point topLeft) override;
    MenuChoice popupTrayMenu() override;
    void setTimer(TimerId timer, Millis interval) override;
    bool whiteSelected() override;
    void setWhiteSelected(bool isWhite) override;
    int toggleValue() override;
    void setToggleValue(int value) override;
    void destroyForm() override;

    static constexpr IconHandle kFormIcon = 1;
    static constexpr WindowHandle kFormWindow = 0xF0;
    // Icon handles encode their id, so a test can tell which picture is shown.
    static int iconId(IconHandle icon) { return static_cast<int>(icon >> 16); }

  private:
    void record(const std::string& name);
    void visitChildren(WindowHandle parent, const std::function<bool(WindowHandle)>& visit,
                       bool& go);

    struct Scheduled {
        Millis when;
        std::function<void()> action;
        bool windowChange = false;
    };
    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> order_;  // creation order, the walk's order
    WindowHandle nextWindow_ = 0x100;
    std::vector<Scheduled> scheduled_;
    IconHandle nextIconSerial_ = 1;
};

}  // namespace tervane::fake
