#ifndef MORVEK_SCORE_MMLPARTREADER_H
#define MORVEK_SCORE_MMLPARTREADER_H

#include "score/ProgramNote.h"
#include "score/ProgramNoteSink.h"
#include "score/ReadStatus.h"

#include <cstddef>
#include <string>
#include <vector>

// Reads the MML of one part, one string (one PLAY line's share) after the
// other, the way the music driver plays it: the octave, the default length
// and a tie at the end of a string carry over to the next one.
//
// 1. SetTimeBase(the file's), then Read every string of the part in order.
// 2. GetNotes: notes and rests with start and length in ticks, the pieces of
//    a tied note joined into one note and neighbouring rests into one rest.
//
// The dialect: o<octave>, l<length>, < and >, c d e f g a b with + or #
// (sharp) or - (flat), r, each note or rest with an optional length (a
// divisor of 192) and one dot, & to tie to the next note. Letters of either
// case; spaces are passed over. A string is read up to its given size and no
// further; it need not end in a NUL.
class MmlPartReader {
public:
    enum {
        kRest = 128,
        kWholeUnits = 192, // lengths are counted in 192nd notes
        kReadOk = 0
    };

// Construction
    MmlPartReader();
    virtual ~MmlPartReader();
    MmlPartReader(const MmlPartReader&) = default;
    MmlPartReader& operator=(const MmlPartReader&) = default;
    // Moved, its notes go along instead of being copied.
    MmlPartReader(MmlPartReader&&) = default;
    MmlPartReader& operator=(MmlPartReader&&) = default;

// Attributes
    // Ticks per quarter note of the notes given back (default 48; a time
    // base that is not a multiple of 48 rounds starts down). Returns the
    // previous one; values outside 1..32767 (a MIDI file's range) are moved
    // to the nearer end.
    virtual int SetTimeBase(int timeBase);
    virtual int GetTimeBase() const;
    // Notes and rests read so far, ties joined.
    virtual const std::vector<ProgramNote>& GetNotes() const;
    // Ticks from the start of the part to the end of what was read.
    virtual long long GetPosition() const;
    virtual int GetOctave() const;
    // The default length in 192nd notes.
    virtual int GetDefaultUnits() const;
    // Why and where the last Read refused (line 0, the column within the
    // string); a good status after a good one.
    virtual const ReadStatus& GetStatus() const;

// Operations
    // Back to octave 4, quarter-note default length, position 0, no notes.
    virtual int Reset();
    // With a sink, each note goes to it once it is finished (the next one
    // begun, or Finish), and GetNotes keeps only the note that a tie may
    // still lengthen. Returns the previous sink; not owned; kept by Reset.
    virtual ProgramNoteSink* SetNoteSink(ProgramNoteSink* sink, int part);
    // At the end of the part: hands the last note to the sink, if there is one.
    virtual int Finish();
    // Appends the notes of text[0, size). Returns kReadOk, or the 1-based
    // offset of the character where reading stopped (GetStatus says why);
    // the notes before it are kept.
    virtual int Read(const char* text, size_t size);

private:
    // A length after a note, rest or l: digits and a dot. Returns false for
    // a length MML cannot hold.
    bool ReadLength(const char* text, size_t size, size_t& i, int& units);
    void Append(int key, int units);
    long long ToTicks(long long units) const;
    int Fail(size_t offset, int reason);

    int m_timeBase;
    int m_ticksPerUnit;  // when the time base is a multiple of 48; 0 otherwise
    int m_octave;
    int m_defaultUnits;
    long long m_units;   // where the next note starts, in 192nd notes
    bool m_tiePending;     // the last note ends in &
    std::vector<ProgramNote> m_notes;
    ProgramNoteSink* m_sink; // not owned
    int m_part;              // what the sink calls this part
    ReadStatus m_status;
};

#endif
