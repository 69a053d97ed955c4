#pragma once
// Turns the reading table into what the tray shows: the tip, the one value the
// picture shows, and the id of the icon that pictures it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "monitor/reading_capture.h"

namespace tervane::readout {

inline constexpr int kLowestPictured = 20;
inline constexpr int kHighestPictured = 70;
inline constexpr int kWhiteOffset = 100;
inline constexpr int kIconBelowRange = 200;
inline constexpr int kIconAboveRange = 300;

// The leading decimal number of a text (blanks inside skipped, one sign, one
// decimal point), rounded to the nearest whole number, halves to even; 0 when
// the text does not begin with a number. A number beyond the 64-bit range
// reads as the largest value of its sign.
std::int64_t numericValue(std::wstring_view text);

// The icon id for a shown value: the value (plus 100 for white digits) from 20
// to 70, else the below- or above-range picture.
int iconIdFor(std::int64_t shownValue, bool white);

struct Readout {
    std::int64_t cpuValue = 0;
    std::wstring mbText;
    std::int64_t mbValue = 0;
    std::wstring tipText;
    std::int64_t shownValue = 0;
    int iconId = 0;
};

// Tip text and values from the table (no picture choice yet).
Readout composeReadings(const monitor::ReadingTable& table);

// The shown value: alternates CPU and mainboard (mainboard first) while the
// Toggle state is exactly 1, flipping showMb on each call; CPU otherwise.
std::int64_t shownValueFor(const Readout& readout, int toggleState, bool& showMb);

// The whole composition; whiteSelected is asked only for a value from 20 to 70.
Readout composeReadout(const monitor::ReadingTable& table, int toggleState, bool& showMb,
                       const std::function<bool()>& whiteSelected);

}  // namespace tervane::readout
