#include "cli/PreviewOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "preview/PreviewTempo.h"
#include "preview/ProgramPreview.h"
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

}  // namespace
