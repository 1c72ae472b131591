#include "framework/ControlWnd.h"

ControlWnd::ControlWnd()
{
}

ControlWnd::~ControlWnd()
{
}

int ControlWnd::AttachParent(HWND parent, HINSTANCE instance)
{
    SetParentHandle(parent);
    SetInstance(instance);
    return 0;
}
