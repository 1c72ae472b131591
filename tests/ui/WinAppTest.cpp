// Start-up of the application: Init, class registration, window creation
// and the message loop's ends, with the program's resources.
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/ActiveTarget.h"
#include "framework/ClassResources.h"
#include "framework/DialogApp.h"
#include "framework/DialogWndProc.h"
#include "framework/GenericWndProc.h"
#include "app/MainApp.h"
#include "framework/WindowHandler.h"
#include "resources/ResourceIds.h"
#include "tests/framework/WindowTestSupport.h"
#include "tests/ui/UiTestSupport.h"

namespace {

const char kClassName[] = "MIDItoMORVEKClass";

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

// Unregisters the window class when the test ends, whatever registered it.
class ClassCleanup {
public:
    ClassCleanup() = default;
    virtual ~ClassCleanup() { UnregisterClassA(kClassName, Module()); }
    ClassCleanup(const ClassCleanup&) = delete;
    ClassCleanup& operator=(const ClassCleanup&) = delete;
};

void TakeQuitMessages()
{
    while (TakeQuitMessage()) {
    }
}

TEST(WinAppTest, InitLoadsNamesAndRegistersTheDialogClassWithMenuIconsAndKeys)
{
    ClassCleanup cleanup;
    ActiveTarget target;
    MainApp app;
    ASSERT_EQ(WinApp::kInitReady, app.Init(Module(), &target));
    EXPECT_STREQ(kClassName, app.GetClassName());
    EXPECT_STREQ("MIDI to MORVEK", app.GetText());
    EXPECT_EQ(&target, app.GetActiveTarget());

    ClassResources* resources = app.GetClassResources();
    ASSERT_NE(nullptr, resources);
    EXPECT_NE(nullptr, resources->GetLargeIcon());
    EXPECT_NE(nullptr, resources->GetSmallIcon());
    EXPECT_NE(nullptr, resources->GetCursorHandle());
    EXPECT_EQ(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), resources->GetBrush());
    EXPECT_STREQ("KALTONMenu", resources->GetMenuName());
    ASSERT_NE(nullptr, resources->GetAccelTable());
    EXPECT_EQ(11, CopyAcceleratorTableA(resources->GetAccelTable(), nullptr, 0));

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(Module(), kClassName, &wc));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(DialogWndProc), wc.lpfnWndProc);
    EXPECT_EQ(DLGWINDOWEXTRA, wc.cbWndExtra);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0u, wc.style);
    EXPECT_EQ(resources->GetBrush(), wc.hbrBackground);
    EXPECT_NE(nullptr, wc.hIcon);
    EXPECT_STREQ("KALTONMenu", wc.lpszMenuName);
}

TEST(WinAppTest, SecondInitFindsTheRunningWindowAndRegistersNothing)
{
    AppWindow first;
    ASSERT_NE(nullptr, first.GetHandle());
    ActiveTarget target;
    MainApp second;
    EXPECT_EQ(WinApp::kInitOtherInstance, second.Init(Module(), &target));
    EXPECT_EQ(0x8000, WinApp::kInitOtherInstance);
    EXPECT_EQ(nullptr, second.GetClassResources());
    EXPECT_EQ(nullptr, second.GetActiveTarget());
    EXPECT_EQ(first.GetHandle(), second.ActivateExistingInstance(kClassName));
    EXPECT_TRUE(IsWindow(first.GetHandle()));
}

TEST(WinAppTest, InitReportsAClassThatCannotBeRegistered)
{
    ClassCleanup cleanup;
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = Module();
    taken.lpszClassName = kClassName;
    ASSERT_NE(0, RegisterClassA(&taken));
    ActiveTarget target;
    MainApp app;
    EXPECT_EQ(WinApp::kInitNoClass, app.Init(Module(), &target));
}

TEST(WinAppTest, ActivateExistingInstanceFindsNothingWithoutAWindow)
{
    MainApp app;
    EXPECT_EQ(nullptr, app.ActivateExistingInstance(kClassName));
    EXPECT_EQ(nullptr, app.ActivateExistingInstance(nullptr));
}

TEST(WinAppTest, CreateWindowAndHandlerAddsTheWindowWithItsHandler)
{
    AppWindow app;
    ASSERT_NE(nullptr, app.GetHandle());
    EXPECT_EQ(1, app.GetApp().GetCount());
    EXPECT_EQ(app.GetHandle(), app.GetApp().GetWindowAt(0));
    ASSERT_NE(nullptr, app.GetWindow());
    EXPECT_EQ(app.GetHandle(), app.GetWindow()->GetHandle());
    EXPECT_EQ(app.GetHandle(), app.GetTarget().GetTargetWindow());
    EXPECT_EQ(app.GetApp().GetClassResources()->GetAccelTable(), app.GetTarget().GetAccelerators());
    EXPECT_FALSE(IsWindowVisible(app.GetHandle()));
    char className[64] = "";
    GetClassNameA(app.GetHandle(), className, sizeof className);
    EXPECT_STREQ(kClassName, className);
    // The menu comes from the class.
    EXPECT_NE(nullptr, GetMenu(app.GetHandle()));
}

// An application whose main window never comes to life.
class NoWindowApp : public TestApp {
public:
    explicit NoWindowApp(UiProbe* probe) : TestApp(probe) {}
    HWND CreateMainWindow(int, CreateRecord*, HWND) override { return nullptr; }
};

// An App whose main window is not made gives no window and frees the
// handler once: at once, not again when the application goes.
template <typename App>
void ExpectNoWindowAndTheHandlerFreedOnce()
{
    ClassCleanup cleanup;
    UiProbe probe;
    ActiveTarget target;
    {
        App app(&probe);
        ASSERT_EQ(WinApp::kInitReady, app.Init(Module(), &target));
        EXPECT_EQ(nullptr, app.CreateWindowAndHandler(SW_HIDE, 0, 0, 1, nullptr));
        EXPECT_EQ(0, app.GetCount());
        EXPECT_EQ(1, probe.deleted);
    }
    EXPECT_EQ(1, probe.deleted);
}

TEST(WinAppTest, WindowThatCannotBeMadeLeavesNoHandlerBehind)
{
    ExpectNoWindowAndTheHandlerFreedOnce<NoWindowApp>();
}

// A main window whose handler gives up while the window is made.
class SelfDestroyingWindow : public TestMainWindow {
public:
    explicit SelfDestroyingWindow(UiProbe* probe) : TestMainWindow(probe) {}
    LRESULT OnCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) override
    {
        TestMainWindow::OnCreate(hwnd, wParam, lParam);
        DestroyWindow(hwnd);
        return 0;
    }
};

class SelfDestroyingApp : public TestApp {
public:
    explicit SelfDestroyingApp(UiProbe* probe) : TestApp(probe), m_probe(probe) {}
    MsgHandler* CreateHandler(ClassResources* resources, ActiveTarget* target) override
    {
        SelfDestroyingWindow* handler = new SelfDestroyingWindow(m_probe);
        handler->AttachApp(resources, target);
        return handler;
    }

private:
    UiProbe* m_probe;
};

TEST(WinAppTest, WindowThatDiesWhileBeingMadeGivesNullAndFreesItsHandlerOnce)
{
    ExpectNoWindowAndTheHandlerFreedOnce<SelfDestroyingApp>();
    TakeQuitMessages();
}

// A loop whose GetMessageA fails.
class BrokenQueueApp : public DialogApp {
public:
    BOOL GetNextMessage(MSG* msg) override
    {
        ++calls;
        msg->message = WM_PAINT;
        msg->wParam = 99;
        return -1;
    }
    int calls = 0;
};

TEST(WinAppTest, GetMessageErrorEndsTheLoopWithAZeroedMessage)
{
    BrokenQueueApp app;
    MSG msg;
    msg.message = WM_TIMER;
    msg.wParam = 5;
    EXPECT_EQ(&msg, app.Run(&msg));
    EXPECT_EQ(1, app.calls);
    EXPECT_EQ(0u, msg.message);
    EXPECT_EQ(0u, msg.wParam);
}

TEST(WinAppTest, RunReturnsTheQuitMessage)
{
    for (int kind = 0; kind < 2; ++kind) {
        WinApp plain;
        DialogApp dialog;
        WinApp& app = kind == 0 ? plain : dialog;
        PostQuitMessage(3);
        MSG msg = {};
        app.Run(&msg);
        EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message) << kind;
        EXPECT_EQ(3u, msg.wParam) << kind;
    }
}

TEST(WinAppTest, DeletingTheApplicationClosesItsWindows)
{
    ClassCleanup cleanup;
    UiProbe probe;
    ActiveTarget target;
    TestApp* app = new TestApp(&probe);
    ASSERT_EQ(WinApp::kInitReady, app->Init(Module(), &target));
    HWND hwnd = app->CreateWindowAndHandler(SW_HIDE, 0, 0, 0, nullptr);
    ASSERT_NE(nullptr, hwnd);
    delete app;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(1, probe.deleted);
}

TEST(WinAppTest, PlainApplicationMakesAnOverlappedWindowWithTheGenericProcedure)
{
    ClassCleanup cleanup;
    ActiveTarget target;
    WinApp app;
    ASSERT_EQ(WinApp::kInitReady, app.Init(Module(), &target));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(Module(), kClassName, &wc));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GenericWndProc), wc.lpfnWndProc);
    EXPECT_EQ(static_cast<int>(kGenericWndExtra), wc.cbWndExtra);

    HWND hwnd = app.CreateWindowAndHandler(SW_HIDE, 0, 0, 1, nullptr);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ("MIDI to MORVEK", WindowText(hwnd));
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW),
              GetWindowLongA(hwnd, GWL_STYLE) & static_cast<LONG>(WS_OVERLAPPEDWINDOW));
    ASSERT_EQ(1, app.GetCount());
    WindowHandler* handler = dynamic_cast<WindowHandler*>(app.GetObjectAt(0));
    ASSERT_NE(nullptr, handler);
    EXPECT_EQ(hwnd, handler->GetHandle());

    EXPECT_EQ(0, app.CloseAll());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(0, app.GetCount());
    MSG msg = {};
    app.Run(&msg); // the quit message of the destroyed window
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(0u, msg.wParam);
}

} // namespace
