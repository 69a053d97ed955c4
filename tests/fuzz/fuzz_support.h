#pragma once
// What the fuzzers share: a check that aborts (so libFuzzer keeps the input),
// the decoding of fuzz bytes into the program's wide texts, and an exact
// reading of decimal numbers to hold the program's own against.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::tervane::fuzz::checkFailed(#condition, __FILE__, __LINE__))

namespace tervane::fuzz {

[[noreturn]] inline void checkFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

using Bytes = std::span<const std::uint8_t>;

// Each byte is one character; 0xFF and the two bytes after it (high, low)
// give any 16-bit unit, so every character a window or the registry can hold
// is reachable, NUL and '\n' included.
inline std::wstring wideText(Bytes bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && i + 2 < bytes.size()) {
            text.push_back(static_cast<wchar_t>(bytes[i + 1] << 8 | bytes[i + 2]));
            i += 2;
        } else {
            text.push_back(static_cast<wchar_t>(bytes[i]));
        }
    }
    return text;
}

// The input cut at its '\n' bytes.
inline std::vector<Bytes> lines(Bytes bytes) {
    std::vector<Bytes> result;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n') {
            result.push_back(bytes.subspan(start, i - start));
            start = i + 1;
        }
    }
    return result;
}

// A fixed field of the given length as the program must write it: the text's
// first units padded with spaces, where a space stands in for the first half
// of a UTF-16 surrogate pair whose second half the cut leaves out.
inline std::wstring fieldOf(const std::wstring& text, std::size_t length) {
    std::wstring field = text.substr(0, length);
    if (length > 0 && text.size() > length && (text[length - 1] & 0xFC00) == 0xD800 &&
        (text[length] & 0xFC00) == 0xDC00) {
        field.back() = L' ';
    }
    field.resize(length, L' ');
    return field;
}

// --- decimal numbers ---------------------------------------------------------

struct Decimal {
    bool negative = false;
    std::wstring whole;     // digits as written
    std::wstring fraction;  // digits after the point
};

inline bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
inline bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

// Reads [sign] digits [. digits] from the start of text, which has no blanks.
inline Decimal readDecimal(std::wstring_view text, std::size_t& at) {
    Decimal d;
    at = 0;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) d.negative = text[at++] == L'-';
    while (at < text.size() && isDigit(text[at])) d.whole.push_back(text[at++]);
    if (at < text.size() && text[at] == L'.') {
        ++at;
        while (at < text.size() && isDigit(text[at])) d.fraction.push_back(text[at++]);
    }
    return d;
}

// The leading number of a text whose blanks do not count, wherever they stand.
inline Decimal leadingNumber(std::wstring_view text) {
    std::wstring packed;
    for (const wchar_t c : text) {
        if (!isBlank(c)) packed.push_back(c);
    }
    std::size_t end = 0;
    return readDecimal(packed, end);
}

// The whole text as one number with at least one digit, else nothing.
inline std::optional<Decimal> wholeNumber(std::wstring_view text) {
    std::size_t end = 0;
    Decimal d = readDecimal(text, end);
    if (end != text.size() || d.whole.size() + d.fraction.size() == 0) return std::nullopt;
    return d;
}

inline constexpr std::int64_t kLargest = INT64_MAX;

// The number rounded to the nearest whole, halves to the even one, decided by
// comparing the fraction's digits with those of one half; beyond the 64-bit
// range, the largest value of the sign's side.
inline std::int64_t rounded(const Decimal& d) {
    const std::size_t first = d.whole.find_first_not_of(L'0');
    const std::wstring digits = first == std::wstring::npos ? L"" : d.whole.substr(first);
    std::uint64_t whole = 0;  // 19 digits and one more for the rounding still fit
    if (digits.size() > 19) {
        whole = UINT64_MAX;
    } else {
        for (const wchar_t c : digits) whole = whole * 10 + static_cast<std::uint64_t>(c - L'0');
        if (!d.fraction.empty()) {
            const std::wstring half = L"5" + std::wstring(d.fraction.size() - 1, L'0');
            const int order = d.fraction.compare(half);
            if (order > 0 || (order == 0 && whole % 2 != 0)) ++whole;
        }
    }
    const std::int64_t magnitude =
        whole > static_cast<std::uint64_t>(kLargest) ? kLargest : static_cast<std::int64_t>(whole);
    return d.negative ? -magnitude : magnitude;
}

}  // namespace tervane::fuzz
