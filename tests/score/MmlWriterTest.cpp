#include "score/MmlWriter.h"

#include "settings/NoteValueTable.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

const int kFirstLine = MmlWriter::kWriteOctave | MmlWriter::kWriteDefaultLength | 8; // 14

// Runs the conversion passes on a list the way a conversion does and writes
// every segment as the PLAY lines would carry it.
std::vector<std::string> Convert(const char* extracted, int timeBase, int resolution, int segmentTicks)
{
    NoteValueTable table;
    NoteList list;
    EXPECT_EQ(0, FillNoteList(list, extracted));
    list.Quantize(table.GetTicksAt(resolution, timeBase));
    int segments = list.SplitIntoSegments(segmentTicks);
    list.Decompose(timeBase);
    MmlWriter writer;
    writer.SetOctave(4);
    writer.SetDefaultValue(table.GetBaseValue(list.GetMostFrequentBaseValue()));
    writer.SetPosition(list);
    std::vector<std::string> lines;
    for (int line = 0; line < segments; ++line) {
        std::string text;
        writer.WriteSegmentFromList(list, text, line == 0 ? kFirstLine : 0);
        lines.push_back(text);
    }
    return lines;
}

// key 60 for a quarter, 62 for a quarter, 64 for a half, an eighth rest,
// key 72 for an eighth, at time base 48
const char kMelody[] = "r:0 60:48 r:0 62:48 r:0 64:96 r:24 72:24";

TEST(MmlWriterConvertTest, OneSegment)
{
    EXPECT_EQ(std::vector<std::string>({ "o4l4cde2r8>c8" }), Convert(kMelody, 48, 10, 1920));
}

TEST(MmlWriterConvertTest, OctaveAndDefaultLengthStayInForceOnLaterLines)
{
    EXPECT_EQ(std::vector<std::string>({ "o4l4cd", "e2", "r8>c8" }), Convert(kMelody, 48, 10, 96));
}

TEST(MmlWriterConvertTest, NoteTiedAcrossTheSegmentBoundary)
{
    EXPECT_EQ(std::vector<std::string>({ "o4l4r32.r192c&c32&", "c&c24" }),
              Convert("r:10 60:110", 48, 17, 64));
}

TEST(MmlWriterConvertTest, SameMusicAtTimeBase480IsCutAfterFourQuarters)
{
    // The split step count is not scaled: 1920 ticks are one bar at 480.
    EXPECT_EQ(std::vector<std::string>({ "o4l4cde2", "r8>c8" }),
              Convert("r:0 60:480 r:0 62:480 r:0 64:960 r:240 72:240", 480, 10, 1920));
}

TEST(MmlWriterConvertTest, EmptyListWritesOnlyTheCommands)
{
    EXPECT_EQ(std::vector<std::string>({ "o4l1" }), Convert("", 48, 13, 192));
}

struct RecordCase {
    int defaultValue;
    const char* records;
    const char* mml;
};

std::ostream& operator<<(std::ostream& os, const RecordCase& c)
{
    return os << "default " << c.defaultValue << " \"" << c.records << "\"";
}

class MmlWriterRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(MmlWriterRecordTest, WritesTheSegment)
{
    const RecordCase& c = GetParam();
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, c.records));
    MmlWriter writer;
    writer.SetDefaultValue(c.defaultValue);
    writer.SetPosition(list);
    std::string text;
    EXPECT_EQ(0, writer.WriteSegmentFromList(list, text, 0));
    EXPECT_EQ(c.mml, text);
}

INSTANTIATE_TEST_SUITE_P(Records, MmlWriterRecordTest, ::testing::Values(
    RecordCase{ 4, "60:72/3", "c." },
    RecordCase{ 4, "60:36/5", "c8." },
    RecordCase{ 7, "60:36/5", "c." },
    RecordCase{ 4, "60:96/2& 60:24/7", "c2&c8" },
    RecordCase{ 2, "r:96/2 r:24/7", "rr8" },
    RecordCase{ 4, "72:48/4 48:48/4", ">c<<c" },
    RecordCase{ 4, "0:48/4 127:48/4", "<<<<<c>>>>>>>>>>g" },
    RecordCase{ 4, "61:48/4 63:48/4 66:48/4 68:48/4 70:48/4", "c+d+f+g+a+" },
    RecordCase{ 4, "60:48/4 62:48/4 64:48/4 65:48/4 67:48/4 69:48/4 71:48/4", "cdefgab" },
    // a rest keeps the octave in force
    RecordCase{ 4, "72:48/4 r:48/4 72:48/4", ">crc" },
    RecordCase{ 17, "60:192/0 60:1/17 60:9/11 60:6/13", "c1cc32.c32" },
    RecordCase{ 13, "60:9/11 r:9/11", "c.r." },
    // the segment ends at its marker
    RecordCase{ 4, "60:48/4& | 60:48/4", "c&" }));

TEST(MmlWriterTest, StartsWithNoListOctave4AndEighths)
{
    MmlWriter writer;
    EXPECT_EQ(-1, writer.GetListOrdinal());
    EXPECT_EQ(4, writer.GetOctave());
    EXPECT_EQ(7, writer.GetDefaultValue());
    EXPECT_EQ(-1, writer.SetListOrdinal(3));
    EXPECT_EQ(4, writer.SetOctave(5));
    EXPECT_EQ(7, writer.SetDefaultValue(4));
    EXPECT_EQ(3, writer.GetListOrdinal());
}

TEST(MmlWriterTest, NamesAndLengthTexts)
{
    MmlWriter writer;
    const char* names[] = { "c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b", "r" };
    std::string text;
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(static_cast<int>(std::string(names[i]).size()), writer.GetNoteName(text, i));
        EXPECT_EQ(names[i], text);
    }
    for (int index : { -1, 13 }) {
        text = "x";
        EXPECT_EQ(0, writer.GetNoteName(text, index));
        EXPECT_EQ("", text);
    }
    EXPECT_EQ(2, writer.GetLengthText(text, 1));
    EXPECT_EQ("2.", text);
    EXPECT_EQ(3, writer.GetLengthText(text, 17));
    EXPECT_EQ("192", text);
    EXPECT_EQ(0, writer.GetLengthText(text, 18));
    EXPECT_EQ("", text);
}

TEST(MmlWriterTest, WriteRecordMovesTheOctave)
{
    MmlWriter writer;
    writer.SetDefaultValue(4);
    std::string text;
    writer.WriteRecord(NoteRecord(84, 48, 100, 0, 4), text);
    EXPECT_EQ(">>c", text);
    EXPECT_EQ(6, writer.GetOctave());
    writer.WriteRecord(NoteRecord(kSegmentEnd, 0), text);
    EXPECT_EQ("", text);
    writer.WriteRecord(NoteRecord(kRestNote, 24, 0, kTieToNext, 7), text);
    EXPECT_EQ("r8&", text) << "a tie flag on a record is written as it stands";
    EXPECT_EQ(6, writer.GetOctave());
}

TEST(MmlWriterTest, LaterSegmentCarriesNoCommandsAndContinuesTheOctave)
{
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, "72:48/4 | 60:48/4 |"));
    MmlWriter writer;
    writer.SetDefaultValue(4);
    writer.SetPosition(list);
    std::string text;
    writer.WriteSegmentFromList(list, text, kFirstLine);
    EXPECT_EQ("o4l4>c", text);
    writer.WriteSegmentFromList(list, text, 0);
    EXPECT_EQ("<c", text);
    writer.WriteSegmentFromList(list, text, 0);
    EXPECT_EQ("", text) << "a part with fewer segments gives empty text";
}

TEST(MmlWriterTest, StartAgainFlagRewinds)
{
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, "60:48/4 | 62:48/4 |"));
    MmlWriter writer;
    writer.SetDefaultValue(4);
    writer.SetPosition(list);
    std::string text;
    writer.WriteSegmentFromList(list, text, 0);
    writer.WriteSegmentFromList(list, text, MmlWriter::kWriteFromStart);
    EXPECT_EQ("c", text);
    writer.WriteSegmentFromList(list, text, MmlWriter::kWriteOctave);
    EXPECT_EQ("o4d", text);
}

TEST(MmlWriterTest, UnattachedListIsWrittenFromItsStart)
{
    NoteList first;
    NoteList second;
    ASSERT_EQ(0, FillNoteList(first, "60:48/4 | 62:48/4 |"));
    ASSERT_EQ(0, FillNoteList(second, "64:48/4 |"));
    MmlWriter writer;
    writer.SetDefaultValue(4);
    std::string text;
    writer.WriteSegmentFromList(first, text, 0);
    EXPECT_EQ("c", text);
    writer.WriteSegmentFromList(second, text, 0);
    EXPECT_EQ("e", text);
}

TEST(MmlWriterTest, SetAttachmentByOrdinal)
{
    NoteListSet set;
    set.Allocate(2);
    ASSERT_EQ(0, FillNoteList(*set.GetList(1), "r:24/7 60:48/4 | 62:48/4 |"));
    MmlWriter writer;
    writer.SetDefaultValue(4);
    EXPECT_EQ(-1, writer.Attach(set, 2));
    EXPECT_EQ(0, writer.Attach(set, 1));
    std::string text = "old";
    EXPECT_EQ(-1, writer.WriteSegment(set, 5, text, 0));
    EXPECT_EQ("", text);
    EXPECT_EQ(0, writer.WriteSegment(set, 1, text, 6));
    EXPECT_EQ("o4l4r8c", text);
    EXPECT_EQ(0, writer.WriteSegment(set, 1, text, 0));
    EXPECT_EQ("d", text);
}

TEST(MmlWriterTest, TwoWritersOnOneListKeepTheirOwnPlace)
{
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, "60:48/4 | 62:48/4 |"));
    MmlWriter a;
    MmlWriter b;
    a.SetDefaultValue(4);
    b.SetDefaultValue(4);
    a.SetPosition(list);
    b.SetPosition(list);
    std::string text;
    a.WriteSegmentFromList(list, text, 0);
    a.WriteSegmentFromList(list, text, 0);
    EXPECT_EQ("d", text);
    b.WriteSegmentFromList(list, text, 0);
    EXPECT_EQ("c", text);
}

} // namespace
