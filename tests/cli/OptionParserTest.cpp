#include "cli/OptionParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The options the converter will have, to check the forms they can take.
void Declare(OptionParser& p)
{
    p.AddOption("events", 0, nullptr, "list events");
    p.AddOption("output", 'o', "FILE", "output file");
    p.AddOption("parts", 'p', "N", "number of parts");
    p.AddOption("all", 'a', nullptr, "all channels");
    p.AddOption("list", 'l', nullptr, "list channels");
}

struct ParseCase {
    const char* name;
    std::vector<const char*> args;
    bool ok;
    std::string summary;                              // options given, values, then arguments
};

std::string Summary(const OptionParser& p)
{
    std::string s;
    const char* names[] = {"events", "output", "parts", "all", "list"};
    for (const char* n : names) {
        if (p.Has(n))
            s += std::string(n) + "=" + p.GetValue(n) + " ";
    }
    s += "|";
    for (const std::string& a : p.GetArguments())
        s += " " + a;
    return s;
}

class OptionParserParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(OptionParserParseTest, ReadsCommandLine)
{
    const ParseCase& c = GetParam();
    std::vector<const char*> argv = {"midi2morvek"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    OptionParser p;
    Declare(p);
    ASSERT_EQ(c.ok, p.Parse(static_cast<int>(argv.size()), argv.data())) << p.GetError();
    EXPECT_EQ(c.summary, c.ok ? Summary(p) : p.GetError());
}

INSTANTIATE_TEST_SUITE_P(Forms, OptionParserParseTest, ::testing::Values(
    ParseCase{"Nothing", {}, true, "|"},
    ParseCase{"FlagAndFile", {"--events", "song.mid"}, true, "events= | song.mid"},
    ParseCase{"FileFirst", {"song.mid", "--events"}, true, "events= | song.mid"},
    ParseCase{"LongValueSeparate", {"--output", "out.txt", "a.mid"}, true, "output=out.txt | a.mid"},
    ParseCase{"LongValueJoined", {"--output=out.txt"}, true, "output=out.txt |"},
    ParseCase{"LongEmptyValue", {"--output="}, true, "output= |"},
    ParseCase{"ShortValueSeparate", {"-p", "3"}, true, "parts=3 |"},
    ParseCase{"ShortValueJoined", {"-p3"}, true, "parts=3 |"},
    ParseCase{"BundledFlagsThenValue", {"-alo", "x.txt"}, true, "output=x.txt all= list= |"},
    ParseCase{"LastValueWins", {"-p", "3", "--parts=5"}, true, "parts=5 |"},
    ParseCase{"DashIsArgument", {"-"}, true, "| -"},
    ParseCase{"DoubleDashEndsOptions", {"--", "--events", "-p"}, true, "| --events -p"},
    ParseCase{"ValueMayStartWithDash", {"-o", "-x.txt"}, true, "output=-x.txt |"},
    ParseCase{"UnknownLong", {"--bogus"}, false, "unknown option '--bogus'"},
    ParseCase{"UnknownShort", {"-z"}, false, "unknown option '-z'"},
    ParseCase{"UnknownInBundle", {"-az"}, false, "unknown option '-z'"},
    ParseCase{"MissingLongValue", {"--output"}, false, "option '--output' needs a value (FILE)"},
    ParseCase{"MissingShortValue", {"-p"}, false, "option '-p' needs a value (N)"},
    ParseCase{"FlagWithValue", {"--events=yes"}, false, "option '--events' takes no value"}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(OptionParserTest, NamesAreDeclaredOnce)
{
    OptionParser p;
    EXPECT_TRUE(p.AddOption("output", 'o', "FILE", ""));
    EXPECT_FALSE(p.AddOption("output", 'x', nullptr, ""));
    EXPECT_FALSE(p.AddOption("other", 'o', nullptr, ""));
    EXPECT_FALSE(p.AddOption("", 'y', nullptr, ""));
}

TEST(OptionParserTest, ParsingAgainStartsAfresh)
{
    OptionParser p;
    Declare(p);
    const char* first[] = {"m", "--events", "-p", "2", "a.mid"};
    ASSERT_TRUE(p.Parse(5, first));
    const char* second[] = {"m", "b.mid"};
    ASSERT_TRUE(p.Parse(2, second));
    EXPECT_EQ("| b.mid", Summary(p));
    EXPECT_EQ("", p.GetValue("parts"));
    EXPECT_FALSE(p.Has("unknown"));
}

TEST(OptionParserTest, HelpListsEveryOption)
{
    OptionParser p;
    Declare(p);
    EXPECT_EQ("      --events            list events\n"
              "  -o, --output FILE       output file\n"
              "  -p, --parts N           number of parts\n"
              "  -a, --all               all channels\n"
              "  -l, --list              list channels\n",
              p.FormatOptions());
}

TEST(OptionParserTest, LongHelpWrapsUnderItself)
{
    OptionParser p;
    p.AddOption("assign", 'a', "LIST",
                "list ordinals for parts 0, 1, 2, ... separated by commas; \"-\" leaves a part "
                "unassigned; parts after the list are unassigned");
    EXPECT_EQ("  -a, --assign LIST       list ordinals for parts 0, 1, 2, ... separated by\n"
              "                          commas; \"-\" leaves a part unassigned; parts after the\n"
              "                          list are unassigned\n",
              p.FormatOptions());
}

}  // namespace
