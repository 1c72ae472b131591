#ifndef MORVEK_BASE_DISKFILE_H
#define MORVEK_BASE_DISKFILE_H

#include <string>

// The program's one way to read and write files: a thin object over the
// system's file calls. It does not hold the handle: Open returns it and the
// caller passes it to every later call and closes it.
//
// Every failing call records a code: with the system error mode on (the
// default) the system's last-error code, as a Windows error code on every
// platform (ERROR_FILE_NOT_FOUND = 2, ERROR_ACCESS_DENIED = 5, ...);
// otherwise a fixed code of the operation. A successful call leaves the last
// code in place.
//
// How to use (reading a whole file):
//   1. Handle h = f.Open(name, kGenericRead, kFileAttributeNormal, kOpenExisting); null = failed.
//   2. unsigned long size = f.GetSize(h, &high); 0xFFFFFFFF = failed.
//   3. f.Read(h, buffer, size) returns the bytes read; fewer = failed.
//   4. f.Close(h).
//   On failure, f.DescribeError(f.GetErrorCode()) names the system's reason.
class DiskFile {
public:
    typedef void* Handle;                             // null = no file

    // The platform's values, usable on every platform.
    static const unsigned long kGenericRead = 0x80000000UL;
    static const unsigned long kGenericWrite = 0x40000000UL;
    static const unsigned long kFileAttributeNormal = 0x80;
    static const unsigned long kCreateNew = 1;
    static const unsigned long kCreateAlways = 2;
    static const unsigned long kOpenExisting = 3;
    static const unsigned long kOpenAlways = 4;
    static const unsigned long kTruncateExisting = 5;

    // Codes recorded with the system error mode off.
    static const unsigned long kOpenFailed = 0x8107;
    static const unsigned long kCloseFailed = 0x8108;
    static const unsigned long kSizeFailed = 0x8108;
    static const unsigned long kReadFailed = 0x8103;
    static const unsigned long kWriteFailed = 0x8104;
    static const unsigned long kReplaceFailed = 0x8109;
    static const unsigned long kRemoveFailed = 0x810A;

    static const unsigned long kInvalidSize = 0xFFFFFFFFUL;

    // System codes as failing calls record them on every platform (the
    // Windows ones).
    static constexpr unsigned long kErrorFileNotFound = 2;
    static constexpr unsigned long kErrorPathNotFound = 3;
    static constexpr unsigned long kErrorAccessDenied = 5;
    static constexpr unsigned long kErrorInvalidHandle = 6;
    static constexpr unsigned long kErrorSharingViolation = 32;
    static constexpr unsigned long kErrorLockViolation = 33;
    static constexpr unsigned long kErrorInvalidParameter = 87;
    static constexpr unsigned long kErrorDiskFull = 112;

// Construction
    DiskFile();
    virtual ~DiskFile();

// Attributes
    virtual unsigned long SetErrorCode(unsigned long code);
    virtual unsigned long GetErrorCode() const;
    virtual int SetSystemErrorMode(int flag);
    virtual int GetSystemErrorMode() const;

// Operations
    // Share mode 0: the file cannot be opened twice at the same time.
    virtual Handle Open(const char* name, unsigned long access,
                        unsigned long flagsAndAttributes, unsigned long creation);
    virtual int Close(Handle handle);                 // 1 = closed, 0 = failed
    // Low 32 bits of the size; the high half goes to *high when high is not null.
    virtual unsigned long GetSize(Handle handle, unsigned long* high);
    // Both return the count the system reports as transferred.
    virtual unsigned long Read(Handle handle, void* buffer, unsigned long count);
    virtual unsigned long Write(Handle handle, const void* buffer, unsigned long count);
    // Moves file from over file to, replacing it, and returns once the move
    // is on the disk (MoveFileExA with MOVEFILE_REPLACE_EXISTING and
    // MOVEFILE_WRITE_THROUGH; rename elsewhere). 1 = moved, 0 = failed.
    virtual int Replace(const char* from, const char* to);
    // Deletes the file name. 1 = deleted, 0 = failed.
    virtual int Remove(const char* name);
    // The system's text for a recorded code, without a trailing line end.
    virtual std::string DescribeError(unsigned long code) const;

private:
    // Records the system's code for a failure, or fixedCode with the system
    // error mode off.
    void RecordFailure(unsigned long systemCode, unsigned long fixedCode);
    // "error code N", for a code the system has no text for.
    std::string DescribeUnknownError(unsigned long code) const;

    unsigned long m_errorCode;
    int m_systemErrorMode;
};

#endif
