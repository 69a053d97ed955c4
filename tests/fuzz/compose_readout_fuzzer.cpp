// The whole composition from a reading table, over several ticks: values, tip
// text, shown value and icon id, and the CPU/MB alternation with its freeze.
// Input: a first line of ticks, one byte each (low two bits the Toggle state
// 0 to 3, bit 2 White selected), an 'r' before them for slots of any length
// instead of the six characters a capture leaves; then one line per slot, 1 to 10.

#include <algorithm>

#include "base/text.h"
#include "fuzz_support.h"
#include "monitor/reading_capture.h"
#include "readout/readout.h"
#include "readout/tray_icon.h"

using namespace tervane;
using monitor::kSlotWidth;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = fuzz::lines({data, size});
    fuzz::Bytes ticks = lines[0];
    const bool raw = !ticks.empty() && ticks[0] == 'r';
    if (raw) ticks = ticks.subspan(1);

    monitor::ReadingTable table;
    for (std::size_t n = 1; n < lines.size() && n <= monitor::kSlotCount; ++n) {
        const std::wstring text = fuzz::wideText(lines[n]);
        table.slots[n] = raw ? text : fixedField(text, kSlotWidth);
    }
    const auto slot = [&](int n) { return table.slot(n); };

    bool showMb = false;
    for (const std::uint8_t tick : ticks) {
        const int toggle = tick & 3;
        const bool white = (tick & 4) != 0;
        const bool showMbBefore = showMb;
        int asked = 0;
        const readout::Readout r = readout::composeReadout(table, toggle, showMb, [&] {
            ++asked;
            return white;
        });

        // Values: the CPU's in slot 6, fans 3, 2 and 1 in 7 to 9, the mainboard's in 10.
        FUZZ_CHECK(r.cpuValue == numericValue(slot(6)));
        FUZZ_CHECK(r.mbText == fuzz::fieldOf(slot(10), 2));
        FUZZ_CHECK(r.mbValue == numericValue(r.mbText));

        // Tip: the CPU value as plain decimal, the MB text, the fan slots whole.
        const std::wstring cpuText = std::to_wstring(r.cpuValue);
        const std::wstring unit = L"\u00B0C  ";
        FUZZ_CHECK(r.tipText == L"CPU:" + cpuText + unit + L"MB:" + r.mbText + unit + L"F1:" +
                                    slot(9) + L"  F2:" + slot(8) + L"  F3:" + slot(7) + L"  ");
        if (!raw) {
            // Six characters hold no CPU value longer than six, so the tip
            // and its NUL fit the tray's field.
            FUZZ_CHECK(cpuText.size() <= 6);
            FUZZ_CHECK(r.tipText.size() <= 56);
        }
        // The tray's field: the tip, a NUL and spaces, or the tip cut.
        const std::wstring field = readout::tipField(r.tipText);
        const std::size_t kept = std::min(r.tipText.size(), readout::kTipField);
        FUZZ_CHECK(field.size() == readout::kTipField);
        FUZZ_CHECK(field.compare(0, kept, r.tipText, 0, kept) == 0);
        if (kept < readout::kTipField) {
            FUZZ_CHECK(field[kept] == L'\0');
            FUZZ_CHECK(field.find_first_not_of(L' ', kept + 1) == std::wstring::npos);
        }

        // Alternation: only a Toggle state of exactly 1 flips, MB after the flip to True.
        FUZZ_CHECK(showMb == (toggle == 1 ? !showMbBefore : showMbBefore));
        FUZZ_CHECK(r.shownValue == (toggle == 1 && showMb ? r.mbValue : r.cpuValue));

        // Picture: 20 to 70 in the chosen colour, else below or above range,
        // and the colour is asked only for a pictured value.
        const std::int64_t shown = r.shownValue;
        const bool pictured = shown >= 20 && shown <= 70;
        FUZZ_CHECK(asked == (pictured ? 1 : 0));
        if (pictured) {
            FUZZ_CHECK(r.iconId == static_cast<int>(shown) + (white ? 100 : 0));
        } else {
            FUZZ_CHECK(r.iconId == (shown > 70 ? 300 : 200));
        }
    }
    return 0;
}
