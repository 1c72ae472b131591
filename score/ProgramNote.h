#ifndef MORVEK_SCORE_PROGRAMNOTE_H
#define MORVEK_SCORE_PROGRAMNOTE_H

// One note or rest of a part as a program text gives it back: where it
// starts and how long it lasts in ticks of the file's time base, the pieces
// of a tied note joined into one. A plain record, copied freely.
struct ProgramNote {
    int key;          // 0..127 (60 is c of octave 4), or 128 for a rest
    long long start;  // ticks from the start of the part
    long long length; // ticks
};

#endif
