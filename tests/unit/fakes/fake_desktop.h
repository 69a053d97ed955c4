#pragma once
// A whole desktop for Form1: one fake per role, sharing one call log, wired as
// the platform is (a change of the foreground ends a wait that watches for it).

#include "app/form1.h"
#include "fakes/call_log.h"
#include "fakes/fake_form.h"
#include "fakes/fake_loop.h"
#include "fakes/fake_machine.h"
#include "fakes/fake_tray.h"
#include "fakes/fake_windows.h"
#include "platform/desktop.h"
#include "readout/tray_icon.h"

namespace tervane::fake {

struct FakeDesktop {
    CallLog log;
    FakeMessageLoop loop{log};
    FakeOtherWindows windows{log};
    FakeSyntheticInput input{log, windows};
    FakeMachine machine{log};
    FakeTray tray{log};
    FakeMessageBoxes boxes{log, loop.clock};
    FakeOptionsWindow form{log};

    FakeDesktop() {
        windows.ownWindow = FakeOptionsWindow::kWindow;
        windows.onForegroundChange = [this] { loop.windowChanged(); };
        windows.loop = &loop;
    }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    Desktop roles() { return {windows, windows, input, machine, loop, tray, boxes, form}; }
};

// Form1 on the fake desktop, its events wired to it as the adapter wires them.
struct FormOnFake {
    FakeDesktop desktop;
    app::Form1 form{desktop.roles()};
    FormOnFake() { desktop.form.events = &form; }
};

// The shell's callback for a click on the program's icon, as it arrives at
// the form: the icon id as keys, the mouse message as x.
inline MouseMove trayCallback(int mouseMessage) {
    return {readout::kTrayIconId, mouseMessage, 0, false};
}
// A real move of the pointer over the form, at a client point.
inline MouseMove pointerMove(int x, int y, std::uintptr_t keys = 0) { return {keys, x, y, true}; }

}  // namespace tervane::fake
