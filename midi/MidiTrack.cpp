#include "midi/MidiTrack.h"

#include <cstdint>
#include <utility>

MidiTrack::MidiTrack(MemoryArena* arena)
    : m_ownArena(arena != nullptr ? nullptr : new MemoryArena),
      m_events(ArenaAllocator<MidiEvent>(arena != nullptr ? arena : m_ownArena.get()))
{
}

MidiTrack::~MidiTrack()
{
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
    uint32_t time = m_events.empty() ? 0 : static_cast<uint32_t>(m_events.back().GetTime());
    const unsigned char* p = events;
    while (p < end) {
        m_events.emplace_back();
        MidiEvent& e = m_events.back();
        unsigned long taken = e.Parse(p, end, runningStatus);
        if (taken == 0) {
            m_events.pop_back();                     // its few bytes stay in the arena
            break;
        }
        p += taken;
        time += static_cast<uint32_t>(e.GetDelta());
        e.SetTime(static_cast<int32_t>(time));
    }
    return static_cast<unsigned long>(m_chunk.GetHeaderSize()) +
           static_cast<unsigned long>(p - events);
}

int32_t MidiTrack::ComputeTimes()
{
    // Unsigned sum: a time past 2^31 ticks wraps instead of overflowing.
    uint32_t t = 0;
    for (MidiEvent& e : m_events) {
        t += static_cast<uint32_t>(e.GetDelta());
        e.SetTime(static_cast<int32_t>(t));
    }
    return static_cast<int32_t>(t);
}

bool MidiTrack::Retime(int from, int to)
{
    if (from < 1 || to < 1)
        return false;
    // 64 bits: the original sum may pass 2^32 ticks before the rounded one
    // passes the limit, which stops the walk long before the product wraps.
    const uint64_t up = static_cast<uint64_t>(to);
    const uint64_t down = static_cast<uint64_t>(from);
    uint64_t original = 0;
    uint64_t previous = 0;
    for (MidiEvent& e : m_events) {
        original += static_cast<uint32_t>(e.GetDelta());
        const uint64_t rounded = (2 * original * up + down) / (2 * down);
        if (rounded > static_cast<uint64_t>(INT32_MAX))
            return false;
        e.SetDelta(static_cast<int32_t>(rounded - previous));
        e.SetTime(static_cast<int32_t>(rounded));
        previous = rounded;
    }
    return true;
}

void MidiTrack::Append(MidiEvent* event)
{
    if (event == nullptr)
        return;
    try {
        m_events.emplace_back(std::move(*event));
    } catch (...) {
        delete event;                                // it was handed over to us
        throw;
    }
    delete event;
}

int MidiTrack::GetEventCount() const
{
    return static_cast<int>(m_events.size());
}

MidiTrack::Position MidiTrack::GetPosition(int which) const
{
    return Position(which == 1 ? m_events.cend() : m_events.cbegin());
}

const MidiChunk& MidiTrack::GetChunk() const
{
    return m_chunk;
}
