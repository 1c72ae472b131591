#include "engine/ConversionResult.h"

#include "score/NoteListSet.h"

ConversionResult::ConversionResult()
    : m_segmentTicks(0), m_everyListCounted(true)
{
}

ConversionResult::~ConversionResult()
{
}

ConversionResult::ConversionResult(ConversionResult&& other) noexcept
    : m_status(other.m_status)
    , m_text(std::move(other.m_text))
    , m_lists(std::move(other.m_lists))
    , m_settings(other.m_settings)
    , m_assignment(std::move(other.m_assignment))
    , m_listCounts(std::move(other.m_listCounts))
    , m_segmentTicks(other.m_segmentTicks)
    , m_everyListCounted(other.m_everyListCounted)
    , m_lineEnds(std::move(other.m_lineEnds))
    , m_wideLines(std::move(other.m_wideLines))
{
}

ConversionResult& ConversionResult::operator=(ConversionResult&& other) noexcept
{
    m_status = other.m_status;
    m_text = std::move(other.m_text);
    m_lists = std::move(other.m_lists);
    m_settings = other.m_settings;
    m_assignment = std::move(other.m_assignment);
    m_listCounts = std::move(other.m_listCounts);
    m_segmentTicks = other.m_segmentTicks;
    m_everyListCounted = other.m_everyListCounted;
    m_lineEnds = std::move(other.m_lineEnds);
    m_wideLines = std::move(other.m_wideLines);
    return *this;
}

void ConversionResult::Clear()
{
    *this = ConversionResult();
}

std::string ConversionResult::TakeText()
{
    std::string text;
    text.swap(m_text);
    return text;
}

int ConversionResult::GetResult() const
{
    return m_status.GetResult();
}

bool ConversionResult::IsOk() const
{
    return m_status.GetResult() == 0 && m_lists != nullptr;
}

const ConvertStatus& ConversionResult::GetStatus() const
{
    return m_status;
}

const std::string& ConversionResult::GetText() const
{
    return m_text;
}

NoteListSet* ConversionResult::GetLists() const
{
    return m_lists.get();
}

const ConvertSettings& ConversionResult::GetSettings() const
{
    return m_settings;
}

const std::vector<int>& ConversionResult::GetAssignment() const
{
    return m_assignment;
}

const std::vector<ConversionResult::ListCounts>& ConversionResult::GetListCounts() const
{
    return m_listCounts;
}

int ConversionResult::GetSegmentTicks() const
{
    return m_segmentTicks;
}

const std::vector<int>& ConversionResult::GetLineEnds() const
{
    return m_lineEnds;
}

const std::vector<long long>& ConversionResult::GetWideLines() const
{
    return m_wideLines;
}

bool ConversionResult::IsEveryListCounted() const
{
    return m_everyListCounted;
}
