#include "score/MmlWriter.h"

#include "settings/NoteValueTable.h"
#include "score/NoteListSet.h"

#include <cstring>

namespace {

const char* const kNoteNames[] = {
    "c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b", "r"
};
const int kNoteNameCount = sizeof(kNoteNames) / sizeof(kNoteNames[0]);
const int kKeysPerOctave = 12;

// Counts what would be appended to a string.
struct TextCounter {
    size_t size = 0;
    void append(size_t count, char) { size += count; }
    TextCounter& operator+=(const char* text)
    {
        size += std::strlen(text);
        return *this;
    }
    TextCounter& operator+=(char)
    {
        ++size;
        return *this;
    }
};

// Appends to a string through a buffer of its own, handed over in pieces:
// a segment's records are a few characters each, and a call into the
// string for each of them costs more than the characters.
class BufferedText {
public:
    explicit BufferedText(std::string& out) : m_out(out), m_size(0) {}
    ~BufferedText() { Flush(); }
    BufferedText(const BufferedText&) = delete;
    BufferedText& operator=(const BufferedText&) = delete;

    void append(size_t count, char c)
    {
        if (count > kRoom - m_size) {
            Flush();
            if (count > kRoom) {
                m_out.append(count, c);
                return;
            }
        }
        std::memset(m_text + m_size, c, count);
        m_size += count;
    }
    BufferedText& operator+=(const char* text)
    {
        for (; *text; ++text)
            *this += *text;
        return *this;
    }
    BufferedText& operator+=(char c)
    {
        if (m_size == kRoom)
            Flush();
        m_text[m_size++] = c;
        return *this;
    }
    void Flush()
    {
        m_out.append(m_text, m_size);
        m_size = 0;
    }

private:
    static constexpr size_t kRoom = 256;
    std::string& m_out;
    size_t m_size;
    char m_text[kRoom];
};

} // namespace

MmlWriter::MmlWriter()
    : m_listOrdinal(-1)
    , m_octave(4)
    , m_defaultValue(7)
    , m_list(nullptr)
{
    SetDefaultValue(m_defaultValue);
}

MmlWriter::~MmlWriter()
{
}

int MmlWriter::SetListOrdinal(int ordinal)
{
    int previous = m_listOrdinal;
    m_listOrdinal = ordinal;
    return previous;
}

int MmlWriter::GetListOrdinal() const
{
    return m_listOrdinal;
}

int MmlWriter::SetOctave(int octave)
{
    int previous = m_octave;
    m_octave = octave;
    return previous;
}

int MmlWriter::GetOctave() const
{
    return m_octave;
}

int MmlWriter::SetDefaultValue(int valueIndex)
{
    int previous = m_defaultValue;
    m_defaultValue = valueIndex;
    // Nothing for the default value, a dot for its dotted value, the
    // length otherwise.
    const NoteValueTable table;
    for (int i = 0; i < NoteValueTable::kValueCount; ++i) {
        m_lengthTexts[i] = i == valueIndex                        ? ""
                           : table.GetUndottedValue(i) == valueIndex ? "."
                                                                     : table.GetLengthText(i);
    }
    return previous;
}

int MmlWriter::GetDefaultValue() const
{
    return m_defaultValue;
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
    m_list = &list;
    m_position = list.Begin();
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
    if ((flags & kWriteFromStart) || m_list != &list)
        SetPosition(list);
    PutStart(flags, out);
    const NoteValueTable table;
    BufferedText text(out);
    PutSegment(list, table, text);
    return 0;
}

int MmlWriter::WriteSegments(NoteListSet& set, int ordinal, int count, int flags,
                             std::string& text, std::vector<size_t>& ends)
{
    NoteList* list = set.GetList(ordinal);
    if (!list) {
        ends.insert(ends.end(), static_cast<size_t>(count > 0 ? count : 0), text.size());
        return -1;
    }
    if ((flags & kWriteFromStart) || m_list != list)
        SetPosition(*list);
    // One call for the whole run of segments, straight into text.
    const NoteValueTable table;
    if (count > 0)
        PutStart(flags, text);
    for (int k = 0; k < count; ++k) {
        BufferedText out(text);
        PutSegment(*list, table, out);
        out.Flush();
        ends.push_back(text.size());
    }
    return 0;
}

void MmlWriter::PutStart(int flags, std::string& out)
{
    if (flags & kWriteOctave)
        out += "o" + std::to_string(m_octave);
    if (flags & kWriteDefaultLength) {
        std::string length;
        GetLengthText(length, m_defaultValue);
        out += "l" + length;
    }
}

template <class Out>
inline void MmlWriter::PutSegment(NoteList& list, const NoteValueTable& table, Out& out)
{
    const NoteList::Position end = list.End();
    while (m_position != end) {
        const NoteRecord& record = *m_position++;
        if (record.IsSegmentEnd())
            break;
        PutRecord(record, table, out);
    }
}

int MmlWriter::WriteRecord(const NoteRecord& record, std::string& out)
{
    out.clear();
    const NoteValueTable table;
    AppendRecord(record, table, out);
    return 0;
}

int MmlWriter::MeasureRecord(const NoteRecord& record)
{
    const NoteValueTable table;
    TextCounter counter;
    PutRecord(record, table, counter);
    return static_cast<int>(counter.size);
}

void MmlWriter::AppendRecord(const NoteRecord& record, const NoteValueTable& table, std::string& out)
{
    PutRecord(record, table, out);
}

template <class Out>
inline void MmlWriter::PutRecord(const NoteRecord& record, const NoteValueTable& table, Out& out)
{
    int octave;
    int nameIndex;
    if (record.IsRest()) {
        octave = m_octave;
        nameIndex = kRestName;
    } else if (record.IsNote()) {
        octave = record.GetNote() / kKeysPerOctave - 1;
        nameIndex = record.GetNote() % kKeysPerOctave;
    } else {
        return; // a segment marker, or no note at all
    }
    if (octave > m_octave)
        out.append(octave - m_octave, '>');
    else if (octave < m_octave)
        out.append(m_octave - octave, '<');
    m_octave = octave;

    out += kNoteNames[nameIndex]; // what GetNoteName gives for it

    const int valueIndex = record.GetValueIndex();
    if (valueIndex >= 0 && valueIndex < NoteValueTable::kValueCount) {
        out += m_lengthTexts[valueIndex];
    } else if (valueIndex == m_defaultValue) {
        // the default length needs no text
    } else if (table.GetUndottedValue(valueIndex) == m_defaultValue) {
        out += '.';
    } else {
        out += table.GetLengthText(valueIndex);
    }
    if (record.IsTied())
        out += '&';
}
