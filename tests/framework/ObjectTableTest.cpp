#include "framework/ObjectTable.h"

#include <gtest/gtest.h>

#include "tests/framework/WindowTestSupport.h"

namespace {

// A table object that counts its own deletion.
class CountedObject : public WndObject {
public:
    explicit CountedObject(int* deleted) : m_deleted(deleted) {}
    ~CountedObject() override { ++*m_deleted; }

private:
    int* m_deleted;
};

WindowEntry MakeEntry(HWND window, WndObject* object, LONG_PTR spare1 = 0)
{
    return WindowEntry{window, object, spare1, 0};
}

HWND FakeWindow(int n)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + n));
}

TEST(ObjectTableTest, AddEntryReusesFirstFreeSlotBeforeGrowing)
{
    int deleted = 0;
    ObjectTable table;
    EXPECT_EQ(0, table.AddEntry(MakeEntry(FakeWindow(1), new CountedObject(&deleted))));
    EXPECT_EQ(1, table.AddEntry(MakeEntry(FakeWindow(2), new CountedObject(&deleted))));
    EXPECT_EQ(0, table.Remove(0));
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(1, table.GetCount());

    EXPECT_EQ(0, table.AddEntry(MakeEntry(FakeWindow(3), new CountedObject(&deleted))));
    EXPECT_EQ(2, table.GetCapacity());
    EXPECT_EQ(FakeWindow(3), table.GetWindowAt(0));
    EXPECT_EQ(FakeWindow(2), table.GetWindowAt(1));

    EXPECT_EQ(2, table.AddEntry(MakeEntry(FakeWindow(4), new CountedObject(&deleted))));
    EXPECT_EQ(3, table.GetCapacity());
    EXPECT_EQ(3, table.GetCount());
}

TEST(ObjectTableTest, AddEntryKeepsItsOwnCopy)
{
    int deleted = 0;
    ObjectTable table;
    WindowEntry entry = MakeEntry(FakeWindow(1), new CountedObject(&deleted), 5);
    int index = table.AddEntry(entry);
    entry.window = FakeWindow(9);
    entry.spare1 = 6;
    EXPECT_EQ(FakeWindow(1), table.GetWindowAt(index));
    EXPECT_EQ(5, table.GetSpareAt(index));
}

TEST(ObjectTableTest, RemovingAFreeOrMissingSlotChangesNothing)
{
    int deleted = 0;
    ObjectTable table;
    table.AddEntry(MakeEntry(FakeWindow(1), new CountedObject(&deleted)));
    table.AddEntry(MakeEntry(FakeWindow(2), new CountedObject(&deleted)));
    table.Remove(0);
    for (int index : {0, -1, 2, 100})
        EXPECT_EQ(0, table.Remove(index)) << index;
    EXPECT_EQ(1, deleted);
    EXPECT_EQ(1, table.GetCount());
    EXPECT_EQ(FakeWindow(2), table.GetWindowAt(1));
}

TEST(ObjectTableTest, EntryWithoutObjectIsFreedAlone)
{
    ObjectTable table;
    int index = table.AddEntry(MakeEntry(FakeWindow(1), nullptr));
    table.Remove(index);
    EXPECT_EQ(0, table.GetCount());
    EXPECT_EQ(nullptr, table.GetAt(index));
}

TEST(ObjectTableTest, DestructorDeletesEveryRemainingHandler)
{
    int deleted = 0;
    ObjectTable* table = new ObjectTable;
    table->AddEntry(MakeEntry(FakeWindow(1), new CountedObject(&deleted)));
    table->AddEntry(MakeEntry(FakeWindow(2), new CountedObject(&deleted)));
    table->AddEntry(MakeEntry(FakeWindow(3), new CountedObject(&deleted)));
    table->Remove(1);
    delete table;
    EXPECT_EQ(3, deleted);
}

TEST(ObjectTableTest, ReleaseEmptiesTheTable)
{
    int deleted = 0;
    ObjectTable table;
    table.AddEntry(MakeEntry(FakeWindow(1), new CountedObject(&deleted)));
    table.AddEntry(MakeEntry(FakeWindow(2), new CountedObject(&deleted)));
    EXPECT_EQ(0, table.Release());
    EXPECT_EQ(2, deleted);
    EXPECT_EQ(0, table.GetCount());
    EXPECT_EQ(0, table.GetCapacity());
    EXPECT_EQ(0, table.AddEntry(MakeEntry(FakeWindow(3), new CountedObject(&deleted))));
}

TEST(ObjectTableTest, DetachAtHandsOverWithoutDeleting)
{
    int deleted = 0;
    ObjectTable table;
    CountedObject* object = new CountedObject(&deleted);
    int index = table.AddEntry(MakeEntry(FakeWindow(1), object));
    WindowEntry* entry = table.DetachAt(index);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(object, entry->object);
    EXPECT_EQ(0, deleted);
    EXPECT_EQ(-1, table.FindObject(object));
    table.FreeEntry(entry);
    EXPECT_EQ(1, deleted);
}

TEST(ObjectTableTest, FreeAndMissingSlotsReadAsEmpty)
{
    int deleted = 0;
    ObjectTable table;
    table.AddEntry(MakeEntry(FakeWindow(1), new CountedObject(&deleted), 7));
    table.Remove(0);
    for (int index : {0, -1, 1, 50}) {
        EXPECT_EQ(nullptr, table.GetAt(index)) << index;
        EXPECT_EQ(nullptr, table.GetObjectAt(index)) << index;
        EXPECT_EQ(0, table.GetSpareAt(index)) << index;
        EXPECT_EQ(nullptr, table.GetWindowAt(index)) << index;
    }
}

// Slots: [free, {window 1, object A, spare 7}, free, {window 2, object B, spare 0}].
class ObjectTableSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_a = new CountedObject(&m_deleted);
        m_b = new CountedObject(&m_deleted);
        m_table.AddEntry(MakeEntry(FakeWindow(0), new CountedObject(&m_deleted), 3));
        m_table.AddEntry(MakeEntry(FakeWindow(1), m_a, 7));
        m_table.AddEntry(MakeEntry(FakeWindow(9), new CountedObject(&m_deleted), 3));
        m_table.AddEntry(MakeEntry(FakeWindow(2), m_b, 0));
        m_table.Remove(0);
        m_table.Remove(2);
    }

    int m_deleted = 0;
    CountedObject* m_a = nullptr;
    CountedObject* m_b = nullptr;
    ObjectTable m_table;
};

TEST_F(ObjectTableSearchTest, FindsOccupiedSlotsOnly)
{
    EXPECT_EQ(1, m_table.FindObject(m_a));
    EXPECT_EQ(3, m_table.FindObject(m_b));
    EXPECT_EQ(1, m_table.FindByWindow(FakeWindow(1)));
    EXPECT_EQ(3, m_table.FindByWindow(FakeWindow(2)));
    EXPECT_EQ(1, m_table.FindSpare(7));
    EXPECT_EQ(3, m_table.FindSpare(0));
}

TEST_F(ObjectTableSearchTest, SkipsFreeSlotsAndReportsMinusOne)
{
    // A free slot has no object, window or spare value to match.
    EXPECT_EQ(-1, m_table.FindObject(nullptr));
    EXPECT_EQ(-1, m_table.FindByWindow(nullptr));
    EXPECT_EQ(-1, m_table.FindSpare(3));
    EXPECT_EQ(-1, m_table.FindByWindow(FakeWindow(0)));
    EXPECT_EQ(-1, m_table.FindByWindow(FakeWindow(9)));
    CountedObject stranger(&m_deleted);
    EXPECT_EQ(-1, m_table.FindObject(&stranger));
}

TEST_F(ObjectTableSearchTest, IndexOfNullFindsTheFirstFreeSlot)
{
    EXPECT_EQ(0, m_table.IndexOf(nullptr));
    EXPECT_EQ(1, m_table.IndexOf(m_table.GetAt(1)));
    WindowEntry outsider = MakeEntry(FakeWindow(1), m_a);
    EXPECT_EQ(-1, m_table.IndexOf(&outsider));
}

// Windows that count the messages they get.
class BroadcastTest : public ::testing::Test {
protected:
    static const UINT kPing = WM_APP + 7;

    static LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kPing) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, GetWindowLongPtrA(hwnd, GWLP_USERDATA) + 1);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = TestModule();
        wc.lpszClassName = "MorvekBroadcastTestClass";
        RegisterClassA(&wc);
    }

    HWND MakeWindow()
    {
        HWND hwnd = CreateWindowExA(0, "MorvekBroadcastTestClass", "", WS_POPUP, 0, 0, 10, 10,
                                    nullptr, nullptr, TestModule(), nullptr);
        m_windows[m_made++] = hwnd;
        return hwnd;
    }

    static LONG_PTR Pings(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWLP_USERDATA); }

    void TearDown() override
    {
        for (int i = 0; i < m_made; ++i)
            DestroyWindow(m_windows[i]);
    }

    HWND m_windows[4] = {};
    int m_made = 0;
};

TEST_F(BroadcastTest, EmptyTableSendsNothing)
{
    ObjectTable table;
    EXPECT_EQ(0, table.Broadcast(kPing, 0, 0));
}

TEST_F(BroadcastTest, SendsToEveryWindowAndReturnsTheRest)
{
    ObjectTable table;
    HWND first = MakeWindow();
    HWND second = MakeWindow();
    table.AddEntry(MakeEntry(first, nullptr));
    table.AddEntry(MakeEntry(nullptr, nullptr)); // no window: counted, not sent
    table.AddEntry(MakeEntry(second, nullptr));
    table.AddEntry(MakeEntry(nullptr, nullptr));
    table.Remove(3);
    EXPECT_EQ(1, table.Broadcast(kPing, 0, 0));
    EXPECT_EQ(1, Pings(first));
    EXPECT_EQ(1, Pings(second));
}

} // namespace
