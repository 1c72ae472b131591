#include "preview/PreviewRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "engine/Converter.h"
#include "engine/ProgramReader.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"
#include "settings/ConvertSettings.h"

namespace {

typedef std::vector<std::vector<ProgramNote>> Parts;

const int kRest = PreviewRenderer::kRestKey;

std::vector<int16_t> Render(const Parts& parts, int timeBase = 480, const char* bpm = "120")
{
    PreviewRenderer renderer;
    PreviewTempo tempo;
    EXPECT_TRUE(tempo.SetBeatsPerMinuteText(bpm));
    renderer.SetTempo(tempo);
    std::vector<int16_t> samples;
    EXPECT_EQ(PreviewRenderer::kRenderOk, renderer.Render(parts, timeBase, samples));
    return samples;
}

// Where the wave changes sign, from [first, end).
std::vector<size_t> SignChanges(const std::vector<int16_t>& s, size_t first, size_t end)
{
    std::vector<size_t> changes;
    for (size_t i = first + 1; i < end; ++i) {
        if ((s[i] < 0) != (s[i - 1] < 0))
            changes.push_back(i);
    }
    return changes;
}

int Peak(const std::vector<int16_t>& s, size_t first, size_t end)
{
    int peak = 0;
    for (size_t i = first; i < end; ++i)
        peak = std::abs(s[i]) > peak ? std::abs(s[i]) : peak;
    return peak;
}

TEST(PreviewRendererTest, QuarterA4At120IsHalfASecondOf440Hertz)
{
    const std::vector<int16_t> s = Render({ { { 69, 0, 480 } } });
    ASSERT_EQ(22050u, s.size());
    // 220 periods: 440 half periods, 439 changes between them.
    const std::vector<size_t> changes = SignChanges(s, 0, s.size());
    ASSERT_EQ(439u, changes.size());
    EXPECT_GT(s[0], 0);
    const double hertz = 44100.0 * 438 / 2 / static_cast<double>(changes.back() - changes.front());
    EXPECT_NEAR(440.0, hertz, 0.1);
    EXPECT_EQ(PreviewRenderer::kFullScale, Peak(s, 0, s.size()));
}

TEST(PreviewRendererTest, EveryKeyAtItsEqualTemperedPitch)
{
    struct Case {
        int key;
        double hertz;
    } cases[] = { { 21, 27.5 }, { 45, 110.0 }, { 60, 261.6256 }, { 70, 466.1638 }, { 93, 1760.0 },
                  { 108, 4186.009 } };
    for (const Case& c : cases) {
        // A whole note at 60 BPM: four seconds.
        const std::vector<int16_t> s = Render({ { { c.key, 0, 1920 } } }, 480, "60");
        ASSERT_EQ(176400u, s.size());
        const std::vector<size_t> changes = SignChanges(s, 0, s.size());
        ASSERT_GT(changes.size(), 100u) << c.key;
        const double halves = static_cast<double>(changes.size() - 1);
        const double hertz = 44100.0 * halves / 2 / static_cast<double>(changes.back() - changes.front());
        EXPECT_NEAR(c.hertz, hertz, c.hertz * 0.0005) << c.key;
    }
}

TEST(PreviewRendererTest, RestIsSilentAndTheNoteAfterItStartsOnTime)
{
    const std::vector<int16_t> s = Render({ { { kRest, 0, 480 }, { 69, 480, 480 } } });
    ASSERT_EQ(44100u, s.size());
    EXPECT_EQ(0, Peak(s, 0, 22050));
    EXPECT_NE(0, s[22050]);
    EXPECT_EQ(PreviewRenderer::kFullScale, Peak(s, 22050, 44100));
}

TEST(PreviewRendererTest, NoteRisesAndFallsInsideItsLength)
{
    const std::vector<int16_t> s = Render({ { { 69, 0, 480 } } });
    const int ramp = PreviewRenderer::kRampSamples;
    const int step = PreviewRenderer::kFullScale / (ramp + 1);
    EXPECT_EQ(step, s.front());
    EXPECT_EQ(step, std::abs(s.back()));
    // No jump larger than a half period's swing once risen, none but small ones while rising.
    for (size_t i = 1; i < static_cast<size_t>(ramp); ++i)
        EXPECT_LE(std::abs(s[i] - s[i - 1]), 2 * static_cast<int>(i + 1) * step) << i;
    EXPECT_EQ(PreviewRenderer::kFullScale, Peak(s, ramp, s.size() - ramp));
}

TEST(PreviewRendererTest, TiedNoteHoldsWhereTwoNotesAttackAgain)
{
    // What the reader makes of "a2" (and of "a4&a4"): one note; of "a4a4": two.
    const std::vector<int16_t> held = Render({ { { 69, 0, 960 } } });
    const std::vector<int16_t> twice = Render({ { { 69, 0, 480 }, { 69, 480, 480 } } });
    ASSERT_EQ(44100u, held.size());
    ASSERT_EQ(44100u, twice.size());
    const size_t joint = 22050;
    const int ramp = PreviewRenderer::kRampSamples;
    // Held: full level on both sides of the joint, the wave running on.
    for (size_t i = joint - ramp; i < joint + ramp; ++i)
        EXPECT_EQ(PreviewRenderer::kFullScale, std::abs(held[i])) << i;
    // Twice: the first note falls to the joint, the second rises from it.
    EXPECT_LT(std::abs(twice[joint - 1]), PreviewRenderer::kFullScale / 50);
    EXPECT_LT(std::abs(twice[joint]), PreviewRenderer::kFullScale / 50);
    EXPECT_GT(twice[joint], 0);
}

TEST(PreviewRendererTest, PartsSumWithoutClipping)
{
    const std::vector<int16_t> one = Render({ { { 69, 0, 480 } }, {} });
    const std::vector<int16_t> both = Render({ { { 69, 0, 480 } }, { { 69, 0, 480 } } });
    ASSERT_EQ(one.size(), both.size());
    for (size_t i = 0; i < one.size(); ++i)
        ASSERT_EQ(2 * one[i], both[i]) << i;
    EXPECT_EQ(2 * (PreviewRenderer::kFullScale / 2), Peak(both, 0, both.size()));

    // Eighteen parts on one key, all at their peaks together.
    Parts eighteen(18, std::vector<ProgramNote>{ { 40, 0, 960 } });
    const std::vector<int16_t> loud = Render(eighteen);
    EXPECT_EQ(18 * (PreviewRenderer::kFullScale / 18), Peak(loud, 0, loud.size()));
}

TEST(PreviewRendererTest, TenMinutesEndExactlyOnTheirSample)
{
    // 97 BPM at time base 480: 56.83 samples a tick, so rounding each length
    // and adding them up would drift by thousands of samples.
    const long long timeBase = 480;
    auto exact = [&](long long tick) {
        return static_cast<size_t>((tick * 2646000 * 2 + 97 * timeBase) / (2 * 97 * timeBase));
    };
    std::vector<ProgramNote> part;
    for (long long tick = 0; tick < 970 * timeBase; tick += 48) {
        part.push_back({ 60 + static_cast<int>(tick / 48 % 24), tick, 37 });
        part.push_back({ kRest, tick + 37, 11 });
    }
    Parts parts(18, std::vector<ProgramNote>{ { 72, 0, 4801 } });
    parts[5] = part;
    const std::vector<int16_t> s = Render(parts, 480, "97");
    ASSERT_EQ(26460000u, s.size());
    // Part 5 sounds alone after the other parts' first note.
    for (size_t i = 202; i < part.size(); i += 2) {
        const size_t first = exact(part[i].start);
        const size_t end = exact(part[i].start + part[i].length);
        ASSERT_EQ(0, s[first - 1]) << part[i].start;
        ASSERT_NE(0, s[first]) << part[i].start;
        ASSERT_NE(0, s[end - 1]) << part[i].start;
        ASSERT_EQ(0, s[end]) << part[i].start;
    }
}

// The mix sample by sample, the plain way: every note's envelope times its
// square wave, added up in int.
std::vector<int16_t> RenderPlainly(const PreviewRenderer& renderer, const Parts& parts, int timeBase)
{
    long long end = 0;
    for (const std::vector<ProgramNote>& part : parts) {
        if (!part.empty())
            end = std::max(end, renderer.GetSamplePosition(part.back().start + part.back().length, timeBase));
    }
    std::vector<int> mix(static_cast<size_t>(end), 0);
    const int level = renderer.GetPartLevel(parts.size());
    for (const std::vector<ProgramNote>& part : parts) {
        for (const ProgramNote& note : part) {
            if (note.key == kRest)
                continue;
            const long long first = renderer.GetSamplePosition(note.start, timeBase);
            const long long length = renderer.GetSamplePosition(note.start + note.length, timeBase) - first;
            const long long ramp = std::min<long long>(PreviewRenderer::kRampSamples, length / 2);
            const uint64_t phaseStep = static_cast<uint64_t>(
                std::llround(440.0 * std::pow(2.0, (note.key - 69) / 12.0) * 4294967296.0 / 44100));
            for (long long j = 0; j < length; ++j) {
                long long envelope = level;
                if (j < ramp)
                    envelope = level * (j + 1) / (ramp + 1);
                else if (j >= length - ramp)
                    envelope = level * (length - j) / (ramp + 1);
                const bool low = ((static_cast<uint64_t>(j) * phaseStep) >> 31) & 1;
                mix[static_cast<size_t>(first + j)] += static_cast<int>(low ? -envelope : envelope);
            }
        }
    }
    return std::vector<int16_t>(mix.begin(), mix.end());
}

TEST(PreviewRendererTest, MixOfEdgesEqualsThePlainMixOfRandomParts)
{
    std::mt19937 random(20261207);
    const int timeBases[] = { 48, 96, 240, 480 };
    for (int trial = 0; trial < 100; ++trial) {
        const int timeBase = timeBases[random() % 4];
        Parts parts(1 + random() % 18);
        for (std::vector<ProgramNote>& part : parts) {
            long long tick = 0;
            for (int n = static_cast<int>(random() % 20); n > 0; --n) {
                // Short notes (down to no samples at all) as well as long ones.
                const long long length = random() % 3 == 0 ? random() % 4 : random() % (timeBase / 2);
                const int key = random() % 8 == 0 ? kRest : static_cast<int>(random() % 128);
                part.push_back({ key, tick, length });
                tick += length + (random() % 4 == 0 ? random() % timeBase : 0);
            }
        }
        PreviewRenderer renderer;
        PreviewTempo tempo;
        ASSERT_TRUE(tempo.SetMicrosecondsPerQuarter(static_cast<long>(100000 + random() % 200000)));
        renderer.SetTempo(tempo);
        std::vector<int16_t> samples;
        ASSERT_EQ(PreviewRenderer::kRenderOk, renderer.Render(parts, timeBase, samples));
        const std::vector<int16_t> plain = RenderPlainly(renderer, parts, timeBase);
        ASSERT_EQ(plain.size(), samples.size()) << trial;
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_EQ(plain[i], samples[i]) << trial << " " << i;
    }
}

TEST(PreviewRendererTest, WrongPartsAreRefusedWithNothingMade)
{
    struct Case {
        Parts parts;
        int timeBase;
        int expected;
    } cases[] = {
        { { { { 60, 0, 480 }, { 62, 479, 480 } } }, 480, PreviewRenderer::kRenderBadNote },
        { { {}, { { 129, 0, 480 } } }, 480, PreviewRenderer::kRenderBadNote },
        { { { { -1, 0, 480 } } }, 480, PreviewRenderer::kRenderBadNote },
        { { { { 60, -5, 480 } } }, 480, PreviewRenderer::kRenderBadNote },
        { { { { 60, 0, -1 } } }, 480, PreviewRenderer::kRenderBadNote },
        { { { { 60, 1, 0x7FFFFFFFFFFFFFFFLL } } }, 480, PreviewRenderer::kRenderBadNote },
        { { { { 60, 0, 480 } } }, 0, PreviewRenderer::kRenderBadTimeBase },
        // Fourteen hours at 120 BPM: more than a WAV file can hold.
        { { { { 60, 0, 480LL * 2 * 3600 * 14 } } }, 480, PreviewRenderer::kRenderTooLong },
    };
    for (const Case& c : cases) {
        std::vector<int16_t> samples(3, 1);
        EXPECT_EQ(c.expected, PreviewRenderer().Render(c.parts, c.timeBase, samples));
        EXPECT_TRUE(samples.empty());
    }
}

TEST(PreviewRendererTest, NothingToPlayMakesNoSamples)
{
    EXPECT_TRUE(Render({}).empty());
    EXPECT_TRUE(Render({ {}, {} }).empty());
    EXPECT_EQ(std::vector<int16_t>(22050, 0), Render({ { { kRest, 0, 480 } } }));
}


// The parts of a generated song's program: partCount parts taking the
// song's lists in turn.
Parts GeneratedParts(int timeBase, int tracks, int partCount)
{
    SongGenerator song;
    song.SetTrackCount(tracks);
    song.SetTimeBase(timeBase);
    song.SetSeed(static_cast<uint32_t>(timeBase * 31 + partCount));
    const std::vector<uint8_t> image = song.Build(1500);
    Converter converter;
    MidiFile* file = converter.LoadMidiFile(image.data(), static_cast<unsigned long>(image.size()));
    ConvertSettings settings;
    NoteListSet* set = file ? converter.BuildNoteListSet(file, settings) : nullptr;
    Parts parts;
    if (set == nullptr || set->GetCount() == 0) {
        ADD_FAILURE() << "no lists";
    } else {
        settings.SetPartCount(partCount);
        settings.SetSplitStepCountForTimeBase(timeBase);
        std::vector<int> assignment;
        for (int p = 0; p < partCount; ++p)
            assignment.push_back(p % set->GetCount());
        ProgramReader reader;
        const ConversionResult result = converter.Convert(*file, settings, assignment);
        EXPECT_EQ(Converter::kConvertOk, result.GetResult());
        const std::string& text = result.GetText();
        EXPECT_EQ(ProgramReader::kReadOk, reader.Read(text.data(), text.size(), timeBase));
        for (int p = 0; p < reader.GetPartCount(); ++p)
            parts.push_back(reader.GetPart(p));
    }
    converter.FreeNoteListSet(set);
    converter.FreeMidiFile(file);
    return parts;
}

// Rendered a window at a time, windows of any size (a sample, part of a
// ramp, many notes), a song gives exactly the samples of the whole render.
TEST(PreviewRendererTest, WindowsGiveTheSamplesOfTheWholeRender)
{
    const struct {
        int timeBase;
        int tracks;
        int parts;
        const char* bpm;
    } cases[] = { { 48, 2, 1, "97.5" }, { 96, 3, 4, "240" }, { 480, 8, 18, "133.333" },
                  { 240, 4, 7, "61" } };
    std::mt19937 random(24);
    for (const auto& c : cases) {
        const Parts parts = GeneratedParts(c.timeBase, c.tracks, c.parts);
        const std::vector<int16_t> whole = Render(parts, c.timeBase, c.bpm);
        ASSERT_LT(100000u, whole.size());
        PreviewTempo tempo;
        tempo.SetBeatsPerMinuteText(c.bpm);
        PreviewRenderer renderer;
        renderer.SetTempo(tempo);
        ASSERT_EQ(PreviewRenderer::kRenderOk, renderer.Begin(parts, c.timeBase));
        ASSERT_EQ(static_cast<long long>(whole.size()), renderer.GetSampleCount());
        std::vector<int16_t> windows(whole.size() + 5000);
        const size_t sizes[] = { 1, 2, 131, 132, 133, 265, 4096 };
        size_t done = 0;
        for (size_t got = 1; got > 0; done += got)
            got = renderer.RenderNext(&windows[done], random() % 2 ? sizes[random() % 7] : 1 + random() % 700);
        windows.resize(done);
        EXPECT_EQ(whole.size(), done) << c.timeBase;
        EXPECT_TRUE(whole == windows) << "time base " << c.timeBase << ", " << c.parts << " parts";
    }
}

}  // namespace
