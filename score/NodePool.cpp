#include "score/NodePool.h"

#include <new>

NodePool::NodePool()
    : m_free(nullptr)
    , m_slotSize(0)
    , m_slotAlignment(0)
    , m_inUse(0)
{
}

NodePool::~NodePool()
{
}

void* NodePool::Allocate(size_t size, size_t alignment)
{
    if (m_slotSize == 0 && size >= sizeof(FreeSlot) && alignment >= alignof(FreeSlot)) {
        m_slotSize = size;
        m_slotAlignment = alignment;
    }
    if (size != m_slotSize || alignment != m_slotAlignment)
        return ::operator new(size);
    void* p;
    if (m_free) {
        p = m_free;
        m_free = m_free->next;
    } else {
        p = m_arena.Allocate(size, m_slotAlignment);
    }
    ++m_inUse;
    return p;
}

void NodePool::Free(void* p, size_t size, size_t alignment)
{
    if (!p)
        return;
    if (size != m_slotSize || alignment != m_slotAlignment) {
        ::operator delete(p);
        return;
    }
    FreeSlot* slot = static_cast<FreeSlot*>(p);
    slot->next = m_free;
    m_free = slot;
    --m_inUse;
}

size_t NodePool::GetSlotSize() const
{
    return m_slotSize;
}

size_t NodePool::GetSlotsInUse() const
{
    return m_inUse;
}
