#ifndef MORVEK_FRAMEWORK_CREATERECORD_H
#define MORVEK_FRAMEWORK_CREATERECORD_H

#include <windows.h>

class ObjectTable;
class MsgHandler;

// What binds a new window to its handler. The creator fills it and passes it
// as the creation parameter; the window procedure keeps its own copy
// (GenericWndProc, DialogWndProc) or the creator's pointer (ModalDlgProc).
struct CreateRecord {
    ObjectTable* owner;  // table that holds, or will hold, the window's entry
    MsgHandler* handler; // the window's message handler
    int quitOnDestroy;   // nonzero: post WM_QUIT when the window is destroyed
    LONG_PTR spare1;     // passed through, never read
    LONG_PTR spare2;     // passed through, never read
};

#endif
