#ifndef MORVEK_TEXT_TEXTTABLE_H
#define MORVEK_TEXT_TEXTTABLE_H

#include <initializer_list>
#include <string>

// The texts of one language, for core code that words something a front
// end shows: the command-line tool takes the English table, the window a
// table that loads its strings the way every other text of the window is
// loaded (in the interface's language).
//
// Texts with counts come in pairs: the id for any count, and id + 1 for a
// count of one (the same text in languages without a plural). Their
// numbers and phrases go in as %1 to %9, so that each language may put
// them where its sentence wants them.
class TextTable {
public:
    enum { kEnglish = 0, kJapanese = 1 };

// Construction
    explicit TextTable(int language = kEnglish);
    virtual ~TextTable();

// Attributes
    virtual int GetLanguage() const;

// Operations
    // The text of id; "" when the table has none.
    virtual std::string Get(int id) const;
    // The text of id with %1 to %9 replaced by args (see FillText).
    virtual std::string Fill(int id, std::initializer_list<std::string> args) const;
    // Fill with the singular text (id + 1) when count is 1, else id's.
    virtual std::string FillCounted(int id, long long count,
                                    std::initializer_list<std::string> args) const;

private:
    int m_language;
};

#endif
