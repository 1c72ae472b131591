#include "midi/MidiFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gen/SeedImages.h"
#include "gen/SmfBuilder.h"
#include "midi/MidiEvent.h"
#include "midi/MidiTrack.h"
#include "tests/midi/TrackDump.h"

namespace {

typedef std::vector<unsigned char> Bytes;

int Validate(const Bytes& image)
{
    // A copy of exactly this size, so that any read past it is caught.
    std::vector<unsigned char> exact(image);
    MidiFile file;
    return file.Validate(exact.empty() ? nullptr : exact.data(), exact.size());
}

Bytes SmallImage()
{
    return SeedImages().MakeSmallImage();
}

Bytes TwoTrackImage()
{
    return SeedImages().MakeTwoTracks();
}

TEST(MidiFileTest, SmallImageBuildsOneTrack)
{
    Bytes image = SmallImage();
    ASSERT_EQ(34u, image.size());
    MidiFile file;
    EXPECT_EQ(MIDIFILE_OK, file.Validate(image.data(), image.size()));
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
    EXPECT_EQ(0, file.GetFormat());
    EXPECT_EQ(1, file.GetTrackCount());
    EXPECT_EQ(96, file.GetTimeBase());
    EXPECT_EQ("[ 0:903C64 96:803C40 96:FF2F00 ]", Dump(file));
    const MidiTrack* t = file.GetTrack(0);
    std::vector<int32_t> deltas;
    for (MidiTrack::Position p = t->GetPosition(0); p != t->GetPosition(1); ++p)
        deltas.push_back((*p)->GetDelta());
    EXPECT_EQ((std::vector<int32_t>{0, 96, 0}), deltas);
}

TEST(MidiFileTest, EmptyFileBeforeBuild)
{
    MidiFile file;
    Bytes image = SmallImage();
    EXPECT_EQ(MIDIFILE_OK, file.Validate(image.data(), image.size()));
    EXPECT_EQ(0, file.GetTrackCount());
    EXPECT_EQ(0, file.GetFormat());
    EXPECT_EQ(0, file.GetTimeBase());
    EXPECT_EQ(nullptr, file.GetTrack(0));
}

TEST(MidiFileTest, TrackIndexOutOfRangeGivesNull)
{
    Bytes image = TwoTrackImage();
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
    EXPECT_NE(nullptr, file.GetTrack(0));
    EXPECT_NE(nullptr, file.GetTrack(1));
    EXPECT_EQ(nullptr, file.GetTrack(2));
    EXPECT_EQ(nullptr, file.GetTrack(-1));
}

TEST(MidiFileTest, HeaderOnlyImageHasNoTracks)
{
    Bytes image = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 0, 0, 0x60};
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
    EXPECT_EQ(0, file.GetTrackCount());
    EXPECT_EQ(96, file.GetTimeBase());
    EXPECT_EQ(nullptr, file.GetTrack(0));
}

TEST(MidiFileTest, LongerHeaderMovesFirstTrack)
{
    Bytes image = SmallImage();
    image[7] = 10;
    image.insert(image.begin() + 14, {0xAA, 0xBB, 0xCC, 0xDD});
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
    EXPECT_EQ(0, file.GetFormat());
    EXPECT_EQ(1, file.GetTrackCount());
    EXPECT_EQ(96, file.GetTimeBase());
    EXPECT_EQ("[ 0:903C64 96:803C40 96:FF2F00 ]", Dump(file));
}

TEST(MidiFileTest, ReaderAcceptsAnyFormatAndDivision)
{
    const int values[][2] = {{2, 120}, {0xFFFF, 0x8000}, {1, 0xE728}, {0, 0}};
    for (const auto& v : values) {
        SmfBuilder b(v[0], v[1]);
        b.EndOfTrack(b.AddTrack());
        Bytes image = b.Build();
        MidiFile file;
        ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
        EXPECT_EQ(v[0], file.GetFormat());
        EXPECT_EQ(v[1], file.GetTimeBase());
    }
}

struct BrokenCase {
    const char* name;
    std::function<Bytes()> make;
};

class BrokenStructureTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenStructureTest, IsInvalid)
{
    Bytes image = GetParam().make();
    EXPECT_EQ(MIDIFILE_INVALID, Validate(image));
    MidiFile file;
    std::vector<unsigned char> exact(image);
    EXPECT_EQ(MIDIFILE_INVALID, file.Build(exact.empty() ? nullptr : exact.data(), exact.size()));
    EXPECT_EQ(0, file.GetTrackCount());
}

Bytes WithTrailer(const Bytes& trailer)
{
    Bytes image = TwoTrackImage();
    image.insert(image.end(), trailer.begin(), trailer.end());
    return image;
}

Bytes WithChunkAt(size_t offset)
{
    Bytes image = TwoTrackImage();
    const Bytes chunk = {'X', 'F', 'I', 'H', 0, 0, 0, 2, 0x01, 0x02};
    image.insert(image.begin() + static_cast<long>(offset), chunk.begin(), chunk.end());
    return image;
}

Bytes WithTrackCount(int count)
{
    Bytes image = TwoTrackImage();
    image[11] = static_cast<unsigned char>(count);
    return image;
}

// First track chunk of TwoTrackImage starts at 14, the second at 14 + 8 + 11.
const size_t kSecondTrack = 33;

Bytes WithLength(size_t chunkOffset, uint32_t length)
{
    Bytes image = TwoTrackImage();
    for (int i = 0; i < 4; ++i)
        image[chunkOffset + 4 + static_cast<size_t>(i)] = static_cast<unsigned char>(length >> (24 - 8 * i));
    return image;
}

INSTANTIATE_TEST_SUITE_P(Images, BrokenStructureTest, ::testing::Values(
    BrokenCase{"Empty", [] { return Bytes(); }},
    BrokenCase{"ShorterThanHeaderFields", [] {
        Bytes b = SmallImage(); b.resize(13); return b; }},
    BrokenCase{"OneByteMore", [] { return WithTrailer({0x00}); }},
    BrokenCase{"OneByteLess", [] { Bytes b = TwoTrackImage(); b.pop_back(); return b; }},
    BrokenCase{"TrailingTrack", [] {
        return WithTrailer({'M', 'T', 'r', 'k', 0, 0, 0, 0}); }},
    BrokenCase{"FewerTracksThanDeclared", [] { return WithTrackCount(3); }},
    BrokenCase{"MoreTracksThanDeclared", [] { return WithTrackCount(1); }},
    BrokenCase{"ForeignChunkBeforeTracks", [] { return WithChunkAt(14); }},
    BrokenCase{"ForeignChunkBetweenTracks", [] { return WithChunkAt(kSecondTrack); }},
    BrokenCase{"ForeignChunkAfterTracks", [] { return WithTrailer(
        {'X', 'F', 'K', 'M', 0, 0, 0, 1, 0x00}); }},
    BrokenCase{"RiffWrapped", [] {
        Bytes inner = TwoTrackImage();
        Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
        b.insert(b.end(), inner.begin(), inner.end());
        return b; }},
    BrokenCase{"LowerCaseHeaderId", [] { Bytes b = TwoTrackImage(); b[1] = 't'; return b; }},
    BrokenCase{"TrackLengthTooLarge", [] { return WithLength(kSecondTrack, 14); }},
    BrokenCase{"TrackLengthTooSmall", [] { return WithLength(kSecondTrack, 12); }},
    BrokenCase{"TrackLengthWrapsAround", [] { return WithLength(14, 0xFFFFFFFFu); }},
    BrokenCase{"TrackLengthWrapsToNextTrack", [] { return WithLength(14, 0xFFFFFFF8u); }},
    BrokenCase{"HeaderLengthPastEnd", [] {
        Bytes b = TwoTrackImage(); b[4] = 0xFF; b[5] = 0xFF; b[6] = 0xFF; b[7] = 0xF0; return b; }},
    BrokenCase{"HeaderLengthWrapsAround", [] {
        Bytes b = SmallImage(); b[4] = 0xFF; b[5] = 0xFF; b[6] = 0xFF; b[7] = 0xFF; b[11] = 0;
        b.resize(14); return b; }},
    BrokenCase{"HeaderOnlyWithOneTrackDeclared", [] {
        Bytes b = SmallImage(); b.resize(14); return b; }},
    BrokenCase{"TrackHeaderCutOff", [] { Bytes b = SmallImage(); b.resize(18); b[11] = 1; return b; }}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST(MidiFileTest, EveryTruncationIsInvalid)
{
    Bytes image = TwoTrackImage();
    for (size_t size = 0; size < image.size(); ++size)
        EXPECT_EQ(MIDIFILE_INVALID, Validate(Bytes(image.begin(), image.begin() + static_cast<long>(size))))
            << size;
    EXPECT_EQ(MIDIFILE_OK, Validate(image));
}

TEST(MidiFileTest, RunningStatusStartsFreshForEachFile)
{
    // The first file leaves a note-on status behind.
    Bytes first = SmallImage();
    first[31] = 0x90;                                  // ... 00 90 2F 00 instead of end of track
    // The second file's first event has no status byte.
    Bytes second = SmallImage();
    const Bytes events = {0x00, 0x3C, 0x64, 0x00, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    second.resize(22);
    second.insert(second.end(), events.begin(), events.end());
    second[21] = static_cast<unsigned char>(events.size());

    MidiFile alone;
    ASSERT_EQ(MIDIFILE_OK, alone.Build(second.data(), second.size()));
    MidiFile before;
    ASSERT_EQ(MIDIFILE_OK, before.Build(first.data(), first.size()));
    MidiFile after;
    ASSERT_EQ(MIDIFILE_OK, after.Build(second.data(), second.size()));
    EXPECT_EQ("[ 0:003C64 0:803C40 0:FF2F00 ]", Dump(alone));
    EXPECT_EQ(Dump(alone), Dump(after));
}

TEST(MidiFileTest, RunningStatusCarriesFromTrackToTrack)
{
    SmfBuilder b(1, 96);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    b.NoteOn(t0, 0, 3, 60, 100);
    b.AddRaw(t1, 10, {0x3E, 0x64});
    b.AddRaw(t1, 0, {0xFF, 0x2F, 0x00});
    Bytes image = b.Build();
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
    EXPECT_EQ("[ 0:933C64 ][ 10:933E64 10:FF2F00 ]", Dump(file));
}

TEST(MidiFileTest, MalformedEventDoesNotShiftLaterTracks)
{
    SmfBuilder b(1, 96);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    int t2 = b.AddTrack();
    b.NoteOn(t0, 0, 0, 60, 100);
    b.AddRaw(t0, 96, {0x80, 0x3C});                  // velocity missing
    b.NoteOn(t1, 0, 1, 62, 100);
    b.AddRaw(t1, 0, {0xFF, 0x03, 0x7F, 'x'});        // meta longer than its chunk
    b.NoteOn(t2, 5, 2, 64, 100);
    b.EndOfTrack(t2);
    Bytes image = b.Build();
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(image.data(), image.size()));
    ASSERT_EQ(3, file.GetTrackCount());
    EXPECT_EQ("[ 0:903C64 ][ 0:913E64 ][ 5:924064 5:FF2F00 ]", Dump(file));
}

TEST(MidiFileTest, LastTrackCutOffReadsNothingPastImage)
{
    SmfBuilder b(0, 96);
    int t = b.AddTrack();
    b.NoteOn(t, 0, 0, 60, 100);
    b.AddRaw(t, 0, {0xF0, 0x85});                    // length field cut off by the image end
    Bytes image = b.Build();
    std::vector<unsigned char> exact(image);
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(exact.data(), exact.size()));
    EXPECT_EQ("[ 0:903C64 ]", Dump(file));
}

TEST(MidiFileTest, BuildingAgainReplacesTracks)
{
    Bytes two = TwoTrackImage();
    Bytes one = SmallImage();
    MidiFile file;
    ASSERT_EQ(MIDIFILE_OK, file.Build(two.data(), two.size()));
    ASSERT_EQ(MIDIFILE_OK, file.Build(one.data(), one.size()));
    EXPECT_EQ(1, file.GetTrackCount());
    EXPECT_EQ(nullptr, file.GetTrack(1));
    EXPECT_EQ("[ 0:903C64 96:803C40 96:FF2F00 ]", Dump(file));
    // A refused image leaves the file as it was.
    Bytes broken = one;
    broken.pop_back();
    EXPECT_EQ(MIDIFILE_INVALID, file.Build(broken.data(), broken.size()));
    EXPECT_EQ(1, file.GetTrackCount());
}

TEST(MidiFileTest, FuzzedTrackBytesNeverBreakTheReader)
{
    // Every byte value at every place of the events: the reader must neither
    // read outside the image nor lose the structure; ASan checks the reads.
    Bytes image = TwoTrackImage();
    for (size_t at = 22; at < image.size(); ++at) {
        if (at >= kSecondTrack && at < kSecondTrack + 8)
            continue;                                // the second chunk header
        for (int value = 0; value < 256; value += 3) {
            std::vector<unsigned char> copy(image);
            copy[at] = static_cast<unsigned char>(value);
            MidiFile file;
            ASSERT_EQ(MIDIFILE_OK, file.Build(copy.data(), copy.size()));
            ASSERT_EQ(2, file.GetTrackCount());
            ASSERT_NE(nullptr, file.GetTrack(1));
        }
    }
}

}  // namespace
