#ifndef MORVEK_MIDI_MIDICHUNK_H
#define MORVEK_MIDI_MIDICHUNK_H

#include <cstdint>

#include "midi/BigEndianDword.h"

// Kinds of chunk that the reader tells apart.
enum ChunkKind {
    CHUNK_HEADER = 1,                                  // "MThd"
    CHUNK_TRACK = 2,                                   // "MTrk"
    CHUNK_OTHER = 4                                    // anything else
};

// The 8-byte header of one chunk: its id and declared length.
//
// The decoders read only inside [bytes, limit). An id that is cut off by the
// limit is CHUNK_OTHER; so is a known id whose length field is cut off.
class MidiChunk {
public:
// Construction
    MidiChunk();
    virtual ~MidiChunk();

// Operations
    virtual int Identify(const unsigned char* bytes, const unsigned char* limit) const;
    // Sets kind and length; the length only for "MThd" and "MTrk" (0 otherwise).
    virtual int Parse(const unsigned char* bytes, const unsigned char* limit);
    virtual int GetHeaderSize() const;
    virtual int GetKind() const;
    virtual uint32_t GetLength() const;

protected:
    int m_kind;
    BigEndianDword m_length;
};

#endif
