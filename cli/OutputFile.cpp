#include "cli/OutputFile.h"

#include <cstdio>

#include "midi/DiskFile.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace {

const unsigned long kErrorFileExists = 80;             // as DiskFile reports it everywhere
const unsigned long kErrorAlreadyExists = 183;
const int kMaxAttempts = 100;
// DiskFile transfers 32-bit counts; write in slices well below that.
const size_t kSlice = 1UL << 20;

int ProcessId()
{
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

}  // namespace

OutputFile::OutputFile()
{
}

OutputFile::~OutputFile()
{
}

bool OutputFile::Fail(const std::string& reason)
{
    m_reason = reason;
    return false;
}

std::string OutputFile::MakeTemporaryName(const std::string& path, int attempt) const
{
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%d-%d.tmp", ProcessId(), attempt);
    return path + suffix;
}

bool OutputFile::Replace(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    if (!::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DiskFile describer;
        return Fail(describer.DescribeError(::GetLastError()));
    }
#else
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return Fail(std::strerror(errno));
#endif
    return true;
}

bool OutputFile::Write(const std::string& path, const char* data, size_t size)
{
    m_reason.clear();
    if (path.empty())
        return Fail("no file name");

    DiskFile file;
    DiskFile::Handle h = nullptr;
    std::string temporary;
    for (int attempt = 0; attempt < kMaxAttempts && h == nullptr; ++attempt) {
        temporary = MakeTemporaryName(path, attempt);
        h = file.Open(temporary.c_str(), DiskFile::kGenericWrite, DiskFile::kFileAttributeNormal,
                      DiskFile::kCreateNew);
        unsigned long code = file.GetErrorCode();
        if (h == nullptr && code != kErrorFileExists && code != kErrorAlreadyExists)
            return Fail(file.DescribeError(code));
    }
    if (h == nullptr)
        return Fail("no free name for a temporary file next to it");

    std::string failure;
    size_t done = 0;
    while (done < size && failure.empty()) {
        unsigned long count = static_cast<unsigned long>(size - done < kSlice ? size - done : kSlice);
        file.SetErrorCode(0);
        unsigned long written = file.Write(h, data + done, count);
        if (written != count)
            failure = file.GetErrorCode() != 0 ? file.DescribeError(file.GetErrorCode())
                                               : "the file could not be written whole";
        done += written;
    }
    if (file.Close(h) == 0 && failure.empty())
        failure = file.DescribeError(file.GetErrorCode());
    if (failure.empty() && Replace(temporary, path))
        return true;
    std::remove(temporary.c_str());
    return Fail(failure.empty() ? m_reason : failure);
}

const std::string& OutputFile::GetReason() const
{
    return m_reason;
}
