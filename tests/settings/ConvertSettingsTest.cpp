#include "settings/ConvertSettings.h"

#include <gtest/gtest.h>

namespace {

void ExpectDefaults(const ConvertSettings& settings)
{
    EXPECT_EQ(6, settings.GetPartCount());
    EXPECT_EQ(13, settings.GetMinimumResolution());
    EXPECT_EQ(1920, settings.GetSplitStepCount());
    EXPECT_EQ(1000, settings.GetFirstLineNumber());
    EXPECT_EQ(0, settings.GetPlayKind());
    EXPECT_EQ("", settings.GetOutputName());
}

TEST(ConvertSettingsTest, StartsFromDefaults)
{
    ExpectDefaults(ConvertSettings());
}

TEST(ConvertSettingsTest, SettersReturnTheReplacedValue)
{
    ConvertSettings settings;
    EXPECT_EQ(6, settings.SetPartCount(3));
    EXPECT_EQ(3, settings.SetPartCount(4));
    EXPECT_EQ(13, settings.SetMinimumResolution(10));
    EXPECT_EQ(1920, settings.SetSplitStepCount(96));
    EXPECT_EQ(1000, settings.SetFirstLineNumber(10));
    EXPECT_EQ(0, settings.SetPlayKind(2));
    EXPECT_EQ("", settings.SetOutputName("song.txt"));
    EXPECT_EQ("song.txt", settings.SetOutputName("other.txt"));
}

TEST(ConvertSettingsTest, ResetRestoresDefaultsAndClearsName)
{
    ConvertSettings settings;
    settings.SetPartCount(1);
    settings.SetMinimumResolution(0);
    settings.SetSplitStepCount(5);
    settings.SetFirstLineNumber(5);
    settings.SetPlayKind(1);
    settings.SetOutputName("a.txt");
    settings.Reset();
    ExpectDefaults(settings);
}

struct TimeBaseCase {
    int timeBase;
    int splitStepCount;    // four quarter notes
    int unitOfResolution13; // a 32nd note
    int unitOfResolution17; // a 192nd note
};

class ConvertSettingsTimeBaseTest : public ::testing::TestWithParam<TimeBaseCase> {};

TEST_P(ConvertSettingsTimeBaseTest, LoadSetsSplitAndResolutionScales)
{
    const TimeBaseCase& c = GetParam();
    ConvertSettings settings;
    EXPECT_EQ(1920, settings.SetSplitStepCountForTimeBase(c.timeBase));
    EXPECT_EQ(c.splitStepCount, settings.GetSplitStepCount());
    EXPECT_EQ(c.unitOfResolution13, settings.GetResolutionUnit(c.timeBase));
    settings.SetMinimumResolution(17);
    EXPECT_EQ(c.unitOfResolution17, settings.GetResolutionUnit(c.timeBase));
}

INSTANTIATE_TEST_SUITE_P(TimeBases, ConvertSettingsTimeBaseTest, ::testing::Values(
    TimeBaseCase{ 48, 192, 6, 1 },
    TimeBaseCase{ 96, 384, 12, 2 },
    TimeBaseCase{ 240, 960, 30, 5 },
    TimeBaseCase{ 480, 1920, 60, 10 }));

} // namespace
