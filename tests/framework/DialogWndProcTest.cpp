#include "framework/DialogWndProc.h"

#include <gtest/gtest.h>

#include "framework/ActiveTarget.h"
#include "framework/ClassResources.h"
#include "framework/CreateRecord.h"
#include "framework/ObjectTable.h"
#include "resources/ResourceIds.h"
#include "tests/framework/ProbeHandler.h"
#include "tests/framework/TestResourceIds.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const char kTestClass[] = "MorvekFrameworkTestClass";

// A window built from dialog template IDD_TEST_WINDOW, whose class runs
// DialogWndProc, bound the way the application binds its main window.
class DialogWndProcTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        if (GetClassInfoExA(TestModule(), kTestClass, &wc))
            return;
        wc.lpfnWndProc = DialogWndProc;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = TestModule();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kTestClass;
        ASSERT_NE(0, RegisterClassExA(&wc));
    }

    void SetUp() override
    {
        ACCEL accel = {FVIRTKEY, VK_F3, 102};
        m_accelerators = CreateAcceleratorTableA(&accel, 1);
        m_resources.SetAccelTable(m_accelerators);
    }

    void TearDown() override
    {
        if (m_hwnd != nullptr && IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
        TakeQuitMessage();
        DestroyAcceleratorTable(m_accelerators);
    }

    // Creates the window, binds a new ProbeHandler and adds the table entry.
    HWND CreateBound(int quitOnDestroy, bool addEntry = true)
    {
        m_handler = new ProbeHandler(&m_probe);
        m_handler->AttachApp(&m_resources, &m_target);
        m_hwnd = CreateDialogParamA(TestModule(), MAKEINTRESOURCEA(IDD_TEST_WINDOW), nullptr, nullptr, 0);
        EXPECT_NE(nullptr, m_hwnd);
        CreateRecord* record = new CreateRecord{&m_table, m_handler, quitOnDestroy, 0, 0};
        SendMessageA(m_hwnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(record));
        if (addEntry)
            m_table.AddEntry(WindowEntry{m_hwnd, m_handler, 0, 0});
        delete record; // the window keeps its own copy
        return m_hwnd;
    }

    Probe m_probe;
    ProbeHandler* m_handler = nullptr;
    ObjectTable m_table;
    ActiveTarget m_target;
    ClassResources m_resources;
    HACCEL m_accelerators = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(DialogWndProcTest, InitDialogBindsTheHandlerOnceTheControlsExist)
{
    HWND hwnd = CreateBound(0);
    EXPECT_EQ(1, m_probe.created);
    EXPECT_EQ(hwnd, m_probe.createdWindow);
    EXPECT_EQ(TestModule(), m_probe.createdInstance);
    EXPECT_EQ("Framework Test Window", m_probe.caption);
    // The template stores the class name in capitals; class names are
    // compared without regard to case.
    EXPECT_EQ(0, lstrcmpiA(kTestClass, m_probe.className.c_str())) << m_probe.className;
    EXPECT_TRUE(m_probe.hadCreateInfo);
    EXPECT_TRUE(m_probe.hadControls);
    // The saved creation data is gone, and so is the handler's view of it.
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    EXPECT_EQ(nullptr, m_handler->GetCreateInfo());
}

TEST_F(DialogWndProcTest, CreationMakesTheWindowTheLoopTarget)
{
    HWND hwnd = CreateBound(0);
    EXPECT_EQ(hwnd, m_target.GetTargetWindow());
    EXPECT_EQ(m_accelerators, m_target.GetAccelerators());
    EXPECT_EQ(m_accelerators, m_handler->GetAccelerators());
}

TEST_F(DialogWndProcTest, RoutesCommandsToTheHandler)
{
    HWND hwnd = CreateBound(0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(101, 0), 0);
    SendMessageA(GetDlgItem(hwnd, IDC_TEST_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<int>{101, IDC_TEST_BUTTON}), m_probe.commands);
    EXPECT_EQ(0, m_probe.deleted);
}

TEST_F(DialogWndProcTest, AboutCommandShowsTheAboutBoxOverTheWindow)
{
    HWND hwnd = CreateBound(0);
    HWND owner = nullptr;
    std::string product;
    DialogWatcher watcher([&owner, &product](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        product = WindowText(GetDlgItem(dialog, IDC_ABOUT_PRODUCT));
        EndDialogBy(dialog, DialogEnd::kOkCommand);
    });
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
    EXPECT_TRUE(watcher.Acted());
    EXPECT_EQ(hwnd, owner);
    EXPECT_EQ("MIDI to MORVEK Converter ver.1.00", product);
    EXPECT_EQ((std::vector<int>{IDM_ABOUT}), m_probe.commands);
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(DialogWndProcTest, SecondInitDialogBindsNothing)
{
    HWND hwnd = CreateBound(0);
    Probe other;
    ProbeHandler* stranger = new ProbeHandler(&other);
    CreateRecord record = {&m_table, stranger, 1, 0, 0};
    SendMessageA(hwnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&record));
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(102, 0), 0);
    EXPECT_EQ(1, m_probe.created);
    EXPECT_EQ(0, other.created);
    EXPECT_EQ((std::vector<int>{102}), m_probe.commands);
    delete stranger;
}

TEST_F(DialogWndProcTest, UnboundWindowGoesToTheDefaultProcedure)
{
    HWND hwnd = CreateDialogParamA(TestModule(), MAKEINTRESOURCEA(IDD_TEST_WINDOW), nullptr, nullptr, 0);
    ASSERT_NE(nullptr, hwnd);
    // The dialog manager's own WM_INITDIALOG carries no record.
    SendMessageA(hwnd, WM_INITDIALOG, 0, 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(101, 0), 0);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_FALSE(TakeQuitMessage());
}

class DialogWndProcQuitTest : public DialogWndProcTest,
                              public ::testing::WithParamInterface<int> {};

TEST_P(DialogWndProcQuitTest, DestroyDeletesTheHandlerInsideWmDestroy)
{
    HWND hwnd = CreateBound(GetParam());
    ASSERT_EQ(1, m_table.GetCount());
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(1, m_probe.destroyed);
    EXPECT_EQ(1, m_probe.deleted);
    EXPECT_EQ(0, m_table.GetCount());
    EXPECT_EQ(-1, m_table.FindByWindow(hwnd));
    EXPECT_EQ(GetParam() != 0, TakeQuitMessage());
}

TEST_P(DialogWndProcQuitTest, CloseGoesThroughOnCloseToDestroy)
{
    HWND hwnd = CreateBound(GetParam());
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(1, m_probe.closed);
    EXPECT_EQ(1, m_probe.destroyed);
    EXPECT_EQ(1, m_probe.deleted);
    EXPECT_EQ(0, m_table.GetCount());
    EXPECT_EQ(GetParam() != 0, TakeQuitMessage());
}

TEST_P(DialogWndProcQuitTest, ExitCommandDestroysTheWindow)
{
    HWND hwnd = CreateBound(GetParam());
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(199, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(1, m_probe.deleted);
    EXPECT_EQ(GetParam() != 0, TakeQuitMessage());
}

INSTANTIATE_TEST_SUITE_P(QuitFlag, DialogWndProcQuitTest, ::testing::Values(0, 1));

TEST_F(DialogWndProcTest, WindowDestroyedBeforeItsEntryLeavesTheHandlerToTheTable)
{
    HWND hwnd = CreateBound(1, false);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(1, m_probe.destroyed);
    EXPECT_EQ(0, m_probe.deleted);
    EXPECT_TRUE(TakeQuitMessage());
    // The creator adds its entry afterwards; the table deletes the handler.
    m_table.AddEntry(WindowEntry{hwnd, m_handler, 0, 0});
    m_table.Release();
    EXPECT_EQ(1, m_probe.deleted);
}

} // namespace
