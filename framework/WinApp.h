#ifndef MORVEK_FRAMEWORK_WINAPP_H
#define MORVEK_FRAMEWORK_WINAPP_H

#include "framework/ObjectTable.h"

class ActiveTarget;
class ClassResources;
class MsgHandler;
struct CreateRecord;

// The application object: loads the window class name (string 1000) and
// caption (string 1001), lets a running instance take over instead of
// starting twice, registers the window class with icons, cursor, menu and
// accelerators, creates the main window with its handler and runs the
// message loop. Its table holds one entry per window it created and owns
// that window's handler.
//
// How to use (WinMain does this):
//   1. Init(instance, target); a nonzero result means: leave, no window.
//   2. CreateWindowAndHandler(showCommand, 0, 0, 1, null); null: leave.
//   3. Run(&msg); the exit code is msg.wParam.
//   4. Delete the application, then the ActiveTarget.
//
// This base makes a plain overlapped window run by GenericWndProc; DialogApp
// builds the main window from a dialog template instead.
class WinApp : public ObjectTable {
public:
    // Results of Init.
    enum {
        kInitReady = 0,
        kInitNoClass = 1,          // the window class could not be registered
        kInitOtherInstance = 0x8000 // another instance runs and was activated
    };
    enum { kStringSize = 256 };

// Construction
    WinApp();
    // Closes every window still in the table, then frees the class resources.
    ~WinApp() override;

// Attributes
    // The application owns the class resources; the previous ones go back to
    // the caller.
    virtual ClassResources* SetClassResources(ClassResources* resources);
    virtual ClassResources* GetClassResources() const;
    // Borrowed: WinMain owns the target.
    virtual ActiveTarget* SetActiveTarget(ActiveTarget* target);
    virtual ActiveTarget* GetActiveTarget() const;

// Operations
    virtual int Init(HINSTANCE instance, ActiveTarget* target);
    // The class atom, or 0.
    virtual ATOM RegisterWindowClass(ClassResources* resources);
    // Registers the application's class with the given procedure and extra
    // window bytes; the rest comes from resources. The class atom, or 0.
    virtual ATOM RegisterClassWith(ClassResources* resources, WNDPROC procedure, int extraBytes);
    // The new window, shown with showCommand; null when it could not be made.
    virtual HWND CreateMainWindow(int showCommand, CreateRecord* record, HWND parent);
    // Runs the message loop until WM_QUIT (or an error of GetMessageA, which
    // leaves a zeroed message); out receives the last message.
    virtual MSG* Run(MSG* out);
    // GetMessageA for the loop: nonzero for a message, 0 for WM_QUIT, -1 for
    // an error.
    virtual BOOL GetNextMessage(MSG* msg);
    // The loop's step after the accelerators: nonzero when msg was taken
    // for window's keyboard navigation. None here.
    virtual BOOL TranslateNavigation(HWND window, MSG* msg);
    // Creates the handler and its window and adds them to the table. Null
    // when no window came to life; the handler is then deleted here.
    virtual HWND CreateWindowAndHandler(int showCommand, LONG_PTR spare2, LONG_PTR spare1,
                                        int quitOnDestroy, HWND parent);
    virtual BOOL DestroyAppWindow(HWND window);
    // WM_CLOSE to the window of every table entry.
    virtual int CloseAll();
    // Icons 501, the arrow cursor, the button-face background, and the menu
    // and accelerator table named by string 1002. The caller owns it.
    virtual ClassResources* CreateClassResources(HINSTANCE instance);
    // A new handler attached to resources and target; the caller owns it.
    virtual MsgHandler* CreateHandler(ClassResources* resources, ActiveTarget* target);
    // The main window of a running instance, restored when minimised and
    // brought to the front otherwise; null when none runs.
    virtual HWND ActivateExistingInstance(const char* className);

private:
    ClassResources* m_classResources; // owned
    ActiveTarget* m_activeTarget;     // borrowed
};

#endif
