#include "framework/ClassResources.h"

#include "framework/OwnedString.h"

#include <utility>

ClassResources::ClassResources()
    : m_largeIcon(nullptr), m_smallIcon(nullptr), m_cursor(nullptr),
      m_brush(nullptr), m_menuName(nullptr), m_accelerators(nullptr)
{
}

ClassResources::~ClassResources()
{
    FreeMenuName();
}

HICON ClassResources::LoadLargeIcon(HINSTANCE instance, int id)
{
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(id));
    if (icon != nullptr)
        SetLargeIcon(icon);
    return icon;
}

HICON ClassResources::SetLargeIcon(HICON icon)
{
    return std::exchange(m_largeIcon, icon);
}

HICON ClassResources::GetLargeIcon() const
{
    return m_largeIcon;
}

BOOL ClassResources::DestroyLargeIcon()
{
    return DestroyIcon(SetLargeIcon(nullptr));
}

HICON ClassResources::LoadSmallIcon(HINSTANCE instance, int id)
{
    HICON icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
    if (icon != nullptr)
        SetSmallIcon(icon);
    return icon;
}

HICON ClassResources::SetSmallIcon(HICON icon)
{
    return std::exchange(m_smallIcon, icon);
}

HICON ClassResources::GetSmallIcon() const
{
    return m_smallIcon;
}

BOOL ClassResources::DestroySmallIcon()
{
    return DestroyIcon(SetSmallIcon(nullptr));
}

HCURSOR ClassResources::LoadCursorHandle(HINSTANCE instance, LPCSTR id)
{
    HCURSOR cursor = LoadCursorA(instance, id);
    if (cursor != nullptr)
        SetCursorHandle(cursor);
    return cursor;
}

HCURSOR ClassResources::SetCursorHandle(HCURSOR cursor)
{
    return std::exchange(m_cursor, cursor);
}

HCURSOR ClassResources::GetCursorHandle() const
{
    return m_cursor;
}

BOOL ClassResources::DestroyCursorHandle()
{
    return DestroyCursor(SetCursorHandle(nullptr));
}

HBRUSH ClassResources::UseStockBrush(int index)
{
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(index));
    if (brush != nullptr)
        SetBrush(brush);
    return brush;
}

HBRUSH ClassResources::SetBrush(HBRUSH brush)
{
    return std::exchange(m_brush, brush);
}

HBRUSH ClassResources::GetBrush() const
{
    return m_brush;
}

int ClassResources::SetMenuName(const char* name)
{
    return ReplaceOwnedString(m_menuName, name);
}

const char* ClassResources::GetMenuName() const
{
    return m_menuName;
}

void ClassResources::FreeMenuName()
{
    delete[] m_menuName;
    m_menuName = nullptr;
}

HACCEL ClassResources::LoadAccelTable(HINSTANCE instance, const char* name)
{
    if (name == nullptr)
        name = GetMenuName();
    if (name == nullptr)
        return nullptr;
    HACCEL accelerators = LoadAcceleratorsA(instance, name);
    if (accelerators != nullptr)
        SetAccelTable(accelerators);
    return accelerators;
}

HACCEL ClassResources::SetAccelTable(HACCEL accelerators)
{
    return std::exchange(m_accelerators, accelerators);
}

HACCEL ClassResources::GetAccelTable() const
{
    return m_accelerators;
}
