// File names and captions cut from paths whose double-byte characters end in
// a byte that looks like a backslash.
#include "text/PathName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/PathNameCase.h"

namespace {

const std::string kTable = "\x95\x5C";                    // 表
const std::string kSo = "\x83\x5C";                       // ソ
const std::string kSong = "\x83\x5C\x83\x93\x83\x4F";     // ソング

TEST(PathNameTest, WindowsFileNameFollowsTheLastRealSeparator)
{
    const PathName paths(CodePage::Japanese(), PathName::kWindowsPaths);
    std::vector<PathNameCase> cases = WindowsPathCases();
    cases.insert(cases.end(), {
        {"Z:\\tmp\\" + kSong + ".mid", kSong + ".mid", kSong},
        {kSo + "\\" + kSo, kSo, kSo},
        {"\\\\server\\share\\" + kSong, kSong, kSong},
        {"music\\", "", ""},
    });
    for (const PathNameCase& c : cases) {
        EXPECT_EQ(c.name, paths.GetFileName(c.path)) << c.path;
        EXPECT_EQ(c.name, std::string(paths.FindFileName(c.path.c_str()))) << c.path;
        EXPECT_EQ(c.base, paths.GetBaseName(c.path.c_str())) << c.path;
    }
    EXPECT_EQ(std::string(), paths.FindFileName(nullptr));
}

TEST(PathNameTest, WithoutLeadBytesATrailBackslashSplitsAsBefore)
{
    // What the converter did on Windows before it knew the code page.
    const PathName paths(CodePage(), PathName::kWindowsPaths);
    EXPECT_EQ("\x83\x93\x83\x4F.mid", paths.GetFileName("Z:\\tmp\\" + kSong + ".mid"));
}

TEST(PathNameTest, PosixPathsSplitOnlyAtSlashes)
{
    const PathName paths(CodePage(), PathName::kPosixPaths);
    const PathNameCase cases[] = {
        {"song.mid", "song.mid", "song"},
        {"music/old/song.mid", "song.mid", "song"},
        {"/song.mid", "song.mid", "song"},
        {"music/", "", ""},
        {"C:song.mid", "C:song.mid", "C:song"},
        {"music/a\\song.mid", "a\\song.mid", "a\\song"},
        {"m/\xE3\x82\xBD\xE3\x83\xB3\xE3\x82\xB0.mid", "\xE3\x82\xBD\xE3\x83\xB3\xE3\x82\xB0.mid",
         "\xE3\x82\xBD\xE3\x83\xB3\xE3\x82\xB0"},            // UTF-8 ソング
    };
    for (const PathNameCase& c : cases) {
        EXPECT_EQ(c.name, paths.GetFileName(c.path)) << c.path;
        EXPECT_EQ(c.base, paths.GetBaseName(c.path.c_str())) << c.path;
    }
}

TEST(PathNameTest, CaptionHoldsTheWholePathWhenItFits)
{
    const PathName paths(CodePage::Japanese(), PathName::kWindowsPaths);
    EXPECT_EQ("MIDI to MORVEK - C:\\song.mid", paths.ComposeCaption("MIDI to MORVEK", "C:\\song.mid", 256));
    std::string path(255 - 17, 'p');
    EXPECT_EQ("MIDI to MORVEK - " + path, paths.ComposeCaption("MIDI to MORVEK", path.c_str(), 256));
    EXPECT_EQ("t - ", paths.ComposeCaption("t", nullptr, 256));
}

TEST(PathNameTest, LongCaptionDropsTheStartOfThePathOnCharacterBoundaries)
{
    const PathName paths(CodePage::Japanese(), PathName::kWindowsPaths);
    const std::string head = "MIDI to MORVEK - ...";
    // Every length of a path of double-byte folder names around the limit.
    for (int count = 110; count < 130; ++count) {
        std::string path = "C:\\";
        std::set<size_t> starts = {0, 1, 2, 3};               // where a character begins
        for (int i = 0; i < count; ++i) {
            path += (i % 2 == 0) ? kTable : kSo;
            starts.insert(path.size());
        }
        path += "\\" + kSo;
        starts.insert(path.size() - 2);
        for (char c : std::string("song.mid")) {
            starts.insert(path.size());
            path += c;
        }
        std::string caption = paths.ComposeCaption("MIDI to MORVEK", path.c_str(), 256);
        ASSERT_LE(caption.size(), 255u) << count;
        if (path.size() + 17 <= 255) {
            EXPECT_EQ("MIDI to MORVEK - " + path, caption) << count;
            continue;
        }
        ASSERT_EQ(0u, caption.find(head)) << count;
        const size_t kept = caption.size() - head.size();
        EXPECT_EQ(path.substr(path.size() - kept), caption.substr(head.size())) << count;
        EXPECT_EQ(1u, starts.count(path.size() - kept)) << count;
        EXPECT_GE(caption.size(), 254u) << count;             // at most one byte given away
    }
}

TEST(PathNameTest, CaptionWithoutRoomForThePathIsCut)
{
    const PathName paths(CodePage::Japanese(), PathName::kWindowsPaths);
    std::string title(250, 't');
    std::string caption = paths.ComposeCaption(title.c_str(), "C:\\song.mid", 256);
    EXPECT_EQ(title + " - C:", caption);
    EXPECT_EQ("", paths.ComposeCaption("title", "path", 0));
    EXPECT_EQ("ti", paths.ComposeCaption("title", "path", 3));
    // The cut of the whole text keeps whole characters too.
    EXPECT_EQ("a", paths.ComposeCaption(("a" + kSo).c_str(), "p", 3));
}

}  // namespace
