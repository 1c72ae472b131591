// Reading a whole file: complete, or empty with the system's reason.
#include "base/FileImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/DiskFile.h"
#include "tests/support/FailingDiskFile.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string ImageText(const FileImage& image)
{
    return std::string(reinterpret_cast<const char*>(image.GetData()), image.GetSize());
}

// A disk file whose size is what the test says.
class SizedDiskFile : public DiskFile {
public:
    SizedDiskFile(unsigned long size, unsigned long high) : m_size(size), m_high(high) {}
    unsigned long GetSize(Handle, unsigned long* high) override
    {
        if (high != nullptr)
            *high = m_high;
        return m_size;
    }
    unsigned long Read(Handle, void*, unsigned long) override
    {
        ADD_FAILURE() << "nothing may be read";
        return 0;
    }

private:
    unsigned long m_size;
    unsigned long m_high;
};

// A fresh folder for each test, removed afterwards.
class FileImageTest : public ::testing::Test {
protected:
    std::string Write(const char* name, const std::string& bytes) const { return m_folder.Put(name, bytes); }
    // True when nothing holds the file: it opens with share mode 0.
    static bool IsClosed(const std::string& path)
    {
        DiskFile file;
        DiskFile::Handle h = file.Open(path.c_str(), DiskFile::kGenericRead,
                                       DiskFile::kFileAttributeNormal, DiskFile::kOpenExisting);
        if (h == nullptr)
            return false;
        file.Close(h);
        return true;
    }

    TempFolder m_folder{TempFolder::NameForTest("fileimage")};
};

TEST_F(FileImageTest, ReadsEveryByte)
{
    std::string bytes("MThd\0\0\0\x06\r\n\x1A\xFF", 12);
    std::string path = Write("a.mid", bytes);
    DiskFile file;
    FileImage image;
    EXPECT_EQ(0u, image.Read(file, path.c_str()));
    EXPECT_EQ(bytes, ImageText(image));
    EXPECT_TRUE(IsClosed(path));
    image.Free();
    EXPECT_EQ("", ImageText(image));
}

TEST_F(FileImageTest, EmptyFileGivesAnEmptyImageWithData)
{
    std::string path = Write("empty.mid", std::string());
    DiskFile file;
    FileImage image;
    EXPECT_EQ(0u, image.Read(file, path.c_str()));
    EXPECT_EQ(0u, image.GetSize());
    EXPECT_NE(nullptr, image.GetData());
}

using Failure = FailingDiskFile::Case;

class FileImageFailureTest : public FileImageTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FileImageFailureTest, LeavesNothingButTheReason)
{
    std::string path = Write("a.mid", std::string(100, 'x'));
    FileImage image;
    DiskFile plain;
    ASSERT_EQ(0u, image.Read(plain, path.c_str())); // an earlier image goes
    FailingDiskFile file(GetParam().failure, GetParam().code);
    const unsigned long code = image.Read(file, path.c_str());
    EXPECT_EQ(GetParam().expected, code);
    // A code of the image's own is not the file's.
    EXPECT_EQ(GetParam().code != 0, code == file.GetErrorCode());
    EXPECT_EQ(0u, image.GetSize());
    EXPECT_TRUE(IsClosed(path));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FileImageFailureTest,
    ::testing::Values(
        Failure{"Open", FailingDiskFile::kOpen, DiskFile::kErrorSharingViolation, DiskFile::kErrorSharingViolation},
        Failure{"OpenWithoutCode", FailingDiskFile::kOpen, 0, FileImage::kOpenFailed},
        Failure{"Size", FailingDiskFile::kSize, DiskFile::kErrorInvalidHandle, DiskFile::kErrorInvalidHandle},
        Failure{"Read", FailingDiskFile::kRead, DiskFile::kErrorLockViolation, DiskFile::kErrorLockViolation},
        Failure{"ShortRead", FailingDiskFile::kShortRead, 0, FileImage::kHandleEof}),
    [](const ::testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST_F(FileImageTest, MissingFileGivesFileNotFound)
{
    DiskFile file;
    FileImage image;
    EXPECT_EQ(DiskFile::kErrorFileNotFound, image.Read(file, m_folder.PathOf("none.mid").c_str()));
    EXPECT_EQ(0u, image.GetSize());
}

TEST_F(FileImageTest, FilesOfFourGigabytesOrMoreAreRefusedBeforeAnyRead)
{
    std::string path = Write("a.mid", std::string("x"));
    FileImage image;
    SizedDiskFile huge(16, 1);
    EXPECT_EQ(FileImage::kFileTooLarge, image.Read(huge, path.c_str()));
    EXPECT_EQ(0u, huge.GetErrorCode());
    // All ones is a real size, one byte short of 4 GB, but no 32-bit size
    // reads it.
    SizedDiskFile almost(0xFFFFFFFFUL, 0);
    EXPECT_EQ(FileImage::kFileTooLarge, image.Read(almost, path.c_str()));
    EXPECT_EQ(0u, image.GetSize());
}

} // namespace
