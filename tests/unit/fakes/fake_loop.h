#pragma once
// The message loop as a test scripts it: a clock that moves only while the
// program waits, user events that arrive during a pump at a given time, and
// the form's timers as set. A program that waits on while an event waits to
// be served fails.

#include <functional>
#include <map>
#include <vector>

#include "fakes/call_log.h"
#include "platform/desktop.h"

namespace tervane::fake {

class FakeMessageLoop : public MessageLoop {
  public:
    explicit FakeMessageLoop(CallLog& log) : log_(log) {}

    // Runs the action in the first pump at or after the given time; its
    // arrival ends any wait.
    void at(Millis when, std::function<void()> action);
    // The same for a change of other programs' windows, which ends a wait only
    // while the program watches them.
    void atWindowChange(Millis when, std::function<void()> action);
    // Another program's window changed now (the foreground, say).
    void windowChanged();

    Millis clock{0};
    long pumps = 0;
    long waits = 0;
    bool watching = false;
    std::map<TimerId, Millis> timers;  // running timers and their intervals

    Millis now() override { return clock; }
    void pumpMessages() override;
    void waitForMessage(Millis timeout) override;
    void watchOtherWindows(bool on) override;
    void setTimer(TimerId timer, Millis interval) override;

  private:
    struct Scheduled {
        Millis when;
        std::function<void()> action;
        bool windowChange = false;
    };
    CallLog& log_;
    std::vector<Scheduled> scheduled_;
    bool changeQueued_ = false;    // seen while watching, not yet waited on
    bool waitedWhileDue_ = false;  // since the last pump, with an event waiting
};

}  // namespace tervane::fake
