#include "midi/MidiFile.h"

#include <cstddef>
#include <cstdint>

#include "midi/MidiTrack.h"

namespace {

// The header chunk's fields end at offset 14.
const unsigned long kMinimumImageSize = 14;

}  // namespace

MidiFile::MidiFile()
{
}

MidiFile::~MidiFile()
{
    FreeTracks();
}

void MidiFile::FreeTracks()
{
    for (MidiTrack* t : m_tracks)
        delete t;
    m_tracks.clear();
    m_arena.reset();                                 // after the tracks that live in it
}

int MidiFile::Validate(const unsigned char* image, unsigned long size) const
{
    return CheckStructure(image, size, nullptr);
}

int MidiFile::CheckStructure(const unsigned char* image, unsigned long size,
                             std::vector<unsigned long>* trackOffsets) const
{
    if (image == nullptr || size < kMinimumImageSize)
        return MIDIFILE_INVALID;
    const unsigned char* limit = image + size;
    MidiHeaderChunk header;
    if (header.Parse(image, limit) != CHUNK_HEADER)
        return MIDIFILE_INVALID;

    // 64-bit positions: a declared length can never wrap around.
    const uint64_t chunkHeaderSize = static_cast<uint64_t>(header.GetHeaderSize());
    uint64_t position = chunkHeaderSize + header.GetLength();
    for (int i = 0; i < header.GetTrackCount(); ++i) {
        if (position > size || size - position < chunkHeaderSize)
            return MIDIFILE_INVALID;
        MidiChunk chunk;
        if (chunk.Parse(image + position, limit) != CHUNK_TRACK)
            return MIDIFILE_INVALID;
        if (chunk.GetLength() > size - position - chunkHeaderSize)
            return MIDIFILE_INVALID;
        if (trackOffsets != nullptr)
            trackOffsets->push_back(static_cast<unsigned long>(position));
        position += chunkHeaderSize + chunk.GetLength();
    }
    return position == size ? MIDIFILE_OK : MIDIFILE_INVALID;
}

int MidiFile::Build(const unsigned char* image, unsigned long size)
{
    std::vector<unsigned long> offsets;
    int result = CheckStructure(image, size, &offsets);
    if (result != MIDIFILE_OK)
        return result;

    FreeTracks();
    m_arena.reset(new MemoryArena);
    const unsigned char* limit = image + size;
    m_header.Parse(image, limit);
    m_tracks.assign(offsets.size(), nullptr);
    // The running status belongs to this file: it starts fresh here and
    // carries on from one track to the next.
    unsigned char runningStatus = 0x00;
    for (size_t i = 0; i < offsets.size(); ++i) {
        m_tracks[i] = new MidiTrack(m_arena.get());
        const unsigned char* chunk = image + offsets[i];
        // Parse gives every event its absolute time on the way.
        m_tracks[i]->Parse(chunk, limit, runningStatus);
    }
    return MIDIFILE_OK;
}

int MidiFile::GetTrackCount() const
{
    return m_header.GetTrackCount();
}

int MidiFile::GetFormat() const
{
    return m_header.GetFormat();
}

int MidiFile::GetTimeBase() const
{
    return m_header.GetTimeBase();
}

MidiTrack* MidiFile::GetTrack(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_tracks.size()))
        return nullptr;
    return m_tracks[static_cast<size_t>(index)];
}
