#include "framework/AboutDialog.h"

#include <cstdio>
#include <cstring>
#include <new>

#include <shellapi.h>

#include "resources/ResourceIds.h"
#include "resources/StringIds.h"

namespace {

const int kStringBufferSize = 256;
const LRESULT kCursorSet = 16;

// A value of the version resource's US English table; empty when missing.
const char* QueryVersionString(const void* block, const char* key)
{
    char path[64];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\040904E4\\%s", key);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, path, &value, &length) || value == nullptr || length == 0)
        return "";
    return static_cast<const char*>(value);
}

} // namespace

AboutDialog::AboutDialog()
    : m_linkRect(), m_hover(0), m_linkText()
{
}

AboutDialog::~AboutDialog()
{
}

RECT AboutDialog::GetLinkRect() const
{
    return m_linkRect;
}

int AboutDialog::GetHover() const
{
    return m_hover;
}

const char* AboutDialog::GetLinkText() const
{
    return m_linkText;
}

int AboutDialog::SetHover(HWND hwnd, int hover)
{
    int old = m_hover;
    if (hover != old) {
        m_hover = hover;
        // Repaint only the link, without erasing it first.
        InvalidateRect(hwnd, &m_linkRect, FALSE);
        if (hover == 1) {
            // Hit tests stop when the pointer leaves the box; ask to be told.
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
        }
    }
    return old;
}

LRESULT AboutDialog::OnInitDialog(HWND hwnd, WPARAM, LPARAM)
{
    CenterOverParent(hwnd);

    HINSTANCE instance = GetInstance();
    std::memset(m_linkText, 0, sizeof m_linkText);
    LoadStringA(instance, kStrWebPage, m_linkText, sizeof m_linkText);
    char prefix[kStringBufferSize] = "";
    char suffix[kStringBufferSize] = "";
    char fileName[kStringBufferSize] = "";
    LoadStringA(instance, kStrAboutPrefix, prefix, sizeof prefix);
    LoadStringA(instance, kStrAboutSuffix, suffix, sizeof suffix);
    LoadStringA(instance, kStrProgramFile, fileName, sizeof fileName);

    // The placeholder only marks where the link goes.
    SetRectEmpty(&m_linkRect);
    HWND marker = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    RECT r;
    if (marker != nullptr && GetWindowRect(marker, &r)) {
        POINT topLeft = {r.left, r.top};
        POINT bottomRight = {r.right, r.bottom};
        ScreenToClient(hwnd, &topLeft);
        ScreenToClient(hwnd, &bottomRight);
        SetRect(&m_linkRect, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
        DestroyWindow(marker);
    }
    m_hover = 0;

    // The program file is named without a folder: the search for a bare
    // module name looks in the program's own folder first.
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0)
        return 0;
    char* block = new (std::nothrow) char[size];
    if (block == nullptr)
        return 0;
    if (GetFileVersionInfoA(fileName, 0, size, block)) {
        SetWindowTextA(GetDlgItem(hwnd, IDC_ABOUT_COPYRIGHT), QueryVersionString(block, "LegalCopyright"));
        const char* name = QueryVersionString(block, "ProductName");
        const char* version = QueryVersionString(block, "ProductVersion");
        char text[kStringBufferSize];
        std::snprintf(text, sizeof text, "%s ver.%s", name, version);
        SetWindowTextA(GetDlgItem(hwnd, IDC_ABOUT_PRODUCT), text);
        std::snprintf(text, sizeof text, "%s%s%s", prefix, name, suffix);
        SetWindowTextA(hwnd, text);
    }
    delete[] block;
    return 0;
}

LRESULT AboutDialog::OnPaint(HWND hwnd, WPARAM, LPARAM)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);

    // The link is the default GUI font, underlined.
    TEXTMETRICA tm = {};
    char face[LF_FACESIZE] = "";
    HGDIOBJ previous = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(hdc, &tm);
    GetTextFaceA(hdc, sizeof face, face);
    SelectObject(hdc, previous);

    LOGFONTA lf = {};
    lf.lfHeight = tm.tmHeight;
    lf.lfItalic = tm.tmItalic;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = tm.tmStruckOut;
    lf.lfCharSet = tm.tmCharSet;
    lf.lfPitchAndFamily = tm.tmPitchAndFamily;
    lstrcpynA(lf.lfFaceName, face, sizeof lf.lfFaceName);
    HFONT font = CreateFontIndirectA(&lf);
    if (font != nullptr)
        previous = SelectObject(hdc, font);

    SetTextColor(hdc, m_hover == 1 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
    // Clip explicitly: some renderers draw the underline of a cut text past
    // the rectangle that DrawText was given.
    int saved = SaveDC(hdc);
    IntersectClipRect(hdc, m_linkRect.left, m_linkRect.top, m_linkRect.right, m_linkRect.bottom);
    DrawTextA(hdc, m_linkText, lstrlenA(m_linkText), &m_linkRect, DT_SINGLELINE);
    RestoreDC(hdc, saved);

    if (font != nullptr) {
        SelectObject(hdc, previous);
        DeleteObject(font);
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT AboutDialog::OnHitTest(HWND hwnd, WPARAM, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(hwnd, &point);
    SetHover(hwnd, PtInRect(&m_linkRect, point) ? 1 : 0);
    return 0;
}

LRESULT AboutDialog::OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    // Over a child control (the OK button) the pointer is off the link even
    // when it got there too fast for a hit test on the dialog itself.
    if (reinterpret_cast<HWND>(wParam) != hwnd) {
        SetHover(hwnd, 0);
        return 0;
    }
    if (m_hover != 1)
        return 0;
    HCURSOR cursor = LoadCursorA(nullptr, IDC_HAND);
    if (cursor == nullptr)
        cursor = LoadCursorA(nullptr, IDC_UPARROW);
    SetCursor(cursor);
    UINT mouseMessage = HIWORD(lParam);
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_LBUTTONDBLCLK)
        OpenLink(hwnd);
    return kCursorSet;
}

LRESULT AboutDialog::OnMouseLeave(HWND hwnd, WPARAM, LPARAM)
{
    SetHover(hwnd, 0);
    return 0;
}

int AboutDialog::OpenLink(HWND hwnd)
{
    // A failure is not reported: the box stays as it is. A link without a
    // scheme names a file beside the program, wherever it was started from.
    char target[MAX_PATH + kStringBufferSize] = "";
    if (std::strstr(m_linkText, "://") == nullptr) {
        DWORD length = GetModuleFileNameA(nullptr, target, MAX_PATH);
        char* slash = length > 0 && length < MAX_PATH ? std::strrchr(target, '\\') : nullptr;
        if (slash != nullptr)
            slash[1] = '\0';
        else
            target[0] = '\0';
    }
    std::strncat(target, m_linkText, sizeof target - std::strlen(target) - 1);
    ShellExecuteA(hwnd, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

INT_PTR AboutDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterOverParent(hwnd);
        return HandleInitDialog(hwnd, wParam, lParam) == 0 ? TRUE : FALSE;
    case WM_PAINT:
        return OnPaint(hwnd, wParam, lParam) == 0 ? TRUE : FALSE;
    case WM_NCHITTEST:
        // Only watches the pointer. The dialog manager still does the hit
        // test, or the caption could not be dragged and a click on the link
        // would arrive as a non-client click.
        OnHitTest(hwnd, wParam, lParam);
        return FALSE;
    case WM_SETCURSOR:
        if (OnSetCursor(hwnd, wParam, lParam) == kCursorSet) {
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_MOUSELEAVE:
        OnMouseLeave(hwnd, wParam, lParam);
        return FALSE;
    case WM_COMMAND:
        return OnCommand(hwnd, wParam, lParam) == 0 ? TRUE : FALSE;
    default:
        return FALSE;
    }
}
