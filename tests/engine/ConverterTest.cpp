#include "engine/Converter.h"

#include "engine/ConversionReport.h"
#include "settings/ConvertSettings.h"
#include "engine/ConvertStatus.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "score/MmlWriter.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kHeaderAt1000[] =
    "1000 CLEAR 300,&H5600\r\n"
    "1010 LOADM \"ZEBLOKUM\"\r\n"
    "1020 PLAY OFF\r\n"
    "1030 FOR I=1 TO 12:PLAYDEF I,0:NEXT\r\n"
    "1040 FOR I=1 TO 3:PLAYDEF I,I:PLAYDEF I+3,I+6:NEXT: ' HG\r\n"
    "1050 PLAY \"?3/\",,,\"?3/\": ' HG\r\n"
    "1060 ' FOR I=1 TO 12:PLAYDEF I,I:NEXT: ' WHG\r\n"
    "1070 ' PLAY \"?3/\",,,,,,\"?3/\": ' WHG\r\n"
    "1080 '\r\n"
    "1090 '\r\n";

// The lines of a text, each without its CR LF. Fails the test on a line that
// does not end in CR LF.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        EXPECT_NE(std::string::npos, end) << "unterminated line at " << start;
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Key 60 for a quarter, 62 for a quarter, 64 for a half, an eighth rest and
// key 72 for an eighth on one channel; time base 48.
void AddMelody(SmfBuilder& smf, int track, int channel)
{
    smf.NoteOn(track, 0, channel, 60, 100);
    smf.NoteOff(track, 48, channel, 60);
    smf.NoteOn(track, 0, channel, 62, 100);
    smf.NoteOff(track, 48, channel, 62);
    smf.NoteOn(track, 0, channel, 64, 100);
    smf.NoteOff(track, 96, channel, 64);
    smf.NoteOn(track, 24, channel, 72, 100);
    smf.NoteOff(track, 24, channel, 72);
}

// One quarter note of key 60 after another, count times.
void AddQuarters(SmfBuilder& smf, int track, int channel, int count, int timeBase)
{
    for (int i = 0; i < count; ++i) {
        smf.NoteOn(track, 0, channel, 60, 100);
        smf.NoteOff(track, timeBase, channel, 60);
    }
}

class ConverterTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        m_converter.FreeNoteListSet(m_set);
        m_converter.FreeMidiFile(m_file);
    }

    void Load(const SmfBuilder& smf)
    {
        std::vector<uint8_t> image = smf.Build();
        m_converter.FreeMidiFile(m_file);
        m_file = m_converter.LoadMidiFile(image.data(), image.size());
        ASSERT_NE(nullptr, m_file);
    }

    // Converts with m_settings into m_conversion and returns the text (""
    // on failure, with the result in m_result).
    std::string Convert(const std::vector<int>& assignment)
    {
        m_conversion = m_converter.Convert(*m_file, m_settings, assignment);
        m_result = m_conversion.GetResult();
        return m_conversion.GetText();
    }

    // The lists of the last conversion.
    NoteListSet& Lists() { return *m_conversion.GetLists(); }

    // A format 0 file at time base 48 with the melody on channel 0,
    // quantized to sixteenth notes.
    void LoadMelody()
    {
        SmfBuilder smf(0, 48);
        int t = smf.AddTrack();
        AddMelody(smf, t, 0);
        smf.EndOfTrack(t);
        Load(smf);
        m_settings.SetMinimumResolution(10);
    }

    // The melody above a chord of two notes held under it, on the same
    // channel: one list with one voice, three with three.
    void LoadMelodyOverChord()
    {
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 0, 48, 100);
    smf.NoteOn(t, 0, 0, 55, 100);
    AddMelody(smf, t, 0);
    smf.NoteOff(t, 0, 0, 48);
    smf.NoteOff(t, 0, 0, 55);
    smf.EndOfTrack(t);
    Load(smf);
    m_settings.SetMinimumResolution(10);
    }

    Converter m_converter;
    ConvertSettings m_settings;
    MidiFile* m_file = nullptr;
    NoteListSet* m_set = nullptr;
    int m_result = -1;
    ConversionResult m_conversion;
};

TEST_F(ConverterTest, HeaderAtTheDefaultFirstLine)
{
    EXPECT_EQ(kHeaderAt1000, m_converter.BuildHeader(1000, Converter::kLineStep));
}

TEST_F(ConverterTest, HeaderNumbersAreRightAlignedInFourCharacters)
{
    struct Case {
        int first;
        const char* firstLine;
        const char* lastLine;
    } cases[] = {
        { 1, "   1 CLEAR 300,&H5600", "  91 '" },
        { 10, "  10 CLEAR 300,&H5600", " 100 '" },
        { 910, " 910 CLEAR 300,&H5600", "1000 '" },
        { 32000, "32000 CLEAR 300,&H5600", "32090 '" },
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = SplitLines(m_converter.BuildHeader(c.first, 10));
        ASSERT_EQ(10u, lines.size()) << c.first;
        EXPECT_EQ(c.firstLine, lines.front());
        EXPECT_EQ(c.lastLine, lines.back());
    }
}

TEST_F(ConverterTest, HeaderLinesAreSetOnceAndReplaceable)
{
    EXPECT_EQ(10, m_converter.GetHeaderLineCount());
    EXPECT_EQ("PLAY OFF\r\n", m_converter.GetHeaderLine(2));
    EXPECT_EQ("PLAY OFF\r\n", m_converter.SetHeaderLine(2, "REM\r\n"));
    EXPECT_EQ("REM\r\n", m_converter.GetHeaderLine(2));
    EXPECT_EQ("", m_converter.SetHeaderLine(10, "X\r\n"));
    EXPECT_EQ("", m_converter.GetHeaderLine(-1));
    EXPECT_EQ(10, m_converter.SetHeaderLineCount(3));
    EXPECT_EQ(3, m_converter.GetHeaderLineCount());
}

TEST_F(ConverterTest, LoadRefusesBrokenImagesAndKeepsNothing)
{
    SmfBuilder smf(1, 96);
    int t = smf.AddTrack();
    AddQuarters(smf, t, 0, 2, 96);
    smf.EndOfTrack(t);
    std::vector<uint8_t> image = smf.Build();
    for (size_t size = 0; size < image.size(); ++size)
        EXPECT_EQ(nullptr, m_converter.LoadMidiFile(image.data(), size)) << size;
    EXPECT_EQ(nullptr, m_converter.LoadMidiFile(nullptr, 100));
    MidiFile* file = m_converter.LoadMidiFile(image.data(), image.size());
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(1, file->GetTrackCount());
    EXPECT_EQ(0, m_converter.FreeMidiFile(file));
    EXPECT_EQ(0, m_converter.FreeMidiFile(nullptr));
}

TEST_F(ConverterTest, BuildNoteListSetNeedsAFile)
{
    EXPECT_EQ(nullptr, m_converter.BuildNoteListSet(nullptr, m_settings));
    NoteListSet* set = m_converter.NewNoteListSet();
    EXPECT_EQ(Converter::kMissingArgument, m_converter.FillNoteListSet(nullptr, m_settings, set));
    EXPECT_EQ(0, m_converter.FreeNoteListSet(set));
    EXPECT_EQ(0, m_converter.FreeNoteListSet(nullptr));
}

TEST_F(ConverterTest, CheckFileTestsFormatBeforeTimeBase)
{
    struct Case {
        int format;
        int timeBase;
        int expected;
    } cases[] = {
        { 0, 48, Converter::kConvertOk },   { 1, 96, Converter::kConvertOk },
        { 1, 240, Converter::kConvertOk },  { 0, 480, Converter::kConvertOk },
        { 2, 480, Converter::kConvertBadFormat }, { 2, 120, Converter::kConvertBadFormat },
        { 1, 120, Converter::kConvertBadTimeBase }, { 0, 47, Converter::kConvertBadTimeBase },
        { 0, 960, Converter::kConvertBadTimeBase }, { 1, 0, Converter::kConvertBadTimeBase },
    };
    for (const Case& c : cases) {
        SmfBuilder smf(c.format, c.timeBase);
        smf.EndOfTrack(smf.AddTrack());
        Load(smf);
        EXPECT_EQ(c.expected, m_converter.CheckFile(*m_file)) << c.format << " " << c.timeBase;
    }
}

TEST_F(ConverterTest, WholeProgramOfOnePart)
{
    LoadMelody();
    m_settings.SetPartCount(3);
    EXPECT_EQ(std::string(kHeaderAt1000) + "1100 PLAY \"o4l4cde2r8>c8\",\"\",\"\"\r\n",
              Convert({ 0 }));
    EXPECT_EQ(Converter::kConvertOk, m_result);
}

TEST_F(ConverterTest, VoicesCarryAChordIntoParts)
{
    // A melody above a held chord of two notes on one channel: with one
    // voice only the first note of the chord survives; with three the
    // melody stays in the first part and the chord fills the next two.
    LoadMelodyOverChord();
    m_settings.SetPartCount(3);
    EXPECT_EQ(1, m_converter.CountLists(*m_file, m_settings));
    EXPECT_EQ(std::string(kHeaderAt1000) + "1100 PLAY \"o4l1<c&c4\",\"\",\"\"\r\n",
              Convert({ 0 }));

    m_settings.SetVoiceCount(3);
    EXPECT_EQ(3, m_converter.CountLists(*m_file, m_settings));
    EXPECT_EQ(std::string(kHeaderAt1000) +
                  "1100 PLAY \"o4l4cde2r8>c8\",\"o4l1<g&g4\",\"o4l1<c&c4\"\r\n",
              Convert({ 0, 1, 2 }));
    EXPECT_EQ(Converter::kConvertOk, m_result);
    EXPECT_EQ(3, Lists().GetCount());
    EXPECT_EQ(3u, m_conversion.GetListCounts().size());
    NoteListSet* built = m_converter.BuildNoteListSet(m_file, m_settings);
    ASSERT_NE(nullptr, built);
    EXPECT_EQ(3, built->GetCount());
    EXPECT_EQ(2, built->GetList(2)->GetVoice());
    m_converter.FreeNoteListSet(built);
}

// Without an assignment of its own, part r plays list r: the same program
// as Convert given that assignment, for one voice and for three, and a
// refusal with the list count the voices give.
TEST_F(ConverterTest, ConvertInOrderAssignsTheListsItMakes)
{
    LoadMelodyOverChord();
    const struct {
        int voices, parts;
        std::vector<int> expected;
    } cases[] = {
        { 1, 1, { 0 } }, { 1, 6, { 0 } }, { 3, 1, { 0 } }, { 3, 2, { 0, 1 } }, { 3, 6, { 0, 1, 2 } },
    };
    for (const auto& c : cases) {
        m_settings.SetVoiceCount(c.voices);
        m_settings.SetPartCount(c.parts);
        const ConversionResult inOrder = m_converter.ConvertInOrder(*m_file, m_settings);
        ASSERT_EQ(Converter::kConvertOk, inOrder.GetResult())
            << c.voices << " voices, " << c.parts << " parts";
        EXPECT_EQ(c.expected, inOrder.GetAssignment()) << c.voices << " voices, " << c.parts << " parts";
        EXPECT_EQ(Convert(c.expected), inOrder.GetText()) << c.voices << " voices, " << c.parts << " parts";
    }

    // A refusal before the lists are made leaves no assignment.
    m_settings.SetPartCount(19);
    const ConversionResult refused = m_converter.ConvertInOrder(*m_file, m_settings);
    EXPECT_EQ(Converter::kConvertBadSettings, refused.GetResult());
    EXPECT_TRUE(refused.GetAssignment().empty());

    // Assignments are checked against the lists the voices make.
    m_settings.SetPartCount(6);
    Convert({ 0, 3 });
    EXPECT_EQ(Converter::kConvertBadAssignment, m_result);
    EXPECT_EQ(3, m_conversion.GetStatus().GetListCount());
    EXPECT_EQ(3, m_conversion.GetStatus().GetValue());
}

TEST_F(ConverterTest, NoPartAssignedGivesTheHeaderOnly)
{
    LoadMelody();
    EXPECT_EQ(kHeaderAt1000, Convert({}));
    EXPECT_EQ(kHeaderAt1000, Convert({ -1, -1, -1, -1, -1, -1 }));
}

TEST_F(ConverterTest, OnlyTheFirstPartCountRowsAreUsed)
{
    LoadMelody();
    m_settings.SetPartCount(2);
    EXPECT_EQ(kHeaderAt1000, Convert({ -1, -1, 0, 0 }));
}

TEST_F(ConverterTest, FirstLineNumberOneAndTheLargest)
{
    LoadMelody();
    m_settings.SetPartCount(1);
    m_settings.SetFirstLineNumber(1);
    std::vector<std::string> lines = SplitLines(Convert({ 0 }));
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ("   1 CLEAR 300,&H5600", lines[0]);
    EXPECT_EQ("  91 '", lines[9]);
    EXPECT_EQ(" 101 PLAY \"o4l4cde2r8>c8\"", lines[10]);

    m_settings.SetFirstLineNumber(32000);
    m_settings.SetSplitStepCount(96);
    lines = SplitLines(Convert({ 0 }));
    ASSERT_EQ(13u, lines.size());
    EXPECT_EQ("32000 CLEAR 300,&H5600", lines[0]);
    EXPECT_EQ("32090 '", lines[9]);
    EXPECT_EQ("32100 PLAY \"o4l4cd\"", lines[10]);
    EXPECT_EQ("32110 PLAY \"e2\"", lines[11]);
    EXPECT_EQ("32120 PLAY \"r8>c8\"", lines[12]);
}

TEST_F(ConverterTest, EighteenPartsGiveSeventeenCommasOnEveryLine)
{
    LoadMelody();
    m_settings.SetPartCount(18);
    m_settings.SetSplitStepCount(96);
    std::vector<int> assignment(18, -1);
    assignment[0] = 0;
    assignment[17] = 0;
    std::vector<std::string> lines = SplitLines(Convert(assignment));
    ASSERT_EQ(13u, lines.size());
    std::string expected = "1100 PLAY \"o4l4cd\"";
    for (int p = 1; p < 17; ++p)
        expected += ",\"\"";
    EXPECT_EQ(expected + ",\"o4l4cd\"", lines[10]);
    for (size_t i = 10; i < lines.size(); ++i)
        EXPECT_EQ(17, std::count(lines[i].begin(), lines[i].end(), ',')) << lines[i];
}

TEST_F(ConverterTest, KeywordOfEveryPlayKind)
{
    LoadMelody();
    m_settings.SetPartCount(1);
    m_settings.SetSplitStepCount(96);
    const char* expected[] = { "PLAY ", "PLAY HG ", "PLAY@ " };
    for (int kind = 0; kind < 3; ++kind) {
        m_settings.SetPlayKind(kind);
        std::string text = Convert({ 0 });
        std::vector<std::string> lines = SplitLines(text);
        ASSERT_EQ(13u, lines.size());
        // The header keeps its plain PLAY statements whatever the kind.
        EXPECT_EQ(kHeaderAt1000, text.substr(0, sizeof kHeaderAt1000 - 1));
        EXPECT_EQ(std::string("1110 ") + expected[kind] + "\"e2\"", lines[11]);
    }
}

TEST_F(ConverterTest, TwoPartsOnTheSameListWriteTheSameText)
{
    LoadMelody();
    m_settings.SetPartCount(2);
    m_settings.SetSplitStepCount(96);
    std::vector<std::string> lines = SplitLines(Convert({ 0, 0 }));
    ASSERT_EQ(13u, lines.size());
    EXPECT_EQ("1100 PLAY \"o4l4cd\",\"o4l4cd\"", lines[10]);
    EXPECT_EQ("1110 PLAY \"e2\",\"e2\"", lines[11]);
    EXPECT_EQ("1120 PLAY \"r8>c8\",\"r8>c8\"", lines[12]);
}

TEST_F(ConverterTest, AShorterPartContributesEmptyStringsOnLaterLines)
{
    // Channel 0 holds three bars of quarters, channel 1 five.
    SmfBuilder smf(1, 48);
    int t = smf.AddTrack();
    AddQuarters(smf, t, 0, 12, 48);
    smf.EndOfTrack(t);
    t = smf.AddTrack();
    AddQuarters(smf, t, 1, 20, 48);
    smf.EndOfTrack(t);
    Load(smf);
    m_settings.SetPartCount(3);
    m_settings.SetSplitStepCount(192);
    std::vector<std::string> lines = SplitLines(Convert({ 0, 1, -1 }));
    ASSERT_EQ(15u, lines.size());
    EXPECT_EQ("1100 PLAY \"o4l4cccc\",\"o4l4cccc\",\"\"", lines[10]);
    EXPECT_EQ("1120 PLAY \"cccc\",\"cccc\",\"\"", lines[12]);
    EXPECT_EQ("1130 PLAY \"\",\"cccc\",\"\"", lines[13]);
    EXPECT_EQ("1140 PLAY \"\",\"cccc\",\"\"", lines[14]);
}

TEST_F(ConverterTest, AnEmptyListWritesOnlyItsOctaveAndLength)
{
    // Channel 2 has a program change only.
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.AddMessage(t, 0, { 0xC2, 5 });
    AddQuarters(smf, t, 0, 8, 48);
    smf.EndOfTrack(t);
    Load(smf);
    m_settings.SetPartCount(2);
    m_settings.SetSplitStepCount(192);
    std::vector<std::string> lines = SplitLines(Convert({ 0, 1 }));
    ASSERT_EQ(12u, lines.size());
    EXPECT_EQ("1100 PLAY \"o4l4cccc\",\"o4l1\"", lines[10]);
    EXPECT_EQ("1110 PLAY \"cccc\",\"\"", lines[11]);
}

TEST_F(ConverterTest, ASecondConversionGivesTheSameTextFromAFreshSet)
{
    LoadMelody();
    m_settings.SetSplitStepCount(96);
    std::string first = Convert({ 0 });
    std::string second = Convert({ 0 });
    EXPECT_EQ(Converter::kConvertOk, m_result);
    EXPECT_EQ(first, second);
    EXPECT_EQ(3, Lists().GetSegmentCount(0));
}

TEST_F(ConverterTest, OnlyPlayedListsAreSplitAndDecomposed)
{
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    // Channel 0: a note from tick 29 to 480; channel 1: from 31 to 480.
    smf.NoteOn(t, 29, 0, 60, 100);
    smf.NoteOn(t, 2, 1, 60, 100);
    smf.NoteOff(t, 449, 0, 60);
    smf.NoteOff(t, 0, 1, 60);
    smf.EndOfTrack(t);
    Load(smf);
    // A 32nd note at time base 480 is 60 ticks: 29 rounds down, 31 up.
    m_settings.SetMinimumResolution(13);
    m_settings.SetSplitStepCount(1920);
    Convert({ -1, -1 });
    ASSERT_EQ(Converter::kConvertOk, m_result);
    EXPECT_EQ("60:480", DescribeNoteList(*Lists().GetList(0)));
    EXPECT_EQ("r:60 60:420", DescribeNoteList(*Lists().GetList(1)));
    // A list on a part is cut and decomposed; the other stays quantized.
    Convert({ -1, 1 });
    ASSERT_EQ(Converter::kConvertOk, m_result);
    EXPECT_EQ("60:480", DescribeNoteList(*Lists().GetList(0)));
    EXPECT_EQ("r:60/13 60:360/5& 60:60/13 |", DescribeNoteList(*Lists().GetList(1)));
    Convert({ 0 });
    ASSERT_EQ(Converter::kConvertOk, m_result);
    EXPECT_EQ("60:480/4 |", DescribeNoteList(*Lists().GetList(0)));
    EXPECT_EQ("r:60 60:420", DescribeNoteList(*Lists().GetList(1)));
}

TEST_F(ConverterTest, SplitStepCountIsInTicksOfTheFile)
{
    // Eight bars of quarters: 1920 ticks is one bar at 480 and ten at 48.
    struct Case {
        int timeBase;
        int segments;
    } cases[] = { { 48, 1 }, { 96, 2 }, { 240, 4 }, { 480, 8 } };
    for (const Case& c : cases) {
        SmfBuilder smf(0, c.timeBase);
        int t = smf.AddTrack();
        AddQuarters(smf, t, 0, 32, c.timeBase);
        smf.EndOfTrack(t);
        Load(smf);
        m_settings.SetSplitStepCount(1920);
        m_settings.SetPartCount(1);
        std::vector<std::string> lines = SplitLines(Convert({ 0 }));
        EXPECT_EQ(10u + c.segments, lines.size()) << c.timeBase;
    }
}

TEST_F(ConverterTest, LinesEndOnAWhole192ndNote)
{
    struct Case {
        int split;
        int timeBase;
        int ticks;
    } cases[] = {
        { 7, 48, 7 },     { 1, 48, 1 },     { 1920, 48, 1920 }, { 1, 96, 2 },
        { 99, 96, 98 },   { 243, 240, 240 }, { 4, 240, 5 },     { 487, 480, 480 },
        { 5, 480, 10 },   { 1920, 480, 1920 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.ticks, m_converter.GetSegmentTicks(c.split, c.timeBase)) << c.split << " at " << c.timeBase;

    // A cut 7 ticks after each quarter would lengthen the pieces on both
    // sides; the lines hold one quarter each instead.
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    AddQuarters(smf, t, 0, 4, 480);
    smf.EndOfTrack(t);
    Load(smf);
    m_settings.SetPartCount(1);
    m_settings.SetSplitStepCount(487);
    std::vector<std::string> lines = SplitLines(Convert({ 0 }));
    ASSERT_EQ(14u, lines.size());
    EXPECT_EQ("1100 PLAY \"o4l4c\"", lines[10]);
    EXPECT_EQ("1130 PLAY \"c\"", lines[13]);
}

TEST_F(ConverterTest, RefusalsNameTheSettingAndGiveNoProgram)
{
    LoadMelody();

    // Each refusal with the setting and value it names.
    const int kNone = ConvertStatus::kNoSetting;
    struct Case {
        const char* what;
        int split, parts, line, resolution, kind, voices;
        std::vector<int> assignment;
        int expected, setting, value;
    } cases[] = {
        { "split 0", 0, 6, 1000, 10, 0, 1, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kSplitStepCount, 0 },
        { "split 1921", 1921, 0, 1000, 10, 0, 1, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kSplitStepCount, 1921 },
        { "parts 0", 192, 0, 0, 10, 0, 1, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kPartCount, 0 },
        { "parts 19", 192, 19, 1000, 10, 0, 1, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kPartCount, 19 },
        { "line 0", 192, 6, 0, 18, 0, 1, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kFirstLineNumber, 0 },
        { "line 32001", 192, 6, 32001, 10, 0, 1, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kFirstLineNumber, 32001 },
        { "resolution 18", 192, 6, 1000, 18, 3, 1, { 0 }, Converter::kConvertBadChoice, ConvertStatus::kMinimumResolution, 18 },
        { "resolution -1", 192, 6, 1000, -1, 0, 1, { 0 }, Converter::kConvertBadChoice, ConvertStatus::kMinimumResolution, -1 },
        { "kind 3", 192, 6, 1000, 10, 3, 1, { 7 }, Converter::kConvertBadChoice, ConvertStatus::kPlayKind, 3 },
        { "ordinal 1 of 1 list", 192, 6, 1000, 10, 0, 1, { 0, 1 }, Converter::kConvertBadAssignment, kNone, 1 },
        { "ordinal -2", 192, 6, 1000, 10, 0, 1, { -2 }, Converter::kConvertBadAssignment, kNone, -2 },
        { "voices 0", 192, 6, 1000, 10, 0, 0, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kVoiceCount, 0 },
        { "voices 19", 192, 6, 1000, 10, 0, 19, { 0 }, Converter::kConvertBadSettings, ConvertStatus::kVoiceCount, 19 },
        // An entry beyond the part count is not used, but it must name a list.
        { "ordinal 7 after the parts", 192, 1, 1000, 10, 0, 1, { 0, 7 }, Converter::kConvertBadAssignment, kNone, 7 },
    };
    for (const Case& c : cases) {
        ConvertSettings settings;
        settings.SetSplitStepCount(c.split);
        settings.SetPartCount(c.parts);
        settings.SetFirstLineNumber(c.line);
        settings.SetMinimumResolution(c.resolution);
        settings.SetPlayKind(c.kind);
        settings.SetVoiceCount(c.voices);
        const ConversionResult result = m_converter.Convert(*m_file, settings, c.assignment);
        const ConvertStatus& status = result.GetStatus();
        EXPECT_EQ(c.expected, status.GetResult()) << c.what;
        EXPECT_EQ(c.setting, status.GetSetting()) << c.what;
        EXPECT_EQ(c.value, status.GetValue()) << c.what;
        EXPECT_EQ(c.expected == Converter::kConvertBadAssignment ? 1 : 0, status.GetListCount()) << c.what;
        EXPECT_EQ(0, status.GetSegmentCount()) << c.what;
        EXPECT_FALSE(result.IsOk()) << c.what;
        EXPECT_EQ(nullptr, result.GetLists()) << c.what;
        EXPECT_EQ("", result.GetText()) << c.what;
    }
}

TEST_F(ConverterTest, UnsupportedFilesAreNotConverted)
{
    struct Case {
        int format;
        int timeBase;
        int expected;
        int value;
    } cases[] = { { 2, 48, Converter::kConvertBadFormat, 2 },
                  { 2, 120, Converter::kConvertBadFormat, 2 },
                  { 0, 120, Converter::kConvertBadTimeBase, 120 } };
    for (const Case& c : cases) {
        SmfBuilder smf(c.format, c.timeBase);
        int t = smf.AddTrack();
        AddQuarters(smf, t, 0, 4, 48);
        smf.EndOfTrack(t);
        Load(smf);
        EXPECT_EQ("", Convert({ 0 }));
        EXPECT_EQ(c.expected, m_result);
        EXPECT_EQ(c.value, m_conversion.GetStatus().GetValue());
        EXPECT_EQ(nullptr, m_conversion.GetLists());
    }
}

TEST_F(ConverterTest, BuildPlayLineReplacesItsOutput)
{
    LoadMelody();
    m_set = m_converter.BuildNoteListSet(m_file, m_settings);
    ASSERT_NE(nullptr, m_set);
    m_converter.QuantizeAll(*m_set, 12);
    EXPECT_EQ(1, m_converter.SplitAll(*m_set, 1920));
    m_converter.DecomposeAll(*m_set);
    MmlWriter writers[3];
    writers[1].SetListOrdinal(0);
    writers[1].SetDefaultValue(m_converter.GetDefaultLengthAt(*m_set, 0));
    writers[1].Attach(*m_set, 0);
    std::string line = "old text";
    int length = m_converter.BuildPlayLine(*m_set, writers, 3, 7, line, Converter::kFirstSegmentFlags, nullptr);
    EXPECT_EQ("   7 PLAY \"\",\"o4l4cde2r8>c8\",\"\"\r\n", line);
    EXPECT_EQ(static_cast<int>(line.size()), length);
    // The writer has nothing left: a later line holds empty strings only.
    m_converter.BuildPlayLine(*m_set, writers, 3, 17, line, 0, "PLAY@");
    EXPECT_EQ("  17 PLAY@ \"\",\"\",\"\"\r\n", line);
}

TEST_F(ConverterTest, BuildPlayLinesStartsEveryWriterAtItsListsBeginning)
{
    LoadMelody();
    m_set = m_converter.BuildNoteListSet(m_file, m_settings);
    m_converter.QuantizeAll(*m_set, 12);
    m_converter.SplitAll(*m_set, 96);
    m_converter.DecomposeAll(*m_set);
    MmlWriter writer;
    writer.SetListOrdinal(0);
    writer.SetDefaultValue(m_converter.GetDefaultLengthAt(*m_set, 0));
    const std::string expected = "1100 PLAY \"o4l4cd\"\r\n"
                                 "1110 PLAY \"e2\"\r\n"
                                 "1120 PLAY \"r8>c8\"\r\n";
    EXPECT_EQ(expected, m_converter.BuildPlayLines(*m_set, &writer, 1, 1100, 10, "PLAY"));
    // The octave carries over, but the position starts again.
    writer.SetOctave(4);
    EXPECT_EQ(expected, m_converter.BuildPlayLines(*m_set, &writer, 1, 1100, 10, "PLAY"));
}

TEST_F(ConverterTest, PassesOverAnEmptySet)
{
    NoteListSet* set = m_converter.NewNoteListSet();
    EXPECT_EQ(0, m_converter.QuantizeAll(*set, 12));
    EXPECT_EQ(0, m_converter.SplitAll(*set, 96));
    EXPECT_EQ(0, m_converter.DecomposeAll(*set));
    EXPECT_EQ(0, m_converter.GetListCount(*set));
    m_converter.FreeNoteListSet(set);
}

// BuildPlayLines puts together the lines that BuildPlayLine makes one by one,
// for any mix of parts: unassigned ones, two on one list, lists of different
// lengths, an ordinal the set does not have.
TEST_F(ConverterTest, BuildPlayLinesIsEveryBuildPlayLineInTurn)
{
    SongGenerator song;
    song.SetTrackCount(4);
    song.SetTimeBase(96);
    std::vector<uint8_t> image = song.Build(3000);
    m_file = m_converter.LoadMidiFile(image.data(), image.size());
    ASSERT_NE(nullptr, m_file);
    const std::vector<std::vector<int>> assignments = {
        {0, 1, 2, 3, 4},
        {-1, 2, -1, 2, 0},
        {4, -1},
        {3, 99, 1},
        {-1, -1, -1},
    };
    for (const std::vector<int>& assignment : assignments) {
        m_converter.FreeNoteListSet(m_set);
        m_set = m_converter.BuildNoteListSet(m_file, m_settings);
        ASSERT_NE(nullptr, m_set);
        ASSERT_EQ(5, m_converter.GetListCount(*m_set));
        m_converter.QuantizeAll(*m_set, 6);
        // Short segments: more lines than one block of lines holds.
        EXPECT_LT(512, m_converter.SplitAll(*m_set, 20));
        m_converter.DecomposeAll(*m_set);
        const int parts = static_cast<int>(assignment.size());
        std::vector<MmlWriter> byLine(assignment.size());
        std::vector<MmlWriter> whole(assignment.size());
        int segments = 0;
        for (int p = 0; p < parts; ++p) {
            for (MmlWriter* w : {&byLine[p], &whole[p]}) {
                w->SetListOrdinal(assignment[p]);
                w->SetDefaultValue(m_converter.GetDefaultLengthAt(*m_set, assignment[p]));
            }
            if (assignment[p] >= 0) {
                byLine[p].Attach(*m_set, assignment[p]);
                segments = std::max(segments, m_set->GetSegmentCount(assignment[p]));
            }
        }
        std::string expected;
        std::string line;
        for (int k = 0; k < segments; ++k) {
            m_converter.BuildPlayLine(*m_set, byLine.data(), parts, 500 + 5 * k, line,
                                     k == 0 ? Converter::kFirstSegmentFlags : 0, "PLAY HG");
            expected += line;
        }
        EXPECT_EQ(expected, m_converter.BuildPlayLines(*m_set, whole.data(), parts, 500, 5, "PLAY HG"))
            << "assignment starting " << assignment[0];
    }
}

} // namespace

// Without the lists no part plays, a conversion writes the same program
// and counts the same notes; the played lists are the same, the others
// empty. Left uncounted too, they give the same program and played lists,
// and the result refuses a report.
TEST_F(ConverterTest, UnplayedListsNeedNoRecords)
{
    SongGenerator song;
    song.SetHumanTiming(true);
    const std::vector<uint8_t> image = song.Build(4000);
    m_file = m_converter.LoadMidiFile(image.data(), image.size());
    ASSERT_NE(nullptr, m_file);
    m_settings.SetPartCount(3);
    for (int voices : { 1, 3 }) {
        m_settings.SetVoiceCount(voices);
        for (const std::vector<int>& assignment : { std::vector<int>{}, std::vector<int>{ -1, 4, 1 } }) {
            Converter lean;
            lean.SetKeepUnplayedLists(false);
            const ConversionResult all = assignment.empty()
                                             ? m_converter.ConvertInOrder(*m_file, m_settings)
                                             : m_converter.Convert(*m_file, m_settings, assignment);
            const ConversionResult some = assignment.empty() ? lean.ConvertInOrder(*m_file, m_settings)
                                                             : lean.Convert(*m_file, m_settings, assignment);
            Converter bare;
            bare.SetKeepUnplayedLists(false);
            bare.SetCountUnplayedLists(false);
            const ConversionResult none = assignment.empty() ? bare.ConvertInOrder(*m_file, m_settings)
                                                             : bare.Convert(*m_file, m_settings, assignment);
            ASSERT_EQ(Converter::kConvertOk, some.GetResult()) << voices;
            ASSERT_EQ(Converter::kConvertOk, none.GetResult()) << voices;
            EXPECT_EQ(all.GetText(), some.GetText()) << voices;
            EXPECT_EQ(all.GetText(), none.GetText()) << voices;
            EXPECT_TRUE(some.IsEveryListCounted());
            EXPECT_FALSE(none.IsEveryListCounted());
            ConversionReport report;
            EXPECT_EQ(ConversionReport::kReportNoConversion,
                      report.Compute(*m_file, none, none.GetText()));
            ASSERT_EQ(all.GetListCounts().size(), some.GetListCounts().size());
            ASSERT_EQ(all.GetListCounts().size(), none.GetListCounts().size());
            const std::vector<int>& played = some.GetAssignment();
            for (int i = 0; i < all.GetLists()->GetCount(); ++i) {
                EXPECT_EQ(all.GetListCounts()[i].built, some.GetListCounts()[i].built) << i;
                EXPECT_EQ(all.GetListCounts()[i].quantized, some.GetListCounts()[i].quantized) << i;
                const bool isPlayed = std::find(played.begin(), played.end(), i) != played.end();
                EXPECT_EQ(isPlayed ? all.GetListCounts()[i].built : 0, none.GetListCounts()[i].built) << i;
                EXPECT_EQ(isPlayed ? DescribeNoteList(*all.GetLists()->GetList(i)) : "",
                          DescribeNoteList(*some.GetLists()->GetList(i)))
                    << voices << " voices, list " << i;
                EXPECT_EQ(DescribeNoteList(*some.GetLists()->GetList(i)),
                          DescribeNoteList(*none.GetLists()->GetList(i)));
            }
        }
    }
}
