#include "cli/PreviewOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/DiskFile.h"
#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
#include "tests/support/FailingDiskFile.h"
#include "tests/support/ToolRun.h"

namespace {

namespace fs = std::filesystem;

const std::string kProgram = "1100 PLAY \"o4l8cdef\",\"o3c2\"\r\n1110 PLAY \"g2\",\"r2\"\r\n";

class PreviewOutputTest : public FolderTest {};

TEST_F(PreviewOutputTest, WritesThePreviewsImage)
{
    PreviewTempo tempo;
    ASSERT_TRUE(tempo.SetBeatsPerMinuteText("133.5"));
    const std::string path = (m_folder / "out.wav").string();
    PreviewOutput output;
    ASSERT_TRUE(output.Write(path, kProgram, "prog.txt", 96, tempo)) << output.GetReason();
    ProgramPreview preview;
    preview.SetTempo(tempo);
    std::string image;
    ASSERT_EQ(ProgramPreview::kPreviewOk, preview.Make(kProgram.data(), kProgram.size(), 96, image));
    EXPECT_EQ(image, Read(path));
    EXPECT_EQ(std::vector<std::string>({ "out.wav" }), Names());
}

TEST_F(PreviewOutputTest, FailureNamesTheFileAtFaultAndLeavesNothing)
{
    fs::create_directories(m_folder / "folder");
    const std::string folder = (m_folder / "folder").string();
    const std::string path = (m_folder / "out.wav").string();
    struct Case {
        std::string wav;
        std::string text;
        std::string file;
        std::string reason;                          // whole, or "" for the system's words
    } cases[] = {
        { path, "1100 PLAY \"c\"\r\n1110 PLAY \"c\",\"d\"\r\n", "prog.txt",
          "line 2, column " },
        { (m_folder / "no" / "out.wav").string(), kProgram, (m_folder / "no" / "out.wav").string(), "" },
        { folder, kProgram, folder, "" },
    };
    for (const Case& c : cases) {
        PreviewOutput output;
        EXPECT_FALSE(output.Write(c.wav, c.text, "prog.txt", 480, PreviewTempo()));
        EXPECT_EQ(c.file, output.GetFailedFile());
        EXPECT_EQ(0u, output.GetReason().find(c.reason)) << output.GetReason();
        EXPECT_NE(c.reason, output.GetReason());
        EXPECT_EQ(std::vector<std::string>({ "folder" }), Names());
    }
}

// Fails the third write, once the header and the first samples are in.
class LateFailingDiskFile : public DiskFile {
public:
    unsigned long Write(Handle handle, const void* buffer, unsigned long count) override
    {
        if (++m_writes < 3)
            return DiskFile::Write(handle, buffer, count);
        SetErrorCode(112);                           // ERROR_DISK_FULL
        return 0;
    }

private:
    int m_writes = 0;
};

class FailingPreviewOutput : public PreviewOutput {
public:
    explicit FailingPreviewOutput(FailingDiskFile::Failure failure) : m_failure(failure) {}

protected:
    DiskFile* CreateDiskFile() override
    {
        if (m_failure == FailingDiskFile::kNoFailure)
            return new LateFailingDiskFile;
        return new FailingDiskFile(m_failure, 5);
    }

private:
    FailingDiskFile::Failure m_failure;
};

// A write that fails anywhere on the way, in the middle of the samples too,
// leaves the old file with every byte and nothing beside it.
TEST_F(PreviewOutputTest, FailedWriteLeavesTheOldFileWhole)
{
    const std::string path = Write("out.wav", std::vector<uint8_t>{ 'o', 'l', 'd' });
    // Fourteen seconds: several pieces of samples.
    const std::string program = "1100 PLAY \"l1cdefgab\",\"o3l1cdefgab\"\r\n";
    for (FailingDiskFile::Failure failure :
         { FailingDiskFile::kNoFailure, FailingDiskFile::kOpenTemporary, FailingDiskFile::kWrite,
           FailingDiskFile::kClose, FailingDiskFile::kReplace }) {
        FailingPreviewOutput output(failure);
        EXPECT_FALSE(output.Write(path, program, "prog.txt", 480, PreviewTempo())) << failure;
        EXPECT_EQ(path, output.GetFailedFile());
        EXPECT_EQ("old", Read(path));
        EXPECT_EQ(std::vector<std::string>({ "out.wav" }), Names());
    }
}

}  // namespace
