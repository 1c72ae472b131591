#ifndef MORVEK_SCORE_NOTERECORD_H
#define MORVEK_SCORE_NOTERECORD_H

#include <cstdint>

// Note numbers beyond the MIDI keys 0..127.
const int kRestNote = 128;   // a rest
const int kSegmentEnd = 129; // end of a segment: one PLAY line's share; no time
// Bit 0 of the tie flag: tied to the next piece of the same note.
const int kTieToNext = 1;

// One element of a note list: a note, a rest or a segment marker, with its
// length in ticks of the file's time base.
//
// The passes and the MML writer read and write hundreds of thousands of
// records: the class is final and its accessors are defined here, so that
// those calls compile to plain loads and stores.
class NoteRecord final {
public:
// Construction
    NoteRecord();
    NoteRecord(int note, int length, int velocity = 0, int tie = 0, int valueIndex = -1)
        : m_length(length)
        , m_note(static_cast<uint8_t>(note))
        , m_velocity(static_cast<uint8_t>(velocity))
        , m_tie(static_cast<uint8_t>(tie))
        , m_valueIndex(static_cast<int8_t>(valueIndex))
    {
    }
    virtual ~NoteRecord() {}
    // A record is a plain value; lists copy records in and out.
    NoteRecord(const NoteRecord&) = default;
    NoteRecord& operator=(const NoteRecord&) = default;

// Attributes
    virtual int SetNote(int note) { return Replace(m_note, note); }
    virtual int GetNote() const { return m_note; }
    virtual int SetLength(int length) { return Replace(m_length, length); }
    virtual int GetLength() const { return m_length; }
    // Note-on velocity (0..255); carried along, never written to the output.
    virtual int SetVelocity(int velocity) { return Replace(m_velocity, velocity); }
    virtual int GetVelocity() const { return m_velocity; }
    // Flags of 8 bits.
    virtual int SetTie(int tie) { return Replace(m_tie, tie); }
    virtual int GetTie() const { return m_tie; }
    // Index into the note-value table once the list is decomposed; -1 before.
    virtual int SetValueIndex(int valueIndex) { return Replace(m_valueIndex, valueIndex); }
    virtual int GetValueIndex() const { return m_valueIndex; }

    virtual bool IsRest() const { return m_note == kRestNote; }
    virtual bool IsSegmentEnd() const { return m_note == kSegmentEnd; }
    // A MIDI key 0..127.
    virtual bool IsNote() const { return m_note < kRestNote; }
    virtual bool IsTied() const { return (m_tie & kTieToNext) != 0; }

private:
    // Sets field to value; returns the value it replaces.
    template <typename Field>
    static int Replace(Field& field, int value)
    {
        int previous = field;
        field = static_cast<Field>(value);
        return previous;
    }

    // Narrow where the values are: a list holds a record for every note and
    // rest, so 16 bytes instead of 32 are megabytes on a long song.
    int32_t m_length;
    uint8_t m_note;        // 0..129
    uint8_t m_velocity;    // a MIDI data byte
    uint8_t m_tie;         // flags
    int8_t m_valueIndex;   // -1..17

};

#endif
