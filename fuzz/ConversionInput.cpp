#include "fuzz/ConversionInput.h"

#include "settings/ConvertSettings.h"

namespace {

const int kPartRange = 20;
const int kResolutionRange = 19;
const int kSplitRange = 2048;
const int kFirstLineRange = 33000;
const int kKindRange = 4;
const int kVoiceRange = 19; // 0 lies outside the range
const int kPatternParts = 7;
const int kOutOfRangeBit = 0x80;

int Word(const uint8_t* p)
{
    return (p[0] << 8) | p[1];
}

}  // namespace

ConversionInput::ConversionInput()
    : m_partCount(0), m_resolution(0), m_splitStepCount(0), m_firstLineNumber(0),
      m_playKind(0), m_voiceCount(1), m_pattern(0), m_lenient(false), m_image(nullptr), m_imageSize(0)
{
}

ConversionInput::~ConversionInput()
{
}

bool ConversionInput::Read(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < kPrefixSize)
        return false;
    m_partCount = data[0] % kPartRange;
    m_resolution = (data[1] & 0x7F) % kResolutionRange;
    m_lenient = (data[1] & 0x80) != 0;
    m_splitStepCount = Word(data + 2) % kSplitRange;
    m_firstLineNumber = Word(data + 4) % kFirstLineRange;
    m_playKind = data[6] % kKindRange;
    m_voiceCount = (1 + data[6] / kKindRange) % kVoiceRange;
    m_pattern = data[7];
    m_image = data + kPrefixSize;
    m_imageSize = size - kPrefixSize;
    return true;
}

void ConversionInput::FillSettings(ConvertSettings& settings) const
{
    settings.SetPartCount(m_partCount);
    settings.SetMinimumResolution(m_resolution);
    settings.SetSplitStepCount(m_splitStepCount);
    settings.SetFirstLineNumber(m_firstLineNumber);
    settings.SetPlayKind(m_playKind);
    settings.SetVoiceCount(m_voiceCount);
}

std::vector<int> ConversionInput::MakeAssignment(int listCount) const
{
    std::vector<int> ordinals(static_cast<size_t>(m_partCount), -1);
    const int range = (m_pattern & kOutOfRangeBit) != 0 ? listCount + 1 : listCount;
    if (range <= 0)
        return ordinals;
    for (int r = 0; r < m_partCount; ++r) {
        if ((m_pattern & (1 << (r % kPatternParts))) != 0)
            ordinals[static_cast<size_t>(r)] = (r + m_pattern) % range;
    }
    return ordinals;
}

std::vector<uint8_t> ConversionInput::MakePrefix(int partCount, int resolution,
                                                 int splitStepCount, int firstLineNumber,
                                                 int playKind, int pattern, bool lenient) const
{
    const int split = splitStepCount % kSplitRange;
    const int line = firstLineNumber % kFirstLineRange;
    return {static_cast<uint8_t>(partCount % kPartRange),
            static_cast<uint8_t>(resolution % kResolutionRange | (lenient ? 0x80 : 0)),
            static_cast<uint8_t>(split >> 8), static_cast<uint8_t>(split & 0xFF),
            static_cast<uint8_t>(line >> 8), static_cast<uint8_t>(line & 0xFF),
            static_cast<uint8_t>(playKind % kKindRange), static_cast<uint8_t>(pattern)};
}

bool ConversionInput::IsLenient() const
{
    return m_lenient;
}

const uint8_t* ConversionInput::GetImage() const
{
    return m_image;
}

size_t ConversionInput::GetImageSize() const
{
    return m_imageSize;
}

int ConversionInput::GetPartCount() const
{
    return m_partCount;
}
