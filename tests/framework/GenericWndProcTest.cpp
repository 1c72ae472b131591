#include "framework/GenericWndProc.h"

#include <gtest/gtest.h>

#include "framework/ActiveTarget.h"
#include "framework/CreateRecord.h"
#include "framework/ObjectTable.h"
#include "tests/framework/ProbeHandler.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

const char kGenericClass[] = "MorvekGenericTestClass";

class GenericWndProcTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = GenericWndProc;
        wc.cbWndExtra = kGenericWndExtra;
        wc.hInstance = TestModule();
        wc.lpszClassName = kGenericClass;
        ASSERT_NE(0, RegisterClassExA(&wc));
    }

    void TearDown() override
    {
        for (HWND hwnd : m_windows) {
            if (IsWindow(hwnd))
                DestroyWindow(hwnd);
        }
        TakeQuitMessage();
    }

    HWND Create(Probe* probe, int quitOnDestroy, LONG_PTR spare1 = 0, LONG_PTR spare2 = 0)
    {
        ProbeHandler* handler = new ProbeHandler(probe);
        handler->AttachApp(nullptr, &m_target);
        CreateRecord record = {&m_table, handler, quitOnDestroy, spare1, spare2};
        HWND hwnd = CreateWindowExA(0, kGenericClass, "Generic Test", WS_OVERLAPPEDWINDOW,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr,
                                    TestModule(), &record);
        EXPECT_NE(nullptr, hwnd);
        m_table.AddEntry(WindowEntry{hwnd, handler, 0, 0});
        m_windows.push_back(hwnd);
        return hwnd;
    }

    ObjectTable m_table;
    ActiveTarget m_target;
    std::vector<HWND> m_windows;
};

TEST_F(GenericWndProcTest, KeepsTheRecordInPointerSizedSlots)
{
    Probe probe;
    // Values that need every byte of a pointer-sized slot on 64-bit Windows.
    const LONG_PTR spare1 = static_cast<LONG_PTR>(sizeof(LONG_PTR) > 4 ? 0x123456789ABLL : 0x1234567);
    const LONG_PTR spare2 = -2;
    HWND hwnd = Create(&probe, 1, spare1, spare2);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&m_table), GetWindowLongPtrA(hwnd, kGenericOwnerSlot));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(m_table.GetObjectAt(0)), GetWindowLongPtrA(hwnd, kGenericHandlerSlot));
    EXPECT_EQ(1, GetWindowLongPtrA(hwnd, kGenericQuitSlot));
    EXPECT_EQ(spare1, GetWindowLongPtrA(hwnd, kGenericSpare1Slot));
    EXPECT_EQ(spare2, GetWindowLongPtrA(hwnd, kGenericSpare2Slot));
}

TEST_F(GenericWndProcTest, CreateRunsTheHandlersCreationSteps)
{
    Probe probe;
    HWND hwnd = Create(&probe, 0);
    EXPECT_EQ(1, probe.created);
    EXPECT_EQ(hwnd, probe.createdWindow);
    EXPECT_EQ("Generic Test", probe.caption);
    EXPECT_EQ(kGenericClass, probe.className);
    EXPECT_TRUE(probe.hadCreateInfo);
    EXPECT_EQ(hwnd, m_target.GetTargetWindow());
}

TEST_F(GenericWndProcTest, DestroyDeletesTheHandlerAndPostsQuitWhenAsked)
{
    for (int quit : {0, 1}) {
        Probe probe;
        HWND hwnd = Create(&probe, quit);
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(105, 0), 0);
        EXPECT_TRUE(DestroyWindow(hwnd));
        EXPECT_EQ((std::vector<int>{105}), probe.commands) << quit;
        EXPECT_EQ(1, probe.destroyed) << quit;
        EXPECT_EQ(1, probe.deleted) << quit;
        EXPECT_EQ(0, m_table.GetCount()) << quit;
        EXPECT_EQ(quit != 0, TakeQuitMessage()) << quit;
    }
}

TEST_F(GenericWndProcTest, WindowWithoutRecordUsesTheDefaultProcedure)
{
    HWND hwnd = CreateWindowExA(0, kGenericClass, "No Record", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, TestModule(), nullptr);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, kGenericHandlerSlot));
    SendMessageA(hwnd, WM_CLOSE, 0, 0); // DefWindowProc destroys it
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(GenericWndProcTest, BroadcastCloseEmptiesTheTable)
{
    Probe first;
    Probe second;
    Create(&first, 0);
    Create(&second, 0);
    EXPECT_EQ(0, m_table.Broadcast(WM_CLOSE, 0, 0));
    EXPECT_EQ(1, first.closed);
    EXPECT_EQ(1, second.closed);
    EXPECT_EQ(1, first.deleted);
    EXPECT_EQ(1, second.deleted);
    EXPECT_EQ(0, m_table.GetCount());
}

} // namespace
