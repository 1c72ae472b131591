#include "score/NoteList.h"

#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <ostream>

namespace {

TEST(NoteRecordTest, StartsAsAnEmptyUndecomposedRest)
{
    NoteRecord record;
    EXPECT_EQ(kRestNote, record.GetNote());
    EXPECT_EQ(0, record.GetLength());
    EXPECT_EQ(0, record.GetVelocity());
    EXPECT_EQ(0, record.GetTie());
    EXPECT_EQ(-1, record.GetValueIndex());
    EXPECT_TRUE(record.IsRest());
    EXPECT_FALSE(record.IsNote());
}

TEST(NoteRecordTest, SettersReturnTheReplacedValue)
{
    NoteRecord record(60, 48, 100);
    EXPECT_EQ(60, record.SetNote(kSegmentEnd));
    EXPECT_TRUE(record.IsSegmentEnd());
    EXPECT_EQ(48, record.SetLength(12));
    EXPECT_EQ(100, record.SetVelocity(1));
    EXPECT_EQ(0, record.SetTie(kTieToNext));
    EXPECT_TRUE(record.IsTied());
    EXPECT_EQ(-1, record.SetValueIndex(4));
    EXPECT_EQ(4, record.GetValueIndex());
}

TEST(NoteListTest, IdentityAndSetters)
{
    NoteList list;
    NoteListIdentity identity = { 3, 9, 5, 2 };
    EXPECT_EQ(0, list.SetIdentity(identity));
    NoteListIdentity read = { -1, -1, -1, -1 };
    EXPECT_EQ(0, list.GetIdentity(read));
    EXPECT_EQ(3, read.track);
    EXPECT_EQ(9, read.channel);
    EXPECT_EQ(5, read.ordinal);
    EXPECT_EQ(2, read.voice);
    EXPECT_EQ(2, list.SetVoice(4));
    EXPECT_EQ(4, list.GetVoice());
    EXPECT_EQ(0, list.SetDroppedNoteCount(7));
    EXPECT_EQ(7, list.GetDroppedNoteCount());
    EXPECT_EQ(3, list.SetTrackIndex(1));
    EXPECT_EQ(9, list.SetChannel(0));
    EXPECT_EQ(5, list.SetOrdinal(2));
    EXPECT_EQ(1, list.GetTrackIndex());
    EXPECT_EQ(0, list.GetChannel());
    EXPECT_EQ(2, list.GetOrdinal());
}

TEST(NoteListTest, PositionsSurviveInsertAndErase)
{
    NoteList list;
    NoteList::Position a = list.Append(NoteRecord(60, 10));
    NoteList::Position c = list.Append(NoteRecord(64, 30));
    NoteList::Position b = list.InsertBefore(c, NoteRecord(62, 20));
    NoteList::Position first = list.InsertBefore(list.Begin(), NoteRecord(kRestNote, 5));
    EXPECT_EQ("r:5 60:10 62:20 64:30", DescribeNoteList(list));
    EXPECT_EQ(c, list.Erase(b));
    EXPECT_EQ(60, a->GetNote());
    EXPECT_EQ(64, c->GetNote());
    EXPECT_EQ(a, std::next(first));
    EXPECT_EQ(list.End(), list.Erase(c));
    EXPECT_EQ("r:5 60:10", DescribeNoteList(list));
    EXPECT_EQ(2, list.GetRecordCount());
    EXPECT_EQ(0, list.Clear());
    EXPECT_EQ(0, list.GetRecordCount());
    EXPECT_EQ(list.Begin(), list.End());
}

TEST(NoteListTest, TotalTicksCountsMarkersAsNothing)
{
    NoteList list;
    EXPECT_EQ(0, list.GetTotalTicks());
    ASSERT_EQ(0, FillNoteList(list, "r:48 60:48& | 60:96 |"));
    EXPECT_EQ(192, list.GetTotalTicks());
    EXPECT_EQ(5, list.GetRecordCount());
}

TEST(NoteListTest, TotalTicksStopsAtTheLargestInt)
{
    NoteList list;
    list.Append(NoteRecord(kRestNote, INT_MAX));
    list.Append(NoteRecord(60, INT_MAX));
    EXPECT_EQ(INT_MAX, list.GetTotalTicks());
}

TEST(NoteListTest, CountValueIndex)
{
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, "r:48/4 60:48/4 | 60:24/7 62:24/7& |"));
    EXPECT_EQ(2, list.CountValueIndex(4));
    EXPECT_EQ(2, list.CountValueIndex(7));
    EXPECT_EQ(2, list.CountValueIndex(-1)); // the markers
    EXPECT_EQ(0, list.CountValueIndex(0));
}

struct FrequentCase {
    const char* list;
    int base;
};

std::ostream& operator<<(std::ostream& os, const FrequentCase& c)
{
    return os << "\"" << c.list << "\"";
}

class MostFrequentBaseValueTest : public ::testing::TestWithParam<FrequentCase> {};

TEST_P(MostFrequentBaseValueTest, PicksTheCommonestBaseValue)
{
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, GetParam().list));
    EXPECT_EQ(GetParam().base, list.GetMostFrequentBaseValue());
}

INSTANTIATE_TEST_SUITE_P(Lists, MostFrequentBaseValueTest, ::testing::Values(
    FrequentCase{ "", 0 },
    FrequentCase{ "| |", 0 },
    FrequentCase{ "60:48/4 62:48/4 64:96/2 r:24/7 72:24/7 |", 4 }, // tie between 4 and 7: the longer
    FrequentCase{ "60:24/7 62:24/7 64:48/4 |", 7 },
    // dotted quarters count as quarters and win the tie against eighths
    FrequentCase{ "60:72/3 60:24/7 60:72/3 60:24/7 60:72/3 60:24/7", 4 },
    // pieces of a tied note and rests count one by one
    FrequentCase{ "60:192/0& 60:192/0& 60:16/9 r:16/9 r:16/9", 9 },
    FrequentCase{ "60:1/17", 17 },
    FrequentCase{ "60:9/11 60:6/13 r:48/4", 13 }));

} // namespace
