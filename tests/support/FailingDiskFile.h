#ifndef MORVEK_TESTS_SUPPORT_FAILINGDISKFILE_H
#define MORVEK_TESTS_SUPPORT_FAILINGDISKFILE_H

#include "base/DiskFile.h"

// A DiskFile over the real files whose chosen call fails: it returns its
// failure value and records code (0 records none). A short read or write
// moves half of what was asked (nothing of one byte).
class FailingDiskFile : public DiskFile {
public:
    enum Failure {
        kNoFailure,
        kOpen,          // every Open
        kOpenTemporary, // only an Open that creates a new file
        kSize,
        kRead,
        kShortRead,
        kWrite,
        kShortWrite,
        kClose,
        kReplace
    };

    // A row of the parameterized failure tests: the call that fails, the
    // code it records and the code the caller under test should give back.
    struct Case {
        const char* name;
        Failure failure;
        unsigned long code;
        unsigned long expected;
    };

// Construction
    FailingDiskFile(Failure failure, unsigned long code);
    ~FailingDiskFile() override;

// Operations
    Handle Open(const char* name, unsigned long access, unsigned long flagsAndAttributes,
                unsigned long creation) override;
    int Close(Handle handle) override;
    unsigned long GetSize(Handle handle, unsigned long* high) override;
    unsigned long Read(Handle handle, void* buffer, unsigned long count) override;
    unsigned long Write(Handle handle, const void* buffer, unsigned long count) override;
    int Replace(const char* from, const char* to) override;

private:
    // Records the code and returns value, the call's failure value.
    template <typename T>
    T Fail(T value);

    Failure m_failure;
    unsigned long m_code;
};

#endif
