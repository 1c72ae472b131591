#include "framework/ControlWnd.h"

#include <vector>

ControlWnd::ControlWnd()
{
}

ControlWnd::~ControlWnd()
{
}

int ControlWnd::AttachParent(HWND parent, HINSTANCE instance)
{
    SetParentHandle(parent);
    SetInstance(instance);
    return 0;
}

HWND ControlWnd::AttachItem(HWND parent, HINSTANCE instance, int id)
{
    AttachParent(parent, instance);
    SetHandle(parent != nullptr ? GetDlgItem(parent, id) : nullptr);
    return GetHandle();
}

std::string ControlWnd::ReadText() const
{
    HWND hwnd = GetHandle();
    int length = hwnd != nullptr ? GetWindowTextLengthA(hwnd) : 0;
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
    int size = hwnd != nullptr ? GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size())) : 0;
    return std::string(text.data(), static_cast<size_t>(size > 0 ? size : 0));
}

BOOL ControlWnd::WriteText(const char* text)
{
    return SetWindowTextA(GetHandle(), text);
}
