#include "framework/UpDownCtrl.h"

UpDownCtrl::UpDownCtrl()
{
}

UpDownCtrl::~UpDownCtrl()
{
}

HWND UpDownCtrl::Create(DWORD style, const RECT& rect, int id, HWND buddy, int lower, int upper, int pos)
{
    HWND hwnd = CreateUpDownControl(style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                    GetParentHandle(), id, GetInstance(), buddy, upper, lower, pos);
    SetHandle(hwnd);
    return hwnd;
}

HWND UpDownCtrl::SetBuddy(HWND buddy)
{
    return reinterpret_cast<HWND>(SendMessageA(GetHandle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0L));
}

HWND UpDownCtrl::GetBuddy() const
{
    return reinterpret_cast<HWND>(SendMessageA(GetHandle(), UDM_GETBUDDY, 0, 0L));
}

void UpDownCtrl::SetRange(int lower, int upper)
{
    SendMessageA(GetHandle(), UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void UpDownCtrl::GetRange(int& lower, int& upper) const
{
    SendMessageA(GetHandle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}

int UpDownCtrl::SetPos(int pos)
{
    return static_cast<int>(SendMessageA(GetHandle(), UDM_SETPOS32, 0, static_cast<LPARAM>(pos)));
}

int UpDownCtrl::GetPos(BOOL* error) const
{
    return static_cast<int>(SendMessageA(GetHandle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
}

BOOL UpDownCtrl::SetAccel(int count, const UDACCEL* steps)
{
    return static_cast<BOOL>(
        SendMessageA(GetHandle(), UDM_SETACCEL, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(steps)));
}

int UpDownCtrl::GetAccel(int count, UDACCEL* steps) const
{
    return static_cast<int>(
        SendMessageA(GetHandle(), UDM_GETACCEL, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(steps)));
}
