// Properties of the voice splitter over generated songs (fixed seeds, so a
// failure repeats), played on the grid and by hand, at the four time bases
// and every voice count the window offers, with the chord span of one 192nd
// note (the default) and of one tick. A model written separately pairs
// each note-off with the earliest sounding note of its key; every note it
// finds must be placed in exactly one voice of its track and channel, with
// its start and length, or counted as dropped, and only when no voice was
// free.
#include "score/NoteListBuilder.h"
#include "settings/ConvertSettings.h"

#include "gen/SongGenerator.h"
#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct ModelNote {
    long long start;
    long long end;
    int key;
    int velocity;
    int voice; // where the builder put it; -1 for a note of the model
};

bool operator<(const ModelNote& a, const ModelNote& b)
{
    return std::tie(a.start, a.end, a.key, a.velocity) < std::tie(b.start, b.end, b.key, b.velocity);
}

typedef std::pair<int, int> TrackChannel;

// The notes the file plays, per track and channel.
std::map<TrackChannel, std::vector<ModelNote>> ModelNotes(const MidiFile& file)
{
    std::map<TrackChannel, std::vector<ModelNote>> notes;
    for (int t = 0; t < file.GetTrackCount(); ++t) {
        std::map<std::pair<int, int>, std::deque<ModelNote>> sounding; // (channel, key)
        const MidiTrack* track = file.GetTrack(t);
        for (MidiTrack::Position p = track->GetPosition(0); p != track->GetPosition(1); ++p) {
            const unsigned char* m = (*p)->GetData();
            if ((*p)->GetLength() < 3 || (m[0] & 0xF0) < 0x80 || (m[0] & 0xF0) > 0x90)
                continue;
            const int channel = m[0] & 0x0F;
            std::deque<ModelNote>& queue = sounding[{ channel, m[1] }];
            if ((m[0] & 0xF0) == 0x90 && m[2] > 0) {
                queue.push_back({ (*p)->GetTime(), -1, m[1], m[2], -1 });
            } else if (!queue.empty()) {
                queue.front().end = (*p)->GetTime();
                notes[{ t, channel }].push_back(queue.front());
                queue.pop_front();
            }
        }
    }
    return notes;
}

// The notes of the built lists with their voices, per track and channel.
std::map<TrackChannel, std::vector<ModelNote>> PlacedNotes(NoteListSet& set)
{
    std::map<TrackChannel, std::vector<ModelNote>> notes;
    for (int i = 0; i < set.GetCount(); ++i) {
        NoteList& list = *set.GetList(i);
        std::vector<ModelNote>& placed = notes[{ list.GetTrackIndex(), list.GetChannel() }];
        long long now = 0;
        bool rest = true;
        for (NoteList::Position p = list.Begin(); p != list.End(); ++p) {
            // A voice alternates rest and note, every length at least 0: it
            // cannot overlap itself.
            EXPECT_EQ(rest, p->IsRest()) << "list " << i;
            EXPECT_GE(p->GetLength(), 0);
            if (p->IsNote())
                placed.push_back({ now, now + p->GetLength(), p->GetNote(), p->GetVelocity(),
                                   list.GetVoice() });
            now += p->GetLength();
            rest = !rest;
        }
    }
    return notes;
}

// A placed note holds its voice for note, a note of chordTicks: it sounds
// when note starts, or it belongs to the same chord and was taken first
// (higher key, starting later within the span).
bool Holds(const ModelNote& other, const ModelNote& note, long long chordTicks)
{
    if (other.start <= note.start && note.start < other.end)
        return true;
    return other.start > note.start && other.start - note.start < chordTicks &&
           other.key >= note.key;
}

struct SongCase {
    int timeBase;
    bool human;
};

class VoicePropertyTest : public ::testing::TestWithParam<SongCase> {};

TEST_P(VoicePropertyTest, EveryNotePlacedOnceOrCounted)
{
    const int kVoiceCounts[] = { 1, 2, 3, 4, 6, 8, 12, 18 };
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        SongGenerator song;
        song.SetTimeBase(GetParam().timeBase);
        song.SetHumanTiming(GetParam().human);
        song.SetTrackCount(4 + static_cast<int>(seed));
        song.SetSeed(seed);
        std::vector<uint8_t> image = song.Build(3000);
        MidiFile file;
        ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
        std::map<TrackChannel, std::vector<ModelNote>> model = ModelNotes(file);

        for (int span = 0; span <= 1; ++span)
        for (int voices : kVoiceCounts) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(voices) +
                         " voices, span " + std::to_string(span));
            const long long chordTicks = std::max(1, span * GetParam().timeBase / 48);
            NoteListBuilder builder;
            ConvertSettings settings;
            settings.SetVoiceCount(voices);
            builder.SetChordSpan(span);
            NoteListSet set;
            const int count = builder.BuildNoteLists(file, settings, set);
            ASSERT_EQ(count, set.GetCount());

            // Lists by track, channel, voice; every channel's first voice;
            // the voices of a channel one after another.
            for (int i = 0; i < set.GetCount(); ++i) {
                NoteList& list = *set.GetList(i);
                EXPECT_EQ(i, list.GetOrdinal());
                EXPECT_LT(list.GetVoice(), voices);
                if (i == 0) {
                    EXPECT_EQ(0, list.GetVoice());
                    continue;
                }
                NoteList& before = *set.GetList(i - 1);
                const bool sameChannel = before.GetTrackIndex() == list.GetTrackIndex() &&
                                         before.GetChannel() == list.GetChannel();
                EXPECT_EQ(sameChannel ? before.GetVoice() + 1 : 0, list.GetVoice());
                EXPECT_LE(std::make_pair(before.GetTrackIndex(), before.GetChannel()),
                          std::make_pair(list.GetTrackIndex(), list.GetChannel()));
            }

            std::map<TrackChannel, std::vector<ModelNote>> placed = PlacedNotes(set);
            for (auto& entry : placed) {
                std::vector<ModelNote> expected = model[entry.first];
                std::vector<ModelNote>& got = entry.second;
                const int dropped = set.GetDroppedNoteCount(entry.first.first, entry.first.second);
                ASSERT_EQ(expected.size(), got.size() + static_cast<size_t>(dropped));
                if (voices == 1)
                    continue; // one voice: the first of overlapping notes, as always
                // The placed notes are notes of the file, each once.
                std::vector<ModelNote> sortedGot = got;
                std::sort(expected.begin(), expected.end());
                std::sort(sortedGot.begin(), sortedGot.end());
                std::vector<ModelNote> missing;
                std::set_difference(expected.begin(), expected.end(), sortedGot.begin(),
                                    sortedGot.end(), std::back_inserter(missing));
                ASSERT_EQ(static_cast<size_t>(dropped), missing.size());

                for (const ModelNote& note : got) {
                    // Every lower voice was taken when the note started, and
                    // of notes that start together the higher key never sits
                    // in a higher voice.
                    for (const ModelNote& other : got) {
                        if (other.voice < note.voice && other.start <= note.start)
                            continue;
                        if (other.start == note.start && other.key > note.key) {
                            EXPECT_LE(other.voice, note.voice);
                        }
                    }
                    for (int lower = 0; lower < note.voice; ++lower) {
                        EXPECT_TRUE(std::any_of(got.begin(), got.end(), [&](const ModelNote& o) {
                            return o.voice == lower && Holds(o, note, chordTicks);
                        })) << "voice " << lower << " was free at " << note.start;
                    }
                }
                // A note was dropped only when every voice sounded.
                for (const ModelNote& note : missing) {
                    const long count = std::count_if(got.begin(), got.end(), [&](const ModelNote& o) {
                        return Holds(o, note, chordTicks);
                    });
                    EXPECT_GE(count, voices) << "dropped at " << note.start;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Songs, VoicePropertyTest, ::testing::Values(
    SongCase{ 48, false }, SongCase{ 96, false }, SongCase{ 240, false }, SongCase{ 480, false },
    SongCase{ 48, true }, SongCase{ 96, true }, SongCase{ 240, true }, SongCase{ 480, true }),
    [](const ::testing::TestParamInfo<SongCase>& info) {
        return std::string(info.param.human ? "ByHand" : "OnGrid") +
               std::to_string(info.param.timeBase);
    });

} // namespace
