#pragma once
// The program's one icon in the notification area: its record, and the add,
// change and remove calls. An add the shell does not take (it is not ready
// yet, or it restarted) is tried again until it succeeds; a change the shell
// refuses because it lost the icon adds it again. A change that would leave
// the icon as the shell shows it is not sent: under Wine each change is a
// round trip to the shell that costs more than the rest of a tick.

#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tervane::readout {

inline constexpr std::size_t kTipField = 64;
inline constexpr Millis kTrayRetryInterval{1000};

// The tip field: the text, one NUL, then spaces to 64 characters (or cut).
std::wstring tipField(std::wstring_view text);

class TrayIcon {
  public:
    explicit TrayIcon(Desktop& desktop) : desktop_(desktop) {}

    void add(IconHandle icon, std::wstring_view tip);
    void change(IconHandle icon, std::wstring_view tip);
    void remove();
    // The retry timer fired, or the shell announced that it restarted.
    void retryAdd();
    void shellRestarted();

    const TrayRecord& record() const { return record_; }
    bool shown() const { return added_; }

  private:
    void tryAdd();

    Desktop& desktop_;
    TrayRecord record_;
    bool added_ = false;
    bool retrying_ = false;
    bool removed_ = false;
    TrayRecord shown_;  // what the shell last took
};

}  // namespace tervane::readout
