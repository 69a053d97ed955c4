#pragma once
// The user's input, held back while the wake clicks. The program's event
// handlers see whether it is held: meanwhile nothing may go modal or wait on
// another program, for the user could neither answer nor close it.

#include "platform/desktop.h"

namespace tervane::monitor {

class HeldInput {
  public:
    HeldInput(OtherWindows& windows, SyntheticInput& input) : windows_(windows), input_(input) {}
    HeldInput(const HeldInput&) = delete;
    HeldInput& operator=(const HeldInput&) = delete;

    bool held() const { return held_; }
    // Frees the input now and puts the cursor back where it was (the session
    // ends while it is held); nothing when it is not held.
    void release() noexcept;

  private:
    friend class InputHold;
    void hold(WindowHandle monitor);

    OtherWindows& windows_;
    SyntheticInput& input_;
    bool held_ = false;
    Point savedCursor_;
};

// Holds the user's input for its lifetime, in the monitor's own coordinates;
// on the way out, whatever the way, frees it and puts the cursor back.
class InputHold {
  public:
    InputHold(HeldInput& input, WindowHandle monitor) : input_(input) { input_.hold(monitor); }
    ~InputHold() { input_.release(); }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

  private:
    HeldInput& input_;
};

}  // namespace tervane::monitor
