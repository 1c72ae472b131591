#include "score/ReadStatus.h"

#include "resources/StringIds.h"
#include "text/TextTable.h"

namespace {

const int kReasonTexts[ReadStatus::kReasonCount] = {
    0,
    kStrReasonBadOctave,
    kStrReasonNoOctave,
    kStrReasonBadDefaultLength,
    kStrReasonLoneTie,
    kStrReasonKeyOutside,
    kStrReasonBadLength,
    kStrReasonNotMml,
    kStrReasonNoLineNumber,
    kStrReasonLongLineNumber,
    kStrReasonNoClosingQuote,
    kStrReasonTextAfterStrings,
    kStrReasonLoneComma,
    kStrReasonStringCount,
    kStrReasonOutOfTime
};

} // namespace

ReadStatus::ReadStatus()
    : m_code(kReadOk), m_line(0), m_column(0), m_reason(kNoReason), m_first(0), m_second(0)
{
}

ReadStatus::ReadStatus(int line, int column, int reason, long long first, long long second)
    : m_code(kReadRefused)
    , m_line(line)
    , m_column(column)
    , m_reason(reason > kNoReason && reason < kReasonCount ? reason : kNotMml)
    , m_first(first)
    , m_second(second)
{
}

ReadStatus::~ReadStatus()
{
}

int ReadStatus::GetCode() const
{
    return m_code;
}

bool ReadStatus::IsOk() const
{
    return m_code == kReadOk;
}

int ReadStatus::GetLine() const
{
    return m_line;
}

int ReadStatus::GetColumn() const
{
    return m_column;
}

int ReadStatus::GetReason() const
{
    return m_reason;
}

long long ReadStatus::GetFirst() const
{
    return m_first;
}

long long ReadStatus::GetSecond() const
{
    return m_second;
}

int ReadStatus::GetReasonTextId() const
{
    return kReasonTexts[m_reason];
}

ReadStatus ReadStatus::Locate(int line, int column)
{
    const ReadStatus previous = *this;
    m_line = line;
    m_column = column;
    return previous;
}

std::string ReadStatus::DescribeReason(const TextTable& texts) const
{
    if (IsOk())
        return std::string();
    if (m_reason == kStringCount) {
        return texts.FillCounted(GetReasonTextId(), m_first,
                                 { std::to_string(m_first), std::to_string(m_second) });
    }
    return texts.Get(GetReasonTextId());
}
