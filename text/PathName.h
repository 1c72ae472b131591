#ifndef MORVEK_TEXT_PATHNAME_H
#define MORVEK_TEXT_PATHNAME_H

#include <string>

#include "text/CodePage.h"

// Splits and shortens file paths in an ANSI code page without cutting a
// double-byte character: the window's caption and file name field and the
// command-line converter's listing use this one routine.
//
// Windows paths separate folders with a backslash or a slash, and a drive's
// colon (the second character) ends the drive; POSIX paths know only the slash.
class PathName {
public:
    enum Style { kWindowsPaths, kPosixPaths };

// Construction
    PathName(const CodePage& codePage, Style style);
    virtual ~PathName();

    // The platform's paths in the system's code page.
    static PathName FromSystem();

// Operations
    // The file name part of a path: what follows its last separator; a
    // pointer into path, "" for a null path.
    virtual const char* FindFileName(const char* path) const;
    virtual std::string GetFileName(const std::string& path) const;
    // The file name of path without its extension (the part from its last
    // full stop on); a name without a full stop is kept whole.
    virtual std::string GetBaseName(const char* path) const;
    // "title - path", cut to fit a buffer of size bytes: when the whole path
    // does not fit, the start of the path gives way to "..." so that the file
    // name stays readable; when not even that fits, the end of the text is cut.
    virtual std::string ComposeCaption(const char* title, const char* path, int size) const;

private:
    bool IsSeparator(const char* p, const char* start) const;

    CodePage m_codePage;
    Style m_style;
};

#endif
