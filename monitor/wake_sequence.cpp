#include "monitor/wake_sequence.h"

#include <algorithm>
#include <limits>

#include "monitor/monitor_contract.h"

namespace tervane::monitor {
namespace {

constexpr Millis kForegroundLimit{30'000};
// Each wait for the monitor after the foreground loop has a limit of its own,
// counted from its own start: a slow monitor gets as long for each act.
constexpr Millis kMonitorLimit = kForegroundLimit;
// The splash wait and the foreground loop are woken when windows come and
// go; the poll only backs that up.
constexpr Millis kPollInterval{250};
constexpr Millis kSettleAfterMove{20};  // lets a cursor move take effect before the click
constexpr Millis kPauseAfterClick{9};
// A monitor that answers carries out what it was asked at once: look again
// this soon. One that answers yet does not show the change this long after
// has refused it.
constexpr Millis kLookAgain{10};
constexpr Millis kRefusal{1'000};
// A user in the middle of a drag or a key chord is waited for this long,
// looked at this often: no message tells when a key is let go elsewhere.
constexpr Millis kUserFreeLimit{10'000};
constexpr Millis kUserFreePoll{50};

bool onTopAndNormal(const WindowState& s) {
    return s.topmost && s.visible && !s.minimized && !s.maximized;
}
bool notOnTop(const WindowState& s) { return !s.topmost; }

}  // namespace

std::int16_t checked16(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw CoordinateOverflow();
    }
    return static_cast<std::int16_t>(value);
}

Point anchorPoint(const Rect& rect) {
    return {checked16(std::int64_t{rect.left} + kPanelStrip.anchor.x),
            checked16(std::int64_t{rect.top} + kPanelStrip.anchor.y)};
}

std::array<Point, 6> panelPoints(const Rect& rect) {
    const PanelStrip& strip = kPanelStrip;
    const auto [x, y] = anchorPoint(rect);
    std::array<Point, 6> points;
    points[0] = {x, checked16(std::int64_t{y} - strip.firstRise)};
    // Along the strip from the anchor, a click every step while not past its end.
    std::size_t next = 1;
    const std::int16_t rowEnd = checked16(std::int64_t{x} + strip.rowEnd);
    for (std::int16_t i = checked16(std::int64_t{x} + strip.step); i <= rowEnd;
         i = checked16(std::int64_t{i} + strip.step)) {
        points.at(next++) = {i, y};
    }
    points.at(next++) = {x, y};
    const std::int16_t lastY = checked16(std::int64_t{y} + strip.last.y);
    const std::int16_t lastX = checked16(std::int64_t{x} + strip.last.x);
    points.at(next) = {lastX, lastY};
    return points;
}

TopmostWhileWaking::TopmostWhileWaking(OtherWindows& windows, WindowHandle window)
    : windows_(windows), window_(window) {
    windows_.setTopmost(window_, true);
}

TopmostWhileWaking::~TopmostWhileWaking() {
    if (settled_) return;
    try {
        windows_.setTopmost(window_, false);
    } catch (...) {
        // Nothing more can be done from a destructor.
    }
}

void TopmostWhileWaking::lift() {
    settled_ = true;
    windows_.setTopmost(window_, false);
}

void WakeSequence::waitForSplash() {
    const OtherWindowsWatch watch(waits_.loop());
    while (windows_.findWindow(kSplashClass, kSplashTitle) != 0) {
        waits_.waitOnce(waits_.now() + kPollInterval);
    }
}

// A busy monitor is not asked for more while it has not answered: each step
// that acts on it asks for an answer afterwards, and the next one waits for
// that answer, serving messages meanwhile. Shown: it answered.
Road WakeSequence::answers() {
    const Millis limit = waits_.now() + kMonitorLimit;
    while (!windows_.answered()) {
        // A window gone answers nothing.
        if (!windows_.windowState(probe_)) return Road::Gone;
        if (waits_.now() >= limit) return Road::NoAnswer;
        waits_.waitOnce(std::min(waits_.now() + kPollInterval, limit));
    }
    return Road::Shown;
}

WindowHandle WakeSequence::bringToFront() {
    // A change of the foreground wakes the loop at once.
    const OtherWindowsWatch watch(waits_.loop());
    const Millis deadline = waits_.now() + kForegroundLimit;
    WindowHandle lastForeground = 0;
    windows_.askForAnswer(probe_);
    Millis nextTry = waits_.now();
    for (Millis t = nextTry; t < deadline; t = waits_.now()) {
        waits_.pump();
        lastForeground = windows_.foregroundWindow();
        if (lastForeground == probe_) break;
        // Tried again once the poll interval has passed and the monitor has
        // answered; its answer wakes the wait of a monitor that was busy.
        if (t >= nextTry && windows_.answered()) {
            windows_.showWindow(probe_, ShowCommand::Show);
            windows_.showWindow(probe_, ShowCommand::ShowNormal);
            windows_.setForegroundWindow(probe_);
            windows_.askForAnswer(probe_);
            nextTry = t + kPollInterval;
        }
        waits_.waitOnce(std::min(nextTry > t ? nextTry : t + kPollInterval, deadline));
    }
    return lastForeground;
}

// The monitor's thread carries out an act on its window in its own time, and
// may answer a question before it carries out what it was asked earlier: what
// depends on the act waits until the window shows it. A monitor that answers
// twice, a while apart, yet does not show it refused it; one that went to
// work right after its first answer is only slow.
Road WakeSequence::carriedOut(bool (*shows)(const WindowState&)) {
    const Millis limit = waits_.now() + kMonitorLimit;
    windows_.askForAnswer(probe_);
    std::optional<Millis> refusedAt;
    bool askedAgain = false;
    for (;;) {
        const std::optional<WindowState> state = windows_.windowState(probe_);
        if (!state) return Road::Gone;
        if (shows(*state)) return Road::Shown;
        const Millis t = waits_.now();
        if (!refusedAt && windows_.answered()) refusedAt = t + kRefusal;
        if (refusedAt && t >= *refusedAt) {
            if (askedAgain) return Road::Refused;
            askedAgain = true;
            refusedAt.reset();
            windows_.askForAnswer(probe_);
            continue;
        }
        if (!refusedAt && t >= limit) return Road::NoAnswer;
        // A busy monitor's answer wakes the wait; one that answered is looked at again soon.
        waits_.waitOnce(refusedAt ? std::min(t + kLookAgain, *refusedAt)
                                  : std::min(t + kPollInterval, limit));
    }
}

std::optional<Rect> WakeSequence::monitorRect() {
    // The monitor's own points: at display scaling the system stretches a
    // monitor that is not DPI aware, and its points are not the screen's.
    const WindowCoordinates monitors(windows_, probe_);
    return windows_.windowRect(probe_);
}

// Holds the user's input once no button or modifier key is down: holding it
// does not let go of a key, and a click made then would be a Ctrl-click or
// the drop of what the user drags. False when the user is still at it when
// the limit comes.
bool WakeSequence::holdWhenUserIsFree(std::optional<InputHold>& hold) {
    const Millis limit = waits_.now() + kUserFreeLimit;
    for (;;) {
        if (!input_.userPressing()) {
            hold.emplace(held_, probe_);
            // Pressed between the look and the hold: free the input again and wait.
            if (!input_.userPressing()) return true;
            hold.reset();
        }
        if (waits_.now() >= limit) return false;
        waits_.waitOnce(std::min(waits_.now() + kUserFreePoll, limit));
    }
}

// One press of the primary button at the click's point, reckoned from the
// monitor's rectangle read for it, and made only when a look right before
// the press (no message to the monitor's thread) finds the window still
// there, shown in its normal state, on top as the click needs, where the
// point was reckoned, and itself under the point.
Press WakeSequence::press(std::size_t click, bool onTop) {
    const auto notThere = [&] {
        return windows_.windowState(probe_) ? Press::NotThere : Press::MonitorGone;
    };
    const std::optional<Rect> rect = windows_.windowRect(probe_);
    if (!rect) return notThere();
    const Point point = panelPoints(*rect).at(click);
    input_.setCursorPos(point);
    waits_.waitFor(kSettleAfterMove);
    // The primary button, as a person clicks: the right one when the user
    // swapped them.
    const MouseButton primary = input_.buttonsSwapped() ? MouseButton::Right : MouseButton::Left;
    const std::optional<WindowState> state = windows_.windowState(probe_);
    if (!state || !state->visible || state->minimized || state->maximized ||
        state->topmost != onTop || windows_.windowRect(probe_) != rect ||
        windows_.windowAt(point) != probe_) {
        return notThere();
    }
    input_.click(primary);
    return Press::Made;
}

// Clicks 1 to 5, on top, with the user's input held; the burst ends at the
// first click whose look fails.
WakeSequence::Burst WakeSequence::clickPanels() {
    Burst burst;
    std::optional<InputHold> hold;
    if (!holdWhenUserIsFree(hold)) return burst;
    waits_.pump();
    const auto made = [&](std::size_t click) {
        burst.end = press(click, true);
        if (burst.end == Press::Made) ++burst.made;
        return burst.end == Press::Made;
    };
    if (!made(0)) return burst;
    for (std::size_t click = 1; click <= 3; ++click) {
        waits_.pump();
        if (!made(click)) return burst;
        waits_.pump();
        waits_.waitFor(kPauseAfterClick);
    }
    if (!made(4)) return burst;
    // The monitor takes the click from its queue: give it the time to do so
    // while it is still topmost.
    waits_.waitFor(kSettleAfterMove);
    return burst;
}

void WakeSequence::clickLast() {
    std::optional<InputHold> hold;
    if (holdWhenUserIsFree(hold)) press(5, false);
}

bool WakeSequence::wakeProbe() {
    waitForSplash();
    const WindowHandle lastForeground = bringToFront();

    waits_.pump();
    const PanelStrip& strip = kPanelStrip;
    if (lastForeground != probe_) {
        // Never in front: put on top and shown all the same, when it takes
        // requests at all, and left so; its corner is still converted.
        if (windows_.answered()) {
            windows_.setTopmost(probe_, true);
            windows_.showWindow(probe_, ShowCommand::Show);
            windows_.showWindow(probe_, ShowCommand::ShowNormal);
            if (const std::optional<Rect> rect = monitorRect()) anchorPoint(*rect);
        }
        return false;
    }
    if (answers() != Road::Shown) return false;  // gone, or never answered: it cannot be woken
    TopmostWhileWaking topmost(windows_, probe_);
    windows_.showWindow(probe_, ShowCommand::Show);
    windows_.showWindow(probe_, ShowCommand::ShowNormal);
    waits_.pump();
    // Its corner is read once it is on top in its normal place; one that
    // refused is looked at again before the first click. A monitor that is
    // not woken stays on top.
    const Road shown = carriedOut(&onTopAndNormal);
    const std::optional<Rect> rect =
        shown == Road::Shown || shown == Road::Refused ? monitorRect() : std::nullopt;
    if (!rect) {
        topmost.keep();
        return false;
    }
    // Only a corner at non-negative coordinates.
    if (const Point anchor = anchorPoint(*rect);
        anchor.x < strip.anchor.x || anchor.y < strip.anchor.y) {
        topmost.keep();
        return false;
    }

    waits_.pump();
    const Burst burst = clickPanels();
    if (burst.made == 0) {
        topmost.keep();
        return false;
    }
    // Once clicked, the monitor is not left on top, however the burst ended.
    topmost.lift();
    if (burst.end == Press::MonitorGone) return true;  // the first tick finds it gone
    if (burst.made < 5) return false;
    // The user's input is free while the monitor, perhaps set to work by the
    // clicks, takes its window off the top; then held again for the last
    // click, which a slow or refusing monitor only goes without.
    const Road offTop = carriedOut(&notOnTop);
    if (offTop == Road::Shown || offTop == Road::Refused) clickLast();
    return true;
}

}  // namespace tervane::monitor
