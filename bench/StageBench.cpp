// stage_bench: the stages of one conversion timed one by one on generated
// songs (Google Benchmark): the SMF reader, the note-list builder (plain and
// quantizing on the way, as a conversion does), the three passes, the MML
// writer and the PLAY lines built from it. Items are the events of the song, so the
// items_per_second columns of the stages can be compared directly. Then the
// audio preview: ten minutes of music in 18 parts rendered to samples, and
// put into a WAV image (items are samples there).
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Converter.h"
#include "gen/SongGenerator.h"
#include "midi/MidiFile.h"
#include "preview/PreviewRenderer.h"
#include "preview/WavWriter.h"
#include "score/MmlWriter.h"
#include "score/NoteList.h"
#include "score/NoteListBuilder.h"
#include "settings/ConvertSettings.h"
#include "score/NoteListSet.h"

namespace {

const int kTimeBase = 480;
const int kUnit = 60;                                // a 32nd note at 480, the default resolution
const int kSplit = 4 * kTimeBase;                    // the default split step count

struct Song {
    std::vector<uint8_t> image;
    long events = 0;
    std::unique_ptr<MidiFile> file;
};

// Songs are made once per size and shared by every benchmark.
const Song& SongOf(long events)
{
    static std::map<long, std::unique_ptr<Song>> songs;
    std::unique_ptr<Song>& song = songs[events];
    if (!song) {
        song.reset(new Song);
        SongGenerator generator;
        song->image = generator.Build(events);
        song->events = generator.GetEventCount();
        song->file.reset(new MidiFile);
        song->file->Build(song->image.data(), static_cast<unsigned long>(song->image.size()));
    }
    return *song;
}

enum Stage { kBuilt, kQuantized, kSegmented, kDecomposed };

// A fresh set brought up to the stage before the one being timed, made as a
// conversion makes it: quantized while it is built.
std::unique_ptr<NoteListSet> SetAt(const Song& song, Stage stage)
{
    std::unique_ptr<NoteListSet> set(new NoteListSet);
    NoteListBuilder builder;
    if (stage >= kQuantized)
        builder.BuildQuantizedNoteLists(*song.file, ConvertSettings(), *set, kUnit);
    else
        builder.BuildNoteLists(*song.file, ConvertSettings(), *set);
    for (int i = 0; i < set->GetCount(); ++i) {
        NoteList* list = set->GetList(i);
        if (stage >= kSegmented)
            list->SplitIntoSegments(kSplit);
        if (stage >= kDecomposed)
            list->Decompose(kTimeBase);
    }
    return set;
}

void Finish(benchmark::State& state, const Song& song)
{
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * song.events);
    state.counters["events"] = static_cast<double>(song.events);
}

void BM_ReadFile(benchmark::State& state)
{
    const Song& song = SongOf(state.range(0));
    for (auto _ : state) {
        MidiFile file;
        int result = file.Build(song.image.data(), static_cast<unsigned long>(song.image.size()));
        benchmark::DoNotOptimize(result);
    }
    Finish(state, song);
}

// Times build(builder, file, set) into a new set with a new builder.
template <typename Build>
void TimeBuild(benchmark::State& state, Build build)
{
    const Song& song = SongOf(state.range(0));
    for (auto _ : state) {
        NoteListSet set;
        NoteListBuilder builder;
        benchmark::DoNotOptimize(build(builder, *song.file, set));
    }
    Finish(state, song);
}

void BM_BuildNoteLists(benchmark::State& state)
{
    TimeBuild(state, [](NoteListBuilder& builder, const MidiFile& file, NoteListSet& set) {
        return builder.BuildNoteLists(file, ConvertSettings(), set);
    });
}

// The lists as a conversion builds them: quantized on the way.
void BM_BuildQuantizedNoteLists(benchmark::State& state)
{
    TimeBuild(state, [](NoteListBuilder& builder, const MidiFile& file, NoteListSet& set) {
        return builder.BuildQuantizedNoteLists(file, ConvertSettings(), set, kUnit);
    });
}

// Times one pass over every list of a set that is prepared (and freed)
// outside the clock.
template <Stage Before, typename Pass>
void TimePass(benchmark::State& state, Pass pass)
{
    const Song& song = SongOf(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<NoteListSet> set = SetAt(song, Before);
        state.ResumeTiming();
        for (int i = 0; i < set->GetCount(); ++i)
            benchmark::DoNotOptimize(pass(*set->GetList(i)));
        state.PauseTiming();
        set.reset();
        state.ResumeTiming();
    }
    Finish(state, song);
}

void BM_Quantize(benchmark::State& state)
{
    TimePass<kBuilt>(state, [](NoteList& list) { return list.Quantize(kUnit); });
}

void BM_SplitIntoSegments(benchmark::State& state)
{
    TimePass<kQuantized>(state, [](NoteList& list) { return list.SplitIntoSegments(kSplit); });
}

void BM_Decompose(benchmark::State& state)
{
    TimePass<kSegmented>(state, [](NoteList& list) { return list.Decompose(kTimeBase); });
}

// One writer per list, set up as a conversion sets it up.
std::unique_ptr<MmlWriter[]> WritersFor(NoteListSet& set)
{
    std::unique_ptr<MmlWriter[]> writers(new MmlWriter[static_cast<size_t>(set.GetCount())]);
    for (int i = 0; i < set.GetCount(); ++i) {
        writers[static_cast<size_t>(i)].SetListOrdinal(i);
        writers[static_cast<size_t>(i)].SetOctave(4);
        writers[static_cast<size_t>(i)].SetDefaultValue(set.GetMostFrequentBaseValue(i));
    }
    return writers;
}

// The MML writer alone: every segment of every list, a list at a time.
void BM_WriteMml(benchmark::State& state)
{
    const Song& song = SongOf(state.range(0));
    std::unique_ptr<NoteListSet> set = SetAt(song, kDecomposed);
    size_t bytes = 0;
    for (auto _ : state) {
        std::unique_ptr<MmlWriter[]> writers = WritersFor(*set);
        std::string text;
        bytes = 0;
        for (int i = 0; i < set->GetCount(); ++i) {
            MmlWriter& writer = writers[static_cast<size_t>(i)];
            writer.Attach(*set, i);
            for (int k = 0; k < set->GetSegmentCount(i); ++k) {
                writer.WriteSegment(*set, i, text, k == 0 ? 14 : 0);
                bytes += text.size();
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["mml_bytes"] = static_cast<double>(bytes);
    Finish(state, song);
}

// The PLAY lines of every list, as a conversion builds them.
void BM_BuildPlayLines(benchmark::State& state)
{
    const Song& song = SongOf(state.range(0));
    std::unique_ptr<NoteListSet> set = SetAt(song, kDecomposed);
    Converter converter;
    size_t bytes = 0;
    for (auto _ : state) {
        std::unique_ptr<MmlWriter[]> writers = WritersFor(*set);
        std::string text = converter.BuildPlayLines(*set, writers.get(), set->GetCount(), 1100, 10, "PLAY");
        bytes = text.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["text_bytes"] = static_cast<double>(bytes);
    Finish(state, song);
}

// Ten minutes at 120 quarter notes a minute in 18 parts: sixteenth notes
// climbing and falling over two octaves, a rest every fourth, each part a
// step above the one before.
std::vector<std::vector<ProgramNote>> TenMinutesInEighteenParts()
{
    const long long sixteenth = kTimeBase / 4;
    const long long end = 10LL * 120 * kTimeBase;
    std::vector<std::vector<ProgramNote>> parts(18);
    for (int p = 0; p < 18; ++p) {
        int i = 0;
        for (long long tick = 0; tick < end; tick += sixteenth, ++i) {
            const int key = i % 4 == 3 ? PreviewRenderer::kRestKey : 36 + p + (i % 48 < 24 ? i % 24 : 24 - i % 24);
            parts[static_cast<size_t>(p)].push_back({ key, tick, sixteenth });
        }
    }
    return parts;
}

void BM_RenderPreview(benchmark::State& state)
{
    const std::vector<std::vector<ProgramNote>> parts = TenMinutesInEighteenParts();
    PreviewRenderer renderer;
    std::vector<int16_t> samples;
    for (auto _ : state)
        benchmark::DoNotOptimize(renderer.Render(parts, kTimeBase, samples));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(samples.size()));
    state.counters["seconds"] = static_cast<double>(samples.size()) / PreviewRenderer::kSampleRate;
}

void BM_RenderPreviewToWav(benchmark::State& state)
{
    const std::vector<std::vector<ProgramNote>> parts = TenMinutesInEighteenParts();
    PreviewRenderer renderer;
    WavWriter writer;
    std::vector<int16_t> samples;
    std::string image;
    for (auto _ : state) {
        renderer.Render(parts, kTimeBase, samples);
        benchmark::DoNotOptimize(writer.Write(samples.data(), samples.size(), image));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(samples.size()));
    state.counters["wav_bytes"] = static_cast<double>(image.size());
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReadFile)->Apply(Sizes);
BENCHMARK(BM_BuildNoteLists)->Apply(Sizes);
BENCHMARK(BM_BuildQuantizedNoteLists)->Apply(Sizes);
BENCHMARK(BM_Quantize)->Apply(Sizes);
BENCHMARK(BM_SplitIntoSegments)->Apply(Sizes);
BENCHMARK(BM_Decompose)->Apply(Sizes);
BENCHMARK(BM_WriteMml)->Apply(Sizes);
BENCHMARK(BM_BuildPlayLines)->Apply(Sizes);
BENCHMARK(BM_RenderPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPreviewToWav)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
