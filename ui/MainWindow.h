#ifndef MORVEK_UI_MAINWINDOW_H
#define MORVEK_UI_MAINWINDOW_H

#include <windows.h>
#include <commdlg.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/ConvertSettings.h"
#include "engine/Converter.h"
#include "midi/MidiReadOptions.h"
#include "framework/DialogHandler.h"
#include "framework/ListViewCtrl.h"
#include "ui/MidiFileInfo.h"
#include "ui/PreviewPlayer.h"

class ConversionReport;
class DiskFile;
class MidiFile;
class NoteListSet;

// The program's one window, built from dialog template 3000: file
// information, conversion settings, the MIDI channel list and the part list
// with Add and Remove between them, and the source box. It owns the loaded
// file and its note lists and turns every command into its handler:
// Open (101), Convert (102), Save (103), Add (121), Remove (122) and Voices
// (131 to 138); Help (191), About (192) and Exit (199) are the framework's
// (WindowHandler).
//
// The voice count of List > Voices (1 at start) stays while the program runs
// and applies to every file opened; with two or more the channel column of
// both lists shows each list's channel and voice ("2.1").
//
// Commands are enabled by a state of three bits: Open always; Convert, Add
// and Remove once a supported file is loaded; Save once a conversion
// succeeded. One table in MainWindow.cpp gives each command its handler and
// its bit, for the buttons and the menu alike. Everything the user is told
// is a message box with the window's own caption ("MIDI to MORVEK") as
// title.
//
// Handlers return 0 when they completed and 1 when they stopped early.
// Message boxes, the file dialogs and file access go through virtual
// operations of their own (ShowMessage, RunOpenDialog, RunSaveDialog,
// CreateDiskFile, FileExists), help and About through WindowHandler's
// (OpenHelp, ShowAbout); F1's choice of help goes through RunWinHelp and
// OpenDocument. A file dropped onto the window takes Open's road from the
// chosen name on (OpenFile).
class MainWindow : public DialogHandler {
public:
    // Bits of the command state.
    enum {
        kCanOpen = 1,    // Open
        kCanConvert = 2, // Convert, Add, Remove
        kCanSave = 4,    // Save, Conversion Report, Play, Save Preview as WAV
        kCanStop = 8     // Stop, while a preview plays
    };
    // The timer that ends a preview when its sound has run out.
    enum { kPreviewTimer = 1 };
    enum {
        kPartRowCount = 18,
        kNameSize = 256,    // file name buffers, terminator included
        kTextSize = 256,    // string-table texts and composed captions
        kUnassigned = -1,   // item data of a part row without a list
        kCompleted = 0,     // handler results
        kStopped = 1,
        kCancelled = 2      // a file dialog was cancelled or failed
    };

    // How far a failed Open got (RefuseOpen).
    enum {
        kUnreadableFile, // the file could not be read whole
        kRefusedImage,   // LoadMidiFile refused the image
        kRefusedFile     // the loaded file's format or time base is not taken
    };

// Construction
    MainWindow();
    // Releases the note lists, then the file, through the converter.
    ~MainWindow() override;

// Attributes
    virtual Converter& GetConverter();
    virtual const MidiFile* GetMidiFile() const;
    virtual const NoteListSet* GetNoteListSet() const;
    virtual ListViewCtrl& GetMidiChannelList();
    virtual ListViewCtrl& GetPartList();
    virtual MidiFileInfo& GetFileInfo();
    virtual ConvertSettings& GetSettings();
    virtual const std::string& GetSourceText() const;
    virtual unsigned SetCommandState(unsigned state);
    virtual unsigned GetCommandState() const;
    virtual HWND SetLastFocus(HWND focus);
    virtual HWND GetLastFocus() const;
    // Full path of the last file the converter accepted; null before.
    // SetMidiPath keeps a copy (null clears it) and returns its length.
    virtual int SetMidiPath(const char* path);
    virtual const char* GetMidiPath() const;
    virtual void FreeMidiPath();
    // "caption - path" in the title bar, shortened to fit 255 bytes; the
    // handler's own text (GetText) stays the plain caption. Returns the
    // title bar's previous text.
    virtual std::string SetCaption(const char* path);
    // The player of the previews; the window owns it. Returns the one it
    // replaces (after stopping it).
    virtual std::unique_ptr<PreviewPlayer> SetPreviewPlayer(std::unique_ptr<PreviewPlayer> player);
    virtual PreviewPlayer& GetPreviewPlayer();
    // The manual F1 shows without a help file: the program's folder and
    // string 1258 (manual\ja\index.html or manual\en\index.html).
    virtual std::string SetManualPath(const std::string& path);
    virtual const std::string& GetManualPath() const;

// Window set-up
    // Centres the window on the screen, x on a multiple of 8.
    virtual int CenterWindow(HWND hwnd);
    // Adds strings firstStringId .. + count - 1 to the drop-down list; item
    // i gets item data i. Returns count.
    virtual int FillComboFromStrings(HWND combo, int count, int firstStringId);
    // The three up-down controls beside part count, split step count and
    // first line number.
    virtual int CreateSpinControls(HWND hwnd);
    virtual void ResetFileInfo();
    virtual void ResetSettings();
    virtual BOOL ClearMidiChannelList();
    virtual BOOL ClearPartList();
    virtual void ClearSource();
    // The state after creation and at the start of every confirmed Open.
    virtual void ResetWindow();

// Showing the state
    virtual void ShowFileInfo();
    virtual void ShowSettings();
    virtual void ShowSource();
    // The buttons of the commands, enabled by the command state.
    virtual void UpdateCommandButtons();
    // Whether the command state allows command id (its button and menu item).
    virtual bool IsCommandEnabled(int id) const;
    // One row per note list; returns the number of rows.
    virtual int FillMidiChannelList();
    // kPartRowCount rows "0" .. "17", all unassigned; returns the number.
    virtual int FillPartList();
    // The loaded file's note lists made again with the converter's voice
    // count and shown as Open shows them: assignments cleared, settings and
    // source kept. Returns the number of channel rows.
    virtual int RebuildNoteLists();

// Checks
    virtual bool IsSupportedFormat(int format) const;
    virtual bool IsSupportedTimeBase(int timeBase) const;
    // Reads the five settings from the controls into settings. Shows the
    // message of the first failing check and returns false when a value is
    // out of range.
    virtual bool ReadSettings(HWND hwnd, ConvertSettings& settings);
    // The list ordinal of each of the first partCount part rows.
    virtual std::vector<int> GetAssignment(int partCount) const;
    // The conversion with the shared entry point (Converter::Convert), over
    // the loaded file and the window's note lists; a ConvertResult.
    virtual int RunConversion(const ConvertSettings& settings, const std::vector<int>& assignment,
                              std::string& text);

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
    // Writes exactly size bytes to a new file path (an existing one is
    // replaced). Returns 0, or the Windows error code after telling the user.
    // Writes exactly size bytes to path through a temporary file beside it
    // (SafeFileWriter): an existing file is replaced whole or not at all.
    // Returns 0, or the Windows error code after telling the user.
    virtual unsigned long WriteSourceFile(HWND hwnd, const char* path, const char* bytes,
                                          unsigned long size);
    // A message box naming path, the failure (string messageId) and the
    // system's reason for code.
    virtual int ReportFileError(HWND hwnd, const char* path, int messageId, unsigned long code,
                                const DiskFile& file);

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

// Help
    // F1: the help file (KALTON.HLP beside the program) with WinHelp when it
    // is there; otherwise the manual of the interface's language in the
    // user's browser; otherwise a message naming both files.
    BOOL OpenHelp(HWND hwnd) override;

// Conversion report
    // The report of the last conversion (its file, settings and program) in
    // the report dialog, enabled like Save (F7). From its first use on, every
    // Convert also puts a short notice in the caption when the report of the
    // new program has warnings; until then nothing else changes.
    virtual LRESULT OnReport(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // Computes the report of the last conversion. 0, or 1 when memory ran out.
    virtual int MakeReport(ConversionReport& report);
    // The caption of the loaded file, with the notice when warnings > 0.
    virtual void ShowReportNotice(int warnings);
    // The report dialog over owner (ReportDialogHost).
    virtual int ShowReport(HWND owner, const std::string& text);
    virtual bool IsReportOn() const;

// Command handlers
    virtual LRESULT OnOpen(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnAdd(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnRemove(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // One of the Voices items: the voice count it names, the lists rebuilt.
    virtual LRESULT OnVoices(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // File > Open Leniently: turns lenient opening on or off for the next Open.
    virtual LRESULT OnOpenLeniently(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnConvert(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSave(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // The preview of the source box's text as it is now, edits included,
    // at the loaded file's time base and first tempo: played in the
    // background, stopped, or saved as a WAV file.
    virtual LRESULT OnPlay(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnStop(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSavePreview(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // Resets the window and loads path, as Open does once a name is chosen.
    virtual LRESULT OpenFile(HWND hwnd, const char* path);
    // WM_DROPFILES (wParam is the HDROP): opens the first file as Open
    // does; with several, first tells that one file is opened at a time.
    virtual LRESULT OnDropFiles(HWND hwnd, WPARAM wParam, LPARAM lParam);

// Message handlers
    LRESULT OnCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    // The commands above; Help, About and Exit go on to WindowHandler.
    LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnInitMenu(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    // Also hands the dialog manager's navigation messages, which
    // IsDialogMessageA sends for Tab, the arrow keys, access keys and
    // Enter, to DefDlgProcA.
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Row texts of one note list: No., Tr., Ch., Step from column first on.
    virtual void ShowListColumns(ListViewCtrl& list, int row, int firstColumn, int ordinal);
    virtual std::string LoadText(int id) const;
    virtual int ShowWarning(HWND owner, const std::string& text);
    // path, the failure (string messageId) and the system's reason for code.
    virtual std::string DescribeFileError(const char* path, int messageId, unsigned long code,
                                          const DiskFile& file) const;
    // The WAV image of the source box's text; false after telling the user
    // why there is none.
    virtual bool MakePreview(HWND hwnd, std::string& image);
    // Stops the preview, if one plays, and disables Stop.
    virtual void StopPreview(HWND hwnd);
    // Opens, reads and checks the chosen file; the window is reset already.
    virtual LRESULT LoadFile(HWND hwnd, const char* path);
    // Decides what an Open that failed (kUnreadableFile ...) leaves loaded,
    // then shows text. Returns kStopped.
    virtual LRESULT RefuseOpen(HWND hwnd, int failure, const std::string& text);

    Converter m_converter;
    MidiFile* m_midiFile;       // owned, through m_converter
    NoteListSet* m_noteListSet; // owned, through m_converter
    ListViewCtrl m_midiChannelList;
    ListViewCtrl m_partList;
    MidiFileInfo m_fileInfo;
    ConvertSettings m_settings;
    std::string m_sourceText;
    unsigned m_commandState;
    char* m_midiPath;           // owned
    HWND m_lastFocus;
    std::unique_ptr<PreviewPlayer> m_player;
    // What the last conversion was given, for its report.
    ConvertSettings m_lastSettings;
    std::vector<int> m_lastAssignment;
    int m_lastVoiceCount;
    bool m_reportOn;            // the report command was used
    MidiReadOptions m_reading;  // File > Open Leniently, kept while the program runs
    std::string m_manualPath;
};

#endif
