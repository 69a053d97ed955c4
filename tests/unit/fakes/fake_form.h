#pragma once
// The options window, Form1, as the platform keeps it: shown or hidden, normal
// or minimized, its place in the normal state, its two options, the tray menu
// it pops up; and the message boxes it owns, answered as they are shown.

#include <functional>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/desktop.h"

namespace tervane::fake {

class FakeOptionsWindow : public OptionsWindow {
  public:
    explicit FakeOptionsWindow(CallLog& log) : log_(log) {}

    static constexpr WindowHandle kWindow = 0xF0;
    static constexpr IconHandle kIcon = 1;

    // Told of a change of state, as the platform sends a resize.
    FormEvents* events = nullptr;
    bool visible = false;
    bool destroyed = false;
    FormState state = FormState::Normal;
    Point position{4, -97};  // in the normal state, whatever the state now
    Size outerSize{239, 126};
    Size screen{1024, 768};
    bool white = false;
    int toggle = 0;
    MenuChoice menuAnswer = MenuChoice::None;
    int menusShown = 0;

    WindowHandle formWindow() override {
        log_.record(Call::FormWindow);
        return kWindow;
    }
    IconHandle formIcon() override {
        log_.record(Call::FormIcon);
        return kIcon;
    }
    void showForm() override;
    void hideForm() override;
    FormState formState() override {
        log_.record(Call::FormState);
        return state;
    }
    void setFormState(FormState newState) override;
    Size restoredFormSize() override;
    Size screenSize() override {
        log_.record(Call::ScreenSize);
        return screen;
    }
    void placeRestoredForm(Point topLeft) override;
    MenuChoice popupTrayMenu() override;
    bool whiteSelected() override {
        log_.record(Call::WhiteSelected);
        return white;
    }
    void setWhiteSelected(bool isWhite) override;
    int toggleValue() override {
        log_.record(Call::ToggleValue);
        return toggle;
    }
    void setToggleValue(int value) override;
    void destroyForm() override;

  private:
    CallLog& log_;
};

struct ShownBox {
    std::wstring text;
    std::uint32_t flags = 0;
    Millis at{0};
};

class FakeMessageBoxes : public MessageBoxes {
  public:
    FakeMessageBoxes(CallLog& log, const Millis& clock) : log_(log), clock_(clock) {}

    std::vector<ShownBox> shown;
    // Called as each box is shown (the user reads it, then presses OK).
    std::function<void(const ShownBox&)> onShown;

    void messageBox(std::wstring_view text, std::uint32_t flags) override;

  private:
    CallLog& log_;
    const Millis& clock_;
};

}  // namespace tervane::fake
