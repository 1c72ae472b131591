#ifndef MORVEK_FRAMEWORK_MODALDIALOG_H
#define MORVEK_FRAMEWORK_MODALDIALOG_H

#include "framework/MsgHandler.h"

// The handler of a modal dialog run by ModalDialogHost. It lives exactly as
// long as the modal loop. DialogProc routes WM_INITDIALOG, WM_PAINT,
// WM_NOTIFY and WM_COMMAND; a handler result of 0 means handled (TRUE to
// the dialog manager), anything else lets the dialog manager do the default.
// The base ends the dialog with 1 on IDOK and 0 on IDCANCEL.
class ModalDialog : public MsgHandler {
public:
    ModalDialog();
    ~ModalDialog() override;

    // Centres hwnd over its parent's window rectangle (over the screen when
    // it has none), without clamping to the screen.
    virtual int CenterOverParent(HWND hwnd);

// Message handlers
    virtual LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnPaint(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT HandleInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam);

    virtual INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

#endif
