#include "midi/MidiChunk.h"

#include <cstring>

namespace {

const int kHeaderSize = 8;

bool Fits(const unsigned char* bytes, const unsigned char* limit, long count)
{
    return bytes != nullptr && limit != nullptr && bytes <= limit && limit - bytes >= count;
}

}  // namespace

MidiChunk::MidiChunk() : m_kind(CHUNK_OTHER)
{
}

MidiChunk::~MidiChunk()
{
}

int MidiChunk::Identify(const unsigned char* bytes, const unsigned char* limit) const
{
    if (!Fits(bytes, limit, 4))
        return CHUNK_OTHER;
    if (std::memcmp(bytes, "MThd", 4) == 0)
        return CHUNK_HEADER;
    if (std::memcmp(bytes, "MTrk", 4) == 0)
        return CHUNK_TRACK;
    return CHUNK_OTHER;
}

int MidiChunk::Parse(const unsigned char* bytes, const unsigned char* limit)
{
    m_kind = Identify(bytes, limit);
    if (m_kind != CHUNK_OTHER && !Fits(bytes, limit, kHeaderSize))
        m_kind = CHUNK_OTHER;
    if (m_kind == CHUNK_OTHER)
        m_length.Set(0);
    else
        m_length.SetFromFile(BigEndianDword::ReadRaw(bytes + 4));
    return m_kind;
}

int MidiChunk::GetHeaderSize() const
{
    return kHeaderSize;
}

int MidiChunk::GetKind() const
{
    return m_kind;
}

uint32_t MidiChunk::GetLength() const
{
    return m_length.Get();
}
