#ifndef MORVEK_UI_FILEDIALOG_H
#define MORVEK_UI_FILEDIALOG_H

#include <windows.h>
#include <commdlg.h>

// The record of a common file dialog (GetOpenFileNameA, GetSaveFileNameA):
// the filter list and default extension from the string table, the flags,
// and the file name buffer the dialog reads its proposal from and writes the
// choice to.
//
// 1. Construct it with the two string ids and the flags; SetName proposes
//    a name.
// 2. Run the dialog with BuildRecord(owner), once or again (the record
//    points into this object, so it lives no longer than the object).
// 3. After a run that returned TRUE, GetName is the chosen path.
class FileDialog {
public:
    enum {
        kTextSize = 256, // filter list and extension, terminators included
        kNameSize = 256  // file name buffer, terminator included
    };

// Construction
    FileDialog(HINSTANCE instance, int filterId, int extensionId, DWORD flags);
    virtual ~FileDialog();
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

// Attributes
    // Keeps at most kNameSize - 1 bytes of name, never cutting a double-byte
    // character in two (null empties it); returns the length kept.
    virtual int SetName(const char* name);
    virtual const char* GetName() const;

// Operations
    // The dialog's record over owner: the pre-extension structure size
    // (OPENFILENAME_SIZE_VERSION_400A), the first filter, this object's name
    // buffer and the flags.
    virtual OPENFILENAMEA BuildRecord(HWND owner);

private:
    char m_filter[kTextSize];    // NUL-separated pairs, ending in two NULs
    char m_extension[kTextSize];
    char m_name[kNameSize];
    DWORD m_flags;
};

#endif
