#include "web/WebSession.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ConvertStatus.h"
#include "engine/Converter.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
#include "preview/TempoFinder.h"
#include "settings/ConvertSettings.h"
#include "midi/MidiFile.h"
#include "score/NoteListSet.h"

namespace {

int Open(WebSession& session, const std::vector<uint8_t>& image)
{
    return session.Open(image.data(), static_cast<unsigned long>(image.size()));
}

std::vector<uint8_t> Song(uint32_t seed, int timeBase)
{
    SongGenerator generator;
    generator.SetSeed(seed);
    generator.SetTimeBase(timeBase);
    generator.SetTrackCount(4);
    generator.SetHumanTiming(seed % 2 == 1);
    return generator.Build(600);
}

// What midi2morvek and the window do: the converter's own entry point.
std::string ConvertDirectly(const std::vector<uint8_t>& image, const ConvertSettings& settings,
                            int voices, const std::vector<int>& assignment)
{
    Converter converter;
    ConvertSettings chosen = settings;
    chosen.SetVoiceCount(voices);
    MidiFile* file = converter.LoadMidiFile(image.data(), static_cast<unsigned long>(image.size()));
    ConversionResult result = converter.Convert(*file, chosen, assignment);
    EXPECT_EQ(Converter::kConvertOk, result.GetResult());
    converter.FreeMidiFile(file);
    return result.TakeText();
}

} // namespace

// Over generated songs, time bases, voices and settings: the session's
// program is the converter's for the same choices, and its preview is
// ProgramPreview's at the file's first tempo.
TEST(WebSessionTest, ProgramAndPreviewAreTheCoresOwn)
{
    const int timeBases[] = {48, 96, 240, 480};
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<uint8_t> image = Song(seed, timeBases[seed % 4]);
        WebSession session;
        const int voices = 1 + static_cast<int>(seed % 3);
        session.SetSetting(WebSession::kVoiceCount, voices);
        ASSERT_EQ(WebSession::kOpenOk, Open(session, image));

        ConvertSettings settings;
        settings.SetSplitStepCountForTimeBase(timeBases[seed % 4]);
        settings.SetPartCount(2 + static_cast<int>(seed % 5));
        settings.SetMinimumResolution(static_cast<int>(seed % 18));
        settings.SetFirstLineNumber(static_cast<int>(seed * 10));
        settings.SetPlayKind(static_cast<int>(seed % 3));
        session.SetSetting(WebSession::kPartCount, settings.GetPartCount());
        session.SetSetting(WebSession::kMinimumResolution, settings.GetMinimumResolution());
        session.SetSetting(WebSession::kFirstLineNumber, settings.GetFirstLineNumber());
        session.SetSetting(WebSession::kPlayKind, settings.GetPlayKind());
        const int lists = static_cast<int>(session.GetFileFact(WebSession::kListCount));
        std::vector<int> assignment;
        for (int row = 0; row < settings.GetPartCount(); ++row) {
            assignment.push_back((row * 3 + static_cast<int>(seed)) % (lists + 1) - 1);
            session.SetAssignment(row, assignment.back());
        }

        ASSERT_EQ(Converter::kConvertOk, session.Convert());
        const std::string& program = session.GetText(WebSession::kProgramText);
        EXPECT_EQ(ConvertDirectly(image, settings, voices, assignment), program);
        EXPECT_EQ(0, session.MakeReport(program));
        EXPECT_NE(std::string::npos, session.GetText(WebSession::kReportText).find("PLAY lines"));

        Converter converter;
        MidiFile* file = converter.LoadMidiFile(image.data(), static_cast<unsigned long>(image.size()));
        PreviewTempo tempo;
        tempo.SetMicrosecondsPerQuarter(TempoFinder().GetFirstTempo(*file));
        ProgramPreview preview;
        preview.SetTempo(tempo);
        std::string wav;
        const int made = preview.Make(program.data(), program.size(), file->GetTimeBase(), wav);
        converter.FreeMidiFile(file);
        EXPECT_EQ(made, session.MakePreview(program, ""));
        EXPECT_EQ(wav, session.GetText(WebSession::kPreviewImage));
    }
}

// Refused files and texts: the reason as a number the page words, the facts
// it can still show, and nothing left to convert.
TEST(WebSessionTest, RefusalsSayWhyAndLeaveNothingToConvert)
{
    struct Case {
        const char* what;
        int format;
        int timeBase;
        size_t keep;     // bytes of the image kept; 0: all
        int result;
    } cases[] = {
        {"format 2", 2, 480, 0, WebSession::kOpenBadFormat},
        {"time base 120", 1, 120, 0, WebSession::kOpenBadTimeBase},
        {"cut in the header", 1, 480, 10, WebSession::kOpenNotMidi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmfBuilder builder(c.format, c.timeBase);
        const int track = builder.AddTrack();
        builder.NoteOn(track, 0, 0, 60, 100);
        builder.NoteOff(track, 96, 0, 60);
        builder.EndOfTrack(track);
        std::vector<uint8_t> image = builder.Build();
        if (c.keep > 0)
            image.resize(c.keep);
        WebSession session;
        EXPECT_EQ(c.result, Open(session, image));
        EXPECT_FALSE(session.IsOpen());
        EXPECT_EQ(c.result == WebSession::kOpenBadTimeBase ? 120 : c.result == WebSession::kOpenNotMidi ? -1 : 480,
                  session.GetFileFact(WebSession::kTimeBase));
        EXPECT_EQ(WebSession::kNoFile, session.Convert());
        EXPECT_EQ(WebSession::kNoFile, session.MakePreview("1000 PLAY \"C\"\r\n", ""));
        EXPECT_TRUE(session.GetText(WebSession::kProgramText).empty());
    }

    // Read leniently, the time base 120 is re-timed, and the session says so.
    SmfBuilder builder(1, 120);
    const int track = builder.AddTrack();
    builder.NoteOn(track, 0, 0, 60, 100);
    builder.NoteOff(track, 120, 0, 60);
    builder.EndOfTrack(track);
    WebSession lenient;
    EXPECT_EQ(0, lenient.SetSetting(WebSession::kLenient, 1));
    ASSERT_EQ(WebSession::kOpenOk, Open(lenient, builder.Build()));
    EXPECT_EQ(120, lenient.GetFileFact(WebSession::kRetimedFrom));
    EXPECT_EQ(480, lenient.GetFileFact(WebSession::kTimeBase));
    EXPECT_EQ(1920, lenient.GetSetting(WebSession::kSplitStepCount));

    WebSession session;
    ASSERT_EQ(WebSession::kOpenOk, Open(session, Song(3, 96)));
    EXPECT_EQ(0, session.GetFileFact(WebSession::kRetimedFrom));
    EXPECT_EQ(WebSession::kBadTempo, session.MakePreview("", "fast"));
    session.SetAssignment(0, 999);
    EXPECT_EQ(Converter::kConvertBadAssignment, session.Convert());
    EXPECT_EQ(999, session.GetStatus().GetValue());
    EXPECT_TRUE(session.GetText(WebSession::kProgramText).empty());
    // Other voices renumber the lists: the parts start over.
    session.SetSetting(WebSession::kVoiceCount, 2);
    EXPECT_EQ(Converter::kUnassigned, session.GetAssignment(0));
    EXPECT_EQ(WebSession::kNoFact, session.SetAssignment(WebSession::kPartRowCount, 0));
    EXPECT_EQ(WebSession::kNoFact, session.SetSetting(WebSession::kSettingCount, 1));
}
