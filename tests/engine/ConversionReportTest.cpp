// The report must not lie: songs built so that every figure is known, lines
// forced over the limit and line numbers past 65529, and damaged programs
// that the self-check must catch.
#include "engine/ConversionReport.h"

#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "gen/DemoSong.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "score/NoteList.h"
#include "score/NoteListBuilder.h"
#include "score/NoteListSet.h"
#include "text/CodePage.h"
#include "text/TextTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

// Loads an image, converts it and computes the report of the program.
class Conversion {
public:
    explicit Conversion(const std::vector<uint8_t>& image)
    {
        m_file = m_converter.LoadMidiFile(image.data(), image.size());
        settings.SetSplitStepCountForTimeBase(m_file ? m_file->GetTimeBase() : 48);
    }
    ~Conversion()
    {
        m_converter.FreeMidiFile(m_file);
    }

    // Every list on a part of its own, in order.
    std::vector<int> AllLists() const
    {
        std::vector<int> all;
        const int lists = m_file ? m_converter.CountLists(*m_file, settings) : 0;
        for (int i = 0; i < lists && i < settings.GetPartCount(); ++i)
            all.push_back(i);
        return all;
    }

    std::string Convert(const std::vector<int>& assignment)
    {
        result = m_converter.Convert(*m_file, settings, assignment);
        EXPECT_EQ(Converter::kConvertOk, result.GetResult());
        return result.GetText();
    }

    // The report of the last conversion with text as its program.
    void Report(const std::string& text)
    {
        ASSERT_EQ(ConversionReport::kReportOk, report.Compute(*m_file, result, text));
    }

    const MidiFile& File() const { return *m_file; }

    ConvertSettings settings;
    ConversionResult result;
    ConversionReport report;

private:
    Converter m_converter;
    MidiFile* m_file = nullptr;
};

// Track 1, channel 0: four three-note chords (the last two in octaves -1
// and 9), a note of 2 ticks that the 32nd-note grid removes, a last note.
// Track 2, channel 1: five notes nobody assigns. Time base 96.
std::vector<uint8_t> KnownSong()
{
    SmfBuilder smf(1, 96);
    smf.Tempo(smf.AddTrack(), 0, 500000);
    smf.EndOfTrack(0);
    const int chords = smf.AddTrack();
    const int roots[] = { 60, 62, 10, 120 };
    for (int root : roots) {
        for (int k : { 0, 4, 7 })
            smf.NoteOn(chords, 0, 0, root + k, 90);
        for (int k : { 0, 4, 7 })
            smf.NoteOff(chords, k == 0 ? 96 : 0, 0, root + k);
    }
    smf.NoteOn(chords, 0, 0, 64, 90);
    smf.NoteOff(chords, 2, 0, 64);
    smf.NoteOn(chords, 0, 0, 72, 90);
    smf.NoteOff(chords, 94, 0, 72);
    smf.EndOfTrack(chords);
    const int other = smf.AddTrack();
    for (int i = 0; i < 5; ++i) {
        smf.NoteOn(other, 0, 1, 48, 90);
        smf.NoteOff(other, 96, 1, 48);
    }
    smf.EndOfTrack(other);
    return smf.Build();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

size_t Longest(const std::string& text)
{
    size_t longest = 0;
    for (const std::string& line : Lines(text))
        longest = std::max(longest, line.size());
    return longest;
}

TEST(ConversionReportTest, CountsEveryFigureOfAKnownSong)
{
    Conversion c(KnownSong());
    c.settings.SetPartCount(2);
    const std::vector<int> assignment = { 0 };
    const std::string text = c.Convert(assignment);
    c.Report(text);
    EXPECT_EQ("Conversion report\n"
              "kept 5 of 19 notes (26.3%)\n"
              "\n"
              "Warnings\n"
              "left-out\t1 list with 5 notes is on no part (music left out): use more parts and "
              "assign them\n"
              "overlaps\t8 notes were lost where notes of one track and channel overlap (chords): "
              "a list plays one note at a time; give the other notes parts or voices of their own\n"
              "vanished\t1 note shorter than the grid vanished in quantization: choose a finer "
              "minimum resolution\n"
              "octaves\t2 notes lie outside octaves 1 to 8, which the machine may not play\n"
              "\n"
              "Lists\n"
              "list\ttrack\tchannel\tplayed\tkept\tlost\tvanished\tpart\n"
              "0\t1\t0\t14\t6\t8\t1\t0\n"
              "1\t2\t1\t5\t5\t0\t0\tnot assigned\n"
              "\n"
              "Parts\n"
              "part\tlist\tnotes\tlowest octave\thighest octave\toutside octaves 1-8\n"
              "0\t0\t5\t-1\t9\t2\n"
              "1\t-\t0\t-\t-\t0\n"
              "\n"
              "Program\n"
              "PLAY lines\t2\n"
              "bytes\t" + std::to_string(text.size()) + "\n"
              "longest line\t" + std::to_string(Longest(text)) + "\n"
              "line limit\t255\n"
              "lines over the limit\t0\n"
              "last line number\t1110\n"
              "past 65529\tno\n"
              "\n"
              "Self-check\n"
              "passed\n",
              c.report.Format());
    EXPECT_EQ(4, c.report.GetWarningCount());
}

// The window's Japanese report: every word from the Japanese table, none
// left in English (PLAY is the statement's own name).
TEST(ConversionReportTest, JapaneseReportHasNoEnglishWords)
{
    Conversion c(KnownSong());
    c.settings.SetPartCount(2);
    const std::vector<int> assignment = { 0 };
    c.Report(c.Convert(assignment));
    ASSERT_EQ(4, c.report.GetWarningCount());
    std::string text = c.report.Format(TextTable(TextTable::kJapanese));
    for (size_t at = text.find("PLAY"); at != std::string::npos; at = text.find("PLAY"))
        text.erase(at, 4);
    const CodePage japanese = CodePage::Japanese();
    for (const char* p = text.c_str(); *p; p = japanese.Next(p))
        ASSERT_FALSE(std::isalpha(static_cast<unsigned char>(*p)) && !japanese.IsLeadByte(*p)) << p;
}

// With three voices the chords of the known song are kept whole, and the
// report counts the lists the conversion made with them.
TEST(ConversionReportTest, CountsTheListsOfTheConversionsVoices)
{
    {
        Conversion c(KnownSong());
        c.settings.SetVoiceCount(3);
        c.settings.SetPartCount(4);
        const std::vector<int> assignment = { 0, 1, 2, 3 };
        const std::string text = c.Convert(assignment);
        c.Report(text);
        EXPECT_TRUE(c.report.IsSelfCheckPassed()) << c.report.GetSelfCheckFault();
        EXPECT_EQ(19, c.report.GetPlayedTotal());
        EXPECT_EQ(18, c.report.GetKeptTotal());
        long long lost = 0;
        for (const ConversionReport::ListRow& row : c.report.GetListRows())
            lost += row.lost;
        EXPECT_EQ(0, lost);
        const std::string lists = "Lists\n"
                                  "list\ttrack\tchannel\tplayed\tkept\tlost\tvanished\tpart\tvoice\n"
                                  "0\t1\t0\t14\t6\t0\t1\t0\t1\n"
                                  "1\t1\t0\t\t4\t\t0\t1\t2\n"
                                  "2\t1\t0\t\t4\t\t0\t2\t3\n"
                                  "3\t2\t1\t5\t5\t0\t0\t3\t1\n\n";
        EXPECT_NE(std::string::npos, c.report.Format().find(lists)) << c.report.Format();
    }
}

// One line of 160 sixteenth notes jumping an octave: about three
// characters a note.
TEST(ConversionReportTest, CountsLinesOverTheLimit)
{
    SmfBuilder smf(0, 48);
    const int track = smf.AddTrack();
    for (int i = 0; i < 320; ++i) {
        smf.NoteOn(track, 0, 0, i % 2 ? 72 : 60, 90);
        smf.NoteOff(track, 12, 0, i % 2 ? 72 : 60);
    }
    smf.EndOfTrack(track);
    Conversion c(smf.Build());
    c.settings.SetSplitStepCount(1920);
    const std::string text = c.Convert(c.AllLists());
    c.Report(text);
    EXPECT_EQ(2, c.report.GetPlayLineCount());
    EXPECT_EQ(2, c.report.GetLongLineCount());
    EXPECT_EQ(static_cast<long long>(Longest(text)), c.report.GetLongestLine());
    EXPECT_GT(c.report.GetLongestLine(), 255);
    EXPECT_EQ("2 PLAY lines are longer than 255 characters (the longest has " +
                  std::to_string(Longest(text)) + "): choose a smaller split step count",
              c.report.GetWarningText(ConversionReport::kWarnLongLines));

    c.report.SetLineLimit(static_cast<int>(Longest(text)));
    c.Report(text);
    EXPECT_EQ(0, c.report.GetLongLineCount());
    EXPECT_EQ("", c.report.GetWarningText(ConversionReport::kWarnLongLines));
}

struct NumberCase {
    int ticks;     // one note this long, one PLAY line a tick
    long long last;
    bool warned;
};

class ConversionReportNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ConversionReportNumberTest, WarnsPastTheHighestLineNumber)
{
    SmfBuilder smf(0, 48);
    const int track = smf.AddTrack();
    smf.NoteOn(track, 0, 0, 60, 90);
    smf.NoteOff(track, static_cast<uint32_t>(GetParam().ticks), 0, 60);
    smf.EndOfTrack(track);
    Conversion c(smf.Build());
    c.settings.SetSplitStepCount(1);
    c.settings.SetMinimumResolution(17); // a 192nd note: the note keeps every tick
    c.settings.SetFirstLineNumber(32000);
    const std::string text = c.Convert(c.AllLists());
    c.Report(text);
    EXPECT_EQ(GetParam().last, c.report.GetLastLineNumber());
    EXPECT_EQ(GetParam().warned, !c.report.GetWarningText(ConversionReport::kWarnLineNumbers).empty());
    EXPECT_TRUE(c.report.IsSelfCheckPassed()) << c.report.GetSelfCheckFault();
}

INSTANTIATE_TEST_SUITE_P(Report, ConversionReportNumberTest, ::testing::Values(
    NumberCase{ 3343, 65520, false }, NumberCase{ 3344, 65530, true }));

struct DamageCase {
    const char* from; // replaced once in the demo's program
    const char* to;
    const char* fault;
};

class ConversionReportDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ConversionReportDamageTest, SelfCheckCatchesADamagedProgram)
{
    Conversion c(DemoSong().Build());
    std::string text = c.Convert(c.AllLists());
    c.Report(text);
    ASSERT_TRUE(c.report.IsSelfCheckPassed()) << c.report.GetSelfCheckFault();

    const size_t at = text.find(GetParam().from);
    ASSERT_NE(std::string::npos, at) << GetParam().from;
    text.replace(at, std::string(GetParam().from).size(), GetParam().to);
    c.Report(text);
    EXPECT_EQ(GetParam().fault, c.report.GetSelfCheckFault());
    const std::string format = c.report.Format();
    EXPECT_EQ(format.find("\nWarnings\n") + 10, format.find("self-check\tthe self-check failed: "));
}

INSTANTIATE_TEST_SUITE_P(Report, ConversionReportDamageTest, ::testing::Values(
    DamageCase{ ">ed8c8eg", ">fd8c8eg",
                "part 0: note 1 is key 77 at tick 0 for 480 ticks in the program, key 76 at tick 0 "
                "for 480 ticks in its list" },
    DamageCase{ "\"o4l4<<cg>c<g\"", "\"o4l4<<cg>c\"",
                "PLAY line 1100: part 1 ends at tick 1440 where the line ends at tick 1920" },
    DamageCase{ "1170 PLAY", "1170 REM PLAY", "part 0: the program has 32 notes where its list has 35" },
    DamageCase{ "\"o4l2cc\"", "\"o4l2cx\"",
                "the program cannot be read back: line 11 column 47: not an MML command" },
    DamageCase{ ",\"\"\r\n1110", "\r\n1110",
                "the program cannot be read back: line 12 column 41: 6 strings where the first PLAY "
                "line has 5" }));

long long CountNotes(NoteList& list)
{
    long long notes = 0;
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
        notes += p->IsNote() ? 1 : 0;
    return notes;
}

// The rows of a report must count the lists as the conversion built them:
// the lists made again from the file, as built and as quantized.
void ExpectRowsOfFreshLists(const Conversion& c, const ConversionReport& report)
{
    NoteListSet raw;
    NoteListSet quantized;
    NoteListBuilder builder;
    builder.BuildNoteLists(c.File(), c.settings, raw);
    builder.BuildQuantizedNoteLists(c.File(), c.settings, quantized,
                                    c.settings.GetResolutionUnit(c.File().GetTimeBase()));
    const std::vector<ConversionReport::ListRow>& rows = report.GetListRows();
    ASSERT_EQ(static_cast<size_t>(raw.GetCount()), rows.size());
    for (int i = 0; i < raw.GetCount(); ++i) {
        const ConversionReport::ListRow& row = rows[static_cast<size_t>(i)];
        NoteListIdentity identity;
        raw.GetList(i)->GetIdentity(identity);
        EXPECT_EQ(identity.track, row.identity.track) << i;
        EXPECT_EQ(identity.channel, row.identity.channel) << i;
        EXPECT_EQ(identity.voice, row.identity.voice) << i;
        EXPECT_EQ(CountNotes(*raw.GetList(i)), row.kept) << i;
        EXPECT_EQ(row.kept - CountNotes(*quantized.GetList(i)), row.vanished) << i;
    }
}

// Generated songs with chords, overlaps and drums under many settings and
// voice counts: the program always proves itself, the counts add up, and
// the lists are counted as made.
TEST(ConversionReportPropertyTest, SelfCheckPassesAndCountsAddUp)
{
    const int timeBases[] = { 48, 96, 240, 480 };
    struct { int resolution, split, kind, voices; } settings[] = {
        { 13, 0, 0, 1 }, { 17, 7, 1, 3 }, { 0, 1920, 2, 1 }, { 10, 96, 0, 6 }, { 16, 1, 1, 2 }
    };
    for (int timeBase : timeBases) {
        SongGenerator generator;
        generator.SetTrackCount(4);
        generator.SetTimeBase(timeBase);
        generator.SetSeed(static_cast<uint32_t>(timeBase));
        Conversion c(generator.Build(2000));
        for (const auto& s : settings) {
            c.settings.SetPartCount(18);
            c.settings.SetMinimumResolution(s.resolution);
            if (s.split > 0)
                c.settings.SetSplitStepCount(s.split);
            c.settings.SetPlayKind(s.kind);
            c.settings.SetVoiceCount(s.voices);
            const std::string text = c.Convert(c.AllLists());
            c.Report(text);
            SCOPED_TRACE(std::to_string(timeBase) + " " + std::to_string(s.resolution) + " " +
                         std::to_string(s.split) + " " + std::to_string(s.voices));
            ExpectRowsOfFreshLists(c, c.report);
            EXPECT_TRUE(c.report.IsSelfCheckPassed()) << c.report.GetSelfCheckFault();
            long long played = 0, kept = 0, lost = 0, vanished = 0, written = 0;
            for (const ConversionReport::ListRow& row : c.report.GetListRows()) {
                played += row.played;
                kept += row.kept;
                lost += row.lost;
                vanished += row.vanished;
                EXPECT_GE(row.lost, 0);
                EXPECT_GE(row.vanished, 0);
            }
            for (const ConversionReport::PartRow& row : c.report.GetPartRows())
                written += row.notes;
            EXPECT_EQ(c.report.GetPlayedTotal(), played);
            EXPECT_EQ(played, kept + lost);
            EXPECT_EQ(kept - vanished, written);
            EXPECT_EQ(written, c.report.GetKeptTotal());
        }
    }
}

} // namespace
