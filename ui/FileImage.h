#ifndef MORVEK_UI_FILEIMAGE_H
#define MORVEK_UI_FILEIMAGE_H

class DiskFile;

// A whole file read into memory, as the converter takes a MIDI file. The
// image is either complete or empty: a file that cannot be opened, sized or
// read in full leaves nothing behind but the system's reason.
class FileImage {
public:
// Construction
    FileImage();
    virtual ~FileImage();
    // Owns its bytes.
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;

// Operations
    // Reads the whole file at path through file (opened for reading with
    // share mode 0, so a file another program holds open is refused).
    // Returns 0 when every byte was read, otherwise a Windows error code
    // (never 0) that names the reason: the one the system gave, or
    // ERROR_HANDLE_EOF for a read that came back short, ERROR_FILE_TOO_LARGE
    // for a file of 4 GB or more, ERROR_NOT_ENOUGH_MEMORY when no buffer
    // could be had. Any earlier image is freed first.
    virtual unsigned long Read(DiskFile& file, const char* path);
    // Frees the bytes; the image is empty again.
    virtual void Free();

// Attributes
    // Never null, also for an empty image; valid until Free, Read or the
    // image's end.
    virtual const unsigned char* GetData() const;
    virtual unsigned long GetSize() const;

private:
    unsigned char* m_data; // owned; null when empty
    unsigned long m_size;
};

#endif
