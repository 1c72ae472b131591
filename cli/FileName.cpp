#include "cli/FileName.h"

#include "text/PathName.h"

std::string GetFileName(const std::string& path)
{
    return PathName::FromSystem().GetFileName(path);
}
