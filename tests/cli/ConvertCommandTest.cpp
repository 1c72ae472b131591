#include "cli/ConvertCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "engine/ConversionReport.h"
#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "gen/SmfBuilder.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"
#include "tests/support/ChordSong.h"
#include "tests/support/ToolRun.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<uint8_t> Bytes;

// Three lists (channels 0, 1 and 9) of quarters and eighths over two bars.
Bytes MakeSong(int format, int timeBase)
{
    SmfBuilder smf(format, timeBase);
    int t = smf.AddTrack();
    const int channels[] = {0, 1, 9};
    for (int channel : channels) {
        for (int i = 0; i < 8; ++i) {
            smf.NoteOn(t, 0, channel, 60 + channel + i, 100);
            smf.NoteOff(t, static_cast<uint32_t>(i % 2 ? timeBase : timeBase / 2), channel, 60 + channel + i);
        }
    }
    smf.EndOfTrack(t);
    return smf.Build();
}

// What the engine itself makes of image with these choices.
std::string EngineProgram(const Bytes& image, const ConvertSettings& settings,
                          const std::vector<int>& assignment, int voices = 1)
{
    Converter converter;
    ConvertSettings withVoices(settings);
    withVoices.SetVoiceCount(voices);
    MidiFile* file = converter.LoadMidiFile(image.data(), image.size());
    const ConversionResult result = converter.Convert(*file, withVoices, assignment);
    EXPECT_EQ(Converter::kConvertOk, result.GetResult());
    converter.FreeMidiFile(file);
    return result.GetText();
}

class ConvertCommandTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_song = MakeSong(0, 96);
        m_songPath = Write("song.mid", m_song);
    }
    std::string OutputPath() { return (m_folder / "out.txt").string(); }

    Bytes m_song;
    std::string m_songPath;
};

TEST_F(ConvertCommandTest, DefaultsGiveTheEnginesProgram)
{
    ToolRun::Outcome o = RunTool({m_songPath});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("", o.err);
    ConvertSettings settings;
    settings.SetSplitStepCount(4 * 96);
    EXPECT_EQ(EngineProgram(m_song, settings, {0, 1, 2}), o.out);
    EXPECT_EQ(0u, o.out.find("1000 CLEAR 300,&H5600\r\n"));
    EXPECT_NE(std::string::npos, o.out.find("\r\n1100 PLAY \"o4"));
}

TEST_F(ConvertCommandTest, OutputFileHoldsTheSameBytes)
{
    ToolRun::Outcome printed = RunTool({m_songPath});
    ToolRun::Outcome written = RunTool({"-o", OutputPath(), m_songPath});
    EXPECT_EQ(0, written.code);
    EXPECT_EQ("", written.out);
    EXPECT_EQ(printed.out, Read(OutputPath()));
    EXPECT_EQ(std::vector<std::string>({"out.txt", "song.mid"}), Names());
}

TEST_F(ConvertCommandTest, OptionsReachTheConversion)
{
    struct Case {
        std::vector<std::string> args;
        int parts, resolution, split, line, kind;
        std::vector<int> assignment;
    } cases[] = {
        {{}, 6, 13, 384, 1000, 0, {0, 1, 2}},
        {{"-p", "2"}, 2, 13, 384, 1000, 0, {0, 1}},
        {{"--parts=18", "-r", "8."}, 18, 5, 384, 1000, 0, {0, 1, 2}},
        {{"-r192", "-s", "1,920", "-l", "32,000"}, 6, 17, 1920, 32000, 0, {0, 1, 2}},
        {{"-r", "1", "-s", "1", "-l", "1"}, 6, 0, 1, 1, 0, {0, 1, 2}},
        {{"-k", "play hg"}, 6, 13, 384, 1000, 1, {0, 1, 2}},
        {{"--kind", "Play@"}, 6, 13, 384, 1000, 2, {0, 1, 2}},
        {{"-a", "2,-,0,0"}, 6, 13, 384, 1000, 0, {2, -1, 0, 0}},
        {{"-a", " 1 , - "}, 6, 13, 384, 1000, 0, {1, -1}},
        {{"-a", ""}, 6, 13, 384, 1000, 0, {}},
        {{"-p", "1", "-a", "-,2"}, 1, 13, 384, 1000, 0, {-1}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(m_songPath);
        ToolRun::Outcome o = RunTool(args);
        ConvertSettings settings;
        settings.SetPartCount(c.parts);
        settings.SetMinimumResolution(c.resolution);
        settings.SetSplitStepCount(c.split);
        settings.SetFirstLineNumber(c.line);
        settings.SetPlayKind(c.kind);
        EXPECT_EQ(0, o.code) << o.err;
        EXPECT_EQ(EngineProgram(m_song, settings, c.assignment), o.out) << args[0];
    }
}

TEST_F(ConvertCommandTest, VoicesGiveTheEnginesProgramWithVoices)
{
    const Bytes chords = ChordSong(0, 0);
    const std::string path = Write("chords.mid", chords);
    ConvertSettings settings;
    settings.SetSplitStepCount(4 * 96);
    ToolRun::Outcome o = RunTool({"-V", "4", path});
    EXPECT_EQ(0, o.code) << o.err;
    EXPECT_EQ(EngineProgram(chords, settings, {0, 1, 2, 3}, 4), o.out);
    EXPECT_NE(std::string::npos, o.out.find("1100 PLAY \"o4l4>cd\",\"o4l2<g\",\"o4l2<e\",\"o4l2<c\",\"\",\"\"\r\n"))
        << o.out;
    EXPECT_EQ(EngineProgram(chords, settings, {0}), RunTool({"--voices=1", path}).out);
    EXPECT_EQ(EngineProgram(chords, settings, {1, 0}, 18), RunTool({"-V18", "-a", "1,0", path}).out);

    o = RunTool({"-V", "2", "-a", "0,2", path});
    EXPECT_EQ(2, o.code);
    EXPECT_EQ("midi2morvek: list 2 does not exist: " + path + " has 2 lists (0 to 1) (see --help)\n", o.err);
    for (const char* bad : {"0", "19", "x", "", "-1", "007x"}) {
        o = RunTool({"-V", bad, path});
        EXPECT_EQ(2, o.code) << bad;
        EXPECT_EQ(std::string("midi2morvek: voice count '") + bad + "' is not a number from 1 to 18 (see --help)\n",
                  o.err);
        EXPECT_EQ("", o.out);
    }
}

TEST_F(ConvertCommandTest, RefusalsNameTheProblemAndWriteNothing)
{
    std::string text = (m_folder / "notes.txt").string();
    Write("notes.txt", Bytes{'h', 'e', 'l', 'l', 'o'});
    std::string format2 = Write("format2.mid", MakeSong(2, 96));
    std::string base120 = Write("base120.mid", MakeSong(1, 120));
    std::string both = Write("both.mid", MakeSong(2, 120));
    std::string missing = (m_folder / "missing.mid").string();
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        // The file, in the order it is checked.
        {{missing}, 1, "midi2morvek: " + missing + ": "},
        {{text}, 1, "midi2morvek: " + text + ": not a well-formed Standard MIDI File\n"},
        {{format2}, 1, "midi2morvek: " + format2 + ": format 2 is not supported: only formats 0 and 1 are\n"},
        {{base120}, 1,
         "midi2morvek: " + base120 + ": time base 120 is not supported: only 48, 96, 240 and 480 are\n"},
        {{both}, 1, "midi2morvek: " + both + ": format 2 is not supported"},
        {{"-s", "0", missing}, 1, "midi2morvek: " + missing + ": "},
        // The settings: split step count, then parts, then first line.
        {{"-s", "0", m_songPath}, 1,
         "midi2morvek: split step count 0 is invalid: set a step count from 1 to 1,920\n"},
        {{"-s", "1921", "-p", "0", "-l", "0", m_songPath}, 1, "midi2morvek: split step count 1921 is invalid"},
        {{"-p", "19", "-l", "0", m_songPath}, 1, "midi2morvek: part count 19 is invalid: set 1 to 18 parts\n"},
        {{"-p", "-5", m_songPath}, 1, "midi2morvek: part count -5 is invalid"},
        {{"-l", "32001", m_songPath}, 1,
         "midi2morvek: first line number 32001 is invalid: set a line number from 1 to 32,000\n"},
        {{"-l", "99999999999", m_songPath}, 1, "midi2morvek: first line number 2147483647 is invalid"},
        // The command line.
        {{"--bogus", m_songPath}, 2, "midi2morvek: unknown option '--bogus' (see --help)\n"},
        {{}, 2, "midi2morvek: no FILE to convert (see --help)\n"},
        {{m_songPath, m_songPath}, 2, "midi2morvek: only one FILE"},
        {{"-r", "5", m_songPath}, 2, "midi2morvek: unknown resolution '5'"},
        {{"-r", "1/32", m_songPath}, 2, "midi2morvek: unknown resolution '1/32'"},
        {{"-k", "PLAYHG", m_songPath}, 2, "midi2morvek: unknown PLAY kind 'PLAYHG'"},
        {{"-p", "six", m_songPath}, 2, "midi2morvek: part count 'six' is not a number"},
        {{"-s", "", m_songPath}, 2, "midi2morvek: split step count '' is not a number"},
        {{"-a", "0,x", m_songPath}, 2, "midi2morvek: --assign '0,x' is not a list"},
        {{"-a", "0,,1", m_songPath}, 2, "midi2morvek: --assign '0,,1' is not a list"},
        {{"-a", "-1", m_songPath}, 2, "midi2morvek: --assign '-1' is not a list"},
        {{"-a", "0,3", m_songPath}, 2, "midi2morvek: list 3 does not exist: " + m_songPath + " has 3 lists (0 to 2)"},
        {{"-p", "1", "-a", "0,1,2,7", m_songPath}, 2, "midi2morvek: list 7 does not exist"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-o", OutputPath()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun::Outcome o = RunTool(args);
        std::string what = c.args.empty() ? "(no arguments)" : c.args[0] + " " + c.args.back();
        EXPECT_EQ(c.code, o.code) << what;
        EXPECT_EQ(0u, o.err.find(c.message)) << what << ": " << o.err;
        EXPECT_EQ(1, std::count(o.err.begin(), o.err.end(), '\n')) << what << ": " << o.err;
        EXPECT_EQ("", o.out) << what;
        EXPECT_FALSE(fs::exists(OutputPath())) << what;
    }
    EXPECT_EQ(std::vector<std::string>({"base120.mid", "both.mid", "format2.mid", "notes.txt", "song.mid"}),
              Names());
}

TEST_F(ConvertCommandTest, AFileWithoutListsGivesTheHeader)
{
    SmfBuilder smf(1, 48);
    smf.EndOfTrack(smf.AddTrack());
    std::string path = Write("empty.mid", smf.Build());
    ToolRun::Outcome o = RunTool({"-l", "10", path});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ(10, std::count(o.out.begin(), o.out.end(), '\n'));
    EXPECT_EQ("  10 CLEAR 300,&H5600\r\n", o.out.substr(0, 23));
    // Any ordinal names no list here.
    EXPECT_EQ(2, RunTool({"-a", "0", path}).code);
    EXPECT_EQ(0, RunTool({"-a", "-,-", path}).code);
}

TEST_F(ConvertCommandTest, FailedWriteLeavesNothingBehind)
{
    std::string intoMissingFolder = (m_folder / "no" / "out.txt").string();
    ToolRun::Outcome o = RunTool({"-o", intoMissingFolder, m_songPath});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ(0u, o.err.find("midi2morvek: " + intoMissingFolder + ": ")) << o.err;
    EXPECT_EQ("", o.out);

    fs::create_directories(m_folder / "folder");
    std::string folder = (m_folder / "folder").string();
    o = RunTool({"-o", folder, m_songPath});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ(0u, o.err.find("midi2morvek: " + folder + ": ")) << o.err;
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(std::vector<std::string>({"folder", "song.mid"}), Names());
}

TEST_F(ConvertCommandTest, ExistingOutputIsReplacedWhole)
{
    std::ofstream(OutputPath(), std::ios::binary) << std::string(100000, 'x');
    ToolRun::Outcome o = RunTool({"--output", OutputPath(), m_songPath});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ(RunTool({m_songPath}).out, Read(OutputPath()));
}

// The engine's report of the program it writes with these choices.
std::string EngineReport(const Bytes& image, const ConvertSettings& settings,
                         const std::vector<int>& assignment, int limit)
{
    Converter converter;
    MidiFile* file = converter.LoadMidiFile(image.data(), image.size());
    const ConversionResult result = converter.Convert(*file, settings, assignment);
    ConversionReport report;
    report.SetLineLimit(limit);
    EXPECT_EQ(ConversionReport::kReportOk, report.Compute(*file, result, result.GetText()));
    converter.FreeMidiFile(file);
    return report.Format();
}

TEST_F(ConvertCommandTest, ReportGoesToStandardErrorAfterTheProgram)
{
    ConvertSettings settings;
    settings.SetSplitStepCount(4 * 96);
    settings.SetPartCount(2);
    ToolRun::Outcome o = RunTool({"--report", "-p", "2", m_songPath});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ(EngineProgram(m_song, settings, {0, 1}), o.out);
    EXPECT_EQ(EngineReport(m_song, settings, {0, 1}, 255), o.err);
    EXPECT_NE(std::string::npos, o.err.find("\n2\t0\t9\t8\t8\t0\t0\tnot assigned\n"));

    ToolRun::Outcome written = RunTool({"--report", "-o", OutputPath(), m_songPath});
    EXPECT_EQ(0, written.code);
    EXPECT_EQ("", written.out);
    EXPECT_EQ(0u, written.err.find("Conversion report\nkept 24 of 24 notes (100.0%)\n"));
}

TEST_F(ConvertCommandTest, ReportOnlyWritesNoProgram)
{
    ConvertSettings settings;
    settings.SetSplitStepCount(4 * 96);
    ToolRun::Outcome o = RunTool({"--report-only", "--max-line", "20", "-o", OutputPath(), m_songPath});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("", o.err);
    EXPECT_EQ(EngineReport(m_song, settings, {0, 1, 2}, 20), o.out);
    EXPECT_NE(std::string::npos, o.out.find("\nline limit\t20\n"));
    EXPECT_EQ(std::vector<std::string>({"song.mid"}), Names());
}

TEST_F(ConvertCommandTest, MaxLineAloneReportsAndBadLimitsAreRefused)
{
    ToolRun::Outcome o = RunTool({"--max-line", "30", m_songPath});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ(0u, o.out.find("1000 CLEAR"));
    EXPECT_NE(std::string::npos, o.err.find("\nlong-lines\t"));
    for (const char* bad : {"0", "-3", "x"}) {
        ToolRun::Outcome refused = RunTool({"--max-line", bad, m_songPath});
        EXPECT_EQ(2, refused.code) << bad;
        EXPECT_EQ("", refused.out);
        EXPECT_EQ(std::string("midi2morvek: --max-line '") + bad +
                      "' is not a number of 1 or more (see --help)\n",
                  refused.err);
    }
}

TEST_F(ConvertCommandTest, FitLinesGoesToTheConverterAndBadLimitsAreRefused)
{
    ToolRun::Outcome o = RunTool({"--fit-lines", "40", "-p", "18", "--report", m_songPath});
    EXPECT_EQ(0, o.code);
    EXPECT_NE(std::string::npos, o.err.find("\nline limit\t40\n"));
    EXPECT_NE(std::string::npos, o.err.find("\nwide-step\tPLAY line 1100"));
    EXPECT_NE(std::string::npos, o.err.find("\nSelf-check\npassed\n"));
    const struct {
        std::vector<std::string> args;
        int code;
        const char* err;
    } refusals[] = {
        {{"--fit-lines", "39"}, 1,
         "line limit 39 is invalid: set a line length from 40 to 255 characters"},
        {{"--fit-lines", "256"}, 1,
         "line limit 256 is invalid: set a line length from 40 to 255 characters"},
        {{"--fit-lines", "x"}, 2, "line limit 'x' is not a number"},
        {{"--fit-lines", "200", "--max-line", "100"}, 2, "--max-line and --fit-lines cannot go"},
    };
    for (const auto& r : refusals) {
        std::vector<std::string> args = r.args;
        args.push_back(m_songPath);
        ToolRun::Outcome refused = RunTool(args);
        EXPECT_EQ(r.code, refused.code) << r.err;
        EXPECT_EQ("", refused.out);
        EXPECT_NE(std::string::npos, refused.err.find(r.err)) << refused.err;
    }
}

TEST_F(ConvertCommandTest, ResolutionTextsNameTheTable)
{
    ConvertCommand command;
    const char* texts[] = {"1", "2.", "2", "4.", "4", "8.", "6", "8", "16.",
                           "12", "16", "32.", "24", "32", "48", "64", "96", "192"};
    for (int i = 0; i < 18; ++i) {
        int index = -1;
        EXPECT_TRUE(command.ParseResolution(texts[i], index)) << texts[i];
        EXPECT_EQ(i, index);
    }
    int index = -1;
    for (const char* bad : {"", "3", "4..", " 4", "128", "32nd"})
        EXPECT_FALSE(command.ParseResolution(bad, index)) << bad;
}

TEST(ConvertHelpTest, HelpShowsTheConversionOptions)
{
    ToolRun::Outcome o = RunTool({"--help"});
    EXPECT_EQ(0, o.code);
    EXPECT_NE(std::string::npos, o.out.find("midi2morvek [options] FILE"));
    EXPECT_NE(std::string::npos, o.out.find("midi2morvek --list FILE"));
    for (const char* option : {"-o, --output FILE", "-p, --parts N", "-r, --resolution TEXT", "-s, --split N",
                               "-l, --line N", "-k, --kind TEXT", "-a, --assign LIST"})
        EXPECT_NE(std::string::npos, o.out.find(option)) << option;
}

}  // namespace

// --lenient: a file at 1,024 reads as the same song written at 480, says
// what was adapted in the report and the listing, and what it still refuses.
TEST_F(ConvertCommandTest, LenientOpeningReadsTheSongAsWrittenAt480)
{
    Bytes odd = MakeSong(0, 1024);
    const Bytes vendor = {'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2};
    odd.insert(odd.begin() + 14, vendor.begin(), vendor.end());
    const std::string oddPath = Write("odd.mid", odd);
    const std::string path480 = Write("480.mid", MakeSong(0, 480));

    ToolRun::Outcome strict = RunTool({oddPath});
    EXPECT_EQ("midi2morvek: " + oddPath + ": not a well-formed Standard MIDI File\n", strict.err);
    ToolRun::Outcome lenient = RunTool({"--lenient", oddPath});
    ASSERT_EQ(0, lenient.code) << lenient.err;
    EXPECT_EQ(RunTool({path480}).out, lenient.out);

    ToolRun::Outcome report = RunTool({"--lenient", "--report-only", oddPath});
    EXPECT_NE(std::string::npos,
              report.out.find("\n\nReading\ntime base re-timed\t1,024 -> 480\nchunks skipped\t1\n\nWarnings\n"))
        << report.out;
    EXPECT_EQ(std::string::npos, RunTool({"--lenient", "--report-only", path480}).out.find("Reading"));
    ToolRun::Outcome list = RunTool({"--lenient", "--list", oddPath});
    EXPECT_NE(std::string::npos,
              list.out.find("Time base\t1,024 -> 480\nReading\tchunks skipped: 1\nUsed channels\t3\n"))
        << list.out;

    const struct {
        Bytes image;
        std::string reason;
    } refusals[] = {
        {MakeSong(0, 0xE728), "SMPTE time division (25 frames per second, 40 ticks per frame) is not "
                              "supported, also with --lenient: only ticks per quarter note can be re-timed"},
        {MakeSong(0, 0), "time base 0 is not supported: a file's time base must be 1 or more ticks per "
                         "quarter note"},
        {Bytes{'R', 'I', 'F', 'F'}, "not a Standard MIDI File, even read leniently: it must begin with a "
                                    "whole \"MThd\" header chunk"},
    };
    for (const auto& r : refusals) {
        const std::string refused = Write("refused.mid", r.image);
        ToolRun::Outcome o = RunTool({"--lenient", refused});
        EXPECT_EQ(1, o.code);
        EXPECT_EQ("midi2morvek: " + refused + ": " + r.reason + "\n", o.err);
    }
}
