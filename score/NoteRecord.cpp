#include "score/NoteRecord.h"

NoteRecord::NoteRecord()
    : NoteRecord(kRestNote, 0)
{
}
