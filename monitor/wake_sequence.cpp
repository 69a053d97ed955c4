#include "monitor/wake_sequence.h"

#include <array>
#include <exception>
#include <limits>

#include "monitor/monitor_contract.h"

namespace tervane::monitor {
namespace {

constexpr Millis kForegroundLimit{30'000};
// A question put to the monitor that is not answered within this is its
// last: the monitor is silent, and not woken.
constexpr Millis kAnswerLimit = kForegroundLimit;
// Waits end when a message comes (an answer) or, where they watch, when
// windows come and go; this look backs that up.
constexpr Millis kLookEvery{250};
// A monitor that answered carries out what it was asked at once: looked at
// this often. One that answers twice, this far apart, without doing it, has
// refused it.
constexpr Millis kLookAgain{10};
constexpr Millis kRefusal{1'000};
// A window of the monitor's that comes this soon after its main window went
// replaces it.
constexpr Millis kReplacement{1'000};
// A user in the middle of a drag or a key chord is waited for this long,
// looked at this often: no message tells when a key is let go elsewhere.
constexpr Millis kUserFreeLimit{10'000};
constexpr Millis kUserFreeEvery{50};
// The system moves the cursor, and tells the windows it crosses, in its own
// time: one put back sooner can be taken back to the press by late news.
constexpr Millis kCursorSettles{100};

bool onTopAndNormal(const WindowState& s) {
    return s.topmost && s.visible && !s.minimized && !s.maximized;
}
bool offTop(const WindowState& s) { return !s.topmost; }

std::int16_t checked16(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw CoordinateOverflow();
    }
    return static_cast<std::int16_t>(value);
}

// Every press point for a window whose top-left corner is this, in order.
std::array<Point, kWakeClicks.size()> pressPoints(Point corner) {
    std::array<Point, kWakeClicks.size()> points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = {checked16(std::int64_t{corner.x} + kWakeClicks[i].offset.x),
                     checked16(std::int64_t{corner.y} + kWakeClicks[i].offset.y)};
    }
    return points;
}

// Asks the monitor off the top again when the wake is abandoned (an exit,
// the session's end, an error) after it was asked on top.
class OffTopIfAbandoned {
  public:
    OffTopIfAbandoned(WindowRequests& requests, WindowHandle window)
        : requests_(requests), window_(window) {}
    ~OffTopIfAbandoned() {
        if (std::uncaught_exceptions() != exceptions_) {
            quietly([this] { requests_.setTopmost(window_, false); });
        }
    }
    OffTopIfAbandoned(const OffTopIfAbandoned&) = delete;
    OffTopIfAbandoned& operator=(const OffTopIfAbandoned&) = delete;

  private:
    WindowRequests& requests_;
    WindowHandle window_;
    int exceptions_ = std::uncaught_exceptions();
};

}  // namespace

WakeOutcome WakeSequence::wakeProbe() {
    waitForSplash();
    if (!bringToFront()) return exists() ? neverInFront() : whenGone();
    if (!answers()) return notWoken();

    const OffTopIfAbandoned abandoned(requests_, probe_);
    requests_.setTopmost(probe_, true);
    requests_.showWindow(probe_, ShowCommand::Show);
    requests_.showWindow(probe_, ShowCommand::ShowNormal);
    waits_.pump();
    if (!carriedOut(&onTopAndNormal)) return giveUp();

    // Shown in its normal state, with its corner left of or above the main
    // display: not clicked, and left on top.
    const std::optional<Rect> rect = windows_.windowRect(probe_);
    const std::optional<WindowState> state = windows_.windowState(probe_);
    if (!state || state->minimized || !rect) return giveUp();
    if (rect->left < 0 || rect->top < 0) return WakeOutcome::NotWoken;

    if (!pressClicks(0, 5)) return giveUp();
    requests_.setTopmost(probe_, false);
    if (!carriedOut(&offTop)) return notWoken();
    // The last click is left out where it cannot be made; the strip is woken.
    if (!pressClicks(5, 6) && !exists()) return whenGone();
    return WakeOutcome::Woken;
}

void WakeSequence::waitForSplash() {
    const OtherWindowsWatch watch(waits_.loop());
    waits_.poll(Millis::max(), kLookEvery,
                [&] { return windows_.findWindow(kSplashClass, kSplashTitle) == 0; });
}

// True when the monitor was the foreground window at the last look before
// the limit. It is asked again only once it has answered what it was asked
// before: nothing piles up on a busy monitor's thread.
bool WakeSequence::bringToFront() {
    const OtherWindowsWatch watch(waits_.loop());  // a change of the foreground ends a pass
    requests_.askForAnswer(probe_);
    WindowHandle lastForeground = 0;
    Millis nextTry = waits_.now();
    waits_.poll(waits_.now() + kForegroundLimit, kLookEvery, [&] {
        lastForeground = windows_.foregroundWindow();
        if (lastForeground == probe_ || !exists()) return true;
        if (waits_.now() >= nextTry && requests_.answered(probe_)) {
            requests_.showWindow(probe_, ShowCommand::Show);
            requests_.showWindow(probe_, ShowCommand::ShowNormal);
            requests_.setForegroundWindow(probe_);
            requests_.askForAnswer(probe_);
            nextTry = waits_.now() + kLookEvery;
        }
        return false;
    });
    return lastForeground == probe_;
}

// Waits until the monitor has answered what it was asked: a busy monitor is
// asked for nothing more meanwhile.
bool WakeSequence::answers() {
    return waits_.poll(waits_.now() + kAnswerLimit, kLookEvery, [&] {
        return !exists() || requests_.answered(probe_);
    }) && exists();
}

// The monitor's thread carries out an act in its own time, and may answer a
// question before it carries out what it was asked earlier: the wait goes on
// until the window shows the act, or until the monitor has answered twice, a
// second apart, without showing it. That one refused; the wake goes on, and
// the look before each press decides. False when the window went or a
// question went unanswered.
bool WakeSequence::carriedOut(bool (*shows)(const WindowState&)) {
    std::optional<WindowState> state;
    const auto settled = [&] {
        state = windows_.windowState(probe_);
        return !state || shows(*state);
    };
    for (int ask = 0; ask < 2; ++ask) {
        requests_.askForAnswer(probe_);
        if (!waits_.poll(waits_.now() + kAnswerLimit, kLookEvery,
                         [&] { return settled() || requests_.answered(probe_); })) {
            return false;
        }
        waits_.poll(waits_.now() + kRefusal, kLookAgain, settled);
        if (!state || shows(*state)) return state.has_value();
    }
    return true;
}

// Presses clicks first to end, holding the user's input once no button or
// modifier key of theirs is down (a press then would be a Ctrl-click or the
// drop of what they drag). False at the first press not made. Every point is
// reckoned before the first press: one that leaves 16 bits fails there.
bool WakeSequence::pressClicks(std::size_t first, std::size_t end) {
    std::optional<InputHold> hold;
    const bool userFree = waits_.poll(waits_.now() + kUserFreeLimit, kUserFreeEvery, [&] {
        if (input_.userPressing()) return false;
        hold.emplace(held_, probe_);
        if (!input_.userPressing()) return true;
        hold.reset();  // pressed between the look and the hold
        return false;
    });
    if (!userFree || !hold->inMonitorCoordinates()) return false;
    bool made = true;
    for (std::size_t click = first; made && click < end; ++click) {
        waits_.pump();
        made = pressOne(*hold, click);
        if (made) waits_.waitFor(kWakeClicks[click].pauseAfter);
    }
    held_.release();  // the cursor settles with the input free
    waits_.waitFor(kCursorSettles);
    return made;
}

// One press of the primary button (the right one when the user swapped
// them) at the click's point, reckoned from the monitor's corner read for
// it; made only when the window under the point is the monitor's own. The
// look asks the monitor's thread nothing.
bool WakeSequence::pressOne(InputHold& hold, std::size_t click) {
    const MouseButton primary = input_.buttonsSwapped() ? MouseButton::Right : MouseButton::Left;
    const std::optional<Rect> rect = windows_.windowRect(probe_);
    if (!rect) return false;
    const Point point = pressPoints({rect->left, rect->top})[click];
    if (windows_.windowAt(point) != probe_) return false;
    hold.press(point, primary);
    return true;
}

bool WakeSequence::exists() { return windows_.windowState(probe_).has_value(); }

// Never in front: asked on top and shown all the same, when it takes
// requests at all, and left so.
WakeOutcome WakeSequence::neverInFront() {
    waits_.pump();
    if (requests_.answered(probe_)) {
        requests_.setTopmost(probe_, true);
        requests_.showWindow(probe_, ShowCommand::Show);
        requests_.showWindow(probe_, ShowCommand::ShowNormal);
    }
    return WakeOutcome::NotWoken;
}

WakeOutcome WakeSequence::notWoken() { return exists() ? WakeOutcome::NotWoken : whenGone(); }

// Not woken after it was asked on top: asked off the top again.
WakeOutcome WakeSequence::giveUp() {
    if (exists()) requests_.setTopmost(probe_, false);
    return notWoken();
}

// Its main window went: the monitor is gone, unless one of its windows came
// instead (it replaced its window, and that one was not woken).
WakeOutcome WakeSequence::whenGone() {
    const OtherWindowsWatch watch(waits_.loop());
    const bool replaced = waits_.poll(waits_.now() + kReplacement, kLookEvery, [&] {
        return windows_.findWindow(kMainClass, kMainTitle) != 0;
    });
    return replaced ? WakeOutcome::NotWoken : WakeOutcome::MonitorGone;
}

}  // namespace tervane::monitor
