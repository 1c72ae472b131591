#include "settings/NoteValueTable.h"

#include "settings/PlayKindTable.h"
#include "text/Texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ValueRow {
    int ticks;
    const char* lengthText;
    int undotted;
    int base;
};

// The whole table as the program's users know it.
const ValueRow kRows[NoteValueTable::kValueCount] = {
    { 192, "1", -1, 0 },  { 144, "2.", 2, 2 },   { 96, "2", -1, 2 },
    { 72, "4.", 4, 4 },   { 48, "4", -1, 4 },    { 36, "8.", 7, 7 },
    { 32, "6", -1, 6 },   { 24, "8", -1, 7 },    { 18, "16.", 10, 10 },
    { 16, "12", -1, 9 },  { 12, "16", -1, 10 },  { 9, "32.", 13, 13 },
    { 8, "24", -1, 12 },  { 6, "32", -1, 13 },   { 4, "48", -1, 14 },
    { 3, "64", -1, 15 },  { 2, "96", -1, 16 },   { 1, "192", -1, 17 },
};

TEST(NoteValueTableTest, EveryRow)
{
    NoteValueTable table;
    ASSERT_EQ(18, table.GetCount());
    for (int i = 0; i < NoteValueTable::kValueCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kRows[i].ticks, table.GetTicks(i));
        EXPECT_STREQ(kRows[i].lengthText, table.GetLengthText(i));
        EXPECT_EQ(kRows[i].undotted, table.GetUndottedValue(i));
        EXPECT_EQ(kRows[i].base, table.GetBaseValue(i));
        EXPECT_EQ(1100 + i, table.GetNameId(i));
        EXPECT_NE(nullptr, GetString(table.GetNameId(i)));
        EXPECT_EQ(i, table.FindTicks(kRows[i].ticks));
    }
}

TEST(NoteValueTableTest, TicksStrictlyDecrease)
{
    NoteValueTable table;
    for (int i = 1; i < table.GetCount(); ++i)
        EXPECT_LT(table.GetTicks(i), table.GetTicks(i - 1)) << i;
}

TEST(NoteValueTableTest, DottedValueIsHalfAgainItsUndottedValue)
{
    NoteValueTable table;
    for (int i = 0; i < table.GetCount(); ++i) {
        int undotted = table.GetUndottedValue(i);
        if (undotted == NoteValueTable::kNoValue)
            continue;
        EXPECT_EQ(table.GetTicks(undotted) * 3 / 2, table.GetTicks(i)) << i;
        EXPECT_EQ(std::string(table.GetLengthText(undotted)) + ".", table.GetLengthText(i));
    }
}

TEST(NoteValueTableTest, IndexesOutsideTheTable)
{
    NoteValueTable table;
    for (int index : { -1, 18, 1000 }) {
        EXPECT_EQ(0, table.GetTicks(index));
        EXPECT_EQ(0, table.GetTicksAt(index, 480));
        EXPECT_STREQ("", table.GetLengthText(index));
        EXPECT_EQ(-1, table.GetUndottedValue(index));
        EXPECT_EQ(-1, table.GetBaseValue(index));
        EXPECT_EQ(0, table.GetNameId(index));
    }
    EXPECT_EQ(-1, table.FindTicks(5));
}

TEST(NoteValueTableTest, TicksScaleWithTimeBase)
{
    NoteValueTable table;
    EXPECT_EQ(192, table.GetTicksAt(0, 48));
    EXPECT_EQ(96, table.GetTicksAt(4, 96));
    EXPECT_EQ(120, table.GetTicksAt(10, 480)); // a sixteenth at 480
    EXPECT_EQ(60, table.GetTicksAt(13, 480));
    EXPECT_EQ(5, table.GetTicksAt(17, 240));
}

TEST(PlayKindTableTest, Keywords)
{
    PlayKindTable kinds;
    ASSERT_EQ(3, kinds.GetCount());
    EXPECT_STREQ("PLAY", kinds.GetKeyword(0));
    EXPECT_STREQ("PLAY HG", kinds.GetKeyword(1));
    EXPECT_STREQ("PLAY@", kinds.GetKeyword(2));
    EXPECT_EQ(1121, kinds.GetNameId(1));
    EXPECT_EQ(nullptr, kinds.GetKeyword(3));
    EXPECT_EQ(nullptr, kinds.GetKeyword(-1));
}

} // namespace
