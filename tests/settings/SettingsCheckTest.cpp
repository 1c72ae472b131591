#include "settings/SettingsCheck.h"

#include "settings/ConvertSettings.h"
#include "text/Texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

struct FieldsCase {
    const char* split;
    const char* parts;
    const char* line;
    int fault;
    int value; // the value read for the failing setting
};

class SettingsCheckFieldsTest : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(SettingsCheckFieldsTest, ReportsFirstFailingSetting)
{
    const FieldsCase& c = GetParam();
    SettingsCheck check;
    ConvertSettings settings;
    EXPECT_EQ(c.fault, check.CheckFields(c.split, c.parts, c.line, settings));
    EXPECT_EQ(c.fault, check.GetFault());
    EXPECT_EQ(c.value, check.GetValue());
    if (c.fault != SettingsCheck::kSettingsValid) {
        // A failed check changes nothing.
        EXPECT_EQ(ConvertSettings::kDefaultSplitStepCount, settings.GetSplitStepCount());
        EXPECT_EQ(ConvertSettings::kDefaultPartCount, settings.GetPartCount());
        EXPECT_EQ(ConvertSettings::kDefaultFirstLineNumber, settings.GetFirstLineNumber());
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, SettingsCheckFieldsTest, ::testing::Values(
    FieldsCase{ "1,920", "6", "1,000", SettingsCheck::kSettingsValid, 0 },
    FieldsCase{ "1", "1", "1", SettingsCheck::kSettingsValid, 0 },
    FieldsCase{ "384", "18", "32,000", SettingsCheck::kSettingsValid, 0 },
    FieldsCase{ "2,000", "6", "1,000", SettingsCheck::kBadSplitStepCount, 2000 },
    FieldsCase{ "1921", "6", "1000", SettingsCheck::kBadSplitStepCount, 1921 },
    FieldsCase{ "", "6", "1000", SettingsCheck::kBadSplitStepCount, 0 },
    FieldsCase{ "0", "0", "0", SettingsCheck::kBadSplitStepCount, 0 },
    FieldsCase{ "99999999999", "6", "1000", SettingsCheck::kBadSplitStepCount, INT_MAX },
    FieldsCase{ "1920", "0", "0", SettingsCheck::kBadPartCount, 0 },
    FieldsCase{ "1920", "19", "1000", SettingsCheck::kBadPartCount, 19 },
    FieldsCase{ "1920", "", "1000", SettingsCheck::kBadPartCount, 0 },
    FieldsCase{ "1920", "6", "0", SettingsCheck::kBadFirstLineNumber, 0 },
    FieldsCase{ "1920", "6", "32,001", SettingsCheck::kBadFirstLineNumber, 32001 },
    FieldsCase{ "1920", "6", "1.5", SettingsCheck::kSettingsValid, 0 }));

TEST(SettingsCheckTest, ValidFieldsAreStoredAsRead)
{
    SettingsCheck check;
    ConvertSettings settings;
    ASSERT_EQ(SettingsCheck::kSettingsValid, check.CheckFields("1,920", "-5", "1.5", settings));
    EXPECT_EQ(1920, settings.GetSplitStepCount());
    EXPECT_EQ(5, settings.GetPartCount());
    EXPECT_EQ(15, settings.GetFirstLineNumber());
    EXPECT_EQ(0, check.GetMessageId());
    EXPECT_EQ("", check.GetMessageText());
    EXPECT_EQ("", check.GetEnglishText());
}

TEST(SettingsCheckTest, SplitStepMessageShowsLabelValueAndMessage)
{
    SettingsCheck check;
    ConvertSettings settings;
    ASSERT_EQ(SettingsCheck::kBadSplitStepCount, check.CheckFields("2,000", "6", "1000", settings));
    EXPECT_EQ(1235, check.GetMessageId());
    // "分割ステップ数 = 2000", a blank line, message 1235, in code page 932.
    const std::string label = "\x95\xAA\x8A\x84\x83X\x83" "e\x83" "b\x83v\x90\x94 = 2000\n\n";
    EXPECT_EQ(label + GetString(1235), check.GetMessageText());
}

TEST(SettingsCheckTest, OnlyTheSplitStepMessageWhenPartsAreBadToo)
{
    SettingsCheck check;
    ConvertSettings settings;
    ASSERT_EQ(SettingsCheck::kBadSplitStepCount, check.CheckFields("0", "0", "1000", settings));
    EXPECT_EQ(1235, check.GetMessageId());
    EXPECT_EQ(0u, check.GetMessageText().find("\x95\xAA\x8A\x84")); // "分割"
}

struct MessageCase {
    int split;
    int parts;
    int line;
    int messageId;
    const char* label; // code page 932
    const char* english;
};

class SettingsCheckMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(SettingsCheckMessageTest, WindowAndCommandLineTexts)
{
    const MessageCase& c = GetParam();
    SettingsCheck check;
    EXPECT_NE(SettingsCheck::kSettingsValid, check.CheckValues(c.split, c.parts, c.line));
    EXPECT_EQ(c.messageId, check.GetMessageId());
    EXPECT_EQ(std::string(c.label) + GetString(c.messageId), check.GetMessageText());
    EXPECT_EQ(c.english, check.GetEnglishText());
    // A fault and value kept elsewhere give the same line.
    EXPECT_EQ(c.english, SettingsCheck().GetEnglishTextFor(check.GetFault(), check.GetValue()));
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsCheckMessageTest, ::testing::Values(
    MessageCase{ 0, 6, 1000, 1235,
        "\x95\xAA\x8A\x84\x83X\x83" "e\x83" "b\x83v\x90\x94 = 0\n\n",
        "split step count 0 is invalid: set a step count from 1 to 1,920" },
    MessageCase{ 1920, 0, 1000, 1234,
        "\x8Eg\x97p\x83p\x81[\x83g\x90\x94 = 0\n\n",
        "part count 0 is invalid: set 1 to 18 parts" },
    MessageCase{ 1920, 18, 32001, 1236,
        "\x8A" "J\x8En\x8Ds\x94\xD4\x8D\x86 = 32001\n\n",
        "first line number 32001 is invalid: set a line number from 1 to 32,000" }));

TEST(SettingsCheckTest, ComposesTheMessageFromTextsOfAnotherTable)
{
    // The window loads label and message in its interface's language.
    SettingsCheck check;
    check.CheckValues(1920, 19, 1000);
    EXPECT_EQ(kStrPartCountLabel, check.GetLabelId());
    EXPECT_EQ("Number of parts = 19\n\nSet 1 to 18 parts.",
              check.ComposeMessageText("Number of parts", "Set 1 to 18 parts."));
    EXPECT_EQ(check.GetMessageText(),
              check.ComposeMessageText(GetString(check.GetLabelId()), GetString(check.GetMessageId())));
    EXPECT_EQ("", check.ComposeMessageText(nullptr, "Set 1 to 18 parts."));
    check.CheckValues(1, 1, 1);
    EXPECT_EQ(0, check.GetLabelId());
    EXPECT_EQ("", check.ComposeMessageText("Number of parts", "Set 1 to 18 parts."));
}

TEST(SettingsCheckTest, ALaterCheckClearsAnEarlierFault)
{
    SettingsCheck check;
    check.CheckValues(0, 0, 0);
    EXPECT_EQ(SettingsCheck::kSettingsValid, check.CheckValues(1, 1, 1));
    EXPECT_EQ(0, check.GetValue());
    EXPECT_EQ("", check.GetMessageText());
}

// The one check of a whole settings value: every option at and past its
// bounds, and only the first failing one in the order of the faults.
TEST(SettingsCheckTest, CheckRefusesEveryOptionOutOfRange)
{
    const struct {
        const char* what;
        std::function<void(ConvertSettings&)> change;
        int fault;
        int value;
    } cases[] = {
        { "defaults", [](ConvertSettings&) {}, SettingsCheck::kSettingsValid, 0 },
        { "voices 18", [](ConvertSettings& s) { s.SetVoiceCount(18); }, SettingsCheck::kSettingsValid, 0 },
        { "voices 0", [](ConvertSettings& s) { s.SetVoiceCount(0); }, SettingsCheck::kBadVoiceCount, 0 },
        { "voices 19", [](ConvertSettings& s) { s.SetVoiceCount(19); }, SettingsCheck::kBadVoiceCount, 19 },
        { "resolution 18", [](ConvertSettings& s) { s.SetMinimumResolution(18); },
          SettingsCheck::kBadMinimumResolution, 18 },
        { "kind 3", [](ConvertSettings& s) { s.SetPlayKind(3); }, SettingsCheck::kBadPlayKind, 3 },
        { "kind -1 and voices 0", [](ConvertSettings& s) { s.SetPlayKind(-1); s.SetVoiceCount(0); },
          SettingsCheck::kBadPlayKind, -1 },
        { "parts 19 and voices 19", [](ConvertSettings& s) { s.SetPartCount(19); s.SetVoiceCount(19); },
          SettingsCheck::kBadPartCount, 19 },
    };
    for (const auto& c : cases) {
        ConvertSettings settings;
        c.change(settings);
        SettingsCheck check;
        EXPECT_EQ(c.fault, check.Check(settings)) << c.what;
        EXPECT_EQ(c.value, check.GetValue()) << c.what;
        EXPECT_EQ(c.fault == SettingsCheck::kSettingsValid, check.GetEnglishText().empty()) << c.what;
    }
    EXPECT_EQ("voice count 19 is invalid: set 1 to 18 voices",
              SettingsCheck().GetEnglishTextFor(SettingsCheck::kBadVoiceCount, 19));
}

} // namespace
