#include "ui/AnsiText.h"

#include <windows.h>

#include <cstring>

namespace {

const char kCaptionSeparator[] = " - ";
const char kEllipsis[] = "...";

bool IsSeparator(const char* p, const char* start)
{
    return *p == '\\' || *p == '/' || (*p == ':' && p == start + 1);
}

} // namespace

int FitAnsi(const char* text, int size)
{
    if (text == nullptr || size < 1)
        return 0;
    const int limit = size - 1;
    const char* p = text;
    while (*p != '\0') {
        const char* next = CharNextA(p);
        if (next - text > limit)
            break;
        p = next;
    }
    return static_cast<int>(p - text);
}

int CopyAnsi(char* buffer, int size, const char* text)
{
    if (buffer == nullptr || size < 1)
        return 0;
    int length = FitAnsi(text, size);
    if (length > 0)
        std::memcpy(buffer, text, static_cast<size_t>(length));
    buffer[length] = '\0';
    return length;
}

const char* FindFileName(const char* path)
{
    if (path == nullptr)
        return "";
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (IsSeparator(p, path))
            name = p + 1;
    }
    return name;
}

std::string BaseName(const char* path)
{
    const char* name = FindFileName(path);
    const char* dot = nullptr;
    for (const char* p = name; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.')
            dot = p;
    }
    return dot != nullptr ? std::string(name, static_cast<size_t>(dot - name)) : std::string(name);
}

std::string ComposeCaption(const char* title, const char* path, int size)
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
            p = CharNextA(p);
        return head + kEllipsis + p;
    }
    std::string whole = head + tail;
    return whole.substr(0, static_cast<size_t>(FitAnsi(whole.c_str(), size)));
}
