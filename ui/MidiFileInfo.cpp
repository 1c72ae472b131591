#include "ui/MidiFileInfo.h"

#include "ui/AnsiText.h"

MidiFileInfo::MidiFileInfo()
    : m_format(0), m_timeBase(kDefaultTimeBase), m_retimedFrom(0), m_usedChannelCount(0)
{
    m_name[0] = '\0';
}

MidiFileInfo::~MidiFileInfo()
{
}

void MidiFileInfo::Reset()
{
    m_name[0] = '\0';
    m_format = 0;
    m_timeBase = kDefaultTimeBase;
    m_retimedFrom = 0;
    m_usedChannelCount = 0;
}

int MidiFileInfo::SetName(const char* name)
{
    return CopyAnsi(m_name, sizeof m_name, name != nullptr ? name : "");
}

const char* MidiFileInfo::GetName() const
{
    return m_name;
}

int MidiFileInfo::SetFormat(int format)
{
    int old = m_format;
    m_format = format;
    return old;
}

int MidiFileInfo::GetFormat() const
{
    return m_format;
}

int MidiFileInfo::SetTimeBase(int timeBase)
{
    int old = m_timeBase;
    m_timeBase = timeBase;
    return old;
}

int MidiFileInfo::GetTimeBase() const
{
    return m_timeBase;
}

int MidiFileInfo::SetRetimedFrom(int timeBase)
{
    int old = m_retimedFrom;
    m_retimedFrom = timeBase;
    return old;
}

int MidiFileInfo::GetRetimedFrom() const
{
    return m_retimedFrom;
}

int MidiFileInfo::SetUsedChannelCount(int count)
{
    int old = m_usedChannelCount;
    m_usedChannelCount = count;
    return old;
}

int MidiFileInfo::GetUsedChannelCount() const
{
    return m_usedChannelCount;
}
