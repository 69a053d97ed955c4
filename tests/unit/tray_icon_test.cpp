#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_loop.h"
#include "fakes/fake_tray.h"
#include "readout/tray_icon.h"

namespace tervane {
namespace {

struct TipCase {
    std::size_t textLength;
    std::size_t keptLength;  // characters of the text that stay
    bool nul;                // a NUL follows them
};

class TipFieldTest : public testing::TestWithParam<TipCase> {};

TEST_P(TipFieldTest, TextThenNulThenSpacesToSixtyFour) {
    const TipCase& c = GetParam();
    std::wstring text;
    for (std::size_t i = 0; i < c.textLength; ++i)
        text.push_back(static_cast<wchar_t>(L'a' + i % 26));
    const std::wstring field = readout::tipField(text);

    ASSERT_EQ(field.size(), 64u);
    EXPECT_EQ(field.substr(0, c.keptLength), text.substr(0, c.keptLength));
    std::size_t next = c.keptLength;
    if (c.nul) {
        EXPECT_EQ(field.at(next), L'\0');
        ++next;
    }
    EXPECT_EQ(field.substr(next), std::wstring(64 - next, L' '));
}

INSTANTIATE_TEST_SUITE_P(Lengths, TipFieldTest,
                         testing::Values(TipCase{0, 0, true}, TipCase{3, 3, true},
                                         TipCase{56, 56, true}, TipCase{62, 62, true},
                                         TipCase{63, 63, true}, TipCase{64, 64, false},
                                         TipCase{100, 64, false}));

TEST(TipFieldTest, KeepsTheDegreeSignAndTheTextsOwnSpaces) {
    const std::wstring tip = L"CPU:45\u00B0C  F3:1820    ";
    const std::wstring field = readout::tipField(tip);
    EXPECT_EQ(field.substr(0, field.find(L'\0')), tip);
}

// The tray, and the loop whose timer would retry an add.
struct Icon {
    fake::CallLog log;
    fake::FakeTray tray{log};
    fake::FakeMessageLoop loop{log};
};

TEST(TrayIconTest, OwnsItsShellEntryUntilRemoved) {
    Icon shell;
    {
        readout::TrayIcon icon(shell.tray, shell.loop);
        icon.add(7, L"first");
        EXPECT_TRUE(shell.tray.present);
    }
    EXPECT_FALSE(shell.tray.present) << "gone with its owner";

    Icon removed;
    {
        readout::TrayIcon icon(removed.tray, removed.loop);
        icon.add(7, L"first");
        icon.remove();
    }
    EXPECT_EQ(removed.log.count(fake::Call::TrayDelete), 1) << "removed once, not again";

    // The exit runs while the shell keeps a change waiting, which then fails.
    Icon exited;
    {
        readout::TrayIcon icon(exited.tray, exited.loop);
        icon.add(7, L"first");
        exited.log.beforeCall = [&](fake::Call call) {
            if (call != fake::Call::TrayModify) return;
            exited.log.beforeCall = nullptr;
            icon.remove();
        };
        icon.change(8, L"second");
    }
    EXPECT_FALSE(exited.tray.present) << "removed for good: never added again";
    EXPECT_EQ(exited.log.count(fake::Call::TrayAdd), 1);
    EXPECT_FALSE(exited.loop.timers.contains(TimerId::TrayRetry));
}

}  // namespace
}  // namespace tervane
