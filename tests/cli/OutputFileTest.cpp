#include "cli/OutputFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/DiskFile.h"
#include "tests/support/ToolRun.h"

namespace {

namespace fs = std::filesystem;

// Fails the last step, as a full disk or a lost folder would.
class FailingReplaceDisk : public DiskFile {
public:
    explicit FailingReplaceDisk(bool* sawTemporary) : m_sawTemporary(sawTemporary) {}
    int Replace(const char* from, const char* /*to*/) override
    {
        *m_sawTemporary = fs::exists(from);
        SetErrorCode(112); // ERROR_DISK_FULL
        return 0;
    }

private:
    bool* m_sawTemporary;
};

class FailingReplaceFile : public OutputFile {
protected:
    DiskFile* CreateDiskFile() override { return new FailingReplaceDisk(&m_sawTemporary); }

public:
    bool m_sawTemporary = false;
};

class OutputFileTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_path = (m_folder / "out.txt").string();
    }
    std::string Read() { return FolderTest::Read(m_path); }
    size_t EntryCount() { return std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()); }

    std::string m_path;
};

TEST_F(OutputFileTest, WritesEveryByte)
{
    // Larger than one write slice, with CR LF and NUL bytes.
    std::string data;
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i)
        data += static_cast<char>(i % 251);
    data += "\r\n";
    OutputFile file;
    EXPECT_TRUE(file.Write(m_path, data.data(), data.size())) << file.GetReason();
    EXPECT_EQ(data, Read());
    EXPECT_EQ(1u, EntryCount());
}

TEST_F(OutputFileTest, ReplacesAnExistingFileAndWritesEmptyOnes)
{
    std::ofstream(m_path, std::ios::binary) << "a much longer text than the new one";
    OutputFile file;
    EXPECT_TRUE(file.Write(m_path, "new\r\n", 5));
    EXPECT_EQ("new\r\n", Read());
    EXPECT_TRUE(file.Write(m_path, "", 0));
    EXPECT_EQ("", Read());
    EXPECT_EQ(1u, EntryCount());
}

TEST_F(OutputFileTest, FailedReplaceKeepsTheOldFile)
{
    std::ofstream(m_path, std::ios::binary) << "old";
    FailingReplaceFile file;
    EXPECT_FALSE(file.Write(m_path, "new", 3));
    EXPECT_TRUE(file.m_sawTemporary);
    EXPECT_EQ(DiskFile().DescribeError(112), file.GetReason());
    EXPECT_EQ("old", Read());
    EXPECT_EQ(1u, EntryCount());
}

TEST_F(OutputFileTest, FailuresGiveAReason)
{
    OutputFile file;
    EXPECT_FALSE(file.Write((m_folder / "missing" / "out.txt").string(), "x", 1));
    EXPECT_NE("", file.GetReason());
    fs::create_directories(m_folder / "sub");
    EXPECT_FALSE(file.Write((m_folder / "sub").string(), "x", 1));
    EXPECT_NE("", file.GetReason());
    EXPECT_TRUE(fs::is_directory(m_folder / "sub"));
    EXPECT_FALSE(file.Write("", "x", 1));
    EXPECT_EQ(1u, EntryCount());
}

}  // namespace
