// The read-back check joins a list's tied pieces the way the program's
// reader joins ties, and names the first difference of a part.
#include "engine/ReadBackCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "score/NoteList.h"
#include "score/NoteRecord.h"

namespace {

const int kRest = 128;

struct CheckCase {
    const char* name;
    std::vector<ProgramNote> program; // part 0 as read back
    long long programEnd;
    const char* fault;
};

class ReadBackCheckTest : public ::testing::TestWithParam<CheckCase> {};

// c (10 ticks, tied over a segment end to 5 more), a rest of 5, then d and
// d again tied: a tie joins only pieces of one key.
TEST_P(ReadBackCheckTest, ComparesJoinedNotesAndEnds)
{
    NoteList list;
    list.Append(NoteRecord(60, 10, 100, kTieToNext));
    list.Append(NoteRecord(kSegmentEnd, 0));
    list.Append(NoteRecord(60, 5));
    list.Append(NoteRecord(kRestNote, 5, 0, kTieToNext));
    list.Append(NoteRecord(62, 10, 100, kTieToNext));
    list.Append(NoteRecord(64, 10));
    ReadBackCheck check({ &list, nullptr });
    for (const ProgramNote& note : GetParam().program)
        check.TakeNote(0, note);
    check.TakeNote(5, ProgramNote{ 60, 0, 1 }); // no such part: passed over
    EXPECT_EQ(GetParam().fault, check.Finish(0, GetParam().programEnd, true));
    EXPECT_EQ("", check.Finish(1, 0, true));
    EXPECT_EQ("part 1: its music lasts 5 ticks in the program and 0 in its list",
              check.Finish(1, 5, true));
}

INSTANTIATE_TEST_SUITE_P(Report, ReadBackCheckTest, ::testing::Values(
    CheckCase{ "same", { { 60, 0, 15 }, { kRest, 15, 5 }, { 62, 20, 10 }, { 64, 30, 10 } }, 40, "" },
    CheckCase{ "longer", { { 60, 0, 15 }, { 62, 20, 10 }, { 64, 30, 10 }, { 65, 40, 10 } }, 50,
               "part 0: note 4 is key 65 at tick 40 for 10 ticks in the program, and not in its list" },
    CheckCase{ "shorter", { { 60, 0, 15 } }, 15,
               "part 0: the program has 1 notes where its list has 3" },
    CheckCase{ "unjoined", { { 60, 0, 10 }, { 60, 10, 5 } }, 40,
               "part 0: note 1 is key 60 at tick 0 for 10 ticks in the program, key 60 at tick 0 "
               "for 15 ticks in its list" },
    CheckCase{ "late end", { { 60, 0, 15 }, { 62, 20, 10 }, { 64, 30, 10 } }, 48,
               "part 0: its music lasts 48 ticks in the program and 40 in its list" }),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            c = c == ' ' ? '_' : c;
        return name;
    });

// Long parts are compared in batches: the first difference is named with its
// note's number wherever it falls, and the other parts are not held up.
TEST(ReadBackCheckLongTest, NamesTheFirstDifferenceOfEveryPartInAnyBatch)
{
    const int count = 1000;
    NoteList lists[3];
    for (NoteList& list : lists) {
        for (int i = 0; i < count; ++i)
            list.Append(NoteRecord(60 + i % 12, 10));
    }
    ReadBackCheck check({ &lists[0], &lists[1], &lists[2] });
    const int wrong[3] = { -1, 255, 700 }; // part 0 is right
    for (int i = 0; i < count; ++i) {
        for (int p = 0; p < 3; ++p)
            check.TakeNote(p, ProgramNote{ 60 + i % 12 + (i == wrong[p] ? 1 : 0), 10LL * i, 10 });
    }
    EXPECT_EQ("", check.Finish(0, 10LL * count, true));
    for (int p = 1; p < 3; ++p) {
        const int i = wrong[p];
        EXPECT_EQ("part " + std::to_string(p) + ": note " + std::to_string(i + 1) + " is key " +
                      std::to_string(61 + i % 12) + " at tick " + std::to_string(10 * i) +
                      " for 10 ticks in the program, key " + std::to_string(60 + i % 12) +
                      " at tick " + std::to_string(10 * i) + " for 10 ticks in its list",
                  check.Finish(p, 10LL * count, true));
    }
}

TEST(ReadBackCheckFiguresTest, CountsNotesAndOctavesOfEveryNoteHandedOver)
{
    ReadBackCheck check({ nullptr });
    for (int key : { 12, 60, 127, kRest })
        check.TakeNote(0, ProgramNote{ key, 0, 1 });
    const ReadBackCheck::Figures f = check.GetFigures(0);
    EXPECT_EQ(3, f.notes);
    EXPECT_EQ(0, f.lowestOctave);
    EXPECT_EQ(9, f.highestOctave);
    EXPECT_EQ(2, f.outside);
}

} // namespace
