#include "engine/ReadBackCheck.h"

#include "engine/ConversionReport.h"
#include "score/MmlPartReader.h"
#include "score/NoteRecord.h"

namespace {

const int kKeysPerOctave = 12;

std::string Number(long long value)
{
    return std::to_string(value);
}

} // namespace

ReadBackCheck::ReadBackCheck(const std::vector<NoteList*>& lists)
{
    m_parts.reserve(lists.size());
    for (NoteList* list : lists) {
        Part part{};
        if (list != nullptr) {
            part.at = list->Begin();
            part.stop = list->End();
        } else {
            part.at = part.stop = NoteList::Position();
        }
        m_parts.push_back(part);
    }
}

ReadBackCheck::~ReadBackCheck()
{
}

// Before its callers, so that the walk of every note compiles in place.
inline bool ReadBackCheck::NextListed(Part& part, ProgramNote& note)
{
    for (; part.at != part.stop; ++part.at) {
        const NoteRecord& r = *part.at;
        if (r.IsSegmentEnd())
            continue;
        const long long start = part.end;
        part.end += r.GetLength();
        if (!r.IsNote()) {
            part.tied = false;
            continue;
        }
        const bool joins = part.pending && part.tied && part.joining.key == r.GetNote();
        part.tied = r.IsTied();
        if (joins) {
            part.joining.length += r.GetLength();
            continue;
        }
        const bool ready = part.pending;
        if (ready)
            note = part.joining;
        part.joining = ProgramNote{ r.GetNote(), start, r.GetLength() };
        part.pending = true;
        if (ready) {
            ++part.at;
            return true;
        }
    }
    if (!part.pending)
        return false;
    note = part.joining;
    part.pending = false;
    return true;
}

void ReadBackCheck::TakeNote(int p, const ProgramNote& note)
{
    if (p < 0 || p >= static_cast<int>(m_parts.size()) || note.key == MmlPartReader::kRest)
        return;
    Part& part = m_parts[static_cast<size_t>(p)];
    if (note.key >= 0 && note.key < 128) {
        Figures& f = part.figures;
        const int octave = note.key / kKeysPerOctave - 1;
        if (f.notes == 0 || octave < f.lowestOctave)
            f.lowestOctave = octave;
        if (f.notes == 0 || octave > f.highestOctave)
            f.highestOctave = octave;
        if (octave < ConversionReport::kLowestGoodOctave ||
            octave > ConversionReport::kHighestGoodOctave)
            ++f.outside;
        ++f.notes;
    }
    if (part.fault.empty())
        Compare(p, part, note);
}

bool ReadBackCheck::TakesPartsAtOnce() const
{
    return true;
}

void ReadBackCheck::Compare(int p, Part& part, const ProgramNote& note)
{
    ProgramNote want{};
    const bool have = NextListed(part, want);
    if (!have || note.key != want.key || note.start != want.start || note.length != want.length) {
        part.fault = "part " + Number(p) + ": note " + Number(part.compared + 1) + " is key " +
                     Number(note.key) + " at tick " + Number(note.start) + " for " +
                     Number(note.length) + " ticks in the program" +
                     (have ? ", key " + Number(want.key) + " at tick " + Number(want.start) +
                                 " for " + Number(want.length) + " ticks in its list"
                           : ", and not in its list");
        return;
    }
    ++part.compared;
}

std::string ReadBackCheck::Finish(int p, long long programEnd, bool hasLines)
{
    if (p < 0 || p >= static_cast<int>(m_parts.size()))
        return std::string();
    Part& part = m_parts[static_cast<size_t>(p)];
    if (!part.fault.empty())
        return part.fault;
    ProgramNote rest{};
    long long listed = part.compared;
    while (NextListed(part, rest))
        ++listed;
    if (listed > part.compared)
        return "part " + Number(p) + ": the program has " + Number(part.compared) +
               " notes where its list has " + Number(listed);
    if (programEnd != part.end && hasLines)
        return "part " + Number(p) + ": its music lasts " + Number(programEnd) +
               " ticks in the program and " + Number(part.end) + " in its list";
    return std::string();
}

ReadBackCheck::Figures ReadBackCheck::GetFigures(int p) const
{
    if (p < 0 || p >= static_cast<int>(m_parts.size()))
        return Figures{ 0, 0, 0, 0 };
    return m_parts[static_cast<size_t>(p)].figures;
}

