// A file cut short anywhere: by a download that stopped (every prefix of the
// image), or inside its last track with the chunk length still telling the
// truth (a message cut at the end of the image).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "gen/SeedImages.h"
#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteListSet.h"
#include "tests/support/ToolRun.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Named(const std::string& name)
{
    for (const SeedImages::Image& image : SeedImages().MakeAll()) {
        if (image.name == name)
            return image.bytes;
    }
    ADD_FAILURE() << "no seed image " << name;
    return Bytes();
}

// Loads a copy of exactly the first size bytes.
MidiFile* LoadPrefix(Converter& converter, const Bytes& image, size_t size)
{
    std::vector<uint8_t> exact(image.begin(), image.begin() + static_cast<long>(size));
    return converter.LoadMidiFile(exact.empty() ? nullptr : exact.data(),
                                  static_cast<unsigned long>(exact.size()));
}

// One text per event of a track: delta and record bytes.
std::vector<std::string> Events(const MidiTrack& track)
{
    std::vector<std::string> events;
    for (MidiTrack::Position p = track.GetPosition(0); p != track.GetPosition(1); ++p) {
        std::string text = std::to_string((*p)->GetDelta()) + ":";
        for (int b = 0; b < (*p)->GetLength(); ++b)
            text += std::to_string((*p)->GetData()[b]) + " ";
        events.push_back(text);
    }
    return events;
}

// Offset of the last track chunk's header.
size_t LastChunk(const Bytes& image)
{
    size_t position = 8 + (static_cast<size_t>(image[4]) << 24 | image[5] << 16 | image[6] << 8 | image[7]);
    size_t last = position;
    while (position + 8 <= image.size()) {
        last = position;
        position += 8 + (static_cast<size_t>(image[position + 4]) << 24 | image[position + 5] << 16 |
                         image[position + 6] << 8 | image[position + 7]);
    }
    return last;
}

class TruncationTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TruncationTest, EveryPrefixIsRefused)
{
    const Bytes image = Named(GetParam());
    Converter converter;
    for (size_t size = 0; size < image.size(); ++size) {
        MidiFile* file = LoadPrefix(converter, image, size);
        EXPECT_EQ(nullptr, file) << "cut at " << size;
        converter.FreeMidiFile(file);
    }
    MidiFile* whole = LoadPrefix(converter, image, image.size());
    EXPECT_NE(nullptr, whole);
    converter.FreeMidiFile(whole);
}

TEST_P(TruncationTest, EveryCutInsideTheLastTrackKeepsTheWholeEventsBeforeIt)
{
    const Bytes image = Named(GetParam());
    const size_t chunk = LastChunk(image);
    Converter converter;
    MidiFile* whole = LoadPrefix(converter, image, image.size());
    ASSERT_NE(nullptr, whole);
    const int last = whole->GetTrackCount() - 1;
    const std::vector<std::string> all = Events(*whole->GetTrack(last));

    size_t kept = 0;
    for (size_t size = chunk + 8; size <= image.size(); ++size) {
        // The chunk says how long it now is: the structure stays sound and
        // only the last message is cut.
        Bytes cut(image.begin(), image.begin() + static_cast<long>(size));
        const size_t length = size - chunk - 8;
        for (int i = 0; i < 4; ++i)
            cut[chunk + 4 + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (24 - 8 * i));
        MidiFile* file = LoadPrefix(converter, cut, cut.size());
        ASSERT_NE(nullptr, file) << "cut at " << size;
        const std::vector<std::string> events = Events(*file->GetTrack(last));
        ASSERT_LE(events.size(), all.size());
        EXPECT_TRUE(std::equal(events.begin(), events.end(), all.begin())) << "cut at " << size;
        EXPECT_GE(events.size(), kept) << "cut at " << size;
        kept = events.size();

        ConvertSettings settings;
        EXPECT_EQ(Converter::kConvertOk, converter.ConvertInOrder(*file, settings).GetResult());
        converter.FreeMidiFile(file);
    }
    EXPECT_EQ(all.size(), kept);
    converter.FreeMidiFile(whole);
}

INSTANTIATE_TEST_SUITE_P(Songs, TruncationTest,
                         ::testing::Values("small-tb96", "odd-events-tb480", "demo", "song-tb48"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(TruncationToolTest, EveryPrefixNamesTheFileAndTheReason)
{
    const Bytes image = Named("odd-events-tb480");
    ToolRun tool("robustness-truncation");
    for (size_t size = 0; size < image.size(); ++size) {
        const std::string path =
            tool.Write("cut.mid", Bytes(image.begin(), image.begin() + static_cast<long>(size)));
        ToolRun::Outcome o = tool.Run({path});
        EXPECT_EQ(1, o.code) << "cut at " << size;
        EXPECT_EQ("", o.out);
        EXPECT_EQ("midi2morvek: " + path + ": not a well-formed Standard MIDI File\n", o.err)
            << "cut at " << size;
    }
}

}  // namespace
