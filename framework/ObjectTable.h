#ifndef MORVEK_FRAMEWORK_OBJECTTABLE_H
#define MORVEK_FRAMEWORK_OBJECTTABLE_H

#include "framework/WindowEntry.h"
#include "framework/WndObject.h"

// A table of windows and the handlers it owns. A null slot is free; new
// entries take the first free slot, and the table grows one slot at a time
// when there is none. Searches scan every slot from 0 and skip free ones.
// Removing an entry deletes its handler through the virtual destructor.
class ObjectTable : public WndObject {
public:
// Construction
    ObjectTable();
    ~ObjectTable() override;

// Attributes
    virtual int SetCapacity(int capacity);
    virtual int GetCapacity() const;
    virtual int ResetCapacity();
    virtual int SetCount(int count);
    virtual int GetCount() const;
    virtual int IncrementCount(); // returns the old count
    virtual int DecrementCount(); // returns the new count

// Storage
    // A new array of n free slots, now the table's; the old array is the
    // caller's to free. Null (and nothing changed) when memory runs out.
    virtual WindowEntry** AllocateSlots(int n);
    virtual int Release();

// Operations
    // Adds a copy of entry; returns its index, or -1 when memory runs out.
    virtual int AddEntry(const WindowEntry& entry);
    // Grows the table by one slot and puts entry (owned) there; returns the
    // index, or -1 when memory runs out (entry is then still the caller's).
    virtual int AppendEntry(WindowEntry* entry);
    virtual int Remove(int index);
    virtual int RemoveAll();
    virtual WindowEntry* DetachAt(int index);
    virtual int ClearSlots();
    virtual int FreeEntry(WindowEntry* entry);
    virtual WindowEntry* SetAt(int index, WindowEntry* entry);
    virtual WindowEntry* GetAt(int index) const;
    virtual WndObject* GetObjectAt(int index) const;
    virtual LONG_PTR GetSpareAt(int index) const;
    virtual HWND GetWindowAt(int index) const;

// Searches: the first matching index, or -1
    virtual int IndexOf(const WindowEntry* entry) const; // null: first free slot
    virtual int FindObject(const WndObject* object) const;
    virtual int FindSpare(LONG_PTR value) const;
    virtual int FindByWindow(HWND window) const;

    // Sends the message to every entry's window; returns the count less
    // the number of windows it was sent to.
    virtual int Broadcast(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int m_count;
    int m_capacity;
    WindowEntry** m_slots; // owned array; the entries it holds are owned too
};

#endif
