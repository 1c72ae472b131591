#ifndef MORVEK_FRAMEWORK_WINDOWENTRY_H
#define MORVEK_FRAMEWORK_WINDOWENTRY_H

#include <windows.h>

class WndObject;

// One row of an ObjectTable: a window and its handler. Once the entry is in
// a table, the table owns the handler and deletes it when the entry goes.
struct WindowEntry {
    HWND window;
    WndObject* object;
    LONG_PTR spare1; // zero in this program
    LONG_PTR spare2; // zero in this program
};

#endif
