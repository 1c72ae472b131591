#include "score/LineFitter.h"

#include "score/NoteListSet.h"

#include <algorithm>
#include <climits>
#include <cstdint>

LineFitter::LineFitter()
    : m_limit(255)
    , m_segmentTicks(1920)
    , m_gridTicks(1)
    , m_timeBase(NoteValueTable::kBaseTimeBase)
    , m_maxLineCount(1000000)
{
    SetTimeBase(m_timeBase);
    MakeWidths();
}

LineFitter::~LineFitter()
{
}

int LineFitter::SetLimit(int characters)
{
    const int previous = m_limit;
    m_limit = characters;
    return previous;
}

int LineFitter::GetLimit() const
{
    return m_limit;
}

int LineFitter::SetSegmentTicks(int ticks)
{
    const int previous = m_segmentTicks;
    m_segmentTicks = ticks < 1 ? 1 : ticks;
    return previous;
}

int LineFitter::GetSegmentTicks() const
{
    return m_segmentTicks;
}

int LineFitter::SetGridTicks(int ticks)
{
    const int previous = m_gridTicks;
    m_gridTicks = ticks < 1 ? 1 : ticks;
    return previous;
}

int LineFitter::GetGridTicks() const
{
    return m_gridTicks;
}

int LineFitter::SetTimeBase(int timeBase)
{
    const int previous = m_timeBase;
    m_timeBase = timeBase;
    int factor = timeBase / NoteValueTable::kBaseTimeBase;
    if (factor < 1)
        factor = 1;
    NoteValueTable table;
    for (int i = 0; i < NoteValueTable::kValueCount; ++i)
        m_ticks[i] = table.GetTicks(i) * factor;
    return previous;
}

int LineFitter::GetTimeBase() const
{
    return m_timeBase;
}

long long LineFitter::SetMaxLineCount(long long count)
{
    const long long previous = m_maxLineCount;
    m_maxLineCount = count;
    return previous;
}

long long LineFitter::GetMaxLineCount() const
{
    return m_maxLineCount;
}

const std::vector<long long>& LineFitter::GetWideLines() const
{
    return m_wideLines;
}

int LineFitter::GetDefaultValue(NoteList& list) const
{
    // The pieces the split and the decomposition would make, counted
    // without making them.
    NoteValueTable table;
    int baseOf[NoteValueTable::kValueCount];
    for (int i = 0; i < NoteValueTable::kValueCount; ++i)
        baseOf[i] = table.GetBaseValue(i);
    long long counts[NoteValueTable::kValueCount] = {};
    long long start = 0;
    for (NoteList::Position r = list.Begin(); r != list.End(); ++r) {
        const long long end = start + r->GetLength();
        long long from = start;
        do {
            const long long cut = std::min(end, (from / m_segmentTicks + 1) * m_segmentTicks);
            long long length = cut - from;
            int index = 0;
            for (;;) {
                index = DecomposeStep(static_cast<int>(length), m_ticks, NoteValueTable::kValueCount,
                                      index);
                ++counts[baseOf[index]];
                if (length <= m_ticks[index])
                    break;
                length -= m_ticks[index];
            }
            from = cut;
        } while (from < end);
        start = end;
    }
    int best = 0;
    for (int i = 1; i < NoteValueTable::kValueCount; ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return best;
}

int LineFitter::FitLines(NoteListSet& set, const std::vector<int>& ordinals,
                         const std::vector<int>& defaults, const FrameWidth& frame,
                         std::vector<int>& ends)
{
    ends.clear();
    m_wideLines.clear();
    std::vector<Part> parts;
    long long total = 0;
    for (size_t p = 0; p < ordinals.size(); ++p) {
        NoteList* list = set.GetList(ordinals[p]);
        if (!list)
            continue;
        Part part = { list, list->Begin(), 0, 4, p < defaults.size() ? defaults[p] : 0 };
        parts.push_back(part);
        total = std::max(total, static_cast<long long>(list->GetTotalTicks()));
    }
    long long from = 0;
    for (long long line = 0; from < total; ++line) {
        if (line >= m_maxLineCount)
            return kFitTooManyLines;
        int base = frame(line);
        if (line == 0) {
            for (const Part& part : parts)
                base += MeasureFirstCommands(part);
        }
        bool wide = false;
        const long long to = FitLine(parts, from, std::min(total, from + m_segmentTicks), base, wide);
        if (wide)
            m_wideLines.push_back(line);
        ends.push_back(static_cast<int>(to));
        from = to;
    }
    return kFitOk;
}

long long LineFitter::FitLine(std::vector<Part>& parts, long long from, long long end, int base,
                              bool& wide)
{
    // The records that end by a grid point only add characters, so the walk
    // forward stops where they alone are too wide, keeping where each part
    // stands at every point. Reaching the segment's end, the whole segment
    // is tried first: most lines fit, and then nothing is cut. Otherwise the
    // latest point whose line, the records crossing it included, fits is
    // taken.
    const size_t count = parts.size();
    m_trial = parts;
    m_points.clear();
    m_stands.clear();
    long long wholeWidth = base;
    const long long first = (from / m_gridTicks + 1) * m_gridTicks;
    long long g = first;
    for (; g < end; g += m_gridTicks) {
        for (Part& part : m_trial)
            wholeWidth += AdvanceWhole(part, from, g);
        if (wholeWidth > m_limit)
            break;
        m_points.push_back(std::make_pair(g, wholeWidth));
        m_stands.insert(m_stands.end(), m_trial.begin(), m_trial.end());
    }
    if (g >= end) {
        long long whole = wholeWidth;
        for (Part& part : m_trial) {
            whole += Advance(part, from, end);
            if (whole > m_limit)
                break;
        }
        if (whole <= m_limit) {
            parts.swap(m_trial);
            return end;
        }
    }
    long long width = 0;
    for (size_t k = m_points.size(); k-- > 0;) {
        width = m_points[k].second;
        for (size_t p = 0; p < count && width <= m_limit; ++p) {
            Part copy = m_stands[k * count + p];
            width += Advance(copy, from, m_points[k].first);
        }
        if (width <= m_limit) {
            // Only the records that cross the cut are left to go over.
            parts.assign(m_stands.begin() + static_cast<long>(k * count),
                         m_stands.begin() + static_cast<long>((k + 1) * count));
            for (Part& part : parts)
                Advance(part, from, m_points[k].first);
            return m_points[k].first;
        }
    }
    wide = true;
    const long long step = first < end ? first : end;
    for (Part& part : parts)
        Advance(part, from, step);
    return step;
}

int LineFitter::AdvanceWhole(Part& part, long long from, long long to)
{
    int width = 0;
    while (part.position != part.list->End()) {
        const long long end = part.start + part.position->GetLength();
        if (end > to)
            break;
        width += Advance(part, from, end);
    }
    return width;
}

int LineFitter::Advance(Part& part, long long from, long long to)
{
    int width = 0;
    const NoteList::Position last = part.list->End();
    while (part.position != last) {
        const NoteRecord& record = *part.position;
        const long long end = part.start + record.GetLength();
        const long long begin = std::max(part.start, from);
        if (begin >= to)
            break;
        // As the split leaves it: a record cut at the line start lost its
        // own tie to the first piece; one cut at the line end is tied over.
        const bool crosses = end > to;
        const bool tied = (begin == part.start && record.IsTied()) || (crosses && record.IsNote());
        width += Measure(part, record.GetNote(), std::min(end, to) - begin, tied);
        if (crosses)
            break;
        part.start = end;
        ++part.position;
    }
    return width;
}

int LineFitter::Measure(Part& part, int note, long long length, bool tied)
{
    // Piece by piece as the writer writes them: octave marks before the
    // first, the name, the length unless it is the default, "&" when tied.
    // The widths of names and lengths are the writer's own (MakeWidths).
    const bool isNote = note >= 0 && note < kRestNote;
    int width = 0;
    if (isNote) {
        const int octave = note / 12 - 1;
        width += octave > part.octave ? octave - part.octave : part.octave - octave;
        part.octave = octave;
    }
    const int name = isNote ? m_nameWidths[note % 12] : 1;
    const Pieces& pieces = Cut(part.defaultValue, length);
    // Every piece but the last is tied to the next; the last when tied.
    width += pieces.count * name + pieces.widths;
    if (isNote)
        width += pieces.count - 1 + (tied ? 1 : 0);
    return width;
}

const LineFitter::Pieces& LineFitter::Cut(int defaultValue, long long length)
{
    if (m_cuts.empty())
        m_cuts.assign(static_cast<size_t>(NoteValueTable::kValueCount) * kCutSlots, Pieces{ LLONG_MIN, 0, 0 });
    const uint64_t hash = static_cast<uint64_t>(length) * 0x9E3779B97F4A7C15ull;
    Pieces& slot = m_cuts[static_cast<size_t>(defaultValue) * kCutSlots + (hash >> 56)];
    if (slot.length == length)
        return slot;
    const int* values = m_valueWidths[defaultValue];
    slot = Pieces{ length, 0, 0 };
    int index = 0;
    for (;;) {
        index = DecomposeStep(static_cast<int>(length), m_ticks, NoteValueTable::kValueCount, index);
        ++slot.count;
        slot.widths += values[index];
        if (length <= m_ticks[index])
            return slot;
        length -= m_ticks[index];
    }
}

void LineFitter::MakeWidths()
{
    std::string text;
    for (int key = 0; key < 12; ++key)
        m_nameWidths[key] = m_writer.GetNoteName(text, key);
    // A rest of each value: its name "r" and the length text, if any.
    for (int d = 0; d < NoteValueTable::kValueCount; ++d) {
        m_writer.SetDefaultValue(d);
        for (int v = 0; v < NoteValueTable::kValueCount; ++v)
            m_valueWidths[d][v] = m_writer.MeasureRecord(NoteRecord(kRestNote, 0, 0, 0, v)) - 1;
    }
}

int LineFitter::MeasureFirstCommands(const Part& part)
{
    // "o" and the octave, "l" and the length, as the writer puts them.
    m_writer.GetLengthText(m_scratch, part.defaultValue);
    return 2 + static_cast<int>(std::to_string(part.octave).size() + m_scratch.size());
}
