#ifndef MORVEK_FRAMEWORK_UPDOWNCTRL_H
#define MORVEK_FRAMEWORK_UPDOWNCTRL_H

#include <windows.h>
#include <commctrl.h>

#include "framework/ControlWnd.h"

// An up-down control ("msctls_updown32") beside its buddy field. Each
// operation is one up-down message to the wrapped handle; the parent
// destroys the control with its other children.
class UpDownCtrl : public ControlWnd {
public:
// Construction
    UpDownCtrl();
    ~UpDownCtrl() override;

    // Makes the control in the parent window (AttachParent first) with the
    // buddy field, range lower .. upper and position pos; wraps and returns
    // it, null when none was made.
    virtual HWND Create(DWORD style, const RECT& rect, int id, HWND buddy, int lower, int upper, int pos);

// Attributes
    virtual HWND SetBuddy(HWND buddy);      // returns the previous buddy
    virtual HWND GetBuddy() const;
    virtual void SetRange(int lower, int upper);
    virtual void GetRange(int& lower, int& upper) const;
    virtual int SetPos(int pos);            // returns the previous position
    // The position; error, when given, is set nonzero when the buddy's text is no number.
    virtual int GetPos(BOOL* error = nullptr) const;
    // count steps: after each one's seconds, the arrows move by its increment.
    virtual BOOL SetAccel(int count, const UDACCEL* steps);
    virtual int GetAccel(int count, UDACCEL* steps) const; // returns the control's number of steps
};

#endif
