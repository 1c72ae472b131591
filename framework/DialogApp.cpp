#include "framework/DialogApp.h"

#include <commctrl.h>

#include "framework/ActiveTarget.h"
#include "framework/ClassResources.h"
#include "framework/CreateRecord.h"
#include "framework/DialogHandler.h"
#include "framework/DialogWndProc.h"
#include "resources/ResourceIds.h"

DialogApp::DialogApp()
{
}

DialogApp::~DialogApp()
{
}

ATOM DialogApp::RegisterWindowClass(ClassResources* resources)
{
    return RegisterClassWith(resources, DialogWndProc, DLGWINDOWEXTRA);
}

HWND DialogApp::CreateMainWindow(int showCommand, CreateRecord* record, HWND parent)
{
    // The template holds list views; the up-down controls come later.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    HWND window = CreateDialogParamA(GetInstance(), MAKEINTRESOURCEA(IDD_MAIN), parent, nullptr, 0);
    if (window == nullptr)
        return nullptr;
    // Binds the handler and runs its creation steps.
    SendMessageA(window, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(record));
    if (IsWindow(window)) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
    }
    return window;
}

// Tab, the arrow keys, mnemonics and the default button of the main window.
BOOL DialogApp::TranslateNavigation(HWND window, MSG* msg)
{
    return IsDialogMessageA(window, msg);
}

MsgHandler* DialogApp::CreateHandler(ClassResources* resources, ActiveTarget* target)
{
    DialogHandler* handler = new DialogHandler;
    handler->AttachApp(resources, target);
    return handler;
}
