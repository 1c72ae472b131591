// Work that grows with the music's length rather than the file's size: a
// file of a few bytes can hold a note of 0x0FFFFFFF ticks. Cut into
// segments of a few ticks it would need hundreds of millions of records and
// PLAY lines; the converter refuses that before it cuts anything, and
// midi2morvek says so, and refuses to write an oversized program unless told.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/ConvertCommand.h"
#include "settings/ConvertSettings.h"
#include "engine/ConvertStatus.h"
#include "engine/Converter.h"
#include "gen/SeedImages.h"
#include "gen/SmfBuilder.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"
#include "tests/support/ToolRun.h"

namespace {

typedef std::vector<uint8_t> Bytes;

const int kLongest = 0x0FFFFFFF;

struct Conversion {
    int result;
    std::string text;
    long long segmentsBefore;                        // CountSegments of the set as loaded
};

// Converts with one part on list 0 and the 192nd-note grid, which moves nothing.
Conversion Convert(const Bytes& image, int splitStepCount)
{
    Converter converter;
    MidiFile* file = converter.LoadMidiFile(image.data(), static_cast<unsigned long>(image.size()));
    EXPECT_NE(nullptr, file);
    if (file == nullptr)
        return Conversion{-1, std::string(), 0};
    ConvertSettings settings;
    settings.SetPartCount(1);
    settings.SetMinimumResolution(17);
    settings.SetSplitStepCount(splitStepCount);
    NoteListSet* set = converter.BuildNoteListSet(file, settings);
    Conversion c;
    c.segmentsBefore =
        converter.CountSegments(*set, converter.GetSegmentTicks(splitStepCount, file->GetTimeBase()));
    const ConversionResult result = converter.Convert(*file, settings, {0});
    c.result = result.GetResult();
    c.text = result.GetText();
    if (c.result != Converter::kConvertOk) {
        EXPECT_EQ(nullptr, result.GetLists());
    }
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);
    return c;
}

// Notes of key 60 back to back, lasting the given ticks.
Bytes Notes(int timeBase, const std::vector<int>& lengths)
{
    SmfBuilder b(0, timeBase);
    int t = b.AddTrack();
    for (int length : lengths) {
        b.NoteOn(t, 0, 0, 60, 100);
        b.NoteOff(t, static_cast<uint32_t>(length), 0, 60);
    }
    b.EndOfTrack(t);
    return b.Build();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(LongMusicTest, LongestNoteWithSplit1920Converts)
{
    Conversion c = Convert(SeedImages().MakeLongNote(48), 1920);
    ASSERT_EQ(Converter::kConvertOk, c.result);
    // 268,435,455 ticks in lines of 1920: 139,810 lines of ten tied whole
    // notes and one of the remaining 255 ticks.
    std::vector<std::string> lines = Lines(c.text);
    ASSERT_EQ(10u + 139811u, lines.size());
    EXPECT_EQ("1100 PLAY \"o4l1c&c&c&c&c&c&c&c&c&c&\"", lines[10]);
    EXPECT_EQ("1110 PLAY \"c&c&c&c&c&c&c&c&c&c&\"", lines[11]);
    EXPECT_EQ("1399200 PLAY \"c&c4&c16&c64\"", lines.back());
}

TEST(LongMusicTest, LongestNoteWithSplit1IsRefusedBeforeCutting)
{
    for (int timeBase : {48, 480}) {
        SCOPED_TRACE(timeBase);
        Conversion c = Convert(SeedImages().MakeLongNote(timeBase), 1);
        EXPECT_EQ(Converter::kConvertTooLarge, c.result);
        EXPECT_EQ("", c.text);
        // At time base 480 a line holds at least one 192nd note: 10 ticks.
        EXPECT_EQ(timeBase == 48 ? kLongest : (kLongest + 9) / 10, c.segmentsBefore);
    }
}

TEST(LongMusicTest, SegmentLimitIsExact)
{
    // 250,000 lines of 1920 ticks, then one tick more.
    const long long total = 1920LL * Converter::kMaxSegmentTotal;
    const int second = static_cast<int>(total - kLongest);
    Conversion atLimit = Convert(Notes(48, {kLongest, second}), 1920);
    EXPECT_EQ(Converter::kConvertOk, atLimit.result);
    EXPECT_EQ(Converter::kMaxSegmentTotal, atLimit.segmentsBefore);
    EXPECT_EQ(10u + Converter::kMaxSegmentTotal,
              static_cast<size_t>(std::count(atLimit.text.begin(), atLimit.text.end(), '\n')));
    Conversion above = Convert(Notes(48, {kLongest, second + 1}), 1920);
    EXPECT_EQ(Converter::kConvertTooLarge, above.result);
    EXPECT_EQ(Converter::kMaxSegmentTotal + 1, above.segmentsBefore);
}

// Channel 0: a note of 96 ticks; channel 1: the longest note, which cut
// every tick would be far too long for a program.
Bytes ShortAndLong()
{
    SmfBuilder b(0, 48);
    int t = b.AddTrack();
    b.NoteOn(t, 0, 0, 60, 100);
    b.NoteOn(t, 0, 1, 62, 100);
    b.NoteOff(t, 96, 0, 60);
    b.NoteOff(t, static_cast<uint32_t>(kLongest - 96), 1, 62);
    b.EndOfTrack(t);
    return b.Build();
}

TEST(LongMusicTest, OnlyPlayedListsCountTowardsTheLimit)
{
    Converter converter;
    const Bytes image = ShortAndLong();
    MidiFile* file = converter.LoadMidiFile(image.data(), static_cast<unsigned long>(image.size()));
    ASSERT_NE(nullptr, file);
    ConvertSettings settings;
    settings.SetPartCount(2);
    settings.SetMinimumResolution(17);
    settings.SetSplitStepCount(1);
    struct Case {
        std::vector<int> assignment;
        int result;
        long long segments;
    } cases[] = {
        {{0}, Converter::kConvertOk, 0},
        {{0, -1, 1}, Converter::kConvertOk, 0},            // list 1 only after the parts
        {{0, 1}, Converter::kConvertTooLarge, 96LL + kLongest},
        {{1, 1}, Converter::kConvertTooLarge, kLongest}, // a list two parts play is cut once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment.size());
        const ConversionResult result = converter.Convert(*file, settings, c.assignment);
        const std::string& text = result.GetText();
        const ConvertStatus& status = result.GetStatus();
        EXPECT_EQ(c.result, status.GetResult());
        EXPECT_EQ(c.segments, status.GetSegmentCount());
        if (c.result == Converter::kConvertOk) {
            EXPECT_EQ(10u + 96u, Lines(text).size());
            EXPECT_EQ("1100 PLAY \"o4l192c&\",\"\"", Lines(text)[10]);
        } else {
            EXPECT_EQ(1, status.GetValue());
            EXPECT_EQ(nullptr, result.GetLists());
        }
    }
    // The count Convert refuses by, over the lists as built (a 192nd at 48 is a tick).
    NoteListSet* built = converter.BuildNoteListSet(file, settings);
    ASSERT_NE(nullptr, built);
    EXPECT_EQ(96 + kLongest, converter.CountPlayedSegments(*built, 1, {1, 0, 1}, 3));
    EXPECT_EQ(96, converter.CountPlayedSegments(*built, 1, {0, 1}, 1));
    EXPECT_EQ(0, converter.CountPlayedSegments(*built, 1, {-1, 7}, 2));
    EXPECT_EQ(2, converter.CountPlayedSegments(*built, 48, {0}, 1));
    converter.FreeNoteListSet(built);
    converter.FreeMidiFile(file);

    ToolRun tool("robustness-played-lists");
    const std::string path = tool.Write("short-and-long.mid", image);
    ToolRun::Outcome o = tool.Run({"-s", "1", "-r", "192", "-a", "0", path});
    EXPECT_EQ(0, o.code) << o.err;
    EXPECT_EQ(10 + 96, std::count(o.out.begin(), o.out.end(), '\n'));
    o = tool.Run({"-s", "1", "-r", "192", path});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("midi2morvek: " + path + ": the music is too long for split step count 1: about "
              "268435551 segments, more than the 250000 a conversion may cut; choose a larger "
              "--split\n", o.err);
}

TEST(LongMusicTest, DeltaWithBit31SetIsALongTimeNotANegativeOne)
{
    // Five delta bytes can say 0xFFFFFFFF; the file's time only moves on.
    SmfBuilder b(0, 96);
    int t = b.AddTrack();
    b.NoteOn(t, 0, 0, 60, 100);
    Bytes image = b.Build();
    // Note off after 0xFFFFFFFF ticks, the next note on after 0x80000000.
    const Bytes tail = {0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 0x3C, 0x40,
                        0x88, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3E, 0x64};
    image.insert(image.end(), tail.begin(), tail.end());
    const size_t length = image.size() - 22;
    for (int i = 0; i < 4; ++i)
        image[18 + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (24 - 8 * i));

    ToolRun tool("robustness-delta-bit-31");
    const std::string path = tool.Write("bit31.mid", image);
    ToolRun::Outcome o = tool.Run({"--list", path});
    EXPECT_EQ(0, o.code) << o.err;
    // The note and the rest after it both last the largest length there is.
    EXPECT_NE(std::string::npos, o.out.find("0\t0\t0\t2,147,483,647\n")) << o.out;
    o = tool.Run({path});
    EXPECT_EQ(1, o.code);
    const std::string lead = "midi2morvek: " + path + ": the music is too long for split step count 384";
    EXPECT_EQ(lead, o.err.substr(0, lead.size()));
}

TEST(LongMusicTest, ToolNamesTheFileAndSaysWhy)
{
    ToolRun tool("robustness-long-music");
    const std::string path = tool.Write("long.mid", SeedImages().MakeLongNote(480));
    ToolRun::Outcome o = tool.Run({"--split", "1", path});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("", o.out);
    // The count is the converter's own: the note on the 32nd-note grid (60
    // ticks) lasts 268,435,440 ticks, cut in lines of 10.
    EXPECT_EQ("midi2morvek: " + path + ": the music is too long for split step count 1: about "
              "26843544 segments, more than the 250000 a conversion may cut; choose a larger "
              "--split\n", o.err);
    // The default split step count at time base 480 (1920) is fine.
    o = tool.Run({path});
    EXPECT_EQ(0, o.code) << o.err;
    EXPECT_EQ(10u + 139811u, static_cast<size_t>(std::count(o.out.begin(), o.out.end(), '\n')));
}

TEST(LongMusicTest, OversizedProgramIsWrittenOnlyWhenForced)
{
    ToolRun tool("robustness-oversized");
    const std::string path = tool.Write("demo.mid", SeedImages().MakeAll().front().bytes);
    const std::string target = tool.Write("program.txt", {});
    ToolRun::Outcome whole = tool.Run({path});
    ASSERT_EQ(0, whole.code);

    for (bool force : {false, true}) {
        SCOPED_TRACE(force);
        ConvertCommand* command = new ConvertCommand;
        EXPECT_EQ(ConvertCommand::kLargestUnforcedProgram,
                  command->SetLargestUnforcedProgram(whole.out.size() - 1));
        CliApp app;
        app.AddCommand(command);
        std::vector<const char*> argv = {"midi2morvek", path.c_str(), "--output", target.c_str()};
        if (force)
            argv.push_back("--force");
        std::ostringstream out;
        std::ostringstream err;
        int code = app.Run(static_cast<int>(argv.size()), argv.data(), out, err);
        std::ifstream written(target, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
        if (force) {
            EXPECT_EQ(0, code);
            EXPECT_EQ("", err.str());
            EXPECT_EQ(whole.out, text);
        } else {
            EXPECT_EQ(1, code);
            EXPECT_EQ("", text);
            const size_t lines = static_cast<size_t>(std::count(whole.out.begin(), whole.out.end(), '\n'));
            EXPECT_EQ("midi2morvek: " + path + ": the program would be " +
                          std::to_string(whole.out.size()) + " bytes in " + std::to_string(lines) +
                          " lines, more than the " + std::to_string(whole.out.size() - 1) +
                          " bytes written without --force; use --force to write it\n",
                      err.str());
        }
    }
}

}  // namespace
