#ifndef MORVEK_MIDI_MIDITRACK_H
#define MORVEK_MIDI_MIDITRACK_H

#include <cstdint>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "base/MemoryArena.h"
#include "midi/MidiChunk.h"
#include "midi/MidiEvent.h"

// One track chunk: its events in file order, each with its absolute time from
// the start of the track. Owns its events, so it cannot be copied.
//
// The events are kept compactly, 8 bytes each with the record when it fits
// in 3 bytes (every channel message), in blocks that never move; blocks and
// longer records come from an arena: the file's, shared by all its tracks,
// or the track's own. An event's absolute time is the sum of the deltas up
// to it, which a position carries as it moves. A position shows the event
// there through a MidiEvent of its own, valid until the position moves; its
// record (GetData) lives as long as the track.
//
// Walking a track:
//   for (MidiTrack::Position p = t->GetPosition(0); p != t->GetPosition(1); ++p) {
//       const MidiEvent* e = *p;
//   }
class MidiTrack {
    struct Entry;

public:
    // A place in the track; *position is the event there. Moving past the
    // last event gives the end position.
    class Position final {
    public:
        Position() : m_track(nullptr), m_block(0), m_offset(0), m_before(0) {}
        Position(const MidiTrack* track, size_t block, size_t offset, uint32_t before)
            : m_track(track), m_block(block), m_offset(offset), m_before(before)
        {
        }
        Position(const Position& other)
            : m_track(other.m_track), m_block(other.m_block), m_offset(other.m_offset),
              m_before(other.m_before)
        {
        }
        Position& operator=(const Position& other)
        {
            m_track = other.m_track;
            m_block = other.m_block;
            m_offset = other.m_offset;
            m_before = other.m_before;
            return *this;
        }
        virtual ~Position() {}

        virtual const MidiEvent* operator*() const
        {
            m_track->Show(m_track->m_blocks[m_block][m_offset], m_before, m_event);
            return &m_event;
        }
        // The event's delta, and its record with its length (null when it has
        // none), without showing it as a MidiEvent: what the walks over
        // millions of events read. The record lives as long as the track.
        virtual int32_t GetDelta() const { return m_track->GetDelta(m_track->m_blocks[m_block][m_offset]); }
        virtual const unsigned char* GetRecord(int& length) const
        {
            return m_track->GetRecord(m_track->m_blocks[m_block][m_offset], length);
        }
        virtual Position& operator++()
        {
            m_before += static_cast<uint32_t>(m_track->GetDelta(m_track->m_blocks[m_block][m_offset]));
            if (++m_offset == BlockSize(m_block)) {
                ++m_block;
                m_offset = 0;
            }
            return *this;
        }
        virtual Position& operator--()
        {
            if (m_offset == 0)
                m_offset = BlockSize(--m_block);
            --m_offset;
            m_before -= static_cast<uint32_t>(m_track->GetDelta(m_track->m_blocks[m_block][m_offset]));
            return *this;
        }
        virtual bool operator==(const Position& other) const
        {
            return m_offset == other.m_offset && m_block == other.m_block && m_track == other.m_track;
        }
        virtual bool operator!=(const Position& other) const { return !(*this == other); }

    private:
        const MidiTrack* m_track;
        size_t m_block;
        size_t m_offset;
        uint32_t m_before;                           // the deltas before this place, summed
        mutable MidiEvent m_event;                   // the event shown
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
    // The time of the last event, summed from the deltas (the times always
    // are; kept for callers that fill them).
    virtual int32_t ComputeTimes();
    // Re-times the track from time base from to time base to: the absolute
    // time t of every event (summed from the deltas) becomes the nearest
    // tick, halves up, floor((2 t to + from) / (2 from)), and each delta is
    // taken again from the rounded times, so the track's end cannot drift.
    // Order and messages stay. False, with the track partly re-timed, when a
    // time base is below 1 or a re-timed time would pass 2^31 - 1.
    virtual bool Retime(int from, int to);
    // Takes ownership of event (made with new) and appends it at the end:
    // its delta and record are kept, the event deleted; its time is then
    // the sum of the deltas, like every other event's.
    virtual void Append(MidiEvent* event);

// Attributes
    virtual int GetEventCount() const;
    // Bit c set when an event is a channel message (status 0x80 to 0xEF) of
    // channel c: kept as the events come, so no walk finds it.
    virtual unsigned GetChannelMask() const;
    // Note-ons with a velocity above 0 (records of 3 bytes or more) of
    // channel 0..15, counted the same way; 0 for any other channel.
    virtual long long GetNoteOnCount(int channel) const;
    // 1 gives the end position (just past the last event); anything else the first.
    virtual Position GetPosition(int which) const;
    virtual const MidiChunk& GetChunk() const;       // the header this track was read from

private:
    // One event as the track keeps it: the delta with the record's length
    // in head and the record of up to 3 bytes with the delta's byte count in
    // bytes, or, for anything longer or larger, a far record in the arena
    // whose index into m_far is in bytes.
    struct FarRecord {
        int32_t delta;
        int32_t length;
        int32_t deltaByteCount;                      // the record's bytes follow
    };
    struct Entry {
        uint32_t head;                               // kFar, or delta | length << 28
        unsigned char bytes[4];
    };
    static constexpr uint32_t kFar = 0x80000000u;
    static constexpr uint32_t kMaxNearDelta = 0x0FFFFFFF;
    static constexpr int kMaxNearLength = 3;
    static constexpr int kMaxNearByteCount = 0xFF;

    // Blocks double from 16 events to 4096, so that a short track costs little.
    static size_t BlockSize(size_t block) { return block < 8 ? size_t(16) << block : 4096; }
    static uint32_t GetFarIndex(const Entry& e)
    {
        uint32_t index;
        std::memcpy(&index, e.bytes, sizeof index);
        return index;
    }
    const FarRecord* GetFar(const Entry& e) const { return m_far[GetFarIndex(e)]; }
    int32_t GetDelta(const Entry& e) const
    {
        return e.head & kFar ? GetFar(e)->delta : static_cast<int32_t>(e.head & kMaxNearDelta);
    }
    const unsigned char* GetRecord(const Entry& e, int& length) const
    {
        if (e.head & kFar) {
            const FarRecord* far = GetFar(e);
            length = far->length;
            return length > 0 ? reinterpret_cast<const unsigned char*>(far + 1) : nullptr;
        }
        length = static_cast<int>(e.head >> 28);
        return length > 0 ? e.bytes : nullptr;
    }
    int GetByteCount(const Entry& e) const
    {
        return e.head & kFar ? GetFar(e)->deltaByteCount : e.bytes[3];
    }
    static bool IsNear(int32_t delta, int length, int byteCount)
    {
        return delta >= 0 && static_cast<uint32_t>(delta) <= kMaxNearDelta && length <= kMaxNearLength &&
               byteCount >= 0 && byteCount <= kMaxNearByteCount;
    }
    void Show(const Entry& e, uint32_t before, MidiEvent& event) const
    {
        int length = 0;
        const unsigned char* record = GetRecord(e, length);
        const int32_t delta = GetDelta(e);
        event.Show(delta, GetByteCount(e), static_cast<int32_t>(before + static_cast<uint32_t>(delta)),
                   length, record);
    }
    // Makes e far, with a copy of its record; throws std::bad_alloc without memory.
    void MakeFar(Entry& e, int32_t delta, const unsigned char* record, int length, int byteCount);
    // The slot of a new event whose record (length bytes, none when 0) is
    // counted on the way; the caller fills it. Throws std::bad_alloc
    // without memory.
    Entry& Push(int32_t delta, const unsigned char* record, int length);
    void AddBlock();
    // Events in block.
    size_t GetUsed(size_t block) const;
    // Reads the channel messages that come in a row at p straight into the
    // track, as MidiEvent::Parse reads them, up to the last few bytes before
    // end; returns where it stopped. Throws std::bad_alloc without memory.
    const unsigned char* ReadChannelRun(const unsigned char* p, const unsigned char* end,
                                        unsigned char& runningStatus);
    // Keeps a copy of event at the end; throws std::bad_alloc without memory.
    void Store(const MidiEvent& event);

    std::unique_ptr<MemoryArena> m_ownArena;
    MemoryArena* m_arena;                            // not owned; m_ownArena's or the file's
    std::vector<Entry*> m_blocks;                    // in the arena
    std::vector<FarRecord*> m_far;                   // in the arena
    size_t m_count;
    Entry* m_next;                                   // the slot of the next event
    Entry* m_blockEnd;                               // of the last block
    uint32_t m_total;                                // every delta summed: the last time
    unsigned m_channels;                             // GetChannelMask
    long long m_noteOns[16];                         // GetNoteOnCount
    MidiChunk m_chunk;
};

#endif
