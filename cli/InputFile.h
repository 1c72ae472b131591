#ifndef MORVEK_CLI_INPUTFILE_H
#define MORVEK_CLI_INPUTFILE_H

#include <memory>
#include <string>

#include "midi/MemoryArena.h"

// A file read whole into memory through DiskFile, as the window reads it:
// Open, GetSize, Read, Close. Owns the bytes, so it cannot be copied. The
// bytes live in an arena of their own: a large file lands on huge pages
// where the system offers them, and nothing is cleared before it is read.
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

    std::unique_ptr<MemoryArena> m_arena;            // owns m_bytes
    unsigned char* m_bytes;
    unsigned long m_size;
    std::string m_reason;
};

#endif
