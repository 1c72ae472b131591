#ifndef MORVEK_UI_ANSITEXT_H
#define MORVEK_UI_ANSITEXT_H

#include <string>

// Helpers for texts in the ANSI code page (932): every cut and every search
// for a separator steps over whole characters, because the second byte of a
// double-byte character may look like a backslash or a full stop.

// Bytes of the longest start of text that holds whole characters and fits a
// buffer of size bytes with its terminator (at most size - 1); 0 for size < 1.
int FitAnsi(const char* text, int size);

// Copies as much of text as FitAnsi allows and terminates it; returns the
// length copied. Does nothing for a null buffer or size < 1.
int CopyAnsi(char* buffer, int size, const char* text);

// The file name part of a path: what follows the last backslash, slash or
// drive colon.
const char* FindFileName(const char* path);

// The file name of path without its extension (the part from its last full
// stop on); a name without a full stop is kept whole.
std::string BaseName(const char* path);

// "title - path", cut to fit a buffer of size bytes: when the whole path does
// not fit, the start of the path gives way to "..." so that the file name
// stays readable; when not even that fits, the end of the text is cut.
std::string ComposeCaption(const char* title, const char* path, int size);

#endif
