#include "monitor/reading_capture.h"

namespace tervane::monitor {

ReadingTable::ReadingTable() {
    // Before the first capture reaches them, slots read as blanks: numeric value 0.
    slots.fill(std::wstring(kSlotWidth, L' '));
}

std::wstring trimAtNull(std::wstring& text) {
    if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.erase(nul);
    return text;
}

std::wstring fixedLength(std::wstring_view text, std::size_t length) {
    std::wstring field(text.substr(0, length));
    field.resize(length, L' ');
    return field;
}

bool enumChildProc(ReadingTable& table, Desktop& desktop, WindowHandle window) {
    std::wstring title = desktop.windowText(window);
    const std::wstring text = trimAtNull(title);
    if (text == kAnchorText) table.anchorSeen = true;
    if (!table.anchorSeen) return true;
    ++table.slotCount;
    table.slots.at(static_cast<std::size_t>(table.slotCount)) = fixedLength(text, kSlotWidth);
    return table.slotCount < kSlotCount;
}

void captureReadings(ReadingTable& table, Desktop& desktop, WindowHandle probe) {
    table.slotCount = 0;
    table.anchorSeen = false;
    desktop.forEachDescendant(
        probe, [&](WindowHandle window) { return enumChildProc(table, desktop, window); });
}

}  // namespace tervane::monitor
