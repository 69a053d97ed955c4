#pragma once
// One owner per OS handle: std::unique_ptr over the handle type itself, with
// the API call that gives the handle back as its deleter.

#include <windows.h>

#include <memory>

namespace tervane::win32 {

template <class Handle, auto Release>
struct ReleaseHandle {
    using pointer = Handle;
    void operator()(Handle handle) const noexcept { Release(handle); }
};

template <class Handle, auto Release>
using Owned = std::unique_ptr<Handle, ReleaseHandle<Handle, Release>>;

inline void releaseScreenDc(HDC dc) noexcept { ReleaseDC(nullptr, dc); }

using OwnedIcon = Owned<HICON, &DestroyIcon>;
using OwnedKey = Owned<HKEY, &RegCloseKey>;
using OwnedKernelHandle = Owned<HANDLE, &CloseHandle>;
using OwnedMenu = Owned<HMENU, &DestroyMenu>;
using OwnedBrush = Owned<HBRUSH, &DeleteObject>;
using OwnedFont = Owned<HFONT, &DeleteObject>;
using OwnedScreenDc = Owned<HDC, &releaseScreenDc>;
using OwnedWinEventHook = Owned<HWINEVENTHOOK, &UnhookWinEvent>;

}  // namespace tervane::win32
