#include "framework/WindowHandler.h"

#include <cstring>
#include <vector>

#include "framework/AboutDialogHost.h"
#include "framework/ActiveTarget.h"
#include "framework/ClassResources.h"
#include "framework/OwnedString.h"
#include "resources/ResourceIds.h"
#include "resources/StringIds.h"

namespace {

const int kStringBufferSize = 256;
const int kPathBufferSize = MAX_PATH; // 260: at most 259 characters

// The full path of the running program, or an empty string.
std::vector<char> GetProgramPath()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            path[0] = '\0';
            break;
        }
        if (length < path.size())
            break;
        if (path.size() >= 65536) { // no path is that long; keep what we have
            path.back() = '\0';
            break;
        }
        path.resize(path.size() * 2);
    }
    return path;
}

// Length of the drive and folder part of path, up to and including the last
// backslash or slash. The scan steps over double-byte characters, whose
// second byte may look like a backslash in code page 932.
size_t DirectoryLength(const char* path)
{
    size_t end = 0;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || (*p == ':' && p == path + 1))
            end = static_cast<size_t>(p - path) + 1;
    }
    return end;
}

} // namespace

WindowHandler::WindowHandler()
    : m_classResources(nullptr), m_activeTarget(nullptr), m_accelerators(nullptr),
      m_helpPath(nullptr), m_createInfo(nullptr)
{
}

WindowHandler::~WindowHandler()
{
    FreeHelpPath();
}

ClassResources* WindowHandler::SetClassResources(ClassResources* resources)
{
    ClassResources* old = m_classResources;
    m_classResources = resources;
    return old;
}

ClassResources* WindowHandler::GetClassResources() const
{
    return m_classResources;
}

ActiveTarget* WindowHandler::SetActiveTarget(ActiveTarget* target)
{
    ActiveTarget* old = m_activeTarget;
    m_activeTarget = target;
    return old;
}

ActiveTarget* WindowHandler::GetActiveTarget() const
{
    return m_activeTarget;
}

HACCEL WindowHandler::SetAccelerators(HACCEL accelerators)
{
    HACCEL old = m_accelerators;
    m_accelerators = accelerators;
    return old;
}

HACCEL WindowHandler::GetAccelerators() const
{
    return m_accelerators;
}

int WindowHandler::AttachApp(ClassResources* resources, ActiveTarget* target)
{
    SetClassResources(resources);
    SetActiveTarget(target);
    return 0;
}

int WindowHandler::BuildHelpPath()
{
    char name[kStringBufferSize] = "";
    LoadStringA(GetInstance(), kStrHelpFile, name, sizeof name);
    char path[kPathBufferSize] = "";
    int length = GetProgramDirectory(path, sizeof path);
    // lstrcpynA stops one short of the end, so a long folder cuts the name
    // but never runs past the buffer.
    lstrcpynA(path + length, name, static_cast<int>(sizeof path) - length);
    return SetHelpPath(path);
}

int WindowHandler::SetHelpPath(const char* path)
{
    return ReplaceOwnedString(m_helpPath, path);
}

const char* WindowHandler::GetHelpPath() const
{
    return m_helpPath;
}

void WindowHandler::FreeHelpPath()
{
    delete[] m_helpPath;
    m_helpPath = nullptr;
}

int WindowHandler::GetProgramDirectory(char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return 0;
    // The module's own path, not the command line: a program started through
    // the search path or with arguments that hold slashes has no usable
    // folder in its command line.
    std::vector<char> path = GetProgramPath();
    size_t length = DirectoryLength(path.data());
    path[length] = '\0';
    lstrcpynA(buffer, path.data(), size);
    return lstrlenA(buffer);
}

CREATESTRUCTA* WindowHandler::TakeCreateInfo(HWND hwnd, WPARAM, CREATESTRUCTA* cs)
{
    SetHandle(hwnd);
    if (cs != nullptr) {
        SetInstance(cs->hInstance);
        // Either name may be an atom rather than a string.
        SetClassName(IS_INTRESOURCE(cs->lpszClass) ? nullptr : cs->lpszClass);
        SetText(IS_INTRESOURCE(cs->lpszName) ? nullptr : cs->lpszName);
    }
    return cs;
}

CREATESTRUCTA* WindowHandler::GetCreateInfo() const
{
    return m_createInfo;
}

HWND WindowHandler::UpdateActiveTarget(HWND hwnd, ActiveTarget* target, HACCEL accelerators)
{
    if (target == nullptr)
        return nullptr;
    target->SetAccelerators(accelerators);
    return target->SetTargetWindow(hwnd);
}

int WindowHandler::ShowAbout(HWND hwnd)
{
    AboutDialogHost host;
    host.Show(GetInstance(), hwnd);
    return 0;
}

BOOL WindowHandler::OpenHelp(HWND hwnd)
{
    if (GetHelpPath() == nullptr)
        return FALSE;
    return WinHelpA(hwnd, GetHelpPath(), HELP_FINDER, 0);
}

LRESULT WindowHandler::OnCommand(HWND hwnd, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDM_HELP:
        OpenHelp(hwnd);
        break;
    case IDM_ABOUT:
        ShowAbout(hwnd);
        break;
    case IDM_EXIT:
        // Deletes this handler: nothing may touch it afterwards.
        DestroyWindow(hwnd);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT WindowHandler::OnActivate(HWND hwnd, WPARAM wParam, LPARAM)
{
    WORD state = LOWORD(wParam);
    if (state == WA_ACTIVE || state == WA_CLICKACTIVE)
        UpdateActiveTarget(hwnd, GetActiveTarget(), GetAccelerators());
    return 0;
}

LRESULT WindowHandler::OnInitMenu(HWND, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WindowHandler::OnSize(HWND, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WindowHandler::HandleCreate(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    m_createInfo = TakeCreateInfo(hwnd, wParam, reinterpret_cast<CREATESTRUCTA*>(lParam));
    ClassResources* resources = GetClassResources();
    SetAccelerators(resources != nullptr ? resources->GetAccelTable() : nullptr);
    UpdateActiveTarget(hwnd, GetActiveTarget(), GetAccelerators());
    BuildHelpPath();
    LRESULT result = OnCreate(hwnd, wParam, lParam);
    // The structure belongs to the window procedure and goes away now.
    m_createInfo = nullptr;
    return result;
}

LRESULT WindowHandler::OnCreate(HWND, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WindowHandler::HandleDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnDestroy(hwnd, wParam, lParam);
    SetInstance(nullptr);
    FreeClassName();
    FreeText();
    return result;
}

LRESULT WindowHandler::OnDestroy(HWND, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WindowHandler::OnClose(HWND, WPARAM, LPARAM)
{
    return 0;
}

LRESULT WindowHandler::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        HandleCreate(hwnd, wParam, lParam);
        return 0;
    case WM_DESTROY:
        HandleDestroy(hwnd, wParam, lParam);
        return 0;
    case WM_SIZE:
        OnSize(hwnd, wParam, lParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(hwnd, wParam, lParam);
        return 0;
    case WM_CLOSE:
        OnClose(hwnd, wParam, lParam);
        DestroyWindow(hwnd); // deletes this handler
        return 0;
    case WM_COMMAND:
        OnCommand(hwnd, wParam, lParam);
        return 0;
    case WM_INITMENU:
        OnInitMenu(hwnd, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
