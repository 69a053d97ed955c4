#pragma once
// The one seam between the program and the operating system, in roles: each
// part of the program takes only the roles it uses. The Win32 adapter is every
// role at once; the unit tests have a small fake for each.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tervane {

using WindowHandle = std::uintptr_t;  // 0: no window
using IconHandle = std::uintptr_t;    // 0: no icon
using Millis = std::chrono::milliseconds;

struct Point {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};
struct Size {
    std::int32_t width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

enum class ShowCommand : int { ShowNormal = 1, Show = 5 };  // ShowWindow's values
enum class MouseButton { Left, Right };                     // the physical buttons

// Another program's window as the system keeps it: read without waiting on
// that program's thread.
struct WindowState {
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool topmost = false;
};
enum class FormState { Normal, Minimized };
enum class TimerId : int { Tick = 1, TrayRetry = 2 };
enum class MenuChoice { None, Exit };

// What became of taking the token only one running copy can hold.
enum class SingleInstance {
    Taken,         // this copy holds it
    AlreadyTaken,  // another copy holds it
    AccessDenied,  // it exists, held by a copy this one may not open (elevated)
    Failed,        // it could not be taken for another reason
};

// The form's mouse-move as it arrived. The tray's callbacks arrive as
// mouse-moves too: the icon id as keys, the mouse message as x, y 0, and sent
// from elsewhere than the pointer's place over the form.
struct MouseMove {
    std::uintptr_t keys = 0;  // wParam: key flags of a real move
    std::int32_t x = 0;       // client coordinates from lParam
    std::int32_t y = 0;
    bool atPointer = false;  // the message's screen point is (x, y) on the form
};

// MessageBox flags the program uses, by their platform values.
namespace mb {
inline constexpr std::uint32_t Ok = 0x0;
inline constexpr std::uint32_t IconStop = 0x10;
inline constexpr std::uint32_t IconInformation = 0x40;
inline constexpr std::uint32_t SystemModal = 0x1000;
inline constexpr std::uint32_t SetForeground = 0x10000;
}  // namespace mb

inline constexpr std::uint32_t kAttributeDirectory = 0x10;  // a folder's attribute bit

// The notification-area record as the program keeps it (readout/tray_icon.h
// fills it in).
struct TrayRecord {
    std::uint32_t id = 0;
    std::uint32_t callbackMessage = 0;  // arrives as the form's mouse-move
    IconHandle icon = 0;
    std::wstring tip;  // a fixed field: text, NUL, spaces
};

// Windows of other programs, the monitor's, read as the system keeps them:
// nothing here sends their threads anything, so a busy program holds nothing up.
class OtherWindows {
  public:
    virtual ~OtherWindows() = default;
    virtual WindowHandle findWindow(std::wstring_view className, std::wstring_view title) = 0;
    // Visits every descendant in the platform's order until visit returns false.
    virtual void forEachDescendant(WindowHandle parent,
                                   const std::function<bool(WindowHandle)>& visit) = 0;
    // At most 254 characters, as GetWindowText with a count of 255; "" on failure.
    virtual std::wstring windowText(WindowHandle window) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    // nullopt when the window is gone.
    virtual std::optional<WindowState> windowState(WindowHandle window) = 0;
    virtual std::optional<Rect> windowRect(WindowHandle window) = 0;
    // The top-level window a press at the point would reach (in the
    // coordinates in use), 0 for none.
    virtual WindowHandle windowAt(Point point) = 0;
};

// What the program asks of other programs' windows, without waiting for their
// threads: each act is carried out in that thread's own time.
class WindowRequests {
  public:
    virtual ~WindowRequests() = default;
    virtual void setForegroundWindow(WindowHandle window) = 0;
    virtual void showWindow(WindowHandle window, ShowCommand command) = 0;
    virtual void setTopmost(WindowHandle window, bool onTop) = 0;
    // Asks the window's thread for an answer; it arrives while messages are
    // pumped or waited for. answered(window) is true once every question put
    // to that window has been answered (a window that is gone cannot be
    // asked). A thread may answer before it carries out what it was asked earlier.
    virtual void askForAnswer(WindowHandle window) = 0;
    virtual bool answered(WindowHandle window) = 0;
    // From now until useOwnCoordinates(), window rectangles, points and the
    // cursor's position (SyntheticInput) are in the coordinates this window
    // itself sees: one the system stretches for display scaling (not DPI
    // aware) sees its own pixels. False when the platform cannot do that and
    // the display is scaled: coordinates then stay the program's own.
    virtual bool useCoordinatesOf(WindowHandle window) = 0;
    virtual void useOwnCoordinates() = 0;
};

class SyntheticInput {
  public:
    virtual ~SyntheticInput() = default;
    virtual Point cursorPos() = 0;
    // As input does: after any press sent before it, whose move cannot undo it.
    virtual void moveCursor(Point point) = 0;
    // The user's setting: the right button is the primary one. The system
    // swaps synthetic presses as it swaps the user's own.
    virtual bool buttonsSwapped() = 0;
    // Moves to the point and presses and releases the button there, as one
    // piece of input that nothing else can come between: it lands on the
    // point wherever the cursor was.
    virtual void press(Point point, MouseButton button) = 0;
    // The user holds a mouse button, or Shift, Ctrl, Alt or a Windows key,
    // down now: blocking input does not release it.
    virtual bool userPressing() = 0;
    virtual void blockInput(bool block) = 0;
};

// The machine: registry, files, launching, per-user settings, the token of the
// one running copy.
class Machine {
  public:
    virtual ~Machine() = default;
    // The data of a plain string value under HKEY_LOCAL_MACHINE, in the 32-bit
    // view of the registry, its stored NUL kept; nullopt when the key or the
    // value cannot be read as such a string.
    virtual std::optional<std::wstring> readMachineString(std::wstring_view keyPath,
                                                          std::wstring_view valueName) = 0;
    // nullopt when the path's attributes cannot be read.
    virtual std::optional<std::uint32_t> fileAttributes(std::wstring_view path) = 0;
    // Starts an executable by its full path with the given working folder.
    virtual void launch(std::wstring_view executablePath, std::wstring_view workingFolder) = 0;
    // Per-user settings, addressed by application, section and key; a text
    // ends at its first NUL; a value of another kind, or stored in more than
    // 256 characters (its NUL counted), reads as absent.
    virtual std::optional<std::wstring> readSetting(std::wstring_view app,
                                                    std::wstring_view section,
                                                    std::wstring_view key) = 0;
    virtual bool writeSetting(std::wstring_view app, std::wstring_view section,
                              std::wstring_view key, std::wstring_view value) = 0;
    // The single-instance token, taken when the program starts.
    virtual SingleInstance singleInstance() = 0;
};

// The message loop, time and the form's timers.
class MessageLoop {
  public:
    virtual ~MessageLoop() = default;
    virtual Millis now() = 0;  // monotonic
    // Dispatches every waiting message, then returns.
    virtual void pumpMessages() = 0;
    // Sleeps until a message is waiting or the timeout has passed.
    virtual void waitForMessage(Millis timeout) = 0;
    // While on, waitForMessage also ends when a window of another program is
    // created, shown, hidden or destroyed, or the foreground changes, so a
    // wait for such a change can sleep instead of polling fast.
    virtual void watchOtherWindows(bool on) = 0;
    // Starts (or restarts) a timer of the form; an interval of 0 stops it.
    virtual void setTimer(TimerId timer, Millis interval) = 0;
};

// The notification area and the pictures for it.
class Tray {
  public:
    virtual ~Tray() = default;
    // add and modify report whether the shell took the call.
    virtual bool trayAdd(const TrayRecord& record) = 0;
    // The picture is handed over only when it changed.
    virtual bool trayModify(const TrayRecord& record, bool pictureChanged) = 0;
    virtual void trayDelete(const TrayRecord& record) = 0;
    // An icon group of the program's own file at the tray's size; 0 on
    // failure. The caller gives it back with destroyIcon.
    virtual IconHandle loadIcon(int id) = 0;
    virtual void destroyIcon(IconHandle icon) = 0;
};

// Message boxes, owned by the form and titled with the program's name.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Modal; returns once it is closed.
    virtual void messageBox(std::wstring_view text, std::uint32_t flags) = 0;
};

// The options window, Form1: its state, its controls and its tray menu.
class OptionsWindow {
  public:
    virtual ~OptionsWindow() = default;
    virtual WindowHandle formWindow() = 0;
    virtual IconHandle formIcon() = 0;  // group 1, owned by the form
    virtual void showForm() = 0;
    virtual void hideForm() = 0;
    virtual FormState formState() = 0;
    virtual void setFormState(FormState state) = 0;
    // The outer size the form has, or will have, in its normal state, whatever
    // its state now (minimized, hidden); pixels.
    virtual Size restoredFormSize() = 0;
    virtual Size screenSize() = 0;  // pixels
    // Moves the form's normal-state place to topLeft (screen pixels). Its
    // state and visibility stay: a minimized or hidden form is shown there
    // when it is next restored.
    virtual void placeRestoredForm(Point topLeft) = 0;
    // Shows the tray menu at the cursor and returns the item chosen.
    virtual MenuChoice popupTrayMenu() = 0;
    virtual bool whiteSelected() = 0;
    virtual void setWhiteSelected(bool white) = 0;
    virtual int toggleValue() = 0;  // 0 unchecked, 1 checked, 2 greyed
    virtual void setToggleValue(int value) = 0;
    // Destroys the form; the program ends once its message loop sees that.
    virtual void destroyForm() = 0;
};

// Every role, as Form1 takes them.
struct Desktop {
    OtherWindows& windows;
    WindowRequests& requests;
    SyntheticInput& input;
    Machine& machine;
    MessageLoop& loop;
    Tray& tray;
    MessageBoxes& boxes;
    OptionsWindow& form;
};

// What the window procedure hands to the program. The adapter catches every
// exception at this boundary, so a handler that throws ends that handler only.
class FormEvents {
  public:
    virtual ~FormEvents() = default;
    virtual void onMouseMove(const MouseMove& move) = 0;  // the tray's clicks, too
    virtual void onTimer(TimerId timer) = 0;
    // Any request to close the form (close box, system menu, WM_CLOSE).
    virtual void onCloseRequest() = 0;
    virtual void onResize() = 0;
    virtual void onOptionClicked() = 0;  // "Black" or "White"
    virtual void onToggleClicked() = 0;
    virtual void onTaskbarCreated() = 0;
    // The session ends (log-off, shut-down, restart, or an installer closing
    // programs) when ending is true; the process is ended once this returns.
    // The system's question whether it may end is always answered yes.
    virtual void onSessionEnd(bool ending) = 0;
};

}  // namespace tervane
