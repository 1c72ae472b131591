#include "preview/PreviewRenderer.h"

#include <cmath>
#include <new>
#include <stdexcept>

// The mix is built as differences: a note adds the change of its value at
// every sample of its rise and fall and at every edge of the square wave in
// between, and one running sum over the whole mix turns the differences into
// samples. A note then costs its edges, not its samples. The arithmetic is
// modulo 2^16: every true sum lies inside the 16-bit range, so the wrapped
// running sum gives exactly the true samples.

PreviewRenderer::PreviewRenderer()
{
    for (int key = 0; key < 128; ++key) {
        const double hertz = 440.0 * std::pow(2.0, (key - 69) / 12.0);
        m_phaseSteps[key] = static_cast<uint64_t>(std::llround(hertz * 4294967296.0 / kSampleRate));
    }
}

PreviewRenderer::~PreviewRenderer()
{
}

PreviewTempo PreviewRenderer::SetTempo(const PreviewTempo& tempo)
{
    PreviewTempo previous = m_tempo;
    m_tempo = tempo;
    return previous;
}

const PreviewTempo& PreviewRenderer::GetTempo() const
{
    return m_tempo;
}

int PreviewRenderer::GetPartLevel(size_t partCount) const
{
    return partCount <= 1 ? kFullScale : static_cast<int>(kFullScale / partCount);
}

long long PreviewRenderer::GetSamplePosition(long long tick, int timeBase) const
{
    return m_tempo.GetSamplePosition(tick, timeBase, kSampleRate, kLargestSampleCount);
}

int PreviewRenderer::Render(const std::vector<std::vector<ProgramNote>>& parts, int timeBase,
                            std::vector<int16_t>& samples) const
{
    samples.clear();
    if (timeBase < 1 || timeBase > 32767)
        return kRenderBadTimeBase;

    long long endTick = 0;
    for (const std::vector<ProgramNote>& part : parts) {
        long long partEnd = 0;
        for (const ProgramNote& note : part) {
            if (note.key < 0 || note.key > kRestKey || note.start < partEnd || note.length < 0 ||
                note.length > (1LL << 62) - note.start)
                return kRenderBadNote;
            partEnd = note.start + note.length;
        }
        if (partEnd > endTick)
            endTick = partEnd;
    }
    const long long count = GetSamplePosition(endTick, timeBase);
    if (count == PreviewTempo::kTooLate)
        return kRenderTooLong;

    // One more than the samples: the step back to silence after the last
    // note. The caller's buffer is reused when it is large enough.
    try {
        samples.assign(static_cast<size_t>(count) + 1, 0);
    } catch (const std::bad_alloc&) {
        samples.clear();
        return kRenderNoMemory;
    } catch (const std::length_error&) {
        samples.clear();
        return kRenderNoMemory;
    }
    // int16_t and uint16_t may alias; the differences wrap as unsigned.
    uint16_t* steps = reinterpret_cast<uint16_t*>(samples.data());
    const int level = GetPartLevel(parts.size());
    int rise[kRampSamples];
    for (int j = 0; j < kRampSamples; ++j)
        rise[j] = level * (j + 1) / (kRampSamples + 1);
    for (const std::vector<ProgramNote>& part : parts) {
        for (const ProgramNote& note : part) {
            if (note.key != kRestKey)
                AddNote(steps, GetSamplePosition(note.start, timeBase),
                        GetSamplePosition(note.start + note.length, timeBase), note.key, level, rise);
        }
    }
    uint16_t sum = 0;
    for (long long i = 0; i < count; ++i) {
        sum = static_cast<uint16_t>(sum + steps[i]);
        steps[i] = sum;
    }
    samples.pop_back();
    return kRenderOk;
}

void PreviewRenderer::AddNote(uint16_t* steps, long long first, long long end, int key,
                              int level, const int* rise) const
{
    const long long length = end - first;
    if (length <= 0)
        return;
    // The phase in half periods is (j * phaseStep) >> 31 at sample j of the
    // note: high in even halves, low in odd ones. A step below half a period
    // a sample (every key up to 127) never skips an edge.
    const uint64_t phaseStep = m_phaseSteps[key];
    const long long ramp = length / 2 < kRampSamples ? length / 2 : kRampSamples;
    uint16_t* at = steps + first;
    int previous = 0;
    auto put = [&](long long j, int value) {
        at[j] = static_cast<uint16_t>(at[j] + static_cast<uint16_t>(value - previous));
        previous = value;
    };
    auto valueAt = [&](long long j, int envelope) {
        return ((static_cast<uint64_t>(j) * phaseStep) >> 31) & 1 ? -envelope : envelope;
    };

    // The envelope: rise[] when the note has room for whole ramps.
    auto envelope = [&](long long step) {
        return ramp == kRampSamples ? rise[step] : static_cast<int>(level * (step + 1) / (ramp + 1));
    };
    for (long long j = 0; j < ramp; ++j)
        put(j, valueAt(j, envelope(j)));
    const long long fall = length - ramp;
    if (ramp < fall) {
        put(ramp, valueAt(ramp, level));
        uint64_t half = (static_cast<uint64_t>(ramp) * phaseStep) >> 31;
        for (;;) {
            ++half;
            const long long edge = static_cast<long long>(((half << 31) + phaseStep - 1) / phaseStep);
            if (edge >= fall)
                break;
            put(edge, half & 1 ? -level : level);
        }
    }
    for (long long j = fall; j < length; ++j)
        put(j, valueAt(j, envelope(length - j - 1)));
    put(length, 0);
}
