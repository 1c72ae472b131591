#include "cli/InputFile.h"

#include <new>

#include "midi/DiskFile.h"

InputFile::InputFile() : m_bytes(nullptr), m_size(0)
{
}

InputFile::~InputFile()
{
}

bool InputFile::Fail(const std::string& reason)
{
    m_arena.reset();
    m_bytes = nullptr;
    m_size = 0;
    m_reason = reason;
    return false;
}

bool InputFile::Load(const char* path)
{
    m_arena.reset();
    m_bytes = nullptr;
    m_size = 0;
    m_reason.clear();
    DiskFile file;
    DiskFile::Handle h = file.Open(path, DiskFile::kGenericRead, DiskFile::kFileAttributeNormal,
                                   DiskFile::kOpenExisting);
    if (h == nullptr)
        return Fail(file.DescribeError(file.GetErrorCode()));

    unsigned long high = 0;
    unsigned long size = file.GetSize(h, &high);
    std::string failure;
    if (size == DiskFile::kInvalidSize) {
        failure = file.GetErrorCode() != 0 ? file.DescribeError(file.GetErrorCode())
                                           : "file is too large";
    } else if (high != 0) {
        failure = "file is too large";               // only 32-bit sizes are read
    } else if (size != 0) {
        try {
            m_arena.reset(new MemoryArena);
            m_bytes = static_cast<unsigned char*>(m_arena->Allocate(size, 1));
            m_size = size;
        } catch (const std::bad_alloc&) {
            failure = "not enough memory to read the file";
        }
    }
    if (failure.empty() && size != 0) {
        file.SetErrorCode(0);
        unsigned long got = file.Read(h, m_bytes, size);
        if (got != size) {
            failure = file.GetErrorCode() != 0 ? file.DescribeError(file.GetErrorCode())
                                               : "file ended before its reported size";
        }
    }
    file.Close(h);
    if (!failure.empty())
        return Fail(failure);
    return true;
}

const unsigned char* InputFile::GetData() const
{
    return m_size == 0 ? nullptr : m_bytes;
}

unsigned long InputFile::GetSize() const
{
    return m_size;
}

const std::string& InputFile::GetReason() const
{
    return m_reason;
}
