#include "tests/support/MmlReader.h"

#include <cctype>

namespace {

const int kWholeTicks = 192;

int LetterOffset(char letter)
{
    switch (letter) {
    case 'c': return 0;
    case 'd': return 2;
    case 'e': return 4;
    case 'f': return 5;
    case 'g': return 7;
    case 'a': return 9;
    case 'b': return 11;
    default: return -1;
    }
}

} // namespace

MmlReader::MmlReader()
{
    Reset();
}

MmlReader::~MmlReader()
{
}

void MmlReader::Reset()
{
    m_octave = 4;
    m_defaultTicks = kWholeTicks / 4;
    m_notes.clear();
    m_error.clear();
}

int MmlReader::Read(const std::string& mml)
{
    size_t i = 0;
    while (i < mml.size()) {
        size_t start = i;
        char c = mml[i++];
        if (c == '>') {
            ++m_octave;
        } else if (c == '<') {
            --m_octave;
        } else if (c == 'o') {
            bool negative = i < mml.size() && mml[i] == '-';
            if (negative)
                ++i;
            if (i >= mml.size() || !std::isdigit(static_cast<unsigned char>(mml[i])))
                return Fail(start, "octave without a number");
            int octave = 0;
            while (i < mml.size() && std::isdigit(static_cast<unsigned char>(mml[i])))
                octave = octave * 10 + (mml[i++] - '0');
            m_octave = negative ? -octave : octave;
        } else if (c == 'l') {
            int ticks = 0;
            if (ReadLength(mml, i, -1, ticks) != 0 || ticks <= 0)
                return Fail(start, "bad default length");
            m_defaultTicks = ticks;
        } else if (c == '&') {
            if (m_notes.empty() || m_notes.back().tied)
                return Fail(start, "tie without a note");
            m_notes.back().tied = true;
        } else if (c == 'r' || LetterOffset(c) >= 0) {
            MmlNote note = { kRest, 0, false };
            if (c != 'r') {
                note.note = (m_octave + 1) * 12 + LetterOffset(c);
                if (i < mml.size() && mml[i] == '+') {
                    ++note.note;
                    ++i;
                }
                if (note.note < 0 || note.note > 127)
                    return Fail(start, "key outside 0..127");
            }
            if (ReadLength(mml, i, m_defaultTicks, note.ticks) != 0)
                return Fail(start, "bad length");
            m_notes.push_back(note);
        } else {
            return Fail(start, std::string("unknown character '") + c + "'");
        }
    }
    return 0;
}

// A length is a divisor of 192 with an optional dot, or a lone dot that
// lengthens the default by half. Nothing at all means the default.
int MmlReader::ReadLength(const std::string& mml, size_t& i, int defaultTicks, int& ticks)
{
    int number = 0;
    bool digits = false;
    while (i < mml.size() && std::isdigit(static_cast<unsigned char>(mml[i]))) {
        number = number * 10 + (mml[i++] - '0');
        digits = true;
        if (number > kWholeTicks)
            return -1;
    }
    if (digits) {
        if (number == 0 || kWholeTicks % number != 0)
            return -1;
        ticks = kWholeTicks / number;
    } else {
        if (defaultTicks < 0)
            return -1;
        ticks = defaultTicks;
    }
    if (i < mml.size() && mml[i] == '.') {
        ++i;
        if (ticks % 2 != 0)
            return -1;
        ticks += ticks / 2;
    }
    return 0;
}

int MmlReader::Fail(size_t position, const std::string& why)
{
    m_error = why + " at " + std::to_string(position + 1);
    return static_cast<int>(position) + 1;
}

const std::vector<MmlNote>& MmlReader::GetNotes() const
{
    return m_notes;
}

std::vector<MmlNote> MmlReader::GetJoinedNotes() const
{
    std::vector<MmlNote> joined;
    bool joinNext = false;
    for (const MmlNote& note : m_notes) {
        if (joinNext && joined.back().note == note.note) {
            joined.back().ticks += note.ticks;
            joined.back().tied = note.tied;
        } else {
            joined.push_back(note);
        }
        joinNext = note.tied && note.note != kRest;
    }
    return joined;
}

int MmlReader::GetTotalTicks() const
{
    int total = 0;
    for (const MmlNote& note : m_notes)
        total += note.ticks;
    return total;
}

int MmlReader::GetOctave() const
{
    return m_octave;
}

int MmlReader::GetDefaultTicks() const
{
    return m_defaultTicks;
}

const std::string& MmlReader::GetError() const
{
    return m_error;
}
