#pragma once
// Capture of the monitor's reading windows into a table of six-character slots.

#include <array>
#include <string>

#include "monitor/monitor_contract.h"
#include "platform/desktop.h"

namespace tervane::monitor {

inline constexpr std::size_t kSlotWidth = 6;

// The reading table and its capture counters. Slot n (1..10) holds the text of
// the n-th window from the anchor on, padded with spaces or cut to six
// characters; index 0 is never written. A capture that does not reach a slot
// leaves the text an earlier capture put there.
struct ReadingTable {
    std::array<std::wstring, kSlotCount + 1> slots;
    int slotCount = 0;
    bool anchorSeen = false;

    ReadingTable();
    const std::wstring& slot(int n) const { return slots.at(static_cast<std::size_t>(n)); }
};

// Cuts text just before its first NUL and returns a copy of the result.
std::wstring trimAtNull(std::wstring& text);

// Per-window step of the walk; false stops it (at the tenth slot).
bool enumChildProc(ReadingTable& table, OtherWindows& windows, WindowHandle window);

// One capture over the descendants of the monitor's main window.
void captureReadings(ReadingTable& table, OtherWindows& windows, WindowHandle probe);

}  // namespace tervane::monitor
