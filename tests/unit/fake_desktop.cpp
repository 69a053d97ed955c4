#include "fake_desktop.h"

#include <algorithm>
#include <utility>

namespace tervane::fake {
namespace {

// A wait in the fake moves the clock; a program that never waits would spin
// forever, so a runaway loop fails the test instead.
constexpr long kPumpLimit = 10'000'000;

std::wstring settingPath(std::wstring_view app, std::wstring_view section, std::wstring_view key) {
    return std::wstring(app) + L"\\" + std::wstring(section) + L"\\" + std::wstring(key);
}

}  // namespace

void FakeDesktop::record(const std::string& name) {
    calls.push_back(name);
    if (beforeCall) beforeCall(name);
}

long FakeDesktop::countCalls(const std::string& name) const {
    return static_cast<long>(std::count(calls.begin(), calls.end(), name));
}

std::wstring FakeDesktop::setting(std::wstring_view key) const {
    const auto found = settings.find(settingPath(L"Halvedon", L"Tervane_Lite", key));
    return found == settings.end() ? L"<absent>" : found->second;
}

void FakeDesktop::setSetting(std::wstring_view key, std::wstring value) {
    settings[settingPath(L"Halvedon", L"Tervane_Lite", key)] = std::move(value);
}

std::wstring FakeDesktop::tipText() const {
    return trayShown.tip.substr(0, trayShown.tip.find(L'\0'));
}

// --- the window tree --------------------------------------------------------

WindowHandle FakeDesktop::addTopLevel(std::wstring className, std::wstring title, Rect rect) {
    const WindowHandle handle = nextWindow_++;
    windows_[handle] = FakeWindow{0, std::move(className), std::move(title), rect};
    order_.push_back(handle);
    return handle;
}

WindowHandle FakeDesktop::addChild(WindowHandle parent, std::wstring text, std::wstring className) {
    const WindowHandle handle = nextWindow_++;
    windows_[handle] = FakeWindow{parent, std::move(className), std::move(text), {}};
    order_.push_back(handle);
    return handle;
}

void FakeDesktop::removeWindow(WindowHandle window) {
    std::vector<WindowHandle> children;
    for (const auto& [handle, w] : windows_) {
        if (w.parent == window) children.push_back(handle);
    }
    for (const WindowHandle child : children) removeWindow(child);
    windows_.erase(window);
    std::erase(order_, window);
    if (foreground == window) foreground = 0;
}

void FakeDesktop::setText(WindowHandle window, std::wstring text) {
    windows_.at(window).text = std::move(text);
}

void FakeDesktop::at(Millis when, std::function<void()> action) {
    scheduled_.push_back({when, std::move(action), false});
}

void FakeDesktop::atWindowChange(Millis when, std::function<void()> action) {
    scheduled_.push_back({when, std::move(action), true});
}

// --- Desktop -------------------------------------------------------------------

WindowHandle FakeDesktop::findWindow(std::wstring_view className, std::wstring_view title) {
    record("findWindow");
    for (const WindowHandle handle : order_) {
        const FakeWindow& w = windows_.at(handle);
        if (w.parent == 0 && w.className == className && w.text == title) return handle;
    }
    return 0;
}

void FakeDesktop::visitChildren(WindowHandle parent, const std::function<bool(WindowHandle)>& visit,
                                bool& go) {
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

void FakeDesktop::forEachDescendant(WindowHandle parent,
                                    const std::function<bool(WindowHandle)>& visit) {
    record("forEachDescendant");
    bool go = true;
    if (windows_.contains(parent)) visitChildren(parent, visit, go);
}

std::wstring FakeDesktop::windowText(WindowHandle window) {
    record("windowText");
    const auto found = windows_.find(window);
    if (found == windows_.end()) return {};
    return found->second.text.substr(0, 254);
}

WindowHandle FakeDesktop::foregroundWindow() {
    record("foregroundWindow");
    return foreground;
}

void FakeDesktop::setForegroundWindow(WindowHandle window) {
    record("setForegroundWindow");
    if (!refuseForeground && (windows_.contains(window) || window == kFormWindow)) {
        if (watchingWindows && foreground != window) windowChangeQueued = true;
        foreground = window;
    }
}

void FakeDesktop::showWindow(WindowHandle window, ShowCommand command) {
    record(command == ShowCommand::Show ? "showWindow(Show)" : "showWindow(ShowNormal)");
    if (command == ShowCommand::ShowNormal && windows_.contains(window)) {
        windows_.at(window).minimized = false;
    }
}

void FakeDesktop::setTopmost(WindowHandle window, bool onTop) {
    record(onTop ? "setTopmost(true)" : "setTopmost(false)");
    if (windows_.contains(window)) windows_.at(window).topmost = onTop;
}

std::optional<Rect> FakeDesktop::windowRect(WindowHandle window) {
    record("windowRect");
    if (failWindowRect || !windows_.contains(window)) return std::nullopt;
    const FakeWindow& w = windows_.at(window);
    // A minimized window sits far off the screen, as on the platform.
    if (w.minimized) return Rect{-32000, -32000, -31840, -31972};
    return w.rect;
}

Point FakeDesktop::cursorPos() {
    record("cursorPos");
    return cursor;
}

void FakeDesktop::setCursorPos(Point point) {
    record("setCursorPos");
    cursor = point;
    cursorMoves.push_back(point);
}

void FakeDesktop::leftClick() {
    record("leftClick");
    Click click{cursor, inputBlocked, {}};
    for (const auto& [handle, w] : windows_) {
        if (w.topmost) click.topmost.insert(handle);
    }
    clicks.push_back(click);
}

void FakeDesktop::blockInput(bool block) {
    record(block ? "blockInput(true)" : "blockInput(false)");
    inputBlocked = block;
}

std::optional<std::wstring> FakeDesktop::readMachineString(std::wstring_view keyPath,
                                                           std::wstring_view valueName) {
    record("readMachineString");
    const auto found = machineValues.find(std::wstring(keyPath) + L"|" + std::wstring(valueName));
    if (found == machineValues.end()) return std::nullopt;
    return found->second;
}

std::optional<std::uint32_t> FakeDesktop::fileAttributes(std::wstring_view path) {
    record("fileAttributes");
    const auto found = files.find(std::wstring(path));
    if (found == files.end()) return std::nullopt;
    return found->second;
}

void FakeDesktop::launch(std::wstring_view executablePath, std::wstring_view workingFolder) {
    record("launch");
    launches.emplace_back(executablePath, workingFolder);
    if (onLaunch) onLaunch(executablePath, workingFolder);
}

std::optional<std::wstring> FakeDesktop::readSetting(std::wstring_view app,
                                                     std::wstring_view section,
                                                     std::wstring_view key) {
    record("readSetting");
    const auto found = settings.find(settingPath(app, section, key));
    if (found == settings.end()) return std::nullopt;
    return found->second;
}

bool FakeDesktop::writeSetting(std::wstring_view app, std::wstring_view section,
                               std::wstring_view key, std::wstring_view value) {
    record("writeSetting");
    if (failSettingWrites) return false;
    settings[settingPath(app, section, key)] = std::wstring(value);
    return true;
}

Millis FakeDesktop::now() { return clock; }

void FakeDesktop::pumpMessages() {
    record("pumpMessages");
    if (++pumps > kPumpLimit) throw std::logic_error("the program pumps without end");
    // Run what is due, in time order; an action may schedule more.
    for (;;) {
        auto due = std::min_element(scheduled_.begin(), scheduled_.end(),
                                    [](const auto& a, const auto& b) { return a.when < b.when; });
        if (due == scheduled_.end() || due->when > clock) return;
        auto action = std::move(due->action);
        scheduled_.erase(due);
        action();
    }
}

void FakeDesktop::waitForMessage(Millis timeout) {
    record("waitForMessage");
    ++waits;
    if (std::exchange(windowChangeQueued, false)) return;
    // Sleeps until the timeout, or until the next scripted event arrives.
    Millis until = clock + timeout;
    for (const auto& s : scheduled_) {
        if (!s.windowChange || watchingWindows) until = std::max(clock, std::min(until, s.when));
    }
    clock = until;
}

void FakeDesktop::watchOtherWindows(bool on) {
    record(on ? "watchOtherWindows(true)" : "watchOtherWindows(false)");
    watchingWindows = on;
    if (!on) windowChangeQueued = false;
}

void FakeDesktop::messageBox(std::wstring_view text, std::uint32_t flags) {
    record("messageBox");
    boxes.push_back({std::wstring(text), flags, clock});
    if (onMessageBox) onMessageBox(boxes.back());
}

SingleInstance FakeDesktop::singleInstance() {
    record("singleInstance");
    return singleInstanceOutcome;
}

bool FakeDesktop::trayAdd(const TrayRecord& record) {
    this->record("trayAdd");
    trayCalls.push_back({"add", record});
    if (!shellReady || trayPresent) return false;
    trayPresent = true;
    trayShown = record;
    return true;
}

bool FakeDesktop::trayModify(const TrayRecord& record, bool pictureChanged) {
    this->record("trayModify");
    trayCalls.push_back({"modify", record, pictureChanged});
    if (!shellReady || !trayPresent) return false;
    trayShown.tip = record.tip;
    if (pictureChanged) trayShown.icon = record.icon;
    return true;
}

void FakeDesktop::trayDelete(const TrayRecord& record) {
    this->record("trayDelete");
    trayCalls.push_back({"delete", record});
    trayPresent = false;
}

IconHandle FakeDesktop::loadIcon(int id) {
    record("loadIcon");
    ++iconLoads;
    if (failingIconIds.contains(id)) return 0;
    const IconHandle icon = (static_cast<IconHandle>(id) << 16) | nextIconSerial_++;
    liveIcons.insert(icon);
    return icon;
}

void FakeDesktop::destroyIcon(IconHandle icon) {
    record("destroyIcon");
    if (liveIcons.erase(icon) == 0) throw std::logic_error("an icon destroyed twice");
}

IconHandle FakeDesktop::formIcon() { return kFormIcon; }

WindowHandle FakeDesktop::formWindow() { return kFormWindow; }

void FakeDesktop::showForm() {
    record("showForm");
    formVisible = true;
}

void FakeDesktop::hideForm() {
    record("hideForm");
    formVisible = false;
}

FormState FakeDesktop::formState() { return formStateValue; }

void FakeDesktop::setFormState(FormState state) {
    record(state == FormState::Minimized ? "setFormState(Minimized)" : "setFormState(Normal)");
    // Restoring and minimizing both show the window; only a change of state
    // is a resize, as the platform has it.
    const bool changed = formStateValue != state;
    formStateValue = state;
    formVisible = true;
    if (changed && events) events->onResize();
}

Size FakeDesktop::restoredFormSize() { return formOuterSize; }

Size FakeDesktop::screenSize() { return screen; }

void FakeDesktop::placeRestoredForm(Point topLeft) {
    record("placeRestoredForm");
    formPosition = topLeft;
}

MenuChoice FakeDesktop::popupTrayMenu() {
    record("popupTrayMenu");
    ++menusShown;
    return menuAnswer;
}

void FakeDesktop::setTimer(TimerId timer, Millis interval) {
    record(timer == TimerId::Tick ? "setTimer(Tick)" : "setTimer(TrayRetry)");
    if (interval.count() == 0) {
        timers.erase(timer);
    } else {
        timers[timer] = interval;
    }
}

bool FakeDesktop::whiteSelected() {
    record("whiteSelected");
    return white;
}

void FakeDesktop::setWhiteSelected(bool isWhite) {
    record("setWhiteSelected");
    white = isWhite;
}

int FakeDesktop::toggleValue() {
    record("toggleValue");
    return toggle;
}

void FakeDesktop::setToggleValue(int value) {
    record("setToggleValue");
    toggle = value;
}

void FakeDesktop::destroyForm() {
    record("destroyForm");
    formDestroyed = true;
    formVisible = false;
}

}  // namespace tervane::fake
