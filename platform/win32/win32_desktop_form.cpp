// The options window's services.

#include "platform/win32/win32_desktop.h"

#include <windowsx.h>

namespace tervane::win32 {

WindowHandle Win32Desktop::formWindow() { return fromHwnd(form_.handle()); }

void Win32Desktop::showForm() {
    ShowWindow(form_.handle(), SW_SHOW);
    SetForegroundWindow(form_.handle());
}

void Win32Desktop::hideForm() { ShowWindow(form_.handle(), SW_HIDE); }

FormState Win32Desktop::formState() {
    return IsIconic(form_.handle()) ? FormState::Minimized : FormState::Normal;
}

void Win32Desktop::setFormState(FormState state) {
    ShowWindow(form_.handle(), state == FormState::Minimized ? SW_MINIMIZE : SW_RESTORE);
}

Size Win32Desktop::restoredFormSize() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(form_.handle(), &placement);
    const RECT& rect = placement.rcNormalPosition;
    return Size{rect.right - rect.left, rect.bottom - rect.top};
}

Size Win32Desktop::screenSize() {
    return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32Desktop::placeRestoredForm(Point topLeft) {
    const HWND form = form_.handle();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(form, &placement);
    // The placement is in workspace coordinates: from the work area's corner.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT& normal = placement.rcNormalPosition;
    OffsetRect(&normal, topLeft.x - monitor.rcWork.left - normal.left,
               topLeft.y - monitor.rcWork.top - normal.top);
    // Shows the form as it is now: setting a placement also shows the window.
    placement.flags = 0;
    placement.showCmd =
        !IsWindowVisible(form) ? SW_HIDE : (IsIconic(form) ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
    SetWindowPlacement(form, &placement);
}

MenuChoice Win32Desktop::popupTrayMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const BOOL chosen = TrackPopupMenu(form_.trayMenu(), TPM_RETURNCMD | TPM_NONOTIFY, cursor.x,
                                       cursor.y, 0, form_.handle(), nullptr);
    // The platform's convention: the menu then closes when the user clicks elsewhere.
    PostMessageW(form_.handle(), WM_NULL, 0, 0);
    return chosen == static_cast<BOOL>(layout::kMenuExitId) ? MenuChoice::Exit : MenuChoice::None;
}

void Win32Desktop::setTimer(TimerId timer, Millis interval) {
    const auto id = static_cast<UINT_PTR>(timer);
    if (interval.count() == 0) {
        KillTimer(form_.handle(), id);
    } else {
        SetTimer(form_.handle(), id, static_cast<UINT>(interval.count()), nullptr);
    }
}

bool Win32Desktop::whiteSelected() {
    return Button_GetCheck(form_.control(layout::kWhite)) == BST_CHECKED;
}

void Win32Desktop::setWhiteSelected(bool white) {
    Button_SetCheck(form_.control(layout::kWhite), white ? BST_CHECKED : BST_UNCHECKED);
    Button_SetCheck(form_.control(layout::kBlack), white ? BST_UNCHECKED : BST_CHECKED);
}

int Win32Desktop::toggleValue() {
    return static_cast<int>(Button_GetCheck(form_.control(layout::kToggle)));
}

void Win32Desktop::setToggleValue(int value) {
    Button_SetCheck(form_.control(layout::kToggle), value);
}

void Win32Desktop::destroyForm() { DestroyWindow(form_.handle()); }

}  // namespace tervane::win32
