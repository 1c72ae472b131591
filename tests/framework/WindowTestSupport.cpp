#include "tests/framework/WindowTestSupport.h"

#include <vector>

#include "framework/ListViewCtrl.h"

HINSTANCE TestModule()
{
    return GetModuleHandleA(nullptr);
}

std::string TestProgramDirectory()
{
    char path[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path);
    // Walk characters, not bytes: a double-byte character may end in 0x5C.
    size_t end = 0;
    for (const char* p = text.c_str(); *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\')
            end = static_cast<size_t>(p - text.c_str()) + 1;
    }
    return text.substr(0, end);
}

ParentWindow::ParentWindow(int x, int y, int width, int height, bool visible)
    : m_hwnd(CreateWindowExA(0, "STATIC", "Framework Test Parent",
                             WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                             x, y, width, height, nullptr, nullptr, TestModule(), nullptr))
{
}

ParentWindow::~ParentWindow()
{
    if (m_hwnd != nullptr)
        DestroyWindow(m_hwnd);
}

HWND ParentWindow::GetHandle() const
{
    return m_hwnd;
}

namespace {

DialogWatcher* g_watcher = nullptr;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam)
{
    char className[16] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

DialogWatcher::DialogWatcher(Action action, DWORD forceAfterMs)
    : m_action(std::move(action)), m_timer(0), m_dialog(nullptr), m_actedAt(0),
      m_forceAfterMs(forceAfterMs)
{
    g_watcher = this;
    m_timer = SetTimer(nullptr, 0, 50, OnTimer);
}

DialogWatcher::~DialogWatcher()
{
    if (m_timer != 0)
        KillTimer(nullptr, m_timer);
    g_watcher = nullptr;
}

bool DialogWatcher::Acted() const
{
    return m_dialog != nullptr;
}

void CALLBACK DialogWatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_watcher != nullptr)
        g_watcher->Tick();
}

void DialogWatcher::Tick()
{
    if (m_dialog == nullptr) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr)
            return;
        m_dialog = dialog;
        m_actedAt = GetTickCount();
        m_action(dialog);
        return;
    }
    if (IsWindow(m_dialog) && GetTickCount() - m_actedAt > m_forceAfterMs) {
        EndDialog(m_dialog, kForcedEnd);
        KillTimer(nullptr, m_timer);
        m_timer = 0;
    }
}

void EndDialogBy(HWND dialog, DialogEnd how)
{
    // Keys go to the control with the focus, where the dialog's message
    // loop (IsDialogMessage) picks them up.
    HWND focus = GetFocus();
    HWND keyTarget = focus != nullptr && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    switch (how) {
    case DialogEnd::kOkCommand:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    case DialogEnd::kCancelCommand:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        break;
    case DialogEnd::kEnterKey:
        PostMessageA(keyTarget, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        break;
    case DialogEnd::kEscapeKey:
        PostMessageA(keyTarget, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        break;
    case DialogEnd::kCloseMessage:
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    }
}

const char* DialogEndName(DialogEnd how)
{
    switch (how) {
    case DialogEnd::kOkCommand: return "OkCommand";
    case DialogEnd::kCancelCommand: return "CancelCommand";
    case DialogEnd::kEnterKey: return "EnterKey";
    case DialogEnd::kEscapeKey: return "EscapeKey";
    case DialogEnd::kCloseMessage: return "CloseMessage";
    }
    return "?";
}

std::string WindowText(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    GetWindowTextA(hwnd, text.data(), length + 1);
    return std::string(text.data());
}

std::string CellText(const ListViewCtrl& list, int row, int column)
{
    char text[256] = "x"; // a call that writes no text shows as "x"
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!list.GetItem(&item))
        return "<none>";
    return text;
}

bool TakeQuitMessage()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}
