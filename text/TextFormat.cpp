#include "text/TextFormat.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string FormatText(const char* format, ...)
{
    // Most texts fit the stack buffer; a longer one is written again into
    // a buffer of its exact size.
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0)
        return std::string();
    if (static_cast<size_t>(length) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(length));
    std::vector<char> large(static_cast<size_t>(length) + 1);
    va_start(args, format);
    std::vsnprintf(large.data(), large.size(), format, args);
    va_end(args);
    return std::string(large.data(), static_cast<size_t>(length));
}

std::string FillText(const std::string& pattern, std::initializer_list<std::string> args)
{
    std::string text;
    text.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] != '%' || (next != '%' && (next < '1' || next > '9'))) {
            text += pattern[i];
            continue;
        }
        ++i;
        if (next == '%') {
            text += '%';
            continue;
        }
        const size_t index = static_cast<size_t>(next - '1');
        if (index < args.size())
            text += *(args.begin() + index);
    }
    return text;
}
