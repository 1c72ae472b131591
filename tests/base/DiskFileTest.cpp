#include "base/DiskFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder for each test, removed afterwards.
class DiskFileTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return m_folder.PathOf(name); }

    void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
    {
        DiskFile f;
        DiskFile::Handle h = f.Open(path.c_str(), DiskFile::kGenericWrite,
                                    DiskFile::kFileAttributeNormal, DiskFile::kCreateAlways);
        ASSERT_NE(nullptr, h) << f.GetErrorCode();
        EXPECT_EQ(bytes.size(), f.Write(h, bytes.data(), static_cast<unsigned long>(bytes.size())));
        EXPECT_EQ(1, f.Close(h));
    }

    DiskFile::Handle OpenForReading(DiskFile& f, const std::string& path)
    {
        return f.Open(path.c_str(), DiskFile::kGenericRead, DiskFile::kFileAttributeNormal,
                      DiskFile::kOpenExisting);
    }

    TempFolder m_folder{TempFolder::NameForTest("diskfile")};
};

TEST_F(DiskFileTest, WrittenBytesReadBackWhole)
{
    std::vector<unsigned char> bytes(70000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7);
    std::string path = PathOf("song.mid");
    WriteFile(path, bytes);

    DiskFile f;
    DiskFile::Handle h = OpenForReading(f, path);
    ASSERT_NE(nullptr, h);
    unsigned long high = 99;
    ASSERT_EQ(bytes.size(), f.GetSize(h, &high));
    EXPECT_EQ(0u, high);
    std::vector<unsigned char> back(bytes.size() + 10);
    EXPECT_EQ(bytes.size(), f.Read(h, back.data(), static_cast<unsigned long>(back.size())));
    back.resize(bytes.size());
    EXPECT_EQ(bytes, back);
    EXPECT_EQ(1, f.Close(h));
    EXPECT_EQ(0u, f.GetErrorCode());
}

TEST_F(DiskFileTest, CreateAlwaysReplacesExistingFile)
{
    std::string path = PathOf("out.txt");
    WriteFile(path, std::vector<unsigned char>(100, 'x'));
    WriteFile(path, {'1', '2', '3'});
    DiskFile f;
    DiskFile::Handle h = OpenForReading(f, path);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(3u, f.GetSize(h, nullptr));
    f.Close(h);
}

TEST_F(DiskFileTest, EmptyFileHasSizeZeroWithoutFailure)
{
    std::string path = PathOf("empty.mid");
    WriteFile(path, {});
    DiskFile f;
    f.SetErrorCode(1234);
    DiskFile::Handle h = OpenForReading(f, path);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(0u, f.GetSize(h, nullptr));
    unsigned char byte;
    EXPECT_EQ(0u, f.Read(h, &byte, 1));
    EXPECT_EQ(1234u, f.GetErrorCode());
    f.Close(h);
}

TEST_F(DiskFileTest, MissingFileRecordsFileNotFound)
{
    DiskFile f;
    EXPECT_EQ(nullptr, OpenForReading(f, PathOf("missing.mid")));
    EXPECT_EQ(2u, f.GetErrorCode());
}

TEST_F(DiskFileTest, MissingFolderRecordsPathNotFound)
{
    DiskFile f;
    EXPECT_EQ(nullptr, OpenForReading(f, PathOf("nowhere/missing.mid")));
    EXPECT_EQ(3u, f.GetErrorCode());
}

TEST_F(DiskFileTest, FolderCannotBeOpenedAsFile)
{
    DiskFile f;
    EXPECT_EQ(nullptr, OpenForReading(f, m_folder.GetPath().string()));
    EXPECT_EQ(5u, f.GetErrorCode());
}

TEST_F(DiskFileTest, FileHeldOpenCannotBeOpenedAgain)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "advisory file locks do nothing under node";
#endif
    std::string path = PathOf("held.mid");
    WriteFile(path, {1, 2, 3});
    DiskFile holder;
    DiskFile::Handle held = OpenForReading(holder, path);
    ASSERT_NE(nullptr, held);
    DiskFile f;
    EXPECT_EQ(nullptr, OpenForReading(f, path));
    EXPECT_EQ(32u, f.GetErrorCode());                 // ERROR_SHARING_VIOLATION
    EXPECT_EQ(1, holder.Close(held));
    DiskFile::Handle h = OpenForReading(f, path);
    EXPECT_NE(nullptr, h);
    f.Close(h);
}

TEST_F(DiskFileTest, WritingThroughReadHandleIsDenied)
{
    std::string path = PathOf("readonly.mid");
    WriteFile(path, {1, 2, 3});
    DiskFile f;
    DiskFile::Handle h = OpenForReading(f, path);
    ASSERT_NE(nullptr, h);
    const unsigned char byte = 0;
    EXPECT_EQ(0u, f.Write(h, &byte, 1));
    EXPECT_EQ(5u, f.GetErrorCode());
    f.Close(h);
}

// Each operation on the null handle fails with its failure result; the code
// is the system's (ERROR_INVALID_HANDLE) or the operation's fixed code.
struct NullHandleCase {
    const char* name;
    std::function<unsigned long(DiskFile&)> call;
    unsigned long failureResult;
    unsigned long fixedCode;
};

class DiskFileNullHandleTest : public ::testing::TestWithParam<NullHandleCase> {};

TEST_P(DiskFileNullHandleTest, FailsAndRecordsCode)
{
    const NullHandleCase& c = GetParam();
    DiskFile system;
    EXPECT_EQ(c.failureResult, c.call(system));
    EXPECT_EQ(6u, system.GetErrorCode());

    DiskFile fixed;
    EXPECT_EQ(1, fixed.SetSystemErrorMode(0));
    EXPECT_EQ(c.failureResult, c.call(fixed));
    EXPECT_EQ(c.fixedCode, fixed.GetErrorCode());
}

unsigned char g_buffer[4];

INSTANTIATE_TEST_SUITE_P(Operations, DiskFileNullHandleTest, ::testing::Values(
    NullHandleCase{"Close", [](DiskFile& f) { return static_cast<unsigned long>(f.Close(nullptr)); },
                   0, 0x8108},
    NullHandleCase{"GetSize", [](DiskFile& f) { return f.GetSize(nullptr, nullptr); },
                   0xFFFFFFFFUL, 0x8108},
    NullHandleCase{"Read", [](DiskFile& f) { return f.Read(nullptr, g_buffer, 4); }, 0, 0x8103},
    NullHandleCase{"Write", [](DiskFile& f) { return f.Write(nullptr, g_buffer, 4); }, 0, 0x8104}),
    [](const ::testing::TestParamInfo<NullHandleCase>& info) { return std::string(info.param.name); });

TEST_F(DiskFileTest, FixedOpenCodeWhenSystemModeOff)
{
    DiskFile f;
    f.SetSystemErrorMode(0);
    EXPECT_EQ(nullptr, OpenForReading(f, PathOf("missing.mid")));
    EXPECT_EQ(0x8107u, f.GetErrorCode());
}

TEST_F(DiskFileTest, LaterFailureOverwritesCodeAndSuccessKeepsIt)
{
    std::string path = PathOf("ok.mid");
    WriteFile(path, {1});
    DiskFile f;
    EXPECT_EQ(nullptr, OpenForReading(f, PathOf("missing.mid")));
    EXPECT_EQ(2u, f.GetErrorCode());
    EXPECT_EQ(0, f.Close(nullptr));
    EXPECT_EQ(6u, f.GetErrorCode());
    DiskFile::Handle h = OpenForReading(f, path);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(1, f.Close(h));
    EXPECT_EQ(6u, f.GetErrorCode());
}

TEST(DiskFileFieldsTest, SettersReturnWhatTheyReplace)
{
    DiskFile f;
    EXPECT_EQ(0u, f.GetErrorCode());
    EXPECT_EQ(1, f.GetSystemErrorMode());
    EXPECT_EQ(0u, f.SetErrorCode(5));
    EXPECT_EQ(5u, f.SetErrorCode(7));
    EXPECT_EQ(1, f.SetSystemErrorMode(0));
    EXPECT_EQ(0, f.SetSystemErrorMode(1));
}

TEST(DiskFileFieldsTest, ReasonsAreOneLineTexts)
{
    DiskFile f;
    const unsigned long codes[] = {2, 3, 5, 6, 32, 0x8107};
    std::vector<std::string> texts;
    for (unsigned long code : codes) {
        std::string text = f.DescribeError(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(std::string::npos, text.find_first_of("\r\n")) << code;
        texts.push_back(text);
    }
    EXPECT_NE(texts[0], texts[2]);                   // not found is not access denied
}

}  // namespace

namespace {

class DiskFileMoveTest : public DiskFileTest {};

TEST_F(DiskFileMoveTest, ReplaceMovesOverAnExistingFile)
{
    WriteFile(PathOf("new"), {'n', 'e', 'w'});
    WriteFile(PathOf("old"), {'o', 'l', 'd', '!'});
    DiskFile f;
    EXPECT_EQ(1, f.Replace(PathOf("new").c_str(), PathOf("old").c_str()));
    EXPECT_FALSE(fs::exists(PathOf("new")));
    EXPECT_EQ(3u, fs::file_size(PathOf("old")));
    EXPECT_EQ(1, f.Remove(PathOf("old").c_str()));
    EXPECT_FALSE(fs::exists(PathOf("old")));
}

TEST_F(DiskFileMoveTest, MissingFilesRecordWindowsCodes)
{
    DiskFile f;
    EXPECT_EQ(0, f.Replace(PathOf("none").c_str(), PathOf("other").c_str()));
    EXPECT_EQ(2u, f.GetErrorCode());  // ERROR_FILE_NOT_FOUND
    EXPECT_EQ(0, f.Remove(PathOf("none").c_str()));
    EXPECT_EQ(2u, f.GetErrorCode());
    EXPECT_EQ(0, f.Remove(nullptr));
    EXPECT_EQ(87u, f.GetErrorCode());  // ERROR_INVALID_PARAMETER
    EXPECT_EQ(0, f.Replace(nullptr, PathOf("other").c_str()));
    f.SetSystemErrorMode(0);
    EXPECT_EQ(0, f.Replace(PathOf("none").c_str(), PathOf("other").c_str()));
    EXPECT_EQ(+DiskFile::kReplaceFailed, f.GetErrorCode());
    EXPECT_EQ(0, f.Remove(PathOf("none").c_str()));
    EXPECT_EQ(+DiskFile::kRemoveFailed, f.GetErrorCode());
}

} // namespace
