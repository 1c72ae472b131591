#ifndef MORVEK_TEXT_TEXTFORMAT_H
#define MORVEK_TEXT_TEXTFORMAT_H

#include <string>

// printf into a string of exactly the needed length, however long: the
// messages of the window and the checks are composed with it. An invalid
// format gives an empty string.
std::string FormatText(const char* format, ...);

#endif
