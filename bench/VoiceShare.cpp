// voice_share: how many of the notes a file plays reach the program, with one
// voice and with more, at the finest grid (a 192nd note) and the default one
// (a 32nd note); every list on a part, up to the driver's 18. Also how often
// the first voice of a channel holds its top sounding note, and the mean step
// in keys between the notes of a voice: what a rule for chords is judged by.
//
//   voice_share [--voices V] [--span N] [--no-drums] FILE...
//   voice_share [--voices V] [--span N] [--no-drums] --generated SEEDS
//
// A file whose time base the converter does not take is re-timed to 480
// ticks per quarter note first, each event's time rounded. --generated makes
// SEEDS songs of the project's generator with human timing (time base 480,
// about 20,000 events each) instead of reading files. --span is the chord
// span in 192nd notes (default 1; 0: notes of one tick only).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Converter.h"
#include "settings/NoteValueTable.h"
#include "gen/SmfBuilder.h"
#include "gen/SongGenerator.h"
#include "midi/MidiEvent.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteList.h"
#include "score/NoteListBuilder.h"
#include "settings/ConvertSettings.h"
#include "score/NoteListSet.h"

namespace {

const int kPartLimit = 18;
const int kFinestResolution = 17;  // "192"
const int kDefaultResolution = 13; // "32"

struct Tally {
    long long played = 0;
    long long kept = 0;
    long long dropped = 0;  // no voice was free
    long long beyond = 0;   // in lists past the 18th
    long long topHeld = 0;  // first-voice notes that are the top sounding note
    long long firstVoice = 0;
    long long steps = 0;    // key steps summed within voices
    long long stepCount = 0;
    int lists = 0;

    void Add(const Tally& other)
    {
        played += other.played;
        kept += other.kept;
        dropped += other.dropped;
        beyond += other.beyond;
        topHeld += other.topHeld;
        firstVoice += other.firstVoice;
        steps += other.steps;
        stepCount += other.stepCount;
        lists += other.lists;
    }
};

std::vector<uint8_t> ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The same music at time base 480.
std::vector<uint8_t> Retime(const MidiFile& file)
{
    const int from = file.GetTimeBase();
    SmfBuilder smf(file.GetFormat(), 480);
    for (int t = 0; t < file.GetTrackCount(); ++t) {
        int track = smf.AddTrack();
        const MidiTrack* source = file.GetTrack(t);
        long long written = 0;
        for (MidiTrack::Position p = source->GetPosition(0); p != source->GetPosition(1); ++p) {
            const long long time = std::llround(static_cast<double>((*p)->GetTime()) * 480 / from);
            const unsigned char* data = (*p)->GetData();
            smf.AddRaw(track, static_cast<uint32_t>(time - written),
                       std::vector<uint8_t>(data, data + (*p)->GetLength()));
            written = time;
        }
    }
    return smf.Build();
}

struct Placed {
    long long start;
    long long end;
    int key;
    int voice;
};

// Notes of the first voices and steps within voices, from lists as built.
void Judge(NoteListSet& set, Tally& tally)
{
    for (int i = 0; i < set.GetCount();) {
        NoteList& first = *set.GetList(i);
        std::vector<Placed> notes;
        int j = i;
        for (; j < set.GetCount(); ++j) {
            NoteList& list = *set.GetList(j);
            if (list.GetTrackIndex() != first.GetTrackIndex() || list.GetChannel() != first.GetChannel())
                break;
            long long now = 0;
            int previous = -1;
            for (NoteList::Position p = list.Begin(); p != list.End(); ++p) {
                if (p->IsNote()) {
                    notes.push_back({ now, now + p->GetLength(), p->GetNote(), list.GetVoice() });
                    if (previous >= 0) {
                        tally.steps += std::abs(p->GetNote() - previous);
                        ++tally.stepCount;
                    }
                    previous = p->GetNote();
                }
                now += p->GetLength();
            }
        }
        std::sort(notes.begin(), notes.end(),
                  [](const Placed& a, const Placed& b) { return a.start < b.start; });
        // At each first-voice note's start, is it the top key sounding?
        for (const Placed& note : notes) {
            if (note.voice != 0)
                continue;
            ++tally.firstVoice;
            bool top = true;
            for (const Placed& other : notes) {
                if (other.start > note.start)
                    break;
                if (other.end > note.start && other.key > note.key)
                    top = false;
            }
            if (top)
                ++tally.topHeld;
        }
        i = j;
    }
}

bool g_skipDrums = false; // --no-drums: channel 10's lists are not counted

bool Counted(const NoteList& list)
{
    return !(g_skipDrums && list.GetChannel() == 9);
}

Tally Measure(const MidiFile& file, int voices, int span, int resolution, bool judge)
{
    Tally tally;
    NoteValueTable values;
    NoteListBuilder builder;
    ConvertSettings every;
    every.SetVoiceCount(ConvertSettings::kMaxVoiceCount);
    NoteListSet all;
    builder.BuildNoteLists(file, every, all);
    for (int i = 0; i < all.GetCount(); ++i) {
        NoteList& list = *all.GetList(i);
        if (!Counted(list))
            continue;
        tally.played += list.GetDroppedNoteCount();
        for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
            tally.played += p->IsNote();
    }

    ConvertSettings settings;
    settings.SetVoiceCount(voices);
    builder.SetChordSpan(span);
    NoteListSet set;
    builder.BuildQuantizedNoteLists(file, settings, set,
                                    values.GetTicksAt(resolution, file.GetTimeBase()));
    tally.lists = set.GetCount();
    for (int i = 0; i < set.GetCount(); ++i) {
        NoteList& list = *set.GetList(i);
        if (!Counted(list))
            continue;
        tally.dropped += list.GetDroppedNoteCount();
        for (NoteList::Position p = list.Begin(); p != list.End(); ++p)
            (i < kPartLimit ? tally.kept : tally.beyond) += p->IsNote();
    }
    if (judge) {
        NoteListSet raw;
        builder.BuildNoteLists(file, settings, raw);
        Judge(raw, tally);
    }
    return tally;
}

double Percent(long long part, long long whole)
{
    return whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

// One row: the kept shares with one voice and with V at both grids, then of
// V at the finest grid the lists, the first voice's top share, the mean key
// step, and where the notes that did not reach the program went.
void Print(const char* name, const Tally t[4])
{
    const Tally& v = t[1];
    std::printf("%-28s %7lld %6.1f %6.1f %6.1f %6.1f %5d %6.1f %6.2f %6.2f %6.2f %6.2f\n", name,
                t[0].played, Percent(t[0].kept, t[0].played), Percent(v.kept, v.played),
                Percent(t[2].kept, t[2].played), Percent(t[3].kept, t[3].played), v.lists,
                Percent(v.topHeld, v.firstVoice),
                v.stepCount ? static_cast<double>(v.steps) / static_cast<double>(v.stepCount) : 0.0,
                Percent(v.dropped, v.played), Percent(v.beyond, v.played),
                Percent(v.played - v.kept - v.dropped - v.beyond, v.played));
}

} // namespace

int main(int argc, char** argv)
{
    int voices = 6;
    int span = 1;
    int generated = 0;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--voices") == 0 && i + 1 < argc)
            voices = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--span") == 0 && i + 1 < argc)
            span = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--no-drums") == 0)
            g_skipDrums = true;
        else if (std::strcmp(argv[i], "--generated") == 0 && i + 1 < argc)
            generated = std::atoi(argv[++i]);
        else
            paths.push_back(argv[i]);
    }
    std::vector<std::pair<std::string, std::vector<uint8_t>>> images;
    for (const char* path : paths)
        images.push_back({ path, ReadFile(path) });
    for (int seed = 1; seed <= generated; ++seed) {
        SongGenerator song;
        song.SetSeed(static_cast<uint32_t>(seed));
        song.SetHumanTiming(true);
        song.SetTrackCount(4);
        images.push_back({ "generated seed " + std::to_string(seed), song.Build(20000) });
    }

    std::printf("%-28s %7s %6s %6s %6s %6s %5s %6s %6s %6s %6s %6s\n", "file", "notes", "1@192",
                "V@192", "1@32", "V@32", "lists", "top%", "step", "drop%", "past18", "grid%");
    Tally sums[4];
    Converter converter;
    for (auto& entry : images) {
        MidiFile* file = converter.LoadMidiFile(entry.second.data(), entry.second.size());
        if (!file) {
            std::printf("%-40s not a MIDI file\n", entry.first.c_str());
            continue;
        }
        if (!converter.IsSupportedTimeBase(file->GetTimeBase())) {
            std::vector<uint8_t> image = Retime(*file);
            converter.FreeMidiFile(file);
            file = converter.LoadMidiFile(image.data(), image.size());
        }
        Tally t[4] = {
            Measure(*file, 1, span, kFinestResolution, false),
            Measure(*file, voices, span, kFinestResolution, true),
            Measure(*file, 1, span, kDefaultResolution, false),
            Measure(*file, voices, span, kDefaultResolution, false),
        };
        for (int k = 0; k < 4; ++k)
            sums[k].Add(t[k]);
        std::string name = entry.first.substr(entry.first.find_last_of('/') + 1);
        Print(name.c_str(), t);
        converter.FreeMidiFile(file);
    }
    Print("all", sums);
    return 0;
}
