#include "framework/WndObject.h"

#include <cstring>

namespace {

// Replaces slot with an owned copy of text; returns the copy's length.
// The copy is made first, so a string may be set from its own old value.
int ReplaceString(char*& slot, const char* text)
{
    char* copy = nullptr;
    size_t length = 0;
    if (text != nullptr) {
        length = std::strlen(text);
        copy = new char[length + 1];
        std::memcpy(copy, text, length + 1);
    }
    delete[] slot;
    slot = copy;
    return static_cast<int>(length);
}

} // namespace

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
    return ReplaceString(m_className, name);
}

const char* WndObject::GetClassName() const
{
    return m_className;
}

void WndObject::FreeClassName()
{
    ReplaceString(m_className, nullptr);
}

int WndObject::SetText(const char* text)
{
    return ReplaceString(m_text, text);
}

const char* WndObject::GetText() const
{
    return m_text;
}

void WndObject::FreeText()
{
    ReplaceString(m_text, nullptr);
}
