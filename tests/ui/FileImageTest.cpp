// Reading a whole file: complete, or empty with the system's reason.
#include "ui/FileImage.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "midi/DiskFile.h"
#include "tests/ui/UiTestSupport.h"

namespace {

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

TEST(FileImageTest, ReadsEveryByte)
{
    TempFolder folder;
    std::string bytes("MThd\0\0\0\x06\r\n\x1A\xFF", 12);
    std::string path = folder.Write("a.mid", bytes);
    DiskFile file;
    FileImage image;
    EXPECT_EQ(0u, image.Read(file, path.c_str()));
    EXPECT_EQ(bytes, ImageText(image));
    // The file is closed again: it can be opened with share mode 0.
    HANDLE again = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, again);
    CloseHandle(again);
}

TEST(FileImageTest, EmptyFileGivesAnEmptyImageWithData)
{
    TempFolder folder;
    std::string path = folder.Write("empty.mid", std::string());
    DiskFile file;
    FileImage image;
    EXPECT_EQ(0u, image.Read(file, path.c_str()));
    EXPECT_EQ(0u, image.GetSize());
    EXPECT_NE(nullptr, image.GetData());
}

struct Failure {
    const char* name;
    FailingDiskFile::Failure failure;
    unsigned long code;
    unsigned long expected;
};

class FileImageFailureTest : public ::testing::TestWithParam<Failure> {};

TEST_P(FileImageFailureTest, LeavesNothingButTheReason)
{
    TempFolder folder;
    std::string path = folder.Write("a.mid", std::string(100, 'x'));
    FileImage image;
    DiskFile plain;
    ASSERT_EQ(0u, image.Read(plain, path.c_str())); // an earlier image goes
    FailingDiskFile file(GetParam().failure, GetParam().code);
    EXPECT_EQ(GetParam().expected, image.Read(file, path.c_str()));
    EXPECT_EQ(0u, image.GetSize());
    // The handle was closed: nothing holds the file.
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FileImageFailureTest,
    ::testing::Values(Failure{"Open", FailingDiskFile::kOpen, ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION},
                      Failure{"OpenWithoutCode", FailingDiskFile::kOpen, 0, ERROR_OPEN_FAILED},
                      Failure{"Size", FailingDiskFile::kSize, ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE},
                      Failure{"Read", FailingDiskFile::kRead, ERROR_LOCK_VIOLATION, ERROR_LOCK_VIOLATION},
                      Failure{"ShortRead", FailingDiskFile::kShortRead, 0, ERROR_HANDLE_EOF}),
    [](const ::testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST(FileImageTest, MissingFileGivesFileNotFound)
{
    TempFolder folder;
    DiskFile file;
    FileImage image;
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND), image.Read(file, folder.PathOf("none.mid").c_str()));
    EXPECT_EQ(0u, image.GetSize());
}

TEST(FileImageTest, FilesOfFourGigabytesOrMoreAreRefusedBeforeAnyRead)
{
    TempFolder folder;
    std::string path = folder.Write("a.mid", std::string("x"));
    FileImage image;
    SizedDiskFile huge(16, 1);
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_TOO_LARGE), image.Read(huge, path.c_str()));
    // All ones is a real size, one byte short of 4 GB: no buffer can hold it
    // with its spare byte.
    SizedDiskFile almost(0xFFFFFFFFUL, 0);
    EXPECT_EQ(static_cast<unsigned long>(ERROR_FILE_TOO_LARGE), image.Read(almost, path.c_str()));
    EXPECT_EQ(0u, image.GetSize());
}

} // namespace
