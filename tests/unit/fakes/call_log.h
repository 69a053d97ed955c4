#pragma once
// The calls the program makes through the seam, as the fakes record them:
// one log, shared by the fakes of one desktop, so a test can check their order
// across roles. A call's argument is part of its name where it matters.

#include <functional>
#include <initializer_list>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace tervane::fake {

enum class Call {
    // OtherWindows and WindowRequests
    FindWindow,
    ForEachDescendant,
    WindowText,
    ForegroundWindow,
    SetForegroundWindow,
    ShowWindowShow,
    ShowWindowNormal,
    SetTopmostOn,
    SetTopmostOff,
    WindowState,
    WindowRect,
    WindowAt,
    AskForAnswer,
    UseWindowCoordinates,
    UseOwnCoordinates,
    // SyntheticInput
    CursorPos,
    MoveCursor,
    ButtonsSwapped,
    Press,
    UserPressing,
    BlockInputOn,
    BlockInputOff,
    // Machine
    ReadMachineString,
    FileAttributes,
    Launch,
    ReadSetting,
    WriteSetting,
    SingleInstance,
    // MessageLoop (the clock is not a call)
    PumpMessages,
    WaitForMessage,
    WatchOn,
    WatchOff,
    SetTickTimer,
    SetRetryTimer,
    // Tray
    TrayAdd,
    TrayModify,
    TrayDelete,
    LoadIcon,
    DestroyIcon,
    // MessageBoxes
    MessageBox,
    // OptionsWindow
    FormWindow,
    FormIcon,
    ShowForm,
    HideForm,
    FormState,
    SetFormNormal,
    SetFormMinimized,
    RestoredFormSize,
    ScreenSize,
    PlaceRestoredForm,
    PopupTrayMenu,
    WhiteSelected,
    SetWhiteSelected,
    ToggleValue,
    SetToggleValue,
    DestroyForm,
};

const char* nameOf(Call call);
inline std::ostream& operator<<(std::ostream& out, Call call) { return out << nameOf(call); }

// What a test throws from beforeCall to make a call fail.
struct InjectedFailure : std::runtime_error {
    InjectedFailure() : std::runtime_error("injected failure") {}
};

struct CallLog {
    std::vector<Call> calls;
    // Called with each call as it is made, before it takes effect; a test may
    // throw from it to make that call fail.
    std::function<void(Call)> beforeCall;

    void record(Call call) {
        calls.push_back(call);
        if (beforeCall) beforeCall(call);
    }
    long count(Call call) const;
    // The calls of these kinds, in order.
    std::vector<Call> among(std::initializer_list<Call> kinds) const;
    void clear() { calls.clear(); }
};

}  // namespace tervane::fake
