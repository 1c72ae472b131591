#include "ui/WindowServices.h"

#include <shellapi.h>

#include <memory>
#include <utility>
#include <vector>

#include "base/DiskFile.h"
#include "base/SafeFileWriter.h"
#include "framework/ActiveTarget.h"
#include "resources/ResourceIds.h"
#include "text/TextFormat.h"
#include "text/Texts.h"
#include "ui/AnsiText.h"
#include "ui/FileDialog.h"

namespace {

const UINT kWarningFlags = MB_OK | MB_ICONEXCLAMATION;                      // 0x30
const UINT kOverwriteFlags = MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2; // 0x133

} // namespace

WindowServices::WindowServices()
    : m_commandState(kCanOpen), m_lastFocus(nullptr)
{
}

WindowServices::~WindowServices()
{
}

// ---- Command state ------------------------------------------------------------

unsigned WindowServices::SetCommandState(unsigned state)
{
    return std::exchange(m_commandState, state);
}

unsigned WindowServices::GetCommandState() const
{
    return m_commandState;
}

void WindowServices::UpdateCommandButtons()
{
}

// ---- The frame ----------------------------------------------------------------

HWND WindowServices::SetLastFocus(HWND focus)
{
    return std::exchange(m_lastFocus, focus);
}

HWND WindowServices::GetLastFocus() const
{
    return m_lastFocus;
}

std::string WindowServices::SetCaption(const char* path)
{
    HWND hwnd = GetHandle();
    std::vector<char> old(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1);
    GetWindowTextA(hwnd, old.data(), static_cast<int>(old.size()));
    SetWindowTextA(hwnd, ComposeCaption(GetText(), path, kTextSize).c_str());
    return std::string(old.data());
}

std::string WindowServices::SetManualPath(const std::string& path)
{
    return std::exchange(m_manualPath, path);
}

const std::string& WindowServices::GetManualPath() const
{
    return m_manualPath;
}

int WindowServices::CenterWindow(HWND hwnd)
{
    RECT rect;
    if (!GetWindowRect(hwnd, &rect))
        return 1;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = ((GetSystemMetrics(SM_CXSCREEN) - width) / 2 + 4) & ~7;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    MoveWindow(hwnd, x, y, width, height, FALSE);
    return 0;
}

BOOL WindowServices::OpenHelp(HWND hwnd)
{
    const char* helpPath = GetHelpPath() != nullptr ? GetHelpPath() : "";
    // The help file when it is there and a viewer took it, as ever.
    if (helpPath[0] != '\0' && FileExists(helpPath) && RunWinHelp(hwnd, helpPath))
        return TRUE;
    if (!m_manualPath.empty() && FileExists(m_manualPath.c_str())) {
        if (OpenDocument(hwnd, m_manualPath.c_str()))
            return TRUE;
        // There but nothing took it: say so, and where it is.
        ShowWarning(hwnd, FormatText("%s\n\n%s", LoadText(kStrManualNotOpened).c_str(), m_manualPath.c_str()));
        return FALSE;
    }
    ShowWarning(hwnd, FormatText("%s\n\n%s\n%s", LoadText(kStrNoHelp).c_str(), helpPath, m_manualPath.c_str()));
    return FALSE;
}

LRESULT WindowServices::OnActivate(HWND hwnd, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case WA_INACTIVE:
        SetLastFocus(GetFocus());
        break;
    case WA_ACTIVE:
    case WA_CLICKACTIVE:
        UpdateActiveTarget(hwnd, GetActiveTarget(), GetAccelerators());
        // Only a control of this window that still exists gets the focus
        // back; the first activation has none to restore.
        if (m_lastFocus != nullptr && IsWindow(m_lastFocus) && IsChild(hwnd, m_lastFocus))
            SetFocus(m_lastFocus);
        break;
    default:
        break;
    }
    return 0;
}

// ---- Texts and messages -------------------------------------------------------

std::string WindowServices::LoadText(int id) const
{
    char text[kTextSize] = "";
    int length = LoadStringA(GetInstance(), static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

int WindowServices::ShowWarning(HWND owner, const std::string& text)
{
    return ShowMessage(owner, text.c_str(), GetText(), kWarningFlags);
}

std::string WindowServices::DescribeFileError(const char* path, int messageId, unsigned long code,
                                              const DiskFile& file) const
{
    return FormatText("%s\n\n%s\n%s", path, LoadText(messageId).c_str(), file.DescribeError(code).c_str());
}

int WindowServices::ReportFileError(HWND hwnd, const char* path, int messageId, unsigned long code,
                                    const DiskFile& file)
{
    return ShowWarning(hwnd, DescribeFileError(path, messageId, code, file));
}

// ---- File dialogs and files ---------------------------------------------------

int WindowServices::AskOpenFileName(HWND owner, char* name, int capacity)
{
    FileDialog dialog(GetInstance(), kStrOpenFilter, kStrOpenExt, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    dialog.SetName(name);
    OPENFILENAMEA record = dialog.BuildRecord(owner);
    if (!RunOpenDialog(record))
        return kCancelled;
    CopyAnsi(name, capacity, dialog.GetName());
    return 0;
}

int WindowServices::AskSaveFileName(HWND owner, char* name, int capacity)
{
    return AskSaveFileNameOfType(owner, kStrSaveFilter, kStrSaveExt, name, capacity);
}

int WindowServices::AskSaveFileNameOfType(HWND owner, int filterId, int extensionId, char* name,
                                          int capacity)
{
    // The dialog's own overwrite prompt stays off: the question below is ours.
    FileDialog dialog(GetInstance(), filterId, extensionId, OFN_HIDEREADONLY);
    dialog.SetName(name);
    const std::string question = LoadText(kStrOverwrite);
    for (;;) {
        OPENFILENAMEA record = dialog.BuildRecord(owner);
        if (!RunSaveDialog(record))
            return kCancelled;
        if (!FileExists(dialog.GetName()))
            break;
        std::string text = FormatText("%s\n\n%s", dialog.GetName(), question.c_str());
        int answer = ShowMessage(owner, text.c_str(), GetText(), kOverwriteFlags);
        if (answer == IDYES)
            break;
        if (answer != IDNO)
            return kCancelled;
        // No: the dialog opens again with the name just chosen.
    }
    CopyAnsi(name, capacity, dialog.GetName());
    return 0;
}

unsigned long WindowServices::WriteSourceFile(HWND hwnd, const char* path, const char* bytes,
                                              unsigned long size)
{
    std::unique_ptr<DiskFile> file(CreateDiskFile());
    SafeFileWriter writer;
    unsigned long code = writer.Write(*file, path, bytes, size);
    if (code != 0)
        ReportFileError(hwnd, path, kStrWriteFailed, code, *file);
    return code;
}

// ---- Platform calls -----------------------------------------------------------

int WindowServices::ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

BOOL WindowServices::RunOpenDialog(OPENFILENAMEA& dialog)
{
    return GetOpenFileNameA(&dialog);
}

BOOL WindowServices::RunSaveDialog(OPENFILENAMEA& dialog)
{
    return GetSaveFileNameA(&dialog);
}

DiskFile* WindowServices::CreateDiskFile()
{
    return new DiskFile;
}

bool WindowServices::FileExists(const char* path)
{
    // Any file the name names counts, also one that cannot be opened for
    // reading: its owner is asked before it is replaced.
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL WindowServices::RunWinHelp(HWND hwnd, const char* path)
{
    return WinHelpA(hwnd, path, HELP_FINDER, 0);
}

BOOL WindowServices::OpenDocument(HWND hwnd, const char* path)
{
    HINSTANCE result = ShellExecuteA(hwnd, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
