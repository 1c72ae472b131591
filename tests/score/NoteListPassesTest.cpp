// The three conversion passes of a note list, on the worked cases users
// meet: quantization to the chosen grid, cutting into PLAY lines, and
// decomposition into note values.
#include "score/NoteList.h"

#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct QuantizeCase {
    int unit;
    const char* before;
    const char* after;
    int remainder;
};

std::ostream& operator<<(std::ostream& os, const QuantizeCase& c)
{
    return os << "unit " << c.unit << " \"" << c.before << "\"";
}

class QuantizeTest : public ::testing::TestWithParam<QuantizeCase> {};

TEST_P(QuantizeTest, BoundariesMoveToTheGrid)
{
    const QuantizeCase& c = GetParam();
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, c.before));
    EXPECT_EQ(c.remainder, list.Quantize(c.unit));
    EXPECT_EQ(c.after, DescribeNoteList(list));
}

INSTANTIATE_TEST_SUITE_P(Cases, QuantizeTest, ::testing::Values(
    // the rest's end at 5 rounds down to 0 and the rest goes
    QuantizeCase{ 12, "r:5 60:7", "60:12", 0 },
    // an exact half rounds up
    QuantizeCase{ 12, "r:6 60:18", "r:12 60:12", 0 },
    // the short note vanishes; the two rests stay apart
    QuantizeCase{ 48, "r:100 60:10 r:38 62:48", "r:96 r:48 62:48", 4 },
    // a note from 20 to 30: start rounds down, end up
    QuantizeCase{ 48, "r:20 60:10", "60:48", -18 },
    // a note from 40 to 50: both ends round to 48
    QuantizeCase{ 48, "r:40 60:10", "r:48", 2 },
    // the zero-length rest before a note at tick 0 goes
    QuantizeCase{ 12, "r:0 60:24 r:12 62:12", "60:24 r:12 62:12", 0 },
    // notes of exactly half a unit between rests round away completely
    QuantizeCase{ 12, "r:6 60:6 r:6 62:6", "r:12 r:12", 0 },
    // on the grid already: nothing moves
    QuantizeCase{ 6, "r:12 60:6 r:0 62:18", "r:12 60:6 62:18", 0 },
    // markers are passed over untouched
    QuantizeCase{ 12, "r:5 | 60:7", "| 60:12", 0 },
    // a grid of one tick (a 192nd at time base 48) only drops empty records
    QuantizeCase{ 1, "r:0 60:7 r:0 62:3", "60:7 62:3", 0 },
    // a unit below one tick is taken as one tick instead of dividing by zero
    QuantizeCase{ 0, "r:0 60:7", "60:7", 0 },
    QuantizeCase{ -12, "r:0 60:7", "60:7", 0 },
    QuantizeCase{ 120, "", "", 0 }));

struct SplitCase {
    int segmentTicks;
    const char* before;
    const char* after;
    int segments;
};

std::ostream& operator<<(std::ostream& os, const SplitCase& c)
{
    return os << "S " << c.segmentTicks << " \"" << c.before << "\"";
}

class SplitIntoSegmentsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitIntoSegmentsTest, CutsEverySegmentTicks)
{
    const SplitCase& c = GetParam();
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, c.before));
    EXPECT_EQ(c.segments, list.SplitIntoSegments(c.segmentTicks));
    EXPECT_EQ(c.segments, list.GetSegmentCount());
    EXPECT_EQ(c.after, DescribeNoteList(list));
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitIntoSegmentsTest, ::testing::Values(
    SplitCase{ 96, "r:48 60:144", "r:48 60:48& | 60:96 |", 2 },
    SplitCase{ 96, "r:48 60:48", "r:48 60:48 |", 1 },
    SplitCase{ 96, "r:200 60:10", "r:96 | r:96 | r:8 60:10 |", 3 },
    SplitCase{ 96, "r:96 60:96", "r:96 | 60:96 |", 2 },
    // a note across several cuts is tied over each of them
    SplitCase{ 10, "60:25", "60:10& | 60:10& | 60:5 |", 3 },
    SplitCase{ 1, "r:1 60:2", "r:1 | 60:1& | 60:1 |", 3 },
    SplitCase{ 1920, "r:480 60:480 r:480 62:480", "r:480 60:480 r:480 62:480 |", 1 },
    // an empty list still gets one segment
    SplitCase{ 96, "", "|", 1 },
    // no segment length, no cutting
    SplitCase{ 0, "r:48 60:48", "r:48 60:48", 0 }));

struct DecomposeCase {
    int timeBase;
    const char* before;
    const char* after;
};

std::ostream& operator<<(std::ostream& os, const DecomposeCase& c)
{
    return os << "time base " << c.timeBase << " \"" << c.before << "\"";
}

class DecomposeTest : public ::testing::TestWithParam<DecomposeCase> {};

TEST_P(DecomposeTest, LargestValuesFirst)
{
    const DecomposeCase& c = GetParam();
    NoteList list;
    ASSERT_EQ(0, FillNoteList(list, c.before));
    EXPECT_EQ(0, list.Decompose(c.timeBase));
    EXPECT_EQ(c.after, DescribeNoteList(list));
}

INSTANTIATE_TEST_SUITE_P(Cases, DecomposeTest, ::testing::Values(
    DecomposeCase{ 48, "60:120", "60:96/2& 60:24/7" },
    DecomposeCase{ 48, "60:84", "60:72/3& 60:12/10" },
    DecomposeCase{ 48, "60:40", "60:36/5& 60:4/14" },
    DecomposeCase{ 48, "60:400", "60:192/0& 60:192/0& 60:16/9" },
    DecomposeCase{ 48, "60:7", "60:6/13& 60:1/17" },
    DecomposeCase{ 48, "60:48 r:192", "60:48/4 r:192/0" },
    DecomposeCase{ 480, "60:1200", "60:960/2& 60:240/7" },
    // 5 ticks short of a 192nd: the last piece grows to one
    DecomposeCase{ 480, "60:25", "60:20/16& 60:10/17" },
    DecomposeCase{ 96, "60:3", "60:2/17& 60:2/17" },
    DecomposeCase{ 240, "r:7", "r:5/17 r:5/17" },
    // the last piece keeps the tie into the next segment
    DecomposeCase{ 48, "60:84& | 60:12 |", "60:72/3& 60:12/10& | 60:12/10 |" },
    // rest pieces are never tied
    DecomposeCase{ 48, "r:84", "r:72/3 r:12/10" },
    DecomposeCase{ 48, "r:48 | 60:48 |", "r:48/4 | 60:48/4 |" },
    // a time base below 48 is taken as 48 rather than looping forever
    DecomposeCase{ 24, "60:7", "60:6/13& 60:1/17" },
    DecomposeCase{ 48, "", "" }));

TEST(DecomposeTest, PiecesKeepTheVelocity)
{
    NoteList list;
    list.Append(NoteRecord(60, 120, 77));
    list.Decompose(48);
    ASSERT_EQ(2, list.GetRecordCount());
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
        EXPECT_EQ(77, p->GetVelocity());
}

TEST(SplitIntoSegmentsTest, PiecesKeepTheVelocity)
{
    NoteList list;
    list.Append(NoteRecord(60, 200, 33));
    list.SplitIntoSegments(96);
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
        EXPECT_EQ(p->IsSegmentEnd() ? 0 : 33, p->GetVelocity());
}

} // namespace
