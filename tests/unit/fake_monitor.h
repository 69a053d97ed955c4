#pragma once
// The monitor program as the fake desktop shows it: a main window whose
// descendants hold the anchor and the nine reading windows.

#include <array>
#include <string>

#include "fake_desktop.h"
#include "monitor/monitor_contract.h"

namespace tervane::fake {

struct Readings {
    std::wstring cpu = L"45.0 C";
    std::wstring mainboard = L"38.5 C";
    std::wstring fan1 = L"2410";
    std::wstring fan2 = L"0";
    std::wstring fan3 = L"1820";
};

class FakeMonitor {
  public:
    static constexpr Rect kDefaultRect{100, 120, 740, 520};

    explicit FakeMonitor(FakeDesktop& desktop, Rect rect = kDefaultRect,
                         const Readings& readings = {})
        : desktop_(desktop) {
        main_ = desktop.addTopLevel(std::wstring(monitor::kMainClass),
                                    std::wstring(monitor::kMainTitle), rect);
        const WindowHandle panel = desktop.addChild(main_, L"Panel");
        desktop.addChild(panel, L"Before the anchor");
        slots_[1] = desktop.addChild(panel, std::wstring(monitor::kAnchorText));
        for (int n = 2; n <= monitor::kSlotCount; ++n) {
            slots_[static_cast<std::size_t>(n)] =
                desktop.addChild(panel, L"r" + std::to_wstring(n));
        }
        show(readings);
    }

    void show(const Readings& r) {
        desktop_.setText(slot(monitor::kSlotCpu), r.cpu);
        desktop_.setText(slot(monitor::kSlotMainboard), r.mainboard);
        desktop_.setText(slot(monitor::kSlotFan1), r.fan1);
        desktop_.setText(slot(monitor::kSlotFan2), r.fan2);
        desktop_.setText(slot(monitor::kSlotFan3), r.fan3);
    }
    void showCpu(const std::wstring& cpu) { desktop_.setText(slot(monitor::kSlotCpu), cpu); }
    void close() { desktop_.removeWindow(main_); }

    WindowHandle main() const { return main_; }
    WindowHandle slot(int n) const { return slots_.at(static_cast<std::size_t>(n)); }

  private:
    FakeDesktop& desktop_;
    WindowHandle main_ = 0;
    std::array<WindowHandle, monitor::kSlotCount + 1> slots_{};
};

// Registers the monitor's install entry and its executable on the machine.
inline void installMonitor(FakeDesktop& desktop, const std::wstring& folder) {
    const std::wstring exe = folder + L"\\AsusProb.exe";
    desktop.machineValues[L"SOFTWARE\\ASUS\\ASUS Probe|Path"] = exe + L'\0';
    desktop.files[exe] = 0x20;
}

}  // namespace tervane::fake
