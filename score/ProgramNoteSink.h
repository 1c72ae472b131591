#ifndef MORVEK_SCORE_PROGRAMNOTESINK_H
#define MORVEK_SCORE_PROGRAMNOTESINK_H

#include "score/ProgramNote.h"

// Takes the notes of a program one by one as a reader finishes them, in
// place of the reader keeping them all: checking a long program then needs
// no memory for its notes.
class ProgramNoteSink {
public:
    virtual ~ProgramNoteSink() {}

    // The next note or rest of part (0-based), ties joined, in order.
    virtual void TakeNote(int part, const ProgramNote& note) = 0;
    // Whether TakeNote may run for different parts at once, on different
    // threads; each part's notes still come in order, from one thread.
    virtual bool TakesPartsAtOnce() const { return false; }
};

#endif
