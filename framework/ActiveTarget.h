#ifndef MORVEK_FRAMEWORK_ACTIVETARGET_H
#define MORVEK_FRAMEWORK_ACTIVETARGET_H

#include <windows.h>

// The program's active top-level window and its accelerator table: the
// message loop reads both for every message. Window handlers write them when
// their window is created or activated. Borrows both handles.
class ActiveTarget {
public:
    ActiveTarget();
    virtual ~ActiveTarget();

    virtual HWND SetTargetWindow(HWND window);
    virtual HWND GetTargetWindow() const;
    virtual HACCEL SetAccelerators(HACCEL accelerators);
    virtual HACCEL GetAccelerators() const;

private:
    HWND m_window;
    HACCEL m_accelerators;
};

#endif
