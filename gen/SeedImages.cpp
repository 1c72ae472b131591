#include "gen/SeedImages.h"

#include "gen/DemoSong.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"

namespace {

typedef std::vector<uint8_t> Bytes;

const uint32_t kLongestDelta = 0x0FFFFFFF;
const int kMostTracks = 65535;

Bytes Song(int tracks, int timeBase, long events, uint32_t seed)
{
    SongGenerator g;
    g.SetTrackCount(tracks);
    g.SetTimeBase(timeBase);
    g.SetSeed(seed);
    return g.Build(events);
}

// Chords, overlaps, zero-velocity note-offs, drums and a controller-only
// channel, with running status, system exclusive, escape and meta events,
// extreme keys and events after the end of the track.
Bytes OddEvents(int timeBase)
{
    const uint32_t quarter = static_cast<uint32_t>(timeBase);
    SmfBuilder b(1, timeBase);
    int conductor = b.AddTrack();
    int t = b.AddTrack();
    b.TrackName(conductor, 0, "conductor");
    b.Tempo(conductor, 0, 500000);
    b.Meta(conductor, 0, 0x58, {4, 2, 24, 8});
    b.EndOfTrack(conductor);
    b.SetRunningStatus(true);
    b.AddMessage(t, 0, {0xF0, 0x03, 0x43, 0x12, 0xF7});
    b.AddMessage(t, 0, {0xF7, 0x02, 0x01, 0x02});
    b.NoteOn(t, 0, 0, 60, 100);
    b.NoteOn(t, 0, 0, 64, 100);
    b.NoteOn(t, 0, 0, 67, 100);
    b.NoteOn(t, quarter, 0, 60, 0);
    b.NoteOff(t, 0, 0, 64);
    b.NoteOff(t, 0, 0, 67);
    b.NoteOn(t, 7, 9, 36, 90);
    b.NoteOff(t, 5, 9, 36);
    b.AddMessage(t, 0, {0xB3, 7, 100});
    b.AddMessage(t, 0, {0xC3, 5});
    b.NoteOn(t, 0, 0, 127, 1);
    b.NoteOn(t, quarter / 2, 0, 0, 1);
    b.NoteOff(t, quarter / 3, 0, 127);
    b.AddMessage(t, 0, {0xE0, 0x00, 0x40});
    b.EndOfTrack(t);
    b.NoteOn(t, 3, 0, 72, 80);
    b.NoteOff(t, quarter, 0, 72);
    return b.Build();
}

Bytes Header(int format, int tracks, int division)
{
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<uint8_t>(format),
            static_cast<uint8_t>(tracks >> 8), static_cast<uint8_t>(tracks),
            static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)};
}

void Append(Bytes& to, const Bytes& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// Header, then empty track chunks.
Bytes EmptyTracks(int declared, int present)
{
    Bytes b = Header(1, declared, 96);
    for (int i = 0; i < present; ++i)
        Append(b, {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    return b;
}

Bytes Text(const char* text)
{
    return Bytes(text, text + std::string(text).size());
}

// Two tracks; the first one carries raw event bytes as given, the second a
// normal note, so that a fault in the first must not disturb the second.
Bytes FirstTrackRaw(const Bytes& raw)
{
    SmfBuilder b(1, 96);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    b.NoteOn(t0, 0, 0, 60, 100);
    b.NoteOff(t0, 96, 0, 60);
    b.AddRaw(t0, 0, raw);
    b.NoteOn(t1, 48, 1, 62, 100);
    b.NoteOff(t1, 96, 1, 62);
    b.EndOfTrack(t1);
    return b.Build();
}

// One track whose bytes after a first note end exactly as given: the last
// chunk, so its end is the end of the image.
Bytes EndsWith(const Bytes& tail)
{
    SmfBuilder b(0, 96);
    int t = b.AddTrack();
    b.NoteOn(t, 0, 0, 60, 100);
    b.NoteOff(t, 96, 0, 60);
    Bytes image = b.Build();
    Append(image, tail);
    const size_t length = image.size() - 22;         // the track chunk's events
    for (int i = 0; i < 4; ++i)
        image[18 + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (24 - 8 * i));
    return image;
}

// The file's first event carries no status byte: there is no running status yet.
Bytes NoStatusFirst()
{
    SmfBuilder b(0, 96);
    int t = b.AddTrack();
    b.AddRaw(t, 0, {0x3C, 0x64});
    b.NoteOn(t, 0, 0, 60, 100);
    b.AddRaw(t, 96, {0x3C, 0x00});
    b.EndOfTrack(t);
    return b.Build();
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
    b.EndOfTrack(t1);
    return b.Build();
}

Bytes Changed(Bytes image, size_t at, const Bytes& bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        image[at + i] = bytes[i];
    return image;
}

Bytes Inserted(Bytes image, size_t at, const Bytes& bytes)
{
    image.insert(image.begin() + static_cast<long>(at), bytes.begin(), bytes.end());
    return image;
}

}  // namespace

SeedImages::SeedImages()
{
}

SeedImages::~SeedImages()
{
}

std::vector<SeedImages::Image> SeedImages::MakeAll() const
{
    std::vector<Image> all = MakeSongs();
    for (std::vector<Image> part : {MakeOddTracks(), MakeBroken()})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<SeedImages::Image> SeedImages::MakeSongs() const
{
    return {
        {"demo", DemoSong().Build(), kConverts},
        {"small-tb96", MakeSmallImage(), kConverts},
        {"song-tb48", Song(3, 48, 300, 1), kConverts},
        {"song-tb96", Song(4, 96, 300, 2), kConverts},
        {"song-tb240", Song(5, 240, 300, 3), kConverts},
        {"song-tb480", Song(8, 480, 400, 4), kConverts},
        {"odd-events-tb48", OddEvents(48), kConverts},
        {"odd-events-tb480", OddEvents(480), kConverts},
        {"no-tracks", Header(0, 0, 96), kConverts},
        {"65535-empty-tracks", EmptyTracks(kMostTracks, kMostTracks), kConverts},
        {"long-note-tb480", MakeLongNote(480), kConverts},
    };
}

std::vector<SeedImages::Image> SeedImages::MakeOddTracks() const
{
    // A quantity of ten bytes: only the low 32 bits of its value count (5).
    const Bytes tenByteFive = {0x8F, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x05};
    Bytes tenByteDelta = tenByteFive;
    Append(tenByteDelta, {0x90, 0x40, 0x64, 0x60, 0x80, 0x40, 0x40, 0x00, 0xFF, 0x2F, 0x00});
    Bytes tenByteMetaLength = {0x00, 0xFF, 0x01};
    Append(tenByteMetaLength, tenByteFive);
    Append(tenByteMetaLength, {'h', 'e', 'l', 'l', 'o', 0x00, 0x90, 0x43, 0x64, 0x30, 0x43, 0x00});
    return {
        {"ten-byte-delta", EndsWith(tenByteDelta), kConverts},
        {"ten-byte-meta-length", EndsWith(tenByteMetaLength), kConverts},
        {"sysex-past-chunk", FirstTrackRaw({0xF0, 0x7F, 0x43, 0x12}), kConverts},
        {"meta-past-chunk", FirstTrackRaw({0xFF, 0x03, 0x7F, 'x'}), kConverts},
        {"meta-length-cut-by-chunk", FirstTrackRaw({0xFF, 0x03, 0x81}), kConverts},
        {"message-cut-by-chunk", FirstTrackRaw({0x90, 0x3C}), kConverts},
        {"message-cut-at-end", EndsWith({0x00, 0x90, 0x3C}), kConverts},
        {"delta-cut-at-end", EndsWith({0x81}), kConverts},
        {"sysex-cut-at-end", EndsWith({0x00, 0xF0, 0x05, 0x01}), kConverts},
        {"running-status-without-status", NoStatusFirst(), kConverts},
    };
}

std::vector<SeedImages::Image> SeedImages::MakeBroken() const
{
    const Bytes two = TwoTracks();
    const size_t secondTrack = 14 + 8 + (two[21] | two[20] << 8);
    const Bytes vendor = {'X', 'F', 'I', 'H', 0, 0, 0, 2, 0x01, 0x02};
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
    Append(riff, two);
    Bytes trailing = two;
    trailing.push_back(0x00);
    Bytes shorter = two;
    shorter.pop_back();
    Bytes zeroDeclared = two;
    zeroDeclared[11] = 0;
    return {
        {"empty", {}, kNotMidi},
        {"one-byte", {'M'}, kNotMidi},
        {"text-file", Text("1000 CLEAR 300,&H5600\r\n1010 LOADM \"ZEBLOKUM\"\r\n"), kNotMidi},
        {"header-cut", Bytes(two.begin(), two.begin() + 13), kNotMidi},
        {"riff-wrapped", riff, kNotMidi},
        {"vendor-chunk-before-tracks", Inserted(two, 14, vendor), kNotMidi},
        {"vendor-chunk-between-tracks", Inserted(two, secondTrack, vendor), kNotMidi},
        {"vendor-chunk-after-tracks", Inserted(two, two.size(), vendor), kNotMidi},
        {"chunk-length-past-end", Changed(two, secondTrack + 4, {0x00, 0x00, 0x10, 0x00}), kNotMidi},
        {"chunk-length-wraps", Changed(two, 18, {0xFF, 0xFF, 0xFF, 0xF8}), kNotMidi},
        {"header-length-past-end", Changed(two, 4, {0xFF, 0xFF, 0xFF, 0xF0}), kNotMidi},
        {"zero-tracks-declared-one-present", zeroDeclared, kNotMidi},
        {"65535-tracks-declared-two-present", Changed(two, 10, {0xFF, 0xFF}), kNotMidi},
        {"65535-tracks-declared-65534-present", EmptyTracks(kMostTracks, kMostTracks - 1), kNotMidi},
        {"trailing-byte", trailing, kNotMidi},
        {"last-byte-missing", shorter, kNotMidi},
        {"format-2", Changed(two, 9, {2}), kBadFormat},
        {"time-base-120", Changed(two, 12, {0x00, 120}), kBadTimeBase},
        {"time-base-0", Changed(two, 12, {0x00, 0x00}), kBadTimeBase},
        {"time-base-smpte", Changed(two, 12, {0xE7, 0x28}), kBadTimeBase},
    };
}

std::vector<uint8_t> SeedImages::MakeTwoTracks() const
{
    return TwoTracks();
}

std::vector<uint8_t> SeedImages::MakeSmallImage() const
{
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0x60,
            'M', 'T', 'r', 'k', 0, 0, 0, 0x0C,
            0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00};
}

std::vector<uint8_t> SeedImages::MakeLongNote(int timeBase) const
{
    SmfBuilder b(0, timeBase);
    int t = b.AddTrack();
    b.NoteOn(t, 0, 0, 60, 100);
    b.NoteOff(t, kLongestDelta, 0, 60);
    b.EndOfTrack(t);
    return b.Build();
}
