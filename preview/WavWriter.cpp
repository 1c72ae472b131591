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
    WriteHeader(count, &image[0]);
    PutSamples(samples, count, &image[kHeaderSize]);
    return kWavOk;
}

int WavWriter::WriteHeader(unsigned long long count, char* header) const
{
    const unsigned long long fileSize = GetFileSize(count);
    if (fileSize == 0)
        return kWavTooLarge;
    char* at = header;
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
    PutLittleEndian(at, 2ULL * count, 4);
    return kWavOk;
}

void WavWriter::PutSamples(const int16_t* samples, size_t count, char* bytes) const
{
    const uint16_t probe = 1;
    if (count > 0 && *reinterpret_cast<const unsigned char*>(&probe) == 1) {
        std::memcpy(bytes, samples, 2 * count);                    // already little-endian
        return;
    }
    for (size_t i = 0; i < count; ++i)
        bytes = PutLittleEndian(bytes, static_cast<uint16_t>(samples[i]), 2);
}
