// What both back ends share: the recorded code and the error mode. The
// system calls live in DiskFileWin32.cpp and DiskFilePosix.cpp, one of which
// CMake builds.
#include "base/DiskFile.h"

#include <cstdio>
#include <utility>

DiskFile::DiskFile() : m_errorCode(0), m_systemErrorMode(1)
{
}

DiskFile::~DiskFile()
{
}

unsigned long DiskFile::SetErrorCode(unsigned long code)
{
    return std::exchange(m_errorCode, code);
}

unsigned long DiskFile::GetErrorCode() const
{
    return m_errorCode;
}

int DiskFile::SetSystemErrorMode(int flag)
{
    return std::exchange(m_systemErrorMode, flag);
}

int DiskFile::GetSystemErrorMode() const
{
    return m_systemErrorMode;
}

void DiskFile::RecordFailure(unsigned long systemCode, unsigned long fixedCode)
{
    SetErrorCode(GetSystemErrorMode() != 0 ? systemCode : fixedCode);
}

std::string DiskFile::DescribeUnknownError(unsigned long code) const
{
    char text[64];
    std::snprintf(text, sizeof text, "error code %lu", code);
    return text;
}
