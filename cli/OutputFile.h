#ifndef MORVEK_CLI_OUTPUTFILE_H
#define MORVEK_CLI_OUTPUTFILE_H

#include <cstddef>
#include <string>

// Writes a whole file so that it is either complete or not there at all:
// the bytes go to a new temporary file in the same folder through DiskFile,
// which then replaces the target in one rename. Any failure removes the
// temporary file and leaves an existing target untouched.
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

// Attributes
    virtual const std::string& GetReason() const;

protected:
    // The name of the attempt-th temporary file for path.
    virtual std::string MakeTemporaryName(const std::string& path, int attempt) const;
    // Moves the finished temporary file over the target, replacing it.
    virtual bool Replace(const std::string& from, const std::string& to);

private:
    bool Fail(const std::string& reason);

    std::string m_reason;
};

#endif
