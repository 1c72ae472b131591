#ifndef MORVEK_FRAMEWORK_DIALOGAPP_H
#define MORVEK_FRAMEWORK_DIALOGAPP_H

#include "framework/WinApp.h"

// An application whose main window is built from dialog template 3000. The
// template names the class this application registers, so DialogWndProc
// sees every message of the window; the handler is bound by the
// WM_INITDIALOG the application sends itself once the controls exist. The
// message loop gives the window dialog keyboard navigation
// (IsDialogMessageA) after the accelerators.
class DialogApp : public WinApp {
public:
    DialogApp();
    ~DialogApp() override;

    ATOM RegisterWindowClass(ClassResources* resources) override;
    HWND CreateMainWindow(int showCommand, CreateRecord* record, HWND parent) override;
    BOOL TranslateNavigation(HWND window, MSG* msg) override;
    // A DialogHandler attached to resources and target.
    MsgHandler* CreateHandler(ClassResources* resources, ActiveTarget* target) override;
};

#endif
