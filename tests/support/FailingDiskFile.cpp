#include "tests/support/FailingDiskFile.h"

FailingDiskFile::FailingDiskFile(Failure failure, unsigned long code)
    : m_failure(failure), m_code(code)
{
}

FailingDiskFile::~FailingDiskFile()
{
}

template <typename T>
T FailingDiskFile::Fail(T value)
{
    if (m_code != 0)
        SetErrorCode(m_code);
    return value;
}

DiskFile::Handle FailingDiskFile::Open(const char* name, unsigned long access,
                                       unsigned long flagsAndAttributes, unsigned long creation)
{
    if (m_failure == kOpen || (m_failure == kOpenTemporary && creation == kCreateNew))
        return Fail<Handle>(nullptr);
    return DiskFile::Open(name, access, flagsAndAttributes, creation);
}

int FailingDiskFile::Close(Handle handle)
{
    const int closed = DiskFile::Close(handle);
    return m_failure == kClose ? Fail(0) : closed;
}

unsigned long FailingDiskFile::GetSize(Handle handle, unsigned long* high)
{
    if (m_failure == kSize)
        return Fail(kInvalidSize);
    return DiskFile::GetSize(handle, high);
}

unsigned long FailingDiskFile::Read(Handle handle, void* buffer, unsigned long count)
{
    if (m_failure == kRead)
        return Fail(0ul);
    return DiskFile::Read(handle, buffer, m_failure == kShortRead ? count / 2 : count);
}

unsigned long FailingDiskFile::Write(Handle handle, const void* buffer, unsigned long count)
{
    if (m_failure == kWrite)
        return Fail(0ul);
    return DiskFile::Write(handle, buffer, m_failure == kShortWrite ? count / 2 : count);
}

int FailingDiskFile::Replace(const char* from, const char* to)
{
    return m_failure == kReplace ? Fail(0) : DiskFile::Replace(from, to);
}
