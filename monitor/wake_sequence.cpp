#include "monitor/wake_sequence.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "monitor/monitor_contract.h"

namespace tervane::monitor {
namespace {

constexpr Millis kForegroundLimit{30'000};
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

InputBlock::InputBlock(SyntheticInput& input) : input_(input), savedCursor_(input.cursorPos()) {
    input_.blockInput(true);
}

InputBlock::~InputBlock() {
    try {
        input_.blockInput(false);
        input_.setCursorPos(savedCursor_);
    } catch (...) {
        // Nothing more can be done from a destructor.
    }
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
// that answer, serving messages meanwhile.
bool WakeSequence::answers(Millis deadline) {
    while (!windows_.answered()) {
        if (waits_.now() >= deadline) return false;
        waits_.waitOnce(std::min(waits_.now() + kPollInterval, deadline));
    }
    return true;
}

WindowHandle WakeSequence::bringToFront(Millis deadline) {
    // A change of the foreground wakes the loop at once.
    const OtherWindowsWatch watch(waits_.loop());
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
// yet does not show it refused it, and the wake goes on as after any act
// whose result it does not look at. False: no answer before the deadline.
bool WakeSequence::carriedOut(bool (*shows)(const WindowState&), Millis deadline) {
    windows_.askForAnswer(probe_);
    std::optional<Millis> refusedAt;
    for (;;) {
        const std::optional<WindowState> state = windows_.windowState(probe_);
        if (!state || shows(*state)) return true;  // a window gone has nothing left to show
        const Millis t = waits_.now();
        if (!refusedAt && windows_.answered()) refusedAt = t + kRefusal;
        if (t >= refusedAt.value_or(deadline)) return refusedAt.has_value();
        // A busy monitor's answer wakes the wait; one that answered is looked at again soon.
        waits_.waitOnce(refusedAt ? std::min(t + kLookAgain, *refusedAt)
                                  : std::min(t + kPollInterval, deadline));
    }
}

Rect WakeSequence::monitorRect() {
    const WindowCoordinates monitors(windows_, probe_);
    return windows_.windowRect(probe_).value_or(Rect{});
}

void WakeSequence::clickAt(std::int16_t x, std::int16_t y) {
    input_.setCursorPos({x, y});
    waits_.waitFor(kSettleAfterMove);
    // The primary button, as a person clicks: the right one when the user
    // swapped them.
    input_.click(input_.buttonsSwapped() ? MouseButton::Right : MouseButton::Left);
}

// Clicks 1 to 5, from the anchor point (x, y), in 16-bit steps each checked
// in the order they are made.
void WakeSequence::clickPanels(std::int16_t x, std::int16_t y) {
    const PanelStrip& strip = kPanelStrip;
    clickAt(x, checked16(y - strip.firstRise));
    const std::int16_t rowEnd = checked16(x + strip.rowEnd);
    for (std::int16_t i = checked16(x + strip.step); i <= rowEnd; i = checked16(i + strip.step)) {
        waits_.pump();
        clickAt(i, y);
        waits_.pump();
        waits_.waitFor(kPauseAfterClick);
    }
    clickAt(x, y);
    // The monitor takes the click from its queue: give it the time to do so
    // while it is still topmost.
    waits_.waitFor(kSettleAfterMove);
}

bool WakeSequence::wakeProbe() {
    waitForSplash();
    const Millis deadline = waits_.now() + kForegroundLimit;
    const WindowHandle lastForeground = bringToFront(deadline);

    waits_.pump();
    if (!answers(deadline)) return false;  // never answered: it cannot be woken
    TopmostWhileWaking topmost(windows_, probe_);
    windows_.showWindow(probe_, ShowCommand::Show);
    windows_.showWindow(probe_, ShowCommand::ShowNormal);
    waits_.pump();
    // Its corner is read once it is on top in its normal place. A monitor
    // that is not woken stays on top.
    if (!carriedOut(&onTopAndNormal, deadline)) {
        topmost.keep();
        return false;
    }

    // The monitor's own points: at display scaling the system stretches a
    // monitor that is not DPI aware, and its points are not the screen's.
    const PanelStrip& strip = kPanelStrip;
    const Rect rect = monitorRect();
    const std::int16_t x = checked16(std::int64_t{rect.left} + strip.anchor.x);
    const std::int16_t y = checked16(std::int64_t{rect.top} + strip.anchor.y);
    // Only a corner at non-negative coordinates, and a monitor in front.
    if (x < strip.anchor.x || y < strip.anchor.y || lastForeground != probe_) {
        topmost.keep();
        return false;
    }

    waits_.pump();
    {
        // The cursor is kept and put back in the program's own coordinates,
        // so it returns exactly where it was.
        const InputBlock block(input_);
        const WindowCoordinates monitors(windows_, probe_);
        waits_.pump();
        clickPanels(x, y);
    }
    // The user's input is free while the monitor, perhaps set to work by the
    // clicks, takes its window off the top; then held again for the last click.
    topmost.lift();
    if (!carriedOut(&notOnTop, deadline)) return false;
    const std::int16_t lastY = checked16(y + strip.last.y);
    const std::int16_t lastX = checked16(x + strip.last.x);
    const InputBlock block(input_);
    const WindowCoordinates monitors(windows_, probe_);
    clickAt(lastX, lastY);
    return true;
}

}  // namespace tervane::monitor
