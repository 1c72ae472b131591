#include "score/NoteListSet.h"

#include "score/NoteList.h"
#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

namespace {

TEST(NoteListSetTest, StartsEmpty)
{
    NoteListSet set;
    EXPECT_EQ(0, set.GetCount());
    EXPECT_EQ(0, set.GetTimeBase());
    EXPECT_EQ(nullptr, set.GetList(0));
}

TEST(NoteListSetTest, AllocateMakesEmptyListsAndReplacesOldOnes)
{
    NoteListSet set;
    EXPECT_EQ(3, set.Allocate(3));
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(nullptr, set.GetList(i));
        EXPECT_EQ(0, set.GetList(i)->GetRecordCount());
    }
    EXPECT_EQ(nullptr, set.GetList(3));
    EXPECT_EQ(nullptr, set.GetList(-1));
    FillNoteList(*set.GetList(0), "r:48 60:48");
    EXPECT_EQ(1, set.Allocate(1));
    EXPECT_EQ(0, set.GetList(0)->GetRecordCount());
    EXPECT_EQ(nullptr, set.GetList(1));
    EXPECT_EQ(0, set.Allocate(-4));
}

TEST(NoteListSetTest, SettersReturnTheReplacedValue)
{
    NoteListSet set;
    EXPECT_EQ(0, set.SetCount(2));
    EXPECT_EQ(2, set.SetCount(3));
    EXPECT_EQ(0, set.SetTimeBase(480));
    EXPECT_EQ(480, set.GetTimeBase());
}

TEST(NoteListSetTest, ForwardsToTheList)
{
    NoteListSet set;
    set.Allocate(2);
    FillNoteList(*set.GetList(1), "r:48/4 60:48/4 60:24/7");
    set.GetList(1)->SplitIntoSegments(1920);
    EXPECT_EQ(1, set.GetSegmentCount(1));
    EXPECT_EQ(120, set.GetTotalTicks(1));
    EXPECT_EQ(2, set.CountValueIndex(1, 4));
    EXPECT_EQ(4, set.GetMostFrequentBaseValue(1));
    EXPECT_EQ(0, set.GetTotalTicks(0));
    for (int missing : { -1, 2 }) {
        EXPECT_EQ(-1, set.GetSegmentCount(missing));
        EXPECT_EQ(-1, set.GetTotalTicks(missing));
        EXPECT_EQ(-1, set.CountValueIndex(missing, 4));
        EXPECT_EQ(-1, set.GetMostFrequentBaseValue(missing));
    }
}

TEST(NoteListSetTest, ProcessAllRunsThePassesOnTheFinestGrid)
{
    NoteListSet set;
    set.Allocate(2);
    FillNoteList(*set.GetList(0), "r:5 60:120");
    FillNoteList(*set.GetList(1), "r:0 62:7");
    EXPECT_EQ(0, set.ProcessAll(96, 96));
    // At time base 96 the grid is 2 ticks: the note from 5 to 125 moves to
    // 6..126 and is cut at 96.
    EXPECT_EQ("r:6/15 60:72/5& 60:18/11& | 60:24/10& 60:6/15 |", DescribeNoteList(*set.GetList(0)));
    EXPECT_EQ("62:8/14 |", DescribeNoteList(*set.GetList(1)));
}

// The records of a set's lists live in the set's pool and go with it in one
// piece; lists replaced by Allocate give theirs back first. (The sanitizers
// see any record lost or freed twice.)
TEST(NoteListSetTest, RecordsGoWithTheSetWhateverThePassesDid)
{
    for (int round = 0; round < 2; ++round) {
        NoteListSet set;
        set.Allocate(3);
        for (int i = 0; i < 3; ++i) {
            NoteList* list = set.GetList(i);
            for (int k = 0; k < 200; ++k) {
                list->Append(NoteRecord(kRestNote, k % 7));
                list->Append(NoteRecord(60 + i, 5 + k % 50, 100));
            }
        }
        set.ProcessAll(96, 40);
        if (round == 1) {
            set.Allocate(2);
            set.GetList(1)->Append(NoteRecord(62, 96, 90));
            EXPECT_EQ(1, set.GetList(1)->GetRecordCount());
        }
    }
}

} // namespace
