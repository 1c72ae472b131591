#ifndef MORVEK_CLI_FILENAME_H
#define MORVEK_CLI_FILENAME_H

#include <string>

// The file name of a path without its folder: after the last "/" (and on
// Windows also "\" or a drive's ":"), stepping over the double-byte
// characters of the system's code page.
std::string GetFileName(const std::string& path);

#endif
