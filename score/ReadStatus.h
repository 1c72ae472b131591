#ifndef MORVEK_SCORE_READSTATUS_H
#define MORVEK_SCORE_READSTATUS_H

#include <string>

class TextTable;

// Why reading a program text (or one MML string of it) stopped: a code, the
// 1-based line and column (byte) where it stopped, and the reason as a code
// with up to two numbers, so that every front end words it in its own
// language. A reader returns a refusal; the reader of a whole program puts
// the place of an MML string's refusal on its own line (Locate).
class ReadStatus {
public:
    enum { kReadOk = 0, kReadRefused = 1 };
    // The reasons; each names a text of the string table (GetReasonTextId).
    enum Reason {
        kNoReason = 0,
        kBadOctave,
        kNoOctave,
        kBadDefaultLength,
        kLoneTie,
        kKeyOutside,
        kBadLength,
        kNotMml,
        kNoLineNumber,
        kLongLineNumber,
        kNoClosingQuote,
        kTextAfterStrings,
        kLoneComma,
        kStringCount,  // first: strings on the line, second: on the first PLAY line
        kOutOfTime,
        kReasonCount
    };

// Construction
    // A good read.
    ReadStatus();
    // A refusal at line and column for reason with its numbers.
    ReadStatus(int line, int column, int reason, long long first = 0, long long second = 0);
    virtual ~ReadStatus();

// Attributes
    virtual int GetCode() const;
    virtual bool IsOk() const;
    // 0, 0 for a good read; line 0 for a refusal not yet placed on a line.
    virtual int GetLine() const;
    virtual int GetColumn() const;
    virtual int GetReason() const;
    virtual long long GetFirst() const;
    virtual long long GetSecond() const;
    // The string id of the reason's words; 0 for a good read.
    virtual int GetReasonTextId() const;

// Operations
    // Places a refusal on line, column. Returns the status it replaces.
    virtual ReadStatus Locate(int line, int column);
    // The reason in the words of texts' language ("" for a good read).
    virtual std::string DescribeReason(const TextTable& texts) const;

private:
    int m_code;
    int m_line;
    int m_column;
    int m_reason;
    long long m_first;
    long long m_second;
};

#endif
