#include "score/MmlWriter.h"

#include "engine/NoteValueTable.h"
#include "score/NoteListSet.h"

namespace {

const char* const kNoteNames[] = {
    "c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b", "r"
};
const int kNoteNameCount = sizeof(kNoteNames) / sizeof(kNoteNames[0]);
const int kKeysPerOctave = 12;

} // namespace

MmlWriter::MmlWriter()
    : listOrdinal_(-1)
    , octave_(4)
    , defaultValue_(7)
    , list_(nullptr)
{
}

MmlWriter::~MmlWriter()
{
}

int MmlWriter::SetListOrdinal(int ordinal)
{
    int previous = listOrdinal_;
    listOrdinal_ = ordinal;
    return previous;
}

int MmlWriter::GetListOrdinal() const
{
    return listOrdinal_;
}

int MmlWriter::SetOctave(int octave)
{
    int previous = octave_;
    octave_ = octave;
    return previous;
}

int MmlWriter::GetOctave() const
{
    return octave_;
}

int MmlWriter::SetDefaultValue(int valueIndex)
{
    int previous = defaultValue_;
    defaultValue_ = valueIndex;
    return previous;
}

int MmlWriter::GetDefaultValue() const
{
    return defaultValue_;
}

int MmlWriter::GetNoteName(std::string& name, int index) const
{
    name = index >= 0 && index < kNoteNameCount ? kNoteNames[index] : "";
    return static_cast<int>(name.size());
}

int MmlWriter::GetLengthText(std::string& text, int valueIndex) const
{
    NoteValueTable table;
    text = table.GetLengthText(valueIndex);
    return static_cast<int>(text.size());
}

int MmlWriter::Attach(NoteListSet& set, int ordinal)
{
    NoteList* list = set.GetList(ordinal);
    if (!list)
        return -1;
    return SetPosition(*list);
}

int MmlWriter::SetPosition(NoteList& list)
{
    list_ = &list;
    position_ = list.Begin();
    return 0;
}

int MmlWriter::WriteSegment(NoteListSet& set, int ordinal, std::string& out, int flags)
{
    NoteList* list = set.GetList(ordinal);
    if (!list) {
        out.clear();
        return -1;
    }
    return WriteSegmentFromList(*list, out, flags);
}

int MmlWriter::WriteSegmentFromList(NoteList& list, std::string& out, int flags)
{
    out.clear();
    // A stored position is only meaningful in the list it was taken from.
    if ((flags & kWriteFromStart) || list_ != &list)
        SetPosition(list);
    if (flags & kWriteOctave)
        out += "o" + std::to_string(octave_);
    if (flags & kWriteDefaultLength) {
        std::string length;
        GetLengthText(length, defaultValue_);
        out += "l" + length;
    }
    const NoteValueTable table;
    const NoteList::Position end = list.End();
    while (position_ != end) {
        const NoteRecord& record = *position_++;
        if (record.IsSegmentEnd())
            break;
        AppendRecord(record, table, out);
    }
    return 0;
}

int MmlWriter::WriteRecord(const NoteRecord& record, std::string& out)
{
    out.clear();
    const NoteValueTable table;
    AppendRecord(record, table, out);
    return 0;
}

void MmlWriter::AppendRecord(const NoteRecord& record, const NoteValueTable& table, std::string& out)
{
    int octave;
    int nameIndex;
    if (record.IsRest()) {
        octave = octave_;
        nameIndex = kRestName;
    } else if (record.IsNote()) {
        octave = record.GetNote() / kKeysPerOctave - 1;
        nameIndex = record.GetNote() % kKeysPerOctave;
    } else {
        return; // a segment marker, or no note at all
    }
    if (octave > octave_)
        out.append(octave - octave_, '>');
    else if (octave < octave_)
        out.append(octave_ - octave, '<');
    octave_ = octave;

    out += kNoteNames[nameIndex]; // what GetNoteName gives for it

    int valueIndex = record.GetValueIndex();
    if (valueIndex == defaultValue_) {
        // the default length needs no text
    } else if (table.GetUndottedValue(valueIndex) == defaultValue_) {
        out += '.';
    } else {
        out += table.GetLengthText(valueIndex);
    }
    if (record.IsTied())
        out += '&';
}
