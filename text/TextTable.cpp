#include "text/TextTable.h"

#include "text/TextFormat.h"
#include "text/Texts.h"

TextTable::TextTable(int language) : m_language(language)
{
}

TextTable::~TextTable()
{
}

int TextTable::GetLanguage() const
{
    return m_language;
}

std::string TextTable::Get(int id) const
{
    const char* text = m_language == kJapanese ? GetString(id) : GetEnglishString(id);
    return text ? text : "";
}

std::string TextTable::Fill(int id, std::initializer_list<std::string> args) const
{
    return FillText(Get(id), args);
}

std::string TextTable::FillCounted(int id, long long count,
                                   std::initializer_list<std::string> args) const
{
    return Fill(count == 1 ? id + 1 : id, args);
}
