#include <gtest/gtest.h>

#include "fake_monitor.h"
#include "monitor/wake_sequence.h"

namespace tervane {
namespace {

using fake::FakeDesktop;
using fake::FakeMonitor;

// Offsets from the window corner, in click order.
std::vector<Point> offsetsOf(const std::vector<fake::Click>& clicks, Rect rect) {
    std::vector<Point> offsets;
    for (const auto& c : clicks) offsets.push_back({c.at.x - rect.left, c.at.y - rect.top});
    return offsets;
}

const std::vector<Point> kStrip(monitor::kPanelStripOffsets.begin(),
                                monitor::kPanelStripOffsets.end());

struct Wake {
    FakeDesktop desktop;
    Waits waits{desktop, [] { return false; }};

    bool run(WindowHandle probe) {
        return monitor::WakeSequence(desktop, waits, probe).wakeProbe();
    }
};

class WakeCornerTest : public testing::TestWithParam<Rect> {};

TEST_P(WakeCornerTest, ClicksTheStripTopmostThenOnceMoreAndPutsEverythingBack) {
    Wake w;
    const Rect rect = GetParam();
    FakeMonitor monitor(w.desktop, rect);
    const Point userCursor = w.desktop.cursor;

    EXPECT_TRUE(w.run(monitor.main()));

    ASSERT_EQ(offsetsOf(w.desktop.clicks, rect), kStrip);
    for (std::size_t i = 0; i < w.desktop.clicks.size(); ++i) {
        EXPECT_TRUE(w.desktop.clicks[i].inputBlocked) << "click " << i + 1;
        EXPECT_EQ(w.desktop.clicks[i].topmost.contains(monitor.main()), i < 5) << "click " << i + 1;
    }
    EXPECT_FALSE(w.desktop.inputBlocked);
    EXPECT_EQ(w.desktop.cursor, userCursor);
    EXPECT_FALSE(w.desktop.window(monitor.main()).topmost);
}

INSTANTIATE_TEST_SUITE_P(Corners, WakeCornerTest,
                         testing::Values(Rect{0, 0, 640, 400}, Rect{100, 120, 740, 520},
                                         Rect{32212, 32667, 32852, 33067}));

TEST(WakeTest, ACornerLeftOfOrAboveTheScreenIsNotSupportedAndStaysTopmost) {
    for (const Rect rect : {Rect{-1, 0, 639, 400}, Rect{0, -1, 640, 399}}) {
        Wake w;
        FakeMonitor monitor(w.desktop, rect);
        EXPECT_FALSE(w.run(monitor.main()));
        EXPECT_TRUE(w.desktop.clicks.empty());
        EXPECT_EQ(w.desktop.countCalls("blockInput(true)"), 0);
        EXPECT_TRUE(w.desktop.window(monitor.main()).topmost);
    }
}

TEST(WakeTest, AMonitorAlreadyInFrontIsClickedWithoutAskingForTheForeground) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    w.desktop.foreground = monitor.main();
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(w.desktop.countCalls("setForegroundWindow"), 0);
    EXPECT_EQ(w.desktop.clicks.size(), 6u);
}

TEST(WakeTest, AForegroundRefusedForThirtySecondsGivesUpWithoutClicking) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    w.desktop.refuseForeground = true;
    EXPECT_FALSE(w.run(monitor.main()));
    EXPECT_GE(w.desktop.clock, Millis{30'000});
    EXPECT_LT(w.desktop.clock, Millis{30'200});
    EXPECT_TRUE(w.desktop.clicks.empty());
    // The loop sleeps between its tries instead of spinning.
    EXPECT_LT(w.desktop.countCalls("setForegroundWindow"), 30'000 / 100);
    EXPECT_GT(w.desktop.countCalls("setForegroundWindow"), 30'000 / 500);
}

TEST(WakeTest, TheForegroundReachedJustBeforeTheLimitCounts) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    w.desktop.refuseForeground = true;
    // Given at 29.7 s, seen by the last look before the limit.
    w.desktop.at(Millis{29'700}, [&] { w.desktop.foreground = monitor.main(); });
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(w.desktop.clicks.size(), 6u);
}

TEST(WakeTest, TheSplashWindowIsWaitedOutBeforeTheThirtySecondsStart) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    const WindowHandle splash = w.desktop.addTopLevel(L"TSplashForm", L"SplashForm");
    w.desktop.atWindowChange(Millis{45'000}, [&] { w.desktop.removeWindow(splash); });
    w.desktop.refuseForeground = true;
    w.desktop.at(Millis{70'000}, [&] { w.desktop.foreground = monitor.main(); });
    Millis firstAsk{-1};
    w.desktop.beforeCall = [&](const std::string& name) {
        if (name == "setForegroundWindow" && firstAsk < Millis{0}) firstAsk = w.desktop.clock;
    };
    // Reached at 70 s: within 30 s of the splash closing, not of the start.
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_GE(firstAsk, Millis{45'000});
}

TEST(WakeTest, AMinimizedMonitorIsRestoredBeforeItsCornerIsRead) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    w.desktop.window(monitor.main()).minimized = true;
    w.desktop.foreground = monitor.main();
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(offsetsOf(w.desktop.clicks, FakeMonitor::kDefaultRect), kStrip);
}

TEST(WakeTest, AnUnreadableRectangleClicksFromTheScreenOrigin) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    w.desktop.failWindowRect = true;
    EXPECT_TRUE(w.run(monitor.main()));
    EXPECT_EQ(offsetsOf(w.desktop.clicks, Rect{}), kStrip);
}

TEST(WakeTest, CornersOutsideTheSixteenBitRangeFailWithInputFree) {
    // 40000 fails before input is blocked; 32300 fails inside the burst.
    for (const Rect rect : {Rect{40'000, 0, 40'640, 400}, Rect{32'300, 0, 32'940, 400},
                            Rect{0, 32'700, 640, 33'100}}) {
        Wake w;
        FakeMonitor monitor(w.desktop, rect);
        const Point userCursor = w.desktop.cursor;
        EXPECT_THROW(w.run(monitor.main()), monitor::CoordinateOverflow);
        EXPECT_FALSE(w.desktop.inputBlocked);
        EXPECT_EQ(w.desktop.cursor, userCursor);
    }
}

TEST(WakeTest, AnErrorAtAnyStepOfTheBurstLeavesInputUnblockedAndTheCursorBack) {
    int failures = 0;
    for (int failAt = 1;; ++failAt) {
        Wake w;
        FakeMonitor monitor(w.desktop);
        const Point userCursor = w.desktop.cursor;
        int callsSinceBlock = 0;
        w.desktop.beforeCall = [&](const std::string& name) {
            if (name == "blockInput(true)") callsSinceBlock = 0;
            if (!w.desktop.inputBlocked || name == "blockInput(false)") return;
            if (++callsSinceBlock == failAt) throw fake::InjectedFailure();
        };
        try {
            w.run(monitor.main());
            break;  // failAt is past the last call of the burst
        } catch (const fake::InjectedFailure&) {
            ++failures;
        }
        w.desktop.beforeCall = nullptr;
        EXPECT_FALSE(w.desktop.inputBlocked) << "failure at call " << failAt;
        EXPECT_EQ(w.desktop.cursor, userCursor) << "failure at call " << failAt;
    }
    EXPECT_GT(failures, 20);  // every call of the burst was tried
}

TEST(WakeTest, EachMoveSettlesBeforeItsClickAndTheBurstStaysShort) {
    Wake w;
    FakeMonitor monitor(w.desktop);
    w.desktop.foreground = monitor.main();
    const Millis start = w.desktop.clock;
    std::vector<Millis> moves;
    std::vector<Millis> clicks;
    w.desktop.beforeCall = [&](const std::string& name) {
        if (name == "setCursorPos") moves.push_back(w.desktop.clock);
        if (name == "leftClick") clicks.push_back(w.desktop.clock);
    };
    EXPECT_TRUE(w.run(monitor.main()));
    ASSERT_EQ(clicks.size(), 6u);
    for (std::size_t i = 0; i < clicks.size(); ++i) EXPECT_GE(clicks[i] - moves[i], Millis{20});
    EXPECT_LT(w.desktop.clock - start, Millis{250});
}

}  // namespace
}  // namespace tervane
