#ifndef MORVEK_TEXT_TEXTS_H
#define MORVEK_TEXT_TEXTS_H

#include "resources/StringIds.h"

// The program's string table, seen from portable code. The texts come from
// resources/Strings.def, the same lines the Windows resource script compiles,
// so the command-line tool and the tests use exactly the program's bytes
// (code page 932).

// The text of string id, or null when the table has no such string. Some
// texts (the file dialog filters) hold NUL bytes: use GetStringLength.
const char* GetString(int id);

// The length in bytes of string id without the final terminator, or -1 when
// the table has no such string.
int GetStringLength(int id);

// The text of string id in the English table (resources/StringsEnglish.def),
// or null when it has no such string.
const char* GetEnglishString(int id);

#endif
