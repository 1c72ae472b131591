#include "engine/Converter.h"

#include "settings/ConvertSettings.h"
#include "engine/ConvertStatus.h"
#include "settings/NoteValueTable.h"
#include "settings/PlayKindTable.h"
#include "settings/SettingsCheck.h"
#include "midi/MidiFile.h"
#include "midi/MidiReadOptions.h"
#include "score/LineFitter.h"
#include "score/MmlWriter.h"
#include "score/NoteList.h"
#include "score/NoteListBuilder.h"
#include "score/NoteListSet.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace {

// The driver's set-up, the same for every file and PLAY kind.
const char* const kHeaderTexts[Converter::kHeaderLineCount] = {
    "CLEAR 300,&H5600\r\n",
    "LOADM \"ZEBLOKUM\"\r\n",
    "PLAY OFF\r\n",
    "FOR I=1 TO 12:PLAYDEF I,0:NEXT\r\n",
    "FOR I=1 TO 3:PLAYDEF I,I:PLAYDEF I+3,I+6:NEXT: ' HG\r\n",
    "PLAY \"?3/\",,,\"?3/\": ' HG\r\n",
    "' FOR I=1 TO 12:PLAYDEF I,I:NEXT: ' WHG\r\n",
    "' PLAY \"?3/\",,,,,,\"?3/\": ' WHG\r\n",
    "'\r\n",
    "'\r\n",
};

const char kDefaultKeyword[] = "PLAY";
const int kStartOctave = 4; // key 60 is "c" of octave 4
const char kLineEnd[] = "\r\n";

// "%4d " of a line number: right-aligned in at least four characters.
// Wide, so that a very long program numbers on instead of wrapping.
void AppendLineNumber(std::string& text, long long number)
{
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, "%4lld ", number);
    if (length > 0)
        text.append(buffer, static_cast<size_t>(length));
}

// The frame of a PLAY line: "%4d %s " with number and keyword, then the
// parts' strings in quotes separated by commas, then the line end.
void AppendLineStart(std::string& line, long long lineNumber, const char* keyword)
{
    AppendLineNumber(line, lineNumber);
    line += keyword ? keyword : kDefaultKeyword;
    line += ' ';
}

void AppendPart(std::string& line, int part, const char* text, size_t size)
{
    if (part > 0)
        line += ',';
    line += '"';
    line.append(text, size);
    line += '"';
}

// An assignment entry that names no list of the file's listCount.
int RefuseAssignment(ConvertStatus& status, int ordinal, int listCount)
{
    status.Refuse(Converter::kConvertBadAssignment, ConvertStatus::kNoSetting, ordinal);
    status.SetListCount(listCount);
    return Converter::kConvertBadAssignment;
}

bool IsHeaderIndex(int index)
{
    return index >= 0 && index < Converter::kHeaderLineCount;
}

} // namespace

Converter::Converter()
    : m_headerLineCount(0), m_keepUnplayedLists(true), m_countUnplayedLists(true)
{
    SetHeaderLineCount(kHeaderLineCount);
    for (int i = 0; i < kHeaderLineCount; ++i)
        SetHeaderLine(i, kHeaderTexts[i]);
}

Converter::~Converter()
{
}

MidiFile* Converter::LoadMidiFile(const unsigned char* image, unsigned long size)
{
    return LoadMidiFile(image, size, MidiReadOptions(), nullptr);
}

MidiFile* Converter::LoadMidiFile(const unsigned char* image, unsigned long size,
                                  const MidiReadOptions& options, int* outcome)
{
    if (outcome != nullptr)
        *outcome = MIDIFILE_INVALID;
    MidiFile* file = new (std::nothrow) MidiFile;
    if (!file)
        return nullptr;
    int result;
    try {
        // Build checks the structure again and reads the events; a failure
        // there must not hand back a half-read file.
        result = options.IsLenient() ? MIDIFILE_OK : file->Validate(image, size);
        if (result == MIDIFILE_OK)
            result = file->Build(image, size, options);
    } catch (const std::bad_alloc&) {
        result = MIDIFILE_INVALID;
    }
    if (outcome != nullptr)
        *outcome = result;
    if (result != MIDIFILE_OK) {
        delete file;
        return nullptr;
    }
    return file;
}

int Converter::FreeMidiFile(MidiFile* file)
{
    delete file;
    return 0;
}

NoteListSet* Converter::NewNoteListSet()
{
    return new (std::nothrow) NoteListSet;
}

int Converter::FreeNoteListSet(NoteListSet* set)
{
    delete set;
    return 0;
}

NoteListSet* Converter::BuildNoteListSet(const MidiFile* file, const ConvertSettings& settings)
{
    NoteListSet* set = NewNoteListSet();
    int result;
    try {
        result = FillNoteListSet(file, settings, set);
    } catch (const std::bad_alloc&) {
        result = kConvertNoMemory;
    }
    if (result != 0) {
        FreeNoteListSet(set);
        return nullptr;
    }
    return set;
}

int Converter::FillNoteListSet(const MidiFile* file, const ConvertSettings& settings,
                               NoteListSet* set)
{
    if (!file || !set)
        return kMissingArgument;
    NoteListBuilder builder;
    builder.BuildNoteLists(*file, settings, *set);
    return 0;
}

int Converter::CountLists(const MidiFile& file, const ConvertSettings& settings) const
{
    NoteListBuilder builder;
    return builder.CountLists(file, settings);
}

int Converter::QuantizeAll(NoteListSet& set, int unit)
{
    int sum = 0;
    const int count = GetListCount(set);
    for (int i = 0; i < count; ++i) {
        NoteList* list = set.GetList(i);
        if (list)
            sum += QuantizeList(*list, unit);
    }
    return sum;
}

int Converter::QuantizeList(NoteList& list, int unit)
{
    return list.Quantize(unit);
}

int Converter::SplitAll(NoteListSet& set, int stepCount)
{
    int largest = 0;
    const int count = GetListCount(set);
    for (int i = 0; i < count; ++i) {
        NoteList* list = set.GetList(i);
        if (!list)
            continue;
        int segments = SplitList(*list, stepCount);
        if (segments > largest)
            largest = segments;
    }
    return largest;
}

int Converter::SplitList(NoteList& list, int stepCount)
{
    return list.SplitIntoSegments(stepCount);
}

int Converter::DecomposeAll(NoteListSet& set)
{
    return DecomposeAllAt(set, GetSetTimeBase(set));
}

int Converter::DecomposeAllAt(NoteListSet& set, int timeBase)
{
    const int count = GetListCount(set);
    for (int i = 0; i < count; ++i) {
        NoteList* list = set.GetList(i);
        if (list)
            DecomposeList(*list, timeBase);
    }
    return 0;
}

int Converter::DecomposeList(NoteList& list, int timeBase)
{
    return list.Decompose(timeBase);
}

int Converter::GetSetTimeBase(const NoteListSet& set) const
{
    return set.GetTimeBase();
}

int Converter::GetListCount(const NoteListSet& set) const
{
    return set.GetCount();
}

int Converter::GetDefaultLengthAt(const NoteListSet& set, int i) const
{
    return set.GetMostFrequentBaseValue(i);
}

std::string Converter::BuildPlayLines(NoteListSet& set, MmlWriter* writers, int partCount,
                                      long long firstLine, int lineStep, const char* keyword)
{
    std::string text;
    AppendPlayLines(text, set, writers, partCount, firstLine, lineStep, keyword);
    return text;
}

void Converter::AppendPlayLines(std::string& text, NoteListSet& set, MmlWriter* writers,
                                int partCount, long long firstLine, int lineStep,
                                const char* keyword)
{
    if (!writers || partCount < 1)
        return;
    int segments = 0;
    size_t records = 0;
    for (int p = 0; p < partCount; ++p) {
        const int ordinal = writers[p].GetListOrdinal();
        if (ordinal < 0)
            continue;
        const int count = set.GetSegmentCount(ordinal);
        if (count > segments)
            segments = count;
        if (const NoteList* list = set.GetList(ordinal))
            records += static_cast<size_t>(list->GetRecordCount());
        writers[p].Attach(set, ordinal);
    }
    // Room for the usual program, a few characters a record and the frame of
    // every line, so that the text is not copied as it grows.
    const size_t lineFrame = 16 + std::strlen(keyword ? keyword : kDefaultKeyword) +
                             3 * static_cast<size_t>(partCount);
    text.reserve(text.size() + 3 * records + lineFrame * static_cast<size_t>(segments));

    // The lines go in blocks. For a block, every writer writes its segments
    // in a row, walking along its list, instead of a segment of each list in
    // turn for every line; each writer is asked exactly what BuildPlayLine
    // would ask it, in the same order. The block's lines are then put
    // together from the pieces, which stay small enough to reuse.
    const int kLinesPerBlock = 256;
    std::vector<std::string> parts(static_cast<size_t>(partCount));
    std::vector<std::vector<size_t>> ends(static_cast<size_t>(partCount));
    for (int first = 0; first < segments; first += kLinesPerBlock) {
        const int last = segments - first < kLinesPerBlock ? segments : first + kLinesPerBlock;
        for (int p = 0; p < partCount; ++p) {
            const int ordinal = writers[p].GetListOrdinal();
            if (ordinal < 0)
                continue;
            std::string& part = parts[static_cast<size_t>(p)];
            std::vector<size_t>& partEnds = ends[static_cast<size_t>(p)];
            part.clear();
            partEnds.clear();
            writers[p].WriteSegments(set, ordinal, last - first, first == 0 ? kFirstSegmentFlags : 0,
                                     part, partEnds);
        }
        for (int k = first; k < last; ++k) {
            AppendLineStart(text, firstLine + static_cast<long long>(k) * lineStep, keyword);
            const size_t line = static_cast<size_t>(k - first);
            for (int p = 0; p < partCount; ++p) {
                const std::vector<size_t>& partEnds = ends[static_cast<size_t>(p)];
                if (writers[p].GetListOrdinal() < 0) {
                    AppendPart(text, p, "", 0);
                    continue;
                }
                const size_t from = line > 0 ? partEnds[line - 1] : 0;
                AppendPart(text, p, parts[static_cast<size_t>(p)].data() + from,
                           partEnds[line] - from);
            }
            text += kLineEnd;
        }
    }
}

int Converter::BuildPlayLine(NoteListSet& set, MmlWriter* writers, int partCount,
                             long long lineNumber, std::string& line, int flags,
                             const char* keyword)
{
    line.clear();
    AppendLineStart(line, lineNumber, keyword);
    std::string part;
    for (int p = 0; p < partCount; ++p) {
        part.clear();
        // A writer whose list is missing gives "" like an unassigned part.
        if (writers && writers[p].GetListOrdinal() >= 0)
            writers[p].WriteSegment(set, writers[p].GetListOrdinal(), part, flags);
        AppendPart(line, p, part.data(), part.size());
    }
    line += kLineEnd;
    return static_cast<int>(line.size());
}

std::string Converter::BuildHeader(long long firstLine, int lineStep) const
{
    std::string text;
    for (int k = 0; k < kHeaderLineCount; ++k) {
        AppendLineNumber(text, firstLine + static_cast<long long>(k) * lineStep);
        text += GetHeaderLine(k);
    }
    return text;
}

std::string Converter::SetHeaderLine(int index, const std::string& text)
{
    if (!IsHeaderIndex(index))
        return std::string();
    std::string previous = m_headerLines[index];
    m_headerLines[index] = text;
    return previous;
}

std::string Converter::GetHeaderLine(int index) const
{
    return IsHeaderIndex(index) ? m_headerLines[index] : std::string();
}

int Converter::SetHeaderLineCount(int count)
{
    int previous = m_headerLineCount;
    m_headerLineCount = count;
    return previous;
}

int Converter::GetHeaderLineCount() const
{
    return m_headerLineCount;
}

int Converter::GetSegmentTicks(int splitStepCount, int timeBase) const
{
    // MML cannot name less than a 192nd note (time base / 48 ticks). A cut
    // between two 192nds would make the pieces on both sides longer when they
    // become note values, by a different amount in each part, and the parts
    // would drift apart from line to line. So the cut moves back to the
    // 192nd at or before it; at time base 48 every count is one already.
    const int factor = timeBase / NoteValueTable::kBaseTimeBase;
    if (factor <= 1)
        return splitStepCount;
    const int ticks = splitStepCount - splitStepCount % factor;
    return ticks < factor ? factor : ticks;
}

long long Converter::CountSegments(const NoteListSet& set, int segmentTicks) const
{
    long long segments = 0;
    const int count = GetListCount(set);
    for (int i = 0; i < count; ++i) {
        if (const NoteList* list = set.GetList(i))
            segments += CountListSegments(*list, segmentTicks);
    }
    return segments;
}

long long Converter::CountPlayedSegments(const NoteListSet& set, int segmentTicks,
                                         const std::vector<int>& assignment, int partCount) const
{
    long long segments = 0;
    for (int ordinal : GetPlayedLists(set, assignment, partCount))
        segments += CountListSegments(*set.GetList(ordinal), segmentTicks);
    return segments;
}

std::vector<int> Converter::GetPlayedLists(const NoteListSet& set, const std::vector<int>& assignment,
                                           int partCount) const
{
    const int listCount = GetListCount(set);
    std::vector<bool> seen(static_cast<size_t>(listCount > 0 ? listCount : 0), false);
    std::vector<int> played;
    for (int r = 0; r < partCount && r < static_cast<int>(assignment.size()); ++r) {
        const int ordinal = assignment[static_cast<size_t>(r)];
        if (ordinal < 0 || ordinal >= listCount || seen[static_cast<size_t>(ordinal)] ||
            set.GetList(ordinal) == nullptr)
            continue;
        seen[static_cast<size_t>(ordinal)] = true;
        played.push_back(ordinal);
    }
    return played;
}

long long Converter::CountListSegments(const NoteList& list, int segmentTicks) const
{
    if (segmentTicks < 1)
        return 0;
    // A total stops at the largest int; divided by at most 1920 that still
    // lies far above kMaxSegmentTotal.
    const long long ticks = list.GetTotalTicks();
    return (ticks + segmentTicks - 1) / segmentTicks;
}

int Converter::FitLineEnds(NoteListSet& set, const ConvertSettings& settings, int timeBase,
                           const std::vector<int>& ordinals, std::vector<int>& ends,
                           std::vector<long long>& wideLines, std::vector<int>& defaults)
{
    NoteValueTable values;
    PlayKindTable kinds;
    LineFitter fitter;
    fitter.SetLimit(settings.GetLineLimit());
    fitter.SetSegmentTicks(GetSegmentTicks(settings.GetSplitStepCount(), timeBase));
    fitter.SetGridTicks(values.GetTicksAt(settings.GetMinimumResolution(), timeBase));
    fitter.SetTimeBase(timeBase);
    const int partCount = static_cast<int>(ordinals.size());
    const std::vector<int> played = GetPlayedLists(set, ordinals, partCount);
    // Every line is cut in each list that goes on, so the lines may number
    // kMaxSegmentTotal over the lists at most.
    fitter.SetMaxLineCount(kMaxSegmentTotal / (played.empty() ? 1 : played.size()));
    defaults.assign(ordinals.size(), 0);
    for (int p = 0; p < partCount; ++p) {
        if (NoteList* list = set.GetList(ordinals[p]))
            defaults[p] = values.GetBaseValue(fitter.GetDefaultValue(*list));
    }
    // The frame as BuildPlayLine writes it: number, keyword, quotes, commas.
    const char* keyword = kinds.GetKeyword(settings.GetPlayKind());
    const long long firstLine = settings.GetFirstLineNumber() +
                                static_cast<long long>(kLineStep) * GetHeaderLineCount();
    std::string frame;
    auto width = [&](long long line) {
        frame.clear();
        AppendLineStart(frame, firstLine + line * kLineStep, keyword);
        return static_cast<int>(frame.size()) + 3 * partCount - 1;
    };
    const int result = fitter.FitLines(set, ordinals, defaults, width, ends);
    wideLines = fitter.GetWideLines();
    return result == LineFitter::kFitOk ? kConvertOk : kConvertTooLarge;
}

bool Converter::IsSupportedFormat(int format) const
{
    return format == 0 || format == 1;
}

bool Converter::IsSupportedTimeBase(int timeBase) const
{
    return timeBase == 48 || timeBase == 96 || timeBase == 240 || timeBase == 480;
}

int Converter::CheckFile(const MidiFile& file) const
{
    if (!IsSupportedFormat(file.GetFormat()))
        return kConvertBadFormat;
    if (!IsSupportedTimeBase(file.GetTimeBase()))
        return kConvertBadTimeBase;
    return kConvertOk;
}

ConversionResult Converter::Convert(const MidiFile& file, const ConvertSettings& settings,
                                    const std::vector<int>& assignment)
{
    ConversionResult result;
    result.m_settings = settings;
    result.m_assignment = assignment;
    ConvertFresh(file, false, result);
    return result;
}

ConversionResult Converter::ConvertInOrder(const MidiFile& file, const ConvertSettings& settings)
{
    ConversionResult result;
    result.m_settings = settings;
    ConvertFresh(file, true, result);
    return result;
}

int Converter::ConvertFresh(const MidiFile& file, bool inOrder, ConversionResult& result)
{
    const ConvertSettings& settings = result.m_settings;
    std::vector<int>& assignment = result.m_assignment;
    ConvertStatus& status = result.m_status;
    int code = CheckInput(file, settings, status);
    if (code != kConvertOk)
        return code;

    // Every conversion starts from the file's raw lists, so conversions with
    // different settings never compound. They are quantized as they are
    // made: the same lists as QuantizeAll over all of them, without the
    // records it would remove. The result gets text and lists only when the
    // whole program has been written.
    std::unique_ptr<NoteListSet> fresh(NewNoteListSet());
    if (!fresh)
        return status.Refuse(kConvertNoMemory, ConvertStatus::kNoSetting, 0);
    std::string program;
    std::vector<ConversionResult::ListCounts> counts;
    std::vector<int> ends;
    std::vector<long long> wideLines;
    try {
        NoteListBuilder builder;
        if (!m_keepUnplayedLists) {
            std::vector<int> played = assignment;
            for (int r = 0; inOrder && r < settings.GetPartCount(); ++r)
                played.push_back(r);
            builder.RecordOnly(played);
            builder.SetCountUnrecorded(m_countUnplayedLists);
        }
        builder.BuildQuantizedNoteLists(file, settings, *fresh,
                                        settings.GetResolutionUnit(file.GetTimeBase()));
        // The assignment is checked against the lists just made, not a count
        // made beforehand: the same number, without a second voice pass.
        const int listCount = GetListCount(*fresh);
        for (int r = 0; inOrder && r < settings.GetPartCount() && r < listCount; ++r)
            assignment.push_back(r);
        for (int ordinal : assignment) {
            if (ordinal != kUnassigned && (ordinal < 0 || ordinal >= listCount)) {
                code = RefuseAssignment(status, ordinal, listCount);
                break;
            }
        }
        if (code == kConvertOk) {
            CountNotes(*fresh, builder, counts);
            code = ConvertInto(file, settings, assignment, *fresh, program, ends, wideLines, status);
        }
    } catch (const std::bad_alloc&) {
        code = status.Refuse(kConvertNoMemory, ConvertStatus::kNoSetting, 0);
    }
    if (code != kConvertOk)
        return code;
    result.m_lists = std::move(fresh);
    result.m_text.swap(program);
    result.m_listCounts.swap(counts);
    result.m_lineEnds.swap(ends);
    result.m_wideLines.swap(wideLines);
    result.m_segmentTicks = GetSegmentTicks(settings.GetSplitStepCount(), file.GetTimeBase());
    result.m_everyListCounted = m_keepUnplayedLists || m_countUnplayedLists;
    return kConvertOk;
}

void Converter::CountNotes(const NoteListSet& set, const NoteListBuilder& built,
                           std::vector<ConversionResult::ListCounts>& counts) const
{
    const int listCount = GetListCount(set);
    counts.assign(static_cast<size_t>(listCount > 0 ? listCount : 0),
                  ConversionResult::ListCounts{ 0, 0 });
    for (int i = 0; i < listCount; ++i) {
        NoteList* list = set.GetList(i);
        if (!list)
            continue;
        const long long notes = built.GetCountedNotes(i);
        counts[static_cast<size_t>(i)].quantized = notes;
        counts[static_cast<size_t>(i)].built = notes + list->GetVanishedNoteCount();
    }
}

bool Converter::SetKeepUnplayedLists(bool keep)
{
    return std::exchange(m_keepUnplayedLists, keep);
}

bool Converter::GetKeepUnplayedLists() const
{
    return m_keepUnplayedLists;
}

bool Converter::SetCountUnplayedLists(bool count)
{
    return std::exchange(m_countUnplayedLists, count);
}

bool Converter::GetCountUnplayedLists() const
{
    return m_countUnplayedLists;
}

int Converter::CheckInput(const MidiFile& file, const ConvertSettings& settings,
                          ConvertStatus& status) const
{
    switch (CheckFile(file)) {
    case kConvertOk:
        break;
    case kConvertBadFormat:
        return status.Refuse(kConvertBadFormat, ConvertStatus::kNoSetting, file.GetFormat());
    default:
        return status.Refuse(kConvertBadTimeBase, ConvertStatus::kNoSetting, file.GetTimeBase());
    }
    // The check's faults are the status's settings. A setting chosen from a
    // table is a bad choice; any other is out of range.
    SettingsCheck check;
    const int fault = check.Check(settings);
    if (fault == SettingsCheck::kBadMinimumResolution || fault == SettingsCheck::kBadPlayKind)
        return status.Refuse(kConvertBadChoice, fault, check.GetValue());
    if (fault != SettingsCheck::kSettingsValid)
        return status.Refuse(kConvertBadSettings, fault, check.GetValue());
    status.Clear();
    return kConvertOk;
}

int Converter::ConvertInto(const MidiFile& file, const ConvertSettings& settings,
                           const std::vector<int>& assignment, NoteListSet& set,
                           std::string& text, std::vector<int>& ends,
                           std::vector<long long>& wideLines, ConvertStatus& status)
{
    const int partCount = settings.GetPartCount();
    const int listCount = GetListCount(set);
    std::vector<int> ordinals(partCount, kUnassigned);
    for (int r = 0; r < partCount && r < static_cast<int>(assignment.size()); ++r) {
        const int ordinal = assignment[r];
        // ConvertFresh checked against the same lists; this only guards the index.
        if (ordinal != kUnassigned && (ordinal < 0 || ordinal >= listCount))
            return RefuseAssignment(status, ordinal, listCount);
        ordinals[r] = ordinal;
    }

    NoteValueTable values;
    PlayKindTable kinds;
    const int timeBase = file.GetTimeBase();
    // The lists come quantized (Convert). A few bytes can hold a note of
    // 0x0FFFFFFF ticks: cut every tick, that would be hundreds of millions
    // of records and lines. Refuse first. Lists no part plays are never
    // cut, so they do not count.
    const int segmentTicks = GetSegmentTicks(settings.GetSplitStepCount(), timeBase);
    const long long segments = CountPlayedSegments(set, segmentTicks, ordinals, partCount);
    if (segments > kMaxSegmentTotal) {
        status.Refuse(kConvertTooLarge, ConvertStatus::kNoSetting, settings.GetSplitStepCount());
        status.SetSegmentCount(segments);
        return kConvertTooLarge;
    }
    // With a line limit the lines end where they fit, and every part keeps
    // the default length it has without one.
    const bool fitted = settings.GetLineLimit() != ConvertSettings::kLineLimitOff;
    std::vector<int> defaults;
    if (fitted) {
        const int result = FitLineEnds(set, settings, timeBase, ordinals, ends, wideLines, defaults);
        if (result != kConvertOk) {
            status.Refuse(result, ConvertStatus::kNoSetting, settings.GetSplitStepCount());
            status.SetSegmentCount(kMaxSegmentTotal + 1LL);
            return result;
        }
    }
    // Each list's default length is counted right after its last pass,
    // while its records are still in the cache.
    const int kNotCounted = INT_MIN;
    std::vector<int> mostFrequent(static_cast<size_t>(listCount), kNotCounted);
    for (int ordinal : GetPlayedLists(set, ordinals, partCount)) {
        NoteList& list = *set.GetList(ordinal);
        if (fitted)
            list.SplitAtEnds(ends);
        else
            SplitList(list, segmentTicks);
        DecomposeList(list, GetSetTimeBase(set));
        if (!fitted)
            mostFrequent[static_cast<size_t>(ordinal)] = GetDefaultLengthAt(set, ordinal);
    }

    const long long firstLine = settings.GetFirstLineNumber();
    std::string header = BuildHeader(firstLine, kLineStep);
    std::unique_ptr<MmlWriter[]> writers(new MmlWriter[partCount]);
    for (int r = 0; r < partCount; ++r) {
        writers[r].SetListOrdinal(ordinals[r]);
        if (ordinals[r] == kUnassigned)
            continue;
        writers[r].SetOctave(kStartOctave);
        const int counted = mostFrequent[static_cast<size_t>(ordinals[r])];
        writers[r].SetDefaultValue(
            fitted ? defaults[r]
                   : values.GetBaseValue(counted != kNotCounted ? counted : GetDefaultLengthAt(set, ordinals[r])));
    }
    text = header;
    AppendPlayLines(text, set, writers.get(), partCount,
                    firstLine + static_cast<long long>(kLineStep) * GetHeaderLineCount(),
                    kLineStep, kinds.GetKeyword(settings.GetPlayKind()));
    status.Clear();
    return kConvertOk;
}
