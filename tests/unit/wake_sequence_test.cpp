#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "app/form1.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_monitor.h"
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
const std::wstring kNotWoken = L"Unable to initialize PC Probe! Close PC Probe and try again";

// The roles the wake sequence uses, wired as on the platform.
struct Wake {
    fake::CallLog log;
    fake::FakeMessageLoop loop{log};
    fake::FakeOtherWindows windows{log};
    fake::FakeSyntheticInput input{log, windows};
    monitor::HeldInput held{windows, input};
    Waits waits{loop, nullptr};

    Wake() {
        windows.onForegroundChange = [this] { loop.windowChanged(); };
        windows.loop = &loop;
    }
    bool run(WindowHandle probe) {
        return monitor::WakeSequence(windows, input, held, waits, probe).wakeProbe();
    }
};

// Where the monitor's window lies, whether it starts minimized, and whether
// the user swapped the buttons.
struct Corner {
    Rect rect;
    bool buttonsSwapped = false;
    bool minimized = false;
};

class WakeCornerTest : public testing::TestWithParam<Corner> {};

TEST_P(WakeCornerTest, ClicksTheStripTopmostThenOnceMoreAndPutsEverythingBack) {
    Wake w;
    const auto [rect, buttonsSwapped, minimized] = GetParam();
    FakeMonitor monitor(w.windows, rect);
    w.input.swappedButtons = buttonsSwapped;
    // A minimized monitor is restored before its corner is read.
    w.windows.window(monitor.main()).minimized = minimized;
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
                                         Corner{{100, 120, 740, 520}, true},
                                         Corner{{100, 120, 740, 520}, false, true}));

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

TEST(WakeTest, ACornerLeftOfOrAboveTheScreenOrUnreadableIsNotSupportedAndStaysTopmost) {
    // Left of the screen, above it, or a rectangle that cannot be read: no
    // click is made anywhere.
    for (const auto& [rect, unreadable] :
         {std::pair{Rect{-1, 0, 639, 400}, false}, std::pair{Rect{0, -1, 640, 399}, false},
          std::pair{Rect{0, 0, 640, 400}, true}}) {
        Wake w;
        FakeMonitor monitor(w.windows, rect);
        w.windows.failWindowRect = unreadable;
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

TEST(WakeTest, CornersOutsideTheSixteenBitRangeFailWithInputFree) {
    // 40000 fails at the corner's conversion; 32300 at the last click's.
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

TEST(WakeTest, EachMoveSettlesBeforeItsClickAndTheBurstStaysShort) {
    Wake w;
    FakeMonitor monitor(w.windows);
    w.windows.foreground = monitor.main();
    const Millis start = w.loop.clock;
    Millis lastMove{-1};
    std::vector<Millis> settled;  // from each click's own move to its press
    w.log.beforeCall = [&](Call call) {
        if (call == Call::SetCursorPos) lastMove = w.loop.clock;
        if (call == Call::Click) settled.push_back(w.loop.clock - lastMove);
    };
    EXPECT_TRUE(w.run(monitor.main()));
    ASSERT_EQ(settled.size(), 6u);
    for (std::size_t i = 0; i < settled.size(); ++i) {
        EXPECT_GE(settled[i], Millis{20}) << "click " << i + 1;
    }
    EXPECT_LT(w.loop.clock - start, Millis{250});
}

// ---------------------------------------------------------------------------
// Every fault at every step: start-up runs once to count the wake's seam
// calls, then once for each fault struck at each of those calls, and what
// must hold on every road is checked.

// One start against a running monitor, with everything a road may break
// watched as it happens.
struct Start {
    fake::FakeDesktop desktop;
    app::Form1 form{desktop.roles()};
    FakeMonitor monitor{desktop.windows};
    Point userCursor = desktop.input.cursor;
    long wakeStart = -1;               // index of the wake's first call
    long wakeEnd = -1;                 // and of the first call after it
    long struckAt = -1;                // the call the fault struck
    Millis struckClock{-1};            // and when
    Millis sentFor{-1};                // when the event it sent was to arrive
    std::optional<Millis> dispatched;  // and when it was handled
    bool heldAtDispatch = false;
    std::optional<Millis> done;       // start-up's end: a box, the tick started, or the end
    std::optional<Millis> ended;      // the form's end
    bool busyAgainAtClick = false;    // a click made while it is free sets it to work again
    long actsWhileBusy = 0;           // acts asked of the monitor while it answered nothing
    int menuAfterClicks = -1;         // clicks made when the tray menu opened
    std::vector<std::string> broken;  // what did not hold while it ran

    Start() {
        desktop.form.events = &form;
        fake::installMonitor(desktop.machine, L"C:\\Monitor");
    }
    fake::FakeWindow& window() { return desktop.windows.window(monitor.main()); }
    bool held() const { return desktop.input.inputBlocked; }
    // Sends an event that arrives with the first pass of the message loop
    // after the delay.
    void send(std::function<void()> event, Millis delay = Millis{0}) {
        sentFor = desktop.loop.clock + delay;
        desktop.loop.at(sentFor, [this, event] {
            dispatched = desktop.loop.clock;
            heldAtDispatch = held();
            event();
        });
    }
    long before(Call call) const {  // such calls made before the fault struck
        return static_cast<long>(
            std::count(desktop.log.calls.begin(), desktop.log.calls.begin() + struckAt, call));
    }
};

enum class Ends {
    Any,    // as the moment of the fault has it
    Woken,  // six clicks, then resident
    Ended,  // ended, without a message
};

struct Fault {
    const char* name;
    void (*strike)(Start&);
    Ends ends = Ends::Any;
    void (*setup)(Start&) = nullptr;
    void (*check)(Start&) = nullptr;   // what holds for this fault wherever it struck
    bool monitorMayStayOnTop = false;  // it cannot take back what it was asked
    bool error = false;                // the call it strikes fails
};

void rightClick(Start& r, Millis delay = Millis{0}) {
    r.send([&r] { r.form.onMouseMove(fake::trayCallback(517)); }, delay);
}
void exitWhenMenuOpens(Start& r) { r.desktop.form.menuAnswer = MenuChoice::Exit; }

const Fault kFaults[] = {
    {.name = "the window gone",
     .strike = [](Start& r) { r.monitor.close(); },
     .check =
         [](Start& r) {
             EXPECT_TRUE(r.form.ended());
             // Once it was clicked, the first tick finds it gone and ends quietly.
             if (!r.desktop.input.clicks.empty()) {
                 EXPECT_TRUE(r.desktop.boxes.shown.empty());
             }
         }},
    {.name = "moved",
     .strike =
         [](Start& r) {
             r.window().rect = {137, 143, 777, 543};
         }},
    {.name = "its top edge covered",
     .strike =
         [](Start& r) {
             r.desktop.windows.addTopLevel(L"Cover", L"", {0, 0, 1024, 180}, true);
         }},
    {.name = "minimized",
     .strike = [](Start& r) { r.window().minimized = true; },
     .check =
         [](Start& r) {
             // Restored by the wake before it first looks at it.
             if (r.before(Call::WindowState) == 0) {
                 EXPECT_EQ(r.desktop.input.clicks.size(), 6u);
             }
         }},
    {.name = "slow twice: busy 20 s, and 20 s more for a click",
     .strike =
         [](Start& r) {
             r.window().busyUntil = r.desktop.loop.clock + Millis{20'000};
             r.busyAgainAtClick = true;
         },
     .ends = Ends::Woken,
     .check =
         [](Start& r) {
             EXPECT_LE(r.actsWhileBusy, 3);  // nothing piles up on its thread
             // Woken by its answers, not polling fast.
             EXPECT_LT(r.desktop.loop.pumps, 40'000 / 50);
         }},
    {.name = "hung",
     .strike = [](Start& r) { r.window().busyUntil = Millis::max(); },
     .check =
         [](Start& r) {
             EXPECT_LE(r.actsWhileBusy, 3);
             // One wait's limit, never more; all of it when nothing was clicked.
             ASSERT_TRUE(r.done.has_value());
             EXPECT_LE(*r.done - r.struckClock, Millis{30'500});
             if (r.before(Call::Click) == 0) {
                 EXPECT_GE(*r.done - r.struckClock, Millis{29'000});
             }
         },
     .monitorMayStayOnTop = true},
    {.name = "answers but carries out nothing",
     .strike = [](Start& r) { r.window().refusesActs = true; },
     .check =
         [](Start& r) {
             // It answers: its refusal is seen within seconds.
             ASSERT_TRUE(r.done.has_value());
             EXPECT_LE(*r.done - r.struckClock, Millis{3'000});
         },
     .monitorMayStayOnTop = true},
    {.name = "a tray right-click",
     .strike = [](Start& r) { rightClick(r); },
     .ends = Ends::Woken,
     .check =
         [](Start& r) {
             EXPECT_EQ(r.desktop.form.menusShown, 1);
             // Arriving with the input held, it opens once the wake is over.
             if (r.heldAtDispatch) {
                 EXPECT_EQ(r.menuAfterClicks, 6);
             }
         }},
    {.name = "Exit from the tray menu",
     .strike = [](Start& r) { rightClick(r); },
     .ends = Ends::Ended,
     .setup = &exitWhenMenuOpens},
    {.name = "Exit from the tray menu while the monitor works 20 s",
     .strike =
         [](Start& r) {
             r.window().busyUntil = r.desktop.loop.clock + Millis{20'000};
             rightClick(r, Millis{1'500});
         },
     .ends = Ends::Ended,
     .setup = &exitWhenMenuOpens},
    {.name = "\"TaskbarCreated\"",
     .strike =
         [](Start& r) {
             r.desktop.tray.present = false;  // the shell restarted without the icon
             r.send([&r] { r.form.onTaskbarCreated(); });
         },
     .ends = Ends::Woken,
     .check = [](Start& r) { EXPECT_TRUE(r.desktop.tray.present); }},
    {.name = "the tray retry",
     .strike =
         [](Start& r) {
             r.desktop.tray.shellReady = true;
             r.send([&r] { r.form.onTimer(TimerId::TrayRetry); });
         },
     .ends = Ends::Woken,
     .setup = [](Start& r) { r.desktop.tray.shellReady = false; },
     .check = [](Start& r) { EXPECT_TRUE(r.desktop.tray.present); }},
    {.name = "the session's end",
     .strike = [](Start& r) { r.send([&r] { r.form.onSessionEnd(true); }); },
     .ends = Ends::Ended},
    {.name = "the session's end while the monitor hangs",
     .strike =
         [](Start& r) {
             r.window().busyUntil = Millis::max();
             r.send([&r] { r.form.onSessionEnd(true); }, Millis{1'500});
         },
     .ends = Ends::Ended,
     .monitorMayStayOnTop = true},
    {.name = "a key held for 2 s",
     .strike =
         [](Start& r) {
             if (r.held()) return;  // nobody presses a key while input is held
             r.desktop.input.pressing = true;
             r.desktop.loop.at(r.desktop.loop.clock + Millis{2'000},
                               [&r] { r.desktop.input.pressing = false; });
         },
     .ends = Ends::Woken},
    {.name = "an error", .strike = [](Start&) { throw fake::InjectedFailure(); }, .error = true},
};

// Everything that must hold whatever the fault and wherever it struck.
void checkRoad(Start& r, const Fault& fault) {
    auto& d = r.desktop;
    for (std::size_t i = 0; i < d.input.clicks.size(); ++i) {
        const fake::Click& click = d.input.clicks[i];
        EXPECT_EQ(click.reached, r.monitor.main()) << "click " << i + 1 << " off the monitor";
        if (click.reached == r.monitor.main()) {
            EXPECT_EQ(click.offset, kStrip.at(i)) << i + 1;
        }
        EXPECT_TRUE(click.inputBlocked) << "click " << i + 1;
        EXPECT_FALSE(click.userPressing) << "click " << i + 1;
    }
    // Held only while clicking: never across a wait for the monitor.
    EXPECT_LT(d.input.longestBlock, Millis{250});
    EXPECT_FALSE(d.input.inputBlocked);
    EXPECT_EQ(d.input.cursor, r.userCursor);
    for (const std::string& what : r.broken) ADD_FAILURE() << what;
    if (r.dispatched) {
        EXPECT_LE(*r.dispatched - r.sentFor, Millis{100});
    }

    const bool notWoken = d.boxes.shown.size() == 1 && d.boxes.shown[0].text == kNotWoken;
    if (fault.ends == Ends::Woken) {
        EXPECT_EQ(d.input.clicks.size(), 6u);
        EXPECT_FALSE(r.form.ended());
        EXPECT_TRUE(d.boxes.shown.empty());
    } else if (fault.ends == Ends::Ended) {
        EXPECT_TRUE(r.form.ended());
        EXPECT_TRUE(d.boxes.shown.empty());
        // Ended by the user or the system while input was free: at once.
        if (r.dispatched && !r.heldAtDispatch) {
            ASSERT_TRUE(r.ended.has_value());
            EXPECT_LE(*r.ended - *r.dispatched, Millis{100});
        }
    } else if (d.input.clicks.empty() && !fault.error) {
        EXPECT_TRUE(notWoken) << "no click made, and no \"Unable to initialize\"";
    }
    // Only the road of a monitor that is not woken leaves it on top, once
    // it has taken what it was asked.
    const bool monitorThere = d.windows.exists(r.monitor.main());
    if (monitorThere && r.window().busyUntil != Millis::max()) {
        d.loop.clock = std::max(d.loop.clock, r.window().busyUntil);
    }
    d.loop.clock += Millis{2'000};
    if (monitorThere && !notWoken && !fault.monitorMayStayOnTop) {
        EXPECT_FALSE(r.window().topmost);
    }
    if (fault.check) fault.check(r);
}

bool isAct(Call call) {
    return call == Call::ShowWindowShow || call == Call::ShowWindowNormal ||
           call == Call::SetTopmostOn || call == Call::SetForegroundWindow;
}

// What undoes the wake: a failure there is not one the wake can mend.
bool undoes(Call call, Call previous) {
    return call == Call::BlockInputOff || call == Call::SetTopmostOff ||
           call == Call::UseOwnCoordinates ||
           (call == Call::SetCursorPos && previous == Call::BlockInputOff);
}

// Watches one call of the run, and strikes the fault at the wake's call k.
void watch(Start& r, const Fault* fault, long k, Call call) {
    auto& d = r.desktop;
    const auto& calls = d.log.calls;
    const long index = static_cast<long>(calls.size()) - 1;
    if (r.wakeStart < 0 && call == Call::ForegroundWindow) r.wakeStart = index;
    if (r.wakeStart >= 0 && r.wakeEnd < 0 && call == Call::ReadSetting) r.wakeEnd = index;
    if (r.held() &&
        (call == Call::PopupTrayMenu || call == Call::MessageBox || call == Call::TrayAdd ||
         call == Call::TrayModify || call == Call::TrayDelete || call == Call::ShowForm ||
         call == Call::AskForAnswer)) {
        r.broken.push_back(std::string(fake::nameOf(call)) + " while input is held");
    }
    if (!r.done && r.wakeStart >= 0 &&
        (call == Call::MessageBox || call == Call::SetTickTimer || call == Call::DestroyForm)) {
        r.done = d.loop.clock;
    }
    if (call == Call::DestroyForm) r.ended = d.loop.clock;
    if (call == Call::PopupTrayMenu) r.menuAfterClicks = static_cast<int>(d.input.clicks.size());
    if (d.windows.exists(r.monitor.main())) {
        fake::FakeWindow& w = r.window();
        if (isAct(call) && w.busyUntil > d.loop.clock) ++r.actsWhileBusy;
        if (call == Call::Click && r.busyAgainAtClick && w.busyUntil <= d.loop.clock) {
            r.busyAgainAtClick = false;
            w.busyUntil = d.loop.clock + Millis{20'000};
        }
    }
    // The look's last question and the press are one moment to the program:
    // a fault there strikes after the press.
    if (fault == nullptr || r.struckAt >= 0 || r.wakeStart < 0 || index < r.wakeStart + k ||
        call == Call::WindowAt || call == Call::Click) {
        return;
    }
    r.struckAt = index;
    r.struckClock = d.loop.clock;
    if (!fault->error || !undoes(call, index > 0 ? calls[calls.size() - 2] : call)) {
        fault->strike(r);
    }
}

// Starts the program, striking the fault at the wake's call k. Returns the
// number of calls the wake made.
long startWith(Start& r, const Fault* fault, long k) {
    if (fault && fault->setup) fault->setup(r);
    r.desktop.log.beforeCall = [&r, fault, k](Call call) { watch(r, fault, k, call); };
    r.form.load();
    // The program's message loop takes what is still to come.
    r.desktop.loop.clock = std::max(r.desktop.loop.clock, r.sentFor);
    r.desktop.loop.pumpMessages();
    r.desktop.log.beforeCall = nullptr;
    return r.wakeEnd - r.wakeStart;
}

TEST(WakeFaults, AFaultAtAnyStepNeverClicksOffTheMonitorNorHoldsTheUserNorLeavesItOnTop) {
    long calls = 0;
    {
        Start clean;
        calls = startWith(clean, nullptr, 0);
        ASSERT_EQ(clean.desktop.input.clicks.size(), 6u);
        ASSERT_GT(calls, 50);
        checkRoad(clean, Fault{.name = "none", .strike = nullptr, .ends = Ends::Woken});
    }
    for (const Fault& fault : kFaults) {
        for (long k = 0; k <= calls; ++k) {
            Start r;
            startWith(r, &fault, k);
            if (r.struckAt < 0) continue;  // the wake ended before it
            SCOPED_TRACE(std::string(fault.name) + " at the wake's call " + std::to_string(k) +
                         ", " + fake::nameOf(r.desktop.log.calls.at(std::size_t(r.struckAt))));
            checkRoad(r, fault);
            if (testing::Test::HasFailure()) return;  // one road told in full is enough
        }
    }
}

}  // namespace
}  // namespace tervane
