#ifndef MORVEK_SCORE_NOTERECORD_H
#define MORVEK_SCORE_NOTERECORD_H

// Note numbers beyond the MIDI keys 0..127.
const int kRestNote = 128;   // a rest
const int kSegmentEnd = 129; // end of a segment: one PLAY line's share; no time
// Bit 0 of the tie flag: tied to the next piece of the same note.
const int kTieToNext = 1;

// One element of a note list: a note, a rest or a segment marker, with its
// length in ticks of the file's time base.
class NoteRecord {
public:
// Construction
    NoteRecord();
    NoteRecord(int note, int length, int velocity = 0, int tie = 0, int valueIndex = -1);
    virtual ~NoteRecord();
    // A record is a plain value; lists copy records in and out.
    NoteRecord(const NoteRecord&) = default;
    NoteRecord& operator=(const NoteRecord&) = default;

// Attributes
    virtual int SetNote(int note);
    virtual int GetNote() const;
    virtual int SetLength(int length);
    virtual int GetLength() const;
    // Note-on velocity; carried along, never written to the output.
    virtual int SetVelocity(int velocity);
    virtual int GetVelocity() const;
    virtual int SetTie(int tie);
    virtual int GetTie() const;
    // Index into the note-value table once the list is decomposed; -1 before.
    virtual int SetValueIndex(int valueIndex);
    virtual int GetValueIndex() const;

    virtual bool IsRest() const;
    virtual bool IsSegmentEnd() const;
    // A MIDI key 0..127.
    virtual bool IsNote() const;
    virtual bool IsTied() const;

private:
    int note_;
    int length_;
    int velocity_;
    int tie_;
    int valueIndex_;
};

#endif
