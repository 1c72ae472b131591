#ifndef MORVEK_SCORE_MMLWRITER_H
#define MORVEK_SCORE_MMLWRITER_H

#include "score/NoteList.h"
#include "settings/NoteValueTable.h"

#include <string>
#include <vector>

class NoteListSet;

// Writes the MML of one part, one segment per call: the BASIC builder asks
// every part for its next segment while it assembles one PLAY line. The
// writer remembers where it stopped, the octave in force and the part's
// default length, so each segment continues the previous one.
//
// 1. SetListOrdinal, SetOctave(4), SetDefaultValue(the list's
//    GetMostFrequentBaseValue).
// 2. Attach to the list.
// 3. WriteSegment once per PLAY line; on the first one ask for the octave and
//    default length commands (kWriteOctave | kWriteDefaultLength).
class MmlWriter {
public:
    // Flags of WriteSegment, combined with OR; other bits are ignored.
    enum {
        kWriteFromStart = 1,     // start again at the list's first record
        kWriteOctave = 2,        // begin with "o" and the octave
        kWriteDefaultLength = 4  // then "l" and the default length
    };
    enum { kRestName = 12 }; // GetNoteName index of "r"

// Construction
    MmlWriter();
    virtual ~MmlWriter();
    // Holds a position in a list it does not own.
    MmlWriter(const MmlWriter&) = delete;
    MmlWriter& operator=(const MmlWriter&) = delete;

// Attributes
    // Ordinal of the part's list in the set; -1 for a part without one.
    virtual int SetListOrdinal(int ordinal);
    virtual int GetListOrdinal() const;
    virtual int SetOctave(int octave);
    virtual int GetOctave() const;
    // Value index the "l" command names: notes of this value need no length.
    virtual int SetDefaultValue(int valueIndex);
    virtual int GetDefaultValue() const;
    // "c" "c+" ... "b" for index 0..11, "r" for 12; returns the length of
    // the text. Any other index gives "" and 0.
    virtual int GetNoteName(std::string& name, int index) const;
    // The MML length text of value index 0..17 ("4", "8."); "" and 0 otherwise.
    virtual int GetLengthText(std::string& text, int valueIndex) const;

// Operations
    // Attaches the writer to the set's list with that ordinal, at its first
    // record. Returns 0, or -1 when the set has no such list.
    virtual int Attach(NoteListSet& set, int ordinal);
    // Attaches the writer to the list, at its first record. Returns 0.
    virtual int SetPosition(NoteList& list);
    // Replaces out with the MML of the next segment of the set's list with
    // that ordinal. Returns 0, or -1 (and empty text) without such a list.
    virtual int WriteSegment(NoteListSet& set, int ordinal, std::string& out, int flags);
    // The same for a list. A list the writer is not attached to is written
    // from its first record. Returns 0.
    virtual int WriteSegmentFromList(NoteList& list, std::string& out, int flags);
    // The next count segments of the set's list with that ordinal appended
    // to text, as count calls of WriteSegment would write them (flags on the
    // first), the end of each in text pushed onto ends. Returns 0, or -1
    // without such a list (count empty segments).
    virtual int WriteSegments(NoteListSet& set, int ordinal, int count, int flags,
                              std::string& text, std::vector<size_t>& ends);
    // Replaces out with the MML of one record: octave changes, the letter,
    // the length when it differs from the default, "&" when tied. Moves the
    // writer's octave to the note's. Returns 0.
    virtual int WriteRecord(const NoteRecord& record, std::string& out);
    // The length of what WriteRecord would write, without writing it; moves
    // the octave the same way. Lines are measured so before they are cut.
    virtual int MeasureRecord(const NoteRecord& record);

private:
    // WriteRecord without clearing out first: a segment is written straight
    // into its text, with no string per record.
    void AppendRecord(const NoteRecord& record, const NoteValueTable& table, std::string& out);
    // The one place a record becomes text: out is a string or a counter.
    template <class Out>
    void PutRecord(const NoteRecord& record, const NoteValueTable& table, Out& out);
    // The octave and default length commands flags ask for.
    void PutStart(int flags, std::string& out);
    // Records up to the next segment end, or the list's end.
    template <class Out>
    void PutSegment(NoteList& list, const NoteValueTable& table, Out& out);

    int m_listOrdinal;
    int m_octave;
    int m_defaultValue;
    NoteList* m_list; // the list m_position belongs to; not owned
    NoteList::Position m_position;
    const char* m_lengthTexts[NoteValueTable::kValueCount]; // of each value, after a letter
};

#endif
