// The program's message loop (DialogApp::Run) with the real main window:
// function keys through the accelerators, Tab and Enter through
// IsDialogMessageA, and the end of the loop when the window goes.
#include "framework/DialogApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/ui/UiTestSupport.h"

namespace {

const UINT kProbeMessage = WM_APP + 1;

// A window that writes down which control has the focus whenever it gets
// kProbeMessage, so that a test can post keys and probes in turn and read
// the focus after each key once the loop has run.
class FocusRecorder {
public:
    FocusRecorder()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MorvekFocusRecorder";
        RegisterClassA(&wc);
        m_hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    virtual ~FocusRecorder()
    {
        DestroyWindow(m_hwnd);
        UnregisterClassA("MorvekFocusRecorder", GetModuleHandleA(nullptr));
    }
    FocusRecorder(const FocusRecorder&) = delete;
    FocusRecorder& operator=(const FocusRecorder&) = delete;

    virtual void Post() { PostMessageA(m_hwnd, kProbeMessage, 0, 0); }
    virtual const std::vector<int>& GetIds() const { return m_ids; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kProbeMessage) {
            FocusRecorder* self = reinterpret_cast<FocusRecorder*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            HWND focus = GetFocus();
            self->m_ids.push_back(focus != nullptr ? GetDlgCtrlID(focus) : 0);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND m_hwnd;
    std::vector<int> m_ids;
};

// A key pressed while the control with the focus has it: the message loop
// sees it before the control does.
void PressKey(UINT key)
{
    HWND focus = GetFocus();
    UINT scan = MapVirtualKeyA(key, 0);
    PostMessageA(focus, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(focus, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
}

// The window quits the loop when destroyed, as in the program.
class MessageLoopTest : public ::testing::Test {
protected:
    MessageLoopTest() : m_app(SW_SHOWNORMAL, 1) {}

    void SetUp() override
    {
        ASSERT_NE(nullptr, m_app.GetHandle());
        SetForegroundWindow(m_app.GetHandle());
    }

    // Runs the loop until the window is gone; returns the exit code.
    WPARAM RunUntilExit()
    {
        PostMessageA(m_app.GetHandle(), WM_COMMAND, IDM_EXIT, 0);
        MSG msg = {};
        m_app.GetApp().Run(&msg);
        EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
        return msg.wParam;
    }

    TempFolder m_folder;
    AppWindow m_app;
};

TEST_F(MessageLoopTest, FunctionKeysReachTheirCommandsAndExitEndsTheLoopWithZero)
{
    UiProbe& probe = m_app.GetProbe();
    probe.openAnswers.push_back(m_folder.Write("song.mid", ThreeListSong(96)));
    PressKey(VK_F2); // Open: Convert, Add and Remove become enabled
    PressKey(VK_F5);
    PressKey(VK_F3); // Convert: Save becomes enabled
    PressKey(VK_F4); // the save dialog is cancelled
    PressKey(VK_F6);
    PressKey(VK_F10);
    PressKey(VK_F1);
    EXPECT_EQ(0u, RunUntilExit());

    EXPECT_EQ((std::vector<WORD>{IDM_OPEN, IDM_ADD, IDM_CONVERT, IDM_SAVE, IDM_REMOVE, IDM_ABOUT, IDM_HELP, IDM_EXIT}),
              probe.commands);
    EXPECT_EQ(1u, probe.saveCalls.size());
    EXPECT_EQ(1, probe.aboutCalls);
    EXPECT_EQ(1, probe.helpCalls);
    EXPECT_EQ(1, probe.deleted);
    EXPECT_FALSE(IsWindow(m_app.GetHandle()));
    EXPECT_EQ(0, m_app.GetApp().GetCount());
}

TEST_F(MessageLoopTest, KeysOfDisabledCommandsDoNothing)
{
    UiProbe& probe = m_app.GetProbe();
    PressKey(VK_F3);
    PressKey(VK_F4);
    PressKey(VK_F5);
    PressKey(VK_F6);
    EXPECT_EQ(0u, RunUntilExit());
    EXPECT_EQ((std::vector<WORD>{IDM_EXIT}), probe.commands);
}

TEST_F(MessageLoopTest, TabMovesTheFocusThroughTheControlsInTemplateOrder)
{
    FocusRecorder recorder;
    recorder.Post();
    for (int i = 0; i < 6; ++i) {
        PressKey(VK_TAB);
        recorder.Post();
    }
    EXPECT_EQ(0u, RunUntilExit());
    // Open, then past the disabled Convert and Save to About, Help, Exit and
    // the settings fields.
    EXPECT_EQ((std::vector<int>{IDM_OPEN, IDM_ABOUT, IDM_HELP, IDM_EXIT, IDC_PART_COUNT, IDC_RESOLUTION,
                                IDC_SPLIT_STEP}),
              recorder.GetIds());
}

TEST_F(MessageLoopTest, EnterInAFieldPressesTheDefaultButton)
{
    UiProbe& probe = m_app.GetProbe();
    SetFocus(GetDlgItem(m_app.GetHandle(), IDC_FIRST_LINE));
    PressKey(VK_RETURN); // Open, whose dialog is cancelled
    EXPECT_EQ(0u, RunUntilExit());
    EXPECT_EQ((std::vector<WORD>{IDM_OPEN, IDM_EXIT}), probe.commands);
    EXPECT_EQ(1u, probe.openCalls.size());
}

TEST_F(MessageLoopTest, ClosingTheWindowEndsTheLoopWithZero)
{
    PostMessageA(m_app.GetHandle(), WM_CLOSE, 0, 0);
    MSG msg = {};
    m_app.GetApp().Run(&msg);
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(1, m_app.GetProbe().deleted);
}

} // namespace
