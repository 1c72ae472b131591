#include "ui/WindowTextTable.h"

#include "resources/StringIds.h"
#include "score/ReadStatus.h"
#include "text/TextFormat.h"

WindowTextTable::WindowTextTable(HINSTANCE instance)
    : TextTable(PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale())) == LANG_JAPANESE ? kJapanese : kEnglish)
    , m_instance(instance)
{
}

WindowTextTable::~WindowTextTable()
{
}

std::string WindowTextTable::Get(int id) const
{
    char text[kTextSize] = "";
    const int length = LoadStringA(m_instance, static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string WindowTextTable::DescribeUnreadable(const ReadStatus& status) const
{
    return FormatText(Get(kStrPreviewUnreadable).c_str(), status.GetLine(), status.GetColumn(),
                      status.DescribeReason(*this).c_str());
}
