#include "midi/MidiTrack.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gen/SongGenerator.h"
#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// A track chunk with the given events and declared length (default: exact).
Bytes TrackChunk(const Bytes& events, long declared = -1)
{
    uint32_t length = declared < 0 ? static_cast<uint32_t>(events.size())
                                   : static_cast<uint32_t>(declared);
    Bytes chunk = {'M', 'T', 'r', 'k',
                   static_cast<unsigned char>(length >> 24), static_cast<unsigned char>(length >> 16),
                   static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length)};
    chunk.insert(chunk.end(), events.begin(), events.end());
    return chunk;
}

// Each record as hex text, one per event, to compare a whole track at once.
std::string Records(const MidiTrack& track)
{
    std::string text;
    for (MidiTrack::Position p = track.GetPosition(0); p != track.GetPosition(1); ++p) {
        const MidiEvent* e = *p;
        char item[16];
        text += std::to_string(e->GetTime()) + ":";
        for (int i = 0; i < e->GetLength(); ++i) {
            snprintf(item, sizeof item, "%02X", e->GetData()[i]);
            text += item;
        }
        text += " ";
    }
    return text;
}

unsigned long ParseChunk(MidiTrack& track, const Bytes& chunk, unsigned char& running)
{
    unsigned long taken = track.Parse(chunk.data(), chunk.data() + chunk.size(), running);
    track.ComputeTimes();
    return taken;
}

TEST(MidiTrackTest, EmptyTrackHasNoEvents)
{
    MidiTrack track;
    EXPECT_EQ(0, track.GetEventCount());
    EXPECT_TRUE(track.GetPosition(0) == track.GetPosition(1));
    EXPECT_EQ(0, track.ComputeTimes());

    unsigned char running = 0x00;
    EXPECT_EQ(8u, ParseChunk(track, TrackChunk({}), running));
    EXPECT_EQ(0, track.GetEventCount());
    EXPECT_EQ(CHUNK_TRACK, track.GetChunk().GetKind());
}

TEST(MidiTrackTest, ReadsEventsInFileOrderWithTimes)
{
    MidiTrack track;
    unsigned char running = 0x00;
    Bytes chunk = TrackChunk({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40,
                              0x00, 0x3E, 0x40, 0x30, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(chunk.size(), ParseChunk(track, chunk, running));
    EXPECT_EQ(4, track.GetEventCount());
    EXPECT_EQ("0:903C64 96:803C40 96:803E40 144:FF2F00 ", Records(track));
    EXPECT_EQ(0xFF, running);
}

TEST(MidiTrackTest, EventsAfterEndOfTrackAreKept)
{
    MidiTrack track;
    unsigned char running = 0x00;
    ParseChunk(track, TrackChunk({0x00, 0xFF, 0x2F, 0x00, 0x10, 0xC2, 0x05}), running);
    EXPECT_EQ("0:FF2F00 16:C205 ", Records(track));
}

TEST(MidiTrackTest, NoTrackHeaderTakesOneByte)
{
    Bytes chunk = {'M', 'T', 'h', 'd', 0, 0, 0, 0};
    MidiTrack track;
    unsigned char running = 0x90;
    EXPECT_EQ(1u, track.Parse(chunk.data(), chunk.data() + chunk.size(), running));
    EXPECT_EQ(0, track.GetEventCount());
    EXPECT_EQ(0x90, running);
}

TEST(MidiTrackTest, TruncatedLastEventEndsTrack)
{
    // The note off lacks its velocity inside the declared length; the bytes
    // after the chunk must not complete it.
    Bytes chunk = TrackChunk({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C});
    chunk.insert(chunk.end(), {0x40, 'M', 'T', 'r', 'k'});
    MidiTrack track;
    unsigned char running = 0x00;
    EXPECT_EQ(12u, ParseChunk(track, chunk, running));
    EXPECT_EQ("0:903C64 ", Records(track));
    EXPECT_EQ(0x90, running);
}

TEST(MidiTrackTest, DeclaredLengthBeyondLimitStopsAtLimit)
{
    Bytes chunk = TrackChunk({0x00, 0x90, 0x3C, 0x64, 0x00, 0x3E}, 1000);
    MidiTrack track;
    unsigned char running = 0x00;
    EXPECT_EQ(12u, ParseChunk(track, chunk, running));
    EXPECT_EQ("0:903C64 ", Records(track));
}

TEST(MidiTrackTest, EveryTruncationKeepsWholeEventsOnly)
{
    const Bytes events = {0x00, 0xFF, 0x03, 0x02, 'A', 'B', 0x00, 0xC0, 0x05,
                          0x83, 0x60, 0x07, 0x00, 0xF0, 0x01, 0xF7};
    const size_t ends[] = {6, 9, 12, 16};              // where each event ends
    for (size_t length = 0; length <= events.size(); ++length) {
        MidiTrack track;
        unsigned char running = 0x00;
        ParseChunk(track, TrackChunk(Bytes(events.begin(), events.begin() + length)), running);
        int whole = 0;
        for (size_t end : ends)
            whole += end <= length ? 1 : 0;
        EXPECT_EQ(whole, track.GetEventCount()) << length;
    }
}

TEST(MidiTrackTest, RunningStatusCarriesIn)
{
    MidiTrack track;
    unsigned char running = 0x92;
    ParseChunk(track, TrackChunk({0x00, 0x3C, 0x64}), running);
    EXPECT_EQ("0:923C64 ", Records(track));
}

TEST(MidiTrackTest, AppendTakesOwnershipAndComputeTimesSumsDeltas)
{
    MidiTrack track;
    const int32_t deltas[] = {0, 96, 0, 48};
    for (int32_t d : deltas) {
        MidiEvent* e = new MidiEvent;
        e->SetDelta(d);
        track.Append(e);
    }
    EXPECT_EQ(144, track.ComputeTimes());
    std::vector<int32_t> times;
    for (MidiTrack::Position p = track.GetPosition(0); p != track.GetPosition(1); ++p)
        times.push_back((*p)->GetTime());
    EXPECT_EQ((std::vector<int32_t>{0, 96, 96, 144}), times);
}

TEST(MidiTrackTest, AppendedEventsKeepTheirRecords)
{
    MidiTrack track;
    const unsigned char name[] = {0x00, 0xFF, 0x03, 0x0A, 'L', 'o', 'n', 'g', ' ', 'n', 'a', 'm', 'e', '!'};
    const unsigned char note[] = {0x10, 0x90, 0x3C, 0x64};
    unsigned char running = 0x00;
    for (const auto& bytes : {std::vector<unsigned char>(name, name + sizeof name),
                              std::vector<unsigned char>(note, note + sizeof note)}) {
        MidiEvent* e = new MidiEvent;
        ASSERT_EQ(bytes.size(), e->Parse(bytes.data(), bytes.data() + bytes.size(), running));
        track.Append(e);
    }
    track.Append(nullptr);
    ASSERT_EQ(2, track.GetEventCount());
    MidiTrack::Position p = track.GetPosition(0);
    EXPECT_EQ(std::vector<unsigned char>(name + 1, name + sizeof name),
              std::vector<unsigned char>((*p)->GetData(), (*p)->GetData() + (*p)->GetLength()));
    ++p;
    EXPECT_EQ(16, (*p)->GetDelta());
    EXPECT_EQ(std::vector<unsigned char>(note + 1, note + sizeof note),
              std::vector<unsigned char>((*p)->GetData(), (*p)->GetData() + (*p)->GetLength()));
}

// Every size of delta and record, kept in the entry or out of it, reads back
// the same, also after re-timing moves a delta past what an entry holds.
TEST(MidiTrackTest, DeltasAndRecordsOfEverySizeReadBack)
{
    const int32_t deltas[] = {0, 127, 0x0FFFFFFF, 0x10000000, 0x3FFFFFFF};
    const Bytes records[] = {{}, {0xC0, 0x01}, {0x90, 0x3C, 0x64}, {0xF0, 0x02, 0x7E, 0xF7},
                             {0xFF, 0x03, 0x05, 'H', 'e', 'l', 'l', 'o'}};
    const int kinds = 5;
    for (int shift = 0; shift < kinds; ++shift) {
        for (int retimed = 0; retimed < 2; ++retimed) {
            MidiTrack track;
            unsigned char running = 0;
            for (int k = 0; k < kinds; ++k) {
                const Bytes& r = records[(k + shift) % kinds];
                MidiEvent* e = new MidiEvent;
                Bytes bytes = {0x00};
                bytes.insert(bytes.end(), r.begin(), r.end());
                if (!r.empty()) {
                    ASSERT_EQ(bytes.size(), e->Parse(bytes.data(), bytes.data() + bytes.size(), running));
                }
                e->SetDelta(retimed ? deltas[k] / 2 : deltas[k]);
                track.Append(e);
            }
            if (retimed) {
                ASSERT_TRUE(track.Retime(1, 2));
            }
            MidiTrack::Position p = track.GetPosition(0);
            for (int k = 0; k < kinds; ++k, ++p) {
                const Bytes& r = records[(k + shift) % kinds];
                const int32_t expected = retimed ? deltas[k] / 2 * 2 : deltas[k];
                const MidiEvent* e = *p;
                EXPECT_EQ(expected, e->GetDelta()) << k;
                EXPECT_EQ(expected, p.GetDelta()) << k;
                MidiEvent fresh;
                EXPECT_EQ(fresh.SetDelta(expected), e->GetDeltaByteCount()) << k;
                EXPECT_EQ(r, Bytes(e->GetData(), e->GetData() + e->GetLength())) << k;
            }
        }
    }
}

// Parse fills the times on its own, exactly as ComputeTimes does, also after
// events that were already there and past 2^31 ticks (where times wrap).
TEST(MidiTrackTest, ParseGivesTheTimesComputeTimesGives)
{
    MidiTrack track;
    MidiEvent* first = new MidiEvent;
    first->SetDelta(100);
    track.Append(first);
    track.ComputeTimes();
    const Bytes chunk = TrackChunk({0x00, 0x90, 0x3C, 0x64,                // +0
                                    0x83, 0x60, 0x3C, 0x00,                // +480, running status
                                    0x87, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x2F, 0x00,
                                    0x87, 0xFF, 0xFF, 0xFF, 0x7F, 0xC0, 0x01});
    unsigned char running = 0x00;
    ASSERT_EQ(chunk.size(), track.Parse(chunk.data(), chunk.data() + chunk.size(), running));
    const std::string parsed = Records(track);
    EXPECT_EQ("100: 100:903C64 580:903C00 ", parsed.substr(0, 27));
    track.ComputeTimes();
    EXPECT_EQ(Records(track), parsed);
}

TEST(MidiTrackTest, PositionsWalkBothWays)
{
    MidiTrack track;
    unsigned char running = 0x00;
    ParseChunk(track, TrackChunk({0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}),
               running);
    ASSERT_EQ(3, track.GetEventCount());
    std::vector<int32_t> backwards;
    MidiTrack::Position p = track.GetPosition(1);
    while (p != track.GetPosition(0)) {
        --p;
        backwards.push_back((*p)->GetTime());
    }
    EXPECT_EQ((std::vector<int32_t>{96, 96, 0}), backwards);
    EXPECT_TRUE(p == track.GetPosition(0));
    ++p;
    EXPECT_EQ(0x3C, (*p)->GetData()[1]);
    EXPECT_EQ(0x00, (*p)->GetData()[2]);
}

// Events lie in blocks of 16, 32, 64, ... 4096: counts on both sides of a
// block's end, and a full last block, walk the same both ways, with the
// times summed from the deltas.
TEST(MidiTrackTest, PositionsWalkAcrossBlocksBothWays)
{
    for (int count : { 15, 16, 17, 48, 49, 8176, 8177, 12273 }) {
        Bytes events;
        for (int i = 0; i < count; ++i) {
            const unsigned char delta = static_cast<unsigned char>(i % 5);
            events.insert(events.end(), { delta, 0x90, static_cast<unsigned char>(i % 128), 0x40 });
        }
        MidiTrack track;
        unsigned char running = 0x00;
        ParseChunk(track, TrackChunk(events), running);
        ASSERT_EQ(count, track.GetEventCount());
        std::vector<int32_t> forwards;
        int32_t sum = 0;
        int index = 0;
        for (MidiTrack::Position p = track.GetPosition(0); p != track.GetPosition(1); ++p, ++index) {
            sum += index % 5;
            EXPECT_EQ(sum, (*p)->GetTime()) << count << " event " << index;
            EXPECT_EQ(index % 128, (*p)->GetData()[1]) << count << " event " << index;
            forwards.push_back((*p)->GetTime());
        }
        ASSERT_EQ(static_cast<size_t>(count), forwards.size());
        std::vector<int32_t> backwards;
        for (MidiTrack::Position p = track.GetPosition(1); p != track.GetPosition(0);) {
            --p;
            backwards.insert(backwards.begin(), (*p)->GetTime());
        }
        EXPECT_EQ(forwards, backwards) << count;
        EXPECT_EQ(sum, track.ComputeTimes()) << count;
    }
}

}  // namespace

// What a track counts as it reads is what a walk over its events finds,
// whichever way the events came: straight, through running status, or
// through the general reader (meta and system exclusive events between).
// Random event streams, cut anywhere, read as the event-by-event reader
// reads them: deltas of one to four bytes (some longer than they need),
// channel messages with and without running status, meta events and
// system exclusive messages, a data byte where no status runs.
TEST(MidiTrackTest, ReadingMatchesTheEventReaderOnRandomStreams)
{
    std::mt19937 random(11);
    for (int stream = 0; stream < 200; ++stream) {
        Bytes events;
        for (int e = 0; e < 60; ++e) {
            const int deltaBytes = 1 + static_cast<int>(random() % 4);
            for (int b = 1; b < deltaBytes; ++b)
                events.push_back(static_cast<unsigned char>(0x80 | random() % 128));
            events.push_back(static_cast<unsigned char>(random() % 128));
            switch (random() % 8) {
            case 0: // meta event
                events.insert(events.end(), {0xFF, 0x01, 0x02, 'h', 'i'});
                break;
            case 1: // system exclusive
                events.insert(events.end(), {0xF0, 0x02, 0x7E, 0xF7});
                break;
            case 2: case 3: // running status (or a stray data byte)
                events.insert(events.end(), {static_cast<unsigned char>(random() % 128),
                                             static_cast<unsigned char>(random() % 128)});
                break;
            default: // a channel message of any kind
                events.push_back(static_cast<unsigned char>(0x80 + random() % 112));
                events.insert(events.end(), {static_cast<unsigned char>(random() % 128),
                                             static_cast<unsigned char>(random() % 128)});
            }
        }
        const long declared = static_cast<long>(random() % (events.size() + 1));
        const Bytes chunk = TrackChunk(events, declared);
        MidiTrack track;
        unsigned char running = 0;
        const unsigned long taken = track.Parse(chunk.data(), chunk.data() + chunk.size(), running);

        // The reference: MidiEvent::Parse, one event after the other.
        const unsigned char* p = chunk.data() + 8;
        const unsigned char* end = p + declared; // the chunk's own end
        unsigned char expectedRunning = 0;
        MidiTrack::Position at = track.GetPosition(0);
        int count = 0;
        for (MidiEvent e;; ++count, ++at) {
            const unsigned long n = e.Parse(p, end, expectedRunning);
            if (n == 0)
                break;
            p += n;
            ASSERT_NE(track.GetPosition(1), at) << stream;
            const MidiEvent* kept = *at;
            ASSERT_EQ(e.GetDelta(), kept->GetDelta()) << stream << " event " << count;
            ASSERT_EQ(e.GetDeltaByteCount(), kept->GetDeltaByteCount()) << stream << " event " << count;
            ASSERT_EQ(Bytes(e.GetData(), e.GetData() + e.GetLength()),
                      Bytes(kept->GetData(), kept->GetData() + kept->GetLength()))
                << stream << " event " << count;
        }
        EXPECT_EQ(count, track.GetEventCount()) << stream;
        EXPECT_EQ(static_cast<unsigned long>(p - chunk.data()), taken) << stream;
        EXPECT_EQ(expectedRunning, running) << stream;
    }
}

TEST(MidiTrackTest, ChannelsAndNoteOnsCountedWhileReadingMatchAWalk)
{
    for (uint32_t seed : { 1u, 2u, 3u }) {
        SongGenerator song;
        song.SetSeed(seed);
        song.SetHumanTiming(seed == 2);
        const std::vector<uint8_t> image = song.Build(3000);
        MidiFile file;
        ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
        for (int t = 0; t < file.GetTrackCount(); ++t) {
            const MidiTrack& track = *file.GetTrack(t);
            unsigned mask = 0;
            long long noteOns[16] = {};
            for (MidiTrack::Position p = track.GetPosition(0); p != track.GetPosition(1); ++p) {
                const unsigned char* m = (*p)->GetData();
                const int length = (*p)->GetLength();
                if (length > 0 && m[0] >= 0x80 && m[0] < 0xF0)
                    mask |= 1u << (m[0] & 0x0F);
                if (length >= 3 && (m[0] & 0xF0) == 0x90 && m[2] > 0)
                    ++noteOns[m[0] & 0x0F];
            }
            EXPECT_EQ(mask, track.GetChannelMask()) << seed << " track " << t;
            for (int channel = 0; channel < 16; ++channel)
                EXPECT_EQ(noteOns[channel], track.GetNoteOnCount(channel)) << seed << " track " << t;
            EXPECT_EQ(0, track.GetNoteOnCount(16));
        }
    }
}
