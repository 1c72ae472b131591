#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct FormatCase {
    int value;
    const char* text;
};

class FormatThousandsTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatThousandsTest, GroupsOfThreeDigits)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(c.text, FormatThousands(c.value));
    char buffer[32];
    EXPECT_EQ(static_cast<int>(std::string(c.text).size()), FormatThousands(c.value, buffer, sizeof buffer));
    EXPECT_STREQ(c.text, buffer);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatThousandsTest, ::testing::Values(
    FormatCase{ 0, "0" },
    FormatCase{ 7, "7" },
    FormatCase{ 480, "480" },
    FormatCase{ 999, "999" },
    FormatCase{ 1000, "1,000" },
    FormatCase{ 1920, "1,920" },
    FormatCase{ 32000, "32,000" },
    FormatCase{ 100000, "100,000" },
    FormatCase{ 1000000, "1,000,000" },
    FormatCase{ INT_MAX, "2,147,483,647" },
    FormatCase{ -1234, "-1,234" },
    FormatCase{ -999, "-999" },
    FormatCase{ INT_MIN, "-2,147,483,648" }));

TEST(FormatThousandsBufferTest, ShortBufferIsCutAndTerminated)
{
    char buffer[4] = { 'x', 'x', 'x', 'x' };
    EXPECT_EQ(5, FormatThousands(1920, buffer, sizeof buffer));
    EXPECT_STREQ("1,9", buffer);
}

TEST(FormatThousandsBufferTest, NoBufferOnlyMeasures)
{
    EXPECT_EQ(6, FormatThousands(32000, nullptr, 0));
    char untouched = 'x';
    EXPECT_EQ(6, FormatThousands(32000, &untouched, 0));
    EXPECT_EQ('x', untouched);
}

struct ParseCase {
    const char* text;
    int value;
};

class ParseDigitsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDigitsTest, TakesDigitsAndSkipsTheRest)
{
    EXPECT_EQ(GetParam().value, ParseDigits(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseDigitsTest, ::testing::Values(
    ParseCase{ "1,920", 1920 },
    ParseCase{ "2,000", 2000 },
    ParseCase{ "32,000", 32000 },
    ParseCase{ "", 0 },
    ParseCase{ nullptr, 0 },
    ParseCase{ "-5", 5 },
    ParseCase{ "1.5", 15 },
    ParseCase{ " 1 2 ", 12 },
    ParseCase{ "abc", 0 },
    ParseCase{ "007", 7 },
    ParseCase{ "\x82\x50\x82\x51", 0 }, // full-width digits are not digits
    ParseCase{ "2147483647", INT_MAX },
    ParseCase{ "2147483648", INT_MAX }, // saturates instead of wrapping
    ParseCase{ "99999999999999999999", INT_MAX },
    ParseCase{ "214748364,9", INT_MAX }));

TEST(NumberTextRoundTripTest, FormattedTextParsesBack)
{
    for (int value : { 1, 48, 192, 999, 1000, 1920, 9999, 32000, 1234567 })
        EXPECT_EQ(value, ParseDigits(FormatThousands(value).c_str())) << value;
}

TEST(ReadWholeNumberTest, SignedDigitsWithGroupSeparators)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"6", true, 6},         {"1,920", true, 1920},  {" 32000 ", true, 32000},
        {"-5", true, -5},       {"+7", true, 7},        {"0", true, 0},
        {"\t1,,2\t", true, 12}, {"99999999999", true, 2147483647}, {"-99999999999", true, -2147483647 - 1},
        {"", false, 0},         {"-", false, 0},        {",5", false, 0},
        {"1.5", false, 0},      {"5x", false, 0},       {"0x10", false, 0},
        {" ", false, 0},        {"- 5", false, 0},
    };
    for (const Case& c : cases) {
        int value = 99;
        EXPECT_EQ(c.ok, ReadWholeNumber(c.text, value)) << c.text;
        EXPECT_EQ(c.ok ? c.value : 99, value) << c.text;
    }
}

} // namespace
