#ifndef CLI_INPUTFILE_H
#define CLI_INPUTFILE_H

#include <string>
#include <vector>

// A file read whole into memory through DiskFile, as the window reads it:
// Open, GetSize, Read, Close. Owns the bytes, so it cannot be copied.
class InputFile {
public:
// Construction
    InputFile();
    virtual ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

// Operations
    // Reads the file; true on success. On failure GetReason() says why, in the
    // system's words where the system gave a reason, and no bytes are kept.
    virtual bool Load(const char* path);

// Attributes
    virtual const unsigned char* GetData() const;    // null when empty; lives until the next Load
    virtual unsigned long GetSize() const;
    virtual const std::string& GetReason() const;

private:
    bool Fail(const std::string& reason);

    std::vector<unsigned char> m_bytes;
    std::string m_reason;
};

#endif
