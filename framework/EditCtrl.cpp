#include "framework/EditCtrl.h"

EditCtrl::EditCtrl()
{
}

EditCtrl::~EditCtrl()
{
}

void EditCtrl::SetLimitText(UINT limit)
{
    SendMessageA(GetHandle(), EM_SETLIMITTEXT, limit, 0L);
}

UINT EditCtrl::GetLimitText() const
{
    return static_cast<UINT>(SendMessageA(GetHandle(), EM_GETLIMITTEXT, 0, 0L));
}

int EditCtrl::GetLineCount() const
{
    return static_cast<int>(SendMessageA(GetHandle(), EM_GETLINECOUNT, 0, 0L));
}

BOOL EditCtrl::GetModify() const
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), EM_GETMODIFY, 0, 0L));
}

void EditCtrl::SetModify(BOOL modified)
{
    SendMessageA(GetHandle(), EM_SETMODIFY, static_cast<WPARAM>(modified), 0L);
}

BOOL EditCtrl::SetReadOnly(BOOL readOnly)
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0L));
}

void EditCtrl::SetSel(int start, int end)
{
    SendMessageA(GetHandle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void EditCtrl::ReplaceSel(const char* text, BOOL canUndo)
{
    SendMessageA(GetHandle(), EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
}

HFONT EditCtrl::GetFont() const
{
    return reinterpret_cast<HFONT>(SendMessageA(GetHandle(), WM_GETFONT, 0, 0L));
}

BOOL EditCtrl::SetTabStops(int count, const int* stops)
{
    return static_cast<BOOL>(SendMessageA(GetHandle(), EM_SETTABSTOPS, static_cast<WPARAM>(count),
                                          reinterpret_cast<LPARAM>(stops)));
}
