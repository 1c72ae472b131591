#include "score/NoteRecord.h"

NoteRecord::NoteRecord()
    : NoteRecord(kRestNote, 0)
{
}

NoteRecord::NoteRecord(int note, int length, int velocity, int tie, int valueIndex)
    : m_length(length)
    , m_note(static_cast<uint8_t>(note))
    , m_velocity(static_cast<uint8_t>(velocity))
    , m_tie(static_cast<uint8_t>(tie))
    , m_valueIndex(static_cast<int8_t>(valueIndex))
{
}
