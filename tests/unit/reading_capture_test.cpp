#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/fake_windows.h"
#include "monitor/monitor_contract.h"
#include "monitor/reading_capture.h"

namespace tervane {
namespace {

using fake::Call;
using fake::CallLog;
using fake::FakeOtherWindows;
using monitor::ReadingTable;
using Tree = std::vector<std::wstring>;
using Slots = std::vector<std::wstring>;

const std::wstring kNul(1, L'\0');
// U+1F600 as the program reads it on Windows: two UTF-16 units.
const std::wstring kPair = L"\xD83D\xDE00";

// Each entry is one window; its leading '>' give its depth below the main
// window, and it is a child of the last window listed one level up.
WindowHandle buildMonitor(FakeOtherWindows& windows, const Tree& tree) {
    const WindowHandle main =
        windows.addTopLevel(std::wstring(monitor::kMainClass), std::wstring(monitor::kMainTitle));
    std::vector<WindowHandle> lastAtDepth{main};
    for (const std::wstring& entry : tree) {
        const std::size_t depth = std::min(entry.find_first_not_of(L'>'), entry.size());
        lastAtDepth.resize(depth + 1);
        lastAtDepth.push_back(windows.addChild(lastAtDepth.at(depth), entry.substr(depth)));
    }
    return main;
}

// What an earlier capture left in slot n, so a test can tell kept from rewritten.
std::wstring earlier(int n) { return n < 10 ? L"old" + std::to_wstring(n) + L"  " : L"old10 "; }

ReadingTable tableFromAnEarlierCapture() {
    ReadingTable table;
    for (int n = 1; n <= monitor::kSlotCount; ++n) table.slots.at(n) = earlier(n);
    table.slotCount = 7;  // whatever the last capture ended with
    table.anchorSeen = true;
    return table;
}

Tree concat(Tree a, const Tree& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Tree kNine{L"r2", L"r3", L"r4", L"r5", L"r6", L"r7", L"r8", L"r9", L"r10"};
const Tree kPlain = concat({L"MonitorForm"}, kNine);
const Slots kPlainSlots{L"Monito", L"r2    ", L"r3    ", L"r4    ", L"r5    ",
                        L"r6    ", L"r7    ", L"r8    ", L"r9    ", L"r10   "};

struct CaptureCase {
    std::string name;
    Tree tree;
    Slots written;     // slots 1.. as the capture stores them; the rest keep their text
    long textsRead;    // windows whose text the capture asked for
    bool walkStopped;  // the last visit answered "stop"
};

class CaptureTest : public testing::TestWithParam<CaptureCase> {};

TEST_P(CaptureTest, FillsTheSlotsFromTheAnchorOn) {
    const CaptureCase& c = GetParam();
    CallLog log;
    FakeOtherWindows windows{log};
    const WindowHandle probe = buildMonitor(windows, c.tree);
    ReadingTable table = tableFromAnEarlierCapture();

    monitor::captureReadings(table, windows, probe);

    for (int n = 1; n <= 10; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        EXPECT_EQ(table.slot(n), i < c.written.size() ? c.written[i] : earlier(n)) << "slot " << n;
    }
    EXPECT_EQ(table.slots.at(0), L"      ") << "index 0 is never written";
    EXPECT_EQ(table.slotCount, static_cast<int>(c.written.size()));
    EXPECT_EQ(table.anchorSeen, !c.written.empty());
    EXPECT_EQ(log.count(Call::WindowText), c.textsRead);
    // Every visit but a stopping last one answers "go on".
    std::vector<bool> answers(static_cast<std::size_t>(c.textsRead), true);
    if (c.walkStopped) answers.back() = false;
    EXPECT_EQ(windows.visitAnswers, answers);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, CaptureTest,
    testing::Values(
        CaptureCase{"AnchorAndNineReadings", kPlain, kPlainSlots, 10, true},
        CaptureCase{"WalkStopsAtTheTenthSlot", concat(kPlain, {L"r11", L"r12"}), kPlainSlots, 10,
                    true},
        CaptureCase{"WindowsBeforeTheAnchorAreReadNotStored",
                    concat({L"45", L"Panel", L">38.5 C"}, kPlain), kPlainSlots, 13, true},
        CaptureCase{"NestedWindowsCountDepthFirst",
                    {L"Panel", L">MonitorForm", L">>r2", L">>r3", L">>>r4", L">r5", L"r6", L">r7",
                     L">>r8", L"r9", L"r10", L"r11"},
                    kPlainSlots,
                    11,
                    true},
        CaptureCase{"AnchorOnlyByItsExactText",
                    concat({L"monitorform", L"MONITORFORM", L"MonitorForm ", L" MonitorForm",
                            L"MonitorFormX", L"MonitorFor"},
                           kNine),
                    {},
                    15,
                    false},
        CaptureCase{"NoWindowsAtAll", {}, {}, 0, false},
        CaptureCase{"AnchorAsTheLastWindow", {L"a", L"b", L"MonitorForm"}, {L"Monito"}, 3, false},
        CaptureCase{"ThreeReadingsKeepTheLaterSlots",
                    {L"MonitorForm", L"a", L"b", L"c"},
                    {L"Monito", L"a     ", L"b     ", L"c     "},
                    4,
                    false},
        CaptureCase{"ASecondAnchorIsStoredLikeAnyOther",
                    concat({L"MonitorForm", L"r2", L"MonitorForm"}, kNine),
                    {L"Monito", L"r2    ", L"Monito", L"r2    ", L"r3    ", L"r4    ", L"r5    ",
                     L"r6    ", L"r7    ", L"r8    "},
                    10,
                    true},
        CaptureCase{"SlotsArePaddedOrCutToSix",
                    {L"MonitorForm", L"12345678", L"7", L"", L"123456", L"1234567", L"  x",
                     std::wstring(254, L'w')},
                    {L"Monito", L"123456", L"7     ", L"      ", L"123456", L"123456", L"  x   ",
                     L"wwwwww"},
                    8,
                    false},
        CaptureCase{
            "ACutNeverPartsACharacter",
            {L"MonitorForm", L"12345" + kPair, L"1234" + kPair, kPair + kPair + kPair + kPair},
            {L"Monito", L"12345 ", L"1234" + kPair, kPair + kPair + kPair},
            4,
            false},
        CaptureCase{"TextsAreCutAtTheirFirstNul",
                    {L"MonitorForm" + kNul + L"tail", L"38" + kNul + L"garbage", kNul + L"abc",
                     L"a" + kNul + kNul + L"b"},
                    {L"Monito", L"38    ", L"      ", L"a     "},
                    4,
                    false}),
    [](const testing::TestParamInfo<CaptureCase>& caseInfo) { return caseInfo.param.name; });

TEST(CaptureTest, ShorterCaptureRewritesOnlyTheSlotsItReaches) {
    CallLog log;
    FakeOtherWindows windows{log};
    const WindowHandle probe = buildMonitor(windows, kPlain);
    ReadingTable table;
    monitor::captureReadings(table, windows, probe);

    // The monitor now shows only three readings after the anchor, with new texts.
    std::vector<WindowHandle> shown;
    windows.forEachDescendant(probe, [&](WindowHandle w) {
        shown.push_back(w);
        return true;
    });
    ASSERT_EQ(shown.size(), 10u);
    for (std::size_t i = 4; i < shown.size(); ++i) windows.removeWindow(shown[i]);
    for (std::size_t i = 1; i < 4; ++i) windows.setText(shown[i], L"n" + std::to_wstring(i + 1));

    monitor::captureReadings(table, windows, probe);

    Slots expected = kPlainSlots;
    expected[1] = L"n2    ";
    expected[2] = L"n3    ";
    expected[3] = L"n4    ";
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(table.slot(n), expected.at(n - 1)) << "slot " << n;
    EXPECT_EQ(table.slotCount, 4);
}

TEST(CaptureTest, ReadsOnlyTheProbesOwnDescendants) {
    CallLog log;
    FakeOtherWindows windows{log};
    // Another program's window with an anchor of its own, made first.
    const WindowHandle other = windows.addTopLevel(L"Other", L"Other");
    windows.addChild(other, L"MonitorForm");
    const WindowHandle probe = buildMonitor(windows, {L"x"});
    ReadingTable table = tableFromAnEarlierCapture();

    monitor::captureReadings(table, windows, probe);

    EXPECT_EQ(log.count(Call::WindowText), 1);
    EXPECT_EQ(table.slot(1), earlier(1));
}

TEST(CaptureTest, SlotsReadAsBlanksBeforeAnyCapture) {
    const ReadingTable table;
    for (int n = 0; n <= monitor::kSlotCount; ++n) {
        EXPECT_EQ(table.slot(n), L"      ") << "slot " << n;
        EXPECT_EQ(numericValue(table.slot(n)), 0) << "slot " << n;
    }
}

TEST(CaptureTest, TrimAtNullCutsTheCallersTextToo) {
    for (const auto& [text, cut] :
         {std::pair{L"ab" + kNul + L"cd", L"ab"}, std::pair{std::wstring(L"plain"), L"plain"},
          std::pair{kNul + L"x", L""}, std::pair{std::wstring(), L""}}) {
        std::wstring variable = text;
        EXPECT_EQ(monitor::trimAtNull(variable), cut);
        EXPECT_EQ(variable, cut);
    }
}

}  // namespace
}  // namespace tervane
