#include "preview/PreviewTempo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const long long kFar = 1LL << 40;

TEST(PreviewTempoTest, TypedTempoAcceptsDigitsWithUpToThreeDecimals)
{
    struct Case {
        const char* text;
        bool accepted;
        const char* shown;
    } cases[] = {
        { "120", true, "120" },        { "97.5", true, "97.5" },   { "1", true, "1" },
        { "1000", true, "1000" },      { "60.125", true, "60.125" }, { "0.999", false, "" },
        { "1000.001", false, "" },     { "60.1234", false, "" },   { "60.", false, "" },
        { ".5", false, "" },           { "", false, "" },          { "-90", false, "" },
        { "90 ", false, "" },          { "1e2", false, "" },       { "00000100", false, "" },
        { "0000100", true, "100" },
    };
    for (const Case& c : cases) {
        PreviewTempo tempo;
        ASSERT_TRUE(tempo.SetMicrosecondsPerQuarter(400000));
        EXPECT_EQ(c.accepted, tempo.SetBeatsPerMinuteText(c.text)) << c.text;
        EXPECT_EQ(c.accepted ? c.shown : "150", tempo.GetBeatsPerMinuteText()) << c.text;
    }
}

TEST(PreviewTempoTest, FileTempoKeepsItsRangeAndShowsFourDecimals)
{
    PreviewTempo tempo;
    EXPECT_EQ("120", tempo.GetBeatsPerMinuteText());
    EXPECT_FALSE(tempo.SetMicrosecondsPerQuarter(0));
    EXPECT_FALSE(tempo.SetMicrosecondsPerQuarter(0x1000000));
    EXPECT_TRUE(tempo.SetMicrosecondsPerQuarter(461538));
    EXPECT_EQ("130.0001", tempo.GetBeatsPerMinuteText());
    EXPECT_TRUE(tempo.SetMicrosecondsPerQuarter(0xFFFFFF));
    EXPECT_EQ("3.5763", tempo.GetBeatsPerMinuteText());
}

// The exact position, rounded half up, in plain integer arithmetic:
// tick * 60 * rate * microseconds / (timeBase * 60,000,000).
long long Exact(long long tick, long long timeBase, long long microseconds)
{
    return (tick * 44100 * microseconds * 2 + timeBase * 1000000) / (timeBase * 1000000 * 2);
}

TEST(PreviewTempoTest, PositionIsTheExactTimeRoundedForEveryTick)
{
    const long tempos[] = { 500000, 461538, 1, 0xFFFFFF, 618557 };
    const int timeBases[] = { 48, 96, 240, 480 };
    for (long microseconds : tempos) {
        PreviewTempo tempo;
        ASSERT_TRUE(tempo.SetMicrosecondsPerQuarter(microseconds));
        for (int timeBase : timeBases) {
            for (long long tick : { 0LL, 1LL, 7LL, 97LL, 12345LL, 288000LL, 2000003LL }) {
                EXPECT_EQ(Exact(tick, timeBase, microseconds),
                          tempo.GetSamplePosition(tick, timeBase, 44100, kFar))
                    << microseconds << " " << timeBase << " " << tick;
            }
        }
    }
}

TEST(PreviewTempoTest, TypedTempoTimesTenMinutesToTheSample)
{
    // 970 quarter notes at 97 BPM are ten minutes: 26,460,000 samples.
    PreviewTempo tempo;
    ASSERT_TRUE(tempo.SetBeatsPerMinuteText("97"));
    EXPECT_EQ(26460000, tempo.GetSamplePosition(970LL * 480, 480, 44100, kFar));
    // Half a sample rounds up: at 100 BPM and time base 48 a tick is 551.25 samples.
    ASSERT_TRUE(tempo.SetBeatsPerMinuteText("100"));
    EXPECT_EQ(551, tempo.GetSamplePosition(1, 48, 44100, kFar));
    EXPECT_EQ(1103, tempo.GetSamplePosition(2, 48, 44100, kFar));
    ASSERT_TRUE(tempo.SetBeatsPerMinuteText("97.5"));
    EXPECT_EQ(26460000, tempo.GetSamplePosition(975LL * 96, 96, 44100, kFar));
}

TEST(PreviewTempoTest, PositionPastTheLargestIsTooLate)
{
    PreviewTempo tempo;  // 120 BPM, time base 480: 45.9375 samples a tick
    EXPECT_EQ(919, tempo.GetSamplePosition(20, 480, 44100, 919));
    EXPECT_EQ(PreviewTempo::kTooLate, tempo.GetSamplePosition(20, 480, 44100, 918));
    EXPECT_EQ(PreviewTempo::kTooLate, tempo.GetSamplePosition(1LL << 62, 480, 44100, kFar));
    EXPECT_EQ(PreviewTempo::kTooLate, tempo.GetSamplePosition(-1, 480, 44100, kFar));
    EXPECT_EQ(PreviewTempo::kTooLate, tempo.GetSamplePosition(1, 0, 44100, kFar));
}

}  // namespace
