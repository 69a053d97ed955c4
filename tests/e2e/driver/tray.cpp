#include "tray.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "wait.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr std::size_t kTipCapacity = 1024;  // characters

struct CloseHandleDeleter {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, CloseHandleDeleter>;

// Memory in another process, given back when this goes away.
class RemoteMemory {
  public:
    RemoteMemory(HANDLE process, std::size_t size)
        : process_(process),
          address_(
              VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    void* address() const { return address_; }

  private:
    HANDLE process_;
    void* address_;
};

bool endsWith(std::wstring_view text, std::wstring_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Runs one tooltip request in the tooltip's own process: a tool record for
// the icon window (filled in by the request, if it writes one back) and a
// text buffer it points to. Returns the record and text as they came back.
struct ToolReply {
    TTTOOLINFOW tool{};
    std::wstring text;
};

std::optional<ToolReply> askTooltip(HWND tooltip, UINT message, WPARAM wParam, HWND iconWindow) {
    const UniqueHandle process(OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processOf(tooltip)));
    if (!process) return std::nullopt;
    const std::size_t textOffset = sizeof(TTTOOLINFOW);
    const std::size_t textBytes = kTipCapacity * sizeof(wchar_t);
    const RemoteMemory remote(process.get(), textOffset + textBytes);
    if (!remote.address()) return std::nullopt;
    auto* remoteText = static_cast<char*>(remote.address()) + textOffset;

    ToolReply reply;
    reply.tool.cbSize = sizeof reply.tool;
    reply.tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    reply.tool.hwnd = iconWindow;
    reply.tool.uId = reinterpret_cast<UINT_PTR>(iconWindow);
    reply.tool.lpszText = reinterpret_cast<LPWSTR>(remoteText);
    reply.text.assign(kTipCapacity, L'\0');
    DWORD_PTR result = 0;
    if (!WriteProcessMemory(process.get(), remote.address(), &reply.tool, sizeof reply.tool,
                            nullptr) ||
        !WriteProcessMemory(process.get(), remoteText, reply.text.data(), textBytes, nullptr) ||
        !SendMessageTimeoutW(tooltip, message, wParam, reinterpret_cast<LPARAM>(remote.address()),
                             SMTO_ABORTIFHUNG, 2000, &result) ||
        !ReadProcessMemory(process.get(), remote.address(), &reply.tool, sizeof reply.tool,
                           nullptr) ||
        !ReadProcessMemory(process.get(), remoteText, reply.text.data(), textBytes, nullptr)) {
        return std::nullopt;
    }
    reply.text.resize(std::min(reply.text.find(L'\0'), reply.text.size()));
    return reply;
}

bool isTrayClass(HWND window) { return className(window).find(L"tray") != std::wstring::npos; }

}  // namespace

std::vector<TrayIcon> trayIcons() {
    std::vector<TrayIcon> icons;
    for (const HWND window : topLevelWindows()) {
        if (className(window) != TOOLTIPS_CLASSW) continue;
        // Owned by the icon window, or by the tray window the icon sits in.
        const HWND owner = GetWindow(window, GW_OWNER);
        if (!owner || !isTrayClass(owner)) continue;
        const auto first = askTooltip(window, TTM_ENUMTOOLSW, 0, nullptr);
        if (!first) continue;
        const auto icon = reinterpret_cast<HWND>(first->tool.uId);
        if (IsWindow(icon) && endsWith(className(icon), L"tray_icon")) {
            icons.push_back({icon, window});
        }
    }
    return icons;
}

std::optional<std::wstring> trayTip(const TrayIcon& icon) {
    const auto reply = askTooltip(icon.tooltip, TTM_GETTEXTW, kTipCapacity, icon.icon);
    if (!reply) return std::nullopt;
    return reply->text;
}

std::optional<TrayIcon> trayIconWithTip(std::wstring_view tip) {
    for (const auto& icon : trayIcons()) {
        if (trayTip(icon) == tip) return icon;
    }
    return std::nullopt;
}

std::optional<TrayIcon> waitForTrayTip(std::wstring_view tip, Millis timeout) {
    std::optional<TrayIcon> icon;
    waitUntil([&] { return (icon = trayIconWithTip(tip)).has_value(); }, timeout);
    return icon;
}

std::uint64_t trayPicture(const TrayIcon& icon) {
    const auto rect = windowRect(icon.icon);
    return rect ? screenFingerprint(*rect) : 0;
}

void postDoubleClick(const TrayIcon& icon) {
    PostMessageW(icon.icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8));
}

void postRightButtonUp(const TrayIcon& icon) {
    PostMessageW(icon.icon, WM_RBUTTONUP, 0, MAKELPARAM(8, 8));
}

}  // namespace e2e
