#ifndef MORVEK_ENGINE_PROGRAMREADER_H
#define MORVEK_ENGINE_PROGRAMREADER_H

#include "base/PageBuffer.h"
#include "score/MmlPartReader.h"
#include "score/ProgramNote.h"
#include "score/ReadStatus.h"

#include <cstddef>
#include <string>
#include <vector>

// Reads a whole program text as the converter writes it, or as a user edited
// it, back into notes: per part the notes and rests with start and length in
// ticks, and per PLAY line its BASIC line number, its length and where every
// part stands at its end.
//
// The text is lines ending in CR LF or LF (the last one may have no end).
// Every line that is not blank begins with a line number. A PLAY line of
// music is a line number, a keyword of the PLAY kind table (PLAY, PLAY HG,
// PLAY@, any case), then quoted MML strings separated by commas up to the
// line end: one string per part, the same number on every line. Other lines
// (the header, PLAY OFF, a remark) are passed over; before the first PLAY
// line of music so is a PLAY line of another shape, such as the driver's
// set-up PLAY "?3/",,,"?3/" of the header. After it, a line that begins
// like a PLAY line with a string must be one.
//
// The reader never reads outside [text, text + size); it refuses what it
// cannot read with a status (line and column where reading stopped, and
// why), and then holds no parts and no lines.
class ProgramReader {
public:
    enum { kReadOk = 0, kReadRefused = 1 };

    // One PLAY line of music.
    struct PlayLine {
        long long number; // the BASIC line number
        int textLine;     // 1-based line of the text
        size_t length;    // bytes, the line end not counted
    };

// Construction
    ProgramReader();
    virtual ~ProgramReader();
    ProgramReader(const ProgramReader&) = delete;
    ProgramReader& operator=(const ProgramReader&) = delete;

// Operations
    // Reads text[0, size) afresh. timeBase is the ticks per quarter note of
    // the notes given back (the file's time base): a whole note is
    // 4 * timeBase. Returns kReadOk or kReadRefused.
    virtual int Read(const char* text, size_t size, int timeBase);
    // With a sink, the notes of every part go to it as they are read, part
    // by part, and GetPart holds none after a good read; what a refused read
    // handed it is no part's whole music. Returns the previous sink; not
    // owned.
    virtual ProgramNoteSink* SetNoteSink(ProgramNoteSink* sink);
    // At most this many threads read the parts, the caller's included (a
    // sink that cannot take parts at once gets one). 0, the default: one
    // per core for a long text, one for a short one. Returns the previous.
    virtual int SetThreadCount(int count);

// Attributes
    // The quoted strings per PLAY line; 0 without PLAY lines.
    virtual int GetPartCount() const;
    // Notes and rests of a part, ties joined (see MmlPartReader); an empty
    // vector for a part that does not exist.
    virtual const std::vector<ProgramNote>& GetPart(int part) const;
    // The end of a part's music in ticks; 0 for a part that does not exist.
    virtual long long GetPartEnd(int part) const;
    virtual int GetPlayLineCount() const;
    virtual const std::vector<PlayLine>& GetPlayLines() const;
    // Ticks from the start to the end of part's music after PLAY line
    // index line (0-based among the PLAY lines); -1 outside.
    virtual long long GetPartEndAt(int line, int part) const;
    // Lines of the text, blank ones included.
    virtual int GetLineCount() const;
    // The number of the last numbered line of the text (PLAY or not); -1
    // when no line has one.
    virtual long long GetLastLineNumber() const;
    // Bytes of the longest line of the text, header included, line end not
    // counted.
    virtual size_t GetLongestLine() const;
    virtual int GetTimeBase() const;
    // Where and why the last Read refused: 1-based line and column (byte)
    // and the reason; a good status after a good read.
    virtual const ReadStatus& GetStatus() const;

private:
    // Where reading stopped and why; textLine 0 while it has not.
    struct Stop {
        int textLine = 0;
        size_t offset = 0; // in the line
        ReadStatus why;
        bool Set(int line, size_t at, const ReadStatus& reason)
        {
            textLine = line;
            offset = at;
            why = reason;
            return false;
        }
    };
    // Bytes of text from which the parts are read on every core.
    static const size_t kParallelBytes = 256 * 1024;

    void Clear();
    // The shape of one line of the text without its end, which begins at
    // lineStart: its number, and for a PLAY line of music where its strings
    // are. false with stop set for a line of a wrong shape.
    bool ScanLine(const char* line, size_t length, int textLine, size_t lineStart, Stop& stop);
    // Reads every part's strings of the PLAY lines found; stop gets the
    // first fault of the music in the order of the text, if any.
    void ReadParts(const char* text, size_t size, Stop& stop);
    // Whether line[from] begins a PLAY keyword followed by a quoted string;
    // at is then the offset of the quote.
    bool FindStrings(const char* line, size_t length, size_t from, size_t& at) const;
    // Appends where each string from the quote at 'at' to the line end
    // begins and ends: the offsets just past its opening quote and of its
    // closing one. false with the offset of the fault in 'fault' when the
    // line does not have that shape.
    bool SplitStrings(const char* line, size_t length, size_t at, std::vector<size_t>& strings,
                      size_t& fault, int& why) const;
    int Fail(int textLine, size_t offset, const ReadStatus& why);

    int m_timeBase;
    std::vector<std::string> m_keywords; // longest first
    std::vector<MmlPartReader> m_parts;
    std::vector<PlayLine> m_lines;
    int m_threadCount;
    int m_lineCount;
    long long m_lastLineNumber;
    size_t m_longestLine;
    ProgramNoteSink* m_sink; // not owned
    size_t m_linesLeft;      // of the text being read, this one included
    std::vector<size_t> m_lineStrings; // of the line being read, as SplitStrings gives them
    // From the first PLAY line of music, room for one on every line left:
    PageBuffer m_buffer;
    size_t* m_lineStarts; // of each PLAY line in the text
    size_t* m_strings;    // each PLAY line's strings, line by line: begin and end in its line
    long long* m_ends;    // each part's position after each line, part by part
    ReadStatus m_status;
    std::vector<ProgramNote> m_none;
};

#endif
