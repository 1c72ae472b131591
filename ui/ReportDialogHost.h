#ifndef MORVEK_UI_REPORTDIALOGHOST_H
#define MORVEK_UI_REPORTDIALOGHOST_H

#include <string>

#include "framework/ModalDialogHost.h"

// Runs the conversion report (dialog 3300) with a ReportDialog as its handler.
class ReportDialogHost : public ModalDialogHost {
public:
    ReportDialogHost();
    ~ReportDialogHost() override;

    ModalDialog* CreateDialogHandler() override;
    // Shows text (LF line ends) over parent; returns the dialog's result.
    virtual INT_PTR Show(HINSTANCE instance, HWND parent, const std::string& text);

private:
    std::string m_text;
};

#endif
