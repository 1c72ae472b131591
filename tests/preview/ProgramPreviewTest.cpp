#include "preview/ProgramPreview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A program of PLAY lines from 1100 on, one string per part on each line.
std::string Program(const std::vector<std::vector<std::string>>& lines)
{
    std::string text = "1000 CLEAR 300,&H5600\r\n1050 PLAY \"?3/\",,,\"?3/\": ' HG\r\n";
    int number = 1100;
    for (const std::vector<std::string>& parts : lines) {
        text += std::to_string(number) + " PLAY ";
        for (size_t i = 0; i < parts.size(); ++i)
            text += (i > 0 ? ",\"" : "\"") + parts[i] + "\"";
        text += "\r\n";
        number += 10;
    }
    return text;
}

struct Preview {
    int result;
    std::string image;
    std::vector<int16_t> samples;
};

Preview Make(const std::string& text, const char* bpm = "120", int timeBase = 480)
{
    ProgramPreview preview;
    PreviewTempo tempo;
    EXPECT_TRUE(tempo.SetBeatsPerMinuteText(bpm));
    preview.SetTempo(tempo);
    Preview made;
    made.result = preview.Make(text.data(), text.size(), timeBase, made.image);
    for (size_t i = 44; i + 1 < made.image.size(); i += 2)
        made.samples.push_back(static_cast<int16_t>(static_cast<unsigned char>(made.image[i]) |
                                                    static_cast<unsigned char>(made.image[i + 1]) << 8));
    if (made.result == ProgramPreview::kPreviewOk) {
        EXPECT_EQ(static_cast<long long>(made.samples.size()), preview.GetSampleCount());
    }
    return made;
}

TEST(ProgramPreviewTest, TiedNoteSoundsAsOneNote)
{
    const Preview held = Make(Program({ { "o4a2" } }));
    ASSERT_EQ(ProgramPreview::kPreviewOk, held.result);
    ASSERT_EQ(44100u, held.samples.size());
    EXPECT_EQ(held.image, Make(Program({ { "o4a4&a4" } })).image);
    EXPECT_EQ(held.image, Make(Program({ { "o4a4&" }, { "a4" } })).image);   // across PLAY lines
    EXPECT_EQ(held.image, Make(Program({ { "o4a8&a8&a4" } })).image);
    // Without the tie the note falls and rises again at the joint.
    const Preview twice = Make(Program({ { "o4a4a4" } }));
    ASSERT_EQ(44100u, twice.samples.size());
    EXPECT_NE(held.image, twice.image);
    EXPECT_EQ(held.samples[22049], held.samples[22049 - 100]);   // a whole number of periods apart
    EXPECT_LT(std::abs(twice.samples[22049]), 1000);
}

TEST(ProgramPreviewTest, RestsAreSilentAndPartsSoundTogether)
{
    const Preview alone = Make(Program({ { "o4a4r4" } }));
    const Preview two = Make(Program({ { "o4a4r4", "r2" } }));
    ASSERT_EQ(ProgramPreview::kPreviewOk, two.result);
    ASSERT_EQ(44100u, two.samples.size());
    EXPECT_EQ(std::vector<int16_t>(22050, 0), std::vector<int16_t>(two.samples.begin() + 22050, two.samples.end()));
    // The second part takes half the level and adds nothing: the same wave, half as loud.
    int peak = 0;
    for (size_t i = 0; i < 22050; ++i) {
        ASSERT_EQ(alone.samples[i] < 0, two.samples[i] < 0) << i;
        peak = std::max(peak, std::abs(static_cast<int>(two.samples[i])));
    }
    EXPECT_EQ(16383, peak);
}

TEST(ProgramPreviewTest, LengthIsTheExactTimeOfTheLongestPart)
{
    // 97 quarter notes at 97 BPM are a minute: 2,646,000 samples.
    std::string whole;
    for (int i = 0; i < 97; ++i)
        whole += "c";
    struct Case {
        std::string text;
        const char* bpm;
        int timeBase;
        size_t samples;
    } cases[] = {
        { Program({ { whole, "r1" } }), "97", 480, 2646000 },
        { Program({ { whole, "r1" } }), "97", 48, 2646000 },
        { Program({ { "c4", "r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r4r24" } }), "100", 96,
          24 * 26460 + 4410 },
        { Program({ { "", "" } }), "120", 480, 0 },
        { "1000 REM nothing to play\r\n", "120", 480, 0 },
    };
    for (const Case& c : cases) {
        const Preview made = Make(c.text, c.bpm, c.timeBase);
        EXPECT_EQ(ProgramPreview::kPreviewOk, made.result);
        EXPECT_EQ(c.samples, made.samples.size()) << c.text;
        EXPECT_EQ(44 + 2 * c.samples, made.image.size());
    }
}

TEST(ProgramPreviewTest, UnreadableTextNamesLineAndColumn)
{
    struct Case {
        std::string text;
        int line, column;
    } cases[] = {
        { "1100 PLAY \"o4c\"\r\n1110 PLAY \"cx\"\r\n", 2, 13 },
        { "1100 PLAY \"o4c\",\"d\"\n1110 PLAY \"e\"\n", 2, 0 },
        { "1100 PLAY \"c\"\r\n1110 PLAY \"o4c", 2, 0 },
    };
    for (const Case& c : cases) {
        ProgramPreview preview;
        std::string image = "left over";
        EXPECT_EQ(ProgramPreview::kPreviewUnreadable, preview.Make(c.text.data(), c.text.size(), 480, image));
        EXPECT_EQ("", image);
        EXPECT_EQ(c.line, preview.GetStatus().GetLine()) << c.text;
        if (c.column > 0) {
            EXPECT_EQ(c.column, preview.GetStatus().GetColumn()) << c.text;
        } else {
            EXPECT_GT(preview.GetStatus().GetColumn(), 0) << c.text;
        }
        EXPECT_FALSE(preview.GetStatus().IsOk());
        // A good text afterwards clears the place.
        EXPECT_EQ(ProgramPreview::kPreviewOk, preview.Make("1100 PLAY \"c\"", 13, 480, image));
        EXPECT_TRUE(preview.GetStatus().IsOk());
        EXPECT_EQ(0, preview.GetStatus().GetLine());
    }
}

TEST(ProgramPreviewTest, TooLongAndBadTimeBaseAreRefused)
{
    std::string tied;
    for (int i = 0; i < 210; ++i)
        tied += "c1&";
    std::string text = Program({ { tied + "c1" } });
    EXPECT_EQ(ProgramPreview::kPreviewTooLong, Make(text, "1").result);
    EXPECT_EQ(ProgramPreview::kPreviewOk, Make(Program({ { "c16" } }), "1").result);
    EXPECT_EQ(ProgramPreview::kPreviewBadTimeBase, Make(text, "120", 0).result);
}

}  // namespace
