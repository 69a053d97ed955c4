#pragma once
// Form1: the options window and the application shell around it. The adapter
// creates the window, hands its events here, then runs load(); the program's
// message loop runs until the form is destroyed.

#include <string>

#include "monitor/wake_sequence.h"
#include "platform/desktop.h"
#include "platform/waits.h"
#include "readout/icon_cache.h"
#include "readout/tray_icon.h"
#include "readout/update_tick.h"

namespace tervane::app {

inline constexpr std::wstring_view kFirstTip = L"Tervane Lite By Dravel";
inline constexpr std::wstring_view kNotSupported = L"notsupported";
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

struct StartupTiming {
    Millis searchLimit{30'000};
    // The search is woken when other windows come and go; the poll only backs
    // that up.
    Millis searchPoll{250};
    Millis afterLaunch{2'000};
    Millis afterFound{1'000};
    Millis tickInterval{1'000};
    monitor::WakeTiming wake;
};

class Form1 : public FormEvents {
  public:
    explicit Form1(Desktop& desktop, StartupTiming timing = {});
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The start-up sequence (the form's load event).
    void load();
    // True once the form has been unloaded, or start-up refused a second copy:
    // the program's message loop ends then.
    bool ended() const { return ended_; }

    // FormEvents
    void onMouseMove(const MouseMove& move) override;
    void onTimer(TimerId timer) override;
    void onCloseRequest() override;
    void onResize() override;
    void onOptionClicked(int index) override;
    void onToggleClicked() override;
    void onTaskbarCreated() override;

    // State the tests look at.
    const std::wstring& probePath() const { return probePath_; }
    WindowHandle probe() const { return tick_.probe; }
    bool exitRequested() const { return exitRequested_; }
    const readout::TickState& tickState() const { return tick_; }
    const readout::TrayIcon& tray() const { return tray_; }
    std::size_t loadedIcons() const { return icons_.size(); }

  private:
    void startUp();
    void searchForMonitor();
    void failStartup(std::wstring_view message);
    void timer1Timer();
    void mnuExitClick();
    // The one road out: an unload goes through only once an exit was asked for.
    void unload();
    void formUnload();

    Desktop& desktop_;
    StartupTiming timing_;
    Waits waits_;
    std::wstring probePath_;
    bool exitRequested_ = false;
    bool settingsRestored_ = false;
    bool unloaded_ = false;
    bool ended_ = false;
    readout::TickState tick_;
    readout::IconCache icons_;
    readout::TrayIcon tray_;
};

}  // namespace tervane::app
