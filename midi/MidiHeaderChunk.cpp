#include "midi/MidiHeaderChunk.h"

namespace {

const long kHeaderChunkFieldsEnd = 14;

}  // namespace

MidiHeaderChunk::MidiHeaderChunk()
{
}

MidiHeaderChunk::~MidiHeaderChunk()
{
}

int MidiHeaderChunk::Parse(const unsigned char* bytes, const unsigned char* limit)
{
    int kind = Identify(bytes, limit);
    if (kind != CHUNK_HEADER)
        return MidiChunk::Parse(bytes, limit);
    if (limit - bytes < kHeaderChunkFieldsEnd) {
        m_kind = CHUNK_OTHER;
        m_length.Set(0);
        return m_kind;
    }
    m_format.SetFromFile(BigEndianWord::ReadRaw(bytes + 8));
    m_trackCount.SetFromFile(BigEndianWord::ReadRaw(bytes + 10));
    m_division.SetFromFile(BigEndianWord::ReadRaw(bytes + 12));
    return MidiChunk::Parse(bytes, limit);
}

unsigned short MidiHeaderChunk::GetFormat() const
{
    return m_format.Get();
}

unsigned short MidiHeaderChunk::GetTrackCount() const
{
    return m_trackCount.Get();
}

unsigned short MidiHeaderChunk::GetTimeBase() const
{
    return m_division.Get();
}
