#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "base/text.h"

namespace tervane {
namespace {

struct NumberCase {
    std::wstring text;
    std::int64_t value;
};

class NumericValueTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumericValueTest, ReadsTheLeadingNumberRoundedHalfToEven) {
    EXPECT_EQ(numericValue(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(HalvesToEven, NumericValueTest,
                         testing::Values(NumberCase{L"44.5", 44}, NumberCase{L"45.5", 46},
                                         NumberCase{L"0.5", 0}, NumberCase{L"1.5", 2},
                                         NumberCase{L"-2.5", -2}, NumberCase{L"-3.5", -4},
                                         NumberCase{L"44.51", 45}, NumberCase{L"44.50", 44},
                                         NumberCase{L"44.4999", 44}, NumberCase{L"-0.5", 0},
                                         NumberCase{L".5", 0}, NumberCase{L".6", 1},
                                         NumberCase{L"99.9", 100}));

INSTANTIATE_TEST_SUITE_P(
    LeadingNumber, NumericValueTest,
    testing::Values(NumberCase{L"45.0 C", 45}, NumberCase{L"38.5 C", 38},
                    NumberCase{L"4 5.5 C", 46}, NumberCase{L"  -3  ", -3}, NumberCase{L"- 3", -3},
                    NumberCase{L"-3", -3}, NumberCase{L"007", 7}, NumberCase{L"1.2.3", 1},
                    NumberCase{L"3-4", 3}, NumberCase{L"--3", 0}, NumberCase{L"12a34", 12},
                    NumberCase{L"C 45", 0}, NumberCase{L"", 0}, NumberCase{L"      ", 0},
                    NumberCase{L"-", 0}, NumberCase{L".", 0}, NumberCase{L"999999", 999999},
                    NumberCase{L"-99999", -99999}));

// Exact whenever the value fits in 64 bits; beyond, the largest of its sign.
constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

INSTANTIATE_TEST_SUITE_P(BeyondAnyReading, NumericValueTest,
                         testing::Values(NumberCase{L"20020228002022800", 20020228002022800},
                                         NumberCase{L"123456789012345.5", 123456789012346},
                                         NumberCase{L"-1234567890123456.5", -1234567890123456},
                                         NumberCase{L"000000000000000000000000000001.5", 2},
                                         NumberCase{L"9223372036854775806.5", 9223372036854775806},
                                         NumberCase{L"9223372036854775807", kLargest},
                                         NumberCase{L"-9223372036854775807", -kLargest},
                                         NumberCase{L"9223372036854775807.5", kLargest},
                                         NumberCase{L"9223372036854775808", kLargest},
                                         NumberCase{L"-99999999999999999999999999999999.9",
                                                    -kLargest}));

TEST(WholeNumberTest, TheWholeTextIsOneNumberWithoutBlanks) {
    for (const wchar_t* text : {L"0", L"-1", L"+2", L"0.5", L".5", L"5.", L"007"}) {
        EXPECT_TRUE(isWholeNumber(text)) << text;
    }
    for (const wchar_t* text : {L"", L"-", L".", L"1x", L"1 2", L"1\t", L"1.2.3", L"--1", L"x"}) {
        EXPECT_FALSE(isWholeNumber(text)) << text;
    }
}

TEST(FieldTest, CutsPadsAndTrims) {
    EXPECT_EQ(fixedField(L"45", 6), L"45    ");
    EXPECT_EQ(fixedField(L"MonitorForm", 6), L"Monito");
    EXPECT_EQ(fixedField(L"", 3), L"   ");
    EXPECT_EQ(trimSpaces(L"  a b  "), L"a b");
    EXPECT_EQ(trimSpaces(L"\ta "), L"\ta");  // spaces only, not tabs
    EXPECT_EQ(trimSpaces(L"    "), L"");
    EXPECT_EQ(upToNul(std::wstring(L"ab\0cd", 5)), L"ab");
    EXPECT_EQ(upToNul(L"plain"), L"plain");
}

}  // namespace
}  // namespace tervane
