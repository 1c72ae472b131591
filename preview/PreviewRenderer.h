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

private:
    // Adds one note's square wave to the differences of the mix.
    // rise: the envelope of a whole ramp at level, kRampSamples values.
    void AddNote(uint16_t* steps, long long first, long long end, int key, int level,
                 const int* rise) const;

    PreviewTempo m_tempo;
    uint64_t m_phaseSteps[128];                      // per key: periods per sample, 32 fraction bits
};

#endif
