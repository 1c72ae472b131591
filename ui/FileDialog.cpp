#include "ui/FileDialog.h"

#include <cstring>

#include "ui/AnsiText.h"

FileDialog::FileDialog(HINSTANCE instance, int filterId, int extensionId, DWORD flags)
    : m_flags(flags)
{
    // Zero-filled, so that the NUL-separated filter list ends in two NULs.
    std::memset(m_filter, 0, sizeof m_filter);
    std::memset(m_extension, 0, sizeof m_extension);
    std::memset(m_name, 0, sizeof m_name);
    LoadStringA(instance, static_cast<UINT>(filterId), m_filter, sizeof m_filter);
    LoadStringA(instance, static_cast<UINT>(extensionId), m_extension, sizeof m_extension);
}

FileDialog::~FileDialog()
{
}

int FileDialog::SetName(const char* name)
{
    if (name == nullptr) {
        m_name[0] = '\0';
        return 0;
    }
    return CopyAnsi(m_name, sizeof m_name, name);
}

const char* FileDialog::GetName() const
{
    return m_name;
}

OPENFILENAMEA FileDialog::BuildRecord(HWND owner)
{
    OPENFILENAMEA record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A; // without the later extensions
    record.hwndOwner = owner;
    record.lpstrFilter = m_filter;
    record.nFilterIndex = 1;
    record.lpstrFile = m_name;
    record.nMaxFile = sizeof m_name;
    record.Flags = m_flags;
    record.lpstrDefExt = m_extension;
    return record;
}
