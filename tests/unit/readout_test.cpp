#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "monitor/monitor_contract.h"
#include "monitor/reading_capture.h"
#include "readout/readout.h"
#include "readout/tray_icon.h"

namespace tervane {
namespace {

using monitor::ReadingTable;
using readout::composeReadout;

struct Slots {
    std::wstring cpu = L"45.0 C";
    std::wstring mainboard = L"38.5 C";
    std::wstring fan1 = L"2410";
    std::wstring fan2 = L"0";
    std::wstring fan3 = L"1820";
};

// A table as a capture leaves it: every slot six characters.
ReadingTable tableWith(const Slots& s) {
    ReadingTable table;
    const auto put = [&](int slot, const std::wstring& text) {
        table.slots.at(slot) = fixedField(text, monitor::kSlotWidth);
    };
    put(1, L"MonitorForm");
    put(6, s.cpu);
    put(7, s.fan3);
    put(8, s.fan2);
    put(9, s.fan1);
    put(10, s.mainboard);
    return table;
}

const auto kBlack = [] { return false; };
const auto kWhite = [] { return true; };

// --- icon id --------------------------------------------------------------------

struct IconCase {
    std::int64_t shown;
    int black;
    int white;
};

class IconIdTest : public testing::TestWithParam<IconCase> {};

TEST_P(IconIdTest, PicturesTwentyToSeventyElseBelowOrAbove) {
    const IconCase& c = GetParam();
    EXPECT_EQ(readout::iconIdFor(c.shown, false), c.black);
    EXPECT_EQ(readout::iconIdFor(c.shown, true), c.white);
}

INSTANTIATE_TEST_SUITE_P(Edges, IconIdTest,
                         testing::Values(IconCase{19, 200, 200}, IconCase{20, 20, 120},
                                         IconCase{45, 45, 145}, IconCase{70, 70, 170},
                                         IconCase{71, 300, 300}, IconCase{0, 200, 200},
                                         IconCase{-3, 200, 200}, IconCase{-99999, 200, 200},
                                         IconCase{999999, 300, 300}));

// --- tip and values -----------------------------------------------------------------

TEST(ComposeTest, TheTipOfTypicalReadingsByteForByte) {
    bool showMb = false;
    const auto r = composeReadout(tableWith({}), 0, showMb, kBlack);
    // Each fan text is six characters, then two spaces.
    EXPECT_EQ(r.tipText,
              L"CPU:45\u00B0C  MB:38\u00B0C  "
              L"F1:2410    "
              L"F2:0       "
              L"F3:1820    ");
    EXPECT_EQ(r.tipText.size(), 52u);
    EXPECT_EQ(r.cpuValue, 45);
    EXPECT_EQ(r.mbText, L"38");
    EXPECT_EQ(r.mbValue, 38);
    EXPECT_EQ(r.iconId, 45);
    EXPECT_EQ(composeReadout(tableWith({}), 0, showMb, kWhite).iconId, 145);
}

struct ComposeCase {
    std::string name;
    std::wstring cpuSlot, mainboardSlot;
    std::wstring tipStart;  // up to the fans
    std::int64_t cpu, mb;
    int icon;  // Black, Toggle unchecked
};

class ComposeTest : public testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeTest, ValuesTipAndPicture) {
    const ComposeCase& c = GetParam();
    bool showMb = false;
    const auto r = composeReadout(tableWith({.cpu = c.cpuSlot, .mainboard = c.mainboardSlot}), 0,
                                  showMb, kBlack);
    EXPECT_EQ(r.tipText.substr(0, c.tipStart.size() + 3), c.tipStart + L"F1:") << r.tipText;
    EXPECT_EQ(r.cpuValue, c.cpu);
    EXPECT_EQ(r.mbValue, c.mb);
    EXPECT_EQ(r.shownValue, c.cpu);
    EXPECT_EQ(r.iconId, c.icon);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, ComposeTest,
    testing::Values(
        ComposeCase{"Negative", L"-3", L"38.5 C", L"CPU:-3\u00B0C  MB:38\u00B0C  ", -3, 38, 200},
        ComposeCase{"HalfDown", L"44.5 C", L"38", L"CPU:44\u00B0C  MB:38\u00B0C  ", 44, 38, 44},
        ComposeCase{"HalfUp", L"45.5 C", L"38", L"CPU:46\u00B0C  MB:38\u00B0C  ", 46, 38, 46},
        ComposeCase{"CutToSix", L"45.5555", L"38", L"CPU:46\u00B0C  MB:38\u00B0C  ", 46, 38, 46},
        ComposeCase{"NoLeadingZeros", L"007", L"38", L"CPU:7\u00B0C  MB:38\u00B0C  ", 7, 38, 200},
        ComposeCase{"MinusHalf", L"-0.5", L"38", L"CPU:0\u00B0C  MB:38\u00B0C  ", 0, 38, 200},
        ComposeCase{"MainboardFirstTwo", L"45", L"105 C", L"CPU:45\u00B0C  MB:10\u00B0C  ", 45, 10,
                    45},
        ComposeCase{"MainboardNoNumber", L"45", L"n/a", L"CPU:45\u00B0C  MB:n/\u00B0C  ", 45, 0,
                    45},
        ComposeCase{"MainboardBlank", L"45", L"", L"CPU:45\u00B0C  MB:  \u00B0C  ", 45, 0, 45},
        // U+1F600 in UTF-16, as on Windows: its first half is no character of its own.
        ComposeCase{"MainboardCutBeforeAPair", L"45", L"4\xD83D\xDE00 C",
                    L"CPU:45\u00B0C  MB:4 \u00B0C  ", 45, 4, 45},
        ComposeCase{"AboveAnyPicture", L"999999", L"38", L"CPU:999999\u00B0C  MB:38\u00B0C  ",
                    999999, 38, 300},
        ComposeCase{"BelowAnyPicture", L"-99999", L"38", L"CPU:-99999\u00B0C  MB:38\u00B0C  ",
                    -99999, 38, 200}),
    [](const testing::TestParamInfo<ComposeCase>& caseInfo) { return caseInfo.param.name; });

TEST(ComposeTest, BlankTableShowsZerosAndTheBelowRangePicture) {
    bool showMb = false;
    const auto r = composeReadout(ReadingTable{}, 0, showMb, kBlack);
    EXPECT_EQ(r.tipText, L"CPU:0\u00B0C  MB:  \u00B0C  F1:        F2:        F3:        ");
    EXPECT_EQ(r.iconId, 200);
}

// Whatever six characters the slots hold, the tip fits the tray's field with its NUL.
TEST(ComposeTest, TipNeverExceedsFiftySixCharacters) {
    const std::wstring alphabet = L"0123456789-+. C9";
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const auto sixChars = [&] {
        std::wstring text(6, L' ');
        for (auto& c : text) c = alphabet[pick(random)];
        return text;
    };
    std::vector<std::wstring> cpuTexts{L"999999", L"-99999", L"-9 9 9", L"99999.",
                                       L"9999.9", L".99999", L"+99999", L"-.5   "};
    for (int i = 0; i < 20000; ++i) cpuTexts.push_back(sixChars());
    std::size_t longest = 0;
    for (const auto& cpu : cpuTexts) {
        bool showMb = false;
        const auto r = composeReadout(
            tableWith({cpu, sixChars(), sixChars(), sixChars(), sixChars()}), 1, showMb, kBlack);
        longest = std::max(longest, r.tipText.size());
        ASSERT_LE(r.tipText.size(), 56u) << "CPU slot [" << cpu << "]";
        const std::wstring field = readout::tipField(r.tipText);
        ASSERT_EQ(field.substr(0, r.tipText.size()), r.tipText);
        ASSERT_EQ(field.at(r.tipText.size()), L'\0');
    }
    EXPECT_EQ(longest, 56u) << "six-character CPU values were among the cases";
}

// --- shown value and alternation ------------------------------------------------------

struct Step {
    int toggle;
    bool showMbAfter;
    std::int64_t shown;
    int icon;
};

// MB 55 and CPU 80, one composition per step, as on successive ticks.
void runSteps(const std::vector<Step>& steps, bool white = false) {
    const ReadingTable table = tableWith({.cpu = L"80", .mainboard = L"55 C"});
    bool showMb = false;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto r = composeReadout(table, steps[i].toggle, showMb, white ? kWhite : kBlack);
        EXPECT_EQ(showMb, steps[i].showMbAfter) << "step " << i;
        EXPECT_EQ(r.shownValue, steps[i].shown) << "step " << i;
        EXPECT_EQ(r.iconId, steps[i].icon) << "step " << i;
    }
}

TEST(AlternationTest, ToggleCheckedShowsMainboardFirstThenCpu) {
    runSteps({{1, true, 55, 55}, {1, false, 80, 300}, {1, true, 55, 55}, {1, false, 80, 300}});
    runSteps({{1, true, 55, 155}, {1, false, 80, 300}}, true);
}

TEST(AlternationTest, UncheckedAndGreyedShowCpuOnly) {
    runSteps({{0, false, 80, 300}, {0, false, 80, 300}, {2, false, 80, 300}, {2, false, 80, 300}});
}

TEST(AlternationTest, UncheckingFreezesAndRecheckingContinues) {
    runSteps({{1, true, 55, 55},
              {0, true, 80, 300},
              {0, true, 80, 300},
              {1, false, 80, 300},
              {1, true, 55, 55},
              {2, true, 80, 300},
              {1, false, 80, 300},
              {1, true, 55, 55}});
}

TEST(AlternationTest, WhiteIsAskedOnlyForAPicturedValue) {
    struct Case {
        std::wstring cpu;
        int asked;
        int icon;
    };
    for (const Case& c : {Case{L"19", 0, 200}, Case{L"20", 1, 120}, Case{L"70", 1, 170},
                          Case{L"71", 0, 300}, Case{L"-3", 0, 200}, Case{L"999999", 0, 300}}) {
        int asked = 0;
        bool showMb = false;
        const auto r = composeReadout(tableWith({.cpu = c.cpu}), 0, showMb, [&] {
            ++asked;
            return true;
        });
        EXPECT_EQ(asked, c.asked) << c.cpu;
        EXPECT_EQ(r.iconId, c.icon);
    }
}

}  // namespace
}  // namespace tervane
