#ifndef MORVEK_ENGINE_READINGREPORT_H
#define MORVEK_ENGINE_READINGREPORT_H

#include <string>
#include <utility>
#include <vector>

struct MidiReadLog;

// The words for what lenient reading adapted in a file, in one place for
// the conversion report's "Reading" section and the --list lines. Nothing
// for a file read as written.
class ReadingReport {
public:
    typedef std::pair<std::string, std::string> Row;   // what, and how much

// Construction
    ReadingReport();
    virtual ~ReadingReport();

// Operations
    // One row per adaptation, in a fixed order.
    virtual std::vector<Row> GetRows(const MidiReadLog& log) const;
    // "Reading", then one tab-separated row per line, LF ends; "" when
    // nothing was adapted.
    virtual std::string FormatSection(const MidiReadLog& log) const;
    // The time base as shown beside the file: "480", or "1,024 -> 480" re-timed.
    virtual std::string FormatTimeBase(const MidiReadLog& log, int timeBase) const;
    // The rows other than the re-timing on one line, "what: value; ...";
    // "" when there are none.
    virtual std::string FormatOtherRows(const MidiReadLog& log) const;
};

#endif
