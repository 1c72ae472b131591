#include "framework/DialogWndProc.h"

#include <cstring>

#include "framework/CreateRecord.h"
#include "framework/ObjectTable.h"
#include "framework/WindowHandler.h"

namespace {

// Copy of a string of a CREATESTRUCTA; an atom is kept as it is.
LPCSTR CopyName(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return name;
    size_t length = std::strlen(name);
    char* copy = new char[length + 1];
    std::memcpy(copy, name, length + 1);
    return copy;
}

void FreeName(LPCSTR name)
{
    if (!IS_INTRESOURCE(name))
        delete[] name;
}

// WM_CREATE comes before the controls and the handler. Keep the creation
// data until WM_INITDIALOG binds the handler.
void SaveCreateStruct(HWND hwnd, const CREATESTRUCTA* cs)
{
    CREATESTRUCTA* copy = new CREATESTRUCTA(*cs);
    copy->lpszName = CopyName(cs->lpszName);
    copy->lpszClass = CopyName(cs->lpszClass);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(copy));
}

void FreeCreateStruct(HWND hwnd)
{
    CREATESTRUCTA* cs = reinterpret_cast<CREATESTRUCTA*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    if (cs != nullptr) {
        FreeName(cs->lpszName);
        FreeName(cs->lpszClass);
        delete cs;
    }
}

CreateRecord* GetRecord(HWND hwnd)
{
    return reinterpret_cast<CreateRecord*>(GetWindowLongPtrA(hwnd, DWLP_USER));
}

// Binds the handler named by record to the window and runs its creation
// steps. A WM_INITDIALOG without a record (the dialog manager may send one
// with our zero parameter) or after the window is bound binds nothing.
void BindHandler(HWND hwnd, const CreateRecord* record)
{
    if (record == nullptr || GetRecord(hwnd) != nullptr)
        return;
    CreateRecord* copy = new CreateRecord(*record);
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(copy));
    CREATESTRUCTA* cs = reinterpret_cast<CREATESTRUCTA*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    WindowHandler* handler = dynamic_cast<WindowHandler*>(copy->handler);
    if (handler != nullptr)
        handler->HandleCreate(hwnd, 0, reinterpret_cast<LPARAM>(cs));
    FreeCreateStruct(hwnd);
}

} // namespace

LRESULT CALLBACK DialogWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        FreeCreateStruct(hwnd);
        SaveCreateStruct(hwnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_INITDIALOG)
        BindHandler(hwnd, reinterpret_cast<const CreateRecord*>(lParam));
    if (message == WM_NCDESTROY) {
        // Whatever is left here belongs to a window that was never bound
        // to a working handler; the handler itself is not ours to delete.
        FreeCreateStruct(hwnd);
        CreateRecord* leftover = GetRecord(hwnd);
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        delete leftover;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    // Read afresh: the handler may have destroyed its window while binding.
    CreateRecord* record = GetRecord(hwnd);
    WindowHandler* handler = record != nullptr ? dynamic_cast<WindowHandler*>(record->handler) : nullptr;
    if (handler == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    LRESULT result = handler->WindowProc(hwnd, message, wParam, lParam);

    if (message == WM_DESTROY) {
        int index = record->owner != nullptr ? record->owner->FindObject(record->handler) : -1;
        if (index >= 0) {
            record->owner->Remove(index);
            record->handler = nullptr;
        }
        if (record->quitOnDestroy != 0)
            PostQuitMessage(0);
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        delete record;
    }
    return result;
}
