#include "text/Texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The bytes the program must carry: code page 932, written out by hand so
// that a wrong source or execution character set cannot go unnoticed.
// "～" (U+FF5E) is 0x81 0x60 in code page 932.
const char kSplitStepMessage[] =
    "\x95\xAA\x8A\x84\x83X\x83" "e\x83" "b\x83v\x90\x94\x82\xAA\x95s\x90\xB3\x82\xC5\x82\xB7\x81" "B\n"
    "\x83X\x83" "e\x83" "b\x83v\x90\x94\x82\xCD" "1\x81`1,920"
    "\x82\xF0\x90\xDD\x92\xE8\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B";

TEST(TextsTest, MessagesAreCodePage932)
{
    ASSERT_NE(nullptr, GetString(kStrBadSplitStep));
    EXPECT_EQ(std::string(kSplitStepMessage), GetString(kStrBadSplitStep));
    EXPECT_EQ(static_cast<int>(sizeof kSplitStepMessage) - 1, GetStringLength(kStrBadSplitStep));
    EXPECT_STREQ("\x91S\x89\xB9\x95\x84", GetString(1100)); // "全音符"
    EXPECT_STREQ("192\x95\xAA\x89\xB9\x95\x84", GetString(1117)); // "192分音符"
}

TEST(TextsTest, FullWidthTildeInEveryRangeMessage)
{
    for (int id : { kStrBadPartCount, kStrBadSplitStep, kStrBadFirstLine }) {
        std::string text = GetString(id);
        EXPECT_NE(std::string::npos, text.find("\x81\x60")) << id;
    }
}

TEST(TextsTest, FiltersKeepTheirNulSeparators)
{
    const char expected[] = "Text file (*.txt)\0*.txt\0All file (*.*)\0*.*";
    ASSERT_EQ(static_cast<int>(sizeof expected) - 1, GetStringLength(kStrSaveFilter));
    EXPECT_EQ(0, std::memcmp(expected, GetString(kStrSaveFilter), sizeof expected));
    EXPECT_GT(GetStringLength(kStrOpenFilter), static_cast<int>(std::strlen(GetString(kStrOpenFilter))));
}

TEST(TextsTest, UnknownIdHasNoText)
{
    EXPECT_EQ(nullptr, GetString(0));
    EXPECT_EQ(nullptr, GetString(1118));
    EXPECT_EQ(-1, GetStringLength(99999));
}

TEST(TextsTest, NamesMatchIds)
{
    EXPECT_EQ(1234, kStrBadPartCount);
    EXPECT_EQ(1235, kStrBadSplitStep);
    EXPECT_EQ(1236, kStrBadFirstLine);
    EXPECT_STREQ("MIDI to MORVEK", GetString(kStrAppCaption));
}

} // namespace
