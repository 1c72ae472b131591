#include "text/Texts.h"

#include <cstddef>

namespace {

struct StringEntry {
    int id;
    const char* text;
    int length;
};

// sizeof counts the bytes the compiler made of the literal (code page 932),
// embedded NULs included, plus the terminator.
const StringEntry kStrings[] = {
#define MORVEK_STRING(id, name, text) { id, text, static_cast<int>(sizeof(text)) - 1 },
#include "resources/Strings.def"
#undef MORVEK_STRING
};

// The English table holds plain ASCII, the same bytes in any code page.
const StringEntry kEnglishStrings[] = {
#define MORVEK_STRING(id, name, text) { id, text, static_cast<int>(sizeof(text)) - 1 },
#include "resources/StringsEnglish.def"
#undef MORVEK_STRING
};

template <size_t N>
const StringEntry* FindIn(const StringEntry (&table)[N], int id)
{
    for (const StringEntry& entry : table) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

const StringEntry* FindString(int id)
{
    return FindIn(kStrings, id);
}

} // namespace

const char* GetString(int id)
{
    const StringEntry* entry = FindString(id);
    return entry ? entry->text : nullptr;
}

int GetStringLength(int id)
{
    const StringEntry* entry = FindString(id);
    return entry ? entry->length : -1;
}

const char* GetEnglishString(int id)
{
    const StringEntry* entry = FindIn(kEnglishStrings, id);
    return entry ? entry->text : nullptr;
}
