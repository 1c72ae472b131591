// KALTON.EXE itself, started as a user starts it: one instance, a second
// start hands over to the first, and every run ends with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const char kClassName[] = "MIDItoMORVEKClass";
const DWORD kStartTimeoutMs = 60000;

// One run of the program; ended (and waited for) when the object goes.
class Program {
public:
    explicit Program(const std::string& arguments = std::string())
    {
        std::string command = "\"" + TestProgramDirectory() + "KALTON.EXE\"";
        if (!arguments.empty())
            command += " " + arguments;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        m_started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &m_process) != FALSE;
    }
    virtual ~Program()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            HWND window = FindWindow();
            if (window != nullptr)
                PostMessageA(window, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(m_process.hProcess, 20000) == WAIT_TIMEOUT)
                TerminateProcess(m_process.hProcess, 1);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    virtual bool Started() const { return m_started; }

    // The program's main window once it is visible; null after the timeout.
    virtual HWND WaitForWindow()
    {
        for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 100) {
            HWND window = FindWindow();
            if (window != nullptr && IsWindowVisible(window))
                return window;
            if (WaitForSingleObject(m_process.hProcess, 100) != WAIT_TIMEOUT)
                return nullptr;
        }
        return nullptr;
    }

    // The exit code; STILL_ACTIVE when it did not end in time.
    virtual DWORD WaitForExit(DWORD timeoutMs = kStartTimeoutMs)
    {
        WaitForSingleObject(m_process.hProcess, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    virtual bool Running() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }

private:
    // A window of the program's class that belongs to this process.
    HWND FindWindow() const
    {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, kClassName, nullptr)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == m_process.dwProcessId)
                return window;
        }
        return nullptr;
    }

    bool m_started = false;
    PROCESS_INFORMATION m_process = {};
};

int CountMainWindows()
{
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, kClassName, nullptr)) != nullptr)
        ++count;
    return count;
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

// Waits until the window reports the state asked for, or the time is up.
bool WaitUntil(bool (*ready)(HWND), HWND window)
{
    for (int i = 0; i < 100; ++i) {
        if (ready(window))
            return true;
        Sleep(100);
    }
    return ready(window);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A window of the class left by anything else would make every start
        // of the program a second instance.
        ASSERT_EQ(0, CountMainWindows()) << "another main window is open";
    }
};

TEST_F(ProgramTest, SecondStartActivatesTheFirstAndLeavesWithZero)
{
    // A file name on the command line is not opened.
    Program first("song.mid");
    ASSERT_TRUE(first.Started());
    HWND window = first.WaitForWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("MIDI to MORVEK", TextOf(window));
    EXPECT_EQ("", TextOf(GetDlgItem(window, IDC_FILE_NAME)));

    {
        Program second;
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(0u, second.WaitForExit());
    }
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(1, CountMainWindows());

    // Minimised, the first window is restored by the next start.
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([](HWND w) { return IsIconic(w) != FALSE; }, window));
    {
        Program third;
        ASSERT_TRUE(third.Started());
        EXPECT_EQ(0u, third.WaitForExit());
    }
    EXPECT_TRUE(WaitUntil([](HWND w) { return IsIconic(w) == FALSE; }, window));
    EXPECT_EQ(1, CountMainWindows());

    // Exit from the File menu.
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0u, first.WaitForExit());
    EXPECT_EQ(0, CountMainWindows());
}

TEST_F(ProgramTest, ClosingTheWindowEndsTheProgramWithZero)
{
    Program program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow();
    ASSERT_NE(nullptr, window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit());
}

TEST_F(ProgramTest, FunctionKeyReachesTheRunningProgram)
{
    Program program;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForWindow();
    ASSERT_NE(nullptr, window);
    // F10 opens the About box through the program's own loop; Escape closes it.
    HWND focus = GetDlgItem(window, IDM_OPEN);
    PostMessageA(focus, WM_KEYDOWN, VK_F10, 1 | (MapVirtualKeyA(VK_F10, 0) << 16));
    HWND about = nullptr;
    for (int i = 0; i < 100 && about == nullptr; ++i) {
        Sleep(100);
        HWND candidate = nullptr;
        while ((candidate = FindWindowExA(nullptr, candidate, "#32770", nullptr)) != nullptr) {
            if (GetWindow(candidate, GW_OWNER) == window && IsWindowVisible(candidate))
                about = candidate;
        }
    }
    ASSERT_NE(nullptr, about);
    EXPECT_EQ("MIDI to MORVEK Converter について", TextOf(about));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([](HWND w) { return IsWindow(w) == FALSE; }, about));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit());
}

} // namespace
