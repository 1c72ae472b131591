#ifndef MORVEK_MIDI_MIDIHEADERCHUNK_H
#define MORVEK_MIDI_MIDIHEADERCHUNK_H

#include "midi/BigEndianWord.h"
#include "midi/MidiChunk.h"

// The "MThd" chunk: format, number of tracks and division, always taken from
// offsets 8 to 13 whatever the declared length. A header chunk needs all 14
// bytes inside the limit; a shorter one is parsed as CHUNK_OTHER.
class MidiHeaderChunk : public MidiChunk {
public:
// Construction
    MidiHeaderChunk();
    virtual ~MidiHeaderChunk();

// Operations
    virtual int Parse(const unsigned char* bytes, const unsigned char* limit) override;
    virtual unsigned short GetFormat() const;
    virtual unsigned short GetTrackCount() const;
    virtual unsigned short GetTimeBase() const;

private:
    BigEndianWord m_format;
    BigEndianWord m_trackCount;
    BigEndianWord m_division;
};

#endif
