#include <gtest/gtest.h>

#include "fakes/fake_loop.h"
#include "fakes/fake_monitor.h"
#include "fakes/fake_windows.h"
#include "monitor/wake_sequence.h"
#include "tests/wake_clicks.h"

namespace tervane {
namespace {

using fake::Call;
using fake::FakeMonitor;

// Offsets from the window corner, in click order.
std::vector<Point> offsetsOf(const std::vector<fake::Click>& clicks, Rect rect) {
    std::vector<Point> offsets;
    for (const auto& c : clicks) offsets.push_back({c.at.x - rect.left, c.at.y - rect.top});
    return offsets;
}

const std::vector<Point> kStrip(expected::kWakeClicks.begin(), expected::kWakeClicks.end());

// The roles the wake sequence uses, wired as on the platform.
struct Wake {
    fake::CallLog log;
    fake::FakeMessageLoop loop{log};
    fake::FakeOtherWindows windows{log};
    fake::FakeSyntheticInput input{log, windows};
    Waits waits{loop, [] { return false; }};

    Wake() {
        windows.onForegroundChange = [this] { loop.windowChanged(); };
        windows.loop = &loop;
    }
    bool run(WindowHandle probe) {
        return monitor::WakeSequence(windows, input, waits, probe).wakeProbe();
    }
};

// Where the monitor's window lies, and whether the user swapped the buttons.
struct Corner {
    Rect rect;
    bool buttonsSwapped = false;
};

class WakeCornerTest : public testing::TestWithParam<Corner> {};

TEST_P(WakeCornerTest, ClicksTheStripTopmostThenOnceMoreAndPutsEverythingBack) {
    Wake w;
    const auto [rect, buttonsSwapped] = GetParam();
    FakeMonitor monitor(w.windows, rect);
    w.input.swappedButtons = buttonsSwapped;
    const Point userCursor = w.input.cursor;

    EXPECT_TRUE(w.run(monitor.main()));

    ASSERT_EQ(offsetsOf(w.input.clicks, rect), kStrip);
    for (std::size_t i = 0; i < w.input.clicks.size(); ++i) {
        EXPECT_TRUE(w.input.clicks[i].inputBlocked) << "click " << i + 1;
        EXPECT_EQ(w.input.clicks[i].topmost.contains(monitor.main()), i < 5) << "click " << i + 1;
        // The primary button, as a person clicks: left-button messages.
        EXPECT_TRUE(w.input.clicks[i].leftButtonMessages) << "click " << i + 1;
    }
    EXPECT_FALSE(w.input.inputBlocked);
    EXPECT_EQ(w.input.cursor, userCursor);
    EXPECT_FALSE(w.windows.window(monitor.main()).topmost);
}

INSTANTIATE_TEST_SUITE_P(Corners, WakeCornerTest,
                         testing::Values(Corner{{0, 0, 640, 400}}, Corner{{100, 120, 740, 520}},
                                         Corner{{32212, 32667, 32852, 33067}},
                                         Corner{{100, 120, 740, 520}, true}));

// The display's scaling, whether the monitor is DPI aware, and its corner in
// its own coordinates.
struct Scaling {
    int percent;
    bool dpiUnaware;
    Point corner;
};

class WakeScalingTest : public testing::TestWithParam<Scaling> {};

TEST_P(WakeScalingTest, PressesLandOnTheMonitorsOwnPointsAndTheCursorComesBackExactly) {
    const auto [percent, dpiUnaware, corner] = GetParam();
    Wake w;
    w.windows.scalePercent = percent;
    // A monitor that is not DPI aware is stretched: its own pixels are the
    // screen's times the scaling.
    const int s = dpiUnaware ? percent : 100;
    const Rect physical{corner.x * s / 100, corner.y * s / 100, (corner.x + 640) * s / 100,
                        (corner.y + 400) * s / 100};
    FakeMonitor monitor(w.windows, physical);
    w.windows.window(monitor.main()).dpiUnaware = dpiUnaware;
    const Point userCursor = w.input.cursor;  // no whole 96-DPI point at 150 or 250 %

    EXPECT_TRUE(w.run(monitor.main()));

    std::vector<Point> pressed;
    for (const auto& click : w.input.clicks) {
        pressed.push_back(w.windows.ownPoint(monitor.main(), click.at));
    }
    EXPECT_EQ(pressed, kStrip);
    EXPECT_EQ(w.input.cursor, userCursor);
    EXPECT_FALSE(w.input.inputBlocked);
}

INSTANTIATE_TEST_SUITE_P(Scalings, WakeScalingTest,
                         testing::Values(Scaling{100, true, {100, 120}},
                                         Scaling{150, true, {100, 120}},
                                         Scaling{250, true, {100, 120}},
                                         Scaling{150, false, {100, 120}},
                                         // Beyond 16 bits on the screen, not in its own pixels.
                                         Scaling{250, true, {32'212, 32'667}}));

TEST(WakeTest, ABusyMonitorIsActedOnOnlyOnceItAnswersThenWokenAsDesigned) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.window(monitor.main()).busyUntil = Millis{8'000};
    Millis firstAct{-1};
    w.log.beforeCall = [&](Call call) {
        if ((call == Call::ShowWindowShow || call == Call::SetTopmostOn) && firstAct < Millis{0})
            firstAct = w.loop.clock;
    };
    EXPECT_TRUE(w.run(monitor.main()));
    // Nothing piled on a thread that answers nothing.
    EXPECT_GE(firstAct, Millis{8'000});
    EXPECT_GE(w.loop.clock, Millis{8'000});
    EXPECT_LT(w.loop.clock, Millis{8'500});
    EXPECT_EQ(offsetsOf(w.input.clicks, FakeMonitor::kDefaultRect), kStrip);
    // Waiting on its answer, not polling fast.
    EXPECT_LT(w.loop.pumps, 8'000 / 50);
}

TEST(WakeTest, AMonitorSetToWorkByTheClicksIsNeverWaitedOnAndInputIsFreeWhileItWorks) {
    Wake w;
    FakeMonitor monitor(w.windows);
    // The first click sets it to work for 20 s; it takes its window off the
    // top a while after it answers again.
    w.windows.window(monitor.main()).carriesOutAfter = Millis{200};
    w.log.beforeCall = [&](Call call) {
        if (call == Call::Click && w.input.clicks.empty()) {
            w.windows.window(monitor.main()).busyUntil = w.loop.clock + Millis{20'000};
        }
    };
    // Meanwhile the program serves what arrives, as soon as it arrives.
    Millis served{-1};
    w.loop.at(Millis{10'000}, [&] { served = w.loop.clock; });

    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_GE(served, Millis{10'000});
    EXPECT_LT(served, Millis{10'300});
    // Held for the clicks alone, not while the monitor works; woken by its
    // answer, not polling fast.
    EXPECT_LT(w.input.longestBlock, Millis{1'000});
    EXPECT_LT(w.loop.pumps, 20'000 / 50);
    ASSERT_EQ(offsetsOf(w.input.clicks, FakeMonitor::kDefaultRect), kStrip);
    EXPECT_FALSE(w.input.clicks[5].topmost.contains(monitor.main()));
    EXPECT_FALSE(w.input.inputBlocked);
}

TEST(WakeTest, AHungMonitorIsNeverWaitedOnAndFailsWhenTheThirtySecondsAreUp) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.window(monitor.main()).busyUntil = Millis::max();
    EXPECT_FALSE(w.run(monitor.main()));
    EXPECT_GE(w.loop.clock, Millis{30'000});
    EXPECT_LT(w.loop.clock, Millis{30'200});
    EXPECT_TRUE(w.input.clicks.empty());
    EXPECT_EQ(w.log.count(Call::ShowWindowShow) + w.log.count(Call::SetTopmostOn), 0);
}

TEST(WakeTest, ACornerLeftOfOrAboveTheScreenIsNotSupportedAndStaysTopmost) {
    for (const Rect rect : {Rect{-1, 0, 639, 400}, Rect{0, -1, 640, 399}}) {
        Wake w;
        FakeMonitor monitor(w.windows, rect);
        EXPECT_FALSE(w.run(monitor.main()));
        EXPECT_TRUE(w.input.clicks.empty());
        EXPECT_EQ(w.log.count(Call::BlockInputOn), 0);
        EXPECT_TRUE(w.windows.window(monitor.main()).topmost);
    }
}

TEST(WakeTest, AMonitorAlreadyInFrontIsClickedWithoutAskingForTheForeground) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.foreground = monitor.main();
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(w.log.count(Call::SetForegroundWindow), 0);
    EXPECT_EQ(w.input.clicks.size(), 6u);
}

TEST(WakeTest, AForegroundRefusedForThirtySecondsGivesUpWithoutClicking) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.refuseForeground = true;
    EXPECT_FALSE(w.run(monitor.main()));
    EXPECT_GE(w.loop.clock, Millis{30'000});
    EXPECT_LT(w.loop.clock, Millis{30'200});
    EXPECT_TRUE(w.input.clicks.empty());
    // The loop sleeps between its tries instead of spinning.
    EXPECT_LT(w.log.count(Call::SetForegroundWindow), 30'000 / 100);
    EXPECT_GT(w.log.count(Call::SetForegroundWindow), 30'000 / 500);
}

TEST(WakeTest, TheForegroundReachedJustBeforeTheLimitCounts) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.refuseForeground = true;
    // Given at 29.7 s, seen by the last look before the limit.
    w.loop.at(Millis{29'700}, [&] { w.windows.foreground = monitor.main(); });
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(w.input.clicks.size(), 6u);
}

TEST(WakeTest, TheSplashWindowIsWaitedOutBeforeTheThirtySecondsStart) {
    Wake w;
    FakeMonitor monitor(w.windows);
    const WindowHandle splash = w.windows.addTopLevel(L"TSplashForm", L"SplashForm");
    w.loop.atWindowChange(Millis{45'000}, [&] { w.windows.removeWindow(splash); });
    w.windows.refuseForeground = true;
    w.loop.at(Millis{70'000}, [&] { w.windows.foreground = monitor.main(); });
    Millis firstAsk{-1};
    w.log.beforeCall = [&](Call call) {
        if (call == Call::SetForegroundWindow && firstAsk < Millis{0}) firstAsk = w.loop.clock;
    };
    // Reached at 70 s: within 30 s of the splash closing, not of the start.
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_GE(firstAsk, Millis{45'000});
}

TEST(WakeTest, AMinimizedMonitorIsRestoredBeforeItsCornerIsRead) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.window(monitor.main()).minimized = true;
    w.windows.foreground = monitor.main();
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(offsetsOf(w.input.clicks, FakeMonitor::kDefaultRect), kStrip);
}

TEST(WakeTest, AnUnreadableRectangleClicksFromTheScreenOrigin) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.failWindowRect = true;
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(offsetsOf(w.input.clicks, Rect{}), kStrip);
}

TEST(WakeTest, CornersOutsideTheSixteenBitRangeFailWithInputFree) {
    // 40000 fails before input is blocked; 32300 fails inside the burst.
    for (const Rect rect : {Rect{40'000, 0, 40'640, 400}, Rect{32'300, 0, 32'940, 400},
                            Rect{0, 32'700, 640, 33'100}}) {
        Wake w;
        FakeMonitor monitor(w.windows, rect);
        const Point userCursor = w.input.cursor;
        EXPECT_THROW(w.run(monitor.main()), monitor::CoordinateOverflow);
        EXPECT_FALSE(w.input.inputBlocked);
        EXPECT_EQ(w.input.cursor, userCursor);
    }
}

TEST(WakeTest, AnErrorAtAnyStepOfTheBurstLeavesInputUnblockedTheCursorBackAndTheMonitorNotOnTop) {
    int failures = 0;
    for (int failAt = 1;; ++failAt) {
        Wake w;
        FakeMonitor monitor(w.windows);
        const Point userCursor = w.input.cursor;
        int callsWhileBlocked = 0;  // over both stretches of clicking
        w.log.beforeCall = [&](Call call) {
            if (!w.input.inputBlocked || call == Call::BlockInputOff) return;
            if (++callsWhileBlocked == failAt) throw fake::InjectedFailure();
        };
        try {
            w.run(monitor.main());
            break;  // failAt is past the last call of the burst
        } catch (const fake::InjectedFailure&) {
            ++failures;
        }
        w.log.beforeCall = nullptr;
        EXPECT_FALSE(w.input.inputBlocked) << "failure at call " << failAt;
        EXPECT_EQ(w.input.cursor, userCursor) << "failure at call " << failAt;
        w.loop.clock += Millis{1'000};  // the monitor has taken what it was asked
        EXPECT_TRUE(w.windows.topmostWindows().empty()) << "failure at call " << failAt;
    }
    EXPECT_GT(failures, 20);  // every call of the burst was tried
}

TEST(WakeTest, EachMoveSettlesBeforeItsClickAndTheBurstStaysShort) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.foreground = monitor.main();
    const Millis start = w.loop.clock;
    std::vector<Millis> moves;
    std::vector<Millis> clicks;
    w.log.beforeCall = [&](Call call) {
        if (call == Call::SetCursorPos) moves.push_back(w.loop.clock);
        if (call == Call::Click) clicks.push_back(w.loop.clock);
    };
    EXPECT_TRUE(w.run(monitor.main()));
    ASSERT_EQ(clicks.size(), 6u);
    for (std::size_t i = 0; i < clicks.size(); ++i) EXPECT_GE(clicks[i] - moves[i], Millis{20});
    EXPECT_LT(w.loop.clock - start, Millis{250});
}

}  // namespace
}  // namespace tervane
