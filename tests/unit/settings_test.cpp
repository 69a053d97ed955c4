#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/settings.h"
#include "fakes/fake_form.h"
#include "fakes/fake_machine.h"

namespace tervane {
namespace {

using fake::Call;

// The store and the window's options; a fresh one holds the options as they start:
// Black selected, Toggle unchecked.
struct Options {
    fake::CallLog log;
    fake::FakeMachine machine{log};
    fake::FakeOptionsWindow window{log};

    void restore() { app::restoreSettings(machine, window); }
    void saveTrayColor() { app::saveTrayColor(machine, window); }
    void saveToggle() { app::saveToggle(machine, window); }
};
struct StoredCase {
    std::string name;
    std::optional<std::wstring> trayColor;  // nullopt: key absent
    std::optional<std::wstring> toggle;
    bool white;
    int toggleValue;
};

class RestoreTest : public testing::TestWithParam<StoredCase> {};

TEST_P(RestoreTest, EachOptionTakesItsTextOrKeepsItsStartingState) {
    const StoredCase& c = GetParam();
    Options o;
    if (c.trayColor) o.machine.setSetting(L"TrayColor", *c.trayColor);
    if (c.toggle) o.machine.setSetting(L"Toggle", *c.toggle);
    const auto storedBefore = o.machine.settings;

    o.restore();

    EXPECT_EQ(o.window.white, c.white);
    EXPECT_EQ(o.window.toggle, c.toggleValue);
    // The restore never writes, not even to repair a bad text.
    EXPECT_EQ(o.log.count(Call::WriteSetting), 0);
    EXPECT_EQ(o.machine.settings, storedBefore);
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
                    StoredCase{"BothBad", L"maybe", L"x", false, 0},
                    // Stored NULs and all, a NUL after each: 256 characters at most.
                    StoredCase{"ColorToItsNul", std::wstring(L"True\0x", 6), L"1", true, 1},
                    StoredCase{"ToggleAtLimit", L"0", L"1" + std::wstring(254, L' '), false, 1},
                    StoredCase{"ToggleOverLimit", L"0", L"1" + std::wstring(255, L' '), false, 0}),
    [](const testing::TestParamInfo<StoredCase>& caseInfo) { return caseInfo.param.name; });

TEST(SaveTest, WritesTheTextsTheRestoreReads) {
    for (const bool white : {false, true}) {
        for (const int toggle : {0, 1, 2}) {
            Options o;
            o.window.white = white;
            o.window.toggle = toggle;
            o.saveTrayColor();
            EXPECT_EQ(o.machine.setting(L"TrayColor"), white ? L"True" : L"False");
            EXPECT_EQ(o.machine.setting(L"Toggle"), L"<absent>") << "each save writes its own key";
            o.saveToggle();
            EXPECT_EQ(o.machine.setting(L"Toggle"), std::to_wstring(toggle));
            EXPECT_EQ(o.machine.settings.size(), 2u);

            // The next run, with the options as they start, restores the same ones.
            Options nextRun;
            nextRun.machine.settings = o.machine.settings;
            nextRun.restore();
            EXPECT_EQ(nextRun.window.white, white);
            EXPECT_EQ(nextRun.window.toggle, toggle);
        }
    }
}

TEST(SaveTest, ASaveOverwritesTheStoredText) {
    Options o;
    o.machine.setSetting(L"TrayColor", L"maybe");
    o.machine.setSetting(L"Toggle", L"7");
    o.window.white = true;
    o.window.toggle = 2;
    o.saveTrayColor();
    o.saveToggle();
    EXPECT_EQ(o.machine.setting(L"TrayColor"), L"True");
    EXPECT_EQ(o.machine.setting(L"Toggle"), L"2");
}

}  // namespace
}  // namespace tervane
