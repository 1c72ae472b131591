#include "framework/AboutDialogHost.h"

#include "framework/AboutDialog.h"
#include "resources/ResourceIds.h"

AboutDialogHost::AboutDialogHost()
{
}

AboutDialogHost::~AboutDialogHost()
{
}

ModalDialog* AboutDialogHost::CreateDialogHandler()
{
    return new AboutDialog;
}

INT_PTR AboutDialogHost::Show(HINSTANCE instance, HWND parent)
{
    return RunModal(instance, IDD_ABOUT, parent, 0, 0);
}
