#include "text/TextTable.h"

#include "text/TextFormat.h"
#include "text/Texts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

namespace {

struct Line {
    int id;
    std::string name;
};

#define MORVEK_STRING(id, name, text) { id, #name },
const Line kJapanese[] = {
#include "resources/Strings.def"
};
const Line kEnglish[] = {
#include "resources/StringsEnglish.def"
};
#undef MORVEK_STRING

// Both tables hold every id, and a singular (name + "1") sits at the id
// after its plural, where FillCounted looks for it.
TEST(TextTableTest, BothTablesHoldEveryIdAndSingularsFollowTheirPlurals)
{
    std::map<std::string, int> names;
    for (const Line& line : kEnglish) {
        names[line.name] = line.id;
        EXPECT_NE(nullptr, GetString(line.id)) << line.name << " has no Japanese text";
    }
    for (const Line& line : kJapanese)
        EXPECT_NE(nullptr, GetEnglishString(line.id)) << line.name << " has no English text";
    for (const auto& entry : names) {
        const std::string& name = entry.first;
        // kStrValue11 is no singular of kStrValue1.
        if (name.back() != '1' || std::isdigit(static_cast<unsigned char>(name[name.size() - 2])) ||
            names.count(name.substr(0, name.size() - 1)) == 0)
            continue;
        EXPECT_EQ(names[name.substr(0, name.size() - 1)] + 1, entry.second) << name;
    }
}

TEST(TextTableTest, EnglishSingularOnlyForOne)
{
    const TextTable english;
    struct Case {
        int id;
        long long count;
        std::string expected;
    } cases[] = {
        { kStrReasonStringCount, 1, "1 string where the first PLAY line has 6" },
        { kStrReasonStringCount, 2, "2 strings where the first PLAY line has 6" },
        { kStrReasonStringCount, 0, "0 strings where the first PLAY line has 6" },
        { kStrCountLists, 1, "1 list" },
        { kStrCountLists, 11, "11 lists" },
        { kStrCountNotes, 1, "1 note" },
        { kStrCountNotes, -1, "-1 notes" },
        { kStrReportKept, 1, "kept 1 of 1 note (6%)" },
    };
    for (const Case& c : cases) {
        const std::string count = std::to_string(c.count);
        EXPECT_EQ(c.expected, english.FillCounted(c.id, c.count, { count, c.id == kStrReportKept ? count : "6", "6" }))
            << c.id << " " << c.count;
    }
}

TEST(TextTableTest, FillPutsArgumentsWhereThePatternSays)
{
    EXPECT_EQ("b a b", FillText("%2 %1 %2", { "a", "b" }));
    EXPECT_EQ("(50%) 100%", FillText("(%1%) %2%%", { "50", "100" }));
    EXPECT_EQ("%0 x  %", FillText("%0 %1 %3 %", { "x" }));
    // A Japanese sentence names the whole before the part.
    const std::string japanese = TextTable(TextTable::kJapanese).Fill(kStrReportKept, { "5", "19", "26.3" });
    EXPECT_LT(japanese.find("19"), japanese.find("5"));
}

} // namespace
