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

#ifdef _WIN32
#include <windows.h>
#endif

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

// Format 0 at time base 480, the track named name when there is one: a
// chord on channel 0 from 0 to 960 (its top note fifthLonger ticks more)
// and a drum note on channel 9 from 0 to 120.
Bytes ChordAndDrum(const char* name, int fifthLonger)
{
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    if (name != nullptr)
        smf.TrackName(t, 0, name);
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOn(t, 0, 0, 64, 100);
    smf.NoteOn(t, 0, 0, 67, 100);
    smf.NoteOn(t, 0, 9, 36, 100);
    smf.NoteOff(t, 120, 9, 36);
    smf.NoteOff(t, 840, 0, 60);
    smf.NoteOff(t, 0, 0, 64);
    smf.NoteOff(t, fifthLonger, 0, 67);
    smf.EndOfTrack(t);
    return smf.Build();
}

TEST_F(ListCommandTest, FormatZeroWithDrumsAndAChord)
{
    // Of the chord only its first note is kept, ending at 960.
    ToolRun::Outcome o = List("chords.mid", ChordAndDrum("piano and drums", 0));
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
    const std::string path = Write("chords.mid", ChordAndDrum(nullptr, 120));
    ToolRun::Outcome o = RunTool({"--list", "-V", "2", path});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ("", o.err);
    EXPECT_EQ("File name\tchords.mid\n"
              "Format\t0\n"
              "Time base\t480\n"
              "Used channels\t2\n" // two channels, three lists
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

#ifdef _WIN32
// "ソング": its first character ends in 0x5C, the byte of a backslash.
const char kSong[] = "\x83\x5C\x83\x93\x83\x4F";

// A file named in the ANSI code page, which fs::path would not keep.
std::string WriteAnsiNamed(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    std::string path = folder.string() + "\\" + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h) << path;
    DWORD written = 0;
    if (h != INVALID_HANDLE_VALUE) {
        if (!bytes.empty())
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    return path;
}

// Runs the real midi2morvek.exe beside this program; returns its standard
// output and standard error together, as a console shows them.
std::string RunProgram(const std::string& arguments, DWORD* code)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string program = self;
    program = program.substr(0, program.find_last_of('\\') + 1) + "midi2morvek.exe";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "no pipe";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = writeEnd;
    start.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + program + "\" " + arguments;
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return "cannot start " + program;
    }
    CloseHandle(writeEnd);
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);
    return text;
}

Bytes OneNoteSong()
{
    SmfBuilder smf(0, 480);
    int t = smf.AddTrack();
    smf.NoteOn(t, 0, 0, 60, 100);
    smf.NoteOff(t, 480, 0, 60);
    smf.EndOfTrack(t);
    return smf.Build();
}

TEST_F(ListCommandTest, JapaneseFileNamesAreListedWhole)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    const std::string name = std::string(kSong) + ".mid";
    EXPECT_EQ(name, GetFileName("Z:\\tmp\\" + name));
    const std::string path = WriteAnsiNamed(m_folder, name, OneNoteSong());
    const std::string listing = "File name\t" + name + "\n"
                                "Format\t0\n"
                                "Time base\t480\n"
                                "Used channels\t1\n"
                                "No.\tTr.\tCh.\tStep\n"
                                "0\t0\t0\t480\n";
    ToolRun::Outcome o = RunTool({"--list", path});
    EXPECT_EQ(0, o.code);
    EXPECT_EQ(listing, o.out);

    DWORD code = 99;
    EXPECT_EQ(listing, RunProgram("--list \"" + path + "\"", &code));
    EXPECT_EQ(0u, code);
}

TEST_F(ListCommandTest, RefusedJapaneseFileIsNamedWhole)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    const std::string path = WriteAnsiNamed(m_folder, std::string(kSong) + ".txt", Bytes{'t', 'e', 'x', 't'});
    const std::string message = "midi2morvek: " + path + ": not a well-formed Standard MIDI File\n";
    for (const char* command : {"--list", "--events"}) {
        ToolRun::Outcome o = RunTool({command, path});
        EXPECT_EQ(1, o.code) << command;
        EXPECT_EQ(message, o.err) << command;
    }
    // Standard error is a text stream there: its line ends are CR LF.
    DWORD code = 99;
    EXPECT_EQ(message.substr(0, message.size() - 1) + "\r\n", RunProgram("\"" + path + "\"", &code));
    EXPECT_EQ(1u, code);
}
#endif

}  // namespace
