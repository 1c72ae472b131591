#ifndef MORVEK_FRAMEWORK_ABOUTDIALOGHOST_H
#define MORVEK_FRAMEWORK_ABOUTDIALOGHOST_H

#include "framework/ModalDialogHost.h"

// Runs the About box (dialog 3100) with an AboutDialog as its handler.
class AboutDialogHost : public ModalDialogHost {
public:
    AboutDialogHost();
    ~AboutDialogHost() override;

    ModalDialog* CreateDialogHandler() override;
    // Shows the box over parent; returns the dialog's result.
    virtual INT_PTR Show(HINSTANCE instance, HWND parent);
};

#endif
