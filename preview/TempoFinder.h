#ifndef MORVEK_PREVIEW_TEMPOFINDER_H
#define MORVEK_PREVIEW_TEMPOFINDER_H

class MidiFile;

// Finds the tempo a file starts with: the earliest tempo event (FF 51 03
// tt tt tt) of any track, the lower track first at equal times. A tempo
// event with another length or a tempo of 0 is passed over.
class TempoFinder {
public:
    // No tempo event: 120 quarter notes per minute.
    static constexpr long kDefaultTempo = 500000;

// Construction
    TempoFinder();
    virtual ~TempoFinder();

// Operations
    // Microseconds per quarter note, 1..0xFFFFFF; kDefaultTempo when the file has none.
    virtual long GetFirstTempo(const MidiFile& file) const;
};

#endif
