#include "cli/RenderCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gen/SmfBuilder.h"
#include "tests/support/ToolRun.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<uint8_t> Bytes;

// Quarter notes c d e f g at time base 96, 100 quarter notes a minute.
Bytes MakeMelody()
{
    SmfBuilder smf(0, 96);
    int t = smf.AddTrack();
    smf.Tempo(t, 0, 600000);
    for (int key : { 60, 62, 64, 65, 67 }) {
        smf.NoteOn(t, 0, 0, key, 100);
        smf.NoteOff(t, 96, 0, key);
    }
    smf.EndOfTrack(t);
    return smf.Build();
}

// 60 / 100 s of 44,100 samples.
const size_t kQuarterSamples = 26460;

class RenderCommandTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_song = Write("song.mid", MakeMelody());
        m_program = Path("song.txt");
        ASSERT_EQ(0, RunTool({ "-o", m_program, m_song }).code);
    }
    std::string Path(const char* name) const { return (m_folder / name).string(); }
    std::string WriteText(const char* name, const std::string& text)
    {
        return Write(name, Bytes(text.begin(), text.end()));
    }
    // The 16-bit samples of a WAV file this tool wrote (after its 44 bytes of header).
    std::vector<int16_t> Samples(const std::string& path) const
    {
        const std::string image = Read(path);
        std::vector<int16_t> samples;
        for (size_t i = 44; i + 1 < image.size(); i += 2)
            samples.push_back(static_cast<int16_t>(static_cast<unsigned char>(image[i]) |
                                                   static_cast<unsigned char>(image[i + 1]) << 8));
        return samples;
    }

    std::string m_song;
    std::string m_program;
};

TEST_F(RenderCommandTest, ConversionPreviewIsTheRenderOfItsProgram)
{
    ToolRun::Outcome converted = RunTool({ "-o", Path("again.txt"), "--wav", Path("a.wav"), m_song });
    ASSERT_EQ(0, converted.code) << converted.err;
    EXPECT_EQ("", converted.err);
    EXPECT_EQ(Read(m_program), Read(Path("again.txt")));
    // The file's tempo, 100, and its time base, 96.
    ToolRun::Outcome rendered = RunTool({ "--render", m_program, "--wav", Path("b.wav"), "--time-base", "96",
                                 "--tempo", "100" });
    ASSERT_EQ(0, rendered.code) << rendered.err;
    EXPECT_EQ(Read(Path("a.wav")), Read(Path("b.wav")));
    EXPECT_EQ(44 + 2 * 5 * kQuarterSamples, Read(Path("a.wav")).size());
    // On standard output the program is as it was, the preview beside it.
    ToolRun::Outcome printed = RunTool({ "--wav", Path("c.wav"), m_song });
    EXPECT_EQ(Read(m_program), printed.out);
    EXPECT_EQ(Read(Path("a.wav")), Read(Path("c.wav")));
}

TEST_F(RenderCommandTest, TempoSetsTheTimeAndTheTimeBaseChangesNothing)
{
    ASSERT_EQ(0, RunTool({ "--render", m_program, "--wav", Path("480.wav"), "--tempo", "100" }).code);
    ASSERT_EQ(0, RunTool({ "--render", m_program, "--wav", Path("48.wav"), "--tempo", "100",
                           "--time-base", "48" }).code);
    EXPECT_EQ(Read(Path("480.wav")), Read(Path("48.wav")));
    ASSERT_EQ(0, RunTool({ "--render", m_program, "--wav", Path("120.wav") }).code);
    EXPECT_EQ(5 * 22050u, Samples(Path("120.wav")).size());
    ASSERT_EQ(0, RunTool({ m_song, "-o", Path("x.txt"), "--wav", Path("50.wav"), "--tempo", "50" }).code);
    EXPECT_EQ(5 * 2 * kQuarterSamples, Samples(Path("50.wav")).size());
}

TEST_F(RenderCommandTest, HandEditedNoteIsHeardChanged)
{
    std::string text = Read(m_program);
    const size_t melody = text.find("cdef");
    ASSERT_NE(std::string::npos, melody) << text;
    text[melody + 1] = 'a';                          // the second note, d, becomes a
    std::string edited = WriteText("edited.txt", text);
    ASSERT_EQ(0, RunTool({ "--render", m_program, "--wav", Path("a.wav"), "--tempo", "100" }).code);
    ASSERT_EQ(0, RunTool({ "--render", edited, "--wav", Path("b.wav"), "--tempo", "100" }).code);
    const std::vector<int16_t> before = Samples(Path("a.wav"));
    const std::vector<int16_t> after = Samples(Path("b.wav"));
    ASSERT_EQ(before.size(), after.size());
    size_t first = before.size(), last = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            first = std::min(first, i);
            last = i;
        }
    }
    // Heard changed where the second quarter note sounds, from the first edge
    // of its wave on (both begin with a high half period, a's the shorter).
    EXPECT_EQ(kQuarterSamples + 51, first);
    EXPECT_EQ(2 * kQuarterSamples - 1, last);
}

TEST_F(RenderCommandTest, RefusalsNameTheProblemAndWriteNothing)
{
    fs::create_directories(m_folder / "folder");
    const std::string out = Path("out.wav");
    const std::string missing = Path("missing.txt");
    const std::string intoMissingFolder = (m_folder / "no" / "out.wav").string();
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;                             // the whole message, or its start ending in ": "
    } cases[] = {
        { { "--render" }, 2, "midi2morvek: no PROGRAM to render (see --help)\n" },
        { { "--render", m_program, m_song, "--wav", out }, 2,
          "midi2morvek: only one PROGRAM can be rendered at a time (see --help)\n" },
        { { "--render", m_program }, 2, "midi2morvek: --render needs --wav FILE (see --help)\n" },
        { { "--render", m_program, "--wav", m_program }, 2,
          "midi2morvek: --wav names PROGRAM itself (see --help)\n" },
        { { "--render", m_program, "--wav", out, "--tempo", "0.5" }, 2,
          "midi2morvek: tempo '0.5' is not quarter notes per minute, 1 to 1000 with up to three "
          "decimals (see --help)\n" },
        { { "--render", m_program, "--wav", out, "--time-base", "192" }, 2,
          "midi2morvek: time base '192' is not 48, 96, 240 or 480 (see --help)\n" },
        { { "--render", m_program, "--wav", out, "--list" }, 2,
          "midi2morvek: --list and --render cannot be combined (see --help)\n" },
        { { "--render", missing, "--wav", out }, 1, "midi2morvek: " + missing + ": " },
        { { "--render", m_program, "--wav", intoMissingFolder }, 1,
          "midi2morvek: " + intoMissingFolder + ": " },
        { { "--render", m_program, "--wav", Path("folder") }, 1,
          "midi2morvek: " + Path("folder") + ": " },
        { { m_song, "--tempo", "100" }, 2, "midi2morvek: --tempo goes with --wav (see --help)\n" },
        { { m_song, "--wav", out, "--tempo", "1000.5" }, 2,
          "midi2morvek: tempo '1000.5' is not quarter notes per minute, 1 to 1000 with up to three "
          "decimals (see --help)\n" },
        { { m_song, "--wav", out, "--time-base", "96" }, 2,
          "midi2morvek: --time-base goes with --render: a conversion's preview counts in its file's "
          "time base (see --help)\n" },
        { { m_song, "--wav", out, "-o", out }, 2,
          "midi2morvek: --wav and --output name the same file (see --help)\n" },
    };
    const std::vector<std::string> before = Names();
    for (const Case& c : cases) {
        ToolRun::Outcome o = RunTool(c.args);
        EXPECT_EQ(c.code, o.code) << c.err;
        if (c.err.back() == '\n') {
            EXPECT_EQ(c.err, o.err);
        } else {
            EXPECT_EQ(0u, o.err.find(c.err)) << o.err;
            EXPECT_EQ(1, std::count(o.err.begin(), o.err.end(), '\n')) << o.err;
        }
        EXPECT_EQ("", o.out);
        EXPECT_EQ(before, Names()) << c.err;
    }
}

TEST_F(RenderCommandTest, ProgramStaysWrittenWhenItsPreviewCannotBe)
{
    const std::string intoMissingFolder = (m_folder / "no" / "out.wav").string();
    ToolRun::Outcome o = RunTool({ "-o", Path("again.txt"), "--wav", intoMissingFolder, m_song });
    EXPECT_EQ(1, o.code);
    EXPECT_EQ(0u, o.err.find("midi2morvek: " + intoMissingFolder + ": ")) << o.err;
    EXPECT_EQ(Read(m_program), Read(Path("again.txt")));
}

TEST_F(RenderCommandTest, MusicLongerThanAWavFileHoldsIsRefused)
{
    // At one quarter note a minute, 210 tied whole notes last 14 hours.
    std::string text = Read(m_program);
    const size_t melody = text.find("cdef");
    ASSERT_NE(std::string::npos, melody);
    std::string tied;
    for (int i = 0; i < 210; ++i)
        tied += "c1&";
    tied += "c1";
    text.replace(melody, 4, tied);
    std::string program = WriteText("long.txt", text);
    ToolRun::Outcome o = RunTool({ "--render", program, "--wav", Path("long.wav"), "--tempo", "1" });
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("midi2morvek: " + Path("long.wav") + ": the preview at 1 quarter notes per minute "
              "would last longer than a WAV file can hold (4 GiB, about 13.5 hours)\n", o.err);
    EXPECT_FALSE(fs::exists(Path("long.wav")));
}

}  // namespace
