#ifndef MORVEK_FRAMEWORK_WINDOWHANDLER_H
#define MORVEK_FRAMEWORK_WINDOWHANDLER_H

#include "framework/MsgHandler.h"

class ActiveTarget;
class ClassResources;

// The message handler of a top-level window. GenericWndProc or
// DialogWndProc hands it every message once the window is bound; WindowProc
// routes the ones below to one function each and gives the rest to
// DefWindowProcA. Handlers and hooks return 0 when they handled the message.
//
// Life: the creator makes the handler and calls AttachApp; the window
// procedure runs HandleCreate (ending in OnCreate); WM_DESTROY runs
// HandleDestroy (starting with OnDestroy), after which the owning table
// deletes the handler. A handler whose own window is destroyed from inside
// one of its handlers (Exit, WM_CLOSE) is gone when DestroyWindow returns.
class WindowHandler : public MsgHandler {
public:
// Construction
    WindowHandler();
    ~WindowHandler() override;

// Attributes
    virtual ClassResources* SetClassResources(ClassResources* resources);
    virtual ClassResources* GetClassResources() const;
    virtual ActiveTarget* SetActiveTarget(ActiveTarget* target);
    virtual ActiveTarget* GetActiveTarget() const;
    virtual HACCEL SetAccelerators(HACCEL accelerators);
    virtual HACCEL GetAccelerators() const;
    // Both borrowed: the application owns them.
    virtual int AttachApp(ClassResources* resources, ActiveTarget* target);

// Help file
    // Program folder + the help file name of string 1004 ("KALTON.HLP").
    virtual int BuildHelpPath();
    virtual int SetHelpPath(const char* path);
    virtual const char* GetHelpPath() const;
    virtual void FreeHelpPath();
    // The program's folder with its trailing backslash, cut to size - 1
    // characters; returns the length written.
    virtual int GetProgramDirectory(char* buffer, int size);

// Creation
    // Takes handle, instance, class name and caption from cs; returns cs.
    virtual CREATESTRUCTA* TakeCreateInfo(HWND hwnd, WPARAM wParam, CREATESTRUCTA* cs);
    // Valid only while the window is being created; null otherwise.
    virtual CREATESTRUCTA* GetCreateInfo() const;
    // Makes hwnd and its accelerators the loop's target; returns the old window.
    virtual HWND UpdateActiveTarget(HWND hwnd, ActiveTarget* target, HACCEL accelerators);

// Operations
    // Runs the About box over hwnd.
    virtual int ShowAbout(HWND hwnd);
    // The help file's contents (WinHelpA with HELP_FINDER); FALSE without
    // a help path.
    virtual BOOL OpenHelp(HWND hwnd);

// Message handlers
    // Help, About and Exit, the commands every window of the program has.
    virtual LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnInitMenu(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSize(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // lParam is the window's CREATESTRUCTA.
    virtual LRESULT HandleCreate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCreate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT HandleDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnClose(HWND hwnd, WPARAM wParam, LPARAM lParam);

    virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    ClassResources* m_classResources; // borrowed
    ActiveTarget* m_activeTarget;     // borrowed
    HACCEL m_accelerators;
    char* m_helpPath;                 // owned
    CREATESTRUCTA* m_createInfo;      // borrowed, during creation only
};

#endif
