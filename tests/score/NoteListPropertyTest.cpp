// Properties of the conversion passes over a few hundred generated note
// lists (fixed seed, so a failure repeats): each pass is compared with a
// model written in absolute times, and the MML of every list is read back.
#include "score/NoteList.h"

#include "settings/NoteValueTable.h"
#include "score/MmlWriter.h"
#include "tests/support/MmlReader.h"
#include "tests/support/NoteListText.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

const int kListCount = 300;
const int kTimeBases[] = { 48, 96, 240, 480 };

struct Piece {
    int note;
    int length;
    bool tied;
    int valueIndex;
};

std::vector<Piece> Snapshot(NoteList& list)
{
    std::vector<Piece> pieces;
    for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
        pieces.push_back({ p->GetNote(), p->GetLength(), p->IsTied(), p->GetValueIndex() });
    return pieces;
}

// A list as extraction makes it: rest, note, rest, note ..., rests possibly
// empty, lengths anywhere from a tick to several bars.
void Generate(std::mt19937& random, NoteList& list)
{
    std::uniform_int_distribution<int> pairs(0, 24);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> shortLength(1, 30);
    std::uniform_int_distribution<int> longLength(1, 1000);
    std::uniform_int_distribution<int> key(0, 127);
    std::uniform_int_distribution<int> velocity(1, 127);
    int count = pairs(random);
    for (int i = 0; i < count; ++i) {
        int k = kind(random);
        int rest = k == 0 ? 0 : k == 1 ? shortLength(random) : longLength(random);
        list.Append(NoteRecord(kRestNote, rest));
        int length = kind(random) < 2 ? shortLength(random) : longLength(random);
        list.Append(NoteRecord(key(random), length, velocity(random)));
    }
}

struct Settings {
    int timeBase;
    int unit;
    int segmentTicks;
};

Settings PickSettings(std::mt19937& random)
{
    NoteValueTable table;
    Settings settings;
    settings.timeBase = kTimeBases[std::uniform_int_distribution<int>(0, 3)(random)];
    int resolution = std::uniform_int_distribution<int>(0, 17)(random);
    settings.unit = table.GetTicksAt(resolution, settings.timeBase);
    settings.segmentTicks = std::uniform_int_distribution<int>(0, 1) (random)
        ? std::uniform_int_distribution<int>(1, 1920)(random)
        : 4 * settings.timeBase;
    return settings;
}

int RoundToGrid(long long ticks, int unit)
{
    long long r = ticks % unit;
    return static_cast<int>(2 * r < unit ? ticks - r : ticks + (unit - r));
}

// Quantization model: every boundary moves to the nearest grid line (a half
// moves later); records whose ends meet disappear.
std::vector<Piece> ExpectedQuantized(const std::vector<Piece>& before, int unit)
{
    std::vector<Piece> expected;
    long long start = 0;
    for (const Piece& piece : before) {
        long long end = start + piece.length;
        int length = RoundToGrid(end, unit) - RoundToGrid(start, unit);
        if (length > 0)
            expected.push_back({ piece.note, length, false, -1 });
        start = end;
    }
    return expected;
}

class ConversionPassesProperty : public ::testing::Test {
protected:
    // Generates the next list into list; returns the settings picked for it.
    Settings NextList(NoteList& list)
    {
        Generate(m_random, list);
        return PickSettings(m_random);
    }

    std::mt19937 m_random{ 20240607u };
};

TEST_F(ConversionPassesProperty, QuantizeMatchesTheGridModel)
{
    for (int n = 0; n < kListCount; ++n) {
        NoteList list;
        Settings settings = NextList(list);
        std::vector<Piece> before = Snapshot(list);
        int totalBefore = list.GetTotalTicks();

        int remainder = list.Quantize(settings.unit);

        SCOPED_TRACE("list " + std::to_string(n) + " unit " + std::to_string(settings.unit));
        std::vector<Piece> after = Snapshot(list);
        std::vector<Piece> expected = ExpectedQuantized(before, settings.unit);
        ASSERT_EQ(expected.size(), after.size());
        long long boundary = 0;
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(expected[i].note, after[i].note) << i;
            EXPECT_EQ(expected[i].length, after[i].length) << i;
            EXPECT_GT(after[i].length, 0) << i;
            boundary += after[i].length;
            EXPECT_EQ(0, boundary % settings.unit) << i;
        }
        EXPECT_EQ(totalBefore - list.GetTotalTicks(), remainder);
    }
}

TEST_F(ConversionPassesProperty, SplitCutsAtEveryMultipleOfTheSegment)
{
    for (int n = 0; n < kListCount; ++n) {
        NoteList list;
        Settings settings = NextList(list);
        list.Quantize(settings.unit);
        std::vector<Piece> before = Snapshot(list);
        const long long total = list.GetTotalTicks();
        const int s = settings.segmentTicks;

        int segments = list.SplitIntoSegments(s);

        SCOPED_TRACE("list " + std::to_string(n) + " S " + std::to_string(s));
        const long long expectedSegments = total == 0 ? 1 : (total + s - 1) / s;
        EXPECT_EQ(expectedSegments, segments);
        EXPECT_EQ(total, list.GetTotalTicks());

        // Ends of the records before, and the cuts.
        std::set<long long> ends;
        long long t = 0;
        for (const Piece& piece : before)
            ends.insert(t += piece.length);
        std::set<long long> cuts;
        for (long long cut = s; cut < total; cut += s)
            cuts.insert(cut);

        std::vector<Piece> after = Snapshot(list);
        ASSERT_FALSE(after.empty());
        EXPECT_EQ(kSegmentEnd, after.back().note);
        size_t source = 0; // record of 'before' that covers the current time
        long long sourceEnd = before.empty() ? 0 : before[0].length;
        long long time = 0;
        int markers = 0;
        std::set<long long> resultEnds;
        for (const Piece& piece : after) {
            if (piece.note == kSegmentEnd) {
                ++markers;
                // A marker stands at a cut or at the very end.
                EXPECT_TRUE(cuts.count(time) || time == total) << time;
                continue;
            }
            ASSERT_GT(piece.length, 0);
            while (time >= sourceEnd) {
                ++source;
                ASSERT_LT(source, before.size());
                sourceEnd += before[source].length;
            }
            EXPECT_EQ(before[source].note, piece.note) << time;
            time += piece.length;
            resultEnds.insert(time);
            // Tied exactly when a note goes on across a cut.
            bool crossesCut = cuts.count(time) && !ends.count(time);
            EXPECT_EQ(crossesCut && piece.note != kRestNote, piece.tied) << time;
        }
        EXPECT_EQ(segments, markers);
        std::set<long long> expectedEnds = ends;
        expectedEnds.insert(cuts.begin(), cuts.end());
        EXPECT_EQ(expectedEnds, resultEnds);
    }
}

TEST_F(ConversionPassesProperty, DecomposeIntoGreedyNoteValues)
{
    NoteValueTable table;
    for (int n = 0; n < kListCount; ++n) {
        NoteList list;
        Settings settings = NextList(list);
        // Half of the lists skip quantization, so that lengths off the
        // time base's 192nd grid occur too.
        if (n % 2 == 0)
            list.Quantize(settings.unit);
        else
            list.Quantize(1);
        list.SplitIntoSegments(settings.segmentTicks);
        std::vector<Piece> before = Snapshot(list);
        const int f = settings.timeBase / 48;

        list.Decompose(settings.timeBase);

        SCOPED_TRACE("list " + std::to_string(n) + " time base " + std::to_string(settings.timeBase));
        std::vector<Piece> after = Snapshot(list);
        size_t i = 0;
        for (const Piece& source : before) {
            ASSERT_LT(i, after.size());
            if (source.note == kSegmentEnd) {
                EXPECT_EQ(kSegmentEnd, after[i].note);
                EXPECT_EQ(-1, after[i].valueIndex);
                ++i;
                continue;
            }
            // The pieces of one record: each the largest value that fits what
            // is left; less than a 192nd left becomes a whole 192nd.
            int left = source.length;
            while (left > 0) {
                ASSERT_LT(i, after.size());
                const Piece& piece = after[i++];
                EXPECT_EQ(source.note, piece.note);
                ASSERT_GE(piece.valueIndex, 0);
                ASSERT_LE(piece.valueIndex, 17);
                EXPECT_EQ(table.GetTicksAt(piece.valueIndex, settings.timeBase), piece.length);
                if (left >= f) {
                    EXPECT_LE(piece.length, left);
                    EXPECT_TRUE(piece.valueIndex == 0 || table.GetTicksAt(piece.valueIndex - 1, settings.timeBase) > left)
                        << "a larger value would have fit";
                } else {
                    EXPECT_EQ(17, piece.valueIndex);
                }
                left -= piece.length;
                bool last = left <= 0;
                bool tied = source.note != kRestNote && (!last || source.tied);
                EXPECT_EQ(tied, piece.tied);
            }
        }
        EXPECT_EQ(after.size(), i);
    }
}

TEST_F(ConversionPassesProperty, MmlReadsBackAsTheSameNotes)
{
    for (int n = 0; n < kListCount; ++n) {
        NoteList list;
        Settings settings = NextList(list);
        list.Quantize(settings.unit);
        int segments = list.SplitIntoSegments(settings.segmentTicks);
        list.Decompose(settings.timeBase);
        const int f = settings.timeBase / 48;

        MmlWriter writer;
        writer.SetOctave(4);
        writer.SetDefaultValue(list.GetMostFrequentBaseValue());
        writer.SetPosition(list);
        MmlReader reader;
        SCOPED_TRACE("list " + std::to_string(n));
        for (int line = 0; line < segments; ++line) {
            std::string mml;
            int flags = line == 0 ? MmlWriter::kWriteOctave | MmlWriter::kWriteDefaultLength | 8 : 0;
            writer.WriteSegmentFromList(list, mml, flags);
            ASSERT_EQ(0, reader.Read(mml)) << reader.GetError() << " in " << mml;
        }
        std::string after;
        writer.WriteSegmentFromList(list, after, 0);
        EXPECT_EQ("", after) << "text after the last segment";

        std::vector<MmlNote> notes = reader.GetNotes();
        size_t i = 0;
        for (NoteList::Position p = list.Begin(); p != list.End(); ++p) {
            if (p->IsSegmentEnd())
                continue;
            ASSERT_LT(i, notes.size());
            EXPECT_EQ(p->GetNote(), notes[i].note) << i;
            EXPECT_EQ(p->GetLength(), notes[i].ticks * f) << i;
            EXPECT_EQ(p->IsTied(), notes[i].tied) << i;
            ++i;
        }
        EXPECT_EQ(notes.size(), i);
        EXPECT_EQ(list.GetTotalTicks(), reader.GetTotalTicks() * f);
    }
}

} // namespace
