#include "base/SafeFileWriter.h"

#include "base/DiskFile.h"

namespace {

const unsigned long kErrorAlreadyExists = 183;
// DiskFile transfers 32-bit counts; write in slices well below that.
const size_t kSlice = 1UL << 20;

} // namespace

SafeFileWriter::SafeFileWriter() : m_file(nullptr), m_handle(nullptr)
{
}

SafeFileWriter::~SafeFileWriter()
{
    Discard();
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
        return code == DiskFile::kErrorFileNotFound ? 0 : FailureCode(file, kErrorOpenFailed);
    }
    file.Close(target);
    return 0;
}

unsigned long SafeFileWriter::OpenTemporary(DiskFile& file, const char* path)
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
    m_handle = handle;
    return 0;
}

unsigned long SafeFileWriter::Write(DiskFile& file, const char* path, const char* data, size_t size)
{
    unsigned long code = Open(file, path);
    if (code == 0)
        code = Append(data, size);
    if (code == 0)
        code = Commit();
    return code;
}

unsigned long SafeFileWriter::Open(DiskFile& file, const char* path)
{
    Discard();
    m_temporaryName.clear();
    m_file = &file;
    if (path == nullptr || path[0] == '\0')
        return kErrorOpenFailed;
    unsigned long code = CheckTarget(file, path);
    if (code == 0)
        code = OpenTemporary(file, path);
    if (code == 0)
        m_path = path;
    return code;
}

unsigned long SafeFileWriter::Append(const char* data, size_t size)
{
    if (m_handle == nullptr)
        return kErrorWriteFault;
    unsigned long code = 0;
    size_t done = 0;
    while (done < size && code == 0) {
        unsigned long count = static_cast<unsigned long>(size - done < kSlice ? size - done : kSlice);
        m_file->SetErrorCode(0);
        unsigned long written = m_file->Write(m_handle, data + done, count);
        if (written != count)
            code = FailureCode(*m_file, kErrorWriteFault);
        done += written;
    }
    if (code != 0)
        Discard();
    return code;
}

unsigned long SafeFileWriter::Commit()
{
    if (m_handle == nullptr)
        return kErrorWriteFault;
    // Data the system still holds may fail to reach the disk at close.
    DiskFile& file = *m_file;
    DiskFile::Handle handle = m_handle;
    m_handle = nullptr;
    file.SetErrorCode(0);
    unsigned long code = 0;
    if (!file.Close(handle))
        code = FailureCode(file, kErrorWriteFault);
    if (code == 0) {
        file.SetErrorCode(0);
        if (file.Replace(m_temporaryName.c_str(), m_path.c_str()))
            return 0;
        code = FailureCode(file, kErrorWriteFault);
    }
    // Nothing half-written stays behind; the target was never touched.
    file.Remove(m_temporaryName.c_str());
    return code;
}

void SafeFileWriter::Discard()
{
    if (m_handle == nullptr)
        return;
    DiskFile::Handle handle = m_handle;
    m_handle = nullptr;
    m_file->Close(handle);
    m_file->Remove(m_temporaryName.c_str());
}
