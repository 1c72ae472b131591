#ifndef MORVEK_ENGINE_CONVERSIONREPORT_H
#define MORVEK_ENGINE_CONVERSIONREPORT_H

#include "midi/MidiReadLog.h"
#include "score/NoteListIdentity.h"

#include <string>
#include <vector>

class ConversionResult;
class MidiFile;
class NoteListSet;
class ProgramReader;
class ReadBackCheck;
class TextTable;

// What a conversion kept and lost, and what will not fit the target's BASIC,
// from the conversion's result, the file and the program text read back. It
// never converts or builds lists again.
// The program proves itself: every PLAY line must hold the same stretch of
// music in every part that goes on past it, and the notes read back must be
// those of the result's lists (the pieces a note was cut and tied into joined
// again: the quantized notes); a difference is a fault of this program and
// is said so plainly.
//
// Notes are counted per track and channel from the file ("played"), per list
// as the conversion built it ("kept"; a channel may be spread over several
// lists), and lost = played minus the kept of every list of that track and
// channel.
//
// 1. SetLineLimit if not 255 (with the settings' line limit on, that limit
//    is the report's).
// 2. Compute with the result of Converter::Convert and its text (or an
//    edited one).
// 3. Format for the text; GetWarningCount and the Get functions for figures.
//
// Every word of the report comes from the string tables (TextTable): the
// command-line tool shows it in English, the window in the interface's
// language. A new row of figures is an id in both resources/Strings.def and
// resources/StringsEnglish.def and one Row call in Format; a new warning is
// a Warning kind, a key text and a sentence (a pair when it counts).
class ConversionReport {
public:
    enum {
        kDefaultLineLimit = 255,      // the input buffer of the era's BASICs
        kHighestLineNumber = 65529,   // the highest line number most BASICs accept
        kLowestGoodOctave = 1,
        kHighestGoodOctave = 8,
        kNotAssigned = -1
    };
    // Results of Compute.
    enum { kReportOk = 0, kReportNoMemory = 1, kReportNoConversion = 2 };

    // The warnings, most important first.
    enum Warning {
        kWarnSelfCheck = 0,      // the program does not hold what was converted
        kWarnLineNumbers = 1,    // line numbers past kHighestLineNumber
        kWarnLongLines = 2,      // PLAY lines longer than the limit
        kWarnLeftOut = 3,        // lists with notes on no part
        kWarnOverlaps = 4,       // notes lost where notes of one channel overlap
        kWarnVanished = 5,       // notes shorter than the grid
        kWarnOctaves = 6,        // notes outside octaves 1 to 8
        kWarnWideSteps = 7,      // fitted lines that hold one grid step wider than the limit
        kWarningKinds = 8
    };

    struct ListRow {
        NoteListIdentity identity;
        long long played;   // note-ons of the list's track and channel in the file
        long long kept;     // notes in the list as built
        long long lost;     // played minus kept of all lists of the track and channel
        long long vanished; // kept notes that quantization removed
        bool firstOfChannel; // played and lost belong to the first list of a channel
        std::vector<int> parts; // the parts the list is on; empty: not assigned
    };

    struct PartRow {
        int list;          // ordinal, or kNotAssigned
        long long notes;   // read back from the program
        int lowestOctave;  // of the notes read back; 0 without notes
        int highestOctave;
        long long outside; // notes outside octaves 1 to 8
    };

// Construction
    ConversionReport();
    virtual ~ConversionReport();
    ConversionReport(const ConversionReport&) = delete;
    ConversionReport& operator=(const ConversionReport&) = delete;

// Attributes
    // PLAY lines longer than this many characters are warned about, unless
    // the settings Compute gets have a line limit of their own.
    virtual int SetLineLimit(int limit);
    virtual int GetLineLimit() const;
    // The limit the last Compute used, and whether its lines were fitted to it.
    virtual int GetUsedLineLimit() const;
    virtual bool IsFitted() const;

// Operations
    // Computes every figure from a successful result with its lists, the
    // file it converted and text, the program it wrote (or an edited one).
    // Returns kReportOk, kReportNoMemory, or kReportNoConversion for a
    // result of no successful conversion, or one without every list's
    // counts (nothing computed).
    virtual int Compute(const MidiFile& file, const ConversionResult& result,
                        const std::string& text);
    // The report as plain text, LF line ends: a title, the totals, then
    // headed sections of tab-separated rows (the first, "Reading", only for
    // a file that lenient reading adapted); in English, or in the language
    // of texts.
    virtual std::string Format() const;
    virtual std::string Format(const TextTable& texts) const;

// Results
    virtual long long GetPlayedTotal() const;
    // Notes of the assigned lists written into the program.
    virtual long long GetKeptTotal() const;
    virtual const std::vector<ListRow>& GetListRows() const;
    virtual const std::vector<PartRow>& GetPartRows() const;
    virtual int GetPlayLineCount() const;
    virtual long long GetByteCount() const;
    virtual long long GetLongestLine() const;
    // PLAY lines longer than the limit.
    virtual long long GetLongLineCount() const;
    virtual long long GetLastLineNumber() const;
    virtual bool IsSelfCheckPassed() const;
    // What the self-check found: "" when it passed.
    virtual const std::string& GetSelfCheckFault() const;
    // Warnings with something to report, and the text of one of them ("" when
    // that one has nothing to report).
    virtual int GetWarningCount() const;
    virtual std::string GetWarningText(int warning) const;
    virtual std::string GetWarningText(int warning, const TextTable& texts) const;

private:
    void Clear();
    void CountFile(const MidiFile& file, const ConversionResult& result);
    void Assign(const std::vector<int>& assignment, int partCount);
    void CountParts(const ProgramReader& reader, const ReadBackCheck& check);
    // ends: where each line ends; empty for one segment per line.
    void CheckLines(const ProgramReader& reader, int segmentTicks, const std::vector<int>& ends);
    // Fitted lines over the limit must be those the fitting found too wide.
    void CheckWideLines(const ProgramReader& reader, const std::vector<long long>& wide);
    void CheckNotes(const ProgramReader& reader, ReadBackCheck& check);
    void Fault(const std::string& what);
    // "label<TAB>value<LF>" with label's text.
    static std::string Row(const TextTable& texts, int label, const std::string& value);
    long long GetLeftOut() const;
    long long Sum(long long ListRow::*field) const;

    int m_lineLimit;
    bool m_voiceColumn; // the lists were made with voices
    int m_usedLimit;
    bool m_fitted;
    long long m_firstWideLine; // line number of the first line over a fitted limit
    long long m_played;
    long long m_kept;
    std::vector<ListRow> m_lists;
    std::vector<PartRow> m_parts;
    int m_playLines;
    long long m_bytes;
    long long m_longestLine;
    long long m_longLines;
    long long m_longestPlayLine;
    long long m_lastLineNumber;
    std::string m_fault;
    MidiReadLog m_reading;          // what lenient reading adapted in the file
};

#endif
