#include "score/NoteListBuilder.h"

#include "settings/ConvertSettings.h"

#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

int CountNotes(NoteList& list)
{
    int notes = 0;
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
        notes += p->IsNote() ? 1 : 0;
    return notes;
}

// Loads an image built by SmfBuilder and makes its note lists.
class NoteListBuilderTest : public ::testing::Test {
protected:
    int Build(const SmfBuilder& smf)
    {
        std::vector<uint8_t> image = smf.Build();
        EXPECT_EQ(MIDIFILE_OK, m_file.Build(image.data(), image.size()));
        return m_builder.BuildNoteLists(m_file, m_settings, m_set);
    }

    std::string Describe(int ordinal)
    {
        NoteList* list = m_set.GetList(ordinal);
        return list ? DescribeNoteList(*list) : "(none)";
    }

    std::string Identity(int ordinal)
    {
        NoteListIdentity identity = { -1, -1, -1, -1 };
        m_set.GetList(ordinal)->GetIdentity(identity);
        return std::to_string(identity.track) + "," + std::to_string(identity.channel) + "," +
               std::to_string(identity.ordinal);
    }

    MidiFile m_file;
    NoteListSet m_set;
    ConvertSettings m_settings;
    NoteListBuilder m_builder;
};

TEST_F(NoteListBuilderTest, OneListPerUsedChannelInChannelOrder)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 9, 36, 100);
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOff(t, 48, 9, 36);
    smf.NoteOff(t, 0, 0, 60);
    smf.EndOfTrack(t);
    ASSERT_EQ(2, Build(smf));
    EXPECT_EQ(2, m_set.GetCount());
    EXPECT_EQ(48, m_set.GetTimeBase());
    EXPECT_EQ("0,0,0", Identity(0));
    EXPECT_EQ("0,9,1", Identity(1));
    EXPECT_EQ("r:0 60:48", Describe(0));
    EXPECT_EQ("r:0 36:48", Describe(1));
}

TEST_F(NoteListBuilderTest, TracksAreNeverMergedAndMetaTracksGiveNoList)
{
    SmfBuilder smf(1, 480);
    int conductor = smf.AddTrack();
    smf.Tempo(conductor, 0, 500000);
    smf.TrackName(conductor, 0, "song");
    smf.EndOfTrack(conductor, 1920);
    for (int i = 0; i < 2; ++i) {
        int t = smf.AddTrack();
        smf.NoteOn(t, 480 * i, 0, 60 + i, 90);
        smf.NoteOff(t, 240, 0, 60 + i);
        smf.EndOfTrack(t);
    }
    ASSERT_EQ(2, Build(smf));
    EXPECT_EQ(480, m_set.GetTimeBase());
    EXPECT_EQ("1,0,0", Identity(0));
    EXPECT_EQ("2,0,1", Identity(1));
    EXPECT_EQ("r:0 60:240", Describe(0));
    EXPECT_EQ("r:480 61:240", Describe(1));
}

TEST_F(NoteListBuilderTest, ChannelWithoutNotesGivesAnEmptyList)
{
    SmfBuilder smf(0, 96);
    int t = smf.AddTrack();
    smf.AddMessage(t, 0, { 0xC3, 5 });       // program change
    smf.AddMessage(t, 10, { 0xB3, 7, 100 }); // controller
    smf.EndOfTrack(t);
    ASSERT_EQ(1, Build(smf));
    EXPECT_EQ("0,3,0", Identity(0));
    EXPECT_EQ(0, m_set.GetList(0)->GetRecordCount());
    EXPECT_EQ(0, m_set.GetTotalTicks(0));
}

TEST_F(NoteListBuilderTest, EmptyFileGivesNoLists)
{
    SmfBuilder smf(1, 48);
    smf.EndOfTrack(smf.AddTrack());
    EXPECT_EQ(0, Build(smf));
    EXPECT_EQ(0, m_set.GetCount());
    EXPECT_EQ(nullptr, m_set.GetList(0));
}

// One channel's events, as (delta, message) pairs, give one list.
struct ExtractCase {
    const char* name;
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> events;
    const char* list;
};

class ExtractChannelTest : public NoteListBuilderTest,
                           public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(ExtractChannelTest, MonophonicLine)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    for (const auto& event : GetParam().events)
        smf.AddMessage(t, event.first, event.second);
    smf.EndOfTrack(t);
    Build(smf);
    EXPECT_EQ(GetParam().list, Describe(0));
}

std::string CaseName(const ::testing::TestParamInfo<ExtractCase>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Events, ExtractChannelTest, ::testing::Values(
    ExtractCase{ "NoteAtTickZeroHasEmptyRest",
        { { 0, { 0x90, 60, 100 } }, { 48, { 0x80, 60, 0 } } }, "r:0 60:48" },
    ExtractCase{ "ZeroVelocityNoteOnEndsTheNote",
        { { 12, { 0x90, 60, 100 } }, { 48, { 0x90, 60, 0 } }, { 6, { 0x90, 62, 80 } }, { 6, { 0x90, 62, 0 } } },
        "r:12 60:48 r:6 62:6" },
    ExtractCase{ "OnlyTheFirstNoteOfAChord",
        { { 0, { 0x90, 60, 100 } }, { 0, { 0x90, 64, 100 } }, { 0, { 0x90, 67, 100 } },
          { 48, { 0x80, 60, 0 } }, { 0, { 0x80, 64, 0 } }, { 24, { 0x80, 67, 0 } },
          { 24, { 0x90, 72, 100 } }, { 48, { 0x80, 72, 0 } } },
        "r:0 60:48 r:48 72:48" },
    ExtractCase{ "OverlappingNoteIsDroppedWithItsNoteOff",
        { { 0, { 0x90, 60, 100 } }, { 48, { 0x90, 62, 100 } }, { 48, { 0x80, 60, 0 } }, { 48, { 0x80, 62, 0 } } },
        "r:0 60:96" },
    ExtractCase{ "NoteOffOfAnotherKeyIsIgnored",
        { { 0, { 0x90, 60, 100 } }, { 10, { 0x80, 61, 0 } }, { 20, { 0x80, 60, 0 } } }, "r:0 60:30" },
    ExtractCase{ "UnfinishedLastNoteLeavesItsRest",
        { { 0, { 0x90, 60, 100 } }, { 48, { 0x80, 60, 0 } }, { 24, { 0x90, 62, 100 } } }, "r:0 60:48 r:24" },
    ExtractCase{ "NoTrailingRest",
        { { 0, { 0x90, 60, 100 } }, { 48, { 0x80, 60, 0 } }, { 500, { 0xB0, 7, 100 } } }, "r:0 60:48" },
    ExtractCase{ "OtherEventsStillMoveTheTime",
        { { 5, { 0xB0, 7, 100 } }, { 5, { 0xE0, 0, 64 } }, { 5, { 0xC0, 1 } }, { 5, { 0x90, 60, 100 } },
          { 7, { 0xA0, 60, 10 } }, { 7, { 0xD0, 3 } }, { 10, { 0x80, 60, 0 } } },
        "r:20 60:24" },
    ExtractCase{ "VelocityIsKept",
        { { 0, { 0x90, 60, 33 } }, { 4, { 0x80, 60, 99 } } }, "r:0 60:4" }),
    CaseName);

TEST_F(NoteListBuilderTest, OtherChannelsAndMetaEventsMoveTheTime)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.Meta(t, 10, 0x01, { 'x' });
    smf.AddMessage(t, 10, { 0xF0, 0x02, 0x7E, 0xF7 });
    smf.NoteOn(t, 10, 1, 40, 100);
    smf.NoteOn(t, 10, 0, 60, 100);
    smf.NoteOff(t, 20, 1, 40);
    smf.NoteOff(t, 20, 0, 60);
    smf.EndOfTrack(t);
    ASSERT_EQ(2, Build(smf));
    EXPECT_EQ("r:40 60:40", Describe(0));
    EXPECT_EQ("r:30 40:30", Describe(1));
    // The list ends at its last note-off.
    EXPECT_EQ(80, m_set.GetTotalTicks(0));
}

TEST_F(NoteListBuilderTest, VelocityTravelsWithTheNote)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 0, 60, 33);
    smf.NoteOff(t, 4, 0, 60, 99);
    Build(smf);
    NoteList::Position note = std::next(m_set.GetList(0)->Begin());
    EXPECT_EQ(33, note->GetVelocity());
    EXPECT_EQ(0, m_set.GetList(0)->Begin()->GetVelocity());
}

TEST_F(NoteListBuilderTest, RunningStatusFileGivesTheSameLists)
{
    SmfBuilder smf(0, 48);
    smf.SetRunningStatus(true);
    int t = smf.AddTrack();
    for (int i = 0; i < 4; ++i) {
        smf.NoteOn(t, 0, 2, 60 + i, 100);
        smf.NoteOn(t, 12, 2, 60 + i, 0);
    }
    ASSERT_EQ(1, Build(smf));
    EXPECT_EQ("r:0 60:12 r:0 61:12 r:0 62:12 r:0 63:12", Describe(0));
}

TEST_F(NoteListBuilderTest, HugeDeltasStopAtTheLargestInt)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    for (int i = 0; i < 9; ++i)
        smf.Meta(t, 0x0FFFFFFF, 0x01, { 'x' });
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOff(t, 48, 0, 60);
    ASSERT_EQ(1, Build(smf));
    EXPECT_EQ("r:" + std::to_string(INT_MAX) + " 60:48", Describe(0));
}

TEST_F(NoteListBuilderTest, SameFileSameLists)
{
    SmfBuilder smf(1, 96);
    for (int track = 0; track < 3; ++track) {
        int t = smf.AddTrack();
        for (int ch = 15; ch >= 0; ch -= 5) {
            smf.NoteOn(t, 3, ch, 40 + ch + track, 100);
            smf.NoteOff(t, 7 * (ch + 1), ch, 40 + ch + track);
        }
    }
    int count = Build(smf);
    ASSERT_EQ(12, count);
    std::vector<std::string> first;
    for (int i = 0; i < count; ++i)
        first.push_back(Identity(i) + " " + Describe(i));
    NoteListSet again;
    ASSERT_EQ(count, m_builder.BuildNoteLists(m_file, m_settings, again));
    for (int i = 0; i < count; ++i) {
        NoteListIdentity identity = { -1, -1, -1, -1 };
        again.GetList(i)->GetIdentity(identity);
        EXPECT_EQ(first[i], std::to_string(identity.track) + "," + std::to_string(identity.channel) + "," +
                  std::to_string(identity.ordinal) + " " + DescribeNoteList(*again.GetList(i)));
    }
    EXPECT_EQ("0,0,0", Identity(0));
    EXPECT_EQ("0,15,3", Identity(3));
    EXPECT_EQ("2,15,11", Identity(11));
}

TEST_F(NoteListBuilderTest, ChannelMask)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.AddMessage(t, 0, { 0xC1, 0 });
    smf.AddMessage(t, 0, { 0xE4, 0, 64 });
    smf.AddMessage(t, 0, { 0x8F, 60, 0 });
    smf.Meta(t, 0, 0x03, { 'a' });
    smf.AddMessage(t, 0, { 0xF0, 0x01, 0xF7 });
    smf.EndOfTrack(t);
    Build(smf);
    unsigned mask = 0;
    EXPECT_EQ(3, m_builder.GetChannelMask(*m_file.GetTrack(0), &mask));
    EXPECT_EQ(0x8012u, mask);
    EXPECT_EQ(3, m_builder.GetChannelMask(*m_file.GetTrack(0), nullptr));
}

struct StatusCase {
    std::vector<unsigned char> message;
    unsigned char kind;
};

class ClassifyStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ClassifyStatusTest, Kind)
{
    NoteListBuilder builder;
    const std::vector<unsigned char>& m = GetParam().message;
    EXPECT_EQ(GetParam().kind, builder.ClassifyStatus(m.data(), static_cast<int>(m.size())));
}

INSTANTIATE_TEST_SUITE_P(Messages, ClassifyStatusTest, ::testing::Values(
    StatusCase{ { 0x90, 60, 100 }, 0x90 },
    StatusCase{ { 0x9F, 60, 1 }, 0x90 },
    StatusCase{ { 0x93, 60, 0 }, 0x80 },
    StatusCase{ { 0x85, 60, 64 }, 0x80 },
    StatusCase{ { 0xA0, 60, 0 }, 0xA0 },
    StatusCase{ { 0xB3, 7, 0 }, 0xB0 },
    StatusCase{ { 0xC2, 1 }, 0xC0 },
    StatusCase{ { 0xE1, 0, 64 }, 0xE0 },
    StatusCase{ { 0xF0, 1, 0xF7 }, 0xF0 },
    StatusCase{ { 0xF7, 0 }, 0xF7 },
    StatusCase{ { 0xFF, 0x2F, 0 }, 0xFF },
    StatusCase{ { 0xF2, 0, 0 }, 0xF0 },
    StatusCase{ { 0x90, 60 }, 0x90 }, // no velocity byte to read
    StatusCase{ {}, 0 }));

TEST(ClassifyStatusNullTest, NoMessage)
{
    NoteListBuilder builder;
    EXPECT_EQ(0, builder.ClassifyStatus(nullptr, 3));
}

struct QuantizedBuildCase {
    int timeBase;
    uint32_t seed;
    int unit;
    int voices;
    bool human;
};

class QuantizedBuildTest : public ::testing::TestWithParam<QuantizedBuildCase> {};

// Quantizing while the lists are made gives what Quantize gives afterwards:
// every record, its length, note and velocity, in every list.
TEST_P(QuantizedBuildTest, SameListsAsQuantizeAfterwards)
{
    const QuantizedBuildCase c = GetParam();
    SongGenerator song;
    song.SetTrackCount(6);
    song.SetTimeBase(c.timeBase);
    song.SetSeed(c.seed);
    song.SetHumanTiming(c.human);
    std::vector<uint8_t> image = song.Build(6000);
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));

    NoteListBuilder builder;
    ConvertSettings settings;
    settings.SetVoiceCount(c.voices);
    NoteListSet afterwards;
    NoteListSet onTheWay;
    const int count = builder.BuildNoteLists(file, settings, afterwards);
    ASSERT_EQ(count, builder.BuildQuantizedNoteLists(file, settings, onTheWay, c.unit));
    EXPECT_EQ(count, builder.CountLists(file, settings));
    EXPECT_EQ(afterwards.GetTimeBase(), onTheWay.GetTimeBase());
    for (int i = 0; i < afterwards.GetCount(); ++i) {
        NoteList& expected = *afterwards.GetList(i);
        NoteList& got = *onTheWay.GetList(i);
        const int built = CountNotes(expected);
        expected.Quantize(c.unit);
        EXPECT_EQ(built - CountNotes(expected), got.GetVanishedNoteCount()) << "list " << i;
        NoteListIdentity a = {};
        NoteListIdentity b = {};
        expected.GetIdentity(a);
        got.GetIdentity(b);
        EXPECT_EQ(a.track, b.track);
        EXPECT_EQ(a.channel, b.channel);
        EXPECT_EQ(a.ordinal, b.ordinal);
        EXPECT_EQ(a.voice, b.voice);
        EXPECT_EQ(expected.GetDroppedNoteCount(), got.GetDroppedNoteCount());
        ASSERT_EQ(DescribeNoteList(expected), DescribeNoteList(got)) << "list " << i;
        NoteList::Position q = got.Begin();
        for (NoteList::Position p = expected.Begin(); p != expected.End(); ++p, ++q)
            ASSERT_EQ(p->GetVelocity(), q->GetVelocity());
    }
}

INSTANTIATE_TEST_SUITE_P(Units, QuantizedBuildTest, ::testing::Values(
    QuantizedBuildCase{480, 1, 60, 1, false},
    QuantizedBuildCase{480, 2, 120, 1, false},
    QuantizedBuildCase{480, 3, 1, 1, false},
    QuantizedBuildCase{480, 4, 0, 1, false},         // taken as 1, as Quantize takes it
    QuantizedBuildCase{96, 5, 24, 1, false},
    QuantizedBuildCase{96, 6, 7, 1, false},          // off the grid of the song
    QuantizedBuildCase{48, 7, 192, 1, false},
    QuantizedBuildCase{240, 8, 1000, 1, false},
    QuantizedBuildCase{480, 9, 10, 6, true},
    QuantizedBuildCase{480, 10, 60, 3, false},
    QuantizedBuildCase{96, 11, 7, 18, true},
    QuantizedBuildCase{48, 12, 1, 2, true},
    QuantizedBuildCase{240, 13, 0, 4, false}));

TEST_F(NoteListBuilderTest, QuantizedBuildCarriesPastTheLargestInt)
{
    // Deltas that add up past the largest int, as in HugeDeltasStopAtTheLargestInt.
    SmfBuilder smf(0, 96);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0x0FFFFFFF, 0, 60, 100);
    smf.AddMessage(t, 0x0FFFFFFF, {0xB0, 7, 100});
    smf.AddMessage(t, 0x0FFFFFFF, {0xB0, 7, 100});
    smf.NoteOff(t, 0x0FFFFFFF, 0, 60);
    smf.NoteOn(t, 5, 0, 62, 100);
    smf.NoteOff(t, 5, 0, 62);
    std::vector<uint8_t> image = smf.Build();
    ASSERT_EQ(MIDIFILE_OK, m_file.Build(image.data(), image.size()));
    NoteListSet afterwards;
    ASSERT_EQ(1, m_builder.BuildNoteLists(m_file, m_settings, afterwards));
    afterwards.GetList(0)->Quantize(7);
    ASSERT_EQ(1, m_builder.BuildQuantizedNoteLists(m_file, m_settings, m_set, 7));
    EXPECT_EQ(DescribeNoteList(*afterwards.GetList(0)), Describe(0));
}

// The lists of a file spread over voices, as "track,channel,voice: list"
// lines, the dropped count after the first voice of a channel when it is not
// 0.
class VoicesTest : public NoteListBuilderTest {
protected:
    std::string BuildVoices(const SmfBuilder& smf, int voices)
    {
        m_settings.SetVoiceCount(voices);
        Build(smf);
        std::string text;
        for (int i = 0; i < m_set.GetCount(); ++i) {
            NoteList& list = *m_set.GetList(i);
            EXPECT_EQ(i, list.GetOrdinal());
            text += std::to_string(list.GetTrackIndex()) + "," + std::to_string(list.GetChannel()) +
                    "," + std::to_string(list.GetVoice()) + ": " + DescribeNoteList(list);
            if (list.GetDroppedNoteCount() != 0)
                text += " (" + std::to_string(list.GetDroppedNoteCount()) + " dropped)";
            text += "\n";
        }
        EXPECT_EQ(m_set.GetCount(), m_builder.CountLists(m_file, m_settings));
        return text;
    }

    // A note of length ticks on channel 0 at tick on of track t, events
    // kept in time order by the caller.
    struct Note {
        int on;
        int length;
        int key;
    };
    void AddNotes(SmfBuilder& smf, int t, int channel, std::vector<Note> notes)
    {
        // Every note-on and note-off in time order, note-offs first.
        std::vector<std::pair<int, std::pair<int, int>>> events; // time, (off 0 / on 1, key)
        for (const Note& n : notes) {
            events.push_back({ n.on, { 1, n.key } });
            events.push_back({ n.on + n.length, { 0, n.key } });
        }
        std::stable_sort(events.begin(), events.end(),
                         [](const std::pair<int, std::pair<int, int>>& a,
                            const std::pair<int, std::pair<int, int>>& b) {
                             return a.first != b.first ? a.first < b.first
                                                       : a.second.first < b.second.first;
                         });
        int now = 0;
        for (const auto& e : events) {
            if (e.second.first == 1)
                smf.NoteOn(t, static_cast<uint32_t>(e.first - now), channel, e.second.second, 100);
            else
                smf.NoteOff(t, static_cast<uint32_t>(e.first - now), channel, e.second.second);
            now = e.first;
        }
    }
};

TEST_F(VoicesTest, ArpeggioOverAHeldBass)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    AddNotes(smf, t, 0, { { 0, 192, 36 }, { 0, 48, 60 }, { 48, 48, 64 }, { 96, 48, 67 }, { 144, 48, 72 } });
    EXPECT_EQ("0,0,0: r:0 60:48 r:0 64:48 r:0 67:48 r:0 72:48\n"
              "0,0,1: r:0 36:192\n",
              BuildVoices(smf, 3));
}

TEST_F(VoicesTest, MelodyAboveBlockChords)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    AddNotes(smf, t, 0, { { 0, 96, 48 }, { 0, 96, 52 }, { 0, 96, 55 }, { 0, 48, 72 }, { 48, 48, 74 },
                          { 96, 96, 53 }, { 96, 96, 57 }, { 96, 96, 60 }, { 96, 96, 76 } });
    EXPECT_EQ("0,0,0: r:0 72:48 r:0 74:48 r:0 76:96\n"
              "0,0,1: r:0 55:96 r:0 60:96\n"
              "0,0,2: r:0 52:96 r:0 57:96\n"
              "0,0,3: r:0 48:96 r:0 53:96\n",
              BuildVoices(smf, 4));
    // Two voices keep the melody and the top of each chord.
    EXPECT_EQ("0,0,0: r:0 72:48 r:0 74:48 r:0 76:96 (4 dropped)\n"
              "0,0,1: r:0 55:96 r:0 60:96\n",
              BuildVoices(smf, 2));
    // One voice is the list as it always was: the first note of a chord.
    EXPECT_EQ("0,0,0: r:0 48:96 r:0 53:96 (7 dropped)\n", BuildVoices(smf, 1));
}

TEST_F(VoicesTest, PedalNoteUnderAMelody)
{
    // The pedal starts first, so it takes the first voice.
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    AddNotes(smf, t, 0, { { 0, 240, 36 }, { 48, 48, 67 }, { 96, 48, 65 }, { 144, 96, 64 } });
    EXPECT_EQ("0,0,0: r:0 36:240\n"
              "0,0,1: r:48 67:48 r:0 65:48 r:0 64:96\n",
              BuildVoices(smf, 6));
}

TEST_F(VoicesTest, LegatoOverlapTakesTheNextVoiceAndComesBack)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    AddNotes(smf, t, 0, { { 0, 50, 60 }, { 48, 48, 62 }, { 96, 48, 64 } });
    EXPECT_EQ("0,0,0: r:0 60:50 r:46 64:48\n"
              "0,0,1: r:48 62:48\n",
              BuildVoices(smf, 2));
}

TEST_F(VoicesTest, KeyStruckAgainWhileItSoundsIsASecondNote)
{
    // Each note-off ends the earliest note of its key.
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOn(t, 24, 0, 60, 90);
    smf.NoteOff(t, 24, 0, 60);
    smf.NoteOn(t, 24, 0, 60, 0); // a zero-velocity note-on ends the second
    smf.NoteOff(t, 10, 0, 61);   // no note of that key: nothing
    smf.NoteOn(t, 0, 0, 62, 100); // never ended: not placed
    smf.EndOfTrack(t);
    EXPECT_EQ("0,0,0: r:0 60:48\n"
              "0,0,1: r:24 60:48\n",
              BuildVoices(smf, 4));
}

TEST_F(VoicesTest, ListsByTrackChannelVoiceAndFirstVoiceAlways)
{
    SmfBuilder smf(1, 48);
    int first = smf.AddTrack();
    smf.AddMessage(first, 0, { 0xC3, 5 }); // channel 3: no notes, still a list
    AddNotes(smf, first, 5, { { 0, 48, 60 }, { 0, 48, 64 } });
    smf.EndOfTrack(first);
    int second = smf.AddTrack();
    AddNotes(smf, second, 0, { { 0, 24, 40 } });
    smf.EndOfTrack(second);
    EXPECT_EQ("0,3,0: \n"
              "0,5,0: r:0 64:48\n"
              "0,5,1: r:0 60:48\n"
              "1,0,0: r:0 40:24\n",
              BuildVoices(smf, 18));
    EXPECT_EQ(0, m_set.GetDroppedNoteCount(0, 5));
}

TEST_F(VoicesTest, DroppedNotesAreCountedPerTrackAndChannel)
{
    SmfBuilder smf(1, 48);
    int t = smf.AddTrack();
    AddNotes(smf, t, 2, { { 0, 48, 60 }, { 0, 48, 64 }, { 0, 48, 67 }, { 10, 20, 72 } });
    smf.EndOfTrack(t);
    EXPECT_EQ("0,2,0: r:0 67:48 (2 dropped)\n"
              "0,2,1: r:0 64:48\n",
              BuildVoices(smf, 2));
    EXPECT_EQ(2, m_set.GetDroppedNoteCount(0, 2));
    EXPECT_EQ(0, m_set.GetDroppedNoteCount(0, 3));
    // With one voice, every note-on while another note sounds.
    EXPECT_EQ("0,2,0: r:0 60:48 (3 dropped)\n", BuildVoices(smf, 1));
}

TEST_F(VoicesTest, RolledChordKeepsItsTopNoteInTheFirstVoice)
{
    // Played by hand: the chord's notes come a few ticks apart from the
    // bottom up, the melody note on top last, all within a 192nd note (10
    // ticks at 480); then the melody goes on alone.
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    AddNotes(smf, t, 0, { { 0, 480, 48 }, { 3, 477, 52 }, { 6, 474, 55 }, { 8, 232, 72 }, { 240, 240, 74 } });
    EXPECT_EQ("0,0,0: r:8 72:232 r:0 74:240\n"
              "0,0,1: r:6 55:474\n"
              "0,0,2: r:3 52:477\n"
              "0,0,3: r:0 48:480\n",
              BuildVoices(smf, 4));
    // Taken tick by tick instead, the bass would hold the first voice.
    EXPECT_EQ(1, m_builder.SetChordSpan(0));
    EXPECT_EQ("0,0,0: r:0 48:480\n"
              "0,0,1: r:3 52:477\n"
              "0,0,2: r:6 55:474\n"
              "0,0,3: r:8 72:232 r:0 74:240\n",
              BuildVoices(smf, 4));
    EXPECT_EQ(0, m_builder.SetChordSpan(-3));
    EXPECT_EQ(0, m_builder.GetChordSpan());
}

// Chords short and long are ordered alike: the highest keys take the
// voices, from the top down, and the rest are dropped.
TEST_F(VoicesTest, ChordsOfAnySizeGiveTheirTopKeysToTheVoices)
{
    for (int size : { 2, 16, 17, 60 }) {
        SmfBuilder smf(0, 48);
        int t = smf.AddTrack();
        std::vector<Note> chord;
        for (int i = 0; i < size; ++i)
            chord.push_back({ 0, 48, 20 + (i * 37) % 97 }); // distinct keys, struck in no order
        AddNotes(smf, t, 0, chord);
        std::vector<int> keys;
        for (const Note& n : chord)
            keys.push_back(n.key);
        std::sort(keys.rbegin(), keys.rend());
        const int voices = 6;
        std::string expected;
        for (int v = 0; v < voices && v < size; ++v) {
            expected += "0,0," + std::to_string(v) + ": r:0 " + std::to_string(keys[v]) + ":48";
            if (v == 0 && size > voices)
                expected += " (" + std::to_string(size - voices) + " dropped)";
            expected += "\n";
        }
        EXPECT_EQ(expected, BuildVoices(smf, voices)) << size;
    }
}

// A voice count the settings check refuses makes no list (and no
// out-of-range voice); the largest one it accepts does.
TEST_F(NoteListBuilderTest, RefusedVoiceCountsBuildNothing)
{
    SmfBuilder smf(0, 48);
    int t = smf.AddTrack();
    for (int key = 60; key < 80; ++key)
        smf.NoteOn(t, 0, 0, key, 100);
    for (int key = 60; key < 80; ++key)
        smf.NoteOff(t, key == 60 ? 48 : 0, 0, key);
    smf.EndOfTrack(t);
    for (int voices : { 0, 19, -1 }) {
        m_settings.SetVoiceCount(voices);
        EXPECT_EQ(0, Build(smf)) << voices;
        EXPECT_EQ(0, m_builder.CountLists(m_file, m_settings)) << voices;
    }
    m_settings.SetVoiceCount(18);
    EXPECT_EQ(18, Build(smf));
}

} // namespace
