#include "engine/ProgramReader.h"

#include "base/ParallelRun.h"
#include "settings/PlayKindTable.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
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

// The first quote of line in [from, to), or to when none is: a string of
// MML is a few bytes, too few for memchr's set-up to pay.
size_t FindQuote(const char* line, size_t from, size_t to)
{
    while (from < to && line[from] != '"')
        ++from;
    return from;
}

int ToColumn(size_t offset)
{
    return offset < static_cast<size_t>(INT_MAX) ? static_cast<int>(offset) + 1 : INT_MAX;
}

} // namespace

ProgramReader::ProgramReader()
    : m_timeBase(48)
    , m_threadCount(0)
    , m_lineCount(0)
    , m_lastLineNumber(-1)
    , m_longestLine(0)
    , m_sink(nullptr)
    , m_linesLeft(0)
    , m_lineStarts(nullptr)
    , m_strings(nullptr)
    , m_ends(nullptr)
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

int ProgramReader::SetThreadCount(int count)
{
    return std::exchange(m_threadCount, count < 0 ? 0 : count);
}

void ProgramReader::Clear()
{
    m_parts.clear();
    m_lines.clear();
    m_buffer.Release();
    m_lineStarts = nullptr;
    m_strings = nullptr;
    m_ends = nullptr;
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
    // First every line's shape, in order, up to the first that is wrong;
    // then each part's strings, part by part. A part's MML fault on an
    // earlier line is the one that counts, as a reader line by line finds it.
    Stop shape;
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
        if (!ScanLine(start, length, textLine, position, shape))
            break;
        --m_linesLeft;
        position = next;
    }
    Stop music;
    ReadParts(text, size, music);
    if (music.textLine > 0)
        return Fail(music.textLine, music.offset, music.why);
    if (shape.textLine > 0)
        return Fail(shape.textLine, shape.offset, shape.why);
    m_lineCount = textLine;
    for (MmlPartReader& part : m_parts)
        part.Finish();
    return kReadOk;
}

bool ProgramReader::ScanLine(const char* line, size_t length, int textLine, size_t lineStart,
                             Stop& stop)
{
    size_t i = SkipSpaces(line, length, 0);
    if (i == length)
        return true; // blank
    if (!IsDigit(line[i]))
        return stop.Set(textLine, i, ReadStatus(0, 0, ReadStatus::kNoLineNumber));
    const size_t numberStart = i;
    long long number = 0;
    while (i < length && IsDigit(line[i])) {
        if (i - numberStart == kMaxNumberDigits)
            return stop.Set(textLine, numberStart, ReadStatus(0, 0, ReadStatus::kLongLineNumber));
        number = number * 10 + (line[i++] - '0');
    }
    m_lastLineNumber = number;
    size_t at = 0;
    if (!FindStrings(line, length, SkipSpaces(line, length, i), at))
        return true; // not a PLAY line with strings: passed over
    size_t fault = 0;
    int why = ReadStatus::kNoReason;
    m_lineStrings.clear();
    if (!SplitStrings(line, length, at, m_lineStrings, fault, why)) {
        if (m_lines.empty())
            return true; // a PLAY line of the header
        return stop.Set(textLine, fault, ReadStatus(0, 0, why));
    }
    const size_t partCount = m_lineStrings.size() / 2;
    if (m_lines.empty()) {
        // Room for a PLAY line on every line left, in one buffer: the
        // parts' ends (the widest entries, first for their alignment), the
        // line starts, then every line's strings.
        const size_t lines = m_linesLeft;
        const size_t entry = sizeof(long long) + 2 * sizeof(size_t);
        if (partCount + 1 > SIZE_MAX / entry / lines)
            throw std::bad_alloc();
        char* buffer = static_cast<char*>(m_buffer.Reset(((partCount + 1) * lines) * entry));
        m_ends = reinterpret_cast<long long*>(buffer);
        m_lineStarts = reinterpret_cast<size_t*>(buffer + partCount * lines * sizeof(long long));
        m_strings = m_lineStarts + lines;
        m_lines.reserve(lines);
        m_parts.assign(partCount, MmlPartReader());
        for (size_t p = 0; p < partCount; ++p) {
            m_parts[p].SetTimeBase(m_timeBase);
            m_parts[p].SetNoteSink(m_sink, static_cast<int>(p));
        }
    } else if (partCount != m_parts.size()) {
        const size_t offset = partCount > m_parts.size() ? m_lineStrings[2 * m_parts.size()] - 1 : length;
        return stop.Set(textLine, offset,
                        ReadStatus(0, 0, ReadStatus::kStringCount, static_cast<long long>(partCount),
                                   static_cast<long long>(m_parts.size())));
    }
    std::copy(m_lineStrings.begin(), m_lineStrings.end(), m_strings + 2 * m_lines.size() * partCount);
    m_lineStarts[m_lines.size()] = lineStart;
    PlayLine playLine = { number, textLine, length };
    m_lines.push_back(playLine);
    return true;
}

void ProgramReader::ReadParts(const char* text, size_t size, Stop& stop)
{
    const size_t partCount = m_parts.size();
    const size_t lineCount = m_lines.size();
    // Each part writes its own lines' ends, on its own thread.
    std::vector<Stop> stops(partCount);
    auto readPart = [this, text, partCount, lineCount, &stops](size_t p) {
        // On the thread's own stack: part readers side by side in m_parts
        // would share cache lines between threads.
        MmlPartReader part(std::move(m_parts[p]));
        for (size_t k = 0; k < lineCount; ++k) {
            const size_t* string = m_strings + 2 * (k * partCount + p);
            const size_t begin = string[0];
            const int column = part.Read(text + m_lineStarts[k] + begin, string[1] - begin);
            if (column != MmlPartReader::kReadOk) {
                stops[p].Set(m_lines[k].textLine, begin + static_cast<size_t>(column) - 1,
                             part.GetStatus());
                break;
            }
            m_ends[p * lineCount + k] = part.GetPosition();
        }
        m_parts[p] = std::move(part);
    };
    // A long program's parts on the machine's cores, when what takes the
    // notes can have them so.
    int threads = m_threadCount;
    if (threads == 0)
        threads = size >= kParallelBytes ? ParallelRun::GetCoreCount() : 1;
    if (m_sink != nullptr && !m_sink->TakesPartsAtOnce())
        threads = 1;
    if (threads == 1) {
        ParallelRun::ForEach(partCount, 1, readPart);
    } else {
        // The longest parts first: the last ones taken are short, so no
        // core waits long for the other to finish.
        std::vector<size_t> order(partCount);
        std::vector<size_t> bytes(partCount, 0);
        for (size_t p = 0; p < partCount; ++p)
            order[p] = p;
        for (size_t k = 0; k < lineCount; ++k) {
            const size_t* strings = m_strings + 2 * k * partCount;
            for (size_t p = 0; p < partCount; ++p)
                bytes[p] += strings[2 * p + 1] - strings[2 * p];
        }
        std::stable_sort(order.begin(), order.end(),
                         [&bytes](size_t a, size_t b) { return bytes[a] > bytes[b]; });
        ParallelRun::ForEach(partCount, threads, [&order, &readPart](size_t i) { readPart(order[i]); });
    }
    // The first faulty line, and on it the first faulty part.
    for (const Stop& s : stops) {
        if (s.textLine > 0 && (stop.textLine == 0 || s.textLine < stop.textLine))
            stop = s;
    }
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
                                 std::vector<size_t>& strings, size_t& fault, int& why) const
{
    size_t i = at;
    for (;;) {
        // line[i] is an opening quote.
        const size_t begin = i + 1;
        const size_t end = FindQuote(line, begin, length);
        if (end >= length) {
            fault = i;
            why = ReadStatus::kNoClosingQuote;
            return false;
        }
        strings.push_back(begin);
        strings.push_back(end);
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
    return m_ends[static_cast<size_t>(part) * m_lines.size() + static_cast<size_t>(line)];
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
