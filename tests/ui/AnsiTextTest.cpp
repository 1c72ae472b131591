// Cutting and searching texts in code page 932 without splitting a
// double-byte character: several of them end in a byte that looks like a
// backslash (0x5C) or start with a byte above 0x80.
#include "ui/AnsiText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/PathNameCase.h"

namespace {

// "表" and "ソ" end in 0x5C, the byte of a backslash.
const std::string kTable = "\x95\x5C";
const std::string kSo = "\x83\x5C";

bool IsWholeCp932(const std::string& text)
{
    if (text.empty())
        return true;
    return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0) > 0;
}

TEST(AnsiTextTest, RunsUnderTheJapaneseCodePage)
{
    ASSERT_EQ(932u, GetACP());
}

TEST(AnsiTextTest, FitAnsiNeverSplitsADoubleByteCharacter)
{
    const std::string text = "ab" + kTable + "c" + kSo;  // 2 + 2 + 1 + 2 bytes
    struct Case {
        int size;
        int fit;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{2, 1}, Case{3, 2}, Case{4, 2}, Case{5, 4}, Case{6, 5},
                          Case{7, 5}, Case{8, 7}, Case{100, 7}}) {
        EXPECT_EQ(c.fit, FitAnsi(text.c_str(), c.size)) << "size " << c.size;
    }
    EXPECT_EQ(0, FitAnsi(nullptr, 10));
}

TEST(AnsiTextTest, CopyAnsiTerminatesAndKeepsWholeCharacters)
{
    char buffer[4];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(3, CopyAnsi(buffer, 4, ("a" + kTable + "b").c_str()));
    EXPECT_EQ("a" + kTable, std::string(buffer));
    EXPECT_EQ(1, CopyAnsi(buffer, 3, ("a" + kTable).c_str()));
    EXPECT_STREQ("a", buffer);
    EXPECT_EQ(0, CopyAnsi(buffer, 1, "abc"));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0, CopyAnsi(nullptr, 5, "abc"));
}

TEST(AnsiTextTest, FileNameFollowsTheLastRealSeparator)
{
    for (const PathNameCase& c : WindowsPathCases()) {
        EXPECT_EQ(c.name, std::string(FindFileName(c.path.c_str()))) << c.path;
        EXPECT_EQ(c.base, BaseName(c.path.c_str())) << c.path;
    }
}

TEST(AnsiTextTest, CaptionHoldsTheWholePathWhenItFits)
{
    EXPECT_EQ("MIDI to MORVEK - C:\\song.mid", ComposeCaption("MIDI to MORVEK", "C:\\song.mid", 256));
    std::string path(255 - 17, 'p');
    EXPECT_EQ("MIDI to MORVEK - " + path, ComposeCaption("MIDI to MORVEK", path.c_str(), 256));
}

TEST(AnsiTextTest, LongCaptionDropsTheStartOfThePathOnCharacterBoundaries)
{
    // Every length of a path of double-byte folder names around the limit.
    for (int count = 110; count < 130; ++count) {
        std::string path = "C:\\";
        for (int i = 0; i < count; ++i)
            path += (i % 2 == 0) ? kTable : kSo;
        path += "\\" + kSo + "song.mid";
        std::string caption = ComposeCaption("MIDI to MORVEK", path.c_str(), 256);
        ASSERT_LE(caption.size(), 255u) << count;
        EXPECT_TRUE(IsWholeCp932(caption)) << count;
        EXPECT_EQ(kSo + "song.mid", caption.substr(caption.size() - 10)) << count;
        if (path.size() + 17 > 255) {
            EXPECT_EQ(0u, caption.find("MIDI to MORVEK - ...")) << count;
            EXPECT_GE(caption.size(), 254u) << count; // at most one byte given away
        }
    }
}

TEST(AnsiTextTest, CaptionWithoutRoomForThePathIsCut)
{
    std::string title(250, 't');
    std::string caption = ComposeCaption(title.c_str(), "C:\\song.mid", 256);
    EXPECT_EQ(255u, caption.size());
    EXPECT_EQ(0u, caption.find(title));
    EXPECT_EQ("", ComposeCaption("title", "path", 0));
    EXPECT_EQ("ti", ComposeCaption("title", "path", 3));
}

} // namespace
