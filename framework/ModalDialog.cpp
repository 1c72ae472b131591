#include "framework/ModalDialog.h"

ModalDialog::ModalDialog()
{
}

ModalDialog::~ModalDialog()
{
}

int ModalDialog::CenterOverParent(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    RECT p;
    if (parent == nullptr || !GetWindowRect(parent, &p))
        GetWindowRect(GetDesktopWindow(), &p);
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return 0;
    OffsetRect(&r, -r.left, -r.top);
    int x = p.left + ((p.right - p.left) - r.right) / 2;
    int y = p.top + ((p.bottom - p.top) - r.bottom) / 2;
    MoveWindow(hwnd, x, y, r.right, r.bottom, FALSE);
    return 0;
}

LRESULT ModalDialog::OnCommand(HWND hwnd, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        EndDialog(hwnd, 1);
        return 0;
    case IDCANCEL:
        EndDialog(hwnd, 0);
        return 0;
    default:
        return 1;
    }
}

LRESULT ModalDialog::OnNotify(HWND, WPARAM, LPARAM)
{
    return 1;
}

LRESULT ModalDialog::OnPaint(HWND, WPARAM, LPARAM)
{
    return 1;
}

LRESULT ModalDialog::HandleInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Resources come from the module of the window that opened the dialog;
    // a dialog without a parent uses its own.
    HWND parent = GetParent(hwnd);
    HWND source = parent != nullptr ? parent : hwnd;
    SetInstance(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(source, GWLP_HINSTANCE)));
    return OnInitDialog(hwnd, wParam, lParam);
}

LRESULT ModalDialog::OnInitDialog(HWND hwnd, WPARAM, LPARAM)
{
    CenterOverParent(hwnd);
    return 0;
}

INT_PTR ModalDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    switch (message) {
    case WM_INITDIALOG:
        result = HandleInitDialog(hwnd, wParam, lParam);
        break;
    case WM_PAINT:
        result = OnPaint(hwnd, wParam, lParam);
        break;
    case WM_NOTIFY:
        result = OnNotify(hwnd, wParam, lParam);
        break;
    case WM_COMMAND:
        result = OnCommand(hwnd, wParam, lParam);
        break;
    default:
        return FALSE;
    }
    return result == 0 ? TRUE : FALSE;
}
