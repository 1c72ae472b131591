#include "cli/EventsCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "gen/SmfBuilder.h"
#include "tests/support/ToolRun.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<uint8_t> Bytes;

class EventsCommandTest : public FolderTest {
protected:
    ToolRun::Outcome Events(const Bytes& image)
    {
        return RunTool({"--events", Write("song.mid", image)});
    }
};

TEST_F(EventsCommandTest, ListsSmallFile)
{
    Bytes image = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0x60,
                   'M', 'T', 'r', 'k', 0, 0, 0, 0x0C,
                   0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    ToolRun::Outcome o = Events(image);
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("0\t0\t0\t90 3C 64\n"
              "0\t96\t96\t80 3C 40\n"
              "0\t96\t0\tFF 2F 00\n", o.out);
    EXPECT_EQ("", o.err);
}

TEST_F(EventsCommandTest, ListsRunningStatusSysExMetaAndEventsAfterEnd)
{
    SmfBuilder b(1, 480);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    b.Tempo(t0, 0, 500000);
    b.TrackName(t0, 0, "Hi");
    b.EndOfTrack(t0, 1920);
    b.SetRunningStatus(true);
    b.AddMessage(t1, 0, {0xF0, 0x03, 0x43, 0x12, 0xF7});
    b.NoteOn(t1, 0, 5, 60, 100);
    b.NoteOn(t1, 0x83 - 3, 5, 64, 100);               // running status
    b.NoteOn(t1, 480, 5, 60, 0);
    b.AddMessage(t1, 0, {0xC5, 0x10});
    b.AddMessage(t1, 10, {0xC5, 0x11});               // running status, two bytes
    b.EndOfTrack(t1);
    b.NoteOff(t1, 5, 5, 64);                          // after the end of the track
    ToolRun::Outcome o = Events(b.Build());
    EXPECT_EQ(0, o.code) << o.err;
    EXPECT_EQ("0\t0\t0\tFF 51 03 07 A1 20\n"
              "0\t0\t0\tFF 03 02 48 69\n"
              "0\t1920\t1920\tFF 2F 00\n"
              "1\t0\t0\tF0 03 43 12 F7\n"
              "1\t0\t0\t95 3C 64\n"
              "1\t128\t128\t95 40 64\n"
              "1\t608\t480\t95 3C 00\n"
              "1\t608\t0\tC5 10\n"
              "1\t618\t10\tC5 11\n"
              "1\t618\t0\tFF 2F 00\n"
              "1\t623\t5\t85 40 40\n", o.out);
}

TEST_F(EventsCommandTest, ListsHeaderOnlyFileAsNothing)
{
    ToolRun::Outcome o = Events(SmfBuilder(0, 96).Build());
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("", o.out);
}

TEST_F(EventsCommandTest, TruncatedLastEventKeepsEarlierEventsAndLaterTracks)
{
    SmfBuilder b(1, 96);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    b.NoteOn(t0, 0, 0, 60, 100);
    b.AddRaw(t0, 10, {0xE0, 0x00});
    b.NoteOn(t1, 7, 1, 62, 100);
    ToolRun::Outcome o = Events(b.Build());
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("0\t0\t0\t90 3C 64\n"
              "1\t7\t7\t91 3E 64\n", o.out);
}

// Malformed files: one line on stderr that names the file, exit code 1, no listing.
class MalformedFileTest : public EventsCommandTest,
                          public ::testing::WithParamInterface<Bytes> {};

TEST_P(MalformedFileTest, IsRefused)
{
    std::string path = Write("bad.mid", GetParam());
    ToolRun::Outcome o = RunTool({"--events", path});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("", o.out);
    EXPECT_EQ("midi2morvek: " + path + ": not a well-formed Standard MIDI File\n", o.err);
}

Bytes Valid()
{
    SmfBuilder b(0, 96);
    int t = b.AddTrack();
    b.NoteOn(t, 0, 0, 60, 100);
    b.EndOfTrack(t);
    return b.Build();
}

Bytes Changed(size_t at, uint8_t value)
{
    Bytes b = Valid();
    b[at] = value;
    return b;
}

INSTANTIATE_TEST_SUITE_P(Images, MalformedFileTest, ::testing::Values(
    Bytes{},
    Bytes{'M', 'T', 'h', 'd'},
    [] { Bytes b = Valid(); b.pop_back(); return b; }(),
    [] { Bytes b = Valid(); b.push_back(0); return b; }(),
    Changed(11, 2),                                    // two tracks declared
    Changed(14, 'X'),                                  // not "MTrk"
    Changed(18, 0xFF),                                 // track length past the end
    Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'R', 'M', 'I', 'D'}));

TEST_F(EventsCommandTest, MissingFileNamesFileAndReason)
{
    std::string path = (m_folder / "missing.mid").string();
    ToolRun::Outcome o = RunTool({"--events", path});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("", o.out);
    std::string prefix = "midi2morvek: " + path + ": ";
    ASSERT_EQ(0u, o.err.find(prefix)) << o.err;
    EXPECT_GT(o.err.size(), prefix.size() + 1);        // the system's reason
    EXPECT_EQ(1, std::count(o.err.begin(), o.err.end(), '\n'));
    EXPECT_EQ('\n', o.err.back());
}

TEST_F(EventsCommandTest, FolderIsRefused)
{
    ToolRun::Outcome o = RunTool({"--events", m_folder.string()});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ(0u, o.err.find("midi2morvek: " + m_folder.string() + ": "));
}

TEST_F(EventsCommandTest, DemoSongIsListed)
{
    ToolRun::Outcome o = RunTool({"--events", MORVEK_SOURCE_DIR "/examples/demo.mid"});
    EXPECT_EQ(0, o.code) << o.err;
    EXPECT_EQ(0u, o.out.find("0\t0\t0\tFF 03 0B 4D 4F 52 56 45 4B 20 44 65 6D 6F\n"));
    EXPECT_NE(std::string::npos, o.out.find("\n3\t15360\t0\tFF 2F 00\n"));
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    std::string err;
};

class UsageErrorTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, ExitsWithTwo)
{
    ToolRun::Outcome o = RunTool(GetParam().args);
    EXPECT_EQ(2, o.code);
    EXPECT_EQ("", o.out);
    EXPECT_EQ("midi2morvek: " + GetParam().err + " (see --help)\n", o.err);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, UsageErrorTest, ::testing::Values(
    UsageCase{"NoFile", {}, "no FILE to convert"},
    UsageCase{"ListAndEvents", {"--list", "--events", "a.mid"}, "--list and --events cannot be combined"},
    UsageCase{"EventsWithoutFile", {"--events"}, "--events needs exactly one FILE"},
    UsageCase{"EventsWithTwoFiles", {"--events", "a.mid", "b.mid"}, "--events needs exactly one FILE"},
    UsageCase{"UnknownOption", {"--events", "-q", "a.mid"}, "unknown option '-q'"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST(CliAppTest, HelpAndVersion)
{
    ToolRun::Outcome help = RunTool({"--help"});
    EXPECT_EQ(0, help.code);
    EXPECT_EQ(0u, help.out.find("Usage:\n  midi2morvek [options] FILE\n  midi2morvek --list FILE\n"
                                "  midi2morvek --events FILE\n"));
    EXPECT_NE(std::string::npos, help.out.find("  -h, --help "));
    EXPECT_EQ("", help.err);

    ToolRun::Outcome version = RunTool({"--version"});
    EXPECT_EQ(0, version.code);
    EXPECT_EQ(0u, version.out.find("midi2morvek "));
    EXPECT_EQ(1, std::count(version.out.begin(), version.out.end(), '\n'));
    EXPECT_EQ('\n', version.out.back());
}

}  // namespace
