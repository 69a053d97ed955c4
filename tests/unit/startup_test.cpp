#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/form1.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_monitor.h"

namespace tervane {
namespace {

using fake::Call;
using fake::FakeMonitor;
using fake::TrayOp;

const std::wstring kFolder = L"C:\\Program Files\\Monitor";
const std::wstring kExpectedTip = L"CPU:45\u00B0C  MB:38\u00B0C  F1:2410    F2:0       F3:1820    ";

struct Startup : testing::Test, fake::FormOnFake {
    void load() { form.load(); }
    // The monitor installed and running.
    FakeMonitor running(Rect rect = FakeMonitor::kDefaultRect) {
        fake::installMonitor(desktop.machine, kFolder);
        return FakeMonitor(desktop.windows, rect);
    }
    // The monitor installed and stopped: launched, its window comes this late.
    void stopped(Millis windowAfterLaunch) {
        fake::installMonitor(desktop.machine, kFolder);
        desktop.machine.onLaunch = [this, windowAfterLaunch](const fake::Launch&) {
            desktop.loop.atWindowChange(desktop.loop.clock + windowAfterLaunch,
                                        [this] { appeared.emplace(desktop.windows); });
        };
    }
    Millis clockAtBox(std::size_t n) const { return desktop.boxes.shown.at(n).at; }
    std::optional<FakeMonitor> appeared;  // the monitor, once its window came
};

TEST_F(Startup, WithTheMonitorRunningNothingIsLaunchedTheFirstIconIsTheFormsThenReadingsAtOnce) {
    running();
    desktop.machine.setSetting(L"TrayColor", L"True");
    load();

    EXPECT_TRUE(desktop.machine.launches.empty());
    EXPECT_TRUE(desktop.boxes.shown.empty());
    EXPECT_EQ(desktop.input.clicks.size(), 6u);
    // One second after the window was found; no two-second launch wait.
    EXPECT_GE(desktop.loop.clock, Millis{1000});
    EXPECT_LT(desktop.loop.clock, Millis{1400});
    EXPECT_EQ(desktop.tray.tipText(), kExpectedTip);
    EXPECT_EQ(fake::FakeTray::iconId(desktop.tray.shown.icon), 145);  // white restored first
    EXPECT_EQ(desktop.loop.timers.at(TimerId::Tick), Millis{1000});
    EXPECT_FALSE(desktop.form.visible);
    EXPECT_EQ(desktop.form.state, FormState::Minimized);
    EXPECT_EQ(desktop.form.position, (Point{(1024 - 239) / 2, (768 - 126) / 2}));
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"<absent>");

    // The first picture is the form's own icon with the fixed tip.
    const auto& add = desktop.tray.trayCalls.front();
    EXPECT_EQ(add.op, TrayOp::Add);
    EXPECT_EQ(add.record.icon, fake::FakeOptionsWindow::kIcon);
    EXPECT_EQ(add.record.id, 2u);
    EXPECT_EQ(add.record.callbackMessage, 512u);
    EXPECT_EQ(add.record.tip.substr(0, 23), std::wstring(L"Tervane Lite By Dravel") + L'\0');
    EXPECT_EQ(add.record.tip.size(), 64u);
    // The form is shown before the icon is added.
    const auto shown =
        std::find(desktop.log.calls.begin(), desktop.log.calls.end(), Call::ShowForm);
    const auto added = std::find(desktop.log.calls.begin(), desktop.log.calls.end(), Call::TrayAdd);
    EXPECT_LT(shown, added);
}

TEST_F(Startup, AStoppedMonitorIsLaunchedByFullPathAndSearchedForAfterTwoSeconds) {
    stopped(Millis{500});
    Millis firstSearchAfterLaunch{-1};
    desktop.log.beforeCall = [&](Call call) {
        if (call == Call::FindWindow && !desktop.machine.launches.empty() &&
            firstSearchAfterLaunch.count() < 0)
            firstSearchAfterLaunch = desktop.loop.clock;
    };
    load();

    ASSERT_EQ(desktop.machine.launches.size(), 1u);
    EXPECT_EQ(desktop.machine.launches[0].path, kFolder + L"\\AsusProb.exe");
    EXPECT_EQ(desktop.machine.launches[0].folder, kFolder);
    EXPECT_EQ(firstSearchAfterLaunch, Millis{2000});
    EXPECT_EQ(desktop.input.clicks.size(), 6u);
    EXPECT_EQ(desktop.tray.tipText(), kExpectedTip);
    EXPECT_FALSE(form.ended());
}

TEST_F(Startup, AWindowThatOpensDuringTheSearchIsTakenWithinTensOfMilliseconds) {
    fake::installMonitor(desktop.machine, kFolder);
    desktop.loop.atWindowChange(Millis{12'345}, [&] { appeared.emplace(desktop.windows); });
    Millis wakeStarted{-1};
    desktop.log.beforeCall = [&](Call call) {
        if (call == Call::ForegroundWindow && wakeStarted.count() < 0)
            wakeStarted = desktop.loop.clock;
    };
    load();
    // Found at once (the search is woken by the window), then the one-second
    // wait, then the wake. Nothing watches other windows once it is found.
    EXPECT_GE(wakeStarted, Millis{13'345});
    EXPECT_LT(wakeStarted, Millis{13'345 + 50});
    EXPECT_FALSE(desktop.loop.watching);
}

TEST_F(Startup, NoMonitorAndNoInstallFolderFailsAtOnce) {
    load();
    ASSERT_EQ(desktop.boxes.shown.size(), 2u);
    EXPECT_EQ(desktop.boxes.shown[0].text, L"");  // the lookup's own message
    EXPECT_EQ(desktop.boxes.shown[1].text, L"Unable to find 'Asus Probe 2'");
    EXPECT_EQ(desktop.boxes.shown[1].flags, 0x11010u);
    EXPECT_EQ(clockAtBox(1), Millis{0});  // no launch, no search
    EXPECT_TRUE(desktop.machine.launches.empty());
    EXPECT_FALSE(desktop.tray.present);
    EXPECT_EQ(desktop.log.count(Call::TrayDelete), 1);
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(desktop.form.destroyed);
    EXPECT_TRUE(desktop.machine.settings.empty());  // the stored Toggle is not touched
}

TEST_F(Startup, ALaunchedMonitorThatNeverAppearsFailsAfterThirtySecondsOfSearching) {
    fake::installMonitor(desktop.machine, kFolder);
    desktop.machine.setSetting(L"Toggle", L"1");
    load();
    ASSERT_EQ(desktop.boxes.shown.size(), 1u);
    EXPECT_EQ(desktop.boxes.shown[0].text, L"Unable to find 'Asus Probe 2'");
    EXPECT_GE(clockAtBox(0), Millis{32'000});
    EXPECT_LT(clockAtBox(0), Millis{32'100});
    // Looked up on every pass, without spinning.
    EXPECT_GT(desktop.log.count(Call::FindWindow), 30'000 / 500);
    EXPECT_LT(desktop.log.count(Call::FindWindow), 30'000 / 100);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"1");
}

TEST_F(Startup, AMonitorThatCannotBeWokenIsReportedAndLeftTopmost) {
    FakeMonitor monitor = running();
    desktop.windows.refuseForeground = true;
    load();
    ASSERT_EQ(desktop.boxes.shown.size(), 1u);
    EXPECT_EQ(desktop.boxes.shown[0].text,
              L"Unable to initialize PC Probe! Close PC Probe and try again");
    EXPECT_EQ(desktop.boxes.shown[0].flags, 0x11010u);
    EXPECT_TRUE(desktop.input.clicks.empty());
    desktop.loop.clock += Millis{1'000};  // the monitor has taken what it was asked
    EXPECT_TRUE(desktop.windows.window(monitor.main()).topmost);
    EXPECT_TRUE(form.ended());
    EXPECT_FALSE(desktop.tray.present);
}

TEST_F(Startup, ASecondCopyIsRefusedBeforeAnythingShowsWhateverKeptItFromTheToken) {
    // Held by another copy; held by one running elevated, which this copy may
    // not even open; or not to be had at all: never two copies.
    for (const auto outcome :
         {SingleInstance::AlreadyTaken, SingleInstance::AccessDenied, SingleInstance::Failed}) {
        fake::FormOnFake copy;
        auto& second = copy.desktop;
        second.machine.singleInstanceOutcome = outcome;
        FakeMonitor monitor(second.windows);
        copy.form.load();
        ASSERT_EQ(second.boxes.shown.size(), 1u);
        EXPECT_EQ(second.boxes.shown[0].text, L"A copy of Tervane Lite is already running!");
        EXPECT_EQ(second.boxes.shown[0].flags, 0x11040u);
        EXPECT_TRUE(copy.form.ended());
        EXPECT_EQ(second.log.count(Call::ShowForm), 0);
        EXPECT_TRUE(second.tray.trayCalls.empty());
        EXPECT_EQ(second.log.count(Call::WriteSetting), 0);
        EXPECT_TRUE(second.input.clicks.empty());
    }
}

TEST_F(Startup, AWindowClosedDuringStartUpIsHiddenStartUpGoesOnAndTheTrayBringsItBackCentred) {
    stopped(Millis{2500});
    desktop.loop.at(Millis{500}, [&] { form.onCloseRequest(); });  // in the launch wait
    load();
    ASSERT_FALSE(form.ended());
    EXPECT_EQ(desktop.input.clicks.size(), 6u);
    EXPECT_EQ(desktop.loop.timers.at(TimerId::Tick), Millis{1000});
    EXPECT_FALSE(desktop.form.visible);
    form.onMouseMove(fake::trayCallback(515));
    EXPECT_TRUE(desktop.form.visible);
    EXPECT_EQ(desktop.form.state, FormState::Normal);
    EXPECT_EQ(desktop.form.position, (Point{(1024 - 239) / 2, (768 - 126) / 2}));
}

TEST(StartupEnd, ExitOrTheSessionsEndDuringAWaitStopsStartUpThereWritingNothing) {
    for (const bool sessionEnds : {false, true}) {
        fake::FormOnFake started;
        auto& [desktop, form] = started;
        fake::installMonitor(desktop.machine, kFolder);
        desktop.machine.setSetting(L"Toggle", L"2");
        desktop.form.menuAnswer = MenuChoice::Exit;
        desktop.loop.at(Millis{1000}, [&] { form.onSessionEnd(false); });  // called off
        desktop.loop.at(Millis{1500}, [&] {                                // in the launch wait
            if (sessionEnds) {
                form.onSessionEnd(true);
            } else {
                form.onMouseMove(fake::trayCallback(517));
            }
        });
        form.load();
        EXPECT_TRUE(form.ended());
        EXPECT_EQ(desktop.log.count(Call::FindWindow), 1);  // no search after the exit
        EXPECT_TRUE(desktop.boxes.shown.empty());
        EXPECT_FALSE(desktop.tray.present);
        EXPECT_EQ(desktop.log.count(Call::WriteSetting), 0);
        EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"2");
        EXPECT_EQ(desktop.log.count(Call::DestroyForm), 1);
    }
}

TEST_F(Startup, ExitChosenWhileTheLookupsMessageIsUpEndsWithoutAnotherMessage) {
    desktop.form.menuAnswer = MenuChoice::Exit;
    desktop.boxes.onShown = [&](const fake::ShownBox&) {
        form.onMouseMove(fake::trayCallback(517));
    };
    load();
    EXPECT_EQ(desktop.boxes.shown.size(), 1u);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.log.count(Call::DestroyForm), 1);
}

TEST_F(Startup, AMonitorGoneBeforeTheFirstTickEndsTheProgramWithoutStartingTheTimer) {
    FakeMonitor monitor = running();
    desktop.log.beforeCall = [&](Call call) {
        if (call == Call::ReadSetting && desktop.windows.exists(monitor.main())) monitor.close();
    };
    load();
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(desktop.boxes.shown.empty());
    EXPECT_FALSE(desktop.loop.timers.contains(TimerId::Tick));
    EXPECT_EQ(desktop.log.count(Call::PlaceRestoredForm), 0);
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"0");  // restored, so saved at unload
}

TEST_F(Startup, AnUnexpectedErrorEndsCleanlyWithAMessageAndInputFree) {
    running({32'300, 0, 32'940, 400});
    load();
    ASSERT_EQ(desktop.boxes.shown.size(), 1u);
    EXPECT_EQ(desktop.boxes.shown[0].text, L"Tervane Lite could not start: Overflow");
    EXPECT_FALSE(desktop.input.inputBlocked);
    EXPECT_FALSE(desktop.tray.present);
    EXPECT_TRUE(form.ended());
}

}  // namespace
}  // namespace tervane
