#include "framework/ActiveTarget.h"

ActiveTarget::ActiveTarget()
    : m_window(nullptr), m_accelerators(nullptr)
{
}

ActiveTarget::~ActiveTarget()
{
}

HWND ActiveTarget::SetTargetWindow(HWND window)
{
    HWND old = m_window;
    m_window = window;
    return old;
}

HWND ActiveTarget::GetTargetWindow() const
{
    return m_window;
}

HACCEL ActiveTarget::SetAccelerators(HACCEL accelerators)
{
    HACCEL old = m_accelerators;
    m_accelerators = accelerators;
    return old;
}

HACCEL ActiveTarget::GetAccelerators() const
{
    return m_accelerators;
}
