#include "settings/SettingsCheck.h"

#include "settings/ConvertSettings.h"
#include "settings/NoteValueTable.h"
#include "settings/PlayKindTable.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"
#include "text/Texts.h"

namespace {

struct FaultText {
    int messageId;
    int labelId;
    const char* englishFormat;
};

// Indexed by SettingsCheck::Fault - 1.
const FaultText kFaultTexts[] = {
    { kStrBadSplitStep, kStrSplitStepLabel,
      "split step count %d is invalid: set a step count from 1 to 1,920" },
    { kStrBadPartCount, kStrPartCountLabel,
      "part count %d is invalid: set 1 to 18 parts" },
    { kStrBadFirstLine, kStrFirstLineLabel,
      "first line number %d is invalid: set a line number from 1 to 32,000" },
    // Chosen from lists in the window: no message of its own there.
    { 0, 0, "minimum resolution %d is invalid: choose a note value of the table" },
    { 0, 0, "PLAY kind %d is invalid: choose a kind of the table" },
    { 0, 0, "voice count %d is invalid: set 1 to 18 voices" },
};

// No message of the window: its menu offers valid limits only.
const FaultText kLineLimitText = {
    0, 0, "line limit %d is invalid: set a line length from 40 to 255 characters"
};

const FaultText* FindFaultText(int fault)
{
    if (fault == SettingsCheck::kBadLineLimit)
        return &kLineLimitText;
    if (fault < SettingsCheck::kBadSplitStepCount || fault > SettingsCheck::kBadVoiceCount)
        return nullptr;
    return &kFaultTexts[fault - 1];
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

SettingsCheck::SettingsCheck()
    : m_fault(kSettingsValid)
    , m_value(0)
{
}

SettingsCheck::~SettingsCheck()
{
}

int SettingsCheck::CheckFields(const char* splitStepText, const char* partCountText,
                               const char* firstLineText, ConvertSettings& settings)
{
    // Reading a text has no side effects, so reading all three before the
    // ordered checks reports exactly what a field-by-field check would.
    int splitStepCount = ParseDigits(splitStepText);
    int partCount = ParseDigits(partCountText);
    int firstLineNumber = ParseDigits(firstLineText);
    int fault = CheckValues(splitStepCount, partCount, firstLineNumber);
    if (fault != kSettingsValid)
        return fault;
    settings.SetSplitStepCount(splitStepCount);
    settings.SetPartCount(partCount);
    settings.SetFirstLineNumber(firstLineNumber);
    return kSettingsValid;
}

int SettingsCheck::CheckValues(int splitStepCount, int partCount, int firstLineNumber)
{
    if (!InRange(splitStepCount, ConvertSettings::kMinSplitStepCount, ConvertSettings::kMaxSplitStepCount))
        return Fail(kBadSplitStepCount, splitStepCount);
    if (!InRange(partCount, ConvertSettings::kMinPartCount, ConvertSettings::kMaxPartCount))
        return Fail(kBadPartCount, partCount);
    if (!InRange(firstLineNumber, ConvertSettings::kMinFirstLineNumber, ConvertSettings::kMaxFirstLineNumber))
        return Fail(kBadFirstLineNumber, firstLineNumber);
    return Fail(kSettingsValid, 0);
}

int SettingsCheck::Check(const ConvertSettings& settings)
{
    int fault = CheckValues(settings.GetSplitStepCount(), settings.GetPartCount(),
                            settings.GetFirstLineNumber());
    if (fault != kSettingsValid)
        return fault;
    if (NoteValueTable().GetTicks(settings.GetMinimumResolution()) == 0)
        return Fail(kBadMinimumResolution, settings.GetMinimumResolution());
    if (PlayKindTable().GetKeyword(settings.GetPlayKind()) == nullptr)
        return Fail(kBadPlayKind, settings.GetPlayKind());
    fault = CheckVoiceCount(settings.GetVoiceCount());
    if (fault != kSettingsValid)
        return fault;
    return CheckLineLimit(settings.GetLineLimit());
}

int SettingsCheck::CheckVoiceCount(int count)
{
    if (!InRange(count, ConvertSettings::kMinVoiceCount, ConvertSettings::kMaxVoiceCount))
        return Fail(kBadVoiceCount, count);
    return Fail(kSettingsValid, 0);
}

int SettingsCheck::CheckLineLimit(int characters)
{
    if (characters != ConvertSettings::kLineLimitOff &&
        !InRange(characters, ConvertSettings::kMinLineLimit, ConvertSettings::kMaxLineLimit))
        return Fail(kBadLineLimit, characters);
    return Fail(kSettingsValid, 0);
}

int SettingsCheck::GetFault() const
{
    return m_fault;
}

int SettingsCheck::GetValue() const
{
    return m_value;
}

int SettingsCheck::GetMessageId() const
{
    const FaultText* text = FindFaultText(m_fault);
    return text ? text->messageId : 0;
}

int SettingsCheck::GetLabelId() const
{
    const FaultText* text = FindFaultText(m_fault);
    return text ? text->labelId : 0;
}

std::string SettingsCheck::GetMessageText() const
{
    const FaultText* text = FindFaultText(m_fault);
    if (!text || text->messageId == 0)
        return std::string();
    return ComposeMessageText(GetString(text->labelId), GetString(text->messageId));
}

std::string SettingsCheck::ComposeMessageText(const char* label, const char* message) const
{
    if (FindFaultText(m_fault) == nullptr || label == nullptr || message == nullptr)
        return std::string();
    return FormatText("%s = %d\n\n%s", label, m_value, message);
}

std::string SettingsCheck::GetEnglishText() const
{
    return GetEnglishTextFor(m_fault, m_value);
}

std::string SettingsCheck::GetEnglishTextFor(int fault, int value) const
{
    const FaultText* text = FindFaultText(fault);
    if (!text)
        return std::string();
    return FormatText(text->englishFormat, value);
}

int SettingsCheck::Fail(int fault, int value)
{
    m_fault = fault;
    m_value = value;
    return fault;
}
