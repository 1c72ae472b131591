#include "preview/WavWriter.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace {

const unsigned long long kLargestRiffSize = 0xFFFFFFFFULL;

char* PutText(char* at, const char* text)
{
    for (int i = 0; i < 4; ++i)
        *at++ = text[i];
    return at;
}

char* PutLittleEndian(char* at, unsigned long long value, int bytes)
{
    for (int i = 0; i < bytes; ++i, value >>= 8)
        *at++ = static_cast<char>(value & 0xFF);
    return at;
}

}  // namespace

WavWriter::WavWriter() : m_sampleRate(44100)
{
}

WavWriter::~WavWriter()
{
}

int WavWriter::SetSampleRate(int rate)
{
    int previous = m_sampleRate;
    if (rate >= 1 && rate <= 1000000)
        m_sampleRate = rate;
    return previous;
}

int WavWriter::GetSampleRate() const
{
    return m_sampleRate;
}

unsigned long long WavWriter::GetFileSize(unsigned long long count) const
{
    // Checked on the count first, so that doubling it cannot wrap.
    if (count > (kLargestRiffSize - (kHeaderSize - 8)) / 2)
        return 0;
    return kHeaderSize + 2 * count;
}

int WavWriter::Write(const int16_t* samples, size_t count, std::string& image) const
{
    image.clear();
    const unsigned long long fileSize = GetFileSize(count);
    if (fileSize == 0 || fileSize > static_cast<unsigned long long>(static_cast<size_t>(-1)))
        return kWavTooLarge;
    try {
        image.resize(static_cast<size_t>(fileSize));
    } catch (const std::bad_alloc&) {
        return kWavNoMemory;
    } catch (const std::length_error&) {
        return kWavNoMemory;
    }
    const unsigned long long dataSize = 2ULL * count;
    char* at = &image[0];
    at = PutText(at, "RIFF");
    at = PutLittleEndian(at, fileSize - 8, 4);
    at = PutText(at, "WAVE");
    at = PutText(at, "fmt ");
    at = PutLittleEndian(at, 16, 4);                              // the PCM format chunk's size
    at = PutLittleEndian(at, 1, 2);                               // PCM
    at = PutLittleEndian(at, 1, 2);                               // one channel
    at = PutLittleEndian(at, static_cast<unsigned long long>(m_sampleRate), 4);
    at = PutLittleEndian(at, 2ULL * static_cast<unsigned long long>(m_sampleRate), 4); // bytes a second
    at = PutLittleEndian(at, 2, 2);                               // bytes a frame
    at = PutLittleEndian(at, 16, 2);                              // bits a sample
    at = PutText(at, "data");
    at = PutLittleEndian(at, dataSize, 4);
    const uint16_t probe = 1;
    if (count > 0 && *reinterpret_cast<const unsigned char*>(&probe) == 1) {
        std::memcpy(at, samples, static_cast<size_t>(dataSize));   // already little-endian
    } else {
        for (size_t i = 0; i < count; ++i)
            at = PutLittleEndian(at, static_cast<uint16_t>(samples[i]), 2);
    }
    return kWavOk;
}
