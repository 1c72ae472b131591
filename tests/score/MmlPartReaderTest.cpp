// The part reader takes MML from users: what it reads must be what the
// driver would play, and what it refuses must be named by position.
#include "score/MmlPartReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/NoteListText.h"

namespace {

struct ReadCase {
    std::vector<const char*> strings; // one part's strings, line by line
    int timeBase;
    const char* notes;
};

class MmlPartReaderTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MmlPartReaderTest, ReadsNotesWithTiesJoined)
{
    MmlPartReader reader;
    reader.SetTimeBase(GetParam().timeBase);
    for (const char* mml : GetParam().strings)
        ASSERT_EQ(MmlPartReader::kReadOk, reader.Read(mml, std::string(mml).size())) << mml;
    EXPECT_EQ(GetParam().notes, DescribeProgramNotes(reader.GetNotes()));
    const std::vector<ProgramNote>& notes = reader.GetNotes();
    EXPECT_EQ(notes.empty() ? 0 : notes.back().start + notes.back().length, reader.GetPosition());
}

INSTANTIATE_TEST_SUITE_P(Mml, MmlPartReaderTest, ::testing::Values(
    ReadCase{ { "o4l4cde2r8>c8" }, 48, "60@0+48 62@48+48 64@96+96 r@192+24 72@216+24" },
    ReadCase{ { "c&c8&c16" }, 48, "60@0+84" },
    ReadCase{ { "c&d" }, 48, "60@0+48 62@48+48" },
    ReadCase{ { "cc" }, 48, "60@0+48 60@48+48" },
    ReadCase{ { "r8r16.r" }, 48, "r@0+90" },
    ReadCase{ { "l8c.c4.l16c" }, 48, "60@0+36 60@36+72 60@108+12" },
    ReadCase{ { "c+d#e-C D" }, 48, "61@0+48 63@48+48 63@96+48 60@144+48 62@192+48" },
    ReadCase{ { "o0c<b o9g" }, 48, "12@0+48 11@48+48 127@96+48" },
    ReadCase{ { "c1c6c192" }, 480, "60@0+1920 60@1920+320 60@2240+10" },
    // The octave, default length and a tie carry over to the next line.
    ReadCase{ { "o5l8c&", "cd", ">e" }, 96, "72@0+96 74@96+48 88@144+48" },
    ReadCase{ { "c&", "r" }, 48, "60@0+48 r@48+48" },
    ReadCase{ { "", "" }, 48, "" }));

struct BadCase {
    const char* mml;
    int stop;
};

class MmlPartReaderBadTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(MmlPartReaderBadTest, RefusesAtTheCommand)
{
    MmlPartReader reader;
    const std::string mml = GetParam().mml;
    EXPECT_EQ(GetParam().stop, reader.Read(mml.data(), mml.size()));
    EXPECT_FALSE(reader.GetStatus().IsOk());
}

INSTANTIATE_TEST_SUITE_P(Mml, MmlPartReaderBadTest, ::testing::Values(
    BadCase{ "cdx", 3 },
    BadCase{ "c7", 1 },
    BadCase{ "c0", 1 },
    BadCase{ "c1920", 1 },
    BadCase{ "cc64.", 2 },
    BadCase{ "&c", 1 },
    BadCase{ "c&&", 3 },
    BadCase{ "co", 2 },
    BadCase{ "o10", 1 },
    BadCase{ "cl", 2 },
    BadCase{ "l.", 1 },
    BadCase{ "o9b", 3 },
    BadCase{ "o-1", 1 },
    BadCase{ "<<<<<<", 6 },
    BadCase{ "c..", 3 }));

// Only size bytes are read: a length or a sharp beyond them is not there.
TEST(MmlPartReaderBoundsTest, ReadsOnlyTheGivenBytes)
{
    const char text[] = { 'c', '+', '8', 'o' };
    MmlPartReader reader;
    EXPECT_EQ(MmlPartReader::kReadOk, reader.Read(text, 1));
    EXPECT_EQ(MmlPartReader::kReadOk, reader.Read(text, 0));
    EXPECT_EQ(4, reader.Read(text, 4)); // "o" at the very end
    EXPECT_EQ("60@0+48 61@48+24", DescribeProgramNotes(reader.GetNotes()));
}

TEST(MmlPartReaderBoundsTest, ResetForgetsEverything)
{
    MmlPartReader reader;
    reader.Read("o6l8c&", 6);
    reader.Reset();
    reader.Read("c", 1);
    EXPECT_EQ("60@0+48", DescribeProgramNotes(reader.GetNotes()));
    EXPECT_TRUE(reader.GetStatus().IsOk());
}

} // namespace
