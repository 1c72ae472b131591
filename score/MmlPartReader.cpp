#include "score/MmlPartReader.h"

#include <climits>
#include <utility>

namespace {

const int kStartOctave = 4;
const int kLowestOctave = -1; // key 0 is c of octave -1
const int kHighestOctave = 9;
const int kKeysPerOctave = 12;
const int kQuarterUnits = MmlPartReader::kWholeUnits / 4;
const int kMaxTimeBase = 32767;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// What each character starts: a note, with the key of its letter within the
// octave (0..11), a rest, or something else. One look-up for the characters
// nearly every string is made of.
const int kRestLetter = 12;
struct LetterKeys {
    signed char keys[256];
    LetterKeys() : keys()
    {
        for (signed char& key : keys)
            key = -1;
        const char* const letters = "c d ef g a b";
        for (int key = 0; key < kKeysPerOctave; ++key) {
            if (letters[key] != ' ') {
                keys[static_cast<unsigned char>(letters[key])] = static_cast<signed char>(key);
                keys[static_cast<unsigned char>(letters[key] - 'a' + 'A')] = static_cast<signed char>(key);
            }
        }
        keys[static_cast<unsigned char>('r')] = kRestLetter;
        keys[static_cast<unsigned char>('R')] = kRestLetter;
    }
};

const LetterKeys kLetterKeys;

// The 192nd notes of each length a note can carry (a divisor of 192), 0 for
// any other number: a look-up instead of two divisions for every note.
struct LengthUnits {
    int units[MmlPartReader::kWholeUnits + 1];
    LengthUnits() : units()
    {
        for (int number = 1; number <= MmlPartReader::kWholeUnits; ++number)
            units[number] = MmlPartReader::kWholeUnits % number == 0 ? MmlPartReader::kWholeUnits / number : 0;
    }
};

const LengthUnits kLengthUnits;

} // namespace

MmlPartReader::MmlPartReader()
    : m_timeBase(48), m_ticksPerUnit(1), m_sink(nullptr), m_part(0)
{
    Reset();
}

MmlPartReader::~MmlPartReader()
{
}

int MmlPartReader::SetTimeBase(int timeBase)
{
    const int previous = m_timeBase;
    m_timeBase = timeBase < 1 ? 1 : timeBase > kMaxTimeBase ? kMaxTimeBase : timeBase;
    m_ticksPerUnit = m_timeBase % kQuarterUnits == 0 ? m_timeBase / kQuarterUnits : 0;
    return previous;
}

int MmlPartReader::GetTimeBase() const
{
    return m_timeBase;
}

const std::vector<ProgramNote>& MmlPartReader::GetNotes() const
{
    return m_notes;
}

long long MmlPartReader::GetPosition() const
{
    return ToTicks(m_units);
}

int MmlPartReader::GetOctave() const
{
    return m_octave;
}

int MmlPartReader::GetDefaultUnits() const
{
    return m_defaultUnits;
}

const ReadStatus& MmlPartReader::GetStatus() const
{
    return m_status;
}

ProgramNoteSink* MmlPartReader::SetNoteSink(ProgramNoteSink* sink, int part)
{
    m_part = part;
    return std::exchange(m_sink, sink);
}

int MmlPartReader::Finish()
{
    if (m_sink != nullptr && !m_notes.empty()) {
        m_sink->TakeNote(m_part, m_notes.back());
        m_notes.clear();
    }
    return 0;
}

int MmlPartReader::Reset()
{
    m_octave = kStartOctave;
    m_defaultUnits = kQuarterUnits;
    m_units = 0;
    m_tiePending = false;
    m_notes.clear();
    m_status = ReadStatus();
    return 0;
}

int MmlPartReader::Read(const char* text, size_t size)
{
    m_status = ReadStatus();
    if (!text)
        size = 0;
    size_t i = 0;
    while (i < size) {
        const size_t start = i;
        const unsigned char letter = static_cast<unsigned char>(text[i++]);
        // Notes and rests first: nearly every character read is one.
        const int offset = kLetterKeys.keys[letter];
        const char c = Lower(static_cast<char>(letter));
        if (offset >= 0) {
            int key = kRest;
            if (offset != kRestLetter) {
                key = (m_octave + 1) * kKeysPerOctave + offset;
                if (i < size && (text[i] == '+' || text[i] == '#'))
                    ++key, ++i;
                else if (i < size && text[i] == '-')
                    --key, ++i;
                if (key < 0 || key > 127)
                    return Fail(start, ReadStatus::kKeyOutside);
            }
            int units = 0;
            if (!ReadLength(text, size, i, units))
                return Fail(start, ReadStatus::kBadLength);
            Append(key, units);
        } else if (c == ' ' || c == '\t') {
            continue;
        } else if (c == '>' || c == '<') {
            const int octave = m_octave + (c == '>' ? 1 : -1);
            if (octave < kLowestOctave || octave > kHighestOctave)
                return Fail(start, ReadStatus::kBadOctave);
            m_octave = octave;
        } else if (c == 'o') {
            if (i >= size || !IsDigit(text[i]))
                return Fail(start, ReadStatus::kNoOctave);
            const int octave = text[i++] - '0';
            if (i < size && IsDigit(text[i]))
                return Fail(start, ReadStatus::kBadOctave);
            m_octave = octave;
        } else if (c == 'l') {
            int units = 0;
            if (i >= size || !IsDigit(text[i]) || !ReadLength(text, size, i, units))
                return Fail(start, ReadStatus::kBadDefaultLength);
            m_defaultUnits = units;
        } else if (c == '&') {
            if (m_notes.empty() || m_tiePending)
                return Fail(start, ReadStatus::kLoneTie);
            m_tiePending = true;
        } else {
            return Fail(start, ReadStatus::kNotMml);
        }
    }
    return kReadOk;
}

// A length is a divisor of 192 with an optional dot; none means the default.
bool MmlPartReader::ReadLength(const char* text, size_t size, size_t& i, int& units)
{
    int number = 0;
    bool digits = false;
    while (i < size && IsDigit(text[i])) {
        number = number * 10 + (text[i++] - '0');
        digits = true;
        if (number > kWholeUnits)
            return false;
    }
    if (digits) {
        units = kLengthUnits.units[number];
        if (units == 0)
            return false;
    } else {
        units = m_defaultUnits;
    }
    if (i < size && text[i] == '.') {
        ++i;
        if (units % 2 != 0)
            return false;
        units += units / 2;
    }
    return true;
}

void MmlPartReader::Append(int key, int units)
{
    const bool tied = m_tiePending;
    m_tiePending = false;
    const long long end = m_units + units;
    if (!m_notes.empty()) {
        ProgramNote& last = m_notes.back();
        // A tie joins pieces of one key; rests side by side are one rest.
        if (last.key == key && (tied || key == kRest)) {
            last.length = ToTicks(end) - last.start;
            m_units = end;
            return;
        }
    }
    ProgramNote note;
    note.key = key;
    note.start = ToTicks(m_units);
    note.length = ToTicks(end) - note.start;
    if (m_sink != nullptr && !m_notes.empty()) {
        m_sink->TakeNote(m_part, m_notes.back());
        m_notes.back() = note;
    } else {
        m_notes.push_back(note);
    }
    m_units = end;
}

long long MmlPartReader::ToTicks(long long units) const
{
    // 192 units to the whole note, 4 * time base ticks to it: a product
    // alone for the usual time bases.
    if (m_ticksPerUnit != 0)
        return units * m_ticksPerUnit;
    return units * m_timeBase / kQuarterUnits;
}

int MmlPartReader::Fail(size_t offset, int reason)
{
    const int column = offset < static_cast<size_t>(INT_MAX) ? static_cast<int>(offset) + 1 : INT_MAX;
    m_status = ReadStatus(0, column, reason);
    return column;
}
