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
};

#endif
