#ifndef MIDI_MIDITRACK_H
#define MIDI_MIDITRACK_H

#include <cstdint>
#include <list>
#include <memory>

#include "midi/ArenaAllocator.h"
#include "midi/MemoryArena.h"
#include "midi/MidiChunk.h"

class MidiEvent;

// One track chunk: its events in file order, each with its absolute time from
// the start of the track. Owns its events, so it cannot be copied. The events
// and the nodes of their list live side by side in an arena: the file's,
// shared by all its tracks, or the track's own.
//
// Walking a track:
//   for (MidiTrack::Position p = t->GetPosition(0); p != t->GetPosition(1); ++p) {
//       const MidiEvent* e = *p;
//   }
class MidiTrack {
public:
    typedef std::list<MidiEvent*, ArenaAllocator<MidiEvent*>> EventList;
    typedef EventList::const_iterator Position;

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
    // Takes ownership of event (made with new) and appends it at the end.
    virtual void Append(MidiEvent* event);

// Attributes
    virtual int GetEventCount() const;
    // 1 gives the end position (just past the last event); anything else the first.
    virtual Position GetPosition(int which) const;
    virtual const MidiChunk& GetChunk() const;       // the header this track was read from

private:
    MidiEvent* NewEvent();

    std::unique_ptr<MemoryArena> m_ownArena;         // before m_events: the events live in it
    MemoryArena* m_arena;                            // m_ownArena's or the file's
    EventList m_events;                              // owned, in m_arena
    MidiChunk m_chunk;
};

#endif
