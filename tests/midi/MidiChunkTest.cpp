#include "midi/BigEndianDword.h"
#include "midi/BigEndianWord.h"
#include "midi/MidiChunk.h"
#include "midi/MidiHeaderChunk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes Of(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

TEST(BigEndianTest, FileOrderIsMostSignificantFirst)
{
    const unsigned char word[] = {0x01, 0xE0};
    BigEndianWord w;
    EXPECT_EQ(0, w.SetFromFile(BigEndianWord::ReadRaw(word)));
    EXPECT_EQ(480, w.Get());
    EXPECT_EQ(0xE001, w.GetForFile());
    EXPECT_EQ(480, w.Set(0x1234));
    EXPECT_EQ(0x3412, w.GetForFile());

    const unsigned char dword[] = {0x00, 0x07, 0xA1, 0x20};
    BigEndianDword d;
    EXPECT_EQ(0u, d.SetFromFile(BigEndianDword::ReadRaw(dword)));
    EXPECT_EQ(500000u, d.Get());
    EXPECT_EQ(0x20A10700u, d.GetForFile());
    EXPECT_EQ(500000u, d.Set(0xFFFFFFFFu));
    EXPECT_EQ(0xFFFFFFFFu, d.Get());
}

struct IdentifyCase {
    std::string bytes;
    int kind;
    uint32_t length;
};

class MidiChunkParseTest : public ::testing::TestWithParam<IdentifyCase> {};

TEST_P(MidiChunkParseTest, ParsesKindAndLength)
{
    Bytes b = Of(GetParam().bytes);
    MidiChunk c;
    EXPECT_EQ(GetParam().kind, c.Identify(b.data(), b.data() + b.size()));
    EXPECT_EQ(GetParam().kind, c.Parse(b.data(), b.data() + b.size()));
    EXPECT_EQ(GetParam().kind, c.GetKind());
    EXPECT_EQ(GetParam().length, c.GetLength());
    EXPECT_EQ(8, c.GetHeaderSize());
}

INSTANTIATE_TEST_SUITE_P(Ids, MidiChunkParseTest, ::testing::Values(
    IdentifyCase{std::string("MThd\0\0\0\x06", 8), CHUNK_HEADER, 6},
    IdentifyCase{std::string("MTrk\x01\x02\x03\x04", 8), CHUNK_TRACK, 0x01020304},
    IdentifyCase{std::string("MTrk\xFF\xFF\xFF\xFF", 8), CHUNK_TRACK, 0xFFFFFFFFu},
    IdentifyCase{std::string("mtrk\0\0\0\x06", 8), CHUNK_OTHER, 0},
    IdentifyCase{std::string("RIFF\0\0\0\x06", 8), CHUNK_OTHER, 0},
    IdentifyCase{std::string("XFIH\0\0\0\x06", 8), CHUNK_OTHER, 0}));

TEST(MidiChunkTest, ChunkHeaderCutOffByLimitIsOther)
{
    Bytes b = Of(std::string("MTrk\0\0\0\x05", 8));
    MidiChunk c;
    for (size_t size = 0; size < b.size(); ++size) {
        EXPECT_EQ(CHUNK_OTHER, c.Parse(b.data(), b.data() + size)) << size;
        EXPECT_EQ(0u, c.GetLength());
    }
    EXPECT_EQ(CHUNK_TRACK, c.Identify(b.data(), b.data() + 4));
    EXPECT_EQ(CHUNK_TRACK, c.Parse(b.data(), b.data() + b.size()));
}

TEST(MidiHeaderChunkTest, FieldsComeFromOffsetsEightToThirteen)
{
    Bytes b = Of(std::string("MThd\0\0\0\x0A\x00\x01\x00\x03\x80\x00\x11\x22\x33\x44", 18));
    MidiHeaderChunk h;
    EXPECT_EQ(0, h.GetFormat());
    EXPECT_EQ(CHUNK_HEADER, h.Parse(b.data(), b.data() + b.size()));
    EXPECT_EQ(10u, h.GetLength());
    EXPECT_EQ(1, h.GetFormat());
    EXPECT_EQ(3, h.GetTrackCount());
    EXPECT_EQ(0x8000, h.GetTimeBase());
}

TEST(MidiHeaderChunkTest, HeaderWithoutItsFieldsIsOther)
{
    Bytes b = Of(std::string("MThd\0\0\0\x06\x00\x01\x00\x03\x01", 13));
    MidiHeaderChunk h;
    EXPECT_EQ(CHUNK_OTHER, h.Parse(b.data(), b.data() + b.size()));
    EXPECT_EQ(0, h.GetTrackCount());
    Bytes track = Of(std::string("MTrk\0\0\0\x06", 8));
    EXPECT_EQ(CHUNK_TRACK, h.Parse(track.data(), track.data() + track.size()));
    EXPECT_EQ(6u, h.GetLength());
    EXPECT_EQ(0, h.GetTrackCount());
}

}  // namespace
