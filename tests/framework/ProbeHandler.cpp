#include "tests/framework/ProbeHandler.h"

#include "tests/framework/TestResourceIds.h"

ProbeHandler::ProbeHandler(Probe* probe)
    : m_probe(probe)
{
}

ProbeHandler::~ProbeHandler()
{
    ++m_probe->deleted;
}

LRESULT ProbeHandler::OnCreate(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ++m_probe->created;
    m_probe->createdWindow = GetHandle();
    m_probe->createdInstance = GetInstance();
    m_probe->caption = GetText() != nullptr ? GetText() : "(null)";
    m_probe->className = GetClassName() != nullptr ? GetClassName() : "(null)";
    m_probe->hadCreateInfo = GetCreateInfo() != nullptr;
    m_probe->hadControls = GetDlgItem(hwnd, IDC_TEST_BUTTON) != nullptr;
    return DialogHandler::OnCreate(hwnd, wParam, lParam);
}

LRESULT ProbeHandler::OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    m_probe->commands.push_back(LOWORD(wParam));
    return DialogHandler::OnCommand(hwnd, wParam, lParam);
}

LRESULT ProbeHandler::OnDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ++m_probe->destroyed;
    return DialogHandler::OnDestroy(hwnd, wParam, lParam);
}

LRESULT ProbeHandler::OnClose(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ++m_probe->closed;
    return DialogHandler::OnClose(hwnd, wParam, lParam);
}
