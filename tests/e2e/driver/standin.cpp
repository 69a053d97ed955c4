#include "standin.h"

#include <charconv>

#include "check.h"
#include "window_query.h"

namespace e2e {
namespace {

std::string render(const StandinSetup& setup, const std::wstring& logPath) {
    std::string text = "# written by the e2e driver\n";
    text += "log " + utf8(logPath) + "\n";
    text += "position " + std::to_string(setup.position.x) + " " +
            std::to_string(setup.position.y) + "\n";
    text += "size " + std::to_string(setup.size.cx) + " " + std::to_string(setup.size.cy) + "\n";
    if (setup.splashMs > 0) text += "splash " + std::to_string(setup.splashMs) + "\n";
    if (setup.busyMs > 0) text += "busy " + std::to_string(setup.busyMs) + "\n";
    if (setup.busyOnClickMs > 0) {
        text += "busy-on-click " + std::to_string(setup.busyOnClickMs) + "\n";
    }
    if (setup.goneAfterBusy) text += "after-busy close\n";
    if (const auto to = setup.movedAfterBusy) {
        text += "after-busy move " + std::to_string(to->x) + " " + std::to_string(to->y) + "\n";
    }
    if (setup.backdrop) text += "backdrop\n";
    if (setup.trayClickOnClick) text += "tray-click-on-click\n";
    if (setup.cursorAwayOnClick) text += "cursor-away-on-click\n";
    if (!setup.mainWindow) text += "no-main-window\n";
    for (const auto& window : setup.tree) {
        text += "window " + std::to_string(window.depth) + " " + utf8(window.text) + "\n";
    }
    if (setup.quit) text += "quit\n";
    return text;
}

// The value of "key=" in a log line, or nullopt.
std::optional<long long> field(std::string_view line, std::string_view key) {
    const std::string tag = " " + std::string(key) + "=";
    const auto at = line.find(tag);
    if (at == std::string_view::npos) return std::nullopt;
    const char* begin = line.data() + at + tag.size();
    long long value = 0;
    const auto [end, error] = std::from_chars(begin, line.data() + line.size(), value);
    if (error != std::errc{}) return std::nullopt;
    return value;
}

}  // namespace

StandinSetup plainTree(const std::wstring& cpu, const std::wstring& fan3, const std::wstring& fan2,
                       const std::wstring& fan1, const std::wstring& mainboard) {
    StandinSetup setup;
    for (const auto& text :
         {std::wstring(L"MonitorForm"), std::wstring(L"3.30 V"), std::wstring(L"5.05 V"),
          std::wstring(L"12.1 V"), std::wstring(L"1.42 V"), cpu, fan3, fan2, fan1, mainboard}) {
        setup.tree.push_back({1, text});
    }
    return setup;
}

StandinSetup readings(StandinSetup setup) {
    setup.tree = plainTree(L"45.0 C", L"1820", L"0", L"2410", L"38.5 C").tree;
    return setup;
}

StandinSetup nestedTree() {
    StandinSetup setup;
    setup.tree = {{1, L"Menu"},        {2, L"File"},   {2, L"monitorform"}, {1, L"Body"},
                  {2, L"MonitorForm"}, {3, L"Volts"},  {4, L"3.30 V"},      {4, L"12.1 V"},
                  {2, L"Sensors"},     {3, L"51.5 C"}, {3, L"960"},         {3, L"3125"},
                  {3, L"12345678"},    {3, L"105 C"},  {1, L"Status"}};
    return setup;
}

std::optional<ULONGLONG> StandinLog::firstTick(std::string_view event, ULONGLONG from) const {
    for (const auto& line : lines) {
        if (!line.starts_with(event)) continue;
        const auto tick = field(line, "tick");
        if (tick && static_cast<ULONGLONG>(*tick) >= from) return static_cast<ULONGLONG>(*tick);
    }
    return std::nullopt;
}

StandinLog parseStandinLog(std::string_view text) {
    StandinLog log;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos) break;  // a line still being written
        std::string line(text.substr(0, newline));
        text.remove_prefix(newline + 1);
        if (line.starts_with("loaded ")) ++log.loads;
        if (line.starts_with("backdrop-click ")) ++log.backdropClicks;
        if (line.starts_with("click ")) {
            LoggedClick click;
            click.screen = {static_cast<LONG>(field(line, "x").value_or(0)),
                            static_cast<LONG>(field(line, "y").value_or(0))};
            click.offset = {static_cast<LONG>(field(line, "dx").value_or(0)),
                            static_cast<LONG>(field(line, "dy").value_or(0))};
            click.topmost = field(line, "topmost").value_or(0) == 1;
            click.tick = static_cast<ULONGLONG>(field(line, "tick").value_or(0));
            log.clicks.push_back(click);
        }
        log.lines.push_back(std::move(line));
    }
    return log;
}

Standin::Standin(const Paths& paths, std::wstring folder)
    : paths_(paths), folder_(folder.empty() ? paths.workFolder : std::move(folder)) {
    CreateDirectoryW(folder_.c_str(), nullptr);
    configPath_ = folder_ + L"\\standin.txt";
    logPath_ = folder_ + L"\\standin.log";
}

void Standin::write(const StandinSetup& setup) {
    last_ = setup;
    quitWritten_ = false;
    writeFileAtomically(configPath_, render(setup, logPath_));
}

void Standin::start(const std::optional<StandinSetup>& setup) {
    if (setup || quitWritten_) write(setup.value_or(last_));
    const int loadsBefore = log().loads;
    process_ = Process::start(paths_.standinExe, {configPath_});
    require(waitForLoads(loadsBefore + 1), "the stand-in monitor starts and reads its file");
}

std::wstring Standin::install() {
    const std::wstring exe = folder_ + L"\\AsusProb.exe";
    require(CopyFileW(paths_.standinExe.c_str(), exe.c_str(), FALSE) != FALSE,
            "copy the stand-in to " + utf8(exe));
    return exe;
}

bool Standin::waitForLoads(int count, Millis timeout) {
    return waitUntil([&] { return log().loads >= count; }, timeout);
}

HWND Standin::mainWindow(Millis timeout) const {
    HWND window = nullptr;
    waitUntil([&] { return (window = findTopLevel(kMonitorClass, kMonitorTitle)) != nullptr; },
              timeout);
    return window;
}

StandinLog Standin::log() const { return parseStandinLog(readWholeFile(logPath_).value_or("")); }

bool Standin::quit(Millis within) {
    const bool ours = process_ && process_->running();
    const bool startedElsewhere = !process_ && log().firstTick("started");
    if (!ours && !startedElsewhere) return true;
    StandinSetup ending = last_;
    ending.quit = true;
    writeFileAtomically(configPath_, render(ending, logPath_));
    quitWritten_ = true;
    const bool ended = ours
                           ? process_->waitForExit(within)
                           : waitUntil([&] { return log().firstTick("quit").has_value(); }, within);
    if (!ended) note("the stand-in did not end by its file");
    if (ours) process_->terminate();
    return ended;
}

void writeFileAtomically(const std::wstring& path, const std::string& text) {
    const std::wstring temporary = path + L".new";
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    require(file != INVALID_HANDLE_VALUE, "create " + utf8(temporary));
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    require(wrote && written == text.size(), "write " + utf8(temporary));
    // A reader that has the old file open can hold up the swap for a moment.
    DWORD error = ERROR_SUCCESS;
    const bool swapped = waitUntil(
        [&] {
            if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
                return true;
            error = GetLastError();
            return false;
        },
        3s);
    require(swapped, "rename over " + utf8(path) + " (error " + std::to_string(error) + ")");
}

std::optional<std::string> readWholeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(file);
    return text;
}

}  // namespace e2e
