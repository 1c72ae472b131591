#include "framework/ListViewCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/framework/TestResourceIds.h"
#include "tests/framework/WindowTestSupport.h"

namespace {

// The format recorded for column 0, whose alignment the control fixes.
const int kFirstColumn = -1;

struct Column {
    std::string title;
    int width;
    int format;
};

bool operator==(const Column& a, const Column& b)
{
    return a.title == b.title && a.width == b.width && a.format == b.format;
}

void PrintTo(const Column& c, std::ostream* os)
{
    *os << "{\"" << c.title << "\", " << c.width << ", " << c.format << "}";
}

// A list view inside a parent window, adopted the way the main window adopts
// the controls of its dialog template.
class ListViewCtrlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
    }

    ListViewCtrlTest() : m_parent(50, 50, 400, 300) {}

    // A list view with the styles of the main window's two lists.
    void Adopt(ListViewCtrl& list)
    {
        HWND control = CreateWindowExA(0, WC_LISTVIEWA, "",
                                       WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                           LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                       5, 5, 300, 200, m_parent.GetHandle(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CHANNEL_LIST)),
                                       TestModule(), nullptr);
        list.AttachParent(m_parent.GetHandle(), TestModule());
        list.SetHandle(GetDlgItem(m_parent.GetHandle(), IDC_CHANNEL_LIST));
        ASSERT_EQ(control, list.GetHandle());
    }

    // Adopt, then the columns of the table columnTable.
    void Adopt(ListViewCtrl& list, int columnTable)
    {
        Adopt(list);
        list.LoadColumns(columnTable);
    }

    static std::vector<Column> Columns(const ListViewCtrl& list)
    {
        std::vector<Column> columns;
        for (int i = 0; list.HasColumn(i); ++i) {
            char title[64] = "";
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = title;
            column.cchTextMax = sizeof title;
            list.GetColumn(i, &column);
            // The control shows the first column left-aligned whatever the
            // table says, and may or may not report it so.
            int format = i == 0 ? kFirstColumn : column.fmt & LVCFMT_JUSTIFYMASK;
            columns.push_back(Column{title, column.cx, format});
        }
        return columns;
    }

    void AddRows(ListViewCtrl& list, int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(i, list.InsertItem(i, std::to_string(i + 1).c_str(), -1));
    }

    ParentWindow m_parent;
};

struct ColumnTableCase {
    int id;
    std::vector<Column> columns;
};

class ColumnTableTest : public ListViewCtrlTest, public ::testing::WithParamInterface<ColumnTableCase> {};

TEST_P(ColumnTableTest, LoadColumnsGivesTitlesAndWidthsOfTheTable)
{
    ListViewCtrl list;
    Adopt(list);
    EXPECT_EQ(static_cast<int>(GetParam().columns.size()), list.LoadColumns(GetParam().id));
    EXPECT_EQ(GetParam().columns, Columns(list));
    EXPECT_EQ(static_cast<int>(GetParam().columns.size()), list.GetColumnCount());
}

INSTANTIATE_TEST_SUITE_P(Tables, ColumnTableTest, ::testing::Values(
    ColumnTableCase{IDR_CHANNEL_COLUMNS, {{"No.", 30, kFirstColumn}, {"Tr.", 30, LVCFMT_RIGHT},
                                          {"Ch.", 30, LVCFMT_RIGHT}, {"Step", 60, LVCFMT_RIGHT}}},
    ColumnTableCase{IDR_PART_COLUMNS, {{"Part", 34, kFirstColumn}, {"No.", 30, LVCFMT_RIGHT},
                                       {"Tr.", 30, LVCFMT_RIGHT}, {"Ch.", 30, LVCFMT_RIGHT},
                                       {"Step", 60, LVCFMT_RIGHT}}}));

TEST_F(ListViewCtrlTest, MissingColumnTableAddsNoColumn)
{
    ListViewCtrl list;
    Adopt(list);
    EXPECT_EQ(0, list.GetColumnCount());
    EXPECT_EQ(0, list.LoadColumns(9999));
    EXPECT_EQ(0, list.GetColumnCount());
}

TEST_F(ListViewCtrlTest, ColumnTableCutShortGivesOnlyItsWholeRecords)
{
    ListViewCtrl list;
    Adopt(list);
    EXPECT_EQ(1, list.LoadColumns(IDR_TEST_SHORT_COLUMNS));
    EXPECT_EQ((std::vector<Column>{{"No.", 40, kFirstColumn}}), Columns(list));
}

TEST_F(ListViewCtrlTest, LoadedColumnsGoAheadOfExistingOnes)
{
    ListViewCtrl list;
    Adopt(list);
    char title[] = "Old";
    LVCOLUMNA old = {};
    old.mask = LVCF_TEXT | LVCF_WIDTH;
    old.pszText = title;
    old.cx = 77;
    ASSERT_EQ(0, list.InsertColumn(0, &old));
    list.LoadColumns(IDR_CHANNEL_COLUMNS);
    std::vector<Column> columns = Columns(list);
    ASSERT_EQ(5u, columns.size());
    EXPECT_EQ("No.", columns[0].title);
    EXPECT_EQ("Old", columns[4].title);
    EXPECT_EQ(77, columns[4].width);
}

TEST_F(ListViewCtrlTest, NoRowHasTheFocusAtFirst)
{
    ListViewCtrl list;
    Adopt(list, IDR_PART_COLUMNS);
    EXPECT_EQ(-1, list.GetFocusedItem());
    AddRows(list, 3);
    EXPECT_EQ(-1, list.GetFocusedItem());
    EXPECT_EQ(0, list.GetSelectedCount());
    EXPECT_EQ(0, list.GetFocusedItemData());
}

TEST_F(ListViewCtrlTest, SelectItemFocusesAndSelectsOneRow)
{
    ListViewCtrl list;
    Adopt(list, IDR_PART_COLUMNS);
    AddRows(list, 18);
    for (int row : {2, 0, 17, 17}) {
        EXPECT_TRUE(list.SelectItem(row)) << row;
        EXPECT_EQ(row, list.GetFocusedItem()) << row;
        EXPECT_EQ(1, list.GetSelectedCount()) << row;
        EXPECT_EQ(row, list.GetNextItem(-1, LVNI_SELECTED)) << row;
    }
    EXPECT_TRUE(list.ClearItemState(17));
    EXPECT_EQ(-1, list.GetFocusedItem());
    EXPECT_EQ(0, list.GetSelectedCount());
}

TEST_F(ListViewCtrlTest, ItemDataRoundTrips)
{
    ListViewCtrl list;
    Adopt(list, IDR_PART_COLUMNS);
    AddRows(list, 4);
    const LPARAM values[] = {0, 5, -1, 0x7FFFFFFF};
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(list.SetItemData(row, values[row]));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(values[row], list.GetItemData(row)) << row;
    EXPECT_EQ(1, list.FindItemByData(5));
    EXPECT_EQ(2, list.FindItemByData(-1));
    EXPECT_EQ(-1, list.FindItemByData(42));
    list.SelectItem(1);
    EXPECT_EQ(5, list.GetFocusedItemData());
    // Rows that do not exist read as 0.
    EXPECT_EQ(0, list.GetItemData(-1));
    EXPECT_EQ(0, list.GetItemData(4));
}

TEST_F(ListViewCtrlTest, RowsAreDeletedAndCellsCleared)
{
    ListViewCtrl list;
    Adopt(list, IDR_CHANNEL_COLUMNS);
    AddRows(list, 3);
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_TRUE(list.ClearItemText(1, 0));
    EXPECT_EQ("", CellText(list, 1, 0));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(2, list.GetItemCount());
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(4, list.GetColumnCount());
}

TEST_F(ListViewCtrlTest, RowsGoWhereTheyAreInsertedWithTheirTextAndData)
{
    ListViewCtrl list;
    Adopt(list, IDR_PART_COLUMNS);
    AddRows(list, 2);
    EXPECT_EQ(1, list.InsertItem(1, "\x95\x5C", 7)); // a double-byte text
    EXPECT_EQ(3, list.InsertItem(3, "end", 0));
    EXPECT_EQ(0, list.InsertItem(0, "top", 1));
    const std::vector<std::string> texts = {"top", "1", "\x95\x5C", "2", "end"};
    const LPARAM data[] = {1, -1, 7, -1, 0};
    ASSERT_EQ(5, list.GetItemCount());
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(texts[row], CellText(list, row, 0)) << row;
        EXPECT_EQ(data[row], list.GetItemData(row)) << row;
    }
}

TEST_F(ListViewCtrlTest, CellTextsAreSetColumnByColumn)
{
    ListViewCtrl list;
    Adopt(list, IDR_PART_COLUMNS);
    AddRows(list, 2);
    EXPECT_TRUE(list.SetItemText(1, 2, "12"));
    EXPECT_TRUE(list.SetItemText(1, 4, "1,920"));
    EXPECT_TRUE(list.SetItemText(1, 0, "17"));
    EXPECT_EQ("17", CellText(list, 1, 0));
    EXPECT_EQ("", CellText(list, 1, 1));
    EXPECT_EQ("12", CellText(list, 1, 2));
    EXPECT_EQ("1,920", CellText(list, 1, 4));
    EXPECT_EQ("1", CellText(list, 0, 0)) << "another row is untouched";
    EXPECT_EQ("", CellText(list, 0, 2));
    EXPECT_FALSE(list.SetItemText(5, 0, "no row"));
}

TEST_F(ListViewCtrlTest, CreateMakesAReportViewInTheParent)
{
    ListViewCtrl list;
    list.AttachParent(m_parent.GetHandle(), TestModule());
    list.Create();
    ASSERT_NE(nullptr, list.GetHandle());
    EXPECT_EQ(m_parent.GetHandle(), GetParent(list.GetHandle()));
    EXPECT_EQ(211, GetDlgCtrlID(list.GetHandle()));
    EXPECT_EQ(LVS_REPORT, GetWindowLongA(list.GetHandle(), GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_EQ(0, list.GetColumnCount());
}

TEST_F(ListViewCtrlTest, DestructorTakesItsImageListsOutOfTheControl)
{
    ListViewCtrl* list = new ListViewCtrl;
    Adopt(*list);
    HWND control = list->GetHandle();
    ASSERT_EQ(0, list->CreateImageList(1, 16, 16, LVSIL_SMALL, IDI_APP));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(control, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(1, ImageList_GetImageCount(images));
    delete list;
    // The control lives on without the destroyed list, and can go safely.
    EXPECT_TRUE(IsWindow(control));
    EXPECT_EQ(0, SendMessageA(control, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_TRUE(DestroyWindow(control));
}

} // namespace
