#pragma once
// Whole numbers as plain decimal text: no leading spaces or zeros, a minus
// sign when negative. Formats without the C library's printf family.

#include <charconv>
#include <cstdint>
#include <string>

namespace tervane {

inline std::wstring decimalText(std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::wstring(digits, end);
}

}  // namespace tervane
