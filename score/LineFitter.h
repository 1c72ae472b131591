#ifndef MORVEK_SCORE_LINEFITTER_H
#define MORVEK_SCORE_LINEFITTER_H

#include "score/MmlWriter.h"
#include "score/NoteList.h"
#include "settings/NoteValueTable.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class NoteListSet;

// Where the PLAY lines end when a line may hold at most a number of
// characters. Each line holds at most one segment of music, as without a
// limit, but ends at the latest grid point at which the whole line fits; the
// next line starts there. A line that cannot fit even one grid step takes
// that step anyway and is counted as too wide. The lines are measured on the
// quantized lists, before anything is cut, piece by piece as the split, the
// decomposition and the MML writer will make them.
//
// 1. SetLimit, SetSegmentTicks, SetGridTicks, SetTimeBase.
// 2. GetDefaultValue for each part's list: the default length the part is
//    written with (the same as without a limit).
// 3. FitLines with the parts' lists, their default lengths and the width of
//    each line's frame; NoteList::SplitAtEnds then cuts every list at ends.
class LineFitter {
public:
    // The characters of PLAY line k (0 for the first) outside the parts' MML:
    // number, blank, keyword, blank, quotes and commas.
    typedef std::function<int(long long line)> FrameWidth;
    enum { kFitOk = 0, kFitTooManyLines = 1 };

// Construction
    LineFitter();
    virtual ~LineFitter();
    LineFitter(const LineFitter&) = delete;
    LineFitter& operator=(const LineFitter&) = delete;

// Attributes
    // Each setter returns the value it replaces.
    virtual int SetLimit(int characters);
    virtual int GetLimit() const;
    virtual int SetSegmentTicks(int ticks);
    virtual int GetSegmentTicks() const;
    // The quantization grid: where a line may end early.
    virtual int SetGridTicks(int ticks);
    virtual int GetGridTicks() const;
    virtual int SetTimeBase(int timeBase);
    virtual int GetTimeBase() const;
    // Lines FitLines makes at most before it gives up.
    virtual long long SetMaxLineCount(long long count);
    virtual long long GetMaxLineCount() const;
    // Lines (0 for the first) of the last FitLines that hold one grid step
    // wider than the limit.
    virtual const std::vector<long long>& GetWideLines() const;

// Operations
    // The part's default length for a quantized list: the base value most of
    // its pieces would have, cut every segment and decomposed
    // (NoteList::GetMostFrequentBaseValue after both passes).
    virtual int GetDefaultValue(NoteList& list) const;
    // Replaces ends with the tick at which each line ends, the last at the
    // end of the longest list; empty when all lists are. ordinals names
    // each part's list in set (-1: none), defaults its default length.
    // Returns kFitOk, or kFitTooManyLines (ends then incomplete).
    virtual int FitLines(NoteListSet& set, const std::vector<int>& ordinals,
                         const std::vector<int>& defaults, const FrameWidth& frame,
                         std::vector<int>& ends);

private:
    // Where one part stands: the record at position starts at start, the
    // line at or after it; octave is the writer's.
    struct Part {
        NoteList* list;
        NoteList::Position position;
        long long start;
        int octave;
        int defaultValue;
    };

    // The characters of the part's MML from line start from up to to, and
    // the part moved to to (a note crossing to is tied over it).
    int Advance(Part& part, long long from, long long to);
    // What Advance would add for the records that end by to, moving over
    // them only; a record that crosses to is left where it is.
    int AdvanceWhole(Part& part, long long from, long long to);
    // The characters of one record's stretch, cut into note values.
    int Measure(Part& part, int note, long long length, bool tied);
    // A stretch of length ticks cut into note values: how many pieces, and
    // the widths of their lengths with defaultValue the part's default.
    struct Pieces {
        long long length; // LLONG_MIN: nothing kept here yet
        int count;
        int widths;
    };
    const Pieces& Cut(int defaultValue, long long length);
    // The widths of note names and of length texts for each default length.
    void MakeWidths();
    // The first line's octave and default length commands.
    int MeasureFirstCommands(const Part& part);
    long long FitLine(std::vector<Part>& parts, long long from, long long end, int base,
                      bool& wide);

    int m_limit;
    int m_segmentTicks;
    int m_gridTicks;
    int m_timeBase;
    long long m_maxLineCount;
    std::vector<long long> m_wideLines;
    int m_ticks[NoteValueTable::kValueCount]; // at the time base
    MmlWriter m_writer; // measures names and lengths
    int m_nameWidths[12];
    int m_valueWidths[NoteValueTable::kValueCount][NoteValueTable::kValueCount];
    std::vector<Part> m_trial;
    // Of the grid points a line may end at: tick and the width of the
    // records that end by it, and where every part stands there.
    std::vector<std::pair<long long, long long>> m_points;
    std::vector<Part> m_stands;
    std::string m_scratch;
    // The last cuts, by default length and a hash of the length: the
    // lengths of quantized lists are few, and every record is measured
    // more than once.
    enum { kCutSlots = 256 };
    std::vector<Pieces> m_cuts;
};

#endif
