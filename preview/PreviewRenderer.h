#ifndef MORVEK_PREVIEW_PREVIEWRENDERER_H
#define MORVEK_PREVIEW_PREVIEWRENDERER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "preview/PreviewTempo.h"
#include "score/ProgramNote.h"

// Turns the parts of a program into sound the way the era's sound chips made
// it: one square-wave voice per part at equal temperament (A4 = 440 Hz, key
// 69), every part at the same fixed level, mixed into 16-bit mono PCM at
// 44,100 Hz. A note rises and falls over a few milliseconds inside its own
// length, so that notes do not click and a note ends where its ticks end; a
// rest is silence. Each part's level is full scale shared by the part count,
// so any number of parts sounding at once never clips.
//
// Every note's first and last sample come from its own tick position through
// the tempo, never from the sum of the lengths before it: the music ends
// within half a sample of its exact time however long it is.
//
// Render makes the whole sound at once; Begin and RenderNext make the same
// samples a window at a time, so that a long preview can go to a file
// without ever being held whole.
class PreviewRenderer {
public:
    enum {
        kRenderOk = 0,
        kRenderBadTimeBase = 1,                      // not 1..32767
        kRenderBadNote = 2,                          // key, start or length out of range, or overlapping
        kRenderTooLong = 3,                          // more samples than kLargestSampleCount
        kRenderNoMemory = 4
    };

    static constexpr int kSampleRate = 44100;
    static constexpr int kFullScale = 32767;
    // 3 ms of rise and of fall; a note shorter than both shares its length.
    static constexpr int kRampSamples = 132;
    static constexpr int kRestKey = 128;
    // The most samples a WAV file can hold in 16-bit mono.
    static constexpr long long kLargestSampleCount = (0xFFFFFFFFLL - 36) / 2;

// Construction
    PreviewRenderer();
    virtual ~PreviewRenderer();
    PreviewRenderer(const PreviewRenderer&) = delete;
    PreviewRenderer& operator=(const PreviewRenderer&) = delete;

// Attributes
    // Returns the tempo it replaces.
    virtual PreviewTempo SetTempo(const PreviewTempo& tempo);
    virtual const PreviewTempo& GetTempo() const;
    // The level of one part's square wave when partCount parts are mixed.
    virtual int GetPartLevel(size_t partCount) const;
    // The sample at which tick lies; PreviewTempo::kTooLate past the largest.
    virtual long long GetSamplePosition(long long tick, int timeBase) const;

// Operations
    // Renders parts (each in time order, notes and rests not overlapping,
    // ticks of timeBase) into samples, which then hold exactly as many
    // samples as the longest part lasts. On failure samples is empty.
    virtual int Render(const std::vector<std::vector<ProgramNote>>& parts, int timeBase,
                       std::vector<int16_t>& samples) const;
    // Checks parts as Render does and starts rendering them from the first
    // sample. The parts are not copied: they must stay as they are until the
    // last RenderNext.
    virtual int Begin(const std::vector<std::vector<ProgramNote>>& parts, int timeBase);
    // The samples of the parts given to the last successful Begin, and how
    // many of them RenderNext has given.
    virtual long long GetSampleCount() const;
    virtual long long GetSamplesDone() const;
    // Puts the next samples, at most count, into samples; returns how many
    // (0 once all are given).
    virtual size_t RenderNext(int16_t* samples, size_t count);

private:
    // Checks parts and counts their samples into count.
    int Measure(const std::vector<std::vector<ProgramNote>>& parts, int timeBase,
                long long& count) const;
    // Adds to steps[0, hi - lo) the differences that one note's square wave
    // makes at samples lo..hi-1 of the mix; the note lasts from first to end.
    // rise: the envelope of a whole ramp at level, kRampSamples values.
    void AddNote(uint16_t* steps, long long lo, long long hi, long long first, long long end,
                 int key, int level, const int* rise) const;

    PreviewTempo m_tempo;
    // The rendering Begin started: its parts, their first note still
    // sounding at m_done, the running sum of the differences so far.
    const std::vector<std::vector<ProgramNote>>* m_parts;
    std::vector<size_t> m_cursors;
    int m_timeBase;
    long long m_count;
    long long m_done;
    uint16_t m_sum;
    uint64_t m_phaseSteps[128];                      // per key: periods per sample, 32 fraction bits
};

#endif
