#include "framework/WinApp.h"

#include "framework/ActiveTarget.h"
#include "framework/ClassResources.h"
#include "framework/CreateRecord.h"
#include "framework/GenericWndProc.h"
#include "framework/WindowHandler.h"
#include "resources/ResourceIds.h"
#include "resources/StringIds.h"

WinApp::WinApp()
    : m_classResources(nullptr), m_activeTarget(nullptr)
{
}

WinApp::~WinApp()
{
    CloseAll();
    delete m_classResources;
}

ClassResources* WinApp::SetClassResources(ClassResources* resources)
{
    ClassResources* old = m_classResources;
    m_classResources = resources;
    return old;
}

ClassResources* WinApp::GetClassResources() const
{
    return m_classResources;
}

ActiveTarget* WinApp::SetActiveTarget(ActiveTarget* target)
{
    ActiveTarget* old = m_activeTarget;
    m_activeTarget = target;
    return old;
}

ActiveTarget* WinApp::GetActiveTarget() const
{
    return m_activeTarget;
}

int WinApp::Init(HINSTANCE instance, ActiveTarget* target)
{
    SetInstance(instance);
    char text[kStringSize] = "";
    LoadStringA(instance, kStrClassName, text, sizeof text);
    SetClassName(text);
    text[0] = '\0';
    LoadStringA(instance, kStrAppCaption, text, sizeof text);
    SetText(text);

    // Before registering: a second instance must not touch the class.
    if (ActivateExistingInstance(GetClassName()) != nullptr)
        return kInitOtherInstance;

    SetActiveTarget(target);
    delete SetClassResources(CreateClassResources(instance));
    return RegisterWindowClass(GetClassResources()) != 0 ? kInitReady : kInitNoClass;
}

ATOM WinApp::RegisterWindowClass(ClassResources* resources)
{
    return RegisterClassWith(resources, GenericWndProc, kGenericWndExtra);
}

ATOM WinApp::RegisterClassWith(ClassResources* resources, WNDPROC procedure, int extraBytes)
{
    if (resources == nullptr || GetClassName() == nullptr)
        return 0;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = GetInstance();
    wc.hIcon = resources->GetLargeIcon();
    wc.hIconSm = resources->GetSmallIcon();
    wc.hCursor = resources->GetCursorHandle();
    wc.hbrBackground = resources->GetBrush();
    // A dialog template names no menu: the window gets it from its class.
    wc.lpszMenuName = resources->GetMenuName();
    wc.lpszClassName = GetClassName();
    return RegisterClassExA(&wc);
}

HWND WinApp::CreateMainWindow(int showCommand, CreateRecord* record, HWND parent)
{
    HWND window = CreateWindowExA(0, GetClassName(), GetText(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  parent, nullptr, GetInstance(), record);
    if (window != nullptr) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
    }
    return window;
}

MSG* WinApp::Run(MSG* out)
{
    MSG msg = {};
    for (;;) {
        BOOL got = GetNextMessage(&msg);
        if (got == 0)
            break;
        if (got == -1) {
            // A broken loop would spin on the same error forever: end it.
            msg = MSG();
            break;
        }
        ActiveTarget* target = GetActiveTarget();
        HWND window = target != nullptr ? target->GetTargetWindow() : nullptr;
        HACCEL accelerators = target != nullptr ? target->GetAccelerators() : nullptr;
        if (window != nullptr && accelerators != nullptr && TranslateAcceleratorA(window, accelerators, &msg))
            continue;
        if (window != nullptr && TranslateNavigation(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (out != nullptr)
        *out = msg;
    return out;
}

BOOL WinApp::GetNextMessage(MSG* msg)
{
    return GetMessageA(msg, nullptr, 0, 0);
}

BOOL WinApp::TranslateNavigation(HWND, MSG*)
{
    return FALSE;
}

HWND WinApp::CreateWindowAndHandler(int showCommand, LONG_PTR spare2, LONG_PTR spare1,
                                    int quitOnDestroy, HWND parent)
{
    MsgHandler* handler = CreateHandler(GetClassResources(), GetActiveTarget());
    if (handler == nullptr)
        return nullptr;
    CreateRecord* record = new CreateRecord{this, handler, quitOnDestroy, spare1, spare2};
    HWND window = CreateMainWindow(showCommand, record, parent);
    // The window keeps its own copy of the record.
    delete record;

    // A window that never came to life, or died while being made, left its
    // handler unowned: no table entry could delete it.
    if (window == nullptr || !IsWindow(window)) {
        delete handler;
        return nullptr;
    }
    if (AddEntry(WindowEntry{window, handler, spare1, spare2}) < 0) {
        DestroyAppWindow(window); // not in the table, so the handler survives this
        delete handler;
        return nullptr;
    }
    return window;
}

BOOL WinApp::DestroyAppWindow(HWND window)
{
    return DestroyWindow(window);
}

int WinApp::CloseAll()
{
    return Broadcast(WM_CLOSE, 0, 0);
}

ClassResources* WinApp::CreateClassResources(HINSTANCE instance)
{
    char menuName[kStringSize] = "";
    LoadStringA(instance, kStrMenuName, menuName, sizeof menuName);
    ClassResources* resources = new ClassResources;
    resources->LoadLargeIcon(instance, IDI_APP);
    resources->LoadSmallIcon(instance, IDI_APP);
    resources->LoadCursorHandle(nullptr, IDC_ARROW);
    // The system-colour form of a class background: no brush to free.
    resources->SetBrush(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    resources->SetMenuName(menuName);
    resources->LoadAccelTable(instance, nullptr);
    return resources;
}

MsgHandler* WinApp::CreateHandler(ClassResources* resources, ActiveTarget* target)
{
    WindowHandler* handler = new WindowHandler;
    handler->AttachApp(resources, target);
    return handler;
}

HWND WinApp::ActivateExistingInstance(const char* className)
{
    if (className == nullptr)
        return nullptr;
    HWND window = FindWindowA(className, nullptr);
    if (window == nullptr)
        return nullptr;
    if (IsIconic(window))
        ShowWindow(window, SW_SHOWNORMAL);
    else
        SetForegroundWindow(window);
    return window;
}
