#include "base/SafeFileWriter.h"

#include "base/DiskFile.h"

namespace {

const unsigned long kErrorFileNotFound = 2;
const unsigned long kErrorAlreadyExists = 183;
// DiskFile transfers 32-bit counts; write in slices well below that.
const size_t kSlice = 1UL << 20;

} // namespace

SafeFileWriter::SafeFileWriter()
{
}

SafeFileWriter::~SafeFileWriter()
{
}

std::string SafeFileWriter::MakeTemporaryName(const std::string& path, int attempt) const
{
    return path + ".~" + std::to_string(attempt);
}

const std::string& SafeFileWriter::GetTemporaryName() const
{
    return m_temporaryName;
}

unsigned long SafeFileWriter::FailureCode(const DiskFile& file, unsigned long fallback) const
{
    return file.GetErrorCode() != 0 ? file.GetErrorCode() : fallback;
}

unsigned long SafeFileWriter::CheckTarget(DiskFile& file, const char* path)
{
    file.SetErrorCode(0);
    DiskFile::Handle target = file.Open(path, DiskFile::kGenericWrite, DiskFile::kFileAttributeNormal,
                                        DiskFile::kOpenExisting);
    if (target == nullptr) {
        // A missing target is the usual case: the move creates it. A missing
        // folder shows when the temporary file cannot be made there.
        unsigned long code = file.GetErrorCode();
        return code == kErrorFileNotFound ? 0 : FailureCode(file, kErrorOpenFailed);
    }
    file.Close(target);
    return 0;
}

unsigned long SafeFileWriter::WriteTemporary(DiskFile& file, const char* path, const char* data, size_t size)
{
    DiskFile::Handle handle = nullptr;
    for (int attempt = 0; attempt < kMaxAttempts && handle == nullptr; ++attempt) {
        std::string name = MakeTemporaryName(path, attempt);
        file.SetErrorCode(0);
        handle = file.Open(name.c_str(), DiskFile::kGenericWrite, DiskFile::kFileAttributeNormal,
                           DiskFile::kCreateNew);
        if (handle != nullptr) {
            m_temporaryName = name;
            break;
        }
        // Only a name that is taken already is worth another attempt.
        unsigned long code = file.GetErrorCode();
        if (code != kErrorFileExists && code != kErrorAlreadyExists)
            return FailureCode(file, kErrorOpenFailed);
    }
    if (handle == nullptr)
        return kErrorFileExists;

    unsigned long code = 0;
    size_t done = 0;
    while (done < size && code == 0) {
        unsigned long count = static_cast<unsigned long>(size - done < kSlice ? size - done : kSlice);
        file.SetErrorCode(0);
        unsigned long written = file.Write(handle, data + done, count);
        if (written != count)
            code = FailureCode(file, kErrorWriteFault);
        done += written;
    }
    // Data the system still holds may fail to reach the disk at close.
    file.SetErrorCode(0);
    if (!file.Close(handle) && code == 0)
        code = FailureCode(file, kErrorWriteFault);
    return code;
}

unsigned long SafeFileWriter::Write(DiskFile& file, const char* path, const char* data, size_t size)
{
    m_temporaryName.clear();
    if (path == nullptr || path[0] == '\0')
        return kErrorOpenFailed;
    unsigned long code = CheckTarget(file, path);
    if (code == 0)
        code = WriteTemporary(file, path, data, size);
    if (code == 0) {
        file.SetErrorCode(0);
        if (file.Replace(m_temporaryName.c_str(), path))
            return 0;
        code = FailureCode(file, kErrorWriteFault);
    }
    // Nothing half-written stays behind; the target was never touched.
    if (!m_temporaryName.empty())
        file.Remove(m_temporaryName.c_str());
    return code;
}
