#include "score/NoteRecord.h"

NoteRecord::NoteRecord()
    : NoteRecord(kRestNote, 0)
{
}

NoteRecord::NoteRecord(int note, int length, int velocity, int tie, int valueIndex)
    : m_note(note)
    , m_length(length)
    , m_velocity(velocity)
    , m_tie(tie)
    , m_valueIndex(valueIndex)
{
}
