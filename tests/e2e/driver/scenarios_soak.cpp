// A long run of the resident program (scripts/soak; not a test): readings
// that change every second and cross every picture, both colours and the
// alternation, the monitor's window tree rebuilt now and then, the shell's
// icon dropped and restored. Samples the program's memory and handles every
// 10 s and says whether they stay flat; a measure that reads 0 throughout
// fails, as it judges nothing.

#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <optional>
#include <vector>

#include "check.h"
#include "program.h"
#include "resident.h"
#include "standin.h"
#include "tray.h"
#include "window_query.h"

namespace e2e {
namespace {

// One pass over every picture: below the range, 20 to 70, above it, a
// negative reading; each value a second.
std::vector<int> cpuCycle() {
    std::vector<int> values{15};
    for (int v = 20; v <= 70; ++v) values.push_back(v);
    values.insert(values.end(), {75, -3});
    return values;
}

// The readings with the given CPU and mainboard values; every other shape
// wraps them in panels, with windows before the anchor.
StandinSetup soakTree(int cpu, int mainboard, bool wrapped) {
    StandinSetup setup = plainTree(std::to_wstring(cpu) + L".0 C", L"1820", L"0", L"2410",
                                   std::to_wstring(mainboard) + L".5 C");
    if (wrapped) {
        for (auto& window : setup.tree) window.depth = 2;
        setup.tree.insert(setup.tree.begin(), {{1, L"Toolbar"}, {2, L"Refresh"}, {1, L"Panel"}});
        setup.tree.push_back({1, L"Status"});
    }
    return setup;
}

// What the system's list of processes holds for the program, under Wine as
// on Windows: the handle count, the working set and the private memory
// (PagefileUsage: the private bytes committed; under Wine the process's
// anonymous memory). Under Wine the handle count is the size of the handle
// table, which doubles (64, 128, 256, ...), so a leak shows once it needs the
// next size. Wine answers 0 for another process's private bytes in
// GetProcessMemoryInfo and for its GDI and USER objects in GetGuiResources, so
// those are not sampled; the unit tests' fake desktop counts the program's
// icons instead.
struct Sample {
    int second = 0;
    SIZE_T workingSet = 0;
    SIZE_T privateBytes = 0;
    DWORD handles = 0;
};

std::optional<SYSTEM_PROCESS_INFORMATION> processInformation(DWORD pid) {
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    while (NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                    static_cast<ULONG>(buffer.size()), &needed) ==
           static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    }
    for (std::size_t at = 0;;) {
        SYSTEM_PROCESS_INFORMATION entry;
        std::memcpy(&entry, buffer.data() + at, sizeof entry);
        if (reinterpret_cast<DWORD_PTR>(entry.UniqueProcessId) == pid) return entry;
        if (entry.NextEntryOffset == 0) return std::nullopt;
        at += entry.NextEntryOffset;
    }
}

Sample sample(DWORD pid, int second) {
    Sample s;
    s.second = second;
    if (const auto info = processInformation(pid)) {
        s.workingSet = info->VirtualMemoryCounters.WorkingSetSize;
        s.privateBytes = info->VirtualMemoryCounters.PagefileUsage;
        s.handles = info->HandleCount;
    }
    return s;
}

// The icon whose tip shows readings, wherever the shell has it now.
std::optional<TrayIcon> readingIcon() {
    for (const auto& icon : trayIcons()) {
        if (trayTip(icon).value_or(L"").starts_with(L"CPU:")) return icon;
    }
    return std::nullopt;
}

void clickButton(HWND button) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
}

// Sets the colour and the alternation in the options window, as a user does.
bool setOptions(DWORD pid, bool white, bool toggle) {
    const auto icon = readingIcon();
    if (!icon) return false;
    postDoubleClick(*icon);
    HWND options = nullptr;
    if (!waitUntil([&] { return (options = optionsWindow(pid)) != nullptr; }, 5s)) return false;
    clickButton(childWithText(options, white ? L"White" : L"Black"));
    const HWND check = childWithText(options, L"Toggle CPU && MB Temps");
    DWORD_PTR state = 0;
    SendMessageTimeoutW(check, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    if ((state == BST_CHECKED) != toggle) clickButton(check);
    PostMessageW(options, WM_SYSCOMMAND, SC_CLOSE, 0);
    return waitUntil([&] { return optionsWindow(pid) == nullptr; }, 5s);
}

// Drops the icon from outside; every other time the shell announces a
// restart, otherwise the program must notice by itself. True when it is back.
bool dropIcon(DWORD pid, bool announce) {
    dropProgramIcon(pid);
    if (announce) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return waitUntil([] { return readingIcon().has_value(); }, 5s);
}

double mean(const std::vector<Sample>& samples, std::size_t from, std::size_t to,
            double (*of)(const Sample&)) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += of(samples[i]);
    return to > from ? sum / static_cast<double>(to - from) : 0;
}

void soak(const Paths& paths) {
    const int seconds = scenarioCount(L"E2E_SOAK_SECONDS", 600);
    const auto cycle = cpuCycle();
    const int cycleSeconds = static_cast<int>(cycle.size());

    Standin standin(paths, monitorFolder(paths));
    Resident resident = startResident(paths, standin);
    const DWORD pid = resident.program.id();
    // The pointer rests away from the options window (see scripts/measure-cpu).
    setCursorPos({1000, 10});

    std::vector<Sample> samples;
    int optionFailures = 0;
    int iconLosses = 0;
    int drops = 0;
    const ULONGLONG start = GetTickCount64();
    std::printf("%6s %12s %12s %8s\n", "second", "working set", "private", "handles");
    for (int second = 0; second < seconds && resident.program.running(); ++second) {
        const int pass = second / cycleSeconds;
        const int mainboard = 15 + (second * 7) % 61;
        standin.write(soakTree(cycle[static_cast<std::size_t>(second % cycleSeconds)], mainboard,
                               (second / 90) % 2 == 1));
        // Each pass: black, white, then alternating in either colour.
        if (second % cycleSeconds == 0 && second > 0) {
            const bool toggle = pass % 3 == 2;
            const bool white = pass % 3 == 1 || (toggle && pass % 2 == 0);
            if (!setOptions(pid, white, toggle)) ++optionFailures;
        }
        if (second % 60 == 30) {
            ++drops;
            if (!dropIcon(pid, drops % 2 == 0)) ++iconLosses;
        }
        if (second % 10 == 0) {
            samples.push_back(sample(pid, second));
            const Sample& s = samples.back();
            std::printf("%6d %12llu %12llu %8lu\n", s.second,
                        static_cast<unsigned long long>(s.workingSet),
                        static_cast<unsigned long long>(s.privateBytes), s.handles);
            std::fflush(stdout);
        }
        const ULONGLONG next = start + static_cast<ULONGLONG>(second + 1) * 1000;
        const ULONGLONG now = GetTickCount64();
        if (next > now) pauseFor(Millis(next - now));
    }
    require(resident.program.running(), "the program runs through the soak");
    expectEqual(optionFailures, 0, "option changes that did not go through");
    expectEqual(iconLosses, 0, "dropped icons that did not come back within 5 s");

    // Every picture has been shown once by the end of the third pass; from
    // then on nothing should grow.
    const std::size_t warm =
        std::min(samples.size(), static_cast<std::size_t>(3 * cycleSeconds / 10 + 1));
    const std::size_t rest = samples.size() - warm;
    require(rest >= 6, "enough samples after every picture was shown (E2E_SOAK_SECONDS >= 240)");
    const std::size_t third = rest / 3;
    const auto firstThird = [&](double (*of)(const Sample&)) {
        return mean(samples, warm, warm + third, of);
    };
    const auto lastThird = [&](double (*of)(const Sample&)) {
        return mean(samples, samples.size() - third, samples.size(), of);
    };
    const auto workingSet = [](const Sample& s) { return static_cast<double>(s.workingSet); };
    const auto privateBytes = [](const Sample& s) { return static_cast<double>(s.privateBytes); };
    const auto handles = [](const Sample& s) { return static_cast<double>(s.handles); };
    struct Measure {
        const char* name;
        double (*of)(const Sample&);
        double allowed;  // growth from the first third to the last one
    };
    int unread = 0;
    int growing = 0;
    for (const Measure& m : {Measure{"working set (bytes)", +workingSet, 512.0 * 1024},
                             Measure{"private bytes", +privateBytes, 512.0 * 1024},
                             Measure{"handles", +handles, 1.0}}) {
        const double before = firstThird(m.of);
        const double after = lastThird(m.of);
        const bool read = std::any_of(samples.begin() + static_cast<std::ptrdiff_t>(warm),
                                      samples.end(), [&](const Sample& s) { return m.of(s) > 0; });
        const bool grows = read && after - before > m.allowed;
        unread += read ? 0 : 1;
        growing += grows ? 1 : 0;
        std::printf("%-20s first third %.0f, last third %.0f: %s\n", m.name, before, after,
                    read ? (grows ? "growing" : "flat") : "0 in every sample, not judged");
    }
    std::printf("verdict: %s (%zu samples, %d icon drops, %d s)\n",
                unread > 0 ? "not judged" : (growing > 0 ? "growing" : "flat"), samples.size(),
                drops, seconds);
    expectEqual(unread, 0, "measures that read 0 in every sample, so judge nothing");
    expectEqual(growing, 0, "measures that grow (memory and handles stay flat)");
    standin.quit();
    expect(resident.program.exitsCleanly(10s), "the program ends after the monitor");
}

const ScenarioRegistration soakScenario("soak_program",
                                        "a long resident run; memory and handles sampled (soak)",
                                        &soak);

}  // namespace
}  // namespace e2e
