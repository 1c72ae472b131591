#ifndef MORVEK_FRAMEWORK_WNDOBJECT_H
#define MORVEK_FRAMEWORK_WNDOBJECT_H

#include <windows.h>

// winuser.h maps GetClassName to GetClassNameA; our accessor keeps its own
// name. Code that wants the Win32 call uses GetClassNameA directly.
#ifdef GetClassName
#undef GetClassName
#endif

// Base of every framework object: a window handle with its parent, the
// module that owns its resources, and two owned strings (class name and
// caption of a handler's window, or the application's class name and caption).
class WndObject {
public:
// Construction
    WndObject();
    virtual ~WndObject();
    WndObject(const WndObject&) = delete;
    WndObject& operator=(const WndObject&) = delete;

// Attributes
    virtual HWND SetHandle(HWND hwnd);
    virtual HWND GetHandle() const;
    virtual HWND SetParentHandle(HWND parent);
    virtual HWND GetParentHandle() const;
    virtual HINSTANCE SetInstance(HINSTANCE instance);
    virtual HINSTANCE GetInstance() const;

    // Keeps a copy of name (null clears it); returns its length.
    virtual int SetClassName(const char* name);
    virtual const char* GetClassName() const;
    virtual void FreeClassName();

    // Keeps a copy of text (null clears it); returns its length.
    virtual int SetText(const char* text);
    virtual const char* GetText() const;
    virtual void FreeText();

private:
    HWND m_hWnd;
    HWND m_hParent;
    HINSTANCE m_hInstance;
    char* m_className; // owned
    char* m_text;      // owned
};

#endif
