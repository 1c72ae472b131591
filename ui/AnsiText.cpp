#include "ui/AnsiText.h"

#include "text/CodePage.h"
#include "text/PathName.h"

// The window's texts are in the system's ANSI code page; the cutting itself
// is the portable PathName and CodePage, shared with midi2morvek.

int FitAnsi(const char* text, int size)
{
    return CodePage::FromSystem().Fit(text, size);
}

int CopyAnsi(char* buffer, int size, const char* text)
{
    return CodePage::FromSystem().Copy(buffer, size, text);
}

const char* FindFileName(const char* path)
{
    return PathName::FromSystem().FindFileName(path);
}

std::string BaseName(const char* path)
{
    return PathName::FromSystem().GetBaseName(path);
}

std::string ComposeCaption(const char* title, const char* path, int size)
{
    return PathName::FromSystem().ComposeCaption(title, path, size);
}
