#include "wait.h"

namespace e2e {
namespace {

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Sleeps until the handle (if any) is signalled, a message arrives, or the time is up.
void sleepServing(HANDLE handle, Millis duration) {
    const DWORD count = handle ? 1 : 0;
    MsgWaitForMultipleObjectsEx(count, handle ? &handle : nullptr,
                                static_cast<DWORD>(duration.count()), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    pumpMessages();
}

}  // namespace

bool waitUntil(const std::function<bool()>& ready, Millis timeout, Millis poll) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pumpMessages();
        if (ready()) return true;
        const auto left =
            std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) return false;
        sleepServing(nullptr, std::min(poll, left));
    }
}

bool waitForHandle(HANDLE handle, Millis timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return true;
        const auto left =
            std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) return false;
        sleepServing(handle, left);
    }
}

void pauseFor(Millis duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) return;
        sleepServing(nullptr, left);
    }
}

}  // namespace e2e
