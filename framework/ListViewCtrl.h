#ifndef MORVEK_FRAMEWORK_LISTVIEWCTRL_H
#define MORVEK_FRAMEWORK_LISTVIEWCTRL_H

#include <windows.h>
#include <commctrl.h>

#include "framework/ControlWnd.h"

// A report-view list-view control ("SysListView32"), usually adopted from a
// dialog template (see ControlWnd). Each operation is one list-view message
// sent to the wrapped handle, or a small composition of them. Columns come
// from column tables in the resources (LoadColumns).
class ListViewCtrl : public ControlWnd {
public:
// Construction
    ListViewCtrl();
    // Destroys the image lists this control still holds; not the control.
    ~ListViewCtrl() override;

    // Makes a new report-view control (id 211) in the parent window.
    virtual void Create();
    // Gives the control an image list of count icons, ids firstIconId on;
    // kind is LVSIL_NORMAL or LVSIL_SMALL. 0, or 1 when no list was made.
    virtual int CreateImageList(int count, int cx, int cy, int kind, int firstIconId);

// Items
    virtual int GetItemCount() const;
    virtual int InsertItem(const LVITEMA* item);
    // A row at index with text in its first column and data as its item
    // data; returns the row's index, -1 when it was not inserted.
    virtual int InsertItem(int index, const char* text, LPARAM data);
    virtual BOOL SetItem(const LVITEMA* item);
    virtual BOOL GetItem(LVITEMA* item) const;
    virtual BOOL DeleteItem(int index);
    virtual BOOL DeleteAllItems();
    // Focuses and selects the row; a single-selection list drops the old one.
    virtual BOOL SelectItem(int index);
    virtual int GetFocusedItem() const; // -1 when no row has the focus
    virtual LPARAM GetFocusedItemData() const;
    virtual int GetSelectedCount() const;
    virtual int GetNextItem(int start, int flags) const;
    virtual BOOL SetItemData(int index, LPARAM data);
    virtual LPARAM GetItemData(int index) const; // 0 for a missing row
    virtual int FindItem(const LVFINDINFOA* info) const;
    virtual int FindItemByData(LPARAM data) const;
    virtual BOOL ClearItemState(int index);
    // The text of one cell; subItem 0 is the first column.
    virtual BOOL SetItemText(int index, int subItem, const char* text);
    virtual BOOL ClearItemText(int index, int subItem);

// Columns
    // Inserts the columns of column table id (RCDATA: a 16-bit count, then
    // width, LVCFMT format and title string id per column, little-endian) at
    // indices 0 on. Returns the number of columns inserted: 0 when the table
    // is missing; records cut off by the table's end are not read.
    virtual int LoadColumns(int id);
    virtual int InsertColumn(int index, const LVCOLUMNA* column);
    virtual BOOL SetColumn(int index, const LVCOLUMNA* column);
    virtual BOOL GetColumn(int index, LVCOLUMNA* column) const;
    virtual int GetColumnCount() const;
    virtual BOOL HasColumn(int index) const;

// Scrolling and hit testing
    virtual BOOL EnsureVisible(int index, BOOL partialOk);
    virtual int HitTest(LVHITTESTINFO* info) const;
};

#endif
