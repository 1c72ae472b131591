// Converts generated songs and reads the BASIC program back: every part's MML
// must sound exactly like the quantized note list it was written from.
#include "engine/Converter.h"

#include "settings/ConvertSettings.h"
#include "settings/NoteValueTable.h"
#include "settings/PlayKindTable.h"
#include "gen/SmfBuilder.h"
#include "midi/MidiFile.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "tests/support/MmlReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// mt19937 is specified exactly, so these songs are the same on every platform.
class Dice {
public:
    explicit Dice(uint32_t seed) : m_engine(seed) {}
    // low..high inclusive
    int Roll(int low, int high)
    {
        return low + static_cast<int>(m_engine() % static_cast<uint32_t>(high - low + 1));
    }
    bool Chance(int percent) { return Roll(1, 100) <= percent; }

private:
    std::mt19937 m_engine;
};

struct TimedMessage {
    long time;
    std::vector<uint8_t> bytes;
};

// Notes of one channel with everything the extraction has to cope with:
// chords, overlapping notes, note-on velocity 0 as note-off, notes of any
// key, odd lengths off the grid, controllers in between.
void AddChannel(Dice& dice, int channel, int timeBase, std::vector<TimedMessage>& out)
{
    long time = dice.Roll(0, timeBase);
    const int notes = dice.Roll(5, 40);
    for (int n = 0; n < notes; ++n) {
        const int key = dice.Chance(90) ? dice.Roll(36, 96) : dice.Roll(0, 127);
        const long length = dice.Chance(50) ? timeBase / 4 * dice.Roll(1, 8) : dice.Roll(1, 2 * timeBase);
        const uint8_t on = static_cast<uint8_t>(0x90 | channel);
        out.push_back({ time, { on, static_cast<uint8_t>(key), static_cast<uint8_t>(dice.Roll(1, 127)) } });
        if (dice.Chance(15)) // a chord note or an overlapping one: dropped by the extraction
            out.push_back({ time + dice.Roll(0, static_cast<int>(length)),
                            { on, static_cast<uint8_t>((key + 4) % 128), 90 } });
        if (dice.Chance(10))
            out.push_back({ time + length / 2, { static_cast<uint8_t>(0xB0 | channel), 7, 100 } });
        if (dice.Chance(30))
            out.push_back({ time + length, { on, static_cast<uint8_t>(key), 0 } });
        else
            out.push_back({ time + length, { static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(key), 64 } });
        time += length + (dice.Chance(40) ? 0 : dice.Roll(1, timeBase));
    }
    // Dropped notes may still sound; end them after everything else.
    for (int key = 0; key < 128; ++key)
        out.push_back({ time + timeBase, { static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(key), 0 } });
}

void WriteTrack(SmfBuilder& smf, int track, std::vector<TimedMessage>& messages)
{
    // Stable: the messages of one channel are already in order.
    std::stable_sort(messages.begin(), messages.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.time < b.time; });
    long previous = 0;
    for (const TimedMessage& m : messages) {
        smf.AddMessage(track, static_cast<uint32_t>(m.time - previous), m.bytes);
        previous = m.time;
    }
    smf.EndOfTrack(track);
}

std::vector<uint8_t> MakeSong(Dice& dice, int timeBase)
{
    const int format = dice.Roll(0, 1);
    SmfBuilder smf(format, timeBase);
    smf.SetRunningStatus(dice.Chance(50));
    const int tracks = format == 0 ? 1 : dice.Roll(1, 4);
    if (format == 1) {
        int conductor = smf.AddTrack();
        smf.Tempo(conductor, 0, 500000);
        smf.EndOfTrack(conductor);
    }
    for (int t = 0; t < tracks; ++t) {
        int track = smf.AddTrack();
        std::vector<TimedMessage> messages;
        const int channels = dice.Roll(1, 3);
        for (int c = 0; c < channels; ++c)
            AddChannel(dice, dice.Roll(0, 15), timeBase, messages);
        if (dice.Chance(30)) // a channel with a program change only
            messages.push_back({ 0, { static_cast<uint8_t>(0xC0 | dice.Roll(0, 15)), 1 } });
        WriteTrack(smf, track, messages);
    }
    return smf.Build();
}

struct TimedNote {
    int key;
    long start;
    long length;
    bool operator==(const TimedNote& o) const { return key == o.key && start == o.start && length == o.length; }
};

std::ostream& operator<<(std::ostream& os, const TimedNote& n)
{
    return os << n.key << "@" << n.start << "+" << n.length;
}

// The notes of a list after quantization, with their start times; and the
// list's end.
std::vector<TimedNote> NotesOf(NoteList& list, long& end)
{
    std::vector<TimedNote> notes;
    end = 0;
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p) {
        if (p->IsNote())
            notes.push_back({ p->GetNote(), end, p->GetLength() });
        end += p->GetLength();
    }
    return notes;
}

// The notes the MML of one part plays, ties joined, in ticks of the file.
std::vector<TimedNote> NotesOf(const MmlReader& reader, int factor, long& end)
{
    std::vector<TimedNote> notes;
    end = 0;
    for (const MmlNote& n : reader.GetJoinedNotes()) {
        const long length = static_cast<long>(n.ticks) * factor;
        if (n.note != MmlReader::kRest)
            notes.push_back({ n.note, end, length });
        end += length;
    }
    return notes;
}

// A PLAY line cut into its quoted strings; false when it is not one.
bool ReadPlayLine(const std::string& line, const std::string& start, std::vector<std::string>& parts)
{
    parts.clear();
    if (line.compare(0, start.size(), start) != 0)
        return false;
    size_t i = start.size();
    for (;;) {
        if (i >= line.size() || line[i] != '"')
            return false;
        size_t close = line.find('"', i + 1);
        if (close == std::string::npos)
            return false;
        parts.push_back(line.substr(i + 1, close - i - 1));
        i = close + 1;
        if (i == line.size())
            return true;
        if (line[i++] != ',')
            return false;
    }
}

std::string LineStart(long number, const char* keyword)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%4ld %s ", number, keyword);
    return buffer;
}

class ConversionRoundTripTest : public ::testing::TestWithParam<std::tuple<int, int>> {
};

TEST_P(ConversionRoundTripTest, MmlPlaysTheQuantizedLists)
{
    const int timeBase = std::get<0>(GetParam());
    const int seed = std::get<1>(GetParam());
    Dice dice(static_cast<uint32_t>(seed * 1000 + timeBase));
    std::vector<uint8_t> image = MakeSong(dice, timeBase);

    Converter converter;
    MidiFile* file = converter.LoadMidiFile(image.data(), image.size());
    ASSERT_NE(nullptr, file);
    ConvertSettings settings;
    const int lists = converter.CountLists(*file, settings);

    settings.SetPartCount(dice.Roll(1, 18));
    settings.SetMinimumResolution(dice.Roll(0, 17));
    settings.SetSplitStepCount(dice.Chance(20) ? 4 * timeBase : dice.Roll(timeBase / 4, 1920));
    settings.SetFirstLineNumber(dice.Chance(20) ? 32000 : dice.Roll(1, 32000));
    settings.SetPlayKind(dice.Roll(0, 2));
    std::vector<int> assignment;
    for (int r = 0; r < settings.GetPartCount(); ++r)
        assignment.push_back(dice.Chance(25) ? -1 : dice.Roll(0, lists - 1));

    const ConversionResult result = converter.Convert(*file, settings, assignment);
    ASSERT_EQ(Converter::kConvertOk, result.GetResult());
    const std::string& text = result.GetText();
    const NoteListSet* set = result.GetLists();

    // The same lists, quantized only.
    NoteValueTable values;
    NoteListSet* expected = converter.BuildNoteListSet(file, settings);
    converter.QuantizeAll(*expected, values.GetTicksAt(settings.GetMinimumResolution(), timeBase));

    // Ten header lines, then the PLAY lines numbered on from first + 100.
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        ASSERT_NE(std::string::npos, end) << "text does not end in CR LF";
        lines.push_back(text.substr(at, end - at));
    }
    ASSERT_GE(lines.size(), 10u);
    const long first = settings.GetFirstLineNumber();
    EXPECT_EQ(converter.BuildHeader(first, 10),
              text.substr(0, converter.BuildHeader(first, 10).size()));

    const int parts = settings.GetPartCount();
    const int factor = timeBase / 48;
    const int lineTicks = converter.GetSegmentTicks(settings.GetSplitStepCount(), timeBase);
    PlayKindTable kinds;
    std::vector<MmlReader> readers(parts);
    std::vector<std::string> strings;
    for (size_t k = 10; k < lines.size(); ++k) {
        const std::string start = LineStart(first + 100 + 10 * static_cast<long>(k - 10),
                                            kinds.GetKeyword(settings.GetPlayKind()));
        ASSERT_TRUE(ReadPlayLine(lines[k], start, strings)) << lines[k];
        ASSERT_EQ(static_cast<size_t>(parts), strings.size()) << lines[k];
        for (int p = 0; p < parts; ++p) {
            if (assignment[p] < 0) {
                EXPECT_EQ("", strings[p]) << "unassigned part " << p;
            }
            const int before = readers[p].GetTotalTicks();
            ASSERT_EQ(0, readers[p].Read(strings[p])) << readers[p].GetError() << " in " << strings[p];
            // Every line but a part's last holds exactly one line's music, so
            // the parts stay in step.
            if (assignment[p] >= 0 && static_cast<int>(k - 10) + 1 < set->GetSegmentCount(assignment[p])) {
                EXPECT_EQ(lineTicks, (readers[p].GetTotalTicks() - before) * factor) << lines[k];
            }
        }
    }

    // As many lines as the longest assigned list has segments.
    int segments = 0;
    for (int p = 0; p < parts; ++p) {
        if (assignment[p] >= 0)
            segments = std::max(segments, set->GetSegmentCount(assignment[p]));
    }
    EXPECT_EQ(static_cast<size_t>(10 + segments), lines.size());

    for (int p = 0; p < parts; ++p) {
        if (assignment[p] < 0)
            continue;
        long listEnd = 0;
        long mmlEnd = 0;
        std::vector<TimedNote> want = NotesOf(*expected->GetList(assignment[p]), listEnd);
        std::vector<TimedNote> got = NotesOf(readers[p], factor, mmlEnd);
        EXPECT_EQ(want, got) << "part " << p << " list " << assignment[p];
        EXPECT_EQ(listEnd, mmlEnd) << "part " << p;
    }

    converter.FreeNoteListSet(expected);
    converter.FreeMidiFile(file);
}

INSTANTIATE_TEST_SUITE_P(GeneratedSongs, ConversionRoundTripTest,
                         ::testing::Combine(::testing::Values(48, 96, 240, 480),
                                            ::testing::Range(1, 9)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return "TimeBase" + std::to_string(std::get<0>(info.param)) + "Seed" +
                                    std::to_string(std::get<1>(info.param));
                         });

} // namespace
