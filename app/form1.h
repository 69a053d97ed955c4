#pragma once
// Form1: the options window and the application shell around it. The adapter
// creates the window, hands its events here, then runs load(); the program's
// message loop runs until the form has ended.
//
// Where things live: start-up (load() and its steps, the waits' lengths, the
// tick's interval) in app/startup.cpp, the handlers and the exit in
// app/form1.cpp; the options' storage in app/settings.h; one tick in
// readout/update_tick.h; the tip's text and the picture's choice in
// readout/readout.h; the tray record and its calls in readout/tray_icon.h.

#include <string>

#include "base/waits.h"
#include "monitor/input_hold.h"
#include "platform/desktop.h"
#include "readout/icon_cache.h"
#include "readout/tray_icon.h"
#include "readout/update_tick.h"

namespace tervane::app {

inline constexpr std::wstring_view kFirstTip = L"Tervane Lite By Dravel";
inline constexpr std::wstring_view kAlreadyRunning = L"A copy of Tervane Lite is already running!";
inline constexpr std::wstring_view kNotFound = L"Unable to find 'Asus Probe 2'";
inline constexpr std::wstring_view kNotWoken =
    L"Unable to initialize PC Probe! Close PC Probe and try again";
inline constexpr std::uint32_t kInformationBox =
    mb::Ok | mb::IconInformation | mb::SystemModal | mb::SetForeground;
inline constexpr std::uint32_t kStopBox =
    mb::Ok | mb::IconStop | mb::SystemModal | mb::SetForeground;

// Mouse messages the tray's callback brings.
inline constexpr int kTrayDoubleClick = 515;
inline constexpr int kTrayRightButtonUp = 517;

// Form1's life. Its handlers act only while it starts or is resident.
enum class Phase {
    Starting,   // start-up runs; the stored options are not restored yet
    Resident,   // the options are restored: the tick and the tray run from here
    Unloading,  // an exit was asked for; the unload runs
    Ended,      // unloaded, or refused as a second copy
};

class Form1 : public FormEvents {
  public:
    explicit Form1(const Desktop& desktop);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The start-up sequence (the form's load event).
    void load();
    // The program's message loop ends then.
    bool ended() const { return phase_ == Phase::Ended; }

    // FormEvents
    void onMouseMove(const MouseMove& move) override;
    void onTimer(TimerId timer) override;
    void onCloseRequest() override;
    void onResize() override;
    void onOptionClicked() override;
    void onToggleClicked() override;
    void onTaskbarCreated() override;
    void onSessionEnd(bool ending) override;

  private:
    bool handlesEvents() const { return phase_ == Phase::Starting || phase_ == Phase::Resident; }
    void afterPump();
    void openTrayMenu();
    void showOptions();
    void takeUpPutOff();
    void startUp();
    void searchForMonitor();
    void failStartup(std::wstring_view message);
    void minimizeToTray();
    void timer1Timer();
    // The one road out: an exit was asked for, so the unload goes through.
    void exitProgram();
    void formUnload();
    void storeToggle() noexcept;

    // While the wake holds the user's input nothing may go modal or wait on
    // the shell: what events would do so is put off, and taken up after the
    // first pump with the input free again.
    struct PutOff {
        bool menu = false;
        bool options = false;
        bool shellRestart = false;
        bool trayRetry = false;
    };

    Desktop desktop_;
    Phase phase_ = Phase::Starting;
    // The options were restored and the check box's state is not stored yet:
    // before that, the check box holds only its state at start.
    bool toggleToStore_ = false;
    monitor::HeldInput heldInput_;
    PutOff putOff_;
    Waits waits_;
    readout::TickState tick_;
    readout::IconCache icons_;
    readout::TrayIcon tray_;
};

}  // namespace tervane::app
