#include "framework/UiLanguage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

struct CodePageCase {
    UINT codePage;
    LANGID language;
};

class UiLanguageChoice : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(UiLanguageChoice, JapaneseOnlyForCodePage932)
{
    UiLanguage language;
    EXPECT_EQ(GetParam().language, language.ChooseLanguage(GetParam().codePage));
}

INSTANTIATE_TEST_SUITE_P(CodePages, UiLanguageChoice,
                         ::testing::Values(CodePageCase{932, kJapanese}, CodePageCase{1252, kEnglish},
                                           CodePageCase{936, kEnglish}, CodePageCase{949, kEnglish},
                                           CodePageCase{65001, kEnglish}, CodePageCase{0, kEnglish}));

// String 1010 is empty in Japanese and "About " in English.
std::string AboutPrefix()
{
    char text[256] = "";
    int length = LoadStringA(GetModuleHandleA(nullptr), 1010, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

TEST(UiLanguage, ThreadLanguageDecidesWhichStringsLoad)
{
    UiLanguage language;
    LANGID previous = language.SetThreadLanguage(kEnglish);
    EXPECT_EQ(kEnglish, language.GetThreadLanguage());
    EXPECT_EQ("About ", AboutPrefix());
    EXPECT_EQ(kEnglish, language.SetThreadLanguage(kJapanese));
    EXPECT_EQ("", AboutPrefix());
    language.SetThreadLanguage(previous);
}

} // namespace
