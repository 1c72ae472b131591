#ifndef MORVEK_UI_WINDOWSERVICES_H
#define MORVEK_UI_WINDOWSERVICES_H

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/DialogHandler.h"

class DiskFile;

// What every part of the main window asks of the window: its texts, its
// message boxes, the file dialogs and file writes, and the command state;
// and the frame's own behaviour: centring, the caption, the focus kept
// across activation, and F1's help.
// The platform calls are one virtual operation each, so that tests answer
// them (ShowMessage, RunOpenDialog, RunSaveDialog, CreateDiskFile,
// FileExists, RunWinHelp, OpenDocument). Everything the user is told is a
// message box with the window's own caption as title.
class WindowServices : public DialogHandler {
public:
    // Bits of the command state.
    enum {
        kCanOpen = 1,    // Open
        kCanConvert = 2, // Convert, Add, Remove
        kCanSave = 4,    // Save, Conversion Report, Play, Save Preview as WAV
        kCanStop = 8     // Stop, while a preview plays
    };
    enum {
        kNameSize = 256,    // file name buffers, terminator included
        kTextSize = 256,    // string-table texts and composed captions
        kCompleted = 0,     // handler results
        kStopped = 1,
        kCancelled = 2      // a file dialog was cancelled or failed
    };

// Construction
    WindowServices();
    ~WindowServices() override;

// The frame
    // Centres the window on the screen, x on a multiple of 8.
    virtual int CenterWindow(HWND hwnd);
    // "caption - path" in the title bar, shortened to fit 255 bytes; the
    // handler's own text (GetText) stays the plain caption. Returns the
    // title bar's previous text.
    virtual std::string SetCaption(const char* path);
    virtual HWND SetLastFocus(HWND focus);
    virtual HWND GetLastFocus() const;
    // The manual F1 shows without a help file: the program's folder and
    // string 1258 (manual\ja\index.html or manual\en\index.html).
    virtual std::string SetManualPath(const std::string& path);
    virtual const std::string& GetManualPath() const;
    // F1: the help file (KALTON.HLP beside the program) with WinHelp when it
    // is there; otherwise the manual of the interface's language in the
    // user's browser; otherwise a message naming both files.
    BOOL OpenHelp(HWND hwnd) override;
    // Keeps the focused control when the window is left and gives it back,
    // if it still exists, when the window is active again.
    LRESULT OnActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) override;

// Command state
    virtual unsigned SetCommandState(unsigned state);
    virtual unsigned GetCommandState() const;
    // The buttons of the commands, enabled by the command state.
    virtual void UpdateCommandButtons();

// Texts and messages
    virtual std::string LoadText(int id) const;
    virtual int ShowWarning(HWND owner, const std::string& text);
    // path, the failure (string messageId) and the system's reason for code.
    virtual std::string DescribeFileError(const char* path, int messageId, unsigned long code,
                                          const DiskFile& file) const;
    virtual int ReportFileError(HWND hwnd, const char* path, int messageId, unsigned long code,
                                const DiskFile& file);

// File dialogs and files
    // The open dialog for a MIDI file, proposing name. 0 with the chosen
    // path in name (at most capacity - 1 bytes), or kCancelled.
    virtual int AskOpenFileName(HWND owner, char* name, int capacity);
    // The save dialog for a text file, proposing name, with the program's
    // own question before an existing file is replaced: Yes takes the name,
    // No opens the dialog again, Cancel ends. 0 or kCancelled.
    virtual int AskSaveFileName(HWND owner, char* name, int capacity);
    // The same for the file type of the string table's filter and
    // extension texts filterId and extensionId.
    virtual int AskSaveFileNameOfType(HWND owner, int filterId, int extensionId, char* name,
                                      int capacity);
    // Writes exactly size bytes to path through a temporary file beside it
    // (SafeFileWriter): an existing file is replaced whole or not at all.
    // Returns 0, or the Windows error code after telling the user.
    virtual unsigned long WriteSourceFile(HWND hwnd, const char* path, const char* bytes,
                                          unsigned long size);

// Platform calls, one operation each
    // MessageBoxA over owner; returns the button pressed (0 when it failed).
    virtual int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);
    virtual BOOL RunOpenDialog(OPENFILENAMEA& dialog);
    virtual BOOL RunSaveDialog(OPENFILENAMEA& dialog);
    // A new DiskFile for one read or write; the caller deletes it.
    virtual DiskFile* CreateDiskFile();
    virtual bool FileExists(const char* path);
    // WinHelpA with HELP_FINDER.
    virtual BOOL RunWinHelp(HWND hwnd, const char* path);
    // ShellExecuteA "open": the user's browser for a page.
    virtual BOOL OpenDocument(HWND hwnd, const char* path);

private:
    unsigned m_commandState;
    HWND m_lastFocus;
    std::string m_manualPath;
};

#endif
