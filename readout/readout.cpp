#include "readout/readout.h"

#include "base/text.h"

namespace tervane::readout {

int iconIdFor(std::int64_t shownValue, bool white) {
    if (shownValue > kHighestPictured) return kIconAboveRange;
    if (shownValue < kLowestPictured) return kIconBelowRange;
    return static_cast<int>(shownValue) + (white ? kWhiteOffset : 0);
}

Readout composeReadings(const monitor::ReadingTable& table) {
    using namespace monitor;
    Readout r;
    r.cpuValue = numericValue(table.slot(kSlotCpu));
    r.mbText = fixedField(table.slot(kSlotMainboard), 2);
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
