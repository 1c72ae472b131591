#include "engine/ConvertStatus.h"

ConvertStatus::ConvertStatus()
    : m_result(0)
    , m_setting(kNoSetting)
    , m_value(0)
    , m_listCount(0)
    , m_segmentCount(0)
{
}

ConvertStatus::~ConvertStatus()
{
}

int ConvertStatus::Refuse(int result, int setting, long long value)
{
    m_result = result;
    m_setting = setting;
    m_value = value;
    m_listCount = 0;
    m_segmentCount = 0;
    return result;
}

void ConvertStatus::Clear()
{
    Refuse(0, kNoSetting, 0);
}

int ConvertStatus::GetResult() const
{
    return m_result;
}

int ConvertStatus::GetSetting() const
{
    return m_setting;
}

long long ConvertStatus::GetValue() const
{
    return m_value;
}

int ConvertStatus::SetListCount(int count)
{
    int previous = m_listCount;
    m_listCount = count;
    return previous;
}

int ConvertStatus::GetListCount() const
{
    return m_listCount;
}

long long ConvertStatus::SetSegmentCount(long long count)
{
    long long previous = m_segmentCount;
    m_segmentCount = count;
    return previous;
}

long long ConvertStatus::GetSegmentCount() const
{
    return m_segmentCount;
}
