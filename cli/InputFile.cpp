#include "cli/InputFile.h"

#include <new>

#include "midi/DiskFile.h"

InputFile::InputFile()
{
}

InputFile::~InputFile()
{
}

bool InputFile::Fail(const std::string& reason)
{
    m_bytes.clear();
    m_reason = reason;
    return false;
}

bool InputFile::Load(const char* path)
{
    m_bytes.clear();
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
    } else {
        try {
            m_bytes.resize(size);
        } catch (const std::bad_alloc&) {
            failure = "not enough memory to read the file";
        }
    }
    if (failure.empty() && size != 0) {
        file.SetErrorCode(0);
        unsigned long got = file.Read(h, m_bytes.data(), size);
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
    return m_bytes.empty() ? nullptr : m_bytes.data();
}

unsigned long InputFile::GetSize() const
{
    return static_cast<unsigned long>(m_bytes.size());
}

const std::string& InputFile::GetReason() const
{
    return m_reason;
}
