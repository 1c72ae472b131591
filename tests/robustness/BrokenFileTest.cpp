// Every seed image, broken or odd, through the engine and through
// midi2morvek: refused with the right reason, or read and converted, and
// never a read outside the image (the images are copied to buffers of their
// exact size, so the sanitizer build catches any).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "gen/SeedImages.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"
#include "tests/support/ToolRun.h"

namespace {

typedef SeedImages::Image Image;

const char kHeaderStart[] = "1000 CLEAR 300,&H5600\r\n";

class SeedImageTest : public ::testing::TestWithParam<Image> {};

int ExpectedCheck(int outcome)
{
    switch (outcome) {
    case SeedImages::kBadFormat:
        return Converter::kConvertBadFormat;
    case SeedImages::kBadTimeBase:
        return Converter::kConvertBadTimeBase;
    default:
        return Converter::kConvertOk;
    }
}

// The reason midi2morvek must give after "midi2morvek: FILE: ".
std::string ExpectedReason(const Image& image)
{
    switch (image.outcome) {
    case SeedImages::kNotMidi:
        return "not a well-formed Standard MIDI File";
    case SeedImages::kBadFormat:
        return "format " + std::to_string(image.bytes[9]) + " is not supported";
    case SeedImages::kBadTimeBase:
        return "time base " + std::to_string(image.bytes[12] << 8 | image.bytes[13]) +
               " is not supported";
    default:
        return std::string();
    }
}

// One line on standard error that names the file first, then the reason.
void ExpectRefusal(const ToolRun::Outcome& o, const std::string& path, const std::string& reason)
{
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("", o.out);
    const std::string lead = "midi2morvek: " + path + ": " + reason;
    EXPECT_EQ(lead, o.err.substr(0, lead.size())) << o.err;
    EXPECT_EQ(1, std::count(o.err.begin(), o.err.end(), '\n')) << o.err;
}

TEST_P(SeedImageTest, EngineReadsOrRefusesWithTheRightResult)
{
    const Image& image = GetParam();
    Converter converter;
    // Freed right after the load: nothing may keep pointing into it.
    std::vector<uint8_t>* exact = new std::vector<uint8_t>(image.bytes);
    MidiFile* file = converter.LoadMidiFile(exact->empty() ? nullptr : exact->data(),
                                            static_cast<unsigned long>(exact->size()));
    delete exact;
    if (image.outcome == SeedImages::kNotMidi) {
        EXPECT_EQ(nullptr, file);
        converter.FreeMidiFile(file);
        return;
    }
    ASSERT_NE(nullptr, file);
    ConvertSettings settings;
    settings.SetSplitStepCountForTimeBase(file->GetTimeBase());
    NoteListSet* set = converter.BuildNoteListSet(file, settings);
    ASSERT_NE(nullptr, set);
    EXPECT_EQ(ExpectedCheck(image.outcome), converter.CheckFile(*file));

    std::vector<int> assignment;
    for (int r = 0; r < settings.GetPartCount() && r < converter.GetListCount(*set); ++r)
        assignment.push_back(r);
    const ConversionResult result = converter.Convert(*file, settings, assignment);
    const std::string& text = result.GetText();
    EXPECT_EQ(ExpectedCheck(image.outcome), result.GetResult());
    if (image.outcome == SeedImages::kConverts)
        EXPECT_EQ(converter.BuildHeader(1000, 10), text.substr(0, converter.BuildHeader(1000, 10).size()));
    else
        EXPECT_EQ("", text);
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);
}

TEST_P(SeedImageTest, ToolConvertsOrNamesTheFileAndTheReason)
{
    const Image& image = GetParam();
    ToolRun tool("robustness-convert-" + image.name);
    const std::string path = tool.Write(image.name + ".mid", image.bytes);
    ToolRun::Outcome o = tool.Run({path});
    if (image.outcome == SeedImages::kConverts) {
        EXPECT_EQ(0, o.code) << o.err;
        EXPECT_EQ("", o.err);
        EXPECT_EQ(kHeaderStart, o.out.substr(0, sizeof kHeaderStart - 1));
    } else {
        ExpectRefusal(o, path, ExpectedReason(image));
    }
}

TEST_P(SeedImageTest, ListAndEventsReadEveryWellFormedFile)
{
    const Image& image = GetParam();
    ToolRun tool("robustness-list-" + image.name);
    const std::string path = tool.Write(image.name + ".mid", image.bytes);
    for (const char* command : {"--list", "--events"}) {
        SCOPED_TRACE(command);
        ToolRun::Outcome o = tool.Run({command, path});
        if (image.outcome == SeedImages::kNotMidi) {
            ExpectRefusal(o, path, ExpectedReason(image));
        } else {
            EXPECT_EQ(0, o.code) << o.err;
            EXPECT_EQ("", o.err);
        }
    }
}

std::string TestName(const ::testing::TestParamInfo<Image>& info)
{
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Seeds, SeedImageTest, ::testing::ValuesIn(SeedImages().MakeAll()),
                         TestName);

// What the odd tracks hold: only whole events, later tracks untouched.
TEST(OddTrackTest, EventsBeforeAFaultAreKeptAndLaterTracksRead)
{
    ToolRun tool("robustness-odd");
    struct Case {
        const char* name;
        const char* events;
    };
    const Case cases[] = {
        // The second track starts 48 ticks in and is read whole every time.
        {"sysex-past-chunk", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"
                             "1\t48\t48\t91 3E 64\n1\t144\t96\t81 3E 40\n1\t144\t0\tFF 2F 00\n"},
        {"meta-past-chunk", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"
                            "1\t48\t48\t91 3E 64\n1\t144\t96\t81 3E 40\n1\t144\t0\tFF 2F 00\n"},
        {"message-cut-by-chunk", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"
                                 "1\t48\t48\t91 3E 64\n1\t144\t96\t81 3E 40\n1\t144\t0\tFF 2F 00\n"},
        // Only the low 32 bits of a ten-byte quantity count.
        {"ten-byte-delta", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n0\t101\t5\t90 40 64\n"
                           "0\t197\t96\t80 40 40\n0\t197\t0\tFF 2F 00\n"},
        {"ten-byte-meta-length", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"
                                 "0\t96\t0\tFF 01 8F 80 80 80 80 80 80 80 80 05 68 65 6C 6C 6F\n"
                                 "0\t96\t0\t90 43 64\n0\t144\t48\t90 43 00\n"},
        {"message-cut-at-end", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"},
        {"delta-cut-at-end", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"},
        {"sysex-cut-at-end", "0\t0\t0\t90 3C 64\n0\t96\t96\t80 3C 40\n"},
        // Without any status yet the bytes are kept behind a status of 00.
        {"running-status-without-status", "0\t0\t0\t00 3C 64\n0\t0\t0\t90 3C 64\n"
                                          "0\t96\t96\t90 3C 00\n0\t96\t0\tFF 2F 00\n"},
    };
    std::vector<Image> odd = SeedImages().MakeOddTracks();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto found = std::find_if(odd.begin(), odd.end(),
                                  [&](const Image& i) { return i.name == c.name; });
        ASSERT_NE(odd.end(), found);
        ToolRun::Outcome o = tool.Run({"--events", tool.Write("odd.mid", found->bytes)});
        EXPECT_EQ(0, o.code);
        EXPECT_EQ(c.events, o.out);
    }
}

}  // namespace
