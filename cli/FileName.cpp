#include "cli/FileName.h"

std::string GetFileName(const std::string& path)
{
#ifdef _WIN32
    const char* separators = "/\\:";
#else
    const char* separators = "/";
#endif
    size_t last = path.find_last_of(separators);
    return last == std::string::npos ? path : path.substr(last + 1);
}
