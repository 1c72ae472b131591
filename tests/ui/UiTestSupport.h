#ifndef MORVEK_TESTS_UI_UITESTSUPPORT_H
#define MORVEK_TESTS_UI_UITESTSUPPORT_H

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ActiveTarget.h"
#include "app/MainApp.h"
#include "base/DiskFile.h"
#include "tests/support/FailingDiskFile.h"
#include "ui/MainWindow.h"

// ---- Files --------------------------------------------------------------------

// A folder of its own under the temporary folder, removed with its files
// when the object goes.
class TempFolder {
public:
    TempFolder();
    virtual ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full path of name in the folder, with its trailing backslash kept in
    // between.
    virtual std::string PathOf(const std::string& name) const;
    // Writes bytes to name (replacing it); returns the full path.
    virtual std::string Write(const std::string& name, const std::string& bytes) const;
    virtual std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const;

private:
    std::string m_path;
};

// The whole content of a file; "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool FileIsThere(const std::string& path);

// Standard MIDI File images.
// Format 1: a tempo track, then track 1 with channel 0 (four quarter notes'
// worth of music) and track 2 with channels 1 and 9: three note lists.
std::vector<unsigned char> ThreeListSong(int timeBase, int format = 1);
// A format 0 file with a tempo and no channel message: no note list.
std::vector<unsigned char> SongWithoutNotes(int timeBase);

// The text of string id of the program's table (code page 932).
std::string ProgramString(int id);

// The text of a control of a window.
std::string ControlText(HWND dialog, int id);

// ---- A main window that records what it would show ---------------------------

struct ShownMessage {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};

struct DialogCall {
    DWORD structSize;
    HWND owner;
    std::string filter;     // up to and including the double NUL
    DWORD filterIndex;
    std::string proposal;   // the file buffer as the dialog got it
    DWORD bufferSize;
    DWORD flags;
    std::string defaultExtension;
};

// What a TestMainWindow saw. It lives in the test, so it outlasts the
// handler, which the framework deletes inside WM_DESTROY.
struct UiProbe {
    std::vector<ShownMessage> messages;
    std::deque<int> messageAnswers;      // answers of ShowMessage; IDOK when empty
    bool realMessageBoxes = false;       // MessageBoxA instead of recording only

    std::vector<DialogCall> openCalls;
    std::deque<std::string> openAnswers; // a path, or "" for Cancel; Cancel when empty
    std::vector<DialogCall> saveCalls;
    std::deque<std::string> saveAnswers;
    bool realFileDialogs = false;        // the common dialogs themselves

    std::vector<WORD> commands;          // of menus, keys and buttons
    int helpCalls = 0;
    std::string helpPath;
    bool helpChoice = false;             // F1 chooses as the program does
    std::vector<std::string> helpShown;  // "WinHelp path" or "open path"
    BOOL winHelpResult = TRUE;           // what the viewer and browser report
    BOOL documentResult = TRUE;
    int aboutCalls = 0;

    // Results the next conversions give instead of converting.
    std::deque<int> conversionResults;

    // Makes the DiskFile of each read or write when set.
    std::function<DiskFile*()> diskFileFactory;

    int deleted = 0;
};

class TestMainWindow : public MainWindow {
public:
    explicit TestMainWindow(UiProbe* probe);
    ~TestMainWindow() override;

    int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags) override;
    BOOL RunOpenDialog(OPENFILENAMEA& dialog) override;
    BOOL RunSaveDialog(OPENFILENAMEA& dialog) override;
    BOOL OpenHelp(HWND hwnd) override;
    BOOL RunWinHelp(HWND hwnd, const char* path) override;
    BOOL OpenDocument(HWND hwnd, const char* path) override;
    int ShowAbout(HWND hwnd) override;
    DiskFile* CreateDiskFile() override;
    int RunConversion(const ConvertSettings& settings, const std::vector<int>& assignment,
                      ConversionResult& conversion) override;
    LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) override;

private:
    UiProbe* m_probe;
};

// The program's application, with a TestMainWindow as the main window.
class TestApp : public MainApp {
public:
    explicit TestApp(UiProbe* probe);
    ~TestApp() override;

    MsgHandler* CreateHandler(ClassResources* resources, ActiveTarget* target) override;

private:
    UiProbe* m_probe;
};

// One application with its main window, hidden unless asked, made as
// WinMain makes it. The window class is unregistered again at the end, so
// that the next one can register it.
class AppWindow {
public:
    explicit AppWindow(int showCommand = SW_HIDE, int quitOnDestroy = 0);
    virtual ~AppWindow();
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;

    virtual HWND GetHandle() const;
    // Null once the window is gone.
    virtual TestMainWindow* GetWindow() const;
    virtual TestApp& GetApp();
    virtual UiProbe& GetProbe();
    virtual ActiveTarget& GetTarget();

    // WM_COMMAND with id, as a button or menu item sends it.
    virtual void Command(WORD id);

private:
    UiProbe m_probe;
    ActiveTarget m_target;
    std::unique_ptr<TestApp> m_app;
    HWND m_hwnd;
};

// ---- Modal boxes answered by the test itself ----------------------------------

// Answers the modal dialogs and message boxes that the code under test opens
// on this thread, one step per box in order: a thread timer, dispatched by
// the modal loop, finds each new visible dialog and runs the next step with
// it. A box with no step left is cancelled (IDCANCEL), and any box still
// open forceAfterMs later is closed the same way, so no test waits for a
// person.
class ModalScript {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit ModalScript(std::vector<Step> steps, DWORD forceAfterMs = 15000);
    virtual ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Number of boxes a step was run with.
    virtual int GetStepsRun() const;
    // The text of every message box seen, in order.
    virtual const std::vector<std::string>& GetBoxTexts() const;
    virtual const std::vector<std::string>& GetBoxCaptions() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    virtual void Tick();

    std::vector<Step> m_steps;
    size_t m_next;
    UINT_PTR m_timer;
    HWND m_current;
    DWORD m_seenAt;
    DWORD m_forceAfterMs;
    std::vector<std::string> m_boxTexts;
    std::vector<std::string> m_boxCaptions;
};

// Steps for ModalScript.
// Types path into a file dialog's name box and presses its Open/Save button.
ModalScript::Step ChooseFile(const std::string& path);
// Presses the button with this id (IDOK, IDYES, IDNO, IDCANCEL) of a box.
ModalScript::Step PressButton(int id);

#endif
