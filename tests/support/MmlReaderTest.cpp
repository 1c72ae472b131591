// The reader is the yardstick of the MML round-trip tests, so it gets its
// own checks against hand-made MML.
#include "tests/support/MmlReader.h"

#include <gtest/gtest.h>

namespace {

std::string Describe(const std::vector<MmlNote>& notes)
{
    std::string text;
    for (const MmlNote& note : notes) {
        if (!text.empty())
            text += ' ';
        text += note.note == MmlReader::kRest ? std::string("r") : std::to_string(note.note);
        text += ':' + std::to_string(note.ticks);
        if (note.tied)
            text += '&';
    }
    return text;
}

struct ReadCase {
    const char* mml;
    const char* notes;
};

class MmlReaderTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MmlReaderTest, ReadsNotes)
{
    MmlReader reader;
    ASSERT_EQ(0, reader.Read(GetParam().mml)) << reader.GetError();
    EXPECT_EQ(GetParam().notes, Describe(reader.GetNotes()));
}

INSTANTIATE_TEST_SUITE_P(Mml, MmlReaderTest, ::testing::Values(
    ReadCase{ "o4l4cde2r8>c8", "60:48 62:48 64:96 r:24 72:24" },
    ReadCase{ "o4l4r32.r192c&c32&", "r:9 r:1 60:48& 60:6&" },
    ReadCase{ "l4c.c8.l8c.", "60:72 60:36 60:36" },
    ReadCase{ "o-1co9g", "0:48 127:48" },
    ReadCase{ "c+d+f+g+a+b", "61:48 63:48 66:48 68:48 70:48 71:48" },
    ReadCase{ "c1c2.c6c12c24c48c64c96c192", "60:192 60:144 60:32 60:16 60:8 60:4 60:3 60:2 60:1" },
    ReadCase{ "", "" }));

struct BadCase {
    const char* mml;
    int position;
};

class MmlReaderBadTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(MmlReaderBadTest, ReportsWhereItStopped)
{
    MmlReader reader;
    EXPECT_EQ(GetParam().position, reader.Read(GetParam().mml));
    EXPECT_NE("", reader.GetError());
}

INSTANTIATE_TEST_SUITE_P(Mml, MmlReaderBadTest, ::testing::Values(
    BadCase{ "cx", 2 },
    BadCase{ "c5", 1 },     // 192 / 5 is no length
    BadCase{ "&c", 1 },
    BadCase{ "c&&", 3 },
    BadCase{ "o", 1 },
    BadCase{ "l", 1 },
    BadCase{ "c192.", 1 },  // no dotted 192nd
    BadCase{ "o9g>c", 5 },  // above key 127
    BadCase{ "c+ d", 3 }));

TEST(MmlReaderStateTest, OctaveAndDefaultLengthCarryOverReads)
{
    MmlReader reader;
    ASSERT_EQ(0, reader.Read("o4l4cd"));
    ASSERT_EQ(0, reader.Read("e2"));
    ASSERT_EQ(0, reader.Read("r8>c8"));
    EXPECT_EQ("60:48 62:48 64:96 r:24 72:24", Describe(reader.GetNotes()));
    EXPECT_EQ(5, reader.GetOctave());
    EXPECT_EQ(48, reader.GetDefaultTicks());
    EXPECT_EQ(240, reader.GetTotalTicks());
}

TEST(MmlReaderStateTest, JoinsTiedPiecesOfTheSameKey)
{
    MmlReader reader;
    ASSERT_EQ(0, reader.Read("o4l4r32.r192c&c32&"));
    ASSERT_EQ(0, reader.Read("c&c24d&e"));
    EXPECT_EQ("r:9 r:1 60:110 62:48& 64:48", Describe(reader.GetJoinedNotes()));
    reader.Reset();
    EXPECT_TRUE(reader.GetNotes().empty());
    EXPECT_EQ(4, reader.GetOctave());
}

} // namespace
