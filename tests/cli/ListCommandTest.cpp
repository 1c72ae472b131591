#include "cli/ListCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/FileName.h"
#include "gen/SmfBuilder.h"
#include "tests/support/ToolRun.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<uint8_t> Bytes;

class ListCommandTest : public FolderTest {
protected:
    ToolRun::Outcome List(const char* name, const Bytes& image)
    {
        return RunTool({"--list", Write(name, image)});
    }
};

TEST_F(ListCommandTest, FormatZeroWithDrumsAndAChord)
{
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    smf.TrackName(t, 0, "piano and drums");
    // A chord on channel 0: only its first note is kept, ending at 960.
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOn(t, 0, 0, 64, 100);
    smf.NoteOn(t, 0, 0, 67, 100);
    smf.NoteOn(t, 0, 9, 36, 100);
    smf.NoteOff(t, 120, 9, 36);
    smf.NoteOff(t, 840, 0, 60);
    smf.NoteOff(t, 0, 0, 64);
    smf.NoteOff(t, 0, 0, 67);
    smf.EndOfTrack(t);
    ToolRun::Outcome o = List("chords.mid", smf.Build());
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("", o.err);
    EXPECT_EQ("File name\tchords.mid\n"
              "Format\t0\n"
              "Time base\t480\n"
              "Used channels\t2\n"
              "No.\tTr.\tCh.\tStep\n"
              "0\t0\t0\t960\n"
              "1\t0\t9\t120\n",
              o.out);
}

TEST_F(ListCommandTest, VoicesAddAColumnAndTheirRows)
{
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOn(t, 0, 0, 64, 100);
    smf.NoteOn(t, 0, 0, 67, 100);
    smf.NoteOn(t, 0, 9, 36, 100);
    smf.NoteOff(t, 120, 9, 36);
    smf.NoteOff(t, 840, 0, 60);
    smf.NoteOff(t, 0, 0, 64);
    smf.NoteOff(t, 120, 0, 67);
    smf.EndOfTrack(t);
    const std::string path = Write("chords.mid", smf.Build());
    ToolRun::Outcome o = RunTool({"--list", "-V", "2", path});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("", o.err);
    EXPECT_EQ("File name\tchords.mid\n"
              "Format\t0\n"
              "Time base\t480\n"
              "Used channels\t3\n"
              "No.\tTr.\tCh.\tStep\tVoice\n"
              "0\t0\t0\t1,080\t1\n"
              "1\t0\t0\t960\t2\n"
              "2\t0\t9\t120\t1\n",
              o.out);
    // One voice is the listing as it always was.
    EXPECT_EQ(RunTool({"--list", path}).out, RunTool({"--list", "--voices", "1", path}).out);
    o = RunTool({"--list", "-V", "40", path});
    EXPECT_EQ(2, o.code);
    EXPECT_EQ("midi2morvek: voice count '40' is not a number from 1 to 18 (see --help)\n", o.err);
}

TEST_F(ListCommandTest, FormatOneWithConductorAndControllerOnlyChannel)
{
    SmfBuilder smf(1, 96);
    int conductor = smf.AddTrack();
    smf.Tempo(conductor, 0, 500000);
    smf.EndOfTrack(conductor, 3840);
    int melody = smf.AddTrack();
    smf.AddMessage(melody, 0, {0xC3, 1});           // program change only on channel 3
    smf.AddMessage(melody, 0, {0xB3, 7, 100});
    smf.NoteOn(melody, 0, 2, 72, 90);
    smf.NoteOff(melody, 4000, 2, 72);
    smf.EndOfTrack(melody);
    int bass = smf.AddTrack();
    smf.NoteOn(bass, 96, 2, 36, 90);                // channel 2 again: a list of its own
    smf.NoteOff(bass, 1234567, 2, 36);
    smf.EndOfTrack(bass);
    ToolRun::Outcome o = List("song.mid", smf.Build());
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("File name\tsong.mid\n"
              "Format\t1\n"
              "Time base\t96\n"
              "Used channels\t3\n"
              "No.\tTr.\tCh.\tStep\n"
              "0\t1\t2\t4,000\n"
              "1\t1\t3\t0\n"
              "2\t2\t2\t1,234,663\n",
              o.out);
}

TEST_F(ListCommandTest, FilesTheConverterRefusesAreListed)
{
    SmfBuilder smf(2, 120);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 5, 60, 100);
    smf.NoteOff(t, 60, 5, 60);
    smf.EndOfTrack(t);
    ToolRun::Outcome o = List("pattern.mid", smf.Build());
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("File name\tpattern.mid\nFormat\t2\nTime base\t120\nUsed channels\t1\n"
              "No.\tTr.\tCh.\tStep\n0\t0\t5\t60\n",
              o.out);

    SmfBuilder empty(1, 480);
    empty.EndOfTrack(empty.AddTrack());
    o = List("empty.mid", empty.Build());
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("File name\tempty.mid\nFormat\t1\nTime base\t480\nUsed channels\t0\nNo.\tTr.\tCh.\tStep\n",
              o.out);
}

TEST_F(ListCommandTest, BrokenOrMissingFiles)
{
    ToolRun::Outcome o = List("text.mid", Bytes{'M', 'T', 'h', 'd'});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ("midi2morvek: " + (m_folder / "text.mid").string() +
                  ": not a well-formed Standard MIDI File\n",
              o.err);
    EXPECT_EQ("", o.out);

    o = RunTool({"--list", (m_folder / "none.mid").string()});
    EXPECT_EQ(1, o.code);
    EXPECT_EQ(0u, o.err.find("midi2morvek: " + (m_folder / "none.mid").string() + ": "));

    EXPECT_EQ(2, RunTool({"--list"}).code);
    EXPECT_EQ(2, RunTool({"--list", "a.mid", "b.mid"}).code);
    EXPECT_EQ(2, RunTool({"--list", "--events", "a.mid"}).code);
}

TEST(FileNameTest, DropsTheFolder)
{
    EXPECT_EQ("song.mid", GetFileName("song.mid"));
    EXPECT_EQ("song.mid", GetFileName("music/old/song.mid"));
    EXPECT_EQ("song.mid", GetFileName("/song.mid"));
    EXPECT_EQ("", GetFileName("music/"));
#ifdef _WIN32
    EXPECT_EQ("song.mid", GetFileName("C:\\music\\song.mid"));
    EXPECT_EQ("song.mid", GetFileName("C:song.mid"));
#else
    EXPECT_EQ("a\\song.mid", GetFileName("music/a\\song.mid"));
#endif
}

}  // namespace
