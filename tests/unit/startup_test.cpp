#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/form1.h"
#include "fake_monitor.h"

namespace tervane {
namespace {

using app::Form1;
using fake::FakeDesktop;
using fake::FakeMonitor;

const std::wstring kFolder = L"C:\\Program Files\\Monitor";
const std::wstring kExpectedTip = L"CPU:45\u00B0C  MB:38\u00B0C  F1:2410    F2:0       F3:1820    ";

struct Startup : testing::Test {
    FakeDesktop desktop;
    Form1 form{desktop};

    Startup() { desktop.events = &form; }
    void load() { form.load(); }
    Millis clockAtBox(std::size_t n) const { return desktop.boxes.at(n).at; }
};

TEST_F(Startup, WithTheMonitorRunningNothingIsLaunchedAndTheTrayShowsReadingsAtOnce) {
    fake::installMonitor(desktop, kFolder);
    FakeMonitor monitor(desktop);
    desktop.setSetting(L"TrayColor", L"True");
    load();

    EXPECT_TRUE(desktop.launches.empty());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(form.probePath(), kFolder);
    EXPECT_EQ(desktop.clicks.size(), 6u);
    // One second after the window was found; no two-second launch wait.
    EXPECT_GE(desktop.clock, Millis{1000});
    EXPECT_LT(desktop.clock, Millis{1400});
    EXPECT_EQ(desktop.tipText(), kExpectedTip);
    EXPECT_EQ(FakeDesktop::iconId(desktop.trayShown.icon), 145);  // white restored first
    EXPECT_EQ(desktop.timers.at(TimerId::Tick), Millis{1000});
    EXPECT_FALSE(desktop.formVisible);
    EXPECT_EQ(desktop.formStateValue, FormState::Minimized);
    EXPECT_EQ(desktop.formPosition, (Point{(1024 - 239) / 2, (768 - 126) / 2}));
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(desktop.setting(L"Toggle"), L"<absent>");
}

TEST_F(Startup, TheFirstPictureIsTheFormsOwnIconWithTheFixedTip) {
    fake::installMonitor(desktop, kFolder);
    FakeMonitor monitor(desktop);
    load();
    const auto& add = desktop.trayCalls.front();
    EXPECT_EQ(add.kind, "add");
    EXPECT_EQ(add.record.icon, FakeDesktop::kFormIcon);
    EXPECT_EQ(add.record.id, 2u);
    EXPECT_EQ(add.record.callbackMessage, 512u);
    EXPECT_EQ(add.record.tip.substr(0, 23), std::wstring(L"Tervane Lite By Dravel") + L'\0');
    EXPECT_EQ(add.record.tip.size(), 64u);
    // The form is shown before the icon is added.
    const auto shown = std::find(desktop.calls.begin(), desktop.calls.end(), "showForm");
    const auto added = std::find(desktop.calls.begin(), desktop.calls.end(), "trayAdd");
    EXPECT_LT(shown, added);
}

TEST_F(Startup, AStoppedMonitorIsLaunchedByFullPathAndSearchedForAfterTwoSeconds) {
    fake::installMonitor(desktop, kFolder);
    std::optional<FakeMonitor> monitor;
    desktop.onLaunch = [&](auto, auto) {
        desktop.atWindowChange(desktop.clock + Millis{500}, [&] { monitor.emplace(desktop); });
    };
    Millis firstSearchAfterLaunch{-1};
    desktop.beforeCall = [&](const std::string& name) {
        if (name == "findWindow" && !desktop.launches.empty() && firstSearchAfterLaunch.count() < 0)
            firstSearchAfterLaunch = desktop.clock;
    };
    load();

    ASSERT_EQ(desktop.launches.size(), 1u);
    EXPECT_EQ(desktop.launches[0].first, kFolder + L"\\AsusProb.exe");
    EXPECT_EQ(desktop.launches[0].second, kFolder);
    EXPECT_EQ(firstSearchAfterLaunch, Millis{2000});
    EXPECT_EQ(desktop.clicks.size(), 6u);
    EXPECT_EQ(desktop.tipText(), kExpectedTip);
    EXPECT_FALSE(form.ended());
}

TEST_F(Startup, AWindowThatOpensDuringTheSearchIsTakenWithinTensOfMilliseconds) {
    fake::installMonitor(desktop, kFolder);
    std::optional<FakeMonitor> monitor;
    desktop.atWindowChange(Millis{12'345}, [&] { monitor.emplace(desktop); });
    Millis wakeStarted{-1};
    desktop.beforeCall = [&](const std::string& name) {
        if (name == "foregroundWindow" && wakeStarted.count() < 0) wakeStarted = desktop.clock;
    };
    load();
    // Found at once (the search is woken by the window), then the one-second
    // wait, then the wake. Nothing watches other windows once it is found.
    EXPECT_GE(wakeStarted, Millis{13'345});
    EXPECT_LT(wakeStarted, Millis{13'345 + 50});
    EXPECT_FALSE(desktop.watchingWindows);
}

TEST_F(Startup, NoMonitorAndNoInstallFolderFailsAtOnce) {
    load();
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[0].text, L"");  // the lookup's own message
    EXPECT_EQ(desktop.boxes[1].text, L"Unable to find 'Asus Probe 2'");
    EXPECT_EQ(desktop.boxes[1].flags, 0x11010u);
    EXPECT_EQ(clockAtBox(1), Millis{0});  // no launch, no search
    EXPECT_TRUE(desktop.launches.empty());
    EXPECT_FALSE(desktop.trayPresent);
    EXPECT_EQ(desktop.countCalls("trayDelete"), 1);
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(desktop.formDestroyed);
    EXPECT_TRUE(desktop.settings.empty());  // the stored Toggle is not touched
}

TEST_F(Startup, ALaunchedMonitorThatNeverAppearsFailsAfterThirtySecondsOfSearching) {
    fake::installMonitor(desktop, kFolder);
    desktop.setSetting(L"Toggle", L"1");
    load();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, L"Unable to find 'Asus Probe 2'");
    EXPECT_GE(clockAtBox(0), Millis{32'000});
    EXPECT_LT(clockAtBox(0), Millis{32'100});
    // Looked up on every pass, without spinning.
    EXPECT_GT(desktop.countCalls("findWindow"), 30'000 / 500);
    EXPECT_LT(desktop.countCalls("findWindow"), 30'000 / 100);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.setting(L"Toggle"), L"1");
}

TEST_F(Startup, AMonitorThatCannotBeWokenIsReportedAndLeftTopmost) {
    fake::installMonitor(desktop, kFolder);
    FakeMonitor monitor(desktop);
    desktop.refuseForeground = true;
    load();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text,
              L"Unable to initialize PC Probe! Close PC Probe and try again");
    EXPECT_EQ(desktop.boxes[0].flags, 0x11010u);
    EXPECT_EQ(form.probePath(), L"notsupported");
    EXPECT_TRUE(desktop.clicks.empty());
    EXPECT_TRUE(desktop.window(monitor.main()).topmost);
    EXPECT_TRUE(form.ended());
    EXPECT_FALSE(desktop.trayPresent);
}

TEST_F(Startup, ASecondCopyIsRefusedBeforeAnythingShowsWhateverKeptItFromTheToken) {
    // Held by another copy; held by one running elevated, which this copy may
    // not even open; or not to be had at all: never two copies.
    for (const auto outcome :
         {SingleInstance::AlreadyTaken, SingleInstance::AccessDenied, SingleInstance::Failed}) {
        FakeDesktop second;
        second.singleInstanceOutcome = outcome;
        FakeMonitor monitor(second);
        Form1 copy(second);
        second.events = &copy;
        copy.load();
        ASSERT_EQ(second.boxes.size(), 1u);
        EXPECT_EQ(second.boxes[0].text, L"A copy of Tervane Lite is already running!");
        EXPECT_EQ(second.boxes[0].flags, 0x11040u);
        EXPECT_TRUE(copy.ended());
        EXPECT_EQ(second.countCalls("showForm"), 0);
        EXPECT_TRUE(second.trayCalls.empty());
        EXPECT_EQ(second.countCalls("writeSetting"), 0);
        EXPECT_TRUE(second.clicks.empty());
    }
}

TEST_F(Startup, AWindowClosedDuringStartUpIsCentredWhenTheTrayBringsItBack) {
    fake::installMonitor(desktop, kFolder);
    std::optional<FakeMonitor> monitor;
    desktop.onLaunch = [&](auto, auto) {
        desktop.atWindowChange(desktop.clock + Millis{2500}, [&] { monitor.emplace(desktop); });
    };
    desktop.at(Millis{500}, [&] { form.onCloseRequest(); });  // in the launch wait
    load();
    ASSERT_FALSE(form.ended());
    EXPECT_FALSE(desktop.formVisible);
    form.onMouseMove(fake::trayCallback(515));
    EXPECT_TRUE(desktop.formVisible);
    EXPECT_EQ(desktop.formStateValue, FormState::Normal);
    EXPECT_EQ(desktop.formPosition, (Point{(1024 - 239) / 2, (768 - 126) / 2}));
}

TEST_F(Startup, ExitChosenDuringAWaitStopsStartUpThere) {
    fake::installMonitor(desktop, kFolder);
    desktop.setSetting(L"Toggle", L"2");
    desktop.menuAnswer = MenuChoice::Exit;
    desktop.at(Millis{1500},
               [&] { form.onMouseMove(fake::trayCallback(517)); });  // in the launch wait
    load();
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.countCalls("findWindow"), 1);  // no search after the exit
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(desktop.trayPresent);
    EXPECT_EQ(desktop.setting(L"Toggle"), L"2");
    EXPECT_EQ(desktop.countCalls("destroyForm"), 1);
}

TEST_F(Startup, ExitChosenWhileTheLookupsMessageIsUpEndsWithoutAnotherMessage) {
    desktop.menuAnswer = MenuChoice::Exit;
    desktop.onMessageBox = [&](const fake::ShownBox&) {
        form.onMouseMove(fake::trayCallback(517));
    };
    load();
    EXPECT_EQ(desktop.boxes.size(), 1u);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.countCalls("destroyForm"), 1);
}

TEST_F(Startup, AMonitorGoneBeforeTheFirstTickEndsTheProgramWithoutStartingTheTimer) {
    fake::installMonitor(desktop, kFolder);
    FakeMonitor monitor(desktop);
    desktop.beforeCall = [&](const std::string& name) {
        if (name == "readSetting" && desktop.exists(monitor.main())) monitor.close();
    };
    load();
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(desktop.timers.contains(TimerId::Tick));
    EXPECT_EQ(desktop.countCalls("placeRestoredForm"), 0);
    EXPECT_EQ(desktop.setting(L"Toggle"), L"0");  // restored, so saved at unload
}

TEST_F(Startup, AnUnexpectedErrorEndsCleanlyWithAMessageAndInputFree) {
    fake::installMonitor(desktop, kFolder);
    FakeMonitor monitor(desktop, Rect{32'300, 0, 32'940, 400});
    load();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, L"Tervane Lite could not start: Overflow");
    EXPECT_FALSE(desktop.inputBlocked);
    EXPECT_FALSE(desktop.trayPresent);
    EXPECT_TRUE(form.ended());
}

TEST_F(Startup, ClosingTheWindowDuringStartUpHidesItAndStartUpGoesOn) {
    fake::installMonitor(desktop, kFolder);
    FakeMonitor monitor(desktop);
    desktop.at(Millis{500}, [&] { form.onCloseRequest(); });
    load();
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(desktop.clicks.size(), 6u);
    EXPECT_EQ(desktop.timers.at(TimerId::Tick), Millis{1000});
}

}  // namespace
}  // namespace tervane
