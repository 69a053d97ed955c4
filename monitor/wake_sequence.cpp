#include "monitor/wake_sequence.h"

#include <algorithm>
#include <limits>

#include "monitor/monitor_contract.h"

namespace tervane::monitor {

std::int16_t checked16(std::int64_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw CoordinateOverflow();
    }
    return static_cast<std::int16_t>(value);
}

InputBlock::InputBlock(Desktop& desktop) : desktop_(desktop), savedCursor_(desktop.cursorPos()) {
    desktop_.blockInput(true);
}

InputBlock::~InputBlock() {
    try {
        desktop_.blockInput(false);
        desktop_.setCursorPos(savedCursor_);
    } catch (...) {
        // Nothing more can be done from a destructor.
    }
}

void WakeSequence::waitForSplash() {
    const OtherWindowsWatch watch(desktop_);
    while (desktop_.findWindow(kSplashClass, kSplashTitle) != 0) {
        waits_.waitOnce(waits_.now() + timing_.pollInterval);
    }
}

WindowHandle WakeSequence::bringToFront() {
    // A change of the foreground wakes the loop at once.
    const OtherWindowsWatch watch(desktop_);
    const Millis deadline = waits_.now() + timing_.foregroundLimit;
    WindowHandle lastForeground = 0;
    for (Millis t = waits_.now(); t < deadline; t = waits_.now()) {
        waits_.pump();
        lastForeground = desktop_.foregroundWindow();
        if (lastForeground == probe_) break;
        desktop_.showWindow(probe_, ShowCommand::Show);
        desktop_.showWindow(probe_, ShowCommand::ShowNormal);
        desktop_.setForegroundWindow(probe_);
        waits_.waitOnce(std::min(waits_.now() + timing_.pollInterval, deadline));
    }
    return lastForeground;
}

void WakeSequence::clickAt(std::int16_t x, std::int16_t y) {
    desktop_.setCursorPos({x, y});
    waits_.waitFor(timing_.settleAfterMove);
    desktop_.leftClick();
}

void WakeSequence::clickPanels(std::int16_t x, std::int16_t y) {
    clickAt(x, checked16(y - 48));
    const std::int16_t last = checked16(x + 240);
    for (std::int16_t i = checked16(x + 70); i <= last; i = checked16(i + 70)) {
        waits_.pump();
        clickAt(i, y);
        waits_.pump();
        waits_.waitFor(timing_.pauseAfterClick);
    }
    clickAt(x, y);
    // The monitor takes the click from its queue: give it the time to do so
    // while it is still topmost.
    waits_.waitFor(timing_.settleAfterMove);
}

bool WakeSequence::wakeProbe() {
    waitForSplash();
    const WindowHandle lastForeground = bringToFront();

    waits_.pump();
    desktop_.setTopmost(probe_, true);
    desktop_.showWindow(probe_, ShowCommand::Show);
    desktop_.showWindow(probe_, ShowCommand::ShowNormal);
    waits_.pump();

    const Rect rect = desktop_.windowRect(probe_).value_or(Rect{});
    const std::int16_t x = checked16(std::int64_t{rect.left} + 150);
    const std::int16_t y = checked16(std::int64_t{rect.top} + 100);
    if (x <= 149 || y <= 99 || lastForeground != probe_) return false;

    waits_.pump();
    const InputBlock block(desktop_);
    waits_.pump();
    clickPanels(x, y);
    desktop_.setTopmost(probe_, false);
    const std::int16_t lastY = checked16(y - 85);
    clickAt(checked16(x + 405), lastY);
    return true;
}

}  // namespace tervane::monitor
