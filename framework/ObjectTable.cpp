#include "framework/ObjectTable.h"

#include <new>
#include <utility>

namespace {

// Index of the first entry of table that match accepts; -1 when none does.
template <typename Match>
int FindEntry(const ObjectTable& table, Match match)
{
    for (int i = 0; i < table.GetCapacity(); ++i) {
        WindowEntry* entry = table.GetAt(i);
        if (entry != nullptr && match(*entry))
            return i;
    }
    return -1;
}

} // namespace

ObjectTable::ObjectTable()
    : m_count(0), m_capacity(0), m_slots(nullptr)
{
}

ObjectTable::~ObjectTable()
{
    Release();
}

int ObjectTable::SetCapacity(int capacity)
{
    return std::exchange(m_capacity, capacity);
}

int ObjectTable::GetCapacity() const
{
    return m_capacity;
}

int ObjectTable::ResetCapacity()
{
    return SetCapacity(0);
}

int ObjectTable::SetCount(int count)
{
    return std::exchange(m_count, count);
}

int ObjectTable::GetCount() const
{
    return m_count;
}

int ObjectTable::IncrementCount()
{
    return m_count++;
}

int ObjectTable::DecrementCount()
{
    return --m_count;
}

WindowEntry** ObjectTable::AllocateSlots(int n)
{
    WindowEntry** slots = new (std::nothrow) WindowEntry*[n > 0 ? n : 1];
    if (slots == nullptr)
        return nullptr;
    m_slots = slots;
    SetCapacity(n);
    ClearSlots();
    return slots;
}

int ObjectTable::Release()
{
    RemoveAll();
    delete[] m_slots;
    m_slots = nullptr;
    ResetCapacity();
    return 0;
}

int ObjectTable::AddEntry(const WindowEntry& entry)
{
    WindowEntry* copy = new (std::nothrow) WindowEntry(entry);
    if (copy == nullptr)
        return -1;
    int index = IndexOf(nullptr);
    if (index < 0) {
        index = AppendEntry(copy);
        if (index < 0) {
            delete copy;
            return -1;
        }
    } else {
        SetAt(index, copy);
    }
    IncrementCount();
    return index;
}

int ObjectTable::AppendEntry(WindowEntry* entry)
{
    int n = GetCapacity();
    WindowEntry** old = m_slots;
    if (AllocateSlots(n + 1) == nullptr)
        return -1;
    for (int i = 0; i < n; ++i)
        m_slots[i] = old[i];
    m_slots[n] = entry;
    delete[] old;
    return n;
}

int ObjectTable::Remove(int index)
{
    if (GetAt(index) != nullptr) {
        FreeEntry(DetachAt(index));
        DecrementCount();
    }
    return 0;
}

int ObjectTable::RemoveAll()
{
    for (int i = 0; i < GetCapacity(); ++i)
        Remove(i);
    return 0;
}

WindowEntry* ObjectTable::DetachAt(int index)
{
    return SetAt(index, nullptr);
}

int ObjectTable::ClearSlots()
{
    for (int i = 0; i < GetCapacity(); ++i)
        DetachAt(i);
    return 0;
}

int ObjectTable::FreeEntry(WindowEntry* entry)
{
    if (entry != nullptr) {
        delete entry->object;
        delete entry;
    }
    return 0;
}

WindowEntry* ObjectTable::SetAt(int index, WindowEntry* entry)
{
    if (index < 0 || index >= m_capacity || m_slots == nullptr)
        return nullptr;
    WindowEntry* old = m_slots[index];
    m_slots[index] = entry;
    return old;
}

WindowEntry* ObjectTable::GetAt(int index) const
{
    if (index < 0 || index >= m_capacity || m_slots == nullptr)
        return nullptr;
    return m_slots[index];
}

WndObject* ObjectTable::GetObjectAt(int index) const
{
    WindowEntry* entry = GetAt(index);
    return entry != nullptr ? entry->object : nullptr;
}

LONG_PTR ObjectTable::GetSpareAt(int index) const
{
    WindowEntry* entry = GetAt(index);
    return entry != nullptr ? entry->spare1 : 0;
}

HWND ObjectTable::GetWindowAt(int index) const
{
    WindowEntry* entry = GetAt(index);
    return entry != nullptr ? entry->window : nullptr;
}

int ObjectTable::IndexOf(const WindowEntry* entry) const
{
    for (int i = 0; i < GetCapacity(); ++i) {
        if (GetAt(i) == entry)
            return i;
    }
    return -1;
}

int ObjectTable::FindObject(const WndObject* object) const
{
    return FindEntry(*this, [object](const WindowEntry& entry) { return entry.object == object; });
}

int ObjectTable::FindSpare(LONG_PTR value) const
{
    return FindEntry(*this, [value](const WindowEntry& entry) { return entry.spare1 == value; });
}

int ObjectTable::FindByWindow(HWND window) const
{
    return FindEntry(*this, [window](const WindowEntry& entry) { return entry.window == window; });
}

int ObjectTable::Broadcast(UINT message, WPARAM wParam, LPARAM lParam)
{
    int remaining = GetCount();
    // The slot is read afresh each time: a WM_CLOSE sent here may remove
    // entries from this very table.
    for (int i = 0; i < GetCapacity(); ++i) {
        HWND window = GetWindowAt(i);
        if (window != nullptr) {
            SendMessageA(window, message, wParam, lParam);
            --remaining;
        }
    }
    return remaining;
}
