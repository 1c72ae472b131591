#include "framework/ComboBoxCtrl.h"

ComboBoxCtrl::ComboBoxCtrl()
{
}

ComboBoxCtrl::~ComboBoxCtrl()
{
}

int ComboBoxCtrl::GetCount() const
{
    return static_cast<int>(SendMessageA(GetHandle(), CB_GETCOUNT, 0, 0L));
}

int ComboBoxCtrl::GetCurSel() const
{
    return static_cast<int>(SendMessageA(GetHandle(), CB_GETCURSEL, 0, 0L));
}

int ComboBoxCtrl::SetCurSel(int index)
{
    return static_cast<int>(SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0L));
}

LPARAM ComboBoxCtrl::GetItemData(int index) const
{
    return SendMessageA(GetHandle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0L);
}

int ComboBoxCtrl::SetItemData(int index, LPARAM data)
{
    return static_cast<int>(SendMessageA(GetHandle(), CB_SETITEMDATA, static_cast<WPARAM>(index), data));
}

int ComboBoxCtrl::AddString(const char* text)
{
    return static_cast<int>(SendMessageA(GetHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int ComboBoxCtrl::InsertString(int index, const char* text)
{
    return static_cast<int>(
        SendMessageA(GetHandle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int ComboBoxCtrl::DeleteString(int index)
{
    return static_cast<int>(SendMessageA(GetHandle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0L));
}

void ComboBoxCtrl::ResetContent()
{
    SendMessageA(GetHandle(), CB_RESETCONTENT, 0, 0L);
}

int ComboBoxCtrl::AddItem(const char* text, LPARAM data)
{
    int index = AddString(text);
    if (index >= 0)
        SetItemData(index, data);
    return index;
}

LPARAM ComboBoxCtrl::GetSelectedItemData() const
{
    int index = GetCurSel();
    return index == CB_ERR ? -1 : GetItemData(index);
}
