#ifndef MORVEK_MIDI_MIDITRACK_H
#define MORVEK_MIDI_MIDITRACK_H

#include <cstdint>
#include <list>
#include <memory>

#include "base/ArenaAllocator.h"
#include "base/MemoryArena.h"
#include "midi/MidiChunk.h"
#include "midi/MidiEvent.h"

// One track chunk: its events in file order, each with its absolute time from
// the start of the track. Owns its events, so it cannot be copied. Each event
// lives in its list node, and the nodes lie side by side in an arena: the
// file's, shared by all its tracks, or the track's own.
//
// Walking a track:
//   for (MidiTrack::Position p = t->GetPosition(0); p != t->GetPosition(1); ++p) {
//       const MidiEvent* e = *p;
//   }
class MidiTrack {
public:
    typedef std::list<MidiEvent, ArenaAllocator<MidiEvent>> EventList;

    // A place in the event list; *position is the event there. Moving past
    // the last event gives the end position.
    class Position final {
    public:
        Position() {}
        explicit Position(EventList::const_iterator at) : m_at(at) {}
        virtual ~Position() {}

        virtual const MidiEvent* operator*() const { return &*m_at; }
        virtual Position& operator++()
        {
            ++m_at;
            return *this;
        }
        virtual Position& operator--()
        {
            --m_at;
            return *this;
        }
        virtual bool operator==(const Position& other) const { return m_at == other.m_at; }
        virtual bool operator!=(const Position& other) const { return m_at != other.m_at; }

    private:
        EventList::const_iterator m_at;
    };

// Construction
    // arena: where the events go, not owned, outliving the track; null for
    // an arena of the track's own.
    explicit MidiTrack(MemoryArena* arena = nullptr);
    virtual ~MidiTrack();
    MidiTrack(const MidiTrack&) = delete;
    MidiTrack& operator=(const MidiTrack&) = delete;

// Operations
    // Reads the track chunk whose header is at position, never reading at or
    // past limit, and appends its events. The events are read only inside the
    // chunk's declared length (and the limit); an event whose delta time or
    // message would run past that end ends the track, keeping the events
    // before it. runningStatus carries the file's decoding state from event to
    // event and from track to track. Returns the bytes taken (8 + the bytes of
    // the events kept), or 1 without events when no "MTrk" header is there.
    // Each new event gets its absolute time as ComputeTimes would give it.
    virtual unsigned long Parse(const unsigned char* position, const unsigned char* limit,
                                unsigned char& runningStatus);
    // Fills every event's absolute time from the deltas; returns the last time.
    virtual int32_t ComputeTimes();
    // Re-times the track from time base from to time base to: the absolute
    // time t of every event (summed from the deltas) becomes the nearest
    // tick, halves up, floor((2 t to + from) / (2 from)), and each delta is
    // taken again from the rounded times, so the track's end cannot drift.
    // Order and messages stay. False, with the track partly re-timed, when a
    // time base is below 1 or a re-timed time would pass 2^31 - 1.
    virtual bool Retime(int from, int to);
    // Takes ownership of event (made with new) and appends it at the end;
    // its contents move into the track's list.
    virtual void Append(MidiEvent* event);

// Attributes
    virtual int GetEventCount() const;
    // 1 gives the end position (just past the last event); anything else the first.
    virtual Position GetPosition(int which) const;
    virtual const MidiChunk& GetChunk() const;       // the header this track was read from

private:
    std::unique_ptr<MemoryArena> m_ownArena;         // before m_events: the events live in it
    EventList m_events;                              // owned, in the arena
    MidiChunk m_chunk;
};

#endif
