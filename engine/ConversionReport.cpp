#include "engine/ConversionReport.h"

#include "engine/ConversionResult.h"
#include "engine/ProgramReader.h"
#include "engine/ReadBackCheck.h"
#include "engine/ReadingReport.h"
#include "midi/MidiFile.h"
#include "midi/MidiTrack.h"
#include "score/NoteList.h"
#include "score/NoteListSet.h"
#include "settings/ConvertSettings.h"

#include "resources/StringIds.h"
#include "text/TextTable.h"

#include <algorithm>
#include <initializer_list>
#include <new>

namespace {

const int kChannelCount = 16;

const int kWarningKeys[ConversionReport::kWarningKinds] = {
    kStrWarnKeySelfCheck, kStrWarnKeyLineNumbers, kStrWarnKeyLongLines, kStrWarnKeyLeftOut,
    kStrWarnKeyOverlaps, kStrWarnKeyVanished, kStrWarnKeyOctaves, kStrWarnKeyWideSteps
};

// The texts of fitted lines, together.
const char kUnfittedLineText[] =
    "PLAY line %s has %s characters, over the limit of %s, though its music could be cut "
    "to fit";

// text with each "%s" replaced by the next of values.
std::string Fill(const char* text, std::initializer_list<std::string> values)
{
    std::string out;
    auto value = values.begin();
    for (const char* c = text; *c; ++c) {
        if (c[0] == '%' && c[1] == 's' && value != values.end()) {
            out += *value++;
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

std::string Number(long long value)
{
    return std::to_string(value);
}

// "86.7" for 867 tenths of a percent; whole numbers only, so no locale.
std::string Percent(long long part, long long whole)
{
    const long long tenths = whole > 0 ? (part * 1000 + whole / 2) / whole : 1000;
    return Number(tenths / 10) + "." + Number(tenths % 10);
}

} // namespace

ConversionReport::ConversionReport()
    : m_lineLimit(kDefaultLineLimit), m_voiceColumn(false)
    , m_usedLimit(kDefaultLineLimit), m_fitted(false)
{
    Clear();
}

ConversionReport::~ConversionReport()
{
}

int ConversionReport::SetLineLimit(int limit)
{
    const int previous = m_lineLimit;
    m_lineLimit = limit;
    if (!m_fitted)
        m_usedLimit = limit;
    return previous;
}

int ConversionReport::GetLineLimit() const
{
    return m_lineLimit;
}

int ConversionReport::GetUsedLineLimit() const
{
    return m_usedLimit;
}

bool ConversionReport::IsFitted() const
{
    return m_fitted;
}

void ConversionReport::Clear()
{
    m_played = 0;
    m_kept = 0;
    m_lists.clear();
    m_parts.clear();
    m_playLines = 0;
    m_bytes = 0;
    m_longestLine = 0;
    m_longLines = 0;
    m_longestPlayLine = 0;
    m_lastLineNumber = -1;
    m_fault.clear();
    m_voiceColumn = false;
    m_reading = MidiReadLog();
    m_usedLimit = m_lineLimit;
    m_fitted = false;
    m_firstWideLine = -1;
}

int ConversionReport::Compute(const MidiFile& file, const ConversionResult& result,
                              const std::string& text)
{
    Clear();
    const int timeBase = file.GetTimeBase();
    const int segmentTicks = result.GetSegmentTicks();
    const int partCount = result.GetSettings().GetPartCount();
    const NoteListSet* lists = result.GetLists();
    if (!result.IsOk() || lists == nullptr || segmentTicks < 1 || partCount < 1 ||
        !result.IsEveryListCounted())
        return kReportNoConversion;
    m_reading = file.GetReadLog();
    const ConvertSettings& settings = result.GetSettings();
    m_fitted = settings.GetLineLimit() != ConvertSettings::kLineLimitOff;
    if (m_fitted)
        m_usedLimit = settings.GetLineLimit();
    try {
        m_voiceColumn = result.GetSettings().GetVoiceCount() > 1;
        CountFile(file, result);
        Assign(result.GetAssignment(), partCount);

        // The notes read back go straight to the check, never kept whole.
        std::vector<NoteList*> partLists;
        for (const PartRow& part : m_parts)
            partLists.push_back(part.list == kNotAssigned ? nullptr : lists->GetList(part.list));
        ReadBackCheck check(partLists);
        ProgramReader reader;
        reader.SetNoteSink(&check);
        m_bytes = static_cast<long long>(text.size());
        if (reader.Read(text.data(), text.size(), timeBase) != ProgramReader::kReadOk) {
            const ReadStatus& status = reader.GetStatus();
            const TextTable english;
            Fault(english.Fill(kStrReportUnreadable,
                               { Number(status.GetLine()), Number(status.GetColumn()),
                                 status.DescribeReason(english) }));
        }
        m_playLines = reader.GetPlayLineCount();
        m_longestLine = static_cast<long long>(reader.GetLongestLine());
        m_lastLineNumber = reader.GetLastLineNumber();
        for (const ProgramReader::PlayLine& line : reader.GetPlayLines()) {
            const long long length = static_cast<long long>(line.length);
            if (length > m_usedLimit) {
                if (m_longLines == 0)
                    m_firstWideLine = line.number;
                ++m_longLines;
            }
            if (length > m_longestPlayLine)
                m_longestPlayLine = length;
        }
        CountParts(reader, check);
        // Fitted lines end where the conversion fitted them.
        const std::vector<int>& ends = result.GetLineEnds();
        const std::vector<long long>& wide = result.GetWideLines();
        if (m_fault.empty())
            CheckLines(reader, segmentTicks, ends);
        if (m_fault.empty() && m_fitted)
            CheckWideLines(reader, wide);
        if (m_fault.empty())
            CheckNotes(reader, check);
    } catch (const std::bad_alloc&) {
        Clear();
        return kReportNoMemory;
    }
    return kReportOk;
}

void ConversionReport::CountFile(const MidiFile& file, const ConversionResult& result)
{
    // Note-ons with a velocity, per track and channel, as the tracks counted them.
    const int trackCount = file.GetTrackCount() > 0 ? file.GetTrackCount() : 0;
    std::vector<long long> played(static_cast<size_t>(trackCount) * kChannelCount, 0);
    for (int t = 0; t < trackCount; ++t) {
        const MidiTrack* track = file.GetTrack(t);
        if (!track)
            continue;
        for (int channel = 0; channel < kChannelCount; ++channel)
            played[static_cast<size_t>(t) * kChannelCount + channel] = track->GetNoteOnCount(channel);
    }
    for (long long count : played)
        m_played += count;

    // Each track and channel in one slot: its first list and what all its
    // lists keep. Slots, not a search of the rows: a file may give a
    // million lists.
    std::vector<long long> keptOfChannel(played.size(), 0);
    std::vector<int> firstOfChannel(played.size(), -1);
    const NoteListSet& lists = *result.GetLists();
    const std::vector<ConversionResult::ListCounts>& counts = result.GetListCounts();
    for (int i = 0; i < lists.GetCount() && i < static_cast<int>(counts.size()); ++i) {
        NoteList* list = lists.GetList(i);
        if (!list)
            continue;
        ListRow row;
        list->GetIdentity(row.identity);
        row.kept = counts[static_cast<size_t>(i)].built;
        row.vanished = row.kept - counts[static_cast<size_t>(i)].quantized;
        row.played = 0;
        row.lost = 0;
        row.firstOfChannel = true;
        const int track = row.identity.track;
        const int channel = row.identity.channel;
        if (track >= 0 && track < trackCount && channel >= 0 && channel < kChannelCount) {
            const size_t slot = static_cast<size_t>(track) * kChannelCount + channel;
            keptOfChannel[slot] += row.kept;
            if (firstOfChannel[slot] < 0) {
                firstOfChannel[slot] = static_cast<int>(m_lists.size());
                row.played = played[slot];
            } else {
                row.firstOfChannel = false;
            }
        }
        m_lists.push_back(row);
    }
    // What the lists of a track and channel did not keep is lost.
    for (size_t slot = 0; slot < played.size(); ++slot) {
        if (firstOfChannel[slot] >= 0) {
            ListRow& row = m_lists[static_cast<size_t>(firstOfChannel[slot])];
            row.lost = row.played - keptOfChannel[slot];
        }
    }
}

void ConversionReport::Assign(const std::vector<int>& assignment, int partCount)
{
    PartRow empty = { kNotAssigned, 0, 0, 0, 0 };
    m_parts.assign(static_cast<size_t>(partCount), empty);
    for (int r = 0; r < partCount && r < static_cast<int>(assignment.size()); ++r) {
        const int ordinal = assignment[static_cast<size_t>(r)];
        if (ordinal < 0 || ordinal >= static_cast<int>(m_lists.size()))
            continue;
        m_parts[static_cast<size_t>(r)].list = ordinal;
        m_lists[static_cast<size_t>(ordinal)].parts.push_back(r);
    }
    for (const ListRow& row : m_lists) {
        if (!row.parts.empty())
            m_kept += row.kept - row.vanished;
    }
}

void ConversionReport::CountParts(const ProgramReader& reader, const ReadBackCheck& check)
{
    // A refused read counts nothing, whatever it handed over before.
    if (!m_fault.empty())
        return;
    for (int p = 0; p < static_cast<int>(m_parts.size()) && p < reader.GetPartCount(); ++p) {
        PartRow& row = m_parts[static_cast<size_t>(p)];
        const ReadBackCheck::Figures figures = check.GetFigures(p);
        row.notes = figures.notes;
        row.lowestOctave = figures.lowestOctave;
        row.highestOctave = figures.highestOctave;
        row.outside = figures.outside;
    }
}

// Every line ends at the same tick in every part whose music goes on past
// it, and there are as many lines as the longest part needs.
void ConversionReport::CheckLines(const ProgramReader& reader, int segmentTicks,
                                  const std::vector<int>& ends)
{
    const bool fitted = !ends.empty();
    const int partCount = static_cast<int>(m_parts.size());
    if (reader.GetPlayLineCount() > 0 && reader.GetPartCount() != partCount) {
        Fault("the program has " + Number(reader.GetPartCount()) + " parts where the settings have " +
              Number(partCount));
        return;
    }
    long long expected = 0;
    for (int p = 0; p < partCount; ++p) {
        if (m_parts[static_cast<size_t>(p)].list == kNotAssigned)
            continue;
        const long long lines = (reader.GetPartEnd(p) + segmentTicks - 1) / segmentTicks;
        expected = std::max(expected, std::max(lines, 1LL));
    }
    if (fitted)
        expected = static_cast<long long>(ends.size());
    if (reader.GetPlayLineCount() != expected) {
        Fault("the program has " + Number(reader.GetPlayLineCount()) + " PLAY lines where the music needs " +
              Number(expected));
        return;
    }
    const std::vector<ProgramReader::PlayLine>& lines = reader.GetPlayLines();
    for (int k = 0; k < reader.GetPlayLineCount(); ++k) {
        const long long lineEnd = fitted ? ends[static_cast<size_t>(k)]
                                         : static_cast<long long>(k + 1) * segmentTicks;
        for (int p = 0; p < partCount; ++p) {
            const long long end = reader.GetPartEndAt(k, p);
            const bool goesOn = reader.GetPartEnd(p) > end;
            if ((goesOn && end != lineEnd) || end > lineEnd) {
                Fault("PLAY line " + Number(lines[static_cast<size_t>(k)].number) + ": part " +
                      Number(p) + " ends at tick " + Number(end) + " where the line ends at tick " +
                      Number(lineEnd));
                return;
            }
        }
    }
}

void ConversionReport::CheckWideLines(const ProgramReader& reader,
                                      const std::vector<long long>& wide)
{
    const std::vector<ProgramReader::PlayLine>& lines = reader.GetPlayLines();
    for (size_t k = 0; k < lines.size(); ++k) {
        if (static_cast<long long>(lines[k].length) > m_usedLimit &&
            !std::binary_search(wide.begin(), wide.end(), static_cast<long long>(k))) {
            Fault(Fill(kUnfittedLineText, { Number(lines[k].number),
                                            Number(static_cast<long long>(lines[k].length)),
                                            Number(m_usedLimit) }));
            return;
        }
    }
}

// The notes of every part are exactly those of its list.
void ConversionReport::CheckNotes(const ProgramReader& reader, ReadBackCheck& check)
{
    for (int p = 0; p < static_cast<int>(m_parts.size()); ++p) {
        const std::string fault = check.Finish(p, reader.GetPartEnd(p), reader.GetPlayLineCount() > 0);
        if (!fault.empty()) {
            Fault(fault);
            return;
        }
    }
}

void ConversionReport::Fault(const std::string& what)
{
    if (m_fault.empty())
        m_fault = what;
}

long long ConversionReport::GetLeftOut() const
{
    long long notes = 0;
    for (const ListRow& row : m_lists) {
        if (row.parts.empty())
            notes += row.kept - row.vanished;
    }
    return notes;
}

long long ConversionReport::Sum(long long ListRow::*field) const
{
    long long sum = 0;
    for (const ListRow& row : m_lists)
        sum += row.*field;
    return sum;
}

long long ConversionReport::GetPlayedTotal() const
{
    return m_played;
}

long long ConversionReport::GetKeptTotal() const
{
    return m_kept;
}

const std::vector<ConversionReport::ListRow>& ConversionReport::GetListRows() const
{
    return m_lists;
}

const std::vector<ConversionReport::PartRow>& ConversionReport::GetPartRows() const
{
    return m_parts;
}

int ConversionReport::GetPlayLineCount() const
{
    return m_playLines;
}

long long ConversionReport::GetByteCount() const
{
    return m_bytes;
}

long long ConversionReport::GetLongestLine() const
{
    return m_longestLine;
}

long long ConversionReport::GetLongLineCount() const
{
    return m_longLines;
}

long long ConversionReport::GetLastLineNumber() const
{
    return m_lastLineNumber;
}

bool ConversionReport::IsSelfCheckPassed() const
{
    return m_fault.empty();
}

const std::string& ConversionReport::GetSelfCheckFault() const
{
    return m_fault;
}

int ConversionReport::GetWarningCount() const
{
    const TextTable english;
    int count = 0;
    for (int w = 0; w < kWarningKinds; ++w)
        count += GetWarningText(w, english).empty() ? 0 : 1;
    return count;
}

std::string ConversionReport::GetWarningText(int warning) const
{
    return GetWarningText(warning, TextTable());
}

std::string ConversionReport::GetWarningText(int warning, const TextTable& texts) const
{
    long long outside = 0;
    for (const PartRow& row : m_parts)
        outside += row.outside;
    int leftOutLists = 0;
    for (const ListRow& row : m_lists)
        leftOutLists += row.parts.empty() && row.kept - row.vanished > 0 ? 1 : 0;
    const long long lost = Sum(&ListRow::lost);
    const long long vanished = Sum(&ListRow::vanished);
    switch (warning) {
    case kWarnSelfCheck:
        if (m_fault.empty())
            return std::string();
        return texts.Fill(kStrWarnSelfCheck, { m_fault });
    case kWarnLineNumbers:
        if (m_lastLineNumber <= kHighestLineNumber)
            return std::string();
        return texts.Fill(kStrWarnLineNumbers,
                          { Number(m_lastLineNumber), Number(kHighestLineNumber) });
    case kWarnLongLines:
        if (m_longLines == 0 || m_fitted)
            return std::string();
        return texts.FillCounted(kStrWarnLongLines, m_longLines,
                                 { Number(m_longLines), Number(m_usedLimit), Number(m_longestPlayLine) });
    case kWarnLeftOut: {
        if (leftOutLists == 0)
            return std::string();
        const long long notes = GetLeftOut();
        return texts.FillCounted(kStrWarnLeftOut, leftOutLists,
                                 { texts.FillCounted(kStrCountLists, leftOutLists, { Number(leftOutLists) }),
                                   texts.FillCounted(kStrCountNotes, notes, { Number(notes) }) });
    }
    case kWarnOverlaps:
        if (lost <= 0)
            return std::string();
        return texts.FillCounted(kStrWarnOverlaps, lost, { Number(lost) });
    case kWarnVanished:
        if (vanished <= 0)
            return std::string();
        return texts.FillCounted(kStrWarnVanished, vanished, { Number(vanished) });
    case kWarnOctaves:
        if (outside == 0)
            return std::string();
        return texts.FillCounted(kStrWarnOctaves, outside,
                                 { Number(outside), Number(kLowestGoodOctave), Number(kHighestGoodOctave) });
    case kWarnWideSteps:
        if (m_longLines == 0 || !m_fitted)
            return std::string();
        return texts.Fill(kStrWarnWideSteps,
                          { Number(m_firstWideLine),
                            m_longLines > 1 ? texts.Fill(kStrWarnWideStepsMore, { Number(m_longLines - 1) })
                                            : std::string(),
                            Number(m_usedLimit), Number(m_longestPlayLine) });
    default:
        return std::string();
    }
}

std::string ConversionReport::Format() const
{
    return Format(TextTable());
}

std::string ConversionReport::Row(const TextTable& texts, int label, const std::string& value)
{
    return texts.Get(label) + "\t" + value + "\n";
}

std::string ConversionReport::Format(const TextTable& texts) const
{
    std::string text = texts.Get(kStrReportTitle) + "\n";
    text += texts.FillCounted(kStrReportKept, m_played,
                              { Number(m_kept), Number(m_played), Percent(m_kept, m_played) }) + "\n";

    const std::string reading = ReadingReport().FormatSection(m_reading);
    if (!reading.empty())
        text += "\n" + reading;

    text += "\n" + texts.Get(kStrReportWarningsHeading) + "\n";
    const int warnings = GetWarningCount();
    for (int w = 0; w < kWarningKinds; ++w) {
        const std::string warning = GetWarningText(w, texts);
        if (!warning.empty())
            text += Row(texts, kWarningKeys[w], warning);
    }
    if (warnings == 0)
        text += texts.Get(kStrReportNone) + "\n";

    // The voice column comes last and only with voices, as in --list.
    const bool voices = m_voiceColumn;
    text += "\n" + texts.Get(kStrReportListsHeading) + "\n" + texts.Get(kStrReportListColumns);
    text += voices ? "\t" + texts.Get(kStrReportVoiceColumn) + "\n" : "\n";
    const std::string notAssigned = texts.Get(kStrReportNotAssigned);
    for (const ListRow& row : m_lists) {
        std::string parts;
        for (int part : row.parts)
            parts += (parts.empty() ? "" : ",") + Number(part);
        if (parts.empty())
            parts = row.kept - row.vanished > 0 ? notAssigned : "-";
        text += Number(row.identity.ordinal) + "\t" + Number(row.identity.track) + "\t" +
                Number(row.identity.channel) + "\t" +
                (row.firstOfChannel ? Number(row.played) : std::string()) + "\t" +
                Number(row.kept) + "\t" + (row.firstOfChannel ? Number(row.lost) : std::string()) +
                "\t" + Number(row.vanished) + "\t" + parts +
                (voices ? "\t" + Number(row.identity.voice + 1) : std::string()) + "\n";
    }

    text += "\n" + texts.Get(kStrReportPartsHeading) + "\n" + texts.Get(kStrReportPartColumns) + "\n";
    for (size_t p = 0; p < m_parts.size(); ++p) {
        const PartRow& row = m_parts[p];
        const bool any = row.notes > 0;
        text += Number(static_cast<long long>(p)) + "\t" +
                (row.list == kNotAssigned ? std::string("-") : Number(row.list)) + "\t" +
                Number(row.notes) + "\t" + (any ? Number(row.lowestOctave) : "-") + "\t" +
                (any ? Number(row.highestOctave) : "-") + "\t" + Number(row.outside) + "\n";
    }

    text += "\n" + texts.Get(kStrReportProgramHeading) + "\n";
    text += Row(texts, kStrReportPlayLines, Number(m_playLines));
    text += Row(texts, kStrReportBytes, Number(m_bytes));
    text += Row(texts, kStrReportLongestLine, Number(m_longestLine));
    text += Row(texts, kStrReportLineLimit, Number(m_usedLimit));
    text += Row(texts, kStrReportLongLines, Number(m_longLines));
    text += Row(texts, kStrReportLastLineNumber, Number(m_lastLineNumber));
    text += texts.Fill(kStrReportPast, { Number(kHighestLineNumber) }) + "\t" +
            texts.Get(m_lastLineNumber > kHighestLineNumber ? kStrReportYes : kStrReportNo) + "\n";

    text += "\n" + texts.Get(kStrReportSelfCheckHeading) + "\n";
    text += m_fault.empty() ? texts.Get(kStrReportPassed) + "\n"
                            : Row(texts, kStrReportFailed, m_fault);
    return text;
}
