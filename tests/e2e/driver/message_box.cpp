#include "message_box.h"

#include "wait.h"
#include "window_query.h"

namespace e2e {
namespace {

constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x440;

}  // namespace

std::vector<MessageBoxView> messageBoxes(DWORD processId) {
    std::vector<MessageBoxView> boxes;
    for (const HWND window : topLevelWindows()) {
        if (className(window) != L"#32770" || !IsWindowVisible(window)) continue;
        if (processId != 0 && processOf(window) != processId) continue;
        MessageBoxView box;
        box.window = window;
        box.seen = GetTickCount64();
        box.title = windowText(window);
        if (const HWND text = GetDlgItem(window, kTextId)) box.text = windowText(text);
        // Wine keeps the icon's Static in a box without an icon, holding none.
        if (const HWND icon = GetDlgItem(window, kIconId)) {
            DWORD_PTR shown = 0;
            SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &shown);
            box.hasIcon = shown != 0;
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

std::optional<MessageBoxView> waitForMessageBox(DWORD processId, Millis timeout) {
    std::optional<MessageBoxView> found;
    waitUntil(
        [&] {
            const auto boxes = messageBoxes(processId);
            if (!boxes.empty()) found = boxes.front();
            return found.has_value();
        },
        timeout);
    return found;
}

bool pressOk(const MessageBoxView& box) {
    const HWND ok = GetDlgItem(box.window, IDOK);
    if (!ok) return false;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return waitUntil([&] { return !IsWindow(box.window); }, 5s);
}

}  // namespace e2e
