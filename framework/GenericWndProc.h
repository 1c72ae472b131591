#ifndef MORVEK_FRAMEWORK_GENERICWNDPROC_H
#define MORVEK_FRAMEWORK_GENERICWNDPROC_H

#include <windows.h>

// Window procedure of a class whose windows are created with
// CreateWindowExA and a CreateRecord as creation parameter. The window keeps
// the record's five values in its extra bytes, one pointer-sized slot each,
// so register the class with cbWndExtra = kGenericWndExtra.
enum GenericWndSlot {
    kGenericOwnerSlot = 0,
    kGenericHandlerSlot = 1 * sizeof(LONG_PTR),
    kGenericQuitSlot = 2 * sizeof(LONG_PTR),
    kGenericSpare1Slot = 3 * sizeof(LONG_PTR),
    kGenericSpare2Slot = 4 * sizeof(LONG_PTR),
    kGenericWndExtra = 5 * sizeof(LONG_PTR)
};

LRESULT CALLBACK GenericWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
