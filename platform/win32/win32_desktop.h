#pragma once
// Every role of the seam over user32, shell32, advapi32 and gdi32: each call
// is a few lines of API. The members are defined by purpose in
// win32_desktop_{windows,system,tray,form}.cpp.

#include <windows.h>

#include <map>

#include "platform/desktop.h"
#include "platform/win32/form_window.h"
#include "platform/win32/handles.h"

namespace tervane::win32 {

class Win32Desktop final : public OtherWindows,
                           public WindowRequests,
                           public SyntheticInput,
                           public Machine,
                           public MessageLoop,
                           public Tray,
                           public MessageBoxes,
                           public OptionsWindow {
  public:
    // Takes the single-instance token, then creates Form1's window, hidden.
    Win32Desktop();

    Desktop roles() noexcept { return {*this, *this, *this, *this, *this, *this, *this, *this}; }

    // Routes the window's events to the program for as long as the returned
    // object lives.
    class Attachment {
      public:
        explicit Attachment(FormWindow& form) noexcept : form_(form) {}
        ~Attachment() { form_.attach(nullptr); }
        Attachment(const Attachment&) = delete;
        Attachment& operator=(const Attachment&) = delete;

      private:
        FormWindow& form_;
    };
    [[nodiscard]] Attachment attach(FormEvents& events) noexcept;

    // One message of the program's message loop.
    void dispatch(MSG& message) noexcept { form_.dispatch(message); }

    // OtherWindows
    WindowHandle findWindow(std::wstring_view className, std::wstring_view title) override;
    void forEachDescendant(WindowHandle parent,
                           const std::function<bool(WindowHandle)>& visit) override;
    std::wstring windowText(WindowHandle window) override;
    WindowHandle foregroundWindow() override;
    std::optional<WindowState> windowState(WindowHandle window) override;
    std::optional<Rect> windowRect(WindowHandle window) override;
    WindowHandle windowAt(Point point) override;

    // WindowRequests
    void setForegroundWindow(WindowHandle window) override;
    void showWindow(WindowHandle window, ShowCommand command) override;
    void setTopmost(WindowHandle window, bool onTop) override;
    void askForAnswer(WindowHandle window) override;
    bool answered(WindowHandle window) override;
    bool useCoordinatesOf(WindowHandle window) override;
    void useOwnCoordinates() override;

    // SyntheticInput
    Point cursorPos() override;
    void moveCursor(Point point) override;
    bool buttonsSwapped() override;
    void press(Point point, MouseButton button) override;
    bool userPressing() override;
    void blockInput(bool block) override;

    // Machine
    std::optional<std::wstring> readMachineString(std::wstring_view keyPath,
                                                  std::wstring_view valueName) override;
    std::optional<std::uint32_t> fileAttributes(std::wstring_view path) override;
    void launch(std::wstring_view executablePath, std::wstring_view workingFolder) override;
    std::optional<std::wstring> readSetting(std::wstring_view app, std::wstring_view section,
                                            std::wstring_view key) override;
    bool writeSetting(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                      std::wstring_view value) override;
    SingleInstance singleInstance() override;

    // MessageLoop
    Millis now() override;
    void pumpMessages() override;
    void waitForMessage(Millis timeout) override;
    void watchOtherWindows(bool on) override;
    void setTimer(TimerId timer, Millis interval) override;

    // Tray
    bool trayAdd(const TrayRecord& record) override;
    bool trayModify(const TrayRecord& record, bool pictureChanged) override;
    void trayDelete(const TrayRecord& record) override;
    IconHandle loadIcon(int id) override;
    void destroyIcon(IconHandle icon) override;

    // MessageBoxes
    void messageBox(std::wstring_view text, std::uint32_t flags) override;

    // OptionsWindow
    WindowHandle formWindow() override;
    IconHandle formIcon() override;
    void showForm() override;
    void hideForm() override;
    FormState formState() override;
    void setFormState(FormState state) override;
    Size restoredFormSize() override;
    Size screenSize() override;
    void placeRestoredForm(Point topLeft) override;
    MenuChoice popupTrayMenu() override;
    bool whiteSelected() override;
    void setWhiteSelected(bool white) override;
    int toggleValue() override;
    void setToggleValue(int value) override;
    void destroyForm() override;

  private:
    OwnedKernelHandle singleInstanceToken_;
    SingleInstance singleInstance_;  // read just after the token was asked for
    FormWindow form_;
    OwnedWinEventHook windowWatch_;
    OwnedWinEventHook foregroundWatch_;
    struct Answers {
        unsigned asked = 0;
        unsigned received = 0;  // counted by the reply's callback: the node does not move
    };
    std::map<WindowHandle, Answers> answers_;
    DPI_AWARENESS_CONTEXT ownCoordinates_ = nullptr;  // while another window's are used
};

// Conversions between the seam's handles and the platform's.
inline HWND toHwnd(WindowHandle window) noexcept { return reinterpret_cast<HWND>(window); }
inline WindowHandle fromHwnd(HWND window) noexcept {
    return reinterpret_cast<WindowHandle>(window);
}

}  // namespace tervane::win32
