#include "score/LineFitter.h"

#include "score/NoteListSet.h"

#include <algorithm>

LineFitter::LineFitter()
    : m_limit(255)
    , m_segmentTicks(1920)
    , m_gridTicks(1)
    , m_timeBase(NoteValueTable::kBaseTimeBase)
    , m_maxLineCount(1000000)
{
    SetTimeBase(m_timeBase);
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
                ++counts[table.GetBaseValue(index)];
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
    // The whole segment first: most lines fit, and then nothing is cut.
    m_trial = parts;
    long long width = base;
    for (Part& part : m_trial)
        width += Advance(part, from, end);
    if (width <= m_limit) {
        parts.swap(m_trial);
        return end;
    }
    // Then every grid point before it, keeping the latest that fits. The
    // records that end by a point only add characters, so once they alone
    // are too wide no later point fits.
    m_trial = parts;
    long long wholeWidth = base;
    long long best = -1;
    const long long first = (from / m_gridTicks + 1) * m_gridTicks;
    for (long long g = first; g < end; g += m_gridTicks) {
        width = 0;
        for (Part& part : m_trial) {
            wholeWidth += AdvanceWhole(part, from, g);
            Part copy = part;
            width += Advance(copy, from, g);
        }
        if (wholeWidth > m_limit)
            break;
        if (wholeWidth + width <= m_limit)
            best = g;
    }
    if (best < 0) {
        wide = true;
        best = first < end ? first : end;
    }
    for (Part& part : parts)
        Advance(part, from, best);
    return best;
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
    m_writer.SetOctave(part.octave);
    m_writer.SetDefaultValue(part.defaultValue);
    NoteRecord piece(note, 0);
    const bool isNote = piece.IsNote();
    int width = 0;
    int index = 0;
    for (;;) {
        index = DecomposeStep(static_cast<int>(length), m_ticks, NoteValueTable::kValueCount, index);
        const bool lastPiece = length <= m_ticks[index];
        piece.SetValueIndex(index);
        piece.SetTie(isNote && (!lastPiece || tied) ? kTieToNext : 0);
        m_writer.WriteRecord(piece, m_scratch);
        width += static_cast<int>(m_scratch.size());
        if (lastPiece)
            break;
        length -= m_ticks[index];
    }
    part.octave = m_writer.GetOctave();
    return width;
}

int LineFitter::MeasureFirstCommands(const Part& part)
{
    // "o" and the octave, "l" and the length, as the writer puts them.
    m_writer.GetLengthText(m_scratch, part.defaultValue);
    return 2 + static_cast<int>(std::to_string(part.octave).size() + m_scratch.size());
}
