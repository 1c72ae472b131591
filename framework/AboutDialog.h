#ifndef MORVEK_FRAMEWORK_ABOUTDIALOG_H
#define MORVEK_FRAMEWORK_ABOUTDIALOG_H

#include "framework/ModalDialog.h"

// The About box: program icon, product name with version and the copyright
// line from the version resource of the program file (string 1003), and the
// web page of string 1005 as a link the dialog draws itself: blue and
// underlined, red with a hand cursor while the pointer is over it; a click
// opens the page and leaves the box open.
class AboutDialog : public ModalDialog {
public:
    AboutDialog();
    ~AboutDialog() override;

// Attributes
    virtual RECT GetLinkRect() const; // client coordinates
    virtual int GetHover() const;     // 1 while the pointer is over the link
    virtual const char* GetLinkText() const;

// Message handlers
    LRESULT OnPaint(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitDialog(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_NCHITTEST: follows the pointer in and out of the link.
    virtual LRESULT OnHitTest(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // WM_SETCURSOR: 16 when it set the hand cursor over the link, else 0.
    virtual LRESULT OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // WM_MOUSELEAVE: the pointer left the box (or went onto a control)
    // without a hit test on the link's way out.
    virtual LRESULT OnMouseLeave(HWND hwnd, WPARAM wParam, LPARAM lParam);

// Operations
    // Opens the link text with the system's handler for web addresses.
    virtual int OpenLink(HWND hwnd);

private:
    virtual int SetHover(HWND hwnd, int hover);

    RECT m_linkRect;
    int m_hover;
    char m_linkText[256];
};

#endif
