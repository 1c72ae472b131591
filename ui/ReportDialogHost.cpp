#include "ui/ReportDialogHost.h"


#include "resources/ResourceIds.h"
#include "ui/ReportDialog.h"

ReportDialogHost::ReportDialogHost()
{
}

ReportDialogHost::~ReportDialogHost()
{
}

ModalDialog* ReportDialogHost::CreateDialogHandler()
{
    return new ReportDialog(m_text);
}

INT_PTR ReportDialogHost::Show(HINSTANCE instance, HWND parent, const std::string& text)
{
    m_text = text;
    return RunModal(instance, IDD_REPORT, parent, 0, 0);
}
