#include "ui/ReportDialog.h"

#include <cstring>

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

LRESULT ReportDialog::OnInitDialog(HWND hwnd, WPARAM, LPARAM)
{
    CenterOverParent(hwnd);
    HINSTANCE instance = GetInstance();
    SetWindowTextA(hwnd, LoadText(instance, kStrReportCaption).c_str());
    SetDlgItemTextA(hwnd, IDC_REPORT_COPY, LoadText(instance, kStrReportCopy).c_str());
    SetDlgItemTextA(hwnd, IDOK, LoadText(instance, kStrReportOk).c_str());
    SetDlgItemTextA(hwnd, IDC_REPORT_TEXT, m_boxText.c_str());
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
