#ifndef MORVEK_BASE_FILEIMAGE_H
#define MORVEK_BASE_FILEIMAGE_H

#include <memory>

class DiskFile;
class MemoryArena;

// A whole file read into memory through DiskFile, as the converter takes a
// MIDI file: Open, GetSize, Read, Close. The image is either complete or
// empty: a file that cannot be opened, sized or read in full leaves nothing
// behind but the reason. The bytes live in an arena of their own, so a large
// file lands on huge pages where the system offers them, and nothing is
// cleared before it is read. Owns its bytes, so it cannot be copied.
class FileImage {
public:
    // Windows error codes Read gives for a failure the system gave no code for.
    static constexpr unsigned long kNotEnoughMemory = 8;  // ERROR_NOT_ENOUGH_MEMORY: no buffer
    static constexpr unsigned long kHandleEof = 38;       // ERROR_HANDLE_EOF: a short read
    static constexpr unsigned long kOpenFailed = 110;     // ERROR_OPEN_FAILED
    static constexpr unsigned long kFileTooLarge = 223;   // ERROR_FILE_TOO_LARGE: 4 GB or more

// Construction
    FileImage();
    virtual ~FileImage();
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;

// Operations
    // Reads the whole file at path through file (opened for reading with
    // share mode 0, so a file another program holds open is refused). Any
    // earlier image is freed first. Returns 0 when every byte was read,
    // otherwise a Windows error code (never 0): the one file recorded for
    // the failing call, or one of the codes above when it recorded none
    // (file.GetErrorCode() then differs from the result).
    virtual unsigned long Read(DiskFile& file, const char* path);
    // Frees the bytes; the image is empty again.
    virtual void Free();

// Attributes
    // Never null, also for an empty image; valid until Free, Read or the
    // image's end.
    virtual const unsigned char* GetData() const;
    virtual unsigned long GetSize() const;

private:
    std::unique_ptr<MemoryArena> m_arena; // owns m_data
    unsigned char* m_data;                // null when empty
    unsigned long m_size;
};

#endif
