#include "monitor/reading_capture.h"

#include "base/text.h"

namespace tervane::monitor {

ReadingTable::ReadingTable() {
    // Before the first capture reaches them, slots read as blanks: numeric value 0.
    slots.fill(fixedField({}, kSlotWidth));
}

std::wstring trimAtNull(std::wstring& text) {
    text.resize(upToNul(text).size());
    return text;
}

bool enumChildProc(ReadingTable& table, OtherWindows& windows, WindowHandle window) {
    std::wstring title = windows.windowText(window);
    const std::wstring text = trimAtNull(title);
    if (text == kAnchorText) table.anchorSeen = true;
    if (!table.anchorSeen) return true;
    ++table.slotCount;
    table.slots.at(static_cast<std::size_t>(table.slotCount)) = fixedField(text, kSlotWidth);
    return table.slotCount < kSlotCount;
}

void captureReadings(ReadingTable& table, OtherWindows& windows, WindowHandle probe) {
    table.slotCount = 0;
    table.anchorSeen = false;
    windows.forEachDescendant(
        probe, [&](WindowHandle window) { return enumChildProc(table, windows, window); });
}

}  // namespace tervane::monitor
