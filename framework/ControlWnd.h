#ifndef MORVEK_FRAMEWORK_CONTROLWND_H
#define MORVEK_FRAMEWORK_CONTROLWND_H

#include <string>

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
    // AttachParent, then the parent's child id as the wrapped handle (null
    // when there is none). Returns the handle.
    virtual HWND AttachItem(HWND parent, HINSTANCE instance, int id);

// Text
    // The control's whole text in the ANSI code page; empty without a control.
    virtual std::string ReadText() const;
    virtual BOOL WriteText(const char* text);
};

#endif
