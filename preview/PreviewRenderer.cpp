#include "preview/PreviewRenderer.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

// The mix is built as differences: a note adds the change of its value at
// every sample of its rise and fall and at every edge of the square wave in
// between, and one running sum over the whole mix turns the differences into
// samples. A note then costs its edges, not its samples. The arithmetic is
// modulo 2^16: every true sum lies inside the 16-bit range, so the wrapped
// running sum gives exactly the true samples. A window of the mix takes the
// differences that fall inside it and carries the running sum on, so the
// windows together give the same samples as the whole.

namespace {

// The envelope of a whole ramp at level, kRampSamples values.
void BuildRise(int level, int* rise)
{
    for (int j = 0; j < PreviewRenderer::kRampSamples; ++j)
        rise[j] = level * (j + 1) / (PreviewRenderer::kRampSamples + 1);
}

}  // namespace

PreviewRenderer::PreviewRenderer()
    : m_parts(nullptr), m_timeBase(1), m_count(0), m_done(0), m_sum(0)
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

int PreviewRenderer::Measure(const std::vector<std::vector<ProgramNote>>& parts, int timeBase,
                             long long& count) const
{
    count = 0;
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
    count = GetSamplePosition(endTick, timeBase);
    if (count == PreviewTempo::kTooLate) {
        count = 0;
        return kRenderTooLong;
    }
    return kRenderOk;
}

int PreviewRenderer::Render(const std::vector<std::vector<ProgramNote>>& parts, int timeBase,
                            std::vector<int16_t>& samples) const
{
    samples.clear();
    long long count = 0;
    const int result = Measure(parts, timeBase, count);
    if (result != kRenderOk)
        return result;

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
    BuildRise(level, rise);
    for (const std::vector<ProgramNote>& part : parts) {
        for (const ProgramNote& note : part) {
            if (note.key != kRestKey)
                AddNote(steps, 0, count + 1, GetSamplePosition(note.start, timeBase),
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

int PreviewRenderer::Begin(const std::vector<std::vector<ProgramNote>>& parts, int timeBase)
{
    m_parts = nullptr;
    m_cursors.clear();
    m_count = 0;
    m_done = 0;
    m_sum = 0;
    long long count = 0;
    const int result = Measure(parts, timeBase, count);
    if (result != kRenderOk)
        return result;
    try {
        m_cursors.assign(parts.size(), 0);
    } catch (const std::bad_alloc&) {
        return kRenderNoMemory;
    }
    m_parts = &parts;
    m_timeBase = timeBase;
    m_count = count;
    return kRenderOk;
}

long long PreviewRenderer::GetSampleCount() const
{
    return m_count;
}

long long PreviewRenderer::GetSamplesDone() const
{
    return m_done;
}

size_t PreviewRenderer::RenderNext(int16_t* samples, size_t count)
{
    if (m_parts == nullptr || m_done >= m_count || count == 0)
        return 0;
    const long long lo = m_done;
    const long long left = m_count - lo;
    const long long hi = lo + (static_cast<unsigned long long>(left) < count ? left : static_cast<long long>(count));
    const size_t size = static_cast<size_t>(hi - lo);
    uint16_t* steps = reinterpret_cast<uint16_t*>(samples);
    std::fill(steps, steps + size, static_cast<uint16_t>(0));
    const int level = GetPartLevel(m_parts->size());
    int rise[kRampSamples];
    BuildRise(level, rise);
    for (size_t p = 0; p < m_parts->size(); ++p) {
        const std::vector<ProgramNote>& part = (*m_parts)[p];
        for (size_t n = m_cursors[p]; n < part.size(); ++n) {
            const ProgramNote& note = part[n];
            const long long first = GetSamplePosition(note.start, m_timeBase);
            if (first >= hi)
                break;
            const long long end = GetSamplePosition(note.start + note.length, m_timeBase);
            // A note whose last difference (at end) lies in this window is done.
            if (end < hi)
                m_cursors[p] = n + 1;
            if (note.key != kRestKey)
                AddNote(steps, lo, hi, first, end, note.key, level, rise);
        }
    }
    uint16_t sum = m_sum;
    for (size_t i = 0; i < size; ++i) {
        sum = static_cast<uint16_t>(sum + steps[i]);
        steps[i] = sum;
    }
    m_sum = sum;
    m_done = hi;
    return size;
}

void PreviewRenderer::AddNote(uint16_t* steps, long long lo, long long hi, long long first,
                              long long end, int key, int level, const int* rise) const
{
    const long long length = end - first;
    if (length <= 0)
        return;
    // The phase in half periods is (j * phaseStep) >> 31 at sample j of the
    // note: high in even halves, low in odd ones. A step below half a period
    // a sample (every key up to 127) never skips an edge.
    const uint64_t phaseStep = m_phaseSteps[key];
    const long long ramp = length / 2 < kRampSamples ? length / 2 : kRampSamples;
    // The window in the note's own samples. Differences outside it are not
    // written, but each still sets the value the next one starts from.
    const long long from = lo - first;
    const long long to = hi - first;
    int previous = 0;
    auto put = [&](long long j, int value) {
        if (j >= from && j < to)
            steps[j - from] = static_cast<uint16_t>(steps[j - from] + static_cast<uint16_t>(value - previous));
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
        // Between the ramps only the edges change the value; a window that
        // opens later starts from the value just before it.
        long long start = from - 1 > ramp ? from - 1 : ramp;
        if (start > fall - 1)
            start = fall - 1;
        put(start, valueAt(start, level));
        uint64_t half = (static_cast<uint64_t>(start) * phaseStep) >> 31;
        for (;;) {
            ++half;
            const long long edge = static_cast<long long>(((half << 31) + phaseStep - 1) / phaseStep);
            if (edge >= fall)
                break;
            if (edge >= to)
                return;
            put(edge, half & 1 ? -level : level);
        }
    }
    if (fall >= to)
        return;
    for (long long j = fall; j < length; ++j)
        put(j, valueAt(j, envelope(length - j - 1)));
    put(length, 0);
}
