// Cuts in code page 932 never split a double-byte character, whose second
// byte may be a backslash (0x5C) or any other ASCII byte from 0x40 up.
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// "表" and "ソ" end in 0x5C, the byte of a backslash; "ー" begins with 0x81,
// the lowest lead byte, "漢" with 0x8A; 0xE0 and 0xFC bound the upper range.
const std::string kTable = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(CodePageTest, JapaneseLeadBytesAreExactlyTheTwoRanges)
{
    const CodePage page = CodePage::Japanese();
    struct Case {
        int byte;
        bool lead;
    };
    for (const Case& c : {Case{0x00, false}, Case{0x40, false}, Case{0x5C, false}, Case{0x7F, false},
                          Case{0x80, false}, Case{0x81, true}, Case{0x9F, true}, Case{0xA0, false},
                          Case{0xA6, false}, Case{0xDF, false}, Case{0xE0, true}, Case{0xFC, true},
                          Case{0xFD, false}, Case{0xFF, false}}) {
        EXPECT_EQ(c.lead, page.IsLeadByte(static_cast<unsigned char>(c.byte))) << c.byte;
    }
}

TEST(CodePageTest, SingleByteAndSystemPagesOnPosixStepEveryByte)
{
    for (int b = 0; b < 256; ++b)
        EXPECT_FALSE(CodePage().IsLeadByte(static_cast<unsigned char>(b))) << b;
#ifndef _WIN32
    for (int b = 0; b < 256; ++b)
        EXPECT_FALSE(CodePage::FromSystem().IsLeadByte(static_cast<unsigned char>(b))) << b;
#endif
}

TEST(CodePageTest, NextStepsOverWholeCharactersAndStopsAtTheEnd)
{
    const CodePage page = CodePage::Japanese();
    const std::string text = "a" + kSo + "\xB1" "\xE0\x40";     // ASCII, double, half-width kana, double
    const char* p = text.c_str();
    EXPECT_EQ(p + 1, page.Next(p));
    EXPECT_EQ(p + 3, page.Next(p + 1));
    EXPECT_EQ(p + 4, page.Next(p + 3));
    EXPECT_EQ(p + 6, page.Next(p + 4));
    EXPECT_EQ(p + 6, page.Next(p + 6));
    // A lead byte at the very end is one character of one byte.
    const char lone[] = "a\x83";
    EXPECT_EQ(lone + 2, page.Next(lone + 1));
    // The same bytes in a single-byte page go one at a time.
    EXPECT_EQ(p + 2, CodePage().Next(p + 1));
}

TEST(CodePageTest, FitNeverSplitsADoubleByteCharacter)
{
    const std::string text = "ab" + kTable + "c" + kSo;  // 2 + 2 + 1 + 2 bytes
    struct Case {
        int size;
        int fit;
    };
    const CodePage page = CodePage::Japanese();
    for (const Case& c : {Case{-1, 0}, Case{0, 0}, Case{1, 0}, Case{2, 1}, Case{3, 2}, Case{4, 2},
                          Case{5, 4}, Case{6, 5}, Case{7, 5}, Case{8, 7}, Case{100, 7}}) {
        EXPECT_EQ(c.fit, page.Fit(text.c_str(), c.size)) << "size " << c.size;
    }
    EXPECT_EQ(0, page.Fit(nullptr, 10));
    EXPECT_EQ(3, CodePage().Fit(text.c_str(), 4));          // bytes are characters there
}

TEST(CodePageTest, CopyTerminatesAndKeepsWholeCharacters)
{
    const CodePage page = CodePage::Japanese();
    char buffer[4];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(3, page.Copy(buffer, 4, ("a" + kTable + "b").c_str()));
    EXPECT_EQ("a" + kTable, std::string(buffer));
    EXPECT_EQ(1, page.Copy(buffer, 3, ("a" + kTable).c_str()));
    EXPECT_EQ("a", std::string(buffer));
    EXPECT_EQ(0, page.Copy(buffer, 1, "abc"));
    EXPECT_EQ("", std::string(buffer));
    EXPECT_EQ(0, page.Copy(buffer, 4, nullptr));
    EXPECT_EQ("", std::string(buffer));
    EXPECT_EQ(0, page.Copy(nullptr, 5, "abc"));
}

}  // namespace
