// Fuzz target: the texts of the three number fields (split step count, part
// count, first line number; separated by line feeds) through ParseDigits,
// FormatThousands and the settings check, each compared with a plain
// reading of the rules.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/ConvertSettings.h"
#include "text/NumberText.h"
#include "settings/SettingsCheck.h"

namespace {

void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "settings_fuzzer: %s\n", what);
    std::abort();
}

// The digits of text up to its terminator, saturated at the largest int.
int ReferenceDigits(const char* text)
{
    uint64_t value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<uint64_t>(*p - '0');
            if (value > INT_MAX)
                value = INT_MAX + 1ULL;              // stays saturated
        }
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// The checks run split step count, part count, first line number.
int ReferenceFault(int split, int parts, int line, int& value)
{
    value = 0;
    if (!InRange(split, ConvertSettings::kMinSplitStepCount, ConvertSettings::kMaxSplitStepCount))
        return value = split, SettingsCheck::kBadSplitStepCount;
    if (!InRange(parts, ConvertSettings::kMinPartCount, ConvertSettings::kMaxPartCount))
        return value = parts, SettingsCheck::kBadPartCount;
    if (!InRange(line, ConvertSettings::kMinFirstLineNumber, ConvertSettings::kMaxFirstLineNumber))
        return value = line, SettingsCheck::kBadFirstLineNumber;
    return SettingsCheck::kSettingsValid;
}

void CheckFormatting(int value, size_t bufferSize)
{
    const std::string text = FormatThousands(value);
    Require(ParseDigits(text.c_str()) == value, "FormatThousands does not read back");
    // A short buffer gets a cut, terminated text and the whole length.
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    const int size = static_cast<int>(bufferSize % sizeof buffer);
    const int length = FormatThousands(value, buffer, size);
    Require(length == static_cast<int>(text.size()), "FormatThousands length differs");
    if (size > 0) {
        const size_t kept = std::strlen(buffer);
        Require(kept < static_cast<size_t>(size), "FormatThousands wrote past its buffer");
        Require(text.compare(0, kept, buffer) == 0, "FormatThousands cut the text wrongly");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string all(reinterpret_cast<const char*>(data), size);
    std::string fields[3];
    size_t start = 0;
    for (int i = 0; i < 3 && start <= all.size(); ++i) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        fields[i] = all.substr(start, end - start);
        start = end + 1;
    }

    int values[3];
    for (int i = 0; i < 3; ++i) {
        values[i] = ParseDigits(fields[i].c_str());
        Require(values[i] == ReferenceDigits(fields[i].c_str()), "ParseDigits differs");
        CheckFormatting(values[i], size);
    }
    Require(ParseDigits(nullptr) == 0, "ParseDigits of null");

    ConvertSettings settings;
    const int oldSplit = settings.GetSplitStepCount();
    const int oldParts = settings.GetPartCount();
    const int oldLine = settings.GetFirstLineNumber();
    SettingsCheck check;
    int expectedValue = 0;
    const int expected = ReferenceFault(values[0], values[1], values[2], expectedValue);
    const int fault = check.CheckFields(fields[0].c_str(), fields[1].c_str(), fields[2].c_str(),
                                        settings);
    Require(fault == expected && check.GetFault() == expected, "CheckFields fault differs");
    Require(check.GetValue() == expectedValue, "CheckFields value differs");
    if (fault == SettingsCheck::kSettingsValid) {
        Require(settings.GetSplitStepCount() == values[0] && settings.GetPartCount() == values[1] &&
                    settings.GetFirstLineNumber() == values[2],
                "accepted values not stored");
        Require(check.GetMessageId() == 0 && check.GetMessageText().empty() &&
                    check.GetEnglishText().empty(),
                "a message for valid settings");
    } else {
        Require(settings.GetSplitStepCount() == oldSplit && settings.GetPartCount() == oldParts &&
                    settings.GetFirstLineNumber() == oldLine,
                "refused values were stored");
        Require(check.GetMessageId() >= 1234 && check.GetMessageId() <= 1236,
                "no string-table message for a fault");
        Require(!check.GetMessageText().empty() && !check.GetEnglishText().empty(),
                "an empty message for a fault");
        const std::string number = std::to_string(expectedValue);
        Require(check.GetEnglishText().find(number) != std::string::npos,
                "the English message does not show the value");
    }

    // The same rules for raw numbers, negative ones included.
    if (size >= 12) {
        int raw[3];
        std::memcpy(raw, data, sizeof raw);
        SettingsCheck direct;
        int rawValue = 0;
        Require(direct.CheckValues(raw[0], raw[1], raw[2]) ==
                    ReferenceFault(raw[0], raw[1], raw[2], rawValue),
                "CheckValues fault differs");
        Require(direct.GetValue() == rawValue, "CheckValues value differs");
        if (raw[0] >= 0)
            CheckFormatting(raw[0], static_cast<size_t>(raw[1]) & 0xFF);
    }
    return 0;
}
