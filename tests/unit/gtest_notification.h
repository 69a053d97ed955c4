#pragma once
// GoogleTest's Notification (a thread waits until told to start) for the
// 32-bit Windows build: mingw-w64's win32-thread runtime has no std::mutex
// before GCC 13, which GoogleTest's own builds it on. Forced ahead of every
// source that includes GoogleTest, with GTEST_HAS_NOTIFICATION_; its one
// definition goes where GoogleTest uses it, in its own sources.

namespace testing::internal {
class Notification;
}  // namespace testing::internal

#ifdef TERVANE_GTEST_NOTIFICATION_DEFINITION
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace testing::internal {

// A manual-reset event: once set, every wait returns at once.
class Notification {
  public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

}  // namespace testing::internal
#endif
