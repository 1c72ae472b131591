// DiskFile on POSIX systems: the same results as on Windows, with errno
// mapped to the Windows codes, and share mode 0 as an exclusive lock.
#include "base/DiskFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An errno without a Windows counterpart is kept in the customer-code range.
const unsigned long kErrnoFlag = 0x20000000UL;

struct ErrnoCode {
    int error;
    unsigned long code;
};

// The first row with a given code is the one DescribeError uses.
const ErrnoCode kErrnoCodes[] = {
    {ENOENT, DiskFile::kErrorFileNotFound},
    {ENOENT, DiskFile::kErrorPathNotFound},
    {EMFILE, 4},                                      // ERROR_TOO_MANY_OPEN_FILES
    {ENFILE, 4},
    {EACCES, DiskFile::kErrorAccessDenied},
    {EPERM, DiskFile::kErrorAccessDenied},
    {EISDIR, DiskFile::kErrorAccessDenied},
    {EBADF, DiskFile::kErrorInvalidHandle},
    {ENOMEM, 8},                                      // ERROR_NOT_ENOUGH_MEMORY
    {EROFS, 19},                                      // ERROR_WRITE_PROTECT
    {EWOULDBLOCK, DiskFile::kErrorSharingViolation},
    {EEXIST, 80},                                     // ERROR_FILE_EXISTS
    {EINVAL, DiskFile::kErrorInvalidParameter},
    {ENOSPC, 112},                                    // ERROR_DISK_FULL
    {ENAMETOOLONG, 206},                              // ERROR_FILENAME_EXCED_RANGE
    {EFBIG, 223},                                     // ERROR_FILE_TOO_LARGE
    {EIO, 1117},                                      // ERROR_IO_DEVICE
};

unsigned long CodeFromErrno(int error)
{
    for (const ErrnoCode& row : kErrnoCodes) {
        if (row.error == error)
            return row.code;
    }
    return kErrnoFlag | static_cast<unsigned long>(error);
}

int ErrnoFromCode(unsigned long code)
{
    if ((code & kErrnoFlag) != 0)
        return static_cast<int>(code & ~kErrnoFlag);
    for (const ErrnoCode& row : kErrnoCodes) {
        if (row.code == code)
            return row.error;
    }
    return 0;
}

// A handle is the descriptor plus one, so that descriptor 0 is not null.
int DescriptorOf(DiskFile::Handle handle)
{
    intptr_t v = reinterpret_cast<intptr_t>(handle) - 1;
    return v >= 0 && v <= INT32_MAX ? static_cast<int>(v) : -1;
}

DiskFile::Handle HandleOf(int fd)
{
    return reinterpret_cast<DiskFile::Handle>(static_cast<intptr_t>(fd) + 1);
}

// Windows tells a missing folder from a missing file.
unsigned long MissingFileCode(const char* name)
{
    if (name[0] == '\0')
        return DiskFile::kErrorPathNotFound;
    std::string folder(name);
    size_t slash = folder.find_last_of('/');
    if (slash == std::string::npos)
        return DiskFile::kErrorFileNotFound;
    folder.resize(slash == 0 ? 1 : slash);
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 ? DiskFile::kErrorFileNotFound : DiskFile::kErrorPathNotFound;
}

// Windows refuses a transfer against the handle's access with ERROR_ACCESS_DENIED.
unsigned long TransferErrorCode(int fd, int error)
{
    if (error == EBADF && ::fcntl(fd, F_GETFD) != -1)
        return DiskFile::kErrorAccessDenied;
    return CodeFromErrno(error);
}

// One call for the caller; the system may hand the bytes over in pieces.
// call(offset, size) moves one piece (::read or ::write); a signal repeats
// it. Stops at the first call that moves nothing, with its errno in *error
// (0 when it only moved nothing). Returns the bytes moved.
template <typename Call>
unsigned long MoveInPieces(unsigned long count, int* error, Call call)
{
    *error = 0;
    unsigned long done = 0;
    while (done < count) {
        unsigned long piece = count - done < 0x40000000UL ? count - done : 0x40000000UL;
        ssize_t n = call(done, piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = n < 0 ? errno : 0;
            break;
        }
        done += static_cast<unsigned long>(n);
    }
    return done;
}

int OpenFlags(unsigned long access, unsigned long creation, bool* truncate)
{
    bool reading = (access & DiskFile::kGenericRead) != 0;
    bool writing = (access & DiskFile::kGenericWrite) != 0;
    int flags = reading && writing ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
    *truncate = false;
    switch (creation) {
    case DiskFile::kCreateNew:
        return flags | O_CREAT | O_EXCL;
    case DiskFile::kCreateAlways:
        *truncate = true;                              // only once the file is ours
        return flags | O_CREAT;
    case DiskFile::kOpenExisting:
        return flags;
    case DiskFile::kOpenAlways:
        return flags | O_CREAT;
    case DiskFile::kTruncateExisting:
        *truncate = true;
        return writing ? flags : -1;
    default:
        return -1;
    }
}

}  // namespace

DiskFile::Handle DiskFile::Open(const char* name, unsigned long access,
                                unsigned long /*flagsAndAttributes*/, unsigned long creation)
{
    bool truncate = false;
    int flags = OpenFlags(access, creation, &truncate);
    if (name == nullptr || flags == -1) {
        RecordFailure(kErrorInvalidParameter, kOpenFailed);
        return nullptr;
    }
    int fd = ::open(name, flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        int error = errno;
        RecordFailure(error == ENOENT ? MissingFileCode(name) : CodeFromErrno(error), kOpenFailed);
        return nullptr;
    }
    unsigned long failure = 0;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        failure = CodeFromErrno(errno);
    else if (S_ISDIR(st.st_mode))
        failure = kErrorAccessDenied;                // as CreateFileA on a folder
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        failure = errno == EWOULDBLOCK ? kErrorSharingViolation : CodeFromErrno(errno);
    else if (truncate && ::ftruncate(fd, 0) != 0)
        failure = CodeFromErrno(errno);
    if (failure != 0) {
        ::close(fd);
        RecordFailure(failure, kOpenFailed);
        return nullptr;
    }
    return HandleOf(fd);
}

int DiskFile::Close(Handle handle)
{
    int fd = DescriptorOf(handle);
    if (fd < 0 || ::close(fd) != 0) {
        RecordFailure(fd < 0 ? kErrorInvalidHandle : CodeFromErrno(errno), kCloseFailed);
        return 0;
    }
    return 1;
}

unsigned long DiskFile::GetSize(Handle handle, unsigned long* high)
{
    int fd = DescriptorOf(handle);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        RecordFailure(fd < 0 ? kErrorInvalidHandle : CodeFromErrno(errno), kSizeFailed);
        return kInvalidSize;
    }
    uint64_t size = static_cast<uint64_t>(st.st_size);
    if (high != nullptr)
        *high = static_cast<unsigned long>(size >> 32);
    return static_cast<unsigned long>(size & 0xFFFFFFFFu);
}

unsigned long DiskFile::Read(Handle handle, void* buffer, unsigned long count)
{
    int fd = DescriptorOf(handle);
    if (fd < 0) {
        RecordFailure(kErrorInvalidHandle, kReadFailed);
        return 0;
    }
    unsigned char* p = static_cast<unsigned char*>(buffer);
    int error = 0;
    unsigned long done =
        MoveInPieces(count, &error, [fd, p](unsigned long at, unsigned long n) { return ::read(fd, p + at, n); });
    // A call that reads nothing without an error is the end of the file.
    if (error != 0)
        RecordFailure(TransferErrorCode(fd, error), kReadFailed);
    return done;
}

unsigned long DiskFile::Write(Handle handle, const void* buffer, unsigned long count)
{
    int fd = DescriptorOf(handle);
    if (fd < 0) {
        RecordFailure(kErrorInvalidHandle, kWriteFailed);
        return 0;
    }
    const unsigned char* p = static_cast<const unsigned char*>(buffer);
    int error = 0;
    unsigned long done =
        MoveInPieces(count, &error, [fd, p](unsigned long at, unsigned long n) { return ::write(fd, p + at, n); });
    if (done < count)
        RecordFailure(error != 0 ? TransferErrorCode(fd, error) : CodeFromErrno(EIO), kWriteFailed);
    return done;
}

int DiskFile::Replace(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr) {
        RecordFailure(kErrorInvalidParameter, kReplaceFailed);
        return 0;
    }
    if (std::rename(from, to) != 0) {
        int error = errno;
        RecordFailure(error == ENOENT ? MissingFileCode(from) : CodeFromErrno(error), kReplaceFailed);
        return 0;
    }
    return 1;
}

int DiskFile::Remove(const char* name)
{
    if (name == nullptr) {
        RecordFailure(kErrorInvalidParameter, kRemoveFailed);
        return 0;
    }
    if (::unlink(name) != 0) {
        int error = errno;
        RecordFailure(error == ENOENT ? MissingFileCode(name) : CodeFromErrno(error), kRemoveFailed);
        return 0;
    }
    return 1;
}

std::string DiskFile::DescribeError(unsigned long code) const
{
    int error = ErrnoFromCode(code);
    if (error == 0)
        return DescribeUnknownError(code);
    return std::strerror(error);
}
