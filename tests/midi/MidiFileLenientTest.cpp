// Lenient reading: re-timing, skipped chunks, RMID, damaged endings.
#include "midi/MidiFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "midi/MidiEvent.h"
#include "midi/MidiReadOptions.h"
#include "midi/MidiTrack.h"
#include "tests/midi/TrackDump.h"

namespace {

typedef std::vector<unsigned char> Bytes;

MidiReadOptions Lenient()
{
    MidiReadOptions options;
    options.SetLenient(true);
    return options;
}

// Builds from a heap copy of exactly the image's size, so that a read past
// its end is caught by the sanitizers.
int BuildExact(MidiFile& file, const Bytes& image, const MidiReadOptions& options)
{
    std::unique_ptr<unsigned char[]> exact(new unsigned char[image.size() + 1]);
    std::copy(image.begin(), image.end(), exact.get());
    return file.Build(image.empty() ? nullptr : exact.get(), image.size(), options);
}

Bytes TwoTracks()
{
    SmfBuilder b(1, 480);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    b.Tempo(t0, 0, 500000);
    b.EndOfTrack(t0);
    b.NoteOn(t1, 0, 1, 60, 100);
    b.NoteOff(t1, 480, 1, 60);
    b.NoteOn(t1, 0, 1, 62, 100);
    b.NoteOff(t1, 240, 1, 62);
    b.EndOfTrack(t1);
    return b.Build();
}

Bytes Chunk(const char* id, uint32_t length)
{
    Bytes c(id, id + 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        c.push_back(static_cast<unsigned char>(length >> shift));
    c.insert(c.end(), length, 0x4D);                 // 'M': a body that looks like an id
    return c;
}

Bytes Insert(Bytes image, size_t at, const Bytes& bytes)
{
    image.insert(image.begin() + static_cast<long>(at), bytes.begin(), bytes.end());
    return image;
}

}  // namespace

// Every event's re-timed time is the rounding rule applied to its time in
// the file, and a track's deltas add up to its last time: no drift.
TEST(MidiFileLenientTest, RetimedTimesFollowTheRoundingRuleWithoutDrift)
{
    const int timeBases[] = {1, 7, 120, 192, 383, 479, 481, 960, 1024, 32767};
    for (int timeBase : timeBases) {
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            SongGenerator generator;
            generator.SetTimeBase(timeBase);
            generator.SetSeed(seed);
            generator.SetHumanTiming(seed % 2 == 1);
            const Bytes image = generator.Build(3000);
            MidiFile strict;
            MidiFile lenient;
            ASSERT_EQ(MIDIFILE_OK, strict.Build(image.data(), image.size()));
            ASSERT_EQ(MIDIFILE_OK, BuildExact(lenient, image, Lenient())) << timeBase;
            EXPECT_EQ(480, lenient.GetTimeBase());
            EXPECT_EQ(timeBase, lenient.GetReadLog().timeBaseFrom);
            ASSERT_EQ(strict.GetTrackCount(), lenient.GetTrackCount());
            for (int i = 0; i < strict.GetTrackCount(); ++i) {
                MidiTrack::Position s = strict.GetTrack(i)->GetPosition(0);
                MidiTrack::Position l = lenient.GetTrack(i)->GetPosition(0);
                int64_t deltas = 0;
                for (; s != strict.GetTrack(i)->GetPosition(1); ++s, ++l) {
                    const uint64_t t = static_cast<uint32_t>((*s)->GetTime());
                    const uint64_t expected = (2 * t * 480 + timeBase) / (2 * timeBase);
                    ASSERT_EQ(static_cast<int64_t>(expected), (*l)->GetTime())
                        << "time base " << timeBase << " track " << i << " tick " << t;
                    ASSERT_EQ((*s)->GetLength(), (*l)->GetLength());
                    deltas += (*l)->GetDelta();
                }
                EXPECT_EQ(deltas, strict.GetTrack(i)->GetEventCount() == 0
                                      ? 0
                                      : (*--lenient.GetTrack(i)->GetPosition(1))->GetTime());
            }
        }
    }
}

TEST(MidiFileLenientTest, HalvesRoundUp)
{
    // At time base 960 a tick is half a tick of 480: 1 -> 1 (0.5 up), 2 -> 1,
    // 3 -> 2 (1.5 up); at 1440, 1 -> 0 (a third), 2 -> 1 (two thirds).
    struct Case { int timeBase; uint32_t deltas[3]; int32_t times[3]; } cases[] = {
        {960, {1, 1, 1}, {1, 1, 2}},
        {1440, {1, 1, 1}, {0, 1, 1}},
        {320, {1, 1, 1}, {2, 3, 5}},                 // 1.5 -> 2, 3 -> 3, 4.5 -> 5
    };
    for (const Case& c : cases) {
        SmfBuilder b(0, c.timeBase);
        int t = b.AddTrack();
        for (uint32_t d : c.deltas)
            b.NoteOn(t, d, 0, 60, 100);
        MidiFile file;
        const Bytes image = b.Build();
        ASSERT_EQ(MIDIFILE_OK, BuildExact(file, image, Lenient()));
        int i = 0;
        for (MidiTrack::Position p = file.GetTrack(0)->GetPosition(0);
             p != file.GetTrack(0)->GetPosition(1); ++p, ++i)
            EXPECT_EQ(c.times[i], (*p)->GetTime()) << c.timeBase << " event " << i;
    }
}

// What lenient reading takes in, what it must read it as and what it says;
// the strict reading of each stays a refusal.
TEST(MidiFileLenientTest, AdaptedStructuresReadAsTheCleanFile)
{
    const Bytes clean = TwoTracks();
    MidiFile reference;
    ASSERT_EQ(MIDIFILE_OK, reference.Build(clean.data(), clean.size()));
    const MidiTrack* first = reference.GetTrack(0);
    const size_t afterFirst = 14 + 8 + first->GetChunk().GetLength();

    Bytes rmid = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'I', 'N', 'F', 'O', 3, 0, 0, 0, 1, 2, 3, 0,
                  'd', 'a', 't', 'a', static_cast<unsigned char>(clean.size()), 0, 0, 0};
    rmid.insert(rmid.end(), clean.begin(), clean.end());
    Bytes missing = clean;
    missing[11] = 4;                                  // four tracks declared, two present
    struct Case { const char* name; Bytes image; int skipped; int missing; bool unwrapped; } cases[] = {
        {"chunk before the tracks", Insert(clean, 14, Chunk("XFIH", 5)), 1, 0, false},
        {"empty chunk between", Insert(clean, afterFirst, Chunk("XFKM", 0)), 1, 0, false},
        {"chunk between", Insert(clean, afterFirst, Chunk("junk", 9)), 1, 0, false},
        {"two chunks after", Insert(Insert(clean, clean.size(), Chunk("XFKM", 2)), clean.size(), Chunk("MTrk", 4)), 2, 0, false},
        {"RMID", rmid, 0, 0, true},
        {"tracks missing", Insert(missing, missing.size(), Chunk("abcd", 1)), 1, 2, false},
    };
    for (const Case& c : cases) {
        MidiFile strict;
        EXPECT_EQ(MIDIFILE_INVALID, strict.Validate(c.image.data(), c.image.size())) << c.name;
        MidiFile file;
        ASSERT_EQ(MIDIFILE_OK, BuildExact(file, c.image, Lenient())) << c.name;
        EXPECT_EQ(Dump(reference), Dump(file)) << c.name;
        EXPECT_EQ(c.skipped, file.GetReadLog().skippedChunks) << c.name;
        EXPECT_EQ(c.missing, file.GetReadLog().missingTracks) << c.name;
        EXPECT_EQ(c.unwrapped, file.GetReadLog().unwrapped) << c.name;
        EXPECT_FALSE(file.GetReadLog().IsRetimed()) << c.name;
    }
}

// A last track chunk cut anywhere keeps the earlier tracks whole and a
// prefix of its own events; nothing is read past the end of the image.
TEST(MidiFileLenientTest, EveryCutOfTheLastTrackKeepsWhatIsThere)
{
    const Bytes clean = TwoTracks();
    MidiFile reference;
    ASSERT_EQ(MIDIFILE_OK, reference.Build(clean.data(), clean.size()));
    const size_t lastChunk = 14 + 8 + reference.GetTrack(0)->GetChunk().GetLength();
    const std::string whole = Dump(reference);
    const std::string firstTrack = whole.substr(0, whole.find(']') + 1);
    for (size_t size = lastChunk + 8; size < clean.size(); ++size) {
        const Bytes cut(clean.begin(), clean.begin() + static_cast<long>(size));
        MidiFile file;
        ASSERT_EQ(MIDIFILE_OK, BuildExact(file, cut, Lenient())) << size;
        const std::string dump = Dump(file);
        EXPECT_EQ(0u, dump.find(firstTrack)) << size;
        const std::string last = dump.substr(firstTrack.size());
        EXPECT_EQ(0u, whole.substr(firstTrack.size()).find(last.substr(0, last.size() - 2))) << size;
        EXPECT_EQ(1, file.GetReadLog().cutTrack) << size;
        EXPECT_LE(file.GetReadLog().cutAt, static_cast<long long>(size));
        EXPECT_GE(file.GetReadLog().cutAt, static_cast<long long>(lastChunk + 8));
    }
}

TEST(MidiFileLenientTest, StrictOptionsAndKeptTimeBasesChangeNothing)
{
    for (int timeBase : {48, 96, 240, 480}) {
        SongGenerator generator;
        generator.SetTimeBase(timeBase);
        const Bytes image = generator.Build(500);
        MidiFile strict;
        MidiFile lenient;
        MidiFile defaults;
        ASSERT_EQ(MIDIFILE_OK, strict.Build(image.data(), image.size()));
        ASSERT_EQ(MIDIFILE_OK, lenient.Build(image.data(), image.size(), Lenient()));
        ASSERT_EQ(MIDIFILE_OK, defaults.Build(image.data(), image.size(), MidiReadOptions()));
        EXPECT_EQ(Dump(strict), Dump(lenient));
        EXPECT_EQ(Dump(strict), Dump(defaults));
        EXPECT_EQ(timeBase, lenient.GetTimeBase());
        EXPECT_FALSE(lenient.GetReadLog().IsAdapted());
    }
    // SMPTE division and time base 0 are not re-timed: the converter refuses them.
    for (int division : {0xE728, 0}) {
        SmfBuilder b(0, division);
        b.EndOfTrack(b.AddTrack());
        MidiFile file;
        ASSERT_EQ(MIDIFILE_OK, BuildExact(file, b.Build(), Lenient()));
        EXPECT_EQ(division, file.GetTimeBase());
        EXPECT_FALSE(file.GetReadLog().IsRetimed());
    }
}

TEST(MidiFileLenientTest, MusicTooLongToRetimeIsRefused)
{
    SmfBuilder b(0, 1);
    int t = b.AddTrack();
    b.NoteOn(t, 0x0FFFFFFF, 0, 60, 100);             // 2^28 quarter notes: past 2^31 ticks of 480
    MidiFile file;
    EXPECT_EQ(MIDIFILE_TOO_LONG, BuildExact(file, b.Build(), Lenient()));
    EXPECT_EQ(0, file.GetTrackCount());
}
