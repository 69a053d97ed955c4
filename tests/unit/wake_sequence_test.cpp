#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "fakes/fake_desktop.h"
#include "fakes/fake_monitor.h"
#include "monitor/wake_sequence.h"
#include "tests/wake_clicks.h"

namespace tervane {
namespace {

using fake::Call;
using fake::FakeMonitor;
using monitor::WakeOutcome;

const std::vector<Point> kStrip(expected::kWakeClicks.begin(), expected::kWakeClicks.end());
const std::wstring kNotWoken = L"Unable to initialize PC Probe! Close PC Probe and try again";

// Only letters and digits: a test instance's name.
std::string instanceName(std::string name) {
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name;
}

// The roles the wake sequence uses, wired as on the platform.
struct Wake : fake::FakeDesktop {
    monitor::HeldInput held{windows, input};
    Waits waits{loop, nullptr};
    Millis firstForegroundAsk{-1};
    std::vector<Millis> pressedAt;

    Wake() {
        log.beforeCall = [this](Call call) {
            if (call == Call::SetForegroundWindow && firstForegroundAsk < Millis{0}) {
                firstForegroundAsk = loop.clock;
            }
            if (call != Call::Press) return;
            pressedAt.push_back(loop.clock);
            // Wine: the window a press crossed moves the cursor there again, late.
            loop.at(loop.clock + Millis{30},
                    [this, n = input.clicks.size()] { input.cursor = input.clicks.at(n).at; });
        };
    }
    WakeOutcome run(WindowHandle probe) {
        return monitor::WakeSequence(windows, windows, input, held, waits, probe).wakeProbe();
    }
};

// Where the monitor's window lies (its corner in its own pixels), the
// display's scaling, whether the monitor is DPI aware, whether the program can
// take its coordinates (Windows before 10 1607 cannot), whether the monitor
// starts minimized and whether the user swapped the buttons.
struct Place {
    Point corner;
    int percent = 100;
    bool dpiUnaware = true;
    bool perThreadDpi = true;
    bool minimized = false;
    bool buttonsSwapped = false;
};

class WakePlaceTest : public testing::TestWithParam<Place> {};

TEST_P(WakePlaceTest, PressesLandOnItsOwnPointsOnTopThenOnceMoreAndAllIsPutBackOrNoneIsMade) {
    const Place p = GetParam();
    Wake w;
    w.windows.scalePercent = p.percent;
    w.windows.perThreadDpi = p.perThreadDpi;
    w.input.swappedButtons = p.buttonsSwapped;
    // A monitor that is not DPI aware is stretched: its own pixels are the
    // screen's times the scaling.
    const int s = p.dpiUnaware ? p.percent : 100;
    FakeMonitor monitor(w.windows, {p.corner.x * s / 100, p.corner.y * s / 100,
                                    (p.corner.x + 640) * s / 100, (p.corner.y + 400) * s / 100});
    w.windows.window(monitor.main()).dpiUnaware = p.dpiUnaware;
    // A minimized monitor is restored before its corner is read.
    w.windows.window(monitor.main()).minimized = p.minimized;
    const Point userCursor = w.input.cursor;  // no whole 96-DPI point at 150 or 250 %

    // Where the clicks cannot be reckoned in the monitor's points, none is made.
    const bool woken = p.perThreadDpi || p.percent == 100;
    EXPECT_EQ(w.run(monitor.main()), woken ? WakeOutcome::Woken : WakeOutcome::NotWoken);

    std::vector<Point> pressed;
    for (std::size_t i = 0; i < w.input.clicks.size(); ++i) {
        pressed.push_back(w.windows.ownPoint(monitor.main(), w.input.clicks[i].at));
        EXPECT_TRUE(w.input.clicks[i].inputBlocked) << "click " << i + 1;
        EXPECT_EQ(w.input.clicks[i].topmost.contains(monitor.main()), i < 5) << "click " << i + 1;
        // The primary button, as a person clicks: left-button messages.
        EXPECT_TRUE(w.input.clicks[i].leftButtonMessages) << "click " << i + 1;
    }
    EXPECT_EQ(pressed, woken ? kStrip : std::vector<Point>{});
    EXPECT_FALSE(w.input.inputBlocked);
    EXPECT_EQ(w.input.cursor, userCursor);
    w.loop.clock += Millis{1'000};  // it has carried out what it was asked
    EXPECT_FALSE(w.windows.window(monitor.main()).topmost);
}

// A corner at (32212, 32667) is at the 16-bit limit in the monitor's own
// pixels; at 250 % it lies beyond it on the screen.
INSTANTIATE_TEST_SUITE_P(Places, WakePlaceTest,
                         testing::Values(Place{{0, 0}}, Place{{100, 120}}, Place{{32'212, 32'667}},
                                         Place{{32'212, 32'667}, 250}, Place{{100, 120}, 150},
                                         Place{{100, 120}, 250}, Place{{100, 120}, 150, false},
                                         Place{{100, 120}, 150, true, false},
                                         Place{{100, 120}, 100, true, false},
                                         Place{{100, 120}, 100, true, true, true},
                                         Place{{100, 120}, 100, true, true, false, true}));

// A road of the wake: where the monitor lies, what the desktop does, and
// what follows (no outcome: the corner's points leave 16 bits, an error).
struct Road {
    const char* name;
    Rect rect;
    void (*setup)(Wake&, WindowHandle monitor);
    std::optional<WakeOutcome> outcome;
    void (*check)(Wake&, WindowHandle monitor);
};

class WakeRoadTest : public testing::TestWithParam<Road> {};

TEST_P(WakeRoadTest, EachRoadEndsAsItShouldWithInputFreeAndTheCursorBack) {
    const Road& road = GetParam();
    Wake w;
    FakeMonitor monitor(w.windows, road.rect);
    const Point userCursor = w.input.cursor;
    road.setup(w, monitor.main());
    if (road.outcome) {
        EXPECT_EQ(w.run(monitor.main()), *road.outcome);
    } else {
        EXPECT_THROW(w.run(monitor.main()), monitor::CoordinateOverflow);
    }
    EXPECT_EQ(w.input.clicks.size(), road.outcome == WakeOutcome::Woken ? 6u : 0u);
    EXPECT_FALSE(w.input.inputBlocked);
    EXPECT_EQ(w.input.cursor, userCursor);
    w.loop.clock += Millis{1'000};  // it has carried out what it was asked
    road.check(w, monitor.main());
}

void nothing(Wake&, WindowHandle) {}
// No click is made anywhere; only a corner off the screen leaves it on top.
void leftOnTop(Wake& w, WindowHandle m) {
    EXPECT_EQ(w.log.count(Call::BlockInputOn), 0);
    EXPECT_TRUE(w.windows.window(m).topmost);
}
constexpr Rect kOnScreen = FakeMonitor::kDefaultRect;

INSTANTIATE_TEST_SUITE_P(
    Roads, WakeRoadTest,
    testing::Values(
        Road{"already in front", kOnScreen,
             [](Wake& w, WindowHandle m) { w.windows.foreground = m; }, WakeOutcome::Woken,
             [](Wake& w, WindowHandle) {
                 EXPECT_EQ(w.log.count(Call::SetForegroundWindow), 0);
                 for (std::size_t i = 1; i <= 3; ++i) {
                     EXPECT_GE(w.pressedAt[i + 1] - w.pressedAt[i], Millis{9}) << "after " << i + 1;
                 }
                 // Each press carries its point: the cursor is moved only to
                 // be put back after each of the two holds.
                 EXPECT_EQ(w.log.count(Call::MoveCursor), 2);
                 EXPECT_LT(w.pressedAt[5] - w.pressedAt[0], Millis{250});
             }},
        Road{"refused for thirty seconds", kOnScreen,
             [](Wake& w, WindowHandle) { w.windows.refuseForeground = true; },
             WakeOutcome::NotWoken,
             [](Wake& w, WindowHandle m) {
                 EXPECT_GE(w.loop.clock, Millis{31'000});
                 EXPECT_LT(w.loop.clock, Millis{31'200});
                 // The loop sleeps between its tries instead of spinning.
                 EXPECT_LT(w.log.count(Call::SetForegroundWindow), 30'000 / 100);
                 EXPECT_GT(w.log.count(Call::SetForegroundWindow), 30'000 / 500);
                 leftOnTop(w, m);
             }},
        // Given at 29.7 s, seen by the last look before the limit.
        Road{"reached just before the limit", kOnScreen,
             [](Wake& w, WindowHandle m) {
                 w.windows.refuseForeground = true;
                 w.loop.at(Millis{29'700}, [&w, m] { w.windows.foreground = m; });
             },
             WakeOutcome::Woken, &nothing},
        // Reached at 70 s: within 30 s of the splash closing, not of the start.
        Road{"after the splash", kOnScreen,
             [](Wake& w, WindowHandle m) {
                 const WindowHandle splash = w.windows.addTopLevel(L"TSplashForm", L"SplashForm");
                 w.loop.atWindowChange(Millis{45'000},
                                       [&w, splash] { w.windows.removeWindow(splash); });
                 w.windows.refuseForeground = true;
                 w.loop.at(Millis{70'000}, [&w, m] { w.windows.foreground = m; });
             },
             WakeOutcome::Woken,
             [](Wake& w, WindowHandle) { EXPECT_GE(w.firstForegroundAsk, Millis{45'000}); }},
        Road{"left of the screen", {-1, 0, 639, 400}, &nothing, WakeOutcome::NotWoken, &leftOnTop},
        Road{"above the screen", {0, -1, 640, 399}, &nothing, WakeOutcome::NotWoken, &leftOnTop},
        Road{"its corner unreadable", kOnScreen,
             [](Wake& w, WindowHandle) { w.windows.failWindowRect = true; }, WakeOutcome::NotWoken,
             [](Wake& w, WindowHandle m) { EXPECT_FALSE(w.windows.window(m).topmost); }},
        // 40000 fails at the first click's point, 32300 at the last click's,
        // before any press.
        Road{"at x 40000", {40'000, 0, 40'640, 400}, &nothing, std::nullopt, &nothing},
        Road{"at x 32300", {32'300, 0, 32'940, 400}, &nothing, std::nullopt, &nothing},
        Road{"at y 32700", {0, 32'700, 640, 33'100}, &nothing, std::nullopt, &nothing}),
    [](const auto& row) { return instanceName(row.param.name); });

// ---------------------------------------------------------------------------
// Every fault at every step: start-up runs once to count the wake's seam
// calls, then once with the fault struck at each of those calls, and what
// must hold on every road is checked.

// One start against a running monitor, with everything a road may break
// watched as it happens.
struct Start : fake::FormOnFake {
    FakeMonitor monitor{desktop.windows};
    Point userCursor = desktop.input.cursor;  // where the user last put it
    long wakeStart = -1;                      // index of the wake's first call
    long wakeEnd = -1;                        // and of the first call after it
    long struckAt = -1;                       // the call the fault struck
    Millis struckClock{-1};                   // and when
    Millis sentFor{-1};                       // when the event it sent arrives
    Call effect = Call::DestroyForm;          // the call that shows it handled
    std::optional<Millis> handled;
    std::vector<std::pair<Millis, Millis>> holds;  // input held from, to
    std::optional<Millis> done;         // start-up's end: a box, the tick started, or the end
    std::optional<Millis> silentSince;  // the first question a hung monitor never answers
    bool busyAgainAtClick = false;      // a press made while it is free sets it to work again
    bool growsOnClick = false;          // each click it takes makes its window larger
    long actsWhileBusy = 0;             // acts asked of the monitor while it answered nothing
    std::vector<std::string> broken;    // what did not hold while it ran

    Start() { fake::installMonitor(desktop.machine, L"C:\\Monitor"); }
    fake::FakeWindow& window() { return desktop.windows.window(monitor.main()); }
    bool held() const { return desktop.input.inputBlocked; }
    void holdKey(Millis duration) {  // nobody presses a key while input is held
        if (held()) return;
        desktop.input.pressing = true;
        if (duration == Millis::max()) return;
        desktop.loop.at(desktop.loop.clock + duration, [this] { desktop.input.pressing = false; });
    }
    // Sends an event that arrives after the delay; the effect call shows it handled.
    void send(std::function<void()> event, Call shows, Millis delay = Millis{0}) {
        sentFor = desktop.loop.clock + delay;
        effect = shows;
        desktop.loop.at(sentFor, std::move(event));
    }
    // When it was due to be handled: as it arrived, or once the input it
    // arrived in was free again.
    Millis due() const {
        for (const auto& [from, to] : holds) {
            if (from <= sentFor && sentFor < to) return to;
        }
        return sentFor;
    }
    long before(Call call) const {  // such calls made before the fault struck
        return static_cast<long>(
            std::count(desktop.log.calls.begin(), desktop.log.calls.begin() + struckAt, call));
    }
    std::string boxes() const {
        std::string texts;
        for (const auto& box : desktop.boxes.shown)
            texts += std::string(box.text.begin(), box.text.end()) + "; ";
        return texts;
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
    void (*check)(Start&) = nullptr;  // what holds for this fault wherever it struck
    bool monitorsChoice = false;      // its place on top is its own, or it cannot be asked
    bool movesCursor = false;         // the user moves the cursor
    bool error = false;               // the call it strikes fails
};

void rightClick(Start& r, Millis delay = Millis{0}) {
    r.send([&r] { r.form.onMouseMove(fake::trayCallback(517)); }, Call::PopupTrayMenu, delay);
}
void exitWhenMenuOpens(Start& r) { r.desktop.form.menuAnswer = MenuChoice::Exit; }
void menuOpened(Start& r) { EXPECT_EQ(r.desktop.form.menusShown, 1); }

constexpr Rect kMoved{137, 143, 777, 543};
constexpr Rect kTopBand{0, 0, 1024, 180};  // over the strip's first and last clicks
constexpr Point kAside{900, 700};          // off the monitor's window

const Fault kFaults[] = {
    {.name = "nothing", .strike = nullptr, .ends = Ends::Woken},
    {.name = "the window gone",
     .strike = [](Start& r) { r.monitor.close(); },
     .check =
         [](Start& r) {
             // As the tick handles it: the program ends without a word.
             EXPECT_TRUE(r.form.ended());
             EXPECT_TRUE(r.desktop.boxes.shown.empty()) << r.boxes();
         }},
    {.name = "replaced by one alike",
     .strike =
         [](Start& r) {
             r.monitor.close();
             r.desktop.windows.addTopLevel(L"TMainForm", L"Asus Probe 2",
                                           FakeMonitor::kDefaultRect);
         },
     .check =
         [](Start& r) {
             // Resident only after all six; the new window was never woken.
             if (!r.form.ended()) {
                 EXPECT_EQ(r.desktop.input.clicks.size(), 6u);
             } else {
                 EXPECT_EQ(r.boxes(),
                           "Unable to initialize PC Probe! Close PC Probe and try again; ");
             }
         }},
    {.name = "moved", .strike = [](Start& r) { r.window().rect = kMoved; }},
    {.name = "growing as it is clicked",
     .strike = [](Start& r) { r.growsOnClick = true; },
     .ends = Ends::Woken},
    {.name = "its top edge covered",
     .strike = [](Start& r) { r.desktop.windows.addTopLevel(L"Cover", L"", kTopBand, true); }},
    {.name = "minimized",
     .strike = [](Start& r) { r.window().minimized = true; },
     .check =
         [](Start& r) {
             // Restored by the wake before it first looks at it.
             if (r.before(Call::WindowState) == 0) {
                 EXPECT_EQ(r.desktop.input.clicks.size(), 6u);
             }
         }},
    {.name = "the cursor moved",
     .strike = [](Start& r) { r.desktop.input.cursor = r.userCursor = kAside; },
     .ends = Ends::Woken,
     .movesCursor = true},
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
             // A question unanswered for the whole limit, and not longer.
             ASSERT_TRUE(r.done.has_value());
             if (r.silentSince) {
                 EXPECT_GE(*r.done - *r.silentSince, Millis{30'000});
                 EXPECT_LE(*r.done - *r.silentSince, Millis{30'300});
             }
         },
     .monitorsChoice = true},
    {.name = "answering but carrying out nothing",
     .strike = [](Start& r) { r.window().refusesActs = true; },
     .ends = Ends::Woken,
     .check =
         [](Start& r) {
             // Two refusals, each told by two answers a second apart.
             ASSERT_TRUE(r.done.has_value());
             EXPECT_LE(*r.done - r.struckClock, Millis{5'000});
         },
     .monitorsChoice = true},
    {.name = "keeping itself on top",
     .strike = [](Start& r) { r.window().keepsOnTop = true; },
     .ends = Ends::Woken,
     .monitorsChoice = true},
    {.name = "a tray right-click",
     .strike = [](Start& r) { rightClick(r); },
     .ends = Ends::Woken,
     .check = &menuOpened},
    {.name = "a tray right-click while input is held during slow presses",
     .strike =
         [](Start& r) {
             r.desktop.input.pressTakes = Millis{2'000};
             r.busyAgainAtClick = true;
             rightClick(r, Millis{1'000});
         },
     .ends = Ends::Woken,
     .check = &menuOpened},
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
    {.name = "TaskbarCreated",
     .strike =
         [](Start& r) {
             r.desktop.tray.present = false;  // the shell restarted without the icon
             r.send([&r] { r.form.onTaskbarCreated(); }, Call::TrayAdd);
         },
     .ends = Ends::Woken,
     .check = [](Start& r) { EXPECT_TRUE(r.desktop.tray.present); }},
    {.name = "the tray retry",
     .strike =
         [](Start& r) {
             r.desktop.tray.shellReady = true;
             r.send([&r] { r.form.onTimer(TimerId::TrayRetry); }, Call::TrayAdd);
         },
     .ends = Ends::Woken,
     .setup = [](Start& r) { r.desktop.tray.shellReady = false; },
     .check = [](Start& r) { EXPECT_TRUE(r.desktop.tray.present); }},
    {.name = "the session's end",
     .strike = [](Start& r) { r.send([&r] { r.form.onSessionEnd(true); }, Call::DestroyForm); },
     .ends = Ends::Ended},
    {.name = "the session's end while the monitor hangs",
     .strike =
         [](Start& r) {
             r.window().busyUntil = Millis::max();
             r.send([&r] { r.form.onSessionEnd(true); }, Call::DestroyForm, Millis{1'500});
         },
     .ends = Ends::Ended,
     .monitorsChoice = true},
    {.name = "a key held for 2 s",
     .strike = [](Start& r) { r.holdKey(Millis{2'000}); },
     .ends = Ends::Woken},
    {.name = "a key held past the wait for it",
     .strike = [](Start& r) { r.holdKey(Millis::max()); }},
    {.name = "an error", .strike = [](Start&) { throw fake::InjectedFailure(); }, .error = true},
};

// Everything that must hold whatever the fault and wherever it struck.
void checkRoad(Start& r, const Fault& fault) {
    auto& d = r.desktop;
    const WindowHandle main = r.monitor.main();
    for (std::size_t i = 0; i < d.input.clicks.size(); ++i) {
        const fake::Click& click = d.input.clicks[i];
        EXPECT_EQ(click.reached, main) << "click " << i + 1 << " off the monitor";
        if (click.reached == main) {
            EXPECT_EQ(click.offset, kStrip.at(i)) << i + 1;
        }
        EXPECT_TRUE(click.inputBlocked) << "click " << i + 1;
        EXPECT_FALSE(click.userPressing) << "click " << i + 1;
        if (!fault.monitorsChoice) {
            EXPECT_EQ(click.topmost.contains(main), i < 5) << "click " << i + 1 << " on top";
        }
    }
    // Held only while pressing: never across a wait for the monitor.
    EXPECT_LT(d.input.longestBlock, Millis{250} + 5 * d.input.pressTakes);
    EXPECT_FALSE(d.input.inputBlocked);
    if (!fault.movesCursor) {
        EXPECT_EQ(d.input.cursor, r.userCursor);
    }
    for (const std::string& what : r.broken) ADD_FAILURE() << what;
    if (r.sentFor >= Millis{0}) {
        ASSERT_TRUE(r.handled.has_value()) << "the event it sent was not handled";
        EXPECT_LE(*r.handled - r.due(), Millis{100});
    }
    // Resident only once the strip was pressed.
    if (!r.form.ended()) {
        EXPECT_GE(d.input.clicks.size(), 5u);
    }

    const bool notWoken = d.boxes.shown.size() == 1 && d.boxes.shown[0].text == kNotWoken;
    const bool monitorThere = d.windows.exists(main);
    if (fault.ends == Ends::Woken) {
        EXPECT_EQ(d.input.clicks.size(), 6u);
        EXPECT_FALSE(r.form.ended());
        EXPECT_TRUE(d.boxes.shown.empty()) << r.boxes();
    } else if (fault.ends == Ends::Ended) {
        EXPECT_TRUE(r.form.ended());
        EXPECT_TRUE(d.boxes.shown.empty()) << r.boxes();
    } else if (d.input.clicks.empty() && monitorThere && !fault.error) {
        EXPECT_TRUE(notWoken) << "no click made, and no \"Unable to initialize\": " << r.boxes();
    }
    // Whatever the road, the monitor is not left on top, once it has taken
    // what it was asked.
    if (monitorThere && r.window().busyUntil != Millis::max()) {
        d.loop.clock = std::max(d.loop.clock, r.window().busyUntil);
    }
    d.loop.clock += Millis{2'000};
    if (monitorThere && !fault.monitorsChoice) {
        EXPECT_FALSE(r.window().topmost);
    }
    if (fault.check) fault.check(r);
}

bool isAct(Call call) {
    return call == Call::ShowWindowShow || call == Call::ShowWindowNormal ||
           call == Call::SetTopmostOn || call == Call::SetForegroundWindow;
}

// What undoes the wake (the cursor read in the monitor's coordinates is the
// look before it is put back): a failure there is not one it can mend.
bool undoes(Call call, Call previous, bool held) {
    return call == Call::BlockInputOff || call == Call::SetTopmostOff ||
           call == Call::UseOwnCoordinates || (call == Call::UseWindowCoordinates && !held) ||
           (call == Call::CursorPos && previous == Call::UseWindowCoordinates) ||
           (call == Call::MoveCursor && previous == Call::UseOwnCoordinates);
}

// Watches one call of the run, and strikes the fault at the wake's call k.
void watch(Start& r, const Fault* fault, long k, Call call) {
    auto& d = r.desktop;
    const auto& calls = d.log.calls;
    const long index = static_cast<long>(calls.size()) - 1;
    const Millis now = d.loop.clock;
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
        r.done = now;
    }
    if (call == r.effect && r.sentFor >= Millis{0} && now >= r.sentFor && !r.handled) {
        r.handled = now;
    }
    if (call == Call::BlockInputOn && !r.held()) r.holds.emplace_back(now, Millis::max());
    if (call == Call::BlockInputOff && r.held()) r.holds.back().second = now;
    if (d.windows.exists(r.monitor.main())) {
        fake::FakeWindow& w = r.window();
        if (isAct(call) && w.busyUntil > now) ++r.actsWhileBusy;
        if (call == Call::AskForAnswer && w.busyUntil == Millis::max() && !r.silentSince) {
            r.silentSince = now;
        }
        if (call == Call::Press && r.busyAgainAtClick && w.busyUntil <= now) {
            r.busyAgainAtClick = false;
            w.busyUntil = now + Millis{20'000};
        }
        if (call == Call::Press && r.growsOnClick) {  // once it has taken the click
            d.loop.at(now + Millis{15}, [&w] {
                w.rect = {w.rect.left, w.rect.top, w.rect.right + 40, w.rect.bottom + 40};
            });
        }
    }
    // The look's last question and the press are one moment to the program:
    // a fault there strikes after the press.
    if (fault == nullptr || r.struckAt >= 0 || r.wakeStart < 0 || index < r.wakeStart + k ||
        call == Call::WindowAt || call == Call::Press) {
        return;
    }
    r.struckAt = index;
    r.struckClock = now;
    if (!fault->error || !undoes(call, index > 0 ? calls[calls.size() - 2] : call, r.held())) {
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

// The calls of the wake on a road without a fault.
long wakeCalls() {
    static const long calls = [] {
        Start clean;
        return startWith(clean, nullptr, 0);
    }();
    return calls;
}

class WakeFaults : public testing::TestWithParam<Fault> {};

TEST_P(WakeFaults, NeverPressOffTheMonitorHoldTheUserLeaveItOnTopOrKeepAnEventWaiting) {
    const Fault& fault = GetParam();
    if (fault.strike == nullptr) {
        Start clean;
        startWith(clean, nullptr, 0);
        return checkRoad(clean, fault);
    }
    const long calls = wakeCalls();
    ASSERT_GT(calls, 50);
    for (long k = 0; k <= calls; ++k) {
        Start r;
        startWith(r, &fault, k);
        if (r.struckAt < 0) continue;  // the wake ended before it
        SCOPED_TRACE(std::string(fault.name) + " at the wake's call " + std::to_string(k) + ", " +
                     fake::nameOf(r.desktop.log.calls.at(std::size_t(r.struckAt))));
        checkRoad(r, fault);
        if (HasFailure()) return;  // one road told in full is enough
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, WakeFaults, testing::ValuesIn(kFaults),
                         [](const auto& row) { return instanceName(row.param.name); });

}  // namespace
}  // namespace tervane
