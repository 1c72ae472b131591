#ifndef MORVEK_PREVIEW_WAVWRITER_H
#define MORVEK_PREVIEW_WAVWRITER_H

#include <cstddef>
#include <cstdint>
#include <string>

// Makes the image of a WAV file: a RIFF "WAVE" chunk holding a PCM "fmt "
// chunk (16-bit samples, one channel) and a "data" chunk with the samples,
// every number little-endian. The RIFF sizes are 32-bit, so an image of more
// than 4 GiB cannot be made: such a request is refused before any memory is
// touched.
class WavWriter {
public:
    enum {
        kWavOk = 0,
        kWavTooLarge = 1,                            // the file would pass 4 GiB
        kWavNoMemory = 2
    };

    static constexpr size_t kHeaderSize = 44;
    // The most bytes a RIFF file's size field can count, the 8 bytes before it included.
    static constexpr unsigned long long kLargestFileSize = 0xFFFFFFFFULL + 8;

// Construction
    WavWriter();
    virtual ~WavWriter();

// Attributes
    // 1..1,000,000 samples a second; returns the rate it replaces (44,100 at first).
    virtual int SetSampleRate(int rate);
    virtual int GetSampleRate() const;
    // The size of the image of count samples, or 0 when it cannot be made.
    virtual unsigned long long GetFileSize(unsigned long long count) const;

// Operations
    // Replaces image with the WAV file of count samples; reads the samples
    // only when the file can be made. On failure image is empty.
    virtual int Write(const int16_t* samples, size_t count, std::string& image) const;
    // The first kHeaderSize bytes of the file of count samples, into header;
    // the samples follow them as PutSamples gives them.
    virtual int WriteHeader(unsigned long long count, char* header) const;
    // The bytes of count samples, 2 * count of them, into bytes.
    virtual void PutSamples(const int16_t* samples, size_t count, char* bytes) const;

private:
    int m_sampleRate;
};

#endif
