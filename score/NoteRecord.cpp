#include "score/NoteRecord.h"

NoteRecord::NoteRecord()
    : NoteRecord(kRestNote, 0)
{
}

NoteRecord::NoteRecord(int note, int length, int velocity, int tie, int valueIndex)
    : note_(note)
    , length_(length)
    , velocity_(velocity)
    , tie_(tie)
    , valueIndex_(valueIndex)
{
}
