#include "gen/DemoSong.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"

namespace {

std::vector<uint8_t> CommittedDemo()
{
    std::ifstream in(MORVEK_SOURCE_DIR "/examples/demo.mid", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DemoSongTest, GeneratorMatchesCommittedFile)
{
    std::vector<uint8_t> committed = CommittedDemo();
    ASSERT_FALSE(committed.empty()) << "examples/demo.mid is missing";
    // On a difference, run make_demo examples/demo.mid and commit the result.
    EXPECT_TRUE(DemoSong().Build() == committed);
}

TEST(DemoSongTest, SongIsWhatTheDemoPromises)
{
    std::vector<uint8_t> image = DemoSong().Build();
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), static_cast<unsigned long>(image.size())));
    EXPECT_EQ(1, file.GetFormat());
    EXPECT_EQ(480, file.GetTimeBase());
    ASSERT_EQ(4, file.GetTrackCount());
    std::set<int> channels;
    for (int i = 0; i < file.GetTrackCount(); ++i) {
        const MidiTrack* t = file.GetTrack(i);
        ASSERT_GT(t->GetEventCount(), 0);
        int notes = 0;
        const MidiEvent* last = nullptr;
        for (MidiTrack::Position p = t->GetPosition(0); p != t->GetPosition(1); ++p) {
            last = *p;
            int status = last->GetData()[0];
            if ((status & 0xF0) == 0x90) {
                channels.insert(status & 0x0F);
                ++notes;
            }
        }
        // Every track lasts the eight bars and ends with its end-of-track event.
        EXPECT_EQ(8 * 4 * 480, last->GetTime()) << i;
        EXPECT_EQ(0xFF, last->GetData()[0]) << i;
        EXPECT_EQ(0x2F, last->GetData()[1]) << i;
        EXPECT_EQ(i == 0, notes == 0) << i;
    }
    EXPECT_EQ((std::set<int>{0, 1, 2}), channels);
}

}  // namespace
