#ifndef MORVEK_TEXT_TEXTFORMAT_H
#define MORVEK_TEXT_TEXTFORMAT_H

#include <initializer_list>
#include <string>

// printf into a string of exactly the needed length, however long: the
// messages of the window and the checks are composed with it. An invalid
// format gives an empty string.
std::string FormatText(const char* format, ...);

// pattern with %1 to %9 replaced by the first to ninth of args (by "" past
// the last) and %% by %; any other % stays. Unlike printf, a translation
// may put the arguments in another order.
std::string FillText(const std::string& pattern, std::initializer_list<std::string> args);

#endif
