#include "readout/readout.h"

#include <limits>

#include "platform/decimal_text.h"

namespace tervane::readout {
namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A whole part beyond the 64-bit range stays at its largest value.
constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

}  // namespace

std::int64_t numericValue(std::wstring_view text) {
    bool negative = false;
    bool signAllowed = true;
    bool inFraction = false;
    std::int64_t whole = 0;
    std::wstring fraction;
    for (const wchar_t c : text) {
        if (isBlank(c)) continue;
        if (signAllowed && (c == L'-' || c == L'+')) {
            negative = c == L'-';
            signAllowed = false;
        } else if (isDigit(c)) {
            signAllowed = false;
            const int digit = c - L'0';
            if (inFraction) {
                fraction.push_back(c);
            } else if (whole <= (kLargest - digit) / 10) {
                whole = whole * 10 + digit;
            } else {
                whole = kLargest;
            }
        } else if (c == L'.' && !inFraction) {
            signAllowed = false;
            inFraction = true;
        } else {
            break;
        }
    }
    // Rounds exactly on the decimal digits, halves to the even neighbour.
    if (!fraction.empty()) {
        const bool aboveHalf =
            fraction[0] > L'5' ||
            (fraction[0] == L'5' && fraction.find_first_not_of(L'0', 1) != std::wstring::npos);
        const bool half = fraction[0] == L'5' && !aboveHalf;
        if ((aboveHalf || (half && whole % 2 == 1)) && whole < kLargest) ++whole;
    }
    return negative ? -whole : whole;
}

int iconIdFor(std::int64_t shownValue, bool white) {
    if (shownValue > kHighestPictured) return kIconAboveRange;
    if (shownValue < kLowestPictured) return kIconBelowRange;
    return static_cast<int>(shownValue) + (white ? kWhiteOffset : 0);
}

Readout composeReadings(const monitor::ReadingTable& table) {
    using namespace monitor;
    Readout r;
    r.cpuValue = numericValue(table.slot(kSlotCpu));
    r.mbText = table.slot(kSlotMainboard).substr(0, 2);
    r.mbValue = numericValue(r.mbText);
    const std::wstring unit = L"\u00B0C  ";
    r.tipText = L"CPU:" + decimalText(r.cpuValue) + unit + L"MB:" + r.mbText + unit + L"F1:" +
                table.slot(kSlotFan1) + L"  " + L"F2:" + table.slot(kSlotFan2) + L"  " + L"F3:" +
                table.slot(kSlotFan3) + L"  ";
    return r;
}

std::int64_t shownValueFor(const Readout& readout, int toggleState, bool& showMb) {
    if (toggleState != 1) return readout.cpuValue;
    showMb = !showMb;
    return showMb ? readout.mbValue : readout.cpuValue;
}

Readout composeReadout(const monitor::ReadingTable& table, int toggleState, bool& showMb,
                       const std::function<bool()>& whiteSelected) {
    Readout r = composeReadings(table);
    r.shownValue = shownValueFor(r, toggleState, showMb);
    const bool pictured = r.shownValue >= kLowestPictured && r.shownValue <= kHighestPictured;
    r.iconId = iconIdFor(r.shownValue, pictured && whiteSelected());
    return r;
}

}  // namespace tervane::readout
