#ifndef MORVEK_TESTS_SUPPORT_WINDOWSERRORCODES_H
#define MORVEK_TESTS_SUPPORT_WINDOWSERRORCODES_H

// The Windows error codes that DiskFile records on every platform, as the
// file tests expect them.
const unsigned long kErrorFileNotFound = 2;
const unsigned long kErrorPathNotFound = 3;
const unsigned long kErrorAccessDenied = 5;
const unsigned long kErrorInvalidHandle = 6;
const unsigned long kErrorSharingViolation = 32;
const unsigned long kErrorLockViolation = 33;
const unsigned long kErrorDiskFull = 112;

#endif
