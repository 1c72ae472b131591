#include "midi/MidiTrack.h"

#include <cstdint>
#include <cstring>
#include <utility>

MidiTrack::MidiTrack(MemoryArena* arena)
    : m_ownArena(arena != nullptr ? nullptr : new MemoryArena),
      m_arena(arena != nullptr ? arena : m_ownArena.get()),
      m_count(0),
      m_next(nullptr),
      m_blockEnd(nullptr),
      m_total(0),
      m_channels(0),
      m_noteOns()
{
}

MidiTrack::~MidiTrack()
{
}

// Before their callers, so that the read of every event compiles them in place.
inline MidiTrack::Entry& MidiTrack::Push(int32_t delta, const unsigned char* record, int length)
{
    if (m_next == m_blockEnd)
        AddBlock();
    Entry& e = *m_next++;
    m_total += static_cast<uint32_t>(delta);
    const unsigned char status = length > 0 ? record[0] : 0;
    if (status >= 0x80 && status < 0xF0)
        m_channels |= 1u << (status & 0x0F);
    if (length >= 3 && (status & 0xF0) == 0x90 && record[2] > 0)
        ++m_noteOns[status & 0x0F];
    ++m_count;
    return e;
}

size_t MidiTrack::GetUsed(size_t block) const
{
    return block + 1 < m_blocks.size() ? BlockSize(block) : static_cast<size_t>(m_next - m_blocks[block]);
}

void MidiTrack::AddBlock()
{
    const size_t size = BlockSize(m_blocks.size());
    m_blocks.reserve(m_blocks.size() + 1);
    m_blocks.push_back(static_cast<Entry*>(m_arena->Allocate(size * sizeof(Entry), alignof(Entry))));
    m_next = m_blocks.back();
    m_blockEnd = m_next + size;
}

const unsigned char* MidiTrack::ReadChannelRun(const unsigned char* p, const unsigned char* end,
                                               unsigned char& runningStatus)
{
    // What MidiEvent::Parse and Store do, for channel messages with a
    // status of a channel (their own or the running one), with the track's
    // counts held in locals: a store into an entry would otherwise make the
    // compiler write them back for every event.
    Entry* next = m_next;
    size_t count = m_count;
    uint32_t total = m_total;
    unsigned channels = m_channels;
    long long noteOns[16];
    std::memcpy(noteOns, m_noteOns, sizeof noteOns);
    unsigned char running = runningStatus;
    const auto writeBack = [&]() {
        m_next = next;
        m_count = count;
        m_total = total;
        m_channels = channels;
        std::memcpy(m_noteOns, noteOns, sizeof noteOns);
        runningStatus = running;
    };
    const int kLongest = 7;                          // four delta bytes, a status and two data bytes
    while (end - p >= kLongest) {
        const unsigned char* q = p;
        uint32_t delta = 0;
        unsigned char b;
        do {
            b = *q++;
            delta = (delta << 7) | (b & 0x7Fu);
        } while ((b & 0x80) && q - p < 4);
        if (b & 0x80)
            break;                                   // a fifth delta byte: not read here
        unsigned char status = *q;
        const unsigned char* data = q + 1;
        if (status < 0x80) {
            status = running;
            data = q;
        }
        if (status < 0x80 || status >= 0xF0)
            break;
        if (next == m_blockEnd) {
            // The track whole first: AddBlock may throw.
            writeBack();
            AddBlock();
            next = m_next;
        }
        const bool two = (status & 0xE0) == 0xC0;
        Entry& e = *next++;
        e.head = delta | (two ? 2u : 3u) << 28;          // four bytes hold at most 28 bits
        e.bytes[0] = status;
        e.bytes[1] = data[0];
        e.bytes[2] = two ? 0 : data[1];
        e.bytes[3] = static_cast<unsigned char>(q - p);
        ++count;
        total += delta;
        channels |= 1u << (status & 0x0F);
        if ((status & 0xF0) == 0x90 && data[1] > 0)
            ++noteOns[status & 0x0F];
        running = status;
        p = data + (two ? 1 : 2);
    }
    writeBack();
    return p;
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

    const unsigned char* p = events;
    MidiEvent e;
    while (p < end) {
        p = ReadChannelRun(p, end, runningStatus);
        if (p >= end)
            break;
        // Anything else, and the last few bytes of the chunk.
        const unsigned long taken = e.Parse(p, end, runningStatus);
        if (taken == 0)
            break;
        Store(e);
        p += taken;
    }
    return static_cast<unsigned long>(m_chunk.GetHeaderSize()) +
           static_cast<unsigned long>(p - events);
}

void MidiTrack::Store(const MidiEvent& event)
{
    const int length = event.GetLength();
    const int byteCount = event.GetDeltaByteCount();
    const int32_t delta = event.GetDelta();
    const unsigned char* record = event.GetData();
    // The slot and the far record first: a failure then leaves no half-made event.
    if (m_next == m_blockEnd)
        AddBlock();
    if (IsNear(delta, length, byteCount)) {
        Entry& e = Push(delta, record, length);
        e.head = static_cast<uint32_t>(delta) | static_cast<uint32_t>(length) << 28;
        if (length > 0)
            std::memcpy(e.bytes, record, static_cast<size_t>(length));
        e.bytes[3] = static_cast<unsigned char>(byteCount);
        return;
    }
    Entry far;
    MakeFar(far, delta, record, length, byteCount);
    Push(delta, record, length) = far;
}

void MidiTrack::MakeFar(Entry& e, int32_t delta, const unsigned char* record, int length, int byteCount)
{
    FarRecord* far = static_cast<FarRecord*>(
        m_arena->Allocate(sizeof(FarRecord) + static_cast<size_t>(length), alignof(FarRecord)));
    far->delta = delta;
    far->length = length;
    far->deltaByteCount = byteCount;
    if (length > 0)
        std::memcpy(far + 1, record, static_cast<size_t>(length));
    const uint32_t index = static_cast<uint32_t>(m_far.size());
    m_far.push_back(far);
    e.head = kFar;
    std::memcpy(e.bytes, &index, sizeof index);
}

int32_t MidiTrack::ComputeTimes()
{
    // Unsigned sum: a time past 2^31 ticks wraps instead of overflowing.
    return static_cast<int32_t>(m_total);
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
    VarLenQuantity delta;
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        const size_t used = GetUsed(b);
        for (size_t i = 0; i < used; ++i) {
            Entry& e = m_blocks[b][i];
            const int32_t old = GetDelta(e);
            original += static_cast<uint32_t>(old);
            const uint64_t rounded = (2 * original * up + down) / (2 * down);
            if (rounded > static_cast<uint64_t>(INT32_MAX))
                return false;
            const int byteCount = delta.SetValue(static_cast<int32_t>(rounded - previous));
            const int32_t value = delta.GetValue();
            int length = 0;
            const unsigned char* record = GetRecord(e, length);
            if (e.head & kFar) {
                FarRecord* far = m_far[GetFarIndex(e)];
                far->delta = value;
                far->deltaByteCount = byteCount;
            } else if (IsNear(value, length, byteCount)) {
                e.head = static_cast<uint32_t>(value) | (e.head & ~kMaxNearDelta);
                e.bytes[3] = static_cast<unsigned char>(byteCount);
            } else {
                // A delta past 28 bits: the record moves out to a far one.
                unsigned char near[kMaxNearLength];
                if (length > 0)
                    std::memcpy(near, record, static_cast<size_t>(length));
                MakeFar(e, value, near, length, byteCount);
            }
            m_total += static_cast<uint32_t>(value) - static_cast<uint32_t>(old);
            previous = rounded;
        }
    }
    return true;
}

void MidiTrack::Append(MidiEvent* event)
{
    if (event == nullptr)
        return;
    try {
        Store(*event);
    } catch (...) {
        delete event;                                // it was handed over to us
        throw;
    }
    delete event;
}

int MidiTrack::GetEventCount() const
{
    return static_cast<int>(m_count);
}

unsigned MidiTrack::GetChannelMask() const
{
    return m_channels;
}

long long MidiTrack::GetNoteOnCount(int channel) const
{
    return channel >= 0 && channel < 16 ? m_noteOns[channel] : 0;
}

MidiTrack::Position MidiTrack::GetPosition(int which) const
{
    if (which != 1)
        return Position(this, 0, 0, 0);
    // Just past the last event: the next free slot, or the start of a block
    // to come when the last one is full.
    if (m_next == m_blockEnd)
        return Position(this, m_blocks.size(), 0, m_total);
    return Position(this, m_blocks.size() - 1, static_cast<size_t>(m_next - m_blocks.back()), m_total);
}

const MidiChunk& MidiTrack::GetChunk() const
{
    return m_chunk;
}
