#ifndef MORVEK_FRAMEWORK_CLASSRESOURCES_H
#define MORVEK_FRAMEWORK_CLASSRESOURCES_H

#include <windows.h>

// What the main window class is registered with: icons, cursor, background
// brush, menu name and the accelerator table of the same name. A failed
// load leaves the stored handle as it was. The handles live until the
// process ends; only the menu-name copy is freed here.
class ClassResources {
public:
// Construction
    ClassResources();
    virtual ~ClassResources();
    ClassResources(const ClassResources&) = delete;
    ClassResources& operator=(const ClassResources&) = delete;

// Large icon
    virtual HICON LoadLargeIcon(HINSTANCE instance, int id);
    virtual HICON SetLargeIcon(HICON icon);
    virtual HICON GetLargeIcon() const;
    virtual BOOL DestroyLargeIcon();

// Small icon (16 x 16)
    virtual HICON LoadSmallIcon(HINSTANCE instance, int id);
    virtual HICON SetSmallIcon(HICON icon);
    virtual HICON GetSmallIcon() const;
    virtual BOOL DestroySmallIcon();

// Cursor: id is a resource id made with MAKEINTRESOURCE, or IDC_ARROW and
// its kin with a null instance
    virtual HCURSOR LoadCursorHandle(HINSTANCE instance, LPCSTR id);
    virtual HCURSOR SetCursorHandle(HCURSOR cursor);
    virtual HCURSOR GetCursorHandle() const;
    virtual BOOL DestroyCursorHandle();

// Background brush
    virtual HBRUSH UseStockBrush(int index);
    virtual HBRUSH SetBrush(HBRUSH brush);
    virtual HBRUSH GetBrush() const;

// Menu name; returns the length of the kept copy
    virtual int SetMenuName(const char* name);
    virtual const char* GetMenuName() const;
    virtual void FreeMenuName();

// Accelerators; a null name loads the table named like the menu
    virtual HACCEL LoadAccelTable(HINSTANCE instance, const char* name);
    virtual HACCEL SetAccelTable(HACCEL accelerators);
    virtual HACCEL GetAccelTable() const;

private:
    HICON m_largeIcon;
    HICON m_smallIcon;
    HCURSOR m_cursor;
    HBRUSH m_brush;
    char* m_menuName; // owned
    HACCEL m_accelerators;
};

#endif
