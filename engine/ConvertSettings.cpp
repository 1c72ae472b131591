#include "engine/ConvertSettings.h"

#include "engine/NoteValueTable.h"

ConvertSettings::ConvertSettings()
    : partCount_(kDefaultPartCount)
    , minimumResolution_(kDefaultResolution)
    , splitStepCount_(kDefaultSplitStepCount)
    , firstLineNumber_(kDefaultFirstLineNumber)
    , playKind_(kDefaultPlayKind)
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
    SetOutputName(std::string());
}

int ConvertSettings::SetSplitStepCountForTimeBase(int timeBase)
{
    return SetSplitStepCount(kQuartersPerSplit * timeBase);
}

int ConvertSettings::SetPartCount(int count)
{
    int previous = partCount_;
    partCount_ = count;
    return previous;
}

int ConvertSettings::GetPartCount() const
{
    return partCount_;
}

int ConvertSettings::SetMinimumResolution(int valueIndex)
{
    int previous = minimumResolution_;
    minimumResolution_ = valueIndex;
    return previous;
}

int ConvertSettings::GetMinimumResolution() const
{
    return minimumResolution_;
}

int ConvertSettings::SetSplitStepCount(int ticks)
{
    int previous = splitStepCount_;
    splitStepCount_ = ticks;
    return previous;
}

int ConvertSettings::GetSplitStepCount() const
{
    return splitStepCount_;
}

int ConvertSettings::SetFirstLineNumber(int lineNumber)
{
    int previous = firstLineNumber_;
    firstLineNumber_ = lineNumber;
    return previous;
}

int ConvertSettings::GetFirstLineNumber() const
{
    return firstLineNumber_;
}

int ConvertSettings::SetPlayKind(int kind)
{
    int previous = playKind_;
    playKind_ = kind;
    return previous;
}

int ConvertSettings::GetPlayKind() const
{
    return playKind_;
}

std::string ConvertSettings::SetOutputName(const std::string& name)
{
    std::string previous = outputName_;
    outputName_ = name;
    return previous;
}

const std::string& ConvertSettings::GetOutputName() const
{
    return outputName_;
}

int ConvertSettings::GetResolutionUnit(int timeBase) const
{
    NoteValueTable table;
    return table.GetTicksAt(minimumResolution_, timeBase);
}
