#ifndef MORVEK_FRAMEWORK_EDITCTRL_H
#define MORVEK_FRAMEWORK_EDITCTRL_H

#include <windows.h>

#include "framework/ControlWnd.h"

// An edit control, usually adopted from a dialog template (see ControlWnd);
// its text goes through ControlWnd's ReadText and WriteText. Each operation
// is one edit message to the wrapped handle.
class EditCtrl : public ControlWnd {
public:
// Construction
    EditCtrl();
    ~EditCtrl() override;

// Attributes
    // The most bytes the user may type; 0 lifts the 32K default to the
    // system's largest.
    virtual void SetLimitText(UINT limit);
    virtual UINT GetLimitText() const;
    virtual int GetLineCount() const;
    virtual BOOL GetModify() const;
    virtual void SetModify(BOOL modified);
    virtual BOOL SetReadOnly(BOOL readOnly);
    // The font the control draws with; null for the system font.
    virtual HFONT GetFont() const;
    // Tab stops in dialog template units (quarters of the average character
    // width); count 0 restores the default of every 32.
    virtual BOOL SetTabStops(int count, const int* stops);

// Operations
    // Selects bytes start .. end - 1; (0, -1) selects everything.
    virtual void SetSel(int start, int end);
    virtual void ReplaceSel(const char* text, BOOL canUndo = FALSE);
};

#endif
