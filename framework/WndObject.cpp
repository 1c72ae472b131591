#include "framework/WndObject.h"

#include "framework/OwnedString.h"

WndObject::WndObject()
    : m_hWnd(nullptr), m_hParent(nullptr), m_hInstance(nullptr),
      m_className(nullptr), m_text(nullptr)
{
}

WndObject::~WndObject()
{
    delete[] m_className;
    delete[] m_text;
}

HWND WndObject::SetHandle(HWND hwnd)
{
    HWND old = m_hWnd;
    m_hWnd = hwnd;
    return old;
}

HWND WndObject::GetHandle() const
{
    return m_hWnd;
}

HWND WndObject::SetParentHandle(HWND parent)
{
    HWND old = m_hParent;
    m_hParent = parent;
    return old;
}

HWND WndObject::GetParentHandle() const
{
    return m_hParent;
}

HINSTANCE WndObject::SetInstance(HINSTANCE instance)
{
    HINSTANCE old = m_hInstance;
    m_hInstance = instance;
    return old;
}

HINSTANCE WndObject::GetInstance() const
{
    return m_hInstance;
}

int WndObject::SetClassName(const char* name)
{
    return ReplaceOwnedString(m_className, name);
}

const char* WndObject::GetClassName() const
{
    return m_className;
}

void WndObject::FreeClassName()
{
    ReplaceOwnedString(m_className, nullptr);
}

int WndObject::SetText(const char* text)
{
    return ReplaceOwnedString(m_text, text);
}

const char* WndObject::GetText() const
{
    return m_text;
}

void WndObject::FreeText()
{
    ReplaceOwnedString(m_text, nullptr);
}
