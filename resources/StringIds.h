#ifndef MORVEK_RESOURCES_STRINGIDS_H
#define MORVEK_RESOURCES_STRINGIDS_H

// The names of the string table's ids (kStrClassName = 1000, ...), made
// from the lines of Strings.def, so that the window code and the portable
// code name the same texts without a second list.
enum StringId {
#define MORVEK_STRING(id, name, text) name = id,
#include "resources/Strings.def"
#undef MORVEK_STRING
};

#endif
