#include "gen/SmfBuilder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

typedef std::vector<uint8_t> Bytes;

struct VarLenCase {
    uint32_t value;
    Bytes encoded;
};

class EncodeVarLenTest : public ::testing::TestWithParam<VarLenCase> {};

TEST_P(EncodeVarLenTest, EncodesSevenBitGroupsHighFirst)
{
    EXPECT_EQ(GetParam().encoded, SmfBuilder::EncodeVarLen(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(Boundaries, EncodeVarLenTest, ::testing::Values(
    VarLenCase{0x00000000, {0x00}},
    VarLenCase{0x0000007F, {0x7F}},
    VarLenCase{0x00000080, {0x81, 0x00}},
    VarLenCase{0x00002000, {0xC0, 0x00}},
    VarLenCase{0x00003FFF, {0xFF, 0x7F}},
    VarLenCase{0x00004000, {0x81, 0x80, 0x00}},
    VarLenCase{0x001FFFFF, {0xFF, 0xFF, 0x7F}},
    VarLenCase{0x00200000, {0x81, 0x80, 0x80, 0x00}},
    VarLenCase{0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    VarLenCase{0x10000000, {0x81, 0x80, 0x80, 0x80, 0x00}}));

TEST(SmfBuilderTest, BuildsHeaderAndExactChunkLengths)
{
    SmfBuilder b(1, 480);
    int t0 = b.AddTrack();
    int t1 = b.AddTrack();
    b.Tempo(t0, 0, 500000);
    b.EndOfTrack(t0);
    b.NoteOn(t1, 0x80, 2, 60, 100);
    b.EndOfTrack(t1);
    const Bytes expected = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0,
        'M', 'T', 'r', 'k', 0, 0, 0, 11,
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
        0x00, 0xFF, 0x2F, 0x00,
        'M', 'T', 'r', 'k', 0, 0, 0, 9,
        0x81, 0x00, 0x92, 60, 100,
        0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(expected, b.Build());
}

TEST(SmfBuilderTest, RunningStatusOmitsRepeatedStatusOnly)
{
    SmfBuilder b(0, 96);
    int t = b.AddTrack();
    b.SetRunningStatus(true);
    b.NoteOn(t, 0, 0, 60, 100);
    b.NoteOn(t, 0, 0, 64, 100);                     // same status: omitted
    b.Meta(t, 0, 0x01, {'x'});                      // meta keeps the status
    b.NoteOn(t, 0, 0, 67, 100);
    b.AddMessage(t, 0, {0xF0, 0x01, 0xF7});         // sysex cancels it
    b.NoteOn(t, 0, 0, 72, 100);
    b.NoteOff(t, 0, 0, 72);                         // different status: written
    const Bytes body = {
        0x00, 0x90, 60, 100,
        0x00, 64, 100,
        0x00, 0xFF, 0x01, 0x01, 'x',
        0x00, 67, 100,
        0x00, 0xF0, 0x01, 0xF7,
        0x00, 0x90, 72, 100,
        0x00, 0x80, 72, 64};
    Bytes image = b.Build();
    ASSERT_EQ(22u + body.size(), image.size());
    EXPECT_EQ(body, Bytes(image.begin() + 22, image.end()));
}

TEST(SmfBuilderTest, RawBytesAndOverridesAreWrittenAsGiven)
{
    SmfBuilder b(0xFFFF, 0xE728);
    int t = b.AddTrack();
    b.AddRaw(t, 0x7F, {0x3C, 0x40});
    b.SetHeaderTrackCount(5);
    b.AppendAfterTracks({'J', 'U', 'N', 'K'});
    const Bytes expected = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0xFF, 0xFF, 0, 5, 0xE7, 0x28,
        'M', 'T', 'r', 'k', 0, 0, 0, 3, 0x7F, 0x3C, 0x40,
        'J', 'U', 'N', 'K'};
    EXPECT_EQ(expected, b.Build());
}

TEST(SmfBuilderTest, UnknownTrackIndexThrows)
{
    SmfBuilder b(0, 96);
    EXPECT_THROW(b.NoteOn(0, 0, 0, 60, 1), std::out_of_range);
    b.AddTrack();
    EXPECT_THROW(b.EndOfTrack(1), std::out_of_range);
    EXPECT_THROW(b.EndOfTrack(-1), std::out_of_range);
}

}  // namespace
