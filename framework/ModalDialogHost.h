#ifndef MORVEK_FRAMEWORK_MODALDIALOGHOST_H
#define MORVEK_FRAMEWORK_MODALDIALOGHOST_H

#include "framework/ObjectTable.h"

class ModalDialog;

// Runs one modal dialog from a template: makes its handler
// (CreateDialogHandler), runs DialogBoxParamA with ModalDlgProc, and deletes
// the handler when the modal loop ends. Its table stays empty.
class ModalDialogHost : public ObjectTable {
public:
    ModalDialogHost();
    ~ModalDialogHost() override;

    // The dialog's result (EndDialog), or -1 when it could not be created.
    virtual INT_PTR RunModal(HINSTANCE instance, int templateId, HWND parent,
                             LONG_PTR spare2, LONG_PTR spare1);
    // A new handler, deleted by RunModal.
    virtual ModalDialog* CreateDialogHandler();
};

#endif
