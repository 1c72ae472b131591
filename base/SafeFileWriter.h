#ifndef MORVEK_BASE_SAFEFILEWRITER_H
#define MORVEK_BASE_SAFEFILEWRITER_H

#include <cstddef>
#include <string>

class DiskFile;

// Writes a whole file so that it is either complete or left as it was: the
// bytes go to a new temporary file in the same folder, which then replaces
// the target in one move. Any failure deletes the temporary file, and an
// existing target keeps every byte.
//
// How to use:
//   1. unsigned long code = writer.Write(file, path, data, size);
//   2. 0: written. Otherwise a Windows error code for file.DescribeError.
// Or in pieces, for a file too large to hold whole:
//   1. writer.Open(file, path), then writer.Append(data, size) for each piece,
//      then writer.Commit(); each returns 0 or the code of the failure.
//   2. After a failure nothing more is written; Discard, or the writer's
//      end, before Commit gives up the file. Either way the temporary file
//      is gone and path is as it was. file must outlive the writer.
class SafeFileWriter {
public:
    enum { kMaxAttempts = 100 };
    // Windows codes for failures the system gives no code for.
    static constexpr unsigned long kErrorOpenFailed = 110;  // ERROR_OPEN_FAILED
    static constexpr unsigned long kErrorWriteFault = 29;   // ERROR_WRITE_FAULT
    static constexpr unsigned long kErrorFileExists = 80;   // ERROR_FILE_EXISTS

// Construction
    SafeFileWriter();
    virtual ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

// Operations
    // Writes data[0, size) to path through file. An existing path is first
    // opened for writing and closed untouched, so that a file another
    // program holds, or one marked read-only, is refused with the code a
    // direct write would get. Returns 0 or the code of the first failure.
    virtual unsigned long Write(DiskFile& file, const char* path, const char* data, size_t size);
    // The steps of Write one at a time.
    virtual unsigned long Open(DiskFile& file, const char* path);
    virtual unsigned long Append(const char* data, size_t size);
    virtual unsigned long Commit();
    virtual void Discard();
    // The name of the attempt-th temporary file for path: beside it, the
    // same name with ".~" and the attempt appended.
    virtual std::string MakeTemporaryName(const std::string& path, int attempt) const;

// Attributes
    // The temporary file of the last Write; empty when none was made.
    virtual const std::string& GetTemporaryName() const;

private:
    // The recorded code of file's last failure, or fallback without one.
    unsigned long FailureCode(const DiskFile& file, unsigned long fallback) const;
    unsigned long CheckTarget(DiskFile& file, const char* path);
    unsigned long OpenTemporary(DiskFile& file, const char* path);

    std::string m_temporaryName;
    std::string m_path;
    DiskFile* m_file;                                // not owned; set from Open to the end
    void* m_handle;                                  // the temporary file while it is open
};

#endif
