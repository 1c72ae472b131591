#include "engine/ReadingReport.h"

#include "midi/MidiReadLog.h"

namespace {

const char kRetimedRow[] = "time base re-timed";

// 1234567 -> "1,234,567"
std::string Thousands(long long value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return (value < 0 ? "-" : "") + digits;
}

}  // namespace

ReadingReport::ReadingReport()
{
}

ReadingReport::~ReadingReport()
{
}

std::vector<ReadingReport::Row> ReadingReport::GetRows(const MidiReadLog& log) const
{
    std::vector<Row> rows;
    if (log.unwrapped)
        rows.push_back(Row("RIFF RMID file", "read from its data chunk"));
    if (log.IsRetimed())
        rows.push_back(Row(kRetimedRow, Thousands(log.timeBaseFrom) + " -> " +
                                            Thousands(log.timeBaseTo)));
    if (log.skippedChunks > 0)
        rows.push_back(Row("chunks skipped", Thousands(log.skippedChunks)));
    if (log.trailingBytes > 0)
        rows.push_back(Row("bytes after the last chunk", Thousands(log.trailingBytes)));
    if (log.cutTrack != MidiReadLog::kNoTrack)
        rows.push_back(Row("track ended early", "track " + std::to_string(log.cutTrack) +
                                                    " at byte " + Thousands(log.cutAt)));
    if (log.missingTracks > 0)
        rows.push_back(Row("tracks missing", Thousands(log.missingTracks) + " of " +
                                                 Thousands(log.declaredTracks) + " declared"));
    return rows;
}

std::string ReadingReport::FormatSection(const MidiReadLog& log) const
{
    const std::vector<Row> rows = GetRows(log);
    if (rows.empty())
        return std::string();
    std::string text = "Reading\n";
    for (const Row& row : rows)
        text += row.first + "\t" + row.second + "\n";
    return text;
}

std::string ReadingReport::FormatTimeBase(const MidiReadLog& log, int timeBase) const
{
    if (!log.IsRetimed())
        return std::to_string(timeBase);
    return Thousands(log.timeBaseFrom) + " -> " + std::to_string(timeBase);
}

std::string ReadingReport::FormatOtherRows(const MidiReadLog& log) const
{
    std::string text;
    for (const Row& row : GetRows(log)) {
        if (row.first == kRetimedRow)
            continue;
        text += (text.empty() ? "" : "; ") + row.first + ": " + row.second;
    }
    return text;
}
