#include "text/PathName.h"

#include <cstring>

namespace {

const char kCaptionSeparator[] = " - ";
const char kEllipsis[] = "...";

}  // namespace

PathName::PathName(const CodePage& codePage, Style style) : m_codePage(codePage), m_style(style)
{
}

PathName::~PathName()
{
}

PathName PathName::FromSystem()
{
#ifdef _WIN32
    return PathName(CodePage::FromSystem(), kWindowsPaths);
#else
    return PathName(CodePage::FromSystem(), kPosixPaths);
#endif
}

bool PathName::IsSeparator(const char* p, const char* start) const
{
    if (*p == '/')
        return true;
    return m_style == kWindowsPaths && (*p == '\\' || (*p == ':' && p == start + 1));
}

const char* PathName::FindFileName(const char* path) const
{
    if (path == nullptr)
        return "";
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = m_codePage.Next(p)) {
        if (IsSeparator(p, path))
            name = p + 1;
    }
    return name;
}

std::string PathName::GetFileName(const std::string& path) const
{
    // A name holds no terminator; what follows one is no part of the path.
    return std::string(FindFileName(path.c_str()));
}

std::string PathName::GetBaseName(const char* path) const
{
    const char* name = FindFileName(path);
    const char* dot = nullptr;
    for (const char* p = name; *p != '\0'; p = m_codePage.Next(p)) {
        if (*p == '.')
            dot = p;
    }
    return dot != nullptr ? std::string(name, static_cast<size_t>(dot - name)) : std::string(name);
}

std::string PathName::ComposeCaption(const char* title, const char* path, int size) const
{
    if (size < 1)
        return std::string();
    std::string head = title != nullptr ? title : "";
    head += kCaptionSeparator;
    const char* tail = path != nullptr ? path : "";
    const int limit = size - 1;
    if (head.size() + std::strlen(tail) <= static_cast<size_t>(limit))
        return head + tail;

    // Drop whole characters from the start of the path until "..." and the
    // rest fit behind the title.
    const int room = limit - static_cast<int>(head.size()) - static_cast<int>(sizeof kEllipsis - 1);
    if (room > 0) {
        const char* p = tail;
        while (*p != '\0' && std::strlen(p) > static_cast<size_t>(room))
            p = m_codePage.Next(p);
        return head + kEllipsis + p;
    }
    std::string whole = head + tail;
    return whole.substr(0, static_cast<size_t>(m_codePage.Fit(whole.c_str(), size)));
}
