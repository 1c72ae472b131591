#include "preview/WavWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A plain reader of what a WAV file says about itself, written from the
// RIFF layout and nothing else: chunks found by walking, not by offsets.
struct WavFacts {
    std::string error;
    unsigned riffSize = 0;
    unsigned format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::vector<int16_t> samples;
};

unsigned Read(const std::string& image, size_t at, int bytes)
{
    unsigned value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(image[at + static_cast<size_t>(i)]);
    return value;
}

WavFacts Parse(const std::string& image)
{
    WavFacts facts;
    if (image.size() < 12 || image.compare(0, 4, "RIFF") != 0 || image.compare(8, 4, "WAVE") != 0) {
        facts.error = "no RIFF WAVE";
        return facts;
    }
    facts.riffSize = Read(image, 4, 4);
    if (facts.riffSize + 8ULL != image.size()) {
        facts.error = "RIFF size does not match the file";
        return facts;
    }
    bool haveFormat = false, haveData = false;
    for (size_t at = 12; at + 8 <= image.size();) {
        const std::string id = image.substr(at, 4);
        const size_t size = Read(image, at + 4, 4);
        if (at + 8 + size > image.size()) {
            facts.error = id + " runs past the file";
            return facts;
        }
        if (id == "fmt ") {
            facts.format = Read(image, at + 8, 2);
            facts.channels = Read(image, at + 10, 2);
            facts.rate = Read(image, at + 12, 4);
            facts.byteRate = Read(image, at + 16, 4);
            facts.blockAlign = Read(image, at + 20, 2);
            facts.bits = Read(image, at + 22, 2);
            haveFormat = true;
        } else if (id == "data") {
            for (size_t i = 0; i + 1 < size; i += 2)
                facts.samples.push_back(static_cast<int16_t>(Read(image, at + 8 + i, 2)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        facts.error = "a chunk is missing";
    return facts;
}

TEST(WavWriterTest, ImageReadsBackAsPcmMonoWithItsSamples)
{
    const std::vector<int16_t> samples = { 0, 1, -1, 32767, -32768, 0x1234, -300 };
    for (size_t count : { size_t(0), size_t(1), samples.size() }) {
        std::string image = "left over";
        ASSERT_EQ(WavWriter::kWavOk, WavWriter().Write(samples.data(), count, image));
        EXPECT_EQ(44 + 2 * count, image.size());
        WavFacts facts = Parse(image);
        EXPECT_EQ("", facts.error);
        EXPECT_EQ(1u, facts.format);
        EXPECT_EQ(1u, facts.channels);
        EXPECT_EQ(44100u, facts.rate);
        EXPECT_EQ(88200u, facts.byteRate);
        EXPECT_EQ(2u, facts.blockAlign);
        EXPECT_EQ(16u, facts.bits);
        EXPECT_EQ(std::vector<int16_t>(samples.begin(), samples.begin() + static_cast<long>(count)),
                  facts.samples);
    }
}

TEST(WavWriterTest, HeaderBytesAreLittleEndian)
{
    const int16_t samples[] = { -2 };
    std::string image;
    WavWriter writer;
    EXPECT_EQ(44100, writer.SetSampleRate(22050));
    ASSERT_EQ(WavWriter::kWavOk, writer.Write(samples, 1, image));
    EXPECT_EQ(std::string("RIFF\x26\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0"
                          "data\x02\0\0\0\xFE\xFF",
                          46),
              image);
}

TEST(WavWriterTest, FilesPastFourGibibytesAreRefusedUntouched)
{
    WavWriter writer;
    const unsigned long long largest = (0xFFFFFFFFULL - 36) / 2;
    EXPECT_EQ(0xFFFFFFFFULL + 7, writer.GetFileSize(largest));  // RIFF size 0xFFFFFFFF - 1
    EXPECT_EQ(0u, writer.GetFileSize(largest + 1));
    EXPECT_EQ(0u, writer.GetFileSize(~0ULL));
    // Refused before the samples are read: one sample stands in for billions.
    const int16_t one[] = { 5 };
    std::string image = "left over";
    EXPECT_EQ(WavWriter::kWavTooLarge, writer.Write(one, static_cast<size_t>(largest + 1), image));
    EXPECT_EQ("", image);
}

}  // namespace
