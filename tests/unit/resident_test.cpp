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

// A program that has started against a running monitor and sits in the tray.
struct Resident : testing::Test, fake::FormOnFake {
    std::optional<FakeMonitor> monitor;

    void start() {
        fake::installMonitor(desktop.machine, L"C:\\Monitor");
        monitor.emplace(desktop.windows);
        form.load();
        ASSERT_FALSE(form.ended());
        desktop.log.calls.clear();
        desktop.tray.trayCalls.clear();
    }
    void tick() { form.onTimer(TimerId::Tick); }
    int shownId() const { return fake::FakeTray::iconId(desktop.tray.shown.icon); }
};

TEST_F(Resident, OneTickLooksUpOnceWalksOnceAndSendsOneChange) {
    start();
    monitor->show({L"52.5 C", L"41 C", L"2000", L"1900", L"1800"});
    tick();
    EXPECT_EQ(desktop.log.count(Call::FindWindow), 1);
    EXPECT_EQ(desktop.log.count(Call::ForEachDescendant), 1);
    EXPECT_EQ(desktop.log.count(Call::TrayModify), 1);
    EXPECT_EQ(desktop.log.count(Call::TrayAdd), 0);
    // The walk reads up to the tenth slot: panel, one window before, anchor, nine readings.
    EXPECT_EQ(desktop.log.count(Call::WindowText), 12);
    EXPECT_EQ(shownId(), 52);
    EXPECT_EQ(desktop.tray.tipText(),
              L"CPU:52\u00B0C  MB:41\u00B0C  F1:2000    F2:1900    F3:1800    ");
}

TEST_F(Resident, ATickWithoutAnAnchorKeepsShowingTheTableItHas) {
    start();
    const std::wstring before = desktop.tray.tipText();
    desktop.windows.setText(monitor->slot(1), L"Elsewhere");
    monitor->showCpu(L"60 C");
    tick();
    EXPECT_EQ(desktop.tray.tipText(), before);
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
    for (const auto& call : desktop.tray.trayCalls) {
        ASSERT_EQ(call.op, TrayOp::Modify);
        withPicture.push_back(call.pictureChanged);
    }
    EXPECT_EQ(withPicture, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(shownId(), 46);
    EXPECT_EQ(desktop.tray.tipText(),
              L"CPU:46\u00B0C  MB:38\u00B0C  F1:2411    F2:0       F3:1820    ");
}

TEST_F(Resident, AnIconTheShellDroppedSilentlyIsBackWithinATickWhetherOrNotTheReadingChanged) {
    start();
    // The same reading, then a new one, whose change the shell refuses.
    for (const std::wstring cpu : {L"45 C", L"47 C"}) {
        desktop.tray.present = false;  // gone without an announcement
        monitor->showCpu(cpu);
        tick();
        EXPECT_TRUE(desktop.tray.present);
        EXPECT_EQ(shownId(), std::stoi(cpu));
        EXPECT_EQ(desktop.tray.tipText().substr(0, 8), L"CPU:" + cpu.substr(0, 2) + L"\u00B0C");
    }
}

TEST_F(Resident, TheMonitorGoneEndsTheProgramQuietlyAndInOrder) {
    start();
    desktop.form.toggle = 1;
    monitor->close();
    tick();
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(desktop.boxes.shown.empty());
    EXPECT_FALSE(desktop.loop.timers.contains(TimerId::Tick));
    EXPECT_FALSE(desktop.tray.present);
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"1");
    EXPECT_TRUE(desktop.tray.liveIcons.empty());
    EXPECT_EQ(desktop.log.among(
                  {Call::SetTickTimer, Call::TrayDelete, Call::WriteSetting, Call::DestroyForm}),
              (std::vector<Call>{Call::SetTickTimer, Call::SetTickTimer, Call::WriteSetting,
                                 Call::TrayDelete, Call::DestroyForm}));
}

TEST_F(Resident, ExitStopsTheTimerRemovesTheIconSavesToggleOnlyAndEnds) {
    start();
    desktop.form.white = true;
    desktop.form.toggle = 2;
    desktop.form.menuAnswer = MenuChoice::Exit;
    form.onMouseMove(fake::trayCallback(517));
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.log.among({Call::SetForegroundWindow, Call::PopupTrayMenu, Call::SetTickTimer,
                                 Call::TrayDelete, Call::WriteSetting, Call::DestroyIcon,
                                 Call::DestroyForm}),
              (std::vector<Call>{Call::SetForegroundWindow, Call::PopupTrayMenu, Call::SetTickTimer,
                                 Call::WriteSetting, Call::TrayDelete, Call::DestroyIcon,
                                 Call::DestroyForm}));
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"2");
    EXPECT_EQ(desktop.machine.setting(L"TrayColor"), L"<absent>");
    EXPECT_TRUE(desktop.boxes.shown.empty());
    // Nothing runs after the end.
    tick();
    form.onMouseMove(fake::trayCallback(515));
    EXPECT_EQ(desktop.log.count(Call::FindWindow), 0);
    EXPECT_FALSE(desktop.form.visible);
}

TEST_F(Resident, TheSessionsEndLeavesAsExitDoesAndACancelledOneChangesNothing) {
    start();
    desktop.form.toggle = 1;
    form.onSessionEnd(false);
    EXPECT_FALSE(form.ended());
    EXPECT_TRUE(desktop.log.calls.empty());
    form.onSessionEnd(true);
    EXPECT_TRUE(form.ended());
    EXPECT_FALSE(desktop.loop.timers.contains(TimerId::Tick));
    EXPECT_FALSE(desktop.tray.present);
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"1");
    EXPECT_TRUE(desktop.form.destroyed);
    EXPECT_TRUE(desktop.boxes.shown.empty());
}

TEST_F(Resident, TheSessionsEndInsideAnEndWaitingOnTheShellStoresTheChoiceBeforeItReturns) {
    start();
    desktop.form.toggle = 1;
    desktop.machine.failSettingWrites = true;  // the end's own write is refused
    std::wstring storedAtReturn;
    desktop.log.beforeCall = [&](Call call) {
        if (call != Call::TrayDelete) return;
        desktop.machine.failSettingWrites = false;
        form.onSessionEnd(true);
        storedAtReturn = desktop.machine.setting(L"Toggle");
    };
    monitor->close();
    tick();
    EXPECT_EQ(storedAtReturn, L"1");
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(desktop.log.count(Call::TrayDelete), 1);
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
    EXPECT_TRUE(desktop.log.calls.empty());
    EXPECT_EQ(desktop.form.menusShown, 0);
    EXPECT_FALSE(desktop.form.visible);
}

TEST_F(Resident, OnlyARightButtonReleaseAndALeftDoubleClickOnTheIconDoAnything) {
    start();
    for (const int ignored : {512, 513, 514, 516, 518, 519, 0, 1000})
        form.onMouseMove(fake::trayCallback(ignored));
    EXPECT_TRUE(desktop.log.calls.empty());

    form.onMouseMove(fake::trayCallback(517));  // menu dismissed
    EXPECT_EQ(desktop.form.menusShown, 1);
    EXPECT_EQ(desktop.windows.foreground, fake::FakeOptionsWindow::kWindow);
    EXPECT_FALSE(form.ended());

    form.onMouseMove(fake::trayCallback(515));
    EXPECT_TRUE(desktop.form.visible);
    EXPECT_EQ(desktop.form.state, FormState::Normal);
    EXPECT_EQ(desktop.form.position, (Point{(1024 - 239) / 2, (768 - 126) / 2}));
}

TEST_F(Resident, CloseRequestsAndMinimizingOnlyHideTheWindowOrKeepItHidden) {
    start();
    // A close from a task list reaches the hidden, minimized window too.
    form.onCloseRequest();
    EXPECT_FALSE(desktop.form.visible);
    EXPECT_FALSE(form.ended());

    form.onMouseMove(fake::trayCallback(515));
    form.onCloseRequest();
    EXPECT_FALSE(desktop.form.visible);
    EXPECT_FALSE(form.ended());
    EXPECT_TRUE(desktop.tray.present);

    form.onMouseMove(fake::trayCallback(515));
    desktop.form.setFormState(FormState::Minimized);  // the user minimizes it by any means
    EXPECT_FALSE(desktop.form.visible);
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(desktop.log.count(Call::WriteSetting), 0);
    monitor->showCpu(L"50 C");
    tick();
    EXPECT_EQ(shownId(), 50);
}

TEST_F(Resident, ColourClicksAreSavedAtOnceAndTheCheckBoxAtExit) {
    start();
    desktop.form.white = true;
    form.onOptionClicked();
    EXPECT_EQ(desktop.machine.setting(L"TrayColor"), L"True");
    desktop.form.white = false;
    form.onOptionClicked();
    EXPECT_EQ(desktop.machine.setting(L"TrayColor"), L"False");

    form.onToggleClicked();
    EXPECT_EQ(desktop.form.toggle, 1);
    EXPECT_EQ(desktop.machine.setting(L"Toggle"), L"<absent>");
    form.onToggleClicked();
    EXPECT_EQ(desktop.form.toggle, 0);
    desktop.form.toggle = 2;  // greyed, as a stored "2" leaves it
    form.onToggleClicked();
    EXPECT_EQ(desktop.form.toggle, 1);
}

TEST_F(Resident, WithToggleCheckedThePictureAlternatesAndFreezesWhenUnchecked) {
    desktop.machine.setSetting(L"Toggle", L"1");
    start();
    // The tick at the end of start-up showed the mainboard first.
    EXPECT_EQ(shownId(), 38);
    std::vector<int> ids;
    for (int i = 0; i < 3; ++i) {
        tick();
        ids.push_back(shownId());
    }
    EXPECT_EQ(ids, (std::vector<int>{45, 38, 45}));

    desktop.form.toggle = 0;
    tick();
    tick();
    EXPECT_EQ(shownId(), 45);
    desktop.form.toggle = 1;  // continues from where it froze: CPU was last, so MB
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
    const auto loads = desktop.tray.iconLoads;
    const auto live = desktop.tray.liveIcons.size();
    for (long i = 0; i < 86'400; ++i) {
        monitor->showCpu(cpu[static_cast<std::size_t>(i) % cpu.size()]);
        desktop.form.white = i % 5 == 0;
        tick();
        if (i % 1000 == 0) desktop.log.calls.clear();
    }
    // Only the white pictures of 20, 34, 45 and 70 were new.
    EXPECT_EQ(desktop.tray.iconLoads, loads + 4);
    EXPECT_EQ(desktop.tray.liveIcons.size(), live + 4);
    const auto afterDay = desktop.tray.iconLoads;
    for (long i = 0; i < 1000; ++i) {
        monitor->showCpu(cpu[static_cast<std::size_t>(i) % cpu.size()]);
        desktop.form.white = i % 5 == 0;
        tick();
    }
    EXPECT_EQ(desktop.tray.iconLoads, afterDay);
    desktop.form.menuAnswer = MenuChoice::Exit;
    form.onMouseMove(fake::trayCallback(517));
    EXPECT_TRUE(desktop.tray.liveIcons.empty());
}

TEST_F(Resident, AfterAShellRestartTheIconComesBackWithItsPictureAndTip) {
    start();
    monitor->showCpu(L"61 C");
    tick();
    const TrayRecord before = desktop.tray.shown;
    desktop.tray.present = false;  // the shell lost every icon
    form.onTaskbarCreated();
    EXPECT_TRUE(desktop.tray.present);
    EXPECT_EQ(desktop.tray.shown.icon, before.icon);
    EXPECT_EQ(desktop.tray.shown.tip, before.tip);
    EXPECT_EQ(fake::FakeTray::iconId(desktop.tray.shown.icon), 61);
}

TEST_F(Resident, AnAddTheShellRefusesIsTriedAgainUntilItTakes) {
    desktop.tray.shellReady = false;
    start();
    EXPECT_FALSE(desktop.tray.present);
    EXPECT_EQ(desktop.loop.timers.at(TimerId::TrayRetry), Millis{1000});
    form.onTimer(TimerId::TrayRetry);
    EXPECT_FALSE(desktop.tray.present);
    monitor->showCpu(L"50 C");
    tick();
    desktop.tray.shellReady = true;
    form.onTimer(TimerId::TrayRetry);
    EXPECT_TRUE(desktop.tray.present);
    EXPECT_EQ(fake::FakeTray::iconId(desktop.tray.shown.icon), 50);  // the newest picture
    EXPECT_FALSE(desktop.loop.timers.contains(TimerId::TrayRetry));
    monitor->showCpu(L"51 C");
    tick();
    EXPECT_EQ(desktop.tray.trayCalls.back().op, TrayOp::Modify);
}

TEST_F(Resident, AnErrorInOneTickEndsThatTickOnly) {
    start();
    desktop.tray.failingIconIds.insert(66);
    monitor->showCpu(L"66 C");
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(desktop.log.count(Call::TrayModify), 0);
    monitor->showCpu(L"67 C");
    tick();
    EXPECT_EQ(shownId(), 67);
    EXPECT_FALSE(form.ended());
}

}  // namespace
}  // namespace tervane
