#include "midi/MidiReadOptions.h"

MidiReadOptions::MidiReadOptions() : m_lenient(false)
{
}

MidiReadOptions::~MidiReadOptions()
{
}

bool MidiReadOptions::SetLenient(bool lenient)
{
    bool previous = m_lenient;
    m_lenient = lenient;
    return previous;
}

bool MidiReadOptions::IsLenient() const
{
    return m_lenient;
}

bool MidiReadOptions::KeepsTimeBase(int timeBase) const
{
    return timeBase == 48 || timeBase == 96 || timeBase == 240 || timeBase == 480;
}
