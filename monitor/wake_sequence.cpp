#include "monitor/wake_sequence.h"

#include <algorithm>
#include <limits>

#include "monitor/monitor_contract.h"

namespace tervane::monitor {
namespace {

constexpr Millis kForegroundLimit{30'000};
// The splash wait and the foreground loop are woken when windows come and
// go; the poll only backs that up.
constexpr Millis kPollInterval{250};
constexpr Millis kSettleAfterMove{20};  // lets a cursor move take effect before the click
constexpr Millis kPauseAfterClick{9};

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

void WakeSequence::waitForSplash() {
    const OtherWindowsWatch watch(waits_.loop());
    while (windows_.findWindow(kSplashClass, kSplashTitle) != 0) {
        waits_.waitOnce(waits_.now() + kPollInterval);
    }
}

// A busy or hung monitor is never acted on: showing its window would wait
// for its thread. Each step that acts on it asks for an answer afterwards,
// and the next one waits for that answer, serving messages meanwhile.
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

Rect WakeSequence::monitorRect() {
    const WindowCoordinates monitors(windows_, probe_);
    return windows_.windowRect(probe_).value_or(Rect{});
}

void WakeSequence::clickAt(std::int16_t x, std::int16_t y) {
    input_.setCursorPos({x, y});
    waits_.waitFor(kSettleAfterMove);
    input_.leftClick();
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
    windows_.setTopmost(probe_, true);
    windows_.showWindow(probe_, ShowCommand::Show);
    windows_.showWindow(probe_, ShowCommand::ShowNormal);
    windows_.askForAnswer(probe_);
    waits_.pump();

    // The monitor's own points: at display scaling the system stretches a
    // monitor that is not DPI aware, and its points are not the screen's.
    const PanelStrip& strip = kPanelStrip;
    const Rect rect = monitorRect();
    const std::int16_t x = checked16(std::int64_t{rect.left} + strip.anchor.x);
    const std::int16_t y = checked16(std::int64_t{rect.top} + strip.anchor.y);
    // Only a corner at non-negative coordinates, and a monitor in front.
    if (x < strip.anchor.x || y < strip.anchor.y || lastForeground != probe_) return false;

    waits_.pump();
    // The cursor is kept and put back in the program's own coordinates, so
    // it returns exactly where it was.
    const InputBlock block(input_);
    const WindowCoordinates monitors(windows_, probe_);
    waits_.pump();
    clickPanels(x, y);
    if (!answers(deadline)) return false;
    windows_.setTopmost(probe_, false);
    const std::int16_t lastY = checked16(y + strip.last.y);
    clickAt(checked16(x + strip.last.x), lastY);
    return true;
}

}  // namespace tervane::monitor
