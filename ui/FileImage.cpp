#include "ui/FileImage.h"

#include <windows.h>

#include <new>

#include "midi/DiskFile.h"

namespace {

const unsigned char kNoBytes[1] = {0};

// The code the file recorded for its last failure, or fallback when it
// recorded none (a call that did not fail but did less than asked).
unsigned long ReasonOf(const DiskFile& file, unsigned long fallback)
{
    unsigned long code = file.GetErrorCode();
    return code != 0 ? code : fallback;
}

} // namespace

FileImage::FileImage()
    : m_data(nullptr), m_size(0)
{
}

FileImage::~FileImage()
{
    Free();
}

unsigned long FileImage::Read(DiskFile& file, const char* path)
{
    Free();
    file.SetErrorCode(0);
    DiskFile::Handle handle = file.Open(path, DiskFile::kGenericRead, DiskFile::kFileAttributeNormal,
                                        DiskFile::kOpenExisting);
    if (handle == nullptr)
        return ReasonOf(file, ERROR_OPEN_FAILED);

    unsigned long result = 0;
    unsigned long high = 0;
    unsigned long size = file.GetSize(handle, &high);
    if (size == DiskFile::kInvalidSize && file.GetErrorCode() != 0) {
        result = file.GetErrorCode();
    } else if (high != 0 || size == DiskFile::kInvalidSize) {
        // The spare byte below must not wrap the buffer size around.
        result = ERROR_FILE_TOO_LARGE;
    } else {
        // One spare byte, so that an empty file still gets a real buffer.
        m_data = new (std::nothrow) unsigned char[size + 1UL];
        if (m_data == nullptr) {
            result = ERROR_NOT_ENOUGH_MEMORY;
        } else {
            unsigned long done = size > 0 ? file.Read(handle, m_data, size) : 0;
            if (done != size)
                result = ReasonOf(file, ERROR_HANDLE_EOF);
            else
                m_size = size;
        }
    }
    // The bytes are all in memory by now; a failing close loses nothing.
    file.Close(handle);
    if (result != 0)
        Free();
    return result;
}

void FileImage::Free()
{
    delete[] m_data;
    m_data = nullptr;
    m_size = 0;
}

const unsigned char* FileImage::GetData() const
{
    return m_data != nullptr ? m_data : kNoBytes;
}

unsigned long FileImage::GetSize() const
{
    return m_size;
}
