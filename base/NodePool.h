#ifndef MORVEK_BASE_NODEPOOL_H
#define MORVEK_BASE_NODEPOOL_H

#include <cstddef>
#include <new>

#include "base/MemoryArena.h"

// Memory for the nodes of one linked list: slots of one size, handed out back
// to back from large blocks, and taken back into a free list for the next
// node, so a list that grows and shrinks in its passes costs no heap call per
// node. The slot size is set by the first Allocate. Every block goes back to
// the system with the pool. Owns its blocks, so it cannot be copied.
//
// Final, with Allocate and Free defined here: they run for every record a
// conversion makes or drops.
class NodePool final {
public:
// Construction
    NodePool();
    virtual ~NodePool();
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;

// Operations
    // A slot of size bytes aligned to alignment (a power of two, at most
    // that of std::max_align_t). A size other than the pool's slot size comes
    // from the heap. Throws std::bad_alloc when no memory can be had.
    virtual void* Allocate(size_t size, size_t alignment)
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
    // Gives back what Allocate returned for that size and alignment.
    virtual void Free(void* p, size_t size, size_t alignment)
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

// Attributes
    virtual size_t GetSlotSize() const;              // 0 before the first Allocate
    virtual size_t GetSlotsInUse() const;

private:
    struct FreeSlot {
        FreeSlot* next;
    };

    MemoryArena m_arena;
    FreeSlot* m_free;
    size_t m_slotSize;
    size_t m_slotAlignment;
    size_t m_inUse;
};

#endif
