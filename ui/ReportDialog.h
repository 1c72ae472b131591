#ifndef MORVEK_UI_REPORTDIALOG_H
#define MORVEK_UI_REPORTDIALOG_H

#include <string>

#include "framework/EditCtrl.h"
#include "framework/ModalDialog.h"

// The conversion report (dialog 3300): the report's text in a read-only box,
// Copy, which puts the whole text on the clipboard, and OK. The caption and
// the button texts come from the string table.
class ReportDialog : public ModalDialog {
public:
    // text: the report with LF line ends; the box gets CR LF.
    explicit ReportDialog(const std::string& text);
    ~ReportDialog() override;

// Attributes
    // The text as the box shows it, CR LF line ends.
    virtual const std::string& GetBoxText() const;

// Operations
    // Puts the box text on the clipboard as CF_TEXT. 0, or 1 when the
    // clipboard could not be had.
    virtual int CopyToClipboard(HWND hwnd);
    // Sets one tab stop per table column of the text, each past the widest
    // cell before it in the box's font, so that columns line up in any
    // language. Returns the number of stops.
    virtual int SetColumnStops(EditCtrl& box);

// Message handlers
    LRESULT OnInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;

private:
    std::string m_boxText;
};

#endif
