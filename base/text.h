#pragma once
// Text as the program meets it from outside (window texts, registry strings,
// stored options) and writes it into fixed fields: one place for cutting,
// padding and the one number grammar.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tervane {

// The text before its first NUL (all of it when there is none).
std::wstring_view upToNul(std::wstring_view text);

// Without the spaces (code 32 only) at either end.
std::wstring_view trimSpaces(std::wstring_view text);

// A fixed-length field: the text padded with spaces on the right, or cut.
// Texts are UTF-16, as on Windows: a cut that would part a surrogate pair (a
// character outside the basic plane) drops its first half too, and a space
// fills its place.
std::wstring fixedField(std::wstring_view text, std::size_t length);

// A whole number as plain decimal text: no leading spaces or zeros, a minus
// sign when negative.
std::wstring decimalText(std::int64_t value);

// The number grammar: the longest leading part of a text that reads as a
// decimal number. Blanks (space, tab, CR, LF) inside it are skipped; one
// leading sign and one decimal point are taken; reading stops at the first
// character that cannot continue the number.
struct DecimalPrefix {
    // Rounded to a whole number, halves to even, exactly on the decimal
    // digits; beyond the 64-bit range, the largest value of its sign. 0 when
    // there are no digits.
    std::int64_t rounded = 0;
    std::size_t length = 0;  // characters read, blanks included
    bool hasDigits = false;
    bool hasBlanks = false;  // a blank was skipped inside
    bool nonZero = false;    // some digit is not 0
};
DecimalPrefix readDecimal(std::wstring_view text);

// The numeric value of a text: its leading number, rounded; 0 without one.
inline std::int64_t numericValue(std::wstring_view text) { return readDecimal(text).rounded; }

// True when the whole text is one number of the grammar, without blanks.
bool isWholeNumber(std::wstring_view text);

}  // namespace tervane
