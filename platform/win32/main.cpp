// The program's entry point: the adapter makes Form1's window, the program's
// Form1 runs its start-up sequence, then the message loop serves the window
// and the tray until the form is destroyed.

#include <windows.h>

#include <cstdlib>

#include "app/form1.h"
#include "platform/win32/win32_desktop.h"

// An uncaught exception ends the program without the library's verbose
// handler, which would pull a name demangler into the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

int run() {
    tervane::win32::Win32Desktop desktop;
    tervane::app::Form1 form(desktop.roles());
    const auto attachment = desktop.attach(form);
    form.load();  // start-up reports its own failures
    MSG message{};
    if (!form.ended()) {
        while (GetMessageW(&message, nullptr, 0, 0) > 0) desktop.dispatch(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return run();
    } catch (...) {
        return 1;  // the window could not be made, or a failure could not be told
    }
}
