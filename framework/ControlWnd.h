#ifndef MORVEK_FRAMEWORK_CONTROLWND_H
#define MORVEK_FRAMEWORK_CONTROLWND_H

#include "framework/WndObject.h"

// A child control of a dialog. The wrapper borrows the control's handle and
// never destroys the control; the dialog does that with its other children.
//
// Adopting a control of a dialog template:
//   1. AttachParent(dialog, instance);
//   2. SetHandle(GetDlgItem(dialog, id)).
class ControlWnd : public WndObject {
public:
    ControlWnd();
    ~ControlWnd() override;

    // Sets the parent window and the module whose resources are loaded.
    virtual int AttachParent(HWND parent, HINSTANCE instance);
};

#endif
