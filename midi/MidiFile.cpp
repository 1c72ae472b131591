#include "midi/MidiFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "midi/MidiReadOptions.h"
#include "midi/MidiTrack.h"

namespace {

// The header chunk's fields end at offset 14.
const unsigned long kMinimumImageSize = 14;
const unsigned long kChunkHeaderSize = 8;
// "RIFF", its length, "RMID": then RIFF chunks, one of them "data".
const unsigned long kRiffHeaderSize = 12;

uint32_t ReadLittleEndian(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// The offset and size of the Standard MIDI File inside a RIFF "RMID" image
// (its "data" chunk, cut at the end of the image); false when image is not
// one or has no "data" chunk.
bool FindRmidData(const unsigned char* image, unsigned long size, unsigned long& offset,
                  unsigned long& dataSize)
{
    if (size < kRiffHeaderSize || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "RMID", 4) != 0)
        return false;
    // The RIFF length is often wrong in the wild: the image's end bounds the walk.
    uint64_t position = kRiffHeaderSize;
    while (size - position >= kChunkHeaderSize) {
        const uint32_t length = ReadLittleEndian(image + position + 4);
        if (std::memcmp(image + position, "data", 4) == 0) {
            offset = static_cast<unsigned long>(position + kChunkHeaderSize);
            const uint64_t available = size - offset;
            dataSize = static_cast<unsigned long>(length < available ? length : available);
            return true;
        }
        position += kChunkHeaderSize + length + (length & 1);   // RIFF chunks are padded to even sizes
        if (position > size)
            return false;
    }
    return false;
}

}  // namespace

MidiFile::MidiFile() : m_timeBase(0)
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

int MidiFile::ScanLeniently(const unsigned char* image, unsigned long size,
                            std::vector<unsigned long>& trackOffsets, MidiReadLog& log) const
{
    if (image == nullptr || size < kMinimumImageSize)
        return MIDIFILE_INVALID;
    MidiHeaderChunk header;
    if (header.Parse(image, image + size) != CHUNK_HEADER)
        return MIDIFILE_INVALID;
    uint64_t position = kChunkHeaderSize + static_cast<uint64_t>(header.GetLength());
    if (position > size)
        return MIDIFILE_INVALID;
    const int declared = header.GetTrackCount();
    while (position < size) {
        if (size - position < kChunkHeaderSize) {
            log.trailingBytes = static_cast<long long>(size - position);
            break;
        }
        // The length of any chunk, known or not, is its bytes 4 to 7.
        const unsigned char* chunk = image + position;
        BigEndianDword field;
        field.SetFromFile(BigEndianDword::ReadRaw(chunk + 4));
        const uint64_t length = field.Get();
        const bool track = std::memcmp(chunk, "MTrk", 4) == 0 &&
                           static_cast<int>(trackOffsets.size()) < declared;
        if (track)
            trackOffsets.push_back(static_cast<unsigned long>(position));
        else
            ++log.skippedChunks;
        position += kChunkHeaderSize + length;
        if (position > size && track)
            log.cutTrack = static_cast<int>(trackOffsets.size()) - 1;
    }
    const int found = static_cast<int>(trackOffsets.size());
    if (found < declared) {
        log.declaredTracks = declared;
        log.missingTracks = declared - found;
    }
    return MIDIFILE_OK;
}

int MidiFile::Build(const unsigned char* image, unsigned long size,
                    const MidiReadOptions& options)
{
    if (!options.IsLenient())
        return Build(image, size);
    MidiReadLog log;
    unsigned long offset = 0;
    unsigned long dataSize = 0;
    if (image != nullptr && FindRmidData(image, size, offset, dataSize)) {
        log.unwrapped = true;
        image += offset;
        size = dataSize;
    }
    std::vector<unsigned long> offsets;
    const int result = ScanLeniently(image, size, offsets, log);
    if (result != MIDIFILE_OK)
        return result;
    const unsigned long lastTaken = ReadTracks(image, size, offsets);
    // Only the last track can run past the end: the scan stops there.
    if (log.cutTrack != MidiReadLog::kNoTrack)
        log.cutAt = static_cast<long long>(offset) + static_cast<long long>(offsets.back()) +
                    static_cast<long long>(lastTaken);
    const int timeBase = m_header.GetTimeBase();
    if (timeBase >= 1 && timeBase < 0x8000 && !options.KeepsTimeBase(timeBase)) {
        for (MidiTrack* t : m_tracks) {
            if (!t->Retime(timeBase, MidiReadOptions::kLenientTimeBase)) {
                FreeTracks();
                return MIDIFILE_TOO_LONG;
            }
        }
        log.timeBaseFrom = timeBase;
        log.timeBaseTo = MidiReadOptions::kLenientTimeBase;
        m_timeBase = MidiReadOptions::kLenientTimeBase;
    }
    m_log = log;
    return MIDIFILE_OK;
}

int MidiFile::Build(const unsigned char* image, unsigned long size)
{
    std::vector<unsigned long> offsets;
    int result = CheckStructure(image, size, &offsets);
    if (result != MIDIFILE_OK)
        return result;
    m_log = MidiReadLog();
    ReadTracks(image, size, offsets);
    return MIDIFILE_OK;
}

unsigned long MidiFile::ReadTracks(const unsigned char* image, unsigned long size,
                                   const std::vector<unsigned long>& offsets)
{
    FreeTracks();
    m_arena.reset(new MemoryArena);
    const unsigned char* limit = image + size;
    m_header.Parse(image, limit);
    m_timeBase = m_header.GetTimeBase();
    m_tracks.assign(offsets.size(), nullptr);
    // The running status belongs to this file: it starts fresh here and
    // carries on from one track to the next.
    unsigned char runningStatus = 0x00;
    unsigned long taken = 0;
    for (size_t i = 0; i < offsets.size(); ++i) {
        m_tracks[i] = new MidiTrack(m_arena.get());
        const unsigned char* chunk = image + offsets[i];
        // Parse gives every event its absolute time on the way.
        taken = m_tracks[i]->Parse(chunk, limit, runningStatus);
    }
    return taken;
}

int MidiFile::GetTrackCount() const
{
    // The header's count, unless lenient reading found fewer tracks.
    return static_cast<int>(m_tracks.size());
}

int MidiFile::GetFormat() const
{
    return m_header.GetFormat();
}

int MidiFile::GetTimeBase() const
{
    return m_timeBase;
}

const MidiReadLog& MidiFile::GetReadLog() const
{
    return m_log;
}

MidiTrack* MidiFile::GetTrack(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_tracks.size()))
        return nullptr;
    return m_tracks[static_cast<size_t>(index)];
}
