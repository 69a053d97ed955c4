#include "check.h"

#include <windows.h>

#include <cstdio>

namespace e2e {
namespace {

int failures = 0;

void print(std::string_view prefix, std::string_view text) {
    std::printf("%.*s%.*s\n", static_cast<int>(prefix.size()), prefix.data(),
                static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
}

}  // namespace

bool expect(bool ok, std::string_view what) {
    if (!ok) {
        ++failures;
        print("FAIL: ", what);
    }
    return ok;
}

void require(bool ok, std::string_view what) {
    if (!expect(ok, what)) throw ScenarioAborted(std::string(what));
}

bool expectEqual(std::wstring_view actual, std::wstring_view expected, std::string_view what) {
    return expect(actual == expected,
                  std::string(what) + ": got " + quoted(actual) + ", expected " + quoted(expected));
}

bool expectEqual(long long actual, long long expected, std::string_view what) {
    return expect(actual == expected, std::string(what) + ": got " + std::to_string(actual) +
                                          ", expected " + std::to_string(expected));
}

void note(std::string_view text) { print("  ", text); }

int failureCount() { return failures; }

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

std::wstring widen(std::string_view utf8Text) {
    if (utf8Text.empty()) return {};
    const int size = static_cast<int>(utf8Text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), size, result.data(), length);
    return result;
}

std::string quoted(std::wstring_view text) {
    std::wstring shown;
    for (const wchar_t c : text) {
        if (c == L'\0') {
            shown += L"\\0";
        } else if (c < L' ') {
            shown += L"\\x" + std::to_wstring(static_cast<int>(c));
        } else {
            shown += c;
        }
    }
    return "\"" + utf8(shown) + "\"";
}

}  // namespace e2e
