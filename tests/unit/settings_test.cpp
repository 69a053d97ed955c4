#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/settings.h"
#include "fake_desktop.h"

namespace tervane {
namespace {

using fake::FakeDesktop;

// A fresh fake holds the designed options: Black selected, Toggle unchecked.
struct StoredCase {
    std::string name;
    std::optional<std::wstring> trayColor;  // nullopt: key absent
    std::optional<std::wstring> toggle;
    bool white;
    int toggleValue;
};

class RestoreTest : public testing::TestWithParam<StoredCase> {};

TEST_P(RestoreTest, EachOptionTakesItsTextOrKeepsItsDesignedState) {
    const StoredCase& c = GetParam();
    FakeDesktop desktop;
    if (c.trayColor) desktop.setSetting(L"TrayColor", *c.trayColor);
    if (c.toggle) desktop.setSetting(L"Toggle", *c.toggle);
    const auto storedBefore = desktop.settings;

    app::restoreSettings(desktop);

    EXPECT_EQ(desktop.white, c.white);
    EXPECT_EQ(desktop.toggle, c.toggleValue);
    // The restore never writes, not even to repair a bad text.
    EXPECT_EQ(desktop.countCalls("writeSetting"), 0);
    EXPECT_EQ(desktop.settings, storedBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RestoreTest,
    testing::Values(StoredCase{"FirstRun", std::nullopt, std::nullopt, false, 0},
                    StoredCase{"White", L"True", L"0", true, 0},
                    StoredCase{"Black", L"False", L"0", false, 0},
                    StoredCase{"AnyLetterCase", L"true", L"1", true, 1},
                    StoredCase{"UpperCaseFalse", L"FALSE", L"1", false, 1},
                    StoredCase{"NumberTrue", L"-1", std::nullopt, true, 0},
                    StoredCase{"NumberFalse", L"0", std::nullopt, false, 0},
                    StoredCase{"FractionIsNotZero", L"0.5", std::nullopt, true, 0},
                    StoredCase{"Alternating", std::nullopt, L"1", false, 1},
                    StoredCase{"Greyed", L"True", L"2", true, 2},
                    StoredCase{"ColorBadToggleStillRestored", L"maybe", L"1", false, 1},
                    StoredCase{"ColorEmptyToggleStillRestored", L"", L"2", false, 2},
                    StoredCase{"ColorAlmostTrue", L"Truee", L"1", false, 1},
                    StoredCase{"ColorBareSign", L"-", L"1", false, 1},
                    StoredCase{"ToggleOutOfRange", L"True", L"7", true, 0},
                    StoredCase{"ToggleNegative", L"True", L"-1", true, 0},
                    StoredCase{"ToggleNotANumber", L"True", L"x", true, 0},
                    StoredCase{"ToggleEmpty", L"True", L"", true, 0},
                    StoredCase{"ToggleTrailingText", L"False", L"1x", false, 0},
                    StoredCase{"ToggleHuge", L"False", L"99999999999999999999", false, 0},
                    StoredCase{"BothBad", L"maybe", L"x", false, 0}),
    [](const testing::TestParamInfo<StoredCase>& caseInfo) { return caseInfo.param.name; });

TEST(SaveTest, WritesTheTextsTheRestoreReads) {
    for (const bool white : {false, true}) {
        for (const int toggle : {0, 1, 2}) {
            FakeDesktop desktop;
            desktop.white = white;
            desktop.toggle = toggle;
            app::saveTrayColor(desktop);
            EXPECT_EQ(desktop.setting(L"TrayColor"), white ? L"True" : L"False");
            EXPECT_EQ(desktop.setting(L"Toggle"), L"<absent>") << "each save writes its own key";
            app::saveToggle(desktop);
            EXPECT_EQ(desktop.setting(L"Toggle"), std::to_wstring(toggle));
            EXPECT_EQ(desktop.settings.size(), 2u);

            // The next run, with the designed options, restores the same ones.
            FakeDesktop nextRun;
            nextRun.settings = desktop.settings;
            app::restoreSettings(nextRun);
            EXPECT_EQ(nextRun.white, white);
            EXPECT_EQ(nextRun.toggle, toggle);
        }
    }
}

TEST(SaveTest, ASaveOverwritesTheStoredText) {
    FakeDesktop desktop;
    desktop.setSetting(L"TrayColor", L"maybe");
    desktop.setSetting(L"Toggle", L"7");
    desktop.white = true;
    desktop.toggle = 2;
    app::saveTrayColor(desktop);
    app::saveToggle(desktop);
    EXPECT_EQ(desktop.setting(L"TrayColor"), L"True");
    EXPECT_EQ(desktop.setting(L"Toggle"), L"2");
}

}  // namespace
}  // namespace tervane
