#include "midi/MidiEvent.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

struct LengthCase {
    Bytes bytes;
    unsigned long length;
};

class MessageLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(MessageLengthTest, LengthFollowsStatus)
{
    const Bytes& b = GetParam().bytes;
    MidiEvent e;
    EXPECT_EQ(GetParam().length, e.GetMessageLength(b.data(), b.data() + b.size()));
}

INSTANTIATE_TEST_SUITE_P(Statuses, MessageLengthTest, ::testing::Values(
    LengthCase{{0x80}, 3}, LengthCase{{0x9F}, 3}, LengthCase{{0xA0}, 3},
    LengthCase{{0xBF}, 3}, LengthCase{{0xC0}, 2}, LengthCase{{0xDF}, 2},
    LengthCase{{0xE0}, 3}, LengthCase{{0xEF}, 3},
    LengthCase{{0xF1}, 2}, LengthCase{{0xF6}, 2}, LengthCase{{0xF8}, 2}, LengthCase{{0xFE}, 2},
    LengthCase{{0xF0, 0x03}, 5}, LengthCase{{0xF7, 0x00}, 2},
    LengthCase{{0xF0, 0x81, 0x00}, 1 + 2 + 128},
    LengthCase{{0xFF, 0x2F, 0x00}, 3}, LengthCase{{0xFF, 0x51, 0x03}, 6},
    LengthCase{{0xFF, 0x01, 0x83, 0x60}, 2 + 2 + 480},
    // The length field itself is cut off: no length can be given.
    LengthCase{{0xFF}, 0}, LengthCase{{0xFF, 0x01}, 0}, LengthCase{{0xFF, 0x01, 0x81}, 0},
    LengthCase{{0xF0}, 0}, LengthCase{{0xF7, 0x80}, 0},
    // A payload length near 2^32 does not wrap to a small length.
    LengthCase{{0xF0, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, 0},
    LengthCase{{}, 0}));

struct ParseCase {
    const char* name;
    Bytes bytes;
    unsigned char runningBefore;
    unsigned long taken;
    int32_t delta;
    Bytes record;
    unsigned char runningAfter;
};

class EventParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(EventParseTest, DecodesOneEvent)
{
    const ParseCase& c = GetParam();
    MidiEvent e;
    unsigned char running = c.runningBefore;
    ASSERT_EQ(c.taken, e.Parse(c.bytes.data(), c.bytes.data() + c.bytes.size(), running));
    EXPECT_EQ(c.delta, e.GetDelta());
    ASSERT_EQ(static_cast<int>(c.record.size()), e.GetLength());
    EXPECT_EQ(c.record, Bytes(e.GetData(), e.GetData() + e.GetLength()));
    EXPECT_EQ(c.runningAfter, running);
}

INSTANTIATE_TEST_SUITE_P(Messages, EventParseTest, ::testing::Values(
    ParseCase{"NoteOn", {0x00, 0x90, 0x3C, 0x64}, 0x00, 4, 0, {0x90, 0x3C, 0x64}, 0x90},
    ParseCase{"NoteOnVelocityZeroStays", {0x60, 0x91, 0x3C, 0x00}, 0x00, 4, 96, {0x91, 0x3C, 0x00}, 0x91},
    ParseCase{"LongDelta", {0x83, 0x60, 0x80, 0x3C, 0x40}, 0x00, 5, 480, {0x80, 0x3C, 0x40}, 0x80},
    ParseCase{"RunningNoteOn", {0x00, 0x3E, 0x64}, 0x90, 3, 0, {0x90, 0x3E, 0x64}, 0x90},
    ParseCase{"ProgramChange", {0x00, 0xC0, 0x05}, 0x00, 3, 0, {0xC0, 0x05}, 0xC0},
    ParseCase{"RunningProgramChange", {0x00, 0x07}, 0xC0, 2, 0, {0xC0, 0x07}, 0xC0},
    ParseCase{"RunningChannelPressure", {0x00, 0x40}, 0xD3, 2, 0, {0xD3, 0x40}, 0xD3},
    ParseCase{"RunningPitchBend", {0x00, 0x00, 0x40}, 0xE1, 3, 0, {0xE1, 0x00, 0x40}, 0xE1},
    ParseCase{"Tempo", {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, 0x90, 7, 0,
              {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, 0xFF},
    ParseCase{"EndOfTrack", {0x00, 0xFF, 0x2F, 0x00}, 0x00, 4, 0, {0xFF, 0x2F, 0x00}, 0xFF},
    ParseCase{"SysEx", {0x10, 0xF0, 0x03, 0x43, 0x12, 0xF7}, 0x00, 6, 16,
              {0xF0, 0x03, 0x43, 0x12, 0xF7}, 0xF0},
    ParseCase{"Escape", {0x00, 0xF7, 0x01, 0xF8}, 0x00, 4, 0, {0xF7, 0x01, 0xF8}, 0xF7},
    ParseCase{"SystemCommon", {0x00, 0xF3, 0x01}, 0x00, 3, 0, {0xF3, 0x01}, 0xF3},
    // No channel status to run on: a three-byte message with that status in front.
    ParseCase{"RunningWithoutStatus", {0x00, 0x3C, 0x40}, 0x00, 3, 0, {0x00, 0x3C, 0x40}, 0x00},
    ParseCase{"RunningAfterMeta", {0x00, 0x3C, 0x40}, 0xFF, 3, 0, {0xFF, 0x3C, 0x40}, 0xFF},
    ParseCase{"RunningAfterSysEx", {0x00, 0x3C, 0x40}, 0xF0, 3, 0, {0xF0, 0x3C, 0x40}, 0xF0}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

// Every shorter piece of a complete event is refused without touching the
// event or the running status.
class EventCutOffTest : public ::testing::TestWithParam<Bytes> {};

TEST_P(EventCutOffTest, EventRunningPastLimitIsRefused)
{
    const Bytes& b = GetParam();
    MidiEvent e;
    unsigned char running = 0x90;
    const unsigned char previous[] = {0x00, 0xB0, 0x07, 0x64};
    ASSERT_EQ(4u, e.Parse(previous, previous + 4, running));
    for (size_t size = 0; size < b.size(); ++size) {
        EXPECT_EQ(0u, e.Parse(b.data(), b.data() + size, running)) << size;
        EXPECT_EQ(0xB0, running);
        ASSERT_EQ(3, e.GetLength());
        EXPECT_EQ(0x07, e.GetData()[1]);
    }
    EXPECT_EQ(b.size(), e.Parse(b.data(), b.data() + b.size(), running));
}

INSTANTIATE_TEST_SUITE_P(Messages, EventCutOffTest, ::testing::Values(
    Bytes{0x83, 0x60, 0x90, 0x3C, 0x64},
    Bytes{0x00, 0x3C, 0x64},
    Bytes{0x00, 0xC0, 0x05},
    Bytes{0x00, 0xFF, 0x03, 0x04, 'B', 'a', 's', 's'},
    Bytes{0x00, 0xF0, 0x80, 0x02, 0x7F, 0xF7},
    Bytes{0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7}));

TEST(MidiEventTest, SysExLongerThanLimitIsRefused)
{
    // The declared payload of 128 bytes is not there.
    const unsigned char b[] = {0x00, 0xF0, 0x81, 0x00, 0x01, 0x02};
    MidiEvent e;
    unsigned char running = 0x00;
    EXPECT_EQ(0u, e.Parse(b, b + sizeof b, running));
    EXPECT_EQ(nullptr, e.GetData());
    EXPECT_EQ(0, e.GetLength());
}

TEST(MidiEventTest, AccessorsAndSetters)
{
    MidiEvent e;
    EXPECT_EQ(nullptr, e.GetData());
    EXPECT_EQ(0, e.GetLength());
    EXPECT_EQ(1, e.SetDelta(127));
    EXPECT_EQ(2, e.SetDelta(128));
    EXPECT_EQ(4, e.SetDelta(0x0FFFFFFF));
    EXPECT_EQ(0x0FFFFFFF, e.GetDelta());
    EXPECT_EQ(0, e.SetTime(96));
    EXPECT_EQ(96, e.SetTime(144));
    EXPECT_EQ(144, e.GetTime());
}

TEST(MidiEventTest, ParsingAgainReplacesRecord)
{
    const unsigned char first[] = {0x00, 0xFF, 0x01, 0x02, 'h', 'i'};
    const unsigned char second[] = {0x05, 0xC1, 0x10};
    MidiEvent e;
    unsigned char running = 0x00;
    ASSERT_EQ(6u, e.Parse(first, first + sizeof first, running));
    ASSERT_EQ(3u, e.Parse(second, second + sizeof second, running));
    EXPECT_EQ(5, e.GetDelta());
    EXPECT_EQ(1, e.GetDeltaByteCount());
    EXPECT_EQ((Bytes{0xC1, 0x10}), Bytes(e.GetData(), e.GetData() + e.GetLength()));
}

// Records up to kInlineRecordSize bytes are kept in the event, longer ones in
// a buffer of their own: each parse replaces the one before across that line.
TEST(MidiEventTest, ReparsingAcrossTheInlineSizeKeepsEveryRecordWhole)
{
    const Bytes texts[] = {
        Bytes{0x00, 0xFF, 0x01, 0x05, 'a', 'b', 'c', 'd', 'e'},         // 8 bytes: inside
        Bytes{0x00, 0xFF, 0x01, 0x06, 'a', 'b', 'c', 'd', 'e', 'f'},    // 9 bytes: outside
        Bytes{0x00, 0x90, 0x3C, 0x64},                                  // 3 bytes
        Bytes{0x00, 0xF0, 0x07, 1, 2, 3, 4, 5, 6, 0xF7},                // 9 bytes
        Bytes{0x00, 0xF0, 0x07, 1, 2, 3, 4, 5, 6, 0xF7},                // again
        Bytes{0x00, 0xFF, 0x01, 0x05, 'v', 'w', 'x', 'y', 'z'}};
    MidiEvent e;
    unsigned char running = 0x00;
    for (const Bytes& b : texts) {
        ASSERT_EQ(b.size(), e.Parse(b.data(), b.data() + b.size(), running));
        EXPECT_EQ(Bytes(b.begin() + 1, b.end()), Bytes(e.GetData(), e.GetData() + e.GetLength()));
    }
}

TEST(MidiEventTest, MovingHandsOverRecordDeltaAndTime)
{
    const Bytes shortRecord = {0x83, 0x60, 0x91, 0x3C, 0x64};
    const Bytes longRecord = {0x07, 0xFF, 0x03, 0x08, 'C', 'o', 'n', 'd', 'u', 'c', 't', 'o'};
    for (const Bytes& b : {shortRecord, longRecord}) {
        MidiEvent from;
        unsigned char running = 0x00;
        ASSERT_EQ(b.size(), from.Parse(b.data(), b.data() + b.size(), running));
        from.SetTime(1234);
        const Bytes record(from.GetData(), from.GetData() + from.GetLength());
        MidiEvent to(std::move(from));
        EXPECT_EQ(record, Bytes(to.GetData(), to.GetData() + to.GetLength()));
        EXPECT_EQ(b[0] == 0x07 ? 7 : 480, to.GetDelta());
        EXPECT_EQ(b[0] == 0x07 ? 1 : 2, to.GetDeltaByteCount());
        EXPECT_EQ(1234, to.GetTime());
        EXPECT_EQ(nullptr, from.GetData());
        EXPECT_EQ(0, from.GetLength());
    }
}

}  // namespace
