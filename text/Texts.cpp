#include "text/Texts.h"

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

const StringEntry* FindString(int id)
{
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
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
