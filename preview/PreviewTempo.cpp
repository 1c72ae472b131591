#include "preview/PreviewTempo.h"

#include <cstdio>

namespace {

unsigned long long Gcd(unsigned long long a, unsigned long long b)
{
    while (b != 0) {
        unsigned long long r = a % b;
        a = b;
        b = r;
    }
    return a;
}

}  // namespace

PreviewTempo::PreviewTempo() : m_beats(60000000), m_minutes(kDefaultMicroseconds)
{
}

PreviewTempo::~PreviewTempo()
{
}

bool PreviewTempo::SetMicrosecondsPerQuarter(long microseconds)
{
    if (microseconds < 1 || microseconds > kLargestMicroseconds)
        return false;
    m_beats = 60000000;
    m_minutes = static_cast<unsigned long long>(microseconds);
    return true;
}

bool PreviewTempo::SetBeatsPerMinuteText(const std::string& text)
{
    unsigned long long thousandths = 0;
    size_t i = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        if (digits < 8)
            thousandths = thousandths * 10 + static_cast<unsigned long long>(text[i] - '0');
    }
    if (digits == 0 || digits > 7)
        return false;
    int decimals = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            if (++decimals > 3)
                return false;
            thousandths = thousandths * 10 + static_cast<unsigned long long>(text[i] - '0');
        }
        if (decimals == 0)
            return false;
    }
    if (i != text.size())
        return false;
    for (; decimals < 3; ++decimals)
        thousandths *= 10;
    if (thousandths < kLowestBeatsPerMinute * 1000ULL || thousandths > kHighestBeatsPerMinute * 1000ULL)
        return false;
    m_beats = thousandths;
    m_minutes = 1000;
    return true;
}

long long PreviewTempo::GetSamplePosition(long long tick, int timeBase, int sampleRate,
                                          long long largest) const
{
    if (tick < 0 || timeBase < 1 || sampleRate < 1 || largest < 0)
        return kTooLate;
    // samples = tick * 60 * sampleRate * m_minutes / (timeBase * m_beats),
    // reduced so that the remainder's product stays inside 64 bits for every
    // tempo the setters accept.
    unsigned long long p = 60ULL * static_cast<unsigned long long>(sampleRate) * m_minutes;
    unsigned long long q = static_cast<unsigned long long>(timeBase) * m_beats;
    const unsigned long long g = Gcd(p, q);
    p /= g;
    q /= g;
    const unsigned long long t = static_cast<unsigned long long>(tick);
    const unsigned long long whole = t / q;
    const unsigned long long rest = t % q;
    if (whole > static_cast<unsigned long long>(largest) / p)
        return kTooLate;
    unsigned long long position = whole * p;
    if (rest != 0 && p > (~0ULL - q) / rest) {
        // Beyond every tempo the setters accept: near enough in long double.
        position += static_cast<unsigned long long>(static_cast<long double>(rest) * p / q + 0.5L);
    } else {
        position += (rest * p + q / 2) / q;
    }
    if (position > static_cast<unsigned long long>(largest))
        return kTooLate;
    return static_cast<long long>(position);
}

std::string PreviewTempo::GetBeatsPerMinuteText() const
{
    // Rounded to ten-thousandths, then trailing zeros dropped.
    const unsigned long long scaled = (m_beats * 10000 + m_minutes / 2) / m_minutes;
    char text[48];
    std::snprintf(text, sizeof text, "%llu.%04llu", scaled / 10000, scaled % 10000);
    std::string result(text);
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result;
}
