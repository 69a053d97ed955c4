// The notification-area icon and the program's icon resources.

#include "platform/win32/win32_desktop.h"

#include <shellapi.h>

#include <iterator>

namespace tervane::win32 {
namespace {

HICON toHicon(IconHandle icon) noexcept { return reinterpret_cast<HICON>(icon); }
IconHandle fromHicon(HICON icon) noexcept { return reinterpret_cast<IconHandle>(icon); }

NOTIFYICONDATAW notifyIconData(const TrayRecord& record, HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = record.id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = toHicon(record.icon);
    // The record's fixed field holds the text, a NUL, then padding.
    const std::wstring_view tip = std::wstring_view(record.tip).substr(0, record.tip.find(L'\0'));
    tip.copy(data.szTip, std::size(data.szTip) - 1);
    return data;
}

}  // namespace

bool Win32Desktop::trayAdd(const TrayRecord& record) {
    NOTIFYICONDATAW data = notifyIconData(record, form_.handle());
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool Win32Desktop::trayModify(const TrayRecord& record, bool pictureChanged) {
    NOTIFYICONDATAW data = notifyIconData(record, form_.handle());
    if (!pictureChanged) data.uFlags &= ~static_cast<UINT>(NIF_ICON);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32Desktop::trayDelete(const TrayRecord& record) {
    NOTIFYICONDATAW data = notifyIconData(record, form_.handle());
    Shell_NotifyIconW(NIM_DELETE, &data);
}

IconHandle Win32Desktop::loadIcon(int id) {
    return fromHicon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0)));
}

void Win32Desktop::destroyIcon(IconHandle icon) { DestroyIcon(toHicon(icon)); }

// The small image of the class icon: the size the tray shows.
IconHandle Win32Desktop::formIcon() { return fromHicon(form_.smallIcon()); }

}  // namespace tervane::win32
