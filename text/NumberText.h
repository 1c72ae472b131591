#ifndef MORVEK_TEXT_NUMBERTEXT_H
#define MORVEK_TEXT_NUMBERTEXT_H

#include <string>

// How the program shows and reads back the numbers of its fields: groups of
// three digits separated by "," ("1,920"), and any text read as the number its
// decimal digits make.

// Writes the decimal text of value with "," between groups of three digits
// into buffer (at most size - 1 bytes and a terminator, like snprintf) and
// returns the length of the whole text, so a result >= size means the text
// was cut. A negative value gets a leading "-". A null buffer or a size of 0
// writes nothing.
int FormatThousands(int value, char* buffer, int size);

// The same text as a string.
std::string FormatThousands(int value);

// The number formed by the decimal digits of text read left to right; every
// other character is skipped ("-5" gives 5, "1.5" gives 15, "1,920" gives
// 1920). No digits, or a null text, give 0. More digits than an int holds
// give the largest int, which then fails any range check like other values.
int ParseDigits(const char* text);

// The strict reading of a typed whole number: blanks and tabs around it, an
// optional sign, decimal digits with or without "," between groups ("1,920";
// a "," only after a digit). Anything else, or no digit, gives false and
// leaves value alone. Too many digits give the largest (or smallest) int.
bool ReadWholeNumber(const std::string& text, int& value);

#endif
