#pragma once
// The monitor program as the fake desktop shows it: a main window whose
// descendants hold the anchor and the nine reading windows.

#include <array>
#include <string>

#include "fakes/fake_machine.h"
#include "fakes/fake_windows.h"
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

    explicit FakeMonitor(FakeOtherWindows& windows, Rect rect = kDefaultRect,
                         const Readings& readings = {})
        : windows_(windows) {
        main_ = windows.addTopLevel(std::wstring(monitor::kMainClass),
                                    std::wstring(monitor::kMainTitle), rect);
        const WindowHandle panel = windows.addChild(main_, L"Panel");
        windows.addChild(panel, L"Before the anchor");
        slots_[1] = windows.addChild(panel, L"MonitorForm");
        for (int n = 2; n <= monitor::kSlotCount; ++n) {
            slots_[static_cast<std::size_t>(n)] =
                windows.addChild(panel, L"r" + std::to_wstring(n));
        }
        show(readings);
    }

    // Where the monitor shows each reading: its slot counted from the anchor's, 1.
    void show(const Readings& r) {
        windows_.setText(slot(6), r.cpu);
        windows_.setText(slot(7), r.fan3);
        windows_.setText(slot(8), r.fan2);
        windows_.setText(slot(9), r.fan1);
        windows_.setText(slot(10), r.mainboard);
    }
    void showCpu(const std::wstring& cpu) { windows_.setText(slot(6), cpu); }
    void close() { windows_.removeWindow(main_); }

    WindowHandle main() const { return main_; }
    WindowHandle slot(int n) const { return slots_.at(static_cast<std::size_t>(n)); }

  private:
    FakeOtherWindows& windows_;
    WindowHandle main_ = 0;
    std::array<WindowHandle, monitor::kSlotCount + 1> slots_{};
};

// Registers the monitor's install entry and its executable on the machine.
inline void installMonitor(FakeMachine& machine, const std::wstring& folder) {
    const std::wstring exe = folder + L"\\" + std::wstring(monitor::kExecutable);
    machine.machineStrings[{std::wstring(monitor::kInstallKey),
                            std::wstring(monitor::kInstallValue)}] = exe + L'\0';
    machine.files[exe] = 0x20;
}

}  // namespace tervane::fake
