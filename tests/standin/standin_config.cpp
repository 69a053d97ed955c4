#include "standin_config.h"

#include <windows.h>

#include <charconv>

namespace standin {
namespace {

constexpr int kMaxDepth = 16;

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

// Splits off the first blank-separated word of rest.
std::string_view nextWord(std::string_view& rest) {
    const auto start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(start);
    const auto end = rest.find(' ');
    const std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return word;
}

std::optional<int> toInt(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size()) return std::nullopt;
    return value;
}

// Reads "A B" as two integers with nothing after them.
bool twoInts(std::string_view rest, int& a, int& b) {
    const auto first = toInt(nextWord(rest));
    const auto second = toInt(nextWord(rest));
    if (!first || !second || !nextWord(rest).empty()) return false;
    a = *first;
    b = *second;
    return true;
}

}  // namespace

StandinConfig defaultConfig() {
    StandinConfig config;
    for (const wchar_t* text : {L"MonitorForm", L"3.30 V", L"5.05 V", L"12.1 V", L"1.42 V",
                                L"45.0 C", L"1820", L"0", L"2410", L"38.5 C"}) {
        config.tree.push_back({1, text});
    }
    return config;
}

ParseResult parseConfig(std::string_view text) {
    StandinConfig config;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const auto fail = [&](std::string_view what) {
            return ParseResult{std::nullopt,
                               "line " + std::to_string(lineNumber) + ": " + std::string(what)};
        };
        std::string_view rest = line;
        const std::string_view key = nextWord(rest);
        if (key.empty() || key.front() == '#') continue;

        if (key == "position") {
            if (!twoInts(rest, config.left, config.top)) return fail("position X Y");
        } else if (key == "size") {
            if (!twoInts(rest, config.width, config.height) || config.width <= 0 ||
                config.height <= 0) {
                return fail("size W H, both positive");
            }
        } else if (key == "splash") {
            const auto ms = toInt(nextWord(rest));
            if (!ms || *ms < 0 || !nextWord(rest).empty()) return fail("splash MS");
            config.splashMs = *ms;
        } else if (key == "busy" || key == "busy-on-click") {
            const auto ms = toInt(nextWord(rest));
            if (!ms || *ms < 0 || !nextWord(rest).empty()) return fail(std::string(key) + " MS");
            (key == "busy" ? config.busyMs : config.busyOnClickMs) = *ms;
        } else if (key == "after-busy") {
            const std::string_view what = nextWord(rest);
            if (what == "close" && nextWord(rest).empty()) {
                config.afterBusy = AfterBusy::Close;
            } else if (what == "move" && twoInts(rest, config.movedLeft, config.movedTop)) {
                config.afterBusy = AfterBusy::Move;
            } else {
                return fail("after-busy close, or after-busy move X Y");
            }
        } else if (key == "backdrop") {
            config.backdrop = true;
        } else if (key == "tray-click-on-click") {
            config.trayClickOnClick = true;
        } else if (key == "cursor-away-on-click") {
            config.cursorAwayOnClick = true;
        } else if (key == "no-main-window") {
            config.mainWindow = false;
        } else if (key == "log") {
            const auto start = rest.find_first_not_of(' ');
            if (start == std::string_view::npos) return fail("log PATH");
            config.logPath = widen(rest.substr(start));
        } else if (key == "window") {
            const auto depth = toInt(nextWord(rest));
            const int deepest = config.tree.empty() ? 1 : config.tree.back().depth + 1;
            if (!depth || *depth < 1 || *depth > deepest || *depth > kMaxDepth) {
                return fail("window DEPTH TEXT, depth from 1 to one deeper than the last");
            }
            config.tree.push_back({*depth, widen(rest)});
        } else if (key == "quit") {
            config.quit = true;
        } else {
            return fail("unknown item '" + std::string(key) + "'");
        }
    }
    return ParseResult{std::move(config), {}};
}

}  // namespace standin
