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

NoteRecord::~NoteRecord()
{
}

int NoteRecord::SetNote(int note)
{
    int previous = note_;
    note_ = note;
    return previous;
}

int NoteRecord::GetNote() const
{
    return note_;
}

int NoteRecord::SetLength(int length)
{
    int previous = length_;
    length_ = length;
    return previous;
}

int NoteRecord::GetLength() const
{
    return length_;
}

int NoteRecord::SetVelocity(int velocity)
{
    int previous = velocity_;
    velocity_ = velocity;
    return previous;
}

int NoteRecord::GetVelocity() const
{
    return velocity_;
}

int NoteRecord::SetTie(int tie)
{
    int previous = tie_;
    tie_ = tie;
    return previous;
}

int NoteRecord::GetTie() const
{
    return tie_;
}

int NoteRecord::SetValueIndex(int valueIndex)
{
    int previous = valueIndex_;
    valueIndex_ = valueIndex;
    return previous;
}

int NoteRecord::GetValueIndex() const
{
    return valueIndex_;
}

bool NoteRecord::IsRest() const
{
    return note_ == kRestNote;
}

bool NoteRecord::IsSegmentEnd() const
{
    return note_ == kSegmentEnd;
}

bool NoteRecord::IsNote() const
{
    return note_ >= 0 && note_ < kRestNote;
}

bool NoteRecord::IsTied() const
{
    return (tie_ & kTieToNext) != 0;
}
