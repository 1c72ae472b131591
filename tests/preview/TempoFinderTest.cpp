#include "preview/TempoFinder.h"

#include <gtest/gtest.h>

#include <vector>

#include "gen/SmfBuilder.h"
#include "midi/MidiFile.h"

namespace {

// One tempo event as (track, time, microseconds); length 3 unless given.
struct TempoAt {
    int track;
    uint32_t time;
    long microseconds;
    int length;
};

long FirstTempoOf(const std::vector<TempoAt>& tempos)
{
    SmfBuilder builder(1, 480);
    std::vector<uint32_t> last;
    for (int t = 0; t < 3; ++t) {
        builder.AddTrack();
        last.push_back(0);
    }
    builder.NoteOn(1, 0, 0, 60, 100);
    for (const TempoAt& e : tempos) {
        std::vector<uint8_t> data = { static_cast<uint8_t>(e.microseconds >> 16),
                                      static_cast<uint8_t>(e.microseconds >> 8),
                                      static_cast<uint8_t>(e.microseconds) };
        data.resize(static_cast<size_t>(e.length), 0);
        builder.Meta(e.track, e.time - last[static_cast<size_t>(e.track)], 0x51, data);
        last[static_cast<size_t>(e.track)] = e.time;
    }
    for (int t = 0; t < 3; ++t)
        builder.EndOfTrack(t);
    std::vector<uint8_t> image = builder.Build();
    MidiFile file;
    EXPECT_EQ(MIDIFILE_OK, file.Build(image.data(), static_cast<unsigned long>(image.size())));
    return TempoFinder().GetFirstTempo(file);
}

TEST(TempoFinderTest, EarliestTempoOfAnyTrackWins)
{
    struct Case {
        std::vector<TempoAt> tempos;
        long expected;
    } cases[] = {
        { {}, TempoFinder::kDefaultTempo },
        { { { 0, 0, 600000, 3 } }, 600000 },
        { { { 0, 0, 600000, 3 }, { 0, 960, 400000, 3 } }, 600000 },
        { { { 0, 480, 600000, 3 }, { 2, 240, 400000, 3 } }, 400000 },
        { { { 2, 0, 600000, 3 }, { 1, 0, 400000, 3 } }, 400000 },     // the lower track at equal times
        { { { 0, 0, 0, 3 }, { 0, 10, 700000, 3 } }, 700000 },          // a tempo of 0 is passed over
        { { { 0, 0, 600000, 4 }, { 1, 10, 700000, 2 } }, TempoFinder::kDefaultTempo },
        { { { 0, 0, 0xFFFFFF, 3 } }, 0xFFFFFF },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, FirstTempoOf(c.tempos));
}

}  // namespace
