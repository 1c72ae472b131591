#ifndef MORVEK_GEN_SONGGENERATOR_H
#define MORVEK_GEN_SONGGENERATOR_H

#include <cstdint>
#include <vector>

// Makes long pseudo-random songs of a chosen number of events, for benchmarks
// and large-input tests: format 1, a conductor track with meta events, then
// instrument tracks in turn: a melody (humanized timing, now and then one
// note overlapping the next), chords (three or four notes on one tick, ended
// by note-on velocity 0), a bass (note-off messages, pitch bends), and a fast
// line with drums on channel 9 (a second list in that track). Channel
// messages use running status wherever the status repeats.
//
// With human timing on, the notes are played as by hand rather than put on a
// grid: starts a few ticks early or late, legato lines whose notes overlap
// the next by a few ticks, chords whose notes start a few ticks apart (top
// note last, as a rolled chord) and a melody above the chords in their own
// channel. Off (the default), the bytes are those the generator has always
// made.
//
// How to use:
//   1. SongGenerator g; optionally SetTrackCount, SetTimeBase, SetSeed.
//   2. std::vector<uint8_t> image = g.Build(1000000);
//   3. g.GetEventCount() is the exact number of events in the image and
//      g.GetListCount() the number of note lists (track, channel) it yields.
// The same settings always give the same bytes.
class SongGenerator {
public:
    static constexpr int kMaxTrackCount = 15;           // one channel each, 9 kept for drums

// Construction
    SongGenerator();
    virtual ~SongGenerator();

// Attributes
    // Instrument tracks (1..15), not counting the conductor track; default 8.
    virtual int SetTrackCount(int count);
    virtual int GetTrackCount() const;
    // Ticks per quarter note; default 480.
    virtual int SetTimeBase(int timeBase);
    virtual int GetTimeBase() const;
    virtual uint32_t SetSeed(uint32_t seed);
    virtual uint32_t GetSeed() const;
    // Returns the previous setting.
    virtual bool SetHumanTiming(bool on);
    virtual bool GetHumanTiming() const;
    // Of the last Build: events in all tracks, and (track, channel) pairs that
    // carry channel messages.
    virtual long GetEventCount() const;
    virtual int GetListCount() const;

// Operations
    // A song of at least eventCount events: whole bars are added until the
    // count is reached, so it ends within a bar's worth of events above it.
    virtual std::vector<uint8_t> Build(long eventCount);

private:
    int m_trackCount;
    int m_timeBase;
    uint32_t m_seed;
    bool m_humanTiming;
    long m_eventCount;
    int m_listCount;
};

#endif
