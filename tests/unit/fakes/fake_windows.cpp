#include "fakes/fake_windows.h"

#include <algorithm>
#include <cmath>

namespace tervane::fake {

WindowHandle FakeOtherWindows::addTopLevel(std::wstring className, std::wstring title, Rect rect,
                                           bool topmost) {
    const WindowHandle handle = next_++;
    windows_[handle] = FakeWindow{0, std::move(className), std::move(title), rect};
    windows_[handle].topmost = topmost;
    order_.push_back(handle);
    zOrder_.push_back(handle);
    raise(handle);
    return handle;
}

void FakeOtherWindows::raise(WindowHandle window) {
    const bool topmost = windows_.at(window).topmost;
    std::erase(zOrder_, window);
    const auto top = std::find_if(zOrder_.begin(), zOrder_.end(), [&](WindowHandle w) {
        return topmost || !windows_.at(w).topmost;
    });
    zOrder_.insert(top, window);
}

WindowHandle FakeOtherWindows::rootAt(Point physical) {
    carryOutDue();
    for (const WindowHandle handle : zOrder_) {
        const FakeWindow& w = windows_.at(handle);
        if (w.visible && !w.minimized && physical.x >= w.rect.left && physical.x < w.rect.right &&
            physical.y >= w.rect.top && physical.y < w.rect.bottom) {
            return handle;
        }
    }
    return 0;
}

WindowHandle FakeOtherWindows::windowAt(Point point) {
    log_.record(Call::WindowAt);
    return rootAt(toPhysical(point));
}

WindowHandle FakeOtherWindows::addChild(WindowHandle parent, std::wstring text,
                                        std::wstring className) {
    const WindowHandle handle = next_++;
    windows_[handle] = FakeWindow{parent, std::move(className), std::move(text), {}};
    order_.push_back(handle);
    return handle;
}

void FakeOtherWindows::removeWindow(WindowHandle window) {
    std::vector<WindowHandle> children;
    for (const auto& [handle, w] : windows_) {
        if (w.parent == window) children.push_back(handle);
    }
    for (const WindowHandle child : children) removeWindow(child);
    windows_.erase(window);
    std::erase(order_, window);
    std::erase(zOrder_, window);
    if (foreground == window) foreground = 0;
}

std::set<WindowHandle> FakeOtherWindows::topmostWindows() {
    carryOutDue();
    std::set<WindowHandle> topmost;
    for (const auto& [handle, w] : windows_) {
        if (w.topmost) topmost.insert(handle);
    }
    return topmost;
}

int FakeOtherWindows::scaleNow() const {
    const auto found = windows_.find(coordinatesOf_);
    return found != windows_.end() && found->second.dpiUnaware ? scalePercent : 100;
}

namespace {
std::int32_t scaled(std::int32_t value, int numerator, int denominator) {
    return static_cast<std::int32_t>(std::lround(double(value) * numerator / denominator));
}
}  // namespace

Point FakeOtherWindows::toPhysical(Point p) const {
    return {scaled(p.x, scaleNow(), 100), scaled(p.y, scaleNow(), 100)};
}

Point FakeOtherWindows::fromPhysical(Point p) const {
    return {scaled(p.x, 100, scaleNow()), scaled(p.y, 100, scaleNow())};
}

Point FakeOtherWindows::ownPoint(WindowHandle window, Point screen) const {
    const FakeWindow& w = windows_.at(window);
    const int scale = w.dpiUnaware ? scalePercent : 100;
    return {scaled(screen.x - w.rect.left, 100, scale), scaled(screen.y - w.rect.top, 100, scale)};
}

WindowHandle FakeOtherWindows::findWindow(std::wstring_view className, std::wstring_view title) {
    log_.record(Call::FindWindow);
    for (const WindowHandle handle : order_) {
        const FakeWindow& w = windows_.at(handle);
        if (w.parent == 0 && w.className == className && w.text == title) return handle;
    }
    return 0;
}

void FakeOtherWindows::visitChildren(WindowHandle parent,
                                     const std::function<bool(WindowHandle)>& visit, bool& go) {
    // Depth first, each child before its own children, as the platform walks.
    for (const WindowHandle handle : std::vector<WindowHandle>(order_)) {
        if (!go) return;
        const auto found = windows_.find(handle);
        if (found == windows_.end() || found->second.parent != parent) continue;
        go = visit(handle);
        visitAnswers.push_back(go);
        if (go) visitChildren(handle, visit, go);
    }
}

void FakeOtherWindows::forEachDescendant(WindowHandle parent,
                                         const std::function<bool(WindowHandle)>& visit) {
    log_.record(Call::ForEachDescendant);
    bool go = true;
    if (windows_.contains(parent)) visitChildren(parent, visit, go);
}

std::wstring FakeOtherWindows::windowText(WindowHandle window) {
    log_.record(Call::WindowText);
    const auto found = windows_.find(window);
    if (found == windows_.end()) return {};
    return found->second.text.substr(0, 254);
}

void FakeOtherWindows::setForegroundWindow(WindowHandle window) {
    log_.record(Call::SetForegroundWindow);
    if (refuseForeground || (!windows_.contains(window) && window != ownWindow)) return;
    const bool changed = foreground != window;
    foreground = window;
    if (windows_.contains(window)) raise(window);
    if (changed && onForegroundChange) onForegroundChange();
}

void FakeOtherWindows::request(WindowHandle window, std::function<void(FakeWindow&)> act) {
    const auto found = windows_.find(window);
    if (found == windows_.end() || found->second.refusesActs) return;
    if (loop == nullptr) {
        act(found->second);
        return;
    }
    const Millis free = std::max(loop->clock, found->second.busyUntil);
    Millis due = free == Millis::max() ? free : free + found->second.carriesOutAfter;
    for (const Request& r : requests_) {
        if (r.window == window) due = std::max(due, r.due);  // in the order asked
    }
    requests_.push_back({due, window, std::move(act)});
}

void FakeOtherWindows::carryOutDue() {
    if (loop == nullptr) return;
    std::stable_sort(requests_.begin(), requests_.end(),
                     [](const Request& a, const Request& b) { return a.due < b.due; });
    // A thread that turned busy after it was asked carries out nothing before
    // it is free again.
    const auto freeNow = [&](const FakeWindow& w) {
        return w.busyUntil != Millis::max() && w.busyUntil + w.carriesOutAfter <= loop->clock;
    };
    for (auto r = requests_.begin(); r != requests_.end() && r->due <= loop->clock;) {
        const auto found = windows_.find(r->window);
        if (found != windows_.end() && !freeNow(found->second)) {
            ++r;
            continue;
        }
        const Request request = std::move(*r);
        r = requests_.erase(r);
        if (found != windows_.end()) request.act(found->second);
    }
}

void FakeOtherWindows::showWindow(WindowHandle window, ShowCommand command) {
    log_.record(command == ShowCommand::Show ? Call::ShowWindowShow : Call::ShowWindowNormal);
    request(window, [command](FakeWindow& w) {
        w.visible = true;
        if (command == ShowCommand::ShowNormal) w.minimized = w.maximized = false;
    });
}

void FakeOtherWindows::setTopmost(WindowHandle window, bool onTop) {
    log_.record(onTop ? Call::SetTopmostOn : Call::SetTopmostOff);
    request(window, [this, window, onTop](FakeWindow& w) {
        w.topmost = onTop || w.keepsOnTop;
        raise(window);
    });
}

std::optional<WindowState> FakeOtherWindows::windowState(WindowHandle window) {
    log_.record(Call::WindowState);
    carryOutDue();
    const auto found = windows_.find(window);
    if (found == windows_.end()) return std::nullopt;
    const FakeWindow& w = found->second;
    return WindowState{w.visible, w.minimized, w.maximized, w.topmost};
}

std::optional<Rect> FakeOtherWindows::windowRect(WindowHandle window) {
    log_.record(Call::WindowRect);
    carryOutDue();
    if (failWindowRect || !windows_.contains(window)) return std::nullopt;
    const FakeWindow& w = windows_.at(window);
    // A minimized window sits far off the screen, as on the platform.
    if (w.minimized) return Rect{-32000, -32000, -31840, -31972};
    const Point topLeft = fromPhysical({w.rect.left, w.rect.top});
    const Point bottomRight = fromPhysical({w.rect.right, w.rect.bottom});
    return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void FakeOtherWindows::askForAnswer(WindowHandle window) {
    log_.record(Call::AskForAnswer);
    const auto found = windows_.find(window);
    if (found == windows_.end()) return;  // a window that is gone cannot be asked
    auto& [asked, answered] = answers_[window];
    ++asked;
    const Millis busyUntil = found->second.busyUntil;
    if (loop == nullptr) {
        ++answered;
    } else if (busyUntil != Millis::max()) {
        loop->at(std::max(loop->clock, busyUntil), [&answered = answered] { ++answered; });
    }
}

bool FakeOtherWindows::answered(WindowHandle window) {
    const auto found = answers_.find(window);
    return found == answers_.end() || found->second.first == found->second.second;
}

bool FakeOtherWindows::useCoordinatesOf(WindowHandle window) {
    log_.record(Call::UseWindowCoordinates);
    if (!perThreadDpi) return scalePercent == 100;
    coordinatesOf_ = window;
    return true;
}

void FakeOtherWindows::useOwnCoordinates() {
    log_.record(Call::UseOwnCoordinates);
    coordinatesOf_ = 0;
}

Point FakeSyntheticInput::cursorPos() {
    log_.record(Call::CursorPos);
    return windows_.fromPhysical(cursor);
}

void FakeSyntheticInput::moveCursor(Point point) {
    log_.record(Call::MoveCursor);
    cursor = windows_.toPhysical(point);
    cursorMoves.push_back(cursor);
}

bool FakeSyntheticInput::buttonsSwapped() {
    log_.record(Call::ButtonsSwapped);
    return swappedButtons;
}

void FakeSyntheticInput::press(Point point, MouseButton button) {
    log_.record(Call::Press);
    if (windows_.loop != nullptr) windows_.loop->clock += pressTakes;
    cursor = windows_.toPhysical(point);
    const bool leftMessages = (button == MouseButton::Left) != swappedButtons;
    const WindowHandle reached = windows_.rootAt(cursor);
    const Point offset = reached != 0 ? windows_.ownPoint(reached, cursor) : Point{};
    clicks.push_back(
        {cursor, reached, offset, inputBlocked, pressing, leftMessages, windows_.topmostWindows()});
}

bool FakeSyntheticInput::userPressing() {
    log_.record(Call::UserPressing);
    return pressing;
}

void FakeSyntheticInput::blockInput(bool block) {
    log_.record(block ? Call::BlockInputOn : Call::BlockInputOff);
    const Millis now = windows_.loop != nullptr ? windows_.loop->clock : Millis{0};
    if (block && !inputBlocked) blockedSince_ = now;
    if (!block && inputBlocked) longestBlock = std::max(longestBlock, now - blockedSince_);
    inputBlocked = block;
}

}  // namespace tervane::fake
