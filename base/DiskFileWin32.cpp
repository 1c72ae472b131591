// DiskFile on Windows: the system's own file calls, which record their
// failure in the thread's last-error code.
#include "base/DiskFile.h"

#include <windows.h>

DiskFile::Handle DiskFile::Open(const char* name, unsigned long access,
                                unsigned long flagsAndAttributes, unsigned long creation)
{
    if (name == nullptr) {
        RecordFailure(ERROR_INVALID_PARAMETER, kOpenFailed);
        return nullptr;
    }
    HANDLE h = ::CreateFileA(name, access, 0, nullptr, creation, flagsAndAttributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        RecordFailure(::GetLastError(), kOpenFailed);
        return nullptr;
    }
    return h;
}

int DiskFile::Close(Handle handle)
{
    if (!::CloseHandle(handle)) {
        RecordFailure(::GetLastError(), kCloseFailed);
        return 0;
    }
    return 1;
}

unsigned long DiskFile::GetSize(Handle handle, unsigned long* high)
{
    DWORD highPart = 0;
    DWORD size = ::GetFileSize(handle, &highPart);
    // All ones is also a real size; only the last-error code tells them apart.
    if (size == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
        RecordFailure(::GetLastError(), kSizeFailed);
        return kInvalidSize;
    }
    if (high != nullptr)
        *high = highPart;
    return size;
}

unsigned long DiskFile::Read(Handle handle, void* buffer, unsigned long count)
{
    DWORD done = 0;
    if (!::ReadFile(handle, buffer, count, &done, nullptr))
        RecordFailure(::GetLastError(), kReadFailed);
    return done;
}

unsigned long DiskFile::Write(Handle handle, const void* buffer, unsigned long count)
{
    DWORD done = 0;
    if (!::WriteFile(handle, buffer, count, &done, nullptr))
        RecordFailure(::GetLastError(), kWriteFailed);
    return done;
}

int DiskFile::Replace(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr) {
        RecordFailure(ERROR_INVALID_PARAMETER, kReplaceFailed);
        return 0;
    }
    if (!::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        RecordFailure(::GetLastError(), kReplaceFailed);
        return 0;
    }
    return 1;
}

int DiskFile::Remove(const char* name)
{
    if (name == nullptr) {
        RecordFailure(ERROR_INVALID_PARAMETER, kRemoveFailed);
        return 0;
    }
    if (!::DeleteFileA(name)) {
        RecordFailure(::GetLastError(), kRemoveFailed);
        return 0;
    }
    return 1;
}

std::string DiskFile::DescribeError(unsigned long code) const
{
    char text[512];
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, text, sizeof text, nullptr);
    if (n == 0)
        return DescribeUnknownError(code);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}
