#pragma once
// Form1's window: a hidden top-level window with the options controls, its
// icon, font, background brush and tray menu. Its window procedure hands the
// events to the program's FormEvents and lets no exception out.

#include <windows.h>

#include "base/errors.h"
#include "platform/desktop.h"
#include "platform/win32/form_layout.h"
#include "platform/win32/handles.h"

namespace tervane::win32 {

class FormWindow {
  public:
    FormWindow();  // throws std::system_error when the window cannot be made
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Events reach the program only while attached and before the window's
    // destruction has begun.
    void attach(FormEvents* events) noexcept { events_ = events; }

    HWND handle() const noexcept { return window_; }  // nullptr once destroyed
    HWND control(layout::ControlId id) const noexcept { return GetDlgItem(window_, id); }
    HICON smallIcon() const noexcept { return smallIcon_.get(); }
    HMENU trayMenu() const noexcept { return GetSubMenu(menuTop_.get(), 0); }

    // Hands one message to the controls' keyboard navigation or to its window.
    void dispatch(MSG& message) const noexcept;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    int scale(int pixelsAt96Dpi) const noexcept { return MulDiv(pixelsAt96Dpi, dpi_, 96); }

    template <class Event>
    void raise(Event&& event) noexcept {
        // A failing handler ends that handler only.
        if (events_ != nullptr) quietly([&] { event(*events_); });
    }

    int dpi_;
    UINT taskbarCreated_;
    OwnedBrush background_;
    OwnedFont font_;
    OwnedIcon largeIcon_;
    OwnedIcon smallIcon_;
    OwnedMenu menuTop_;
    FormEvents* events_ = nullptr;
    HWND window_ = nullptr;  // owned: destroyed by the program or by ~FormWindow
};

}  // namespace tervane::win32
