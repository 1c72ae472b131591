#include "framework/WindowHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/ActiveTarget.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const char kHelpFile[] = "KALTON.HLP";
const char kExpectedDirVariable[] = "MORVEK_EXPECTED_PROGRAM_DIR";

// The folder the help file is expected in: the one a parent test named, or
// this program's own.
std::string ExpectedProgramDirectory()
{
    const char* named = std::getenv(kExpectedDirVariable);
    return named != nullptr && *named != '\0' ? std::string(named) : TestProgramDirectory();
}

TEST(WindowHandlerTest, HelpPathIsTheProgramFolderPlusTheHelpFile)
{
    WindowHandler handler;
    handler.SetInstance(TestModule());
    handler.BuildHelpPath();
    ASSERT_NE(nullptr, handler.GetHelpPath());
    EXPECT_EQ(ExpectedProgramDirectory() + kHelpFile, handler.GetHelpPath());
}

// Runs a copy of this program from a folder whose name holds a double-byte
// character ending in the byte of a backslash, started by its bare name from
// another current folder: neither may change where the help file is looked for.
TEST(WindowHandlerTest, HelpPathDependsOnNeitherCommandLineNorCurrentFolder)
{
    char temp[MAX_PATH] = "";
    ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
    const std::string folder = std::string(temp) + "ソフト表\\";
    const std::string copy = folder + "help_probe.exe";
    char self[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE)) << GetLastError();

    SetEnvironmentVariableA(kExpectedDirVariable, folder.c_str());
    std::string commandLine = "help_probe --gtest_brief=1 "
                              "--gtest_filter=WindowHandlerTest.HelpPathIsTheProgramFolderPlusTheHelpFile";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  temp, &startup, &process);
    SetEnvironmentVariableA(kExpectedDirVariable, nullptr);
    ASSERT_TRUE(started) << GetLastError();

    DWORD waited = WaitForSingleObject(process.hProcess, 120000);
    DWORD exitCode = 1;
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());

    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited);
    EXPECT_EQ(0u, exitCode);
}

class ProgramDirectoryCutTest : public ::testing::TestWithParam<int> {};

TEST_P(ProgramDirectoryCutTest, NeverWritesPastTheBuffer)
{
    const std::string full = TestProgramDirectory();
    const int size = GetParam() < 0 ? static_cast<int>(full.size()) - GetParam() - 1 : GetParam();
    char buffer[600];
    std::memset(buffer, '#', sizeof buffer);
    WindowHandler handler;
    int length = handler.GetProgramDirectory(buffer, size);

    const int expected = std::min(static_cast<int>(full.size()), size - 1);
    EXPECT_EQ(expected, length);
    EXPECT_EQ(full.substr(0, expected), std::string(buffer, length));
    EXPECT_EQ('\0', buffer[length]);
    for (int i = size; i < static_cast<int>(sizeof buffer); ++i)
        ASSERT_EQ('#', buffer[i]) << "byte " << i << " past a buffer of " << size;
}

// Sizes 1, 2, 5, and (negative) the directory's own length + 0, + 1, + 2.
INSTANTIATE_TEST_SUITE_P(Sizes, ProgramDirectoryCutTest, ::testing::Values(1, 2, 5, -1, -2, -3));

// A handler whose program folder is a long made-up one.
class LongFolderHandler : public WindowHandler {
public:
    explicit LongFolderHandler(size_t length) : m_folder(length, 'd') { m_folder.back() = '\\'; }
    const std::string& Folder() const { return m_folder; }
    int GetProgramDirectory(char* buffer, int size) override
    {
        lstrcpynA(buffer, m_folder.c_str(), size);
        return lstrlenA(buffer);
    }

private:
    std::string m_folder;
};

TEST(WindowHandlerTest, HelpPathOfALongFolderIsCutToTheBuffer)
{
    for (size_t folderLength : {240u, 249u, 250u, 255u, 259u, 300u}) {
        LongFolderHandler handler(folderLength);
        handler.SetInstance(TestModule());
        int length = handler.BuildHelpPath();
        const std::string expected = (handler.Folder().substr(0, 259) + kHelpFile).substr(0, 259);
        EXPECT_EQ(static_cast<int>(expected.size()), length) << folderLength;
        EXPECT_EQ(expected, handler.GetHelpPath()) << folderLength;
    }
}

struct ActivationCase {
    WPARAM wParam;
    bool takesTarget;
};

class OnActivateTest : public ::testing::TestWithParam<ActivationCase> {};

TEST_P(OnActivateTest, OnlyActivationTakesTheLoopTarget)
{
    HWND self = reinterpret_cast<HWND>(0x2000);
    HWND other = reinterpret_cast<HWND>(0x3000);
    HACCEL ownKeys = reinterpret_cast<HACCEL>(0x2100);
    HACCEL otherKeys = reinterpret_cast<HACCEL>(0x3100);
    ActiveTarget target;
    target.SetTargetWindow(other);
    target.SetAccelerators(otherKeys);
    WindowHandler handler;
    handler.AttachApp(nullptr, &target);
    handler.SetAccelerators(ownKeys);

    EXPECT_EQ(0, handler.OnActivate(self, GetParam().wParam, 0));
    EXPECT_EQ(GetParam().takesTarget ? self : other, target.GetTargetWindow());
    EXPECT_EQ(GetParam().takesTarget ? ownKeys : otherKeys, target.GetAccelerators());
}

INSTANTIATE_TEST_SUITE_P(States, OnActivateTest, ::testing::Values(
    ActivationCase{WA_INACTIVE, false},
    ActivationCase{WA_ACTIVE, true},
    ActivationCase{WA_CLICKACTIVE, true},
    ActivationCase{MAKEWPARAM(WA_ACTIVE, 1), true}, // activated while minimised
    ActivationCase{MAKEWPARAM(WA_INACTIVE, 1), false}));

TEST(WindowHandlerTest, HandlerWithoutTargetActivatesSafely)
{
    WindowHandler handler;
    EXPECT_EQ(0, handler.OnActivate(reinterpret_cast<HWND>(0x2000), WA_ACTIVE, 0));
    EXPECT_EQ(nullptr, handler.UpdateActiveTarget(reinterpret_cast<HWND>(0x2000), nullptr, nullptr));
}

} // namespace
