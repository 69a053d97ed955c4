// The reading table captured from the running stand-in through the real
// Win32 adapter, and the tip composed from it.

#include <array>

#include "check.h"
#include "monitor/monitor_contract.h"
#include "monitor/reading_capture.h"
#include "platform/win32/win32_desktop.h"
#include "readout/readout.h"
#include "standin.h"

namespace e2e {
namespace {

using tervane::monitor::ReadingTable;
using Slots = std::array<std::wstring_view, 10>;  // slots 1 to 10

// The tip of the plain tree's readings, as the readout composes it.
constexpr wchar_t kPlainTip[] = L"CPU:45\u00B0C  MB:38\u00B0C  F1:2410    F2:0       F3:1820    ";

// The stand-in showing a tree, captured through one adapter as the update
// tick captures it: the main window looked up by class and title, then the
// walk over its descendants.
struct Capturing {
    Standin standin;
    tervane::win32::Win32Desktop desktop;
    ReadingTable table;
    int loads = 1;

    Capturing(const Paths& paths, const StandinSetup& setup) : standin(paths) {
        standin.start(setup);
        capture();
    }
    void capture() {
        const auto probe =
            desktop.findWindow(tervane::monitor::kMainClass, tervane::monitor::kMainTitle);
        require(probe != 0, "the adapter finds the monitor's main window by class and title");
        tervane::monitor::captureReadings(table, desktop, probe);
    }
    // The stand-in shows setup instead (what), and it is captured again.
    void show(const StandinSetup& setup, const std::string& what) {
        standin.write(setup);
        require(standin.waitForLoads(++loads), "the stand-in takes in " + what);
        capture();
    }
};

// The ten slots, how many the last capture wrote, and the tip they make.
void expectSlots(const ReadingTable& table, const Slots& expected, int count, std::wstring_view tip,
                 std::string_view when) {
    for (int n = 1; n <= 10; ++n) {
        expectEqual(table.slot(n), expected[static_cast<std::size_t>(n - 1)],
                    std::string(when) + ": slot " + std::to_string(n));
    }
    expectEqual(table.slotCount, count, std::string(when) + ": slots written");
    expectEqual(tervane::readout::composeReadings(table).tipText, tip, std::string(when) + ": tip");
}

StandinSetup plainSetup() {
    StandinSetup setup = readings();
    setup.tree[2].text = L"";          // slot 3: an empty title
    setup.tree[3].text = L"12.125 V";  // slot 4: eight characters
    setup.tree.push_back({1, L"after the tenth"});
    return setup;
}

constexpr Slots kPlainSlots{L"Monito", L"3.30 V", L"      ", L"12.125", L"1.42 V",
                            L"45.0 C", L"1820  ", L"0     ", L"2410  ", L"38.5 C"};

void capturePlain(const Paths& paths) {
    StandinSetup setup = plainSetup();
    Capturing capturing(paths, setup);
    expectSlots(capturing.table, kPlainSlots, 10, kPlainTip, "plain tree");

    // The monitor's readings change while it runs; the next capture follows.
    setup.tree[5].text = L"44.5 C";
    setup.tree[6].text = L"960";
    setup.tree[7].text = L"3125";
    setup.tree[8].text = L"12345678";
    setup.tree[9].text = L"105 C";
    capturing.show(setup, "the new readings");
    expectSlots(capturing.table,
                {L"Monito", L"3.30 V", L"      ", L"12.125", L"1.42 V", L"44.5 C", L"960   ",
                 L"3125  ", L"123456", L"105 C "},
                10, L"CPU:44\u00B0C  MB:10\u00B0C  F1:123456  F2:3125    F3:960     ",
                "new readings");
    capturing.standin.quit();
}

void captureNested(const Paths& paths) {
    Capturing capturing(paths, nestedTree());
    expectSlots(capturing.table,
                {L"Monito", L"Volts ", L"3.30 V", L"12.1 V", L"Sensor", L"51.5 C", L"960   ",
                 L"3125  ", L"123456", L"105 C "},
                10, L"CPU:52\u00B0C  MB:10\u00B0C  F1:123456  F2:3125    F3:960     ",
                "nested tree");
    capturing.standin.quit();
}

void captureShort(const Paths& paths) {
    Capturing capturing(paths, plainSetup());
    ReadingTable& table = capturing.table;
    expectSlots(table, kPlainSlots, 10, kPlainTip, "full tree first");

    // Three windows after the anchor: slots 5 to 10 keep the full tree's texts.
    StandinSetup shorter;
    shorter.tree = {{1, L"Before"}, {1, L"MonitorForm"}, {2, L"a"}, {1, L"b"}, {1, L"c"}};
    capturing.show(shorter, "the short tree");
    expectSlots(table,
                {L"Monito", L"a     ", L"b     ", L"c     ", L"1.42 V", L"45.0 C", L"1820  ",
                 L"0     ", L"2410  ", L"38.5 C"},
                4, kPlainTip, "three windows after the anchor");

    // The anchor as the last window: only slot 1 is written.
    StandinSetup anchorLast;
    anchorLast.tree = {{1, L"x"}, {1, L"y"}, {1, L"MonitorForm"}};
    const ReadingTable before = table;
    capturing.show(anchorLast, "the tree ending at the anchor");
    expectEqual(table.slotCount, 1, "anchor last: slots written");
    expect(std::equal(table.slots.begin() + 1, table.slots.end(), before.slots.begin() + 1),
           "anchor last: the table is as before (slot 1 rewritten with the same text)");

    // No anchor at all: nothing is written.
    StandinSetup noAnchor;
    noAnchor.tree = {{1, L"x"}, {1, L"monitorform"}, {1, L"1"}, {1, L"2"}};
    capturing.show(noAnchor, "the tree without an anchor");
    expectEqual(table.slotCount, 0, "no anchor: slots written");
    expect(!table.anchorSeen, "no anchor: the anchor is not seen");
    expect(table.slots == before.slots, "no anchor: the table keeps its texts");
    capturing.standin.quit();
}

const ScenarioRegistration plainScenario(
    "capture_plain", "capture and tip from a plain tree, and from changed readings", &capturePlain);
const ScenarioRegistration nestedScenario(
    "capture_nested", "capture from a nested tree with windows before the anchor", &captureNested);
const ScenarioRegistration shortScenario(
    "capture_short", "slots a short tree does not reach keep their text; no anchor", &captureShort);

}  // namespace
}  // namespace e2e
