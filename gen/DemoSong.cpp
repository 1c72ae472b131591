#include "gen/DemoSong.h"

#include "gen/SmfBuilder.h"

namespace {

const int kTimeBase = 480;
const int kEighth = kTimeBase / 2;
const int kBar = kTimeBase * 4;
const int kRest = -1;

struct Note {
    int key;                                          // kRest for a rest
    int eighths;
};

// The tune, bar by bar (C5 = 72).
const Note kMelody[] = {
    {76, 2}, {74, 1}, {72, 1}, {76, 2}, {79, 2},
    {81, 3}, {79, 1}, {76, 4},
    {77, 2}, {81, 2}, {79, 1}, {77, 1}, {76, 2},
    {74, 2}, {79, 2}, {71, 2}, {kRest, 2},
    {76, 1}, {77, 1}, {79, 2}, {84, 2}, {79, 2},
    {81, 2}, {84, 2}, {83, 1}, {81, 1}, {76, 2},
    {77, 1}, {79, 1}, {81, 2}, {79, 2}, {77, 1}, {74, 1},
    {74, 2}, {71, 2}, {72, 4},
};

// One bass note per quarter.
const int kBass[] = {
    36, 43, 48, 43,  33, 40, 45, 40,  41, 48, 53, 48,  43, 50, 55, 50,
    36, 43, 48, 43,  33, 40, 45, 40,  41, 48, 53, 48,  43, 38, 36, 36,
};

// One chord per half bar: C, Am, F, G, C, Am, F, then G and C.
const int kChords[][3] = {
    {60, 64, 67}, {60, 64, 67}, {57, 60, 64}, {57, 60, 64},
    {53, 57, 60}, {53, 57, 60}, {55, 59, 62}, {55, 59, 62},
    {60, 64, 67}, {60, 64, 67}, {57, 60, 64}, {57, 60, 64},
    {53, 57, 60}, {53, 57, 60}, {55, 59, 62}, {55, 60, 64},
};

void Conductor(SmfBuilder& b, int t)
{
    b.TrackName(t, 0, "MORVEK Demo");
    b.Meta(t, 0, 0x58, {4, 2, 24, 8});                // 4/4
    b.Meta(t, 0, 0x59, {0, 0});                       // C major
    b.Tempo(t, 0, 500000);                            // 120 per quarter
    b.Tempo(t, 7 * kBar, 600000);                     // a little slower in the last bar
    b.EndOfTrack(t, kBar);
}

void Melody(SmfBuilder& b, int t)
{
    const int channel = 0;
    b.TrackName(t, 0, "Melody");
    b.AddMessage(t, 0, {0xC0 | channel, 73});         // flute
    b.AddMessage(t, 0, {0xB0 | channel, 7, 100});     // volume
    uint32_t wait = 0;
    for (const Note& n : kMelody) {
        int length = n.eighths * kEighth;
        if (n.key == kRest) {
            wait += static_cast<uint32_t>(length);
            continue;
        }
        const int gap = 30;                           // a short breath between notes
        b.NoteOn(t, wait, channel, n.key, 96);
        b.NoteOff(t, static_cast<uint32_t>(length - gap), channel, n.key);
        wait = gap;
    }
    b.EndOfTrack(t, wait);
}

void Bass(SmfBuilder& b, int t)
{
    const int channel = 1;
    b.TrackName(t, 0, "Bass");
    b.SetRunningStatus(true);
    b.AddMessage(t, 0, {0xC0 | channel, 33});         // finger bass
    const int gap = 20;
    uint32_t wait = 0;
    for (int key : kBass) {
        b.NoteOn(t, wait, channel, key, 100);
        b.NoteOn(t, kTimeBase - gap, channel, key, 0);   // velocity 0 ends the note
        wait = gap;
    }
    b.SetRunningStatus(false);
    b.EndOfTrack(t, wait);
}

void Chords(SmfBuilder& b, int t)
{
    const int channel = 2;
    b.TrackName(t, 0, "Chords");
    b.AddMessage(t, 0, {0xC0 | channel, 0});          // piano
    b.AddMessage(t, 0, {0xB0 | channel, 7, 80});
    for (const auto& chord : kChords) {
        for (int key : chord)
            b.NoteOn(t, 0, channel, key, 70);
        b.NoteOff(t, kBar / 2, channel, chord[0]);
        b.NoteOff(t, 0, channel, chord[1]);
        b.NoteOff(t, 0, channel, chord[2]);
    }
    b.EndOfTrack(t);
}

}  // namespace

DemoSong::DemoSong()
{
}

DemoSong::~DemoSong()
{
}

std::vector<uint8_t> DemoSong::Build() const
{
    SmfBuilder b(1, kTimeBase);
    Conductor(b, b.AddTrack());
    Melody(b, b.AddTrack());
    Bass(b, b.AddTrack());
    Chords(b, b.AddTrack());
    return b.Build();
}
