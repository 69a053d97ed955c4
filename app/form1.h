#pragma once
// Form1: the options window and the application shell around it. The adapter
// creates the window, hands its events here, then runs load(); the program's
// message loop runs until the form is destroyed.

#include "platform/desktop.h"

namespace tervane::app {

class Form1 : public FormEvents {
  public:
    explicit Form1(Desktop& desktop);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The start-up sequence (the form's load event).
    void load();
    // True once the form has been unloaded, or start-up refused a second copy:
    // the program's message loop ends then.
    bool ended() const;

    // FormEvents
    void onMouseMove(int x) override;
    void onTimer(TimerId timer) override;
    void onCloseRequest() override;
    void onResize() override;
    void onOptionClicked(int index) override;
    void onToggleClicked() override;
    void onTaskbarCreated() override;

  private:
    struct State;
    State* state_;
};

}  // namespace tervane::app
