#include "midi/MidiTrack.h"

#include <new>
#include <utility>

#include "midi/MidiEvent.h"

MidiTrack::MidiTrack(MemoryArena* arena)
    : m_ownArena(arena != nullptr ? nullptr : new MemoryArena),
      m_arena(arena != nullptr ? arena : m_ownArena.get()),
      m_events(ArenaAllocator<MidiEvent*>(m_arena))
{
}

MidiTrack::~MidiTrack()
{
    // The memory goes with the arena.
    for (MidiEvent* e : m_events)
        e->~MidiEvent();
}

MidiEvent* MidiTrack::NewEvent()
{
    return new (m_arena->Allocate(sizeof(MidiEvent), alignof(MidiEvent))) MidiEvent;
}

unsigned long MidiTrack::Parse(const unsigned char* position, const unsigned char* limit,
                               unsigned char& runningStatus)
{
    if (m_chunk.Parse(position, limit) != CHUNK_TRACK)
        return 1;
    const unsigned char* events = position + m_chunk.GetHeaderSize();
    // The chunk's own end bounds its events, unless the limit comes first.
    unsigned long available = static_cast<unsigned long>(limit - events);
    unsigned long length = m_chunk.GetLength();
    const unsigned char* end = length < available ? events + length : limit;

    // Times are filled on the way, as ComputeTimes would fill them, so that
    // a file's events are walked once less.
    uint32_t time = m_events.empty() ? 0 : static_cast<uint32_t>(m_events.back()->GetTime());
    const unsigned char* p = events;
    while (p < end) {
        MidiEvent* e = NewEvent();
        unsigned long taken = e->Parse(p, end, runningStatus);
        if (taken == 0) {
            e->~MidiEvent();                         // its few bytes stay in the arena
            break;
        }
        p += taken;
        time += static_cast<uint32_t>(e->GetDelta());
        e->SetTime(static_cast<int32_t>(time));
        try {
            m_events.push_back(e);
        } catch (...) {
            e->~MidiEvent();
            throw;
        }
    }
    return static_cast<unsigned long>(m_chunk.GetHeaderSize()) +
           static_cast<unsigned long>(p - events);
}

int32_t MidiTrack::ComputeTimes()
{
    // Unsigned sum: a time past 2^31 ticks wraps instead of overflowing.
    uint32_t t = 0;
    for (MidiEvent* e : m_events) {
        t += static_cast<uint32_t>(e->GetDelta());
        e->SetTime(static_cast<int32_t>(t));
    }
    return static_cast<int32_t>(t);
}

void MidiTrack::Append(MidiEvent* event)
{
    if (event == nullptr)
        return;
    // It was handed over to us: its contents move into the arena.
    MidiEvent* e = nullptr;
    try {
        e = new (m_arena->Allocate(sizeof(MidiEvent), alignof(MidiEvent)))
            MidiEvent(std::move(*event));
        delete event;
        event = nullptr;
        m_events.push_back(e);
    } catch (...) {
        if (e != nullptr)
            e->~MidiEvent();
        delete event;
        throw;
    }
}

int MidiTrack::GetEventCount() const
{
    return static_cast<int>(m_events.size());
}

MidiTrack::Position MidiTrack::GetPosition(int which) const
{
    return which == 1 ? m_events.end() : m_events.begin();
}

const MidiChunk& MidiTrack::GetChunk() const
{
    return m_chunk;
}
