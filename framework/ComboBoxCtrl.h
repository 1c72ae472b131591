#ifndef MORVEK_FRAMEWORK_COMBOBOXCTRL_H
#define MORVEK_FRAMEWORK_COMBOBOXCTRL_H

#include <windows.h>

#include "framework/ControlWnd.h"

// A combo box, usually a drop-down list adopted from a dialog template (see
// ControlWnd). Each operation is one combo-box message to the wrapped handle.
class ComboBoxCtrl : public ControlWnd {
public:
// Construction
    ComboBoxCtrl();
    ~ComboBoxCtrl() override;

// Attributes
    virtual int GetCount() const;
    virtual int GetCurSel() const;          // CB_ERR without a selection
    virtual int SetCurSel(int index);       // -1 clears it; CB_ERR for a missing item
    virtual LPARAM GetItemData(int index) const;
    virtual int SetItemData(int index, LPARAM data);

// Operations
    // Returns the new item's index (a sorted box places it), or CB_ERR / CB_ERRSPACE.
    virtual int AddString(const char* text);
    virtual int InsertString(int index, const char* text);
    virtual int DeleteString(int index);
    virtual void ResetContent();
    // AddString, then data as the new item's data; returns the index.
    virtual int AddItem(const char* text, LPARAM data);
    // Item data of the selected item; -1 without a selection.
    virtual LPARAM GetSelectedItemData() const;
};

#endif
