#include "framework/GenericWndProc.h"

#include "framework/CreateRecord.h"
#include "framework/ObjectTable.h"
#include "framework/WindowHandler.h"

LRESULT CALLBACK GenericWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const CreateRecord* record = static_cast<const CreateRecord*>(cs->lpCreateParams);
        if (record != nullptr) {
            SetWindowLongPtrA(hwnd, kGenericOwnerSlot, reinterpret_cast<LONG_PTR>(record->owner));
            SetWindowLongPtrA(hwnd, kGenericHandlerSlot, reinterpret_cast<LONG_PTR>(record->handler));
            SetWindowLongPtrA(hwnd, kGenericQuitSlot, record->quitOnDestroy);
            SetWindowLongPtrA(hwnd, kGenericSpare1Slot, record->spare1);
            SetWindowLongPtrA(hwnd, kGenericSpare2Slot, record->spare2);
        }
    }

    MsgHandler* bound = reinterpret_cast<MsgHandler*>(GetWindowLongPtrA(hwnd, kGenericHandlerSlot));
    WindowHandler* handler = dynamic_cast<WindowHandler*>(bound);
    if (handler == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    LRESULT result = handler->WindowProc(hwnd, message, wParam, lParam);

    if (message == WM_DESTROY) {
        // The handler's work is done: its table entry goes, and with it the
        // handler. A window destroyed before its entry was added keeps its
        // handler until the table itself is destroyed.
        ObjectTable* owner = reinterpret_cast<ObjectTable*>(GetWindowLongPtrA(hwnd, kGenericOwnerSlot));
        int index = owner != nullptr ? owner->FindObject(bound) : -1;
        if (index >= 0) {
            owner->Remove(index);
            SetWindowLongPtrA(hwnd, kGenericHandlerSlot, 0);
        }
        if (GetWindowLongPtrA(hwnd, kGenericQuitSlot) != 0)
            PostQuitMessage(0);
    }
    return result;
}
