#ifndef MORVEK_TESTS_FRAMEWORK_WINDOWTESTSUPPORT_H
#define MORVEK_TESTS_FRAMEWORK_WINDOWTESTSUPPORT_H

#include <windows.h>

#include <functional>
#include <string>

class ListViewCtrl;

// The test program itself: the module whose resources the tests load.
HINSTANCE TestModule();

// The test program's folder, with its trailing backslash.
std::string TestProgramDirectory();

// A top-level window at the given screen rectangle, to be the parent of
// dialogs and controls; hidden unless asked (under Wine without a window
// manager, every visible window that goes away costs seconds).
// Destroyed with the object.
class ParentWindow {
public:
    ParentWindow(int x, int y, int width, int height, bool visible = false);
    virtual ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    virtual HWND GetHandle() const;

private:
    HWND m_hwnd;
};

// Lets a test act on the modal dialog it is about to open, so that no test
// ever waits for a person. Create it before the call that runs the modal
// loop: a thread timer, dispatched by that loop, finds the dialog once it is
// visible and calls the action with it. The action inspects the dialog and
// ends it (posts a command, a key, WM_CLOSE). A dialog still open
// forceAfterMs (three seconds unless told) later is ended with
// EndDialog(dialog, kForcedEnd).
class DialogWatcher {
public:
    static const INT_PTR kForcedEnd = -2;
    using Action = std::function<void(HWND dialog)>;

    explicit DialogWatcher(Action action, DWORD forceAfterMs = 3000);
    virtual ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    virtual bool Acted() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    virtual void Tick();

    Action m_action;
    UINT_PTR m_timer;
    HWND m_dialog;
    DWORD m_actedAt;
    DWORD m_forceAfterMs;
};

// What ends a modal dialog from outside, as a person would.
enum class DialogEnd { kOkCommand, kCancelCommand, kEnterKey, kEscapeKey, kCloseMessage };
void EndDialogBy(HWND dialog, DialogEnd how);
const char* DialogEndName(DialogEnd how);

// The text of a window, as the ANSI calls give it (code page 932).
std::string WindowText(HWND hwnd);

// Takes a WM_QUIT waiting in the thread's queue; false when none waits.
bool TakeQuitMessage();

// The text of a list's cell; "<none>" when the list gives no such cell.
std::string CellText(const ListViewCtrl& list, int row, int column);

#endif
