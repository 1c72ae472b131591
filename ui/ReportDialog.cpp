#include "ui/ReportDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "text/Texts.h"
#include "resources/ResourceIds.h"

namespace {

std::string LoadText(HINSTANCE instance, int id)
{
    char text[256] = "";
    const int length = LoadStringA(instance, static_cast<UINT>(id), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

} // namespace

ReportDialog::ReportDialog(const std::string& text)
{
    m_boxText.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            m_boxText += '\r';
        m_boxText += c;
    }
}

ReportDialog::~ReportDialog()
{
}

const std::string& ReportDialog::GetBoxText() const
{
    return m_boxText;
}

int ReportDialog::CopyToClipboard(HWND hwnd)
{
    if (!OpenClipboard(hwnd))
        return 1;
    int result = 1;
    // The clipboard owns the memory once SetClipboardData took it.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, m_boxText.size() + 1);
    if (memory != nullptr) {
        void* bytes = GlobalLock(memory);
        if (bytes != nullptr) {
            std::memcpy(bytes, m_boxText.c_str(), m_boxText.size() + 1);
            GlobalUnlock(memory);
            EmptyClipboard();
            if (SetClipboardData(CF_TEXT, memory) != nullptr) {
                memory = nullptr;
                result = 0;
            }
        }
        if (memory != nullptr)
            GlobalFree(memory);
    }
    CloseClipboard();
    return result;
}

int ReportDialog::SetColumnStops(EditCtrl& box)
{
    HDC dc = GetDC(box.GetHandle());
    if (dc == nullptr)
        return 0;
    HGDIOBJ oldFont = SelectObject(dc, box.GetFont());
    // The edit control counts tab stops in quarters of the font's average
    // character width, taken as dialogs take it.
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size = {};
    GetTextExtentPoint32A(dc, kLetters, 52, &size);
    const int average = (size.cx / 26 + 1) / 2;
    // The widest cell per column; a line's last cell ends at no stop.
    std::vector<int> widths;
    for (size_t start = 0; start < m_boxText.size();) {
        size_t end = std::min(m_boxText.find('\r', start), m_boxText.size());
        size_t column = 0;
        for (size_t cell = start, tab; (tab = m_boxText.find('\t', cell)) < end; cell = tab + 1, ++column) {
            GetTextExtentPoint32A(dc, m_boxText.c_str() + cell, static_cast<int>(tab - cell), &size);
            if (widths.size() <= column)
                widths.push_back(0);
            widths[column] = std::max(widths[column], static_cast<int>(size.cx));
        }
        start = end + 2;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(box.GetHandle(), dc);
    if (widths.empty() || average <= 0)
        return 0;
    std::vector<int> stops;
    int x = 0;
    for (int width : widths) {
        x += width + 2 * average;
        stops.push_back((x * 4 + average - 1) / average);
    }
    box.SetTabStops(static_cast<int>(stops.size()), stops.data());
    return static_cast<int>(stops.size());
}

LRESULT ReportDialog::OnInitDialog(HWND hwnd, WPARAM, LPARAM)
{
    CenterOverParent(hwnd);
    HINSTANCE instance = GetInstance();
    SetWindowTextA(hwnd, LoadText(instance, kStrReportCaption).c_str());
    SetDlgItemTextA(hwnd, IDC_REPORT_COPY, LoadText(instance, kStrReportCopy).c_str());
    SetDlgItemTextA(hwnd, IDOK, LoadText(instance, kStrReportOk).c_str());
    EditCtrl box;
    box.AttachItem(hwnd, instance, IDC_REPORT_TEXT);
    SetColumnStops(box);
    box.WriteText(m_boxText.c_str());
    // OK has the focus, not the box: its text would show all selected.
    SetFocus(GetDlgItem(hwnd, IDOK));
    return 1;
}

LRESULT ReportDialog::OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_REPORT_COPY) {
        CopyToClipboard(hwnd);
        return 0;
    }
    return ModalDialog::OnCommand(hwnd, wParam, lParam);
}
