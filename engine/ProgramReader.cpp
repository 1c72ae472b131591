#include "engine/ProgramReader.h"

#include "settings/PlayKindTable.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace {

// Digits of a line number: more than any BASIC, less than overflows.
const size_t kMaxNumberDigits = 18;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

size_t SkipSpaces(const char* line, size_t length, size_t i)
{
    while (i < length && IsSpace(line[i]))
        ++i;
    return i;
}

int ToColumn(size_t offset)
{
    return offset < static_cast<size_t>(INT_MAX) ? static_cast<int>(offset) + 1 : INT_MAX;
}

} // namespace

ProgramReader::ProgramReader()
    : m_timeBase(48)
    , m_lineCount(0)
    , m_lastLineNumber(-1)
    , m_longestLine(0)
    , m_sink(nullptr)
    , m_linesLeft(0)
{
    PlayKindTable kinds;
    for (int i = 0; i < kinds.GetCount(); ++i) {
        if (const char* keyword = kinds.GetKeyword(i))
            m_keywords.push_back(keyword);
    }
    // PLAY must not take the place of PLAY HG.
    std::stable_sort(m_keywords.begin(), m_keywords.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

ProgramReader::~ProgramReader()
{
}

ProgramNoteSink* ProgramReader::SetNoteSink(ProgramNoteSink* sink)
{
    return std::exchange(m_sink, sink);
}

void ProgramReader::Clear()
{
    m_parts.clear();
    m_lines.clear();
    m_ends.clear();
    m_lineCount = 0;
    m_lastLineNumber = -1;
    m_longestLine = 0;
    m_status = ReadStatus();
}

int ProgramReader::Read(const char* text, size_t size, int timeBase)
{
    Clear();
    m_timeBase = timeBase;
    if (!text)
        size = 0;
    m_linesLeft = static_cast<size_t>(std::count(text, text + size, '\n')) + 1;
    size_t position = 0;
    int textLine = 0;
    while (position < size) {
        const char* start = text + position;
        const void* feed = std::memchr(start, '\n', size - position);
        size_t length = feed ? static_cast<size_t>(static_cast<const char*>(feed) - start)
                             : size - position;
        const size_t next = position + length + (feed ? 1 : 0);
        if (length > 0 && start[length - 1] == '\r')
            --length;
        if (textLine < INT_MAX)
            ++textLine;
        m_longestLine = std::max(m_longestLine, length);
        if (ReadLine(start, length, textLine) != kReadOk)
            return kReadRefused;
        --m_linesLeft;
        position = next;
    }
    m_lineCount = textLine;
    for (MmlPartReader& part : m_parts)
        part.Finish();
    return kReadOk;
}

int ProgramReader::ReadLine(const char* line, size_t length, int textLine)
{
    size_t i = SkipSpaces(line, length, 0);
    if (i == length)
        return kReadOk; // blank
    if (!IsDigit(line[i]))
        return Fail(textLine, i, ReadStatus(0, 0, ReadStatus::kNoLineNumber));
    const size_t numberStart = i;
    long long number = 0;
    while (i < length && IsDigit(line[i])) {
        if (i - numberStart == kMaxNumberDigits)
            return Fail(textLine, numberStart, ReadStatus(0, 0, ReadStatus::kLongLineNumber));
        number = number * 10 + (line[i++] - '0');
    }
    m_lastLineNumber = number;
    size_t at = 0;
    if (!FindStrings(line, length, SkipSpaces(line, length, i), at))
        return kReadOk; // not a PLAY line with strings: passed over
    std::vector<std::pair<size_t, size_t>> strings;
    size_t fault = 0;
    int why = ReadStatus::kNoReason;
    if (!SplitStrings(line, length, at, strings, fault, why)) {
        if (m_lines.empty())
            return kReadOk; // a PLAY line of the header
        return Fail(textLine, fault, ReadStatus(0, 0, why));
    }
    const size_t partCount = strings.size();
    if (m_lines.empty()) {
        // Room for a PLAY line on every line left, so that a long program
        // is not copied as these grow.
        m_lines.reserve(m_linesLeft);
        m_ends.reserve(m_linesLeft * partCount);
        m_parts.assign(partCount, MmlPartReader());
        for (size_t p = 0; p < partCount; ++p) {
            m_parts[p].SetTimeBase(m_timeBase);
            m_parts[p].SetNoteSink(m_sink, static_cast<int>(p));
        }
    } else if (partCount != m_parts.size()) {
        const size_t offset = partCount > m_parts.size() ? strings[m_parts.size()].first - 1
                                                         : length;
        return Fail(textLine, offset,
                    ReadStatus(0, 0, ReadStatus::kStringCount, static_cast<long long>(partCount),
                               static_cast<long long>(m_parts.size())));
    }
    for (size_t p = 0; p < partCount; ++p) {
        const int stop = m_parts[p].Read(line + strings[p].first, strings[p].second);
        if (stop != MmlPartReader::kReadOk)
            return Fail(textLine, strings[p].first + static_cast<size_t>(stop) - 1,
                        m_parts[p].GetStatus());
    }
    PlayLine playLine = { number, textLine, length };
    m_lines.push_back(playLine);
    for (const MmlPartReader& part : m_parts)
        m_ends.push_back(part.GetPosition());
    return kReadOk;
}

bool ProgramReader::FindStrings(const char* line, size_t length, size_t from, size_t& at) const
{
    for (const std::string& keyword : m_keywords) {
        if (length - from < keyword.size())
            continue;
        size_t k = 0;
        while (k < keyword.size() && Upper(line[from + k]) == keyword[k])
            ++k;
        if (k < keyword.size())
            continue;
        at = SkipSpaces(line, length, from + k);
        if (at < length && line[at] == '"')
            return true;
    }
    return false;
}

bool ProgramReader::SplitStrings(const char* line, size_t length, size_t at,
                                 std::vector<std::pair<size_t, size_t>>& strings, size_t& fault,
                                 int& why) const
{
    size_t i = at;
    for (;;) {
        // line[i] is an opening quote.
        const size_t begin = i + 1;
        const void* close = begin < length ? std::memchr(line + begin, '"', length - begin)
                                           : nullptr;
        if (!close) {
            fault = i;
            why = ReadStatus::kNoClosingQuote;
            return false;
        }
        const size_t end = static_cast<size_t>(static_cast<const char*>(close) - line);
        strings.emplace_back(begin, end - begin);
        i = SkipSpaces(line, length, end + 1);
        if (i == length)
            return true;
        if (line[i] != ',') {
            fault = i;
            why = ReadStatus::kTextAfterStrings;
            return false;
        }
        i = SkipSpaces(line, length, i + 1);
        if (i == length || line[i] != '"') {
            fault = i;
            why = ReadStatus::kLoneComma;
            return false;
        }
    }
}

int ProgramReader::Fail(int textLine, size_t offset, const ReadStatus& why)
{
    // why may be a part's own status, which Clear frees.
    ReadStatus status = why;
    Clear();
    status.Locate(textLine, ToColumn(offset));
    m_status = status;
    return kReadRefused;
}

int ProgramReader::GetPartCount() const
{
    return static_cast<int>(m_parts.size());
}

const std::vector<ProgramNote>& ProgramReader::GetPart(int part) const
{
    if (part < 0 || part >= GetPartCount())
        return m_none;
    return m_parts[static_cast<size_t>(part)].GetNotes();
}

long long ProgramReader::GetPartEnd(int part) const
{
    if (part < 0 || part >= GetPartCount())
        return 0;
    return m_parts[static_cast<size_t>(part)].GetPosition();
}

int ProgramReader::GetPlayLineCount() const
{
    return static_cast<int>(m_lines.size());
}

const std::vector<ProgramReader::PlayLine>& ProgramReader::GetPlayLines() const
{
    return m_lines;
}

long long ProgramReader::GetPartEndAt(int line, int part) const
{
    if (line < 0 || line >= GetPlayLineCount() || part < 0 || part >= GetPartCount())
        return -1;
    return m_ends[static_cast<size_t>(line) * m_parts.size() + static_cast<size_t>(part)];
}

int ProgramReader::GetLineCount() const
{
    return m_lineCount;
}

long long ProgramReader::GetLastLineNumber() const
{
    return m_lastLineNumber;
}

size_t ProgramReader::GetLongestLine() const
{
    return m_longestLine;
}

int ProgramReader::GetTimeBase() const
{
    return m_timeBase;
}

const ReadStatus& ProgramReader::GetStatus() const
{
    return m_status;
}
