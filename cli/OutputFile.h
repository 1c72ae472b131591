#ifndef MORVEK_CLI_OUTPUTFILE_H
#define MORVEK_CLI_OUTPUTFILE_H

#include <cstddef>
#include <string>

class DiskFile;

// Writes a whole file so that it is either complete or not there at all,
// with the window's routine (SafeFileWriter): the bytes go to a new
// temporary file in the same folder, which then replaces the target in one
// move. Any failure removes the temporary file and leaves an existing
// target untouched.
class OutputFile {
public:
// Construction
    OutputFile();
    virtual ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

// Operations
    // True on success; on failure GetReason() says why.
    virtual bool Write(const std::string& path, const char* data, size_t size);

    // Why a write through file failed with code (SafeFileWriter's codes).
    virtual std::string Describe(const DiskFile& file, unsigned long code) const;

// Attributes
    virtual const std::string& GetReason() const;

protected:
    // The file access of one Write; the caller deletes it.
    virtual DiskFile* CreateDiskFile();

private:
    bool Fail(const std::string& reason);

    std::string m_reason;
};

#endif
