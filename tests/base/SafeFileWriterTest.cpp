#include "base/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "base/DiskFile.h"
#include "tests/support/FailingDiskFile.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class SafeFileWriterTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return m_folder.PathOf(name); }
    static void Put(const std::string& path, const std::string& bytes) { TempFolder::Write(path, bytes); }
    static std::string Read(const std::string& path) { return TempFolder::Read(path); }
    std::set<std::string> Names() const { return m_folder.Names(); }

    TempFolder m_folder{TempFolder::NameForTest("safewriter")};
};

TEST_F(SafeFileWriterTest, NewFileHoldsExactlyTheBytes)
{
    // Embedded NULs, CR LF, and more than one write slice.
    std::string bytes = std::string("10 PLAY \"c\"\r\n\0\x83\x5C", 16);
    bytes += std::string(3u << 20, 'x');
    std::string path = PathOf("out.txt");
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(0u, writer.Write(file, path.c_str(), bytes.data(), bytes.size()));
    EXPECT_EQ(bytes, Read(path));
    EXPECT_EQ(path + ".~0", writer.GetTemporaryName());
    EXPECT_EQ((std::set<std::string>{"out.txt"}), Names());
}

TEST_F(SafeFileWriterTest, ReplacesAnExistingFileAndAnEmptyTextEmptiesIt)
{
    std::string path = PathOf("out.txt");
    Put(path, "an older and longer text");
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(0u, writer.Write(file, path.c_str(), "new", 3));
    EXPECT_EQ("new", Read(path));
    EXPECT_EQ(0u, writer.Write(file, path.c_str(), "", 0));
    EXPECT_EQ("", Read(path));
    EXPECT_EQ((std::set<std::string>{"out.txt"}), Names());
}

TEST_F(SafeFileWriterTest, TakenTemporaryNamesAreSteppedOverAndKept)
{
    std::string path = PathOf("out.txt");
    Put(path + ".~0", "someone else's");
    Put(path + ".~1", "someone else's too");
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(0u, writer.Write(file, path.c_str(), "new", 3));
    EXPECT_EQ(path + ".~2", writer.GetTemporaryName());
    EXPECT_EQ("new", Read(path));
    EXPECT_EQ("someone else's", Read(path + ".~0"));
    EXPECT_EQ((std::set<std::string>{"out.txt", "out.txt.~0", "out.txt.~1"}), Names());
}

TEST_F(SafeFileWriterTest, NoFreeTemporaryNameIsAFailure)
{
    std::string path = PathOf("out.txt");
    Put(path, "old");
    for (int i = 0; i < SafeFileWriter::kMaxAttempts; ++i)
        Put(path + ".~" + std::to_string(i), "");
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(SafeFileWriter::kErrorFileExists, writer.Write(file, path.c_str(), "new", 3));
    EXPECT_EQ("old", Read(path));
    EXPECT_EQ(static_cast<size_t>(SafeFileWriter::kMaxAttempts) + 1, Names().size());
}

TEST_F(SafeFileWriterTest, MissingFolderIsReportedAsADirectWriteWouldBe)
{
    std::string path = PathOf("missing/out.txt");
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(DiskFile::kErrorPathNotFound, writer.Write(file, path.c_str(), "new", 3));
    EXPECT_TRUE(Names().empty());
}

TEST_F(SafeFileWriterTest, HeldTargetIsRefusedBeforeAnythingIsWritten)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "advisory file locks do nothing under node";
#endif
    std::string path = PathOf("held.txt");
    Put(path, "kept");
    DiskFile holder;
    DiskFile::Handle held = holder.Open(path.c_str(), DiskFile::kGenericRead, DiskFile::kFileAttributeNormal,
                                        DiskFile::kOpenExisting);
    ASSERT_NE(nullptr, held);
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(DiskFile::kErrorSharingViolation, writer.Write(file, path.c_str(), "new", 3));
    holder.Close(held);
    EXPECT_EQ("kept", Read(path));
    EXPECT_EQ((std::set<std::string>{"held.txt"}), Names());
}

using FailureCase = FailingDiskFile::Case;

class SafeFileWriterFailure : public SafeFileWriterTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SafeFileWriterFailure, OldFileKeepsEveryByteAndNoTemporaryFileStays)
{
    const std::string old = std::string("1000 ' old\r\n\0\xFF", 14);
    std::string path = PathOf("out.txt");
    Put(path, old);
    FailingDiskFile file(GetParam().failure, GetParam().code);
    SafeFileWriter writer;
    EXPECT_EQ(GetParam().expected, writer.Write(file, path.c_str(), "new text", 8));
    EXPECT_EQ(old, Read(path));
    EXPECT_EQ((std::set<std::string>{"out.txt"}), Names());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, SafeFileWriterFailure,
    ::testing::Values(
        FailureCase{"TemporaryFileDenied", FailingDiskFile::kOpenTemporary, DiskFile::kErrorAccessDenied,
                    DiskFile::kErrorAccessDenied},
        FailureCase{"TemporaryFileWithoutCode", FailingDiskFile::kOpenTemporary, 0, SafeFileWriter::kErrorOpenFailed},
        FailureCase{"DiskFull", FailingDiskFile::kWrite, DiskFile::kErrorDiskFull, DiskFile::kErrorDiskFull},
        FailureCase{"ShortWrite", FailingDiskFile::kShortWrite, 0, SafeFileWriter::kErrorWriteFault},
        FailureCase{"CloseFails", FailingDiskFile::kClose, 64, 64},
        FailureCase{"ReplaceDenied", FailingDiskFile::kReplace, DiskFile::kErrorAccessDenied,
                    DiskFile::kErrorAccessDenied},
        FailureCase{"ReplaceWithoutCode", FailingDiskFile::kReplace, 0, SafeFileWriter::kErrorWriteFault}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(SafeFileWriterNames, TemporaryFileSitsBesideTheTarget)
{
    SafeFileWriter writer;
    EXPECT_EQ("C:\\songs\\song.txt.~0", writer.MakeTemporaryName("C:\\songs\\song.txt", 0));
    EXPECT_EQ("out.txt.~42", writer.MakeTemporaryName("out.txt", 42));
    EXPECT_TRUE(writer.GetTemporaryName().empty());
}

TEST(SafeFileWriterNames, NoNameIsRefused)
{
    DiskFile file;
    SafeFileWriter writer;
    EXPECT_EQ(SafeFileWriter::kErrorOpenFailed, writer.Write(file, "", "x", 1));
    EXPECT_EQ(SafeFileWriter::kErrorOpenFailed, writer.Write(file, nullptr, "x", 1));
}

} // namespace
