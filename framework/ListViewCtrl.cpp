#include "framework/ListViewCtrl.h"

#include <cstring>

namespace {

const int kListViewId = 211;
const int kTitleBufferSize = 256;
const size_t kColumnCountSize = 2;
const size_t kColumnRecordSize = 6;

unsigned ReadWord(const unsigned char* p)
{
    return p[0] | (p[1] << 8);
}

} // namespace

ListViewCtrl::ListViewCtrl()
{
}

ListViewCtrl::~ListViewCtrl()
{
    HWND hwnd = GetHandle();
    if (hwnd == nullptr || !IsWindow(hwnd))
        return;
    // Take each list out of the control before destroying it, so the
    // control cannot destroy it a second time when it goes itself.
    const int kinds[] = {LVSIL_NORMAL, LVSIL_SMALL};
    for (int kind : kinds) {
        HIMAGELIST list = reinterpret_cast<HIMAGELIST>(SendMessageA(hwnd, LVM_GETIMAGELIST, kind, 0));
        if (list != nullptr) {
            SendMessageA(hwnd, LVM_SETIMAGELIST, kind, 0);
            ImageList_Destroy(list);
        }
    }
}

void ListViewCtrl::Create()
{
    HWND hwnd = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                0, 0, 0, 0, GetParentHandle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListViewId)),
                                GetInstance(), nullptr);
    SetHandle(hwnd);
}

int ListViewCtrl::CreateImageList(int count, int cx, int cy, int kind, int firstIconId)
{
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_MASK | ILC_COLOR4, count, 1);
    if (list == nullptr)
        return 1;
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
        SendMessageA(GetHandle(), LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(list)));
    if (old != nullptr && old != list)
        ImageList_Destroy(old);
    for (int i = 0; i < count; ++i) {
        WORD id = static_cast<WORD>(firstIconId + i);
        ImageList_ReplaceIcon(list, -1, LoadIconA(GetInstance(), MAKEINTRESOURCEA(id)));
    }
    return 0;
}

int ListViewCtrl::GetItemCount() const
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETITEMCOUNT, 0, 0));
}

int ListViewCtrl::InsertItem(const LVITEMA* item)
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

int ListViewCtrl::InsertItem(int index, const char* text, LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text); // only read by LVM_INSERTITEMA
    item.lParam = data;
    return InsertItem(&item);
}

BOOL ListViewCtrl::SetItem(const LVITEMA* item)
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL ListViewCtrl::GetItem(LVITEMA* item) const
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL ListViewCtrl::DeleteItem(int index)
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_DELETEITEM, index, 0));
}

BOOL ListViewCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_DELETEALLITEMS, 0, 0));
}

BOOL ListViewCtrl::SelectItem(int index)
{
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.iItem = index;
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    return SetItem(&item);
}

int ListViewCtrl::GetFocusedItem() const
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

LPARAM ListViewCtrl::GetFocusedItemData() const
{
    return GetItemData(GetFocusedItem());
}

int ListViewCtrl::GetSelectedCount() const
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListViewCtrl::GetNextItem(int start, int flags) const
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(start),
                                         MAKELPARAM(LOWORD(flags), 0)));
}

BOOL ListViewCtrl::SetItemData(int index, LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    return SetItem(&item);
}

LPARAM ListViewCtrl::GetItemData(int index) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (index < 0 || !GetItem(&item))
        return 0;
    return item.lParam;
}

int ListViewCtrl::FindItem(const LVFINDINFOA* info) const
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(info)));
}

int ListViewCtrl::FindItemByData(LPARAM data) const
{
    LVFINDINFOA info = {};
    info.flags = LVFI_PARAM;
    info.lParam = data;
    return FindItem(&info);
}

BOOL ListViewCtrl::ClearItemState(int index)
{
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.iItem = index;
    item.state = 0;
    item.stateMask = static_cast<UINT>(-1);
    return SetItem(&item);
}

BOOL ListViewCtrl::SetItemText(int index, int subItem, const char* text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text); // only read by LVM_SETITEMA
    return SetItem(&item);
}

BOOL ListViewCtrl::ClearItemText(int index, int subItem)
{
    return SetItemText(index, subItem, "");
}

int ListViewCtrl::LoadColumns(int id)
{
    HINSTANCE instance = GetInstance();
    HRSRC info = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (info == nullptr)
        return 0;
    HGLOBAL handle = LoadResource(instance, info);
    const unsigned char* table = handle != nullptr ? static_cast<const unsigned char*>(LockResource(handle)) : nullptr;
    DWORD size = SizeofResource(instance, info);
    if (table == nullptr || size < kColumnCountSize)
        return 0;

    unsigned count = ReadWord(table);
    size_t available = (size - kColumnCountSize) / kColumnRecordSize;
    if (count > available)
        count = static_cast<unsigned>(available);

    for (unsigned i = 0; i < count; ++i) {
        const unsigned char* record = table + kColumnCountSize + i * kColumnRecordSize;
        char title[kTitleBufferSize] = "";
        LoadStringA(instance, ReadWord(record + 4), title, sizeof title);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = static_cast<int>(ReadWord(record + 2));
        column.cx = static_cast<int>(ReadWord(record));
        column.pszText = title;
        column.iSubItem = static_cast<int>(i);
        InsertColumn(static_cast<int>(i), &column);
    }
    FreeResource(handle);
    return static_cast<int>(count);
}

int ListViewCtrl::InsertColumn(int index, const LVCOLUMNA* column)
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(column)));
}

BOOL ListViewCtrl::SetColumn(int index, const LVCOLUMNA* column)
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(column)));
}

BOOL ListViewCtrl::GetColumn(int index, LVCOLUMNA* column) const
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(column)));
}

int ListViewCtrl::GetColumnCount() const
{
    int count = 0;
    while (HasColumn(count))
        ++count;
    return count;
}

BOOL ListViewCtrl::HasColumn(int index) const
{
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    return GetColumn(index, &column);
}

BOOL ListViewCtrl::EnsureVisible(int index, BOOL partialOk)
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), LVM_ENSUREVISIBLE, index, MAKELPARAM(LOWORD(partialOk), 0)));
}

int ListViewCtrl::HitTest(LVHITTESTINFO* info) const
{
    return static_cast<int>(SendMessageA(GetHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}
