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

// A program that has started against a running monitor and sits in the tray.
struct Resident : testing::Test {
    FakeDesktop desktop;
    Form1 form{desktop};
    std::optional<FakeMonitor> monitor;

    void start() {
        desktop.events = &form;
        fake::installMonitor(desktop, L"C:\\Monitor");
        monitor.emplace(desktop);
        form.load();
        ASSERT_FALSE(form.ended());
        desktop.calls.clear();
        desktop.trayCalls.clear();
    }
    void tick() { form.onTimer(TimerId::Tick); }
    int shownId() const { return FakeDesktop::iconId(desktop.trayShown.icon); }
    std::vector<std::string> callsAmong(std::initializer_list<std::string> names) const {
        std::vector<std::string> out;
        std::copy_if(desktop.calls.begin(), desktop.calls.end(), std::back_inserter(out),
                     [&](const std::string& c) {
                         return std::find(names.begin(), names.end(), c) != names.end();
                     });
        return out;
    }
};

TEST_F(Resident, OneTickLooksUpOnceWalksOnceAndSendsOneChange) {
    start();
    monitor->show({L"52.5 C", L"41 C", L"2000", L"1900", L"1800"});
    tick();
    EXPECT_EQ(desktop.countCalls("findWindow"), 1);
    EXPECT_EQ(desktop.countCalls("forEachDescendant"), 1);
    EXPECT_EQ(desktop.countCalls("trayModify"), 1);
    EXPECT_EQ(desktop.countCalls("trayAdd"), 0);
    // The walk reads up to the tenth slot: panel, one window before, anchor, nine readings.
    EXPECT_EQ(desktop.countCalls("windowText"), 12);
    EXPECT_EQ(shownId(), 52);
    EXPECT_EQ(desktop.tipText(), L"CPU:52\u00B0C  MB:41\u00B0C  F1:2000    F2:1900    F3:1800    ");
}

TEST_F(Resident, ATickWithoutAnAnchorKeepsShowingTheTableItHas) {
    start();
    const std::wstring before = desktop.tipText();
    desktop.setText(monitor->slot(1), L"Elsewhere");
    monitor->showCpu(L"60 C");
    tick();
    EXPECT_EQ(desktop.tipText(), before);
    EXPECT_EQ(shownId(), 45);
    EXPECT_FALSE(form.ended());
}

TEST_F(Resident, EveryTickSendsOneChangeWithThePictureOnlyWhenItChanged) {
    start();
    tick();  // the same readings as the tick at the end of start-up
    monitor->show({L"45.0 C", L"38.5 C", L"2411", L"0", L"1820"});
    tick();
    monitor->showCpu(L"46 C");
    tick();
    std::vector<bool> withPicture;
    for (const auto& call : desktop.trayCalls) {
        ASSERT_EQ(call.kind, "modify");
        withPicture.push_back(call.pictureChanged);
    }
    EXPECT_EQ(withPicture, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(shownId(), 46);
    EXPECT_EQ(desktop.tipText(), L"CPU:46\u00B0C  MB:38\u00B0C  F1:2411    F2:0       F3:1820    ");
}

TEST_F(Resident, AnIconTheShellDroppedSilentlyIsBackWithinATickEvenWhenNothingChanged) {
    start();
    desktop.trayPresent = false;  // gone without an announcement
    tick();
    EXPECT_TRUE(desktop.trayPresent);
    EXPECT_EQ(shownId(), 45);
    EXPECT_EQ(desktop.tipText().substr(0, 8), L"CPU:45\u00B0C");
}

TEST_F(Resident, AChangeTheShellRefusesBecauseItLostTheIconAddsItAgain) {
    start();
    desktop.trayPresent = false;  // gone without an announcement
    monitor->showCpu(L"47 C");
    tick();
    EXPECT_TRUE(desktop.trayPresent);
    EXPECT_EQ(shownId(), 47);
    EXPECT_EQ(desktop.tipText().substr(0, 8), L"CPU:47\u00B0C");
}

TEST_F(Resident, TheMonitorGoneEndsTheProgramQuietlyAndInOrder) {
    start();
    desktop.toggle = 1;
    monitor->close();
    tick();
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(desktop.timers.contains(TimerId::Tick));
    EXPECT_FALSE(desktop.trayPresent);
    EXPECT_EQ(desktop.setting(L"Toggle"), L"1");
    EXPECT_TRUE(desktop.liveIcons.empty());
    EXPECT_EQ(callsAmong({"setTimer(Tick)", "trayDelete", "writeSetting", "destroyForm"}),
              (std::vector<std::string>{"setTimer(Tick)", "setTimer(Tick)", "trayDelete",
                                        "writeSetting", "destroyForm"}));
}

TEST_F(Resident, ExitStopsTheTimerRemovesTheIconSavesToggleOnlyAndEnds) {
    start();
    desktop.white = true;
    desktop.toggle = 2;
    desktop.menuAnswer = MenuChoice::Exit;
    form.onMouseMove(fake::trayCallback(517));
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(
        callsAmong({"setForegroundWindow", "popupTrayMenu", "setTimer(Tick)", "trayDelete",
                    "writeSetting", "destroyIcon", "destroyForm"}),
        (std::vector<std::string>{"setForegroundWindow", "popupTrayMenu", "setTimer(Tick)",
                                  "trayDelete", "writeSetting", "destroyIcon", "destroyForm"}));
    EXPECT_EQ(desktop.setting(L"Toggle"), L"2");
    EXPECT_EQ(desktop.setting(L"TrayColor"), L"<absent>");
    EXPECT_TRUE(desktop.boxes.empty());
    // Nothing runs after the end.
    tick();
    form.onMouseMove(fake::trayCallback(515));
    EXPECT_EQ(desktop.countCalls("findWindow"), 0);
    EXPECT_FALSE(desktop.formVisible);
}

TEST_F(Resident, NoRealMoveOfThePointerActsAsATrayClickWhateverItsPlace) {
    start();
    // At high scaling the window is wider than 517 pixels: the pointer crosses
    // those columns, with or without buttons, on any row (the top one too).
    for (const int x : {515, 517}) {
        for (const int y : {0, 1, 40}) {
            for (const std::uintptr_t keys : {0u, 1u, 2u, 3u, 8u}) {
                form.onMouseMove(fake::pointerMove(x, y, keys));
            }
        }
    }
    // Nor does anything that only looks like a callback for another icon.
    form.onMouseMove({3, 515, 0, false});
    form.onMouseMove({2, 517, 1, false});
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(desktop.menusShown, 0);
    EXPECT_FALSE(desktop.formVisible);
}

TEST_F(Resident, OnlyARightButtonReleaseAndALeftDoubleClickOnTheIconDoAnything) {
    start();
    for (const int ignored : {512, 513, 514, 516, 518, 519, 0, 1000})
        form.onMouseMove(fake::trayCallback(ignored));
    EXPECT_TRUE(desktop.calls.empty());

    form.onMouseMove(fake::trayCallback(517));  // menu dismissed
    EXPECT_EQ(desktop.menusShown, 1);
    EXPECT_EQ(desktop.foreground, FakeDesktop::kFormWindow);
    EXPECT_FALSE(form.ended());

    form.onMouseMove(fake::trayCallback(515));
    EXPECT_TRUE(desktop.formVisible);
    EXPECT_EQ(desktop.formStateValue, FormState::Normal);
    EXPECT_EQ(desktop.formPosition, (Point{(1024 - 239) / 2, (768 - 126) / 2}));
}

TEST_F(Resident, TheCloseBoxAndMinimizingOnlyHideTheWindow) {
    start();
    form.onMouseMove(fake::trayCallback(515));
    form.onCloseRequest();
    EXPECT_FALSE(desktop.formVisible);
    EXPECT_FALSE(form.ended());
    EXPECT_TRUE(desktop.trayPresent);

    form.onMouseMove(fake::trayCallback(515));
    desktop.setFormState(FormState::Minimized);  // the user minimizes it by any means
    EXPECT_FALSE(desktop.formVisible);
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(desktop.countCalls("writeSetting"), 0);
    monitor->showCpu(L"50 C");
    tick();
    EXPECT_EQ(shownId(), 50);
}

TEST_F(Resident, ColourClicksAreSavedAtOnceAndTheCheckBoxAtExit) {
    start();
    desktop.white = true;
    form.onOptionClicked(1);
    EXPECT_EQ(desktop.setting(L"TrayColor"), L"True");
    desktop.white = false;
    form.onOptionClicked(0);
    EXPECT_EQ(desktop.setting(L"TrayColor"), L"False");

    form.onToggleClicked();
    EXPECT_EQ(desktop.toggle, 1);
    EXPECT_EQ(desktop.setting(L"Toggle"), L"<absent>");
    form.onToggleClicked();
    EXPECT_EQ(desktop.toggle, 0);
    desktop.toggle = 2;  // greyed, as a stored "2" leaves it
    form.onToggleClicked();
    EXPECT_EQ(desktop.toggle, 1);
}

TEST_F(Resident, WithToggleCheckedThePictureAlternatesAndFreezesWhenUnchecked) {
    desktop.setSetting(L"Toggle", L"1");
    start();
    // The tick at the end of start-up showed the mainboard first.
    EXPECT_EQ(shownId(), 38);
    std::vector<int> ids;
    for (int i = 0; i < 3; ++i) {
        tick();
        ids.push_back(shownId());
    }
    EXPECT_EQ(ids, (std::vector<int>{45, 38, 45}));

    desktop.toggle = 0;
    tick();
    tick();
    EXPECT_EQ(shownId(), 45);
    desktop.toggle = 1;  // continues from where it froze: CPU was last, so MB
    tick();
    EXPECT_EQ(shownId(), 38);
}

TEST_F(Resident, ADayOfTicksMakesNoNewIconHandles) {
    start();
    const std::vector<std::wstring> cpu = {L"15", L"20", L"33.5", L"45", L"70", L"71", L"99"};
    for (std::size_t i = 0; i < cpu.size(); ++i) {
        monitor->showCpu(cpu[i]);
        tick();
    }
    const auto loads = desktop.iconLoads;
    const auto live = desktop.liveIcons.size();
    for (long i = 0; i < 86'400; ++i) {
        monitor->showCpu(cpu[static_cast<std::size_t>(i) % cpu.size()]);
        desktop.white = i % 5 == 0;
        tick();
        if (i % 1000 == 0) desktop.calls.clear();
    }
    // Only the white pictures of 20, 34, 45 and 70 were new.
    EXPECT_EQ(desktop.iconLoads, loads + 4);
    EXPECT_EQ(desktop.liveIcons.size(), live + 4);
    const auto afterDay = desktop.iconLoads;
    for (long i = 0; i < 1000; ++i) {
        monitor->showCpu(cpu[static_cast<std::size_t>(i) % cpu.size()]);
        desktop.white = i % 5 == 0;
        tick();
    }
    EXPECT_EQ(desktop.iconLoads, afterDay);
    desktop.menuAnswer = MenuChoice::Exit;
    form.onMouseMove(fake::trayCallback(517));
    EXPECT_TRUE(desktop.liveIcons.empty());
}

TEST_F(Resident, AfterAShellRestartTheIconComesBackWithItsPictureAndTip) {
    start();
    monitor->showCpu(L"61 C");
    tick();
    const TrayRecord before = desktop.trayShown;
    desktop.trayPresent = false;  // the shell lost every icon
    form.onTaskbarCreated();
    EXPECT_TRUE(desktop.trayPresent);
    EXPECT_EQ(desktop.trayShown.icon, before.icon);
    EXPECT_EQ(desktop.trayShown.tip, before.tip);
    EXPECT_EQ(FakeDesktop::iconId(desktop.trayShown.icon), 61);
}

TEST_F(Resident, AnAddTheShellRefusesIsTriedAgainUntilItTakes) {
    desktop.shellReady = false;
    start();
    EXPECT_FALSE(desktop.trayPresent);
    EXPECT_EQ(desktop.timers.at(TimerId::TrayRetry), Millis{1000});
    form.onTimer(TimerId::TrayRetry);
    EXPECT_FALSE(desktop.trayPresent);
    monitor->showCpu(L"50 C");
    tick();
    desktop.shellReady = true;
    form.onTimer(TimerId::TrayRetry);
    EXPECT_TRUE(desktop.trayPresent);
    EXPECT_EQ(FakeDesktop::iconId(desktop.trayShown.icon), 50);  // the newest picture
    EXPECT_FALSE(desktop.timers.contains(TimerId::TrayRetry));
    monitor->showCpu(L"51 C");
    tick();
    EXPECT_EQ(desktop.trayCalls.back().kind, "modify");
}

TEST_F(Resident, AnErrorInOneTickEndsThatTickOnly) {
    start();
    desktop.failingIconIds.insert(66);
    monitor->showCpu(L"66 C");
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(desktop.countCalls("trayModify"), 0);
    monitor->showCpu(L"67 C");
    tick();
    EXPECT_EQ(shownId(), 67);
    EXPECT_FALSE(form.ended());
}

}  // namespace
}  // namespace tervane
