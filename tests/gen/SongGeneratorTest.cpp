#include "gen/SongGenerator.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"

namespace {

typedef std::vector<uint8_t> Bytes;

// What the reader finds in a generated image.
struct Survey {
    long events = 0;
    long bytesIfStatusWritten = 14;                  // header chunk
    std::set<std::pair<int, int>> lists;             // (track, channel) with channel messages
    int largestChord = 0;                            // note-ons of one channel on one tick
    int chordTicks = 0;                              // (tick, channel) with three note-ons or more
    bool timesAscend = true;
};

Survey Read(const MidiFile& file)
{
    Survey s;
    for (int t = 0; t < file.GetTrackCount(); ++t) {
        const MidiTrack* track = file.GetTrack(t);
        s.bytesIfStatusWritten += 8;
        std::map<std::pair<int, int>, int> onsAt;    // (time, channel) -> note-ons
        int32_t last = 0;
        for (MidiTrack::Position p = track->GetPosition(0); p != track->GetPosition(1); ++p) {
            const MidiEvent* e = *p;
            ++s.events;
            s.bytesIfStatusWritten += e->GetDeltaByteCount() + e->GetLength();
            s.timesAscend = s.timesAscend && e->GetTime() >= last;
            last = e->GetTime();
            const unsigned char* d = e->GetData();
            if (d[0] >= 0x80 && d[0] < 0xF0)
                s.lists.insert(std::make_pair(t, d[0] & 0x0F));
            if ((d[0] & 0xF0) == 0x90 && d[2] != 0) {
                int& n = onsAt[std::make_pair(e->GetTime(), d[0] & 0x0F)];
                s.largestChord = std::max(s.largestChord, ++n);
                if (n == 3)
                    ++s.chordTicks;
            }
        }
    }
    return s;
}

struct SizeCase {
    long events;
    int tracks;
    int timeBase;
};

class SongGeneratorSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SongGeneratorSizeTest, ImageIsAValidSongOfTheAskedSize)
{
    const SizeCase c = GetParam();
    SongGenerator g;
    g.SetTrackCount(c.tracks);
    g.SetTimeBase(c.timeBase);
    Bytes image = g.Build(c.events);

    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), static_cast<unsigned long>(image.size())));
    EXPECT_EQ(1, file.GetFormat());
    EXPECT_EQ(c.timeBase, file.GetTimeBase());
    ASSERT_EQ(c.tracks + 1, file.GetTrackCount());

    Survey s = Read(file);
    EXPECT_EQ(g.GetEventCount(), s.events);
    EXPECT_GE(s.events, c.events);
    // Whole bars are added: at most one bar of every track above the target.
    EXPECT_LE(s.events, c.events + 60L * (c.tracks + 1) + 10);
    EXPECT_EQ(static_cast<size_t>(g.GetListCount()), s.lists.size());
    EXPECT_TRUE(s.timesAscend);
    // Running status leaves out status bytes that the reader puts back.
    if (c.events > 0) {
        EXPECT_LT(static_cast<long>(image.size()), s.bytesIfStatusWritten);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SongGeneratorSizeTest, ::testing::Values(
    SizeCase{0, 1, 480},
    SizeCase{1000, 4, 48},
    SizeCase{10000, 8, 480},
    SizeCase{20000, 15, 96},
    SizeCase{50000, 8, 240}));

TEST(SongGeneratorTest, SameSettingsGiveSameBytesAndOtherSeedsOthers)
{
    SongGenerator a;
    SongGenerator b;
    EXPECT_EQ(a.Build(5000), b.Build(5000));
    b.SetSeed(a.GetSeed() + 1);
    EXPECT_NE(a.Build(5000), b.Build(5000));
}

TEST(SongGeneratorTest, HasChordsAndADrumListBesideTheFastLine)
{
    SongGenerator g;
    g.SetTrackCount(4);
    Bytes image = g.Build(3000);
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), static_cast<unsigned long>(image.size())));
    Survey s = Read(file);
    EXPECT_GE(s.largestChord, 3);
    // Conductor without lists; tracks 1..3 one channel each; track 4 its own and the drums.
    const std::set<std::pair<int, int>> expected = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {4, 9}};
    EXPECT_EQ(expected, s.lists);
    EXPECT_EQ(5, g.GetListCount());
}

class HumanTimingTest : public ::testing::TestWithParam<int> {};

// Played by hand: still a valid song with times in order (a bar may begin a
// few ticks early), but the chords are rolled, so that far fewer notes of a
// channel start on one tick, and the same settings still give the same bytes.
TEST_P(HumanTimingTest, ValidSongWithRolledChords)
{
    SongGenerator g;
    g.SetTimeBase(GetParam());
    g.SetTrackCount(4);
    EXPECT_FALSE(g.SetHumanTiming(true));
    EXPECT_TRUE(g.GetHumanTiming());
    Bytes image = g.Build(20000);
    EXPECT_EQ(image, g.Build(20000));
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), static_cast<unsigned long>(image.size())));
    Survey s = Read(file);
    EXPECT_EQ(g.GetEventCount(), s.events);
    EXPECT_TRUE(s.timesAscend);
    EXPECT_EQ(5u, s.lists.size());

    SongGenerator onGrid;
    onGrid.SetTimeBase(GetParam());
    onGrid.SetTrackCount(4);
    Bytes plain = onGrid.Build(20000);
    MidiFile plainFile;
    ASSERT_EQ(MIDIFILE_OK, plainFile.Build(plain.data(), static_cast<unsigned long>(plain.size())));
    EXPECT_NE(plain, image);
    EXPECT_LT(2 * s.chordTicks, Read(plainFile).chordTicks);
}

INSTANTIATE_TEST_SUITE_P(TimeBases, HumanTimingTest, ::testing::Values(48, 96, 240, 480));

TEST(SongGeneratorTest, SettersReturnWhatTheyReplaceAndKeepTrackCountInRange)
{
    SongGenerator g;
    EXPECT_EQ(8, g.SetTrackCount(40));
    EXPECT_EQ(SongGenerator::kMaxTrackCount, g.SetTrackCount(0));
    EXPECT_EQ(1, g.GetTrackCount());
    EXPECT_EQ(480, g.SetTimeBase(96));
    EXPECT_EQ(96, g.GetTimeBase());
}

}  // namespace
