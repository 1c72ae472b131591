// Lines fitted to a limit: none longer than the limit unless one grid step
// alone is, the same notes as without the limit, every part cut at the same
// tick (the report's self-check reads the program back for both), and a
// program that needs no cut exactly as without the limit.
#include "engine/Converter.h"

#include "engine/ConversionReport.h"
#include "engine/ConvertStatus.h"
#include "engine/ProgramReader.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"
#include "settings/ConvertSettings.h"
#include "settings/NoteValueTable.h"
#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Program {
    int result = -1;
    std::string text;
};

Program Convert(const std::vector<uint8_t>& image, const ConvertSettings& given, int voices)
{
    Converter converter;
    ConvertSettings settings = given;
    settings.SetVoiceCount(voices);
    Program program;
    MidiFile* file = converter.LoadMidiFile(image.data(), image.size());
    if (!file)
        return program;
    ConversionResult result = converter.ConvertInOrder(*file, settings);
    program.result = result.GetResult();
    program.text = result.GetText();
    ConversionReport report;
    if (program.result == Converter::kConvertOk &&
        (report.Compute(*file, result, program.text) != ConversionReport::kReportOk ||
         !report.IsSelfCheckPassed()))
        program.text = "self-check: " + report.GetSelfCheckFault();
    converter.FreeMidiFile(file);
    return program;
}

// The lengths of the PLAY lines as the file holds them, line end not counted.
std::vector<size_t> PlayLineLengths(const std::string& text)
{
    ProgramReader reader;
    std::vector<size_t> lengths;
    if (reader.Read(text.data(), text.size(), 48) == ProgramReader::kReadOk) {
        for (const ProgramReader::PlayLine& line : reader.GetPlayLines())
            lengths.push_back(line.length);
    }
    return lengths;
}

std::string Notes(const std::string& text, int timeBase)
{
    ProgramReader reader;
    if (reader.Read(text.data(), text.size(), timeBase) != ProgramReader::kReadOk)
        return "unreadable";
    std::string notes;
    for (int p = 0; p < reader.GetPartCount(); ++p)
        notes += DescribeProgramNotes(reader.GetPart(p)) + "\n";
    return notes;
}

size_t Longest(const std::vector<size_t>& lengths)
{
    size_t longest = 0;
    for (size_t length : lengths)
        longest = std::max(longest, length);
    return longest;
}

// Generated songs played by hand, with voices, at every time base and random
// limits, grids, split step counts and part counts.
TEST(ConverterLineFitTest, FittedLinesHoldTheSameNotesWithinTheLimit)
{
    std::mt19937 dice(21);
    int cut = 0;
    const int resolutions[] = { 13, 10, 17, 7 }; // 32nd, 16th, 192nd, 8th
    for (int timeBase : { 48, 96, 240, 480 }) {
        SongGenerator generator;
        generator.SetTrackCount(3);
        generator.SetTimeBase(timeBase);
        generator.SetSeed(static_cast<uint32_t>(timeBase + 1));
        generator.SetHumanTiming(true);
        const std::vector<uint8_t> image = generator.Build(1500);
        for (int round = 0; round < 4; ++round) {
            ConvertSettings settings;
            settings.SetPartCount(1 + static_cast<int>(dice() % 18));
            settings.SetMinimumResolution(resolutions[dice() % 4]);
            settings.SetSplitStepCount(round == 0 ? 4 * timeBase : 1 + static_cast<int>(dice() % 1920));
            const int voices = 1 + static_cast<int>(dice() % 6);
            const int limit = 40 + static_cast<int>(dice() % 216);
            SCOPED_TRACE(std::to_string(timeBase) + " parts " + std::to_string(settings.GetPartCount()) +
                         " split " + std::to_string(settings.GetSplitStepCount()) + " limit " +
                         std::to_string(limit));
            const Program plain = Convert(image, settings, voices);
            settings.SetLineLimit(limit);
            const Program fitted = Convert(image, settings, voices);
            ASSERT_EQ(Converter::kConvertOk, fitted.result);
            EXPECT_EQ(Notes(plain.text, timeBase), Notes(fitted.text, timeBase));
            cut += plain.text != fitted.text ? 1 : 0;
            const std::vector<size_t> lengths = PlayLineLengths(fitted.text);
            ASSERT_FALSE(lengths.empty()) << fitted.text.substr(0, 200);
            // Over the limit only where one grid step alone is (the
            // self-check also refuses any line the fitting did not find so).
            ProgramReader reader;
            ASSERT_EQ(ProgramReader::kReadOk, reader.Read(fitted.text.data(), fitted.text.size(), timeBase));
            const int grid = NoteValueTable().GetTicksAt(settings.GetMinimumResolution(), timeBase);
            long long start = 0;
            for (int k = 0; k < reader.GetPlayLineCount(); ++k) {
                long long end = 0;
                for (int p = 0; p < reader.GetPartCount(); ++p)
                    end = std::max(end, reader.GetPartEndAt(k, p));
                if (lengths[static_cast<size_t>(k)] > static_cast<size_t>(limit)) {
                    EXPECT_LE(end - start, grid) << "line " << k << " of " << lengths[k];
                }
                start = end;
            }

            // At the longest unfitted line as the limit nothing is cut.
            const size_t longest = Longest(PlayLineLengths(plain.text));
            if (longest >= 40 && longest <= 255) {
                settings.SetLineLimit(static_cast<int>(longest));
                EXPECT_EQ(plain.text, Convert(image, settings, voices).text);
            }
        }
    }
    EXPECT_GT(cut, 8); // most rounds cut lines
}

// Time base 48, one part, a 16th-note grid, one bar (192 ticks) per line:
// ten sixteenths leaping an octave, a dotted quarter, a whole note: a
// first line of 41 characters.
std::vector<uint8_t> LeapingSong()
{
    SmfBuilder smf(0, 48);
    const int track = smf.AddTrack();
    for (int i = 0; i < 10; ++i) {
        smf.NoteOn(track, 0, 0, i % 2 ? 72 : 60, 90);
        smf.NoteOff(track, 12, 0, i % 2 ? 72 : 60);
    }
    smf.NoteOn(track, 0, 0, 63, 90);
    smf.NoteOff(track, 72, 0, 63);
    smf.NoteOn(track, 0, 0, 64, 90);
    smf.NoteOff(track, 192, 0, 64);
    smf.EndOfTrack(track);
    return smf.Build();
}

TEST(ConverterLineFitTest, ALineOfExactlyTheLimitStaysWholeAndOneMoreIsCut)
{
    ConvertSettings settings;
    settings.SetPartCount(1);
    settings.SetMinimumResolution(10);
    settings.SetSplitStepCount(192);
    const Program plain = Convert(LeapingSong(), settings, 1);
    const std::string header = plain.text.substr(0, plain.text.find("1100 "));
    ASSERT_EQ(header + "1100 PLAY \"o4l16c>c<c>c<c>c<c>c<c>c<d+4.\"\r\n"
                       "1110 PLAY \"e1\"\r\n",
              plain.text);
    settings.SetLineLimit(41);
    EXPECT_EQ(plain.text, Convert(LeapingSong(), settings, 1).text);
    // At 40 the cuts at 16ths inside the dotted quarter give "<d+8.&" (42
    // characters), "<d+8&" and "<d+4&" (41) and "<d+&" (40): the last fits.
    // The next line may again hold a whole bar.
    settings.SetLineLimit(40);
    EXPECT_EQ(header + "1100 PLAY \"o4l16c>c<c>c<c>c<c>c<c>c<d+&\"\r\n"
                       "1110 PLAY \"d+4&d+e2&e8.&\"\r\n"
                       "1120 PLAY \"e4&e\"\r\n",
              Convert(LeapingSong(), settings, 1).text);
}

// Eighteen parts' quotes and commas alone are over 40: every line takes one
// grid step, the self-check passes and the report says why.
TEST(ConverterLineFitTest, AStepTooWideIsTakenAndReported)
{
    const std::vector<uint8_t> image = LeapingSong();
    Converter converter;
    MidiFile* file = converter.LoadMidiFile(image.data(), image.size());
    ASSERT_NE(nullptr, file);
    ConvertSettings settings;
    settings.SetPartCount(18);
    settings.SetMinimumResolution(7); // 8th notes: 16 steps of 24 ticks
    settings.SetSplitStepCount(192);
    settings.SetLineLimit(40);
    const ConversionResult result = converter.Convert(*file, settings, {0});
    ASSERT_EQ(Converter::kConvertOk, result.GetResult());
    ConversionReport report;
    ASSERT_EQ(ConversionReport::kReportOk, report.Compute(*file, result, result.GetText()));
    EXPECT_TRUE(report.IsSelfCheckPassed()) << report.GetSelfCheckFault();
    EXPECT_EQ(16, report.GetPlayLineCount());
    EXPECT_EQ(16, report.GetLongLineCount());
    EXPECT_EQ("", report.GetWarningText(ConversionReport::kWarnLongLines));
    EXPECT_EQ("PLAY line 1100 and 15 more: a single grid step of music is over the limit of 40 "
              "characters (the longest line has 68): set a larger limit, fewer parts or a "
              "coarser grid",
              report.GetWarningText(ConversionReport::kWarnWideSteps));
    converter.FreeMidiFile(file);
}

TEST(ConverterLineFitTest, OffIsTheDefaultAndOutOfRangeIsRefused)
{
    ConvertSettings settings;
    EXPECT_EQ(ConvertSettings::kLineLimitOff, settings.GetLineLimit());
    for (int limit : { 39, 256, -1 }) {
        settings.SetLineLimit(limit);
        EXPECT_EQ(Converter::kConvertBadSettings, Convert(LeapingSong(), settings, 1).result) << limit;
    }
}

} // namespace
