#include "base/FileImage.h"

#include <new>

#include "base/DiskFile.h"
#include "base/MemoryArena.h"

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
}

unsigned long FileImage::Read(DiskFile& file, const char* path)
{
    Free();
    file.SetErrorCode(0);
    DiskFile::Handle handle = file.Open(path, DiskFile::kGenericRead, DiskFile::kFileAttributeNormal,
                                        DiskFile::kOpenExisting);
    if (handle == nullptr)
        return ReasonOf(file, kOpenFailed);

    unsigned long result = 0;
    unsigned long high = 0;
    unsigned long size = file.GetSize(handle, &high);
    if (size == DiskFile::kInvalidSize && file.GetErrorCode() != 0) {
        result = file.GetErrorCode();
    } else if (high != 0 || size == DiskFile::kInvalidSize) {
        result = kFileTooLarge; // only 32-bit sizes are read, all ones included
    } else if (size > 0) {
        try {
            m_arena.reset(new MemoryArena);
            m_data = static_cast<unsigned char*>(m_arena->Allocate(size, 1));
        } catch (const std::bad_alloc&) {
            result = kNotEnoughMemory;
        }
        if (result == 0) {
            if (file.Read(handle, m_data, size) != size)
                result = ReasonOf(file, kHandleEof);
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
    m_arena.reset();
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
