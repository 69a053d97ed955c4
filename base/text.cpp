#include "base/text.h"

#include <charconv>
#include <limits>

namespace tervane {
namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

}  // namespace

std::wstring_view upToNul(std::wstring_view text) { return text.substr(0, text.find(L'\0')); }

std::wstring_view trimSpaces(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring fixedField(std::wstring_view text, std::size_t length) {
    std::wstring field(text.substr(0, length));
    if (length > 0 && text.size() > length && isHighSurrogate(text[length - 1]) &&
        isLowSurrogate(text[length])) {
        field.pop_back();  // half a character would show as a broken one
    }
    field.resize(length, L' ');
    return field;
}

std::wstring decimalText(std::int64_t value) {
    // Without the printf family, which would weigh on the static executable.
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::wstring(digits, end);
}

DecimalPrefix readDecimal(std::wstring_view text) {
    DecimalPrefix number;
    bool negative = false;
    bool signAllowed = true;
    bool inFraction = false;
    std::int64_t whole = 0;
    std::wstring fraction;
    for (const wchar_t c : text) {
        if (isBlank(c)) {
            number.hasBlanks = true;
        } else if (signAllowed && (c == L'-' || c == L'+')) {
            negative = c == L'-';
            signAllowed = false;
        } else if (isDigit(c)) {
            signAllowed = false;
            number.hasDigits = true;
            const int digit = c - L'0';
            number.nonZero = number.nonZero || digit != 0;
            if (inFraction) {
                fraction.push_back(c);
            } else if (whole <= (kLargest - digit) / 10) {
                whole = whole * 10 + digit;
            } else {
                whole = kLargest;  // a whole part beyond the range stays at its largest
            }
        } else if (c == L'.' && !inFraction) {
            signAllowed = false;
            inFraction = true;
        } else {
            break;
        }
        ++number.length;
    }
    // Rounds exactly on the decimal digits, halves to the even neighbour.
    if (!fraction.empty()) {
        const bool aboveHalf =
            fraction[0] > L'5' ||
            (fraction[0] == L'5' && fraction.find_first_not_of(L'0', 1) != std::wstring::npos);
        const bool half = fraction[0] == L'5' && !aboveHalf;
        if ((aboveHalf || (half && whole % 2 == 1)) && whole < kLargest) ++whole;
    }
    number.rounded = negative ? -whole : whole;
    return number;
}

bool isWholeNumber(std::wstring_view text) {
    const DecimalPrefix number = readDecimal(text);
    return number.hasDigits && !number.hasBlanks && number.length == text.size();
}

}  // namespace tervane
