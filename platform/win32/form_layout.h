#pragma once
// The options window's layout, in pixels at 96 DPI; the window scales every
// number here by the screen's DPI when it creates itself.

#include <windows.h>

namespace tervane::win32::layout {

inline constexpr wchar_t kCaption[] = L"Tervane Lite";
inline constexpr int kClientWidth = 231;
inline constexpr int kClientHeight = 93;
// Where the client area is first shown: just above the top of the screen, so
// start-up puts nothing in the user's way; start-up centres the window before
// it goes to the tray, and it is shown from there.
inline constexpr int kClientLeft = 4;
inline constexpr int kClientTop = -97;
inline constexpr COLORREF kBackground = RGB(255, 255, 192);
inline constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Lets dialog navigation (Tab, arrow keys) reach the controls.
inline constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// The default dialog font, in points.
inline constexpr wchar_t kFontFace[] = L"MS Shell Dlg 2";
inline constexpr int kFontPoints = 8;

inline constexpr int kApplicationIcon = 1;  // icon group of the program's file

enum ControlId : int { kLabel1 = 101, kBlack, kWhite, kToggle, kLabel3 };

struct Control {
    ControlId id;
    const wchar_t* windowClass;
    const wchar_t* caption;
    DWORD style;
    int left, top, width, height;
};

// Created in tab order, which is also the order dialog navigation follows;
// no two controls overlap, so the stacking order does not show. WS_GROUP on
// Toggle closes the group of the two radio buttons. "Tray Color" is a pixel
// wider than its label in Tahoma: it clips rather than wrap "Color" away.
inline constexpr Control kControls[] = {
    {kLabel1, L"STATIC", L"Tray Color", SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, 33, 35, 49, 13},
    {kBlack, L"BUTTON", L"Black", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 95, 35, 48, 13},
    {kWhite, L"BUTTON", L"White", BS_AUTORADIOBUTTON, 152, 34, 49, 13},
    // "&&" shows one ampersand; the program, not the button, sets its value.
    {kToggle, L"BUTTON", L"Toggle CPU && MB Temps", BS_3STATE | WS_GROUP | WS_TABSTOP, 46, 64, 142,
     13},
    {kLabel3, L"STATIC", L"Tervane Lite \u00B7 CPU temperature in your tray",
     SS_CENTER | SS_NOPREFIX | WS_GROUP, 0, 0, 231, 15},
};

// The tray menu: a hidden top-level menu whose one popup holds Exit.
inline constexpr wchar_t kMenuTopCaption[] = L"OK";
inline constexpr wchar_t kMenuExitCaption[] = L"Exit Tervane Lite";
inline constexpr UINT kMenuExitId = 1001;

}  // namespace tervane::win32::layout
