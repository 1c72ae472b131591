#ifndef MORVEK_ENGINE_READBACKCHECK_H
#define MORVEK_ENGINE_READBACKCHECK_H

#include "score/NoteList.h"
#include "score/ProgramNote.h"
#include "score/ProgramNoteSink.h"

#include <string>
#include <vector>

// The report's proof of a program, taken as a reader hands over the notes it
// reads back: each part's notes are compared with the list the part plays
// (pieces tied to the next piece of their key joined into one note), and
// its notes and octaves are counted. Nothing of the program is kept but the
// first difference of each part. Parts are independent: each part's notes
// may come from a thread of its own.
//
// How to use:
//   1. ReadBackCheck check(lists); reader.SetNoteSink(&check); reader.Read(...)
//   2. after a good read, GetFigures(part) and Finish(part, ...) for each part.
class ReadBackCheck final : public ProgramNoteSink {
public:
    struct Figures {
        long long notes;   // 0..127 keys read back
        int lowestOctave;  // 0 without notes
        int highestOctave;
        long long outside; // notes outside octaves 1 to 8
    };

// Construction
    // lists[p]: the list part p plays, or null; not owned, outliving the check.
    explicit ReadBackCheck(const std::vector<NoteList*>& lists);
    virtual ~ReadBackCheck();
    ReadBackCheck(const ReadBackCheck&) = delete;
    ReadBackCheck& operator=(const ReadBackCheck&) = delete;

// Operations
    void TakeNote(int part, const ProgramNote& note) override;
    bool TakesPartsAtOnce() const override;
    // Once the whole program is read: the first difference between part and
    // its list in words, empty when they hold the same notes and end
    // together. programEnd is the part's end in the program; hasLines
    // whether the program has PLAY lines (without, no end is compared).
    virtual std::string Finish(int part, long long programEnd, bool hasLines);

// Attributes
    // Of the notes of part handed over so far; zeros for a part it has not.
    virtual Figures GetFigures(int part) const;

private:
    // One part's list, walked note by note as the program's notes come; a
    // cache line of its own, as parts may be taken on different threads.
    struct alignas(64) Part {
        NoteList::Position at;
        NoteList::Position stop;
        long long end;        // ticks of the records walked
        bool tied;            // the last note walked is tied to the next
        bool pending;         // joining holds a note not compared yet
        ProgramNote joining;
        long long compared;   // notes of the program compared so far
        std::string fault;    // the first difference; empty while none
        Figures figures;
    };

    // Compares a note of the program with part's next one in its list.
    static void Compare(int p, Part& part, const ProgramNote& note);

    // The part's next note from its list; false past the last.
    static bool NextListed(Part& part, ProgramNote& note);

    std::vector<Part> m_parts;
};

#endif
