#ifndef MORVEK_UI_MAINWINDOW_H
#define MORVEK_UI_MAINWINDOW_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/Converter.h"
#include "framework/EditCtrl.h"
#include "framework/ListViewCtrl.h"
#include "midi/MidiReadOptions.h"
#include "settings/ConvertSettings.h"
#include "ui/ListPanel.h"
#include "ui/MidiFileInfo.h"
#include "ui/PreviewCommands.h"
#include "ui/PreviewPlayer.h"
#include "ui/ReportCommands.h"
#include "ui/SettingsPanel.h"
#include "ui/WindowServices.h"

class MidiFile;
class NoteListSet;

// The program's one window, built from dialog template 3000: file
// information and conversion settings (SettingsPanel), the MIDI channel list
// and the part list with Add and Remove between them (ListPanel), the source
// box, the preview (PreviewCommands) and the conversion report
// (ReportCommands). It owns the loaded file and its note lists, and routes
// every command through one table (MainWindowCommands), which gives each
// command its handler, the command-state bit that enables its button and
// menu item, and its menu mark. OnCommand refuses a disabled command, so no
// handler checks its own enabling. Help (191), About (192) and Exit (199)
// are the framework's (WindowHandler).
//
// How to add a menu command:
//   1. an id in resources/ResourceIds.h and the item in both .rc files;
//   2. a handler LRESULT OnX(HWND, WPARAM, LPARAM) here;
//   3. one row of MainWindowCommands.cpp: {id, &MainWindow::OnX, enabling bits (0:
//      always), mark}. A check mark takes {kCheckMark, &MainWindow::IsXOn};
//      an item of a radio group takes {kRadioMark, &MainWindow::IsXChosen,
//      first id, last id}; the test gets the item's id.
//
// The voice count of List > Voices (1 at start) stays while the program runs
// and applies to every file opened; with two or more the channel column of
// both lists shows each list's channel and voice ("2.1").
//
// Handlers return kCompleted when they completed and kStopped when they
// stopped early. A file dropped onto the window takes Open's road from the
// chosen name on (OpenFile).
class MainWindow : public WindowServices {
public:
    enum { kPreviewTimer = PreviewCommands::kPreviewTimer };

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
    // Full path of the last file the converter accepted; null before.
    // SetMidiPath keeps a copy (null clears it) and returns its length.
    virtual int SetMidiPath(const char* path);
    virtual const char* GetMidiPath() const;
    virtual void FreeMidiPath();
    virtual std::unique_ptr<PreviewPlayer> SetPreviewPlayer(std::unique_ptr<PreviewPlayer> player);
    virtual PreviewPlayer& GetPreviewPlayer();
    virtual bool IsReportOn() const;

// Window state
    // The state after creation and at the start of every confirmed Open.
    virtual void ResetWindow();
    virtual void ShowSource();
    void UpdateCommandButtons() override;
    // Whether the command state allows command id (its button and menu item).
    virtual bool IsCommandEnabled(int id) const;
    // The loaded file's note lists made again with the converter's voice
    // count and shown as Open shows them: assignments cleared, settings and
    // source kept. Returns the number of channel rows.
    virtual int RebuildNoteLists();
    // The conversion with the shared entry point (Converter::Convert), over
    // the loaded file and the window's note lists; a ConvertResult.
    virtual int RunConversion(const ConvertSettings& settings, const std::vector<int>& assignment,
                              ConversionResult& result);

// Command handlers
    virtual LRESULT OnOpen(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnConvert(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSave(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnAdd(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnRemove(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // One of the Voices items: the voice count it names, the lists rebuilt.
    virtual LRESULT OnVoices(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual bool IsVoicesChosen(int id) const;
    // One of the Line Length items: the line limit of the next conversions.
    virtual LRESULT OnLineLength(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual bool IsLineLengthChosen(int id) const;
    // File > Open Leniently: turns lenient opening on or off for the next Open.
    virtual LRESULT OnOpenLeniently(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual bool IsOpenLeniently(int id) const;
    virtual LRESULT OnReport(HWND hwnd, WPARAM wParam, LPARAM lParam);
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
    // The commands above, refused while disabled; Help, About and Exit go
    // on to WindowHandler.
    LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    // Greys the disabled commands and sets every item's mark.
    LRESULT OnInitMenu(HWND hwnd, WPARAM wParam, LPARAM lParam) override;
    // Also hands the dialog manager's navigation messages, which
    // IsDialogMessageA sends for Tab, the arrow keys, access keys and
    // Enter, to DefDlgProcA.
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Opens, reads and checks the chosen file; the window is reset already.
    virtual LRESULT LoadFile(HWND hwnd, const char* path);
    // Decides what an Open that failed (kUnreadableFile ...) leaves loaded,
    // then shows text. Returns kStopped.
    virtual LRESULT RefuseOpen(HWND hwnd, int failure, const std::string& text);

    Converter m_converter;
    MidiFile* m_midiFile;       // owned, through m_converter
    NoteListSet* m_noteListSet; // owned, through m_converter; null after a conversion
    SettingsPanel m_settingsPanel;
    ListPanel m_lists;
    PreviewCommands m_preview;
    ReportCommands m_report;
    EditCtrl m_source;
    std::string m_sourceText;
    char* m_midiPath;           // owned
    MidiReadOptions m_reading;  // File > Open Leniently, kept while the program runs
};

#endif
