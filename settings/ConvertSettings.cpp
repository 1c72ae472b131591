#include "settings/ConvertSettings.h"

#include "settings/NoteValueTable.h"

ConvertSettings::ConvertSettings()
    : m_partCount(kDefaultPartCount)
    , m_minimumResolution(kDefaultResolution)
    , m_splitStepCount(kDefaultSplitStepCount)
    , m_firstLineNumber(kDefaultFirstLineNumber)
    , m_playKind(kDefaultPlayKind)
    , m_voiceCount(kDefaultVoiceCount)
    , m_lineLimit(kLineLimitOff)
{
}

ConvertSettings::~ConvertSettings()
{
}

void ConvertSettings::Reset()
{
    SetPartCount(kDefaultPartCount);
    SetMinimumResolution(kDefaultResolution);
    SetSplitStepCount(kDefaultSplitStepCount);
    SetFirstLineNumber(kDefaultFirstLineNumber);
    SetPlayKind(kDefaultPlayKind);
    SetVoiceCount(kDefaultVoiceCount);
    SetLineLimit(kLineLimitOff);
    SetOutputName(std::string());
}

int ConvertSettings::SetSplitStepCountForTimeBase(int timeBase)
{
    return SetSplitStepCount(kQuartersPerSplit * timeBase);
}

int ConvertSettings::SetPartCount(int count)
{
    int previous = m_partCount;
    m_partCount = count;
    return previous;
}

int ConvertSettings::GetPartCount() const
{
    return m_partCount;
}

int ConvertSettings::SetMinimumResolution(int valueIndex)
{
    int previous = m_minimumResolution;
    m_minimumResolution = valueIndex;
    return previous;
}

int ConvertSettings::GetMinimumResolution() const
{
    return m_minimumResolution;
}

int ConvertSettings::SetSplitStepCount(int ticks)
{
    int previous = m_splitStepCount;
    m_splitStepCount = ticks;
    return previous;
}

int ConvertSettings::GetSplitStepCount() const
{
    return m_splitStepCount;
}

int ConvertSettings::SetFirstLineNumber(int lineNumber)
{
    int previous = m_firstLineNumber;
    m_firstLineNumber = lineNumber;
    return previous;
}

int ConvertSettings::GetFirstLineNumber() const
{
    return m_firstLineNumber;
}

int ConvertSettings::SetPlayKind(int kind)
{
    int previous = m_playKind;
    m_playKind = kind;
    return previous;
}

int ConvertSettings::GetPlayKind() const
{
    return m_playKind;
}

int ConvertSettings::SetVoiceCount(int count)
{
    int previous = m_voiceCount;
    m_voiceCount = count;
    return previous;
}

int ConvertSettings::GetVoiceCount() const
{
    return m_voiceCount;
}

int ConvertSettings::SetLineLimit(int characters)
{
    int previous = m_lineLimit;
    m_lineLimit = characters;
    return previous;
}

int ConvertSettings::GetLineLimit() const
{
    return m_lineLimit;
}

std::string ConvertSettings::SetOutputName(const std::string& name)
{
    std::string previous = m_outputName;
    m_outputName = name;
    return previous;
}

const std::string& ConvertSettings::GetOutputName() const
{
    return m_outputName;
}

int ConvertSettings::GetResolutionUnit(int timeBase) const
{
    NoteValueTable table;
    return table.GetTicksAt(m_minimumResolution, timeBase);
}
