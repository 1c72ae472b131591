#include "framework/ModalDlgProc.h"

#include "framework/CreateRecord.h"
#include "framework/ModalDialog.h"

INT_PTR CALLBACK ModalDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);

    const CreateRecord* record = reinterpret_cast<const CreateRecord*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    ModalDialog* handler = record != nullptr ? dynamic_cast<ModalDialog*>(record->handler) : nullptr;
    if (handler == nullptr)
        return FALSE;

    INT_PTR result = handler->DialogProc(hwnd, message, wParam, lParam);
    if (message == WM_DESTROY)
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    return result;
}
