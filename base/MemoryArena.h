#ifndef MORVEK_BASE_MEMORYARENA_H
#define MORVEK_BASE_MEMORYARENA_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Memory for many small objects that all die together: a track's events and
// the nodes of its event list. Allocation takes the next bytes of the
// current block; nothing is given back one by one, every block is freed when
// the arena goes. Objects placed here are destroyed by their owner, who then
// leaves the memory to the arena. Owns its blocks, so it cannot be copied.
//
// Blocks double in size, so a short track costs little and a long one needs
// few blocks. On Linux the large blocks are mapped on huge-page boundaries
// and offered to the kernel for huge pages: a file of millions of events
// then costs a few hundred page faults instead of tens of thousands. It also
// serves as one large buffer (a file image) that wants the same.
//
// Final, with the common case of Allocate defined here: it runs once for
// every event and every list node of a file.
class MemoryArena final {
public:
// Construction
    MemoryArena();
    virtual ~MemoryArena();
    MemoryArena(const MemoryArena&) = delete;
    MemoryArena& operator=(const MemoryArena&) = delete;

// Operations
    // size bytes aligned to alignment (a power of two, at most that of
    // std::max_align_t); lives as long as the arena. Throws std::bad_alloc
    // when no memory can be had, as new does.
    virtual void* Allocate(size_t size, size_t alignment)
    {
        if (m_next != nullptr) {
            const uintptr_t at = (reinterpret_cast<uintptr_t>(m_next) + alignment - 1) & ~(alignment - 1);
            const uintptr_t end = reinterpret_cast<uintptr_t>(m_end);
            if (at <= end && size <= end - at) {
                char* p = reinterpret_cast<char*>(at);
                m_used += static_cast<size_t>(p + size - m_next);
                m_next = p + size;
                return p;
            }
        }
        return AllocateFromNewBlock(size, alignment);
    }
    // Nothing is given back before the arena goes.
    virtual void Free(void* /*p*/, size_t /*size*/, size_t /*alignment*/) {}

// Attributes
    // Bytes handed out so far, alignment gaps included.
    virtual size_t GetUsed() const;

private:
    struct Block {
        void* base;
        size_t size;
        bool mapped;                                 // from the system's mapping call, not new
    };

    void* AllocateFromNewBlock(size_t size, size_t alignment);
    static void FreeBlock(const Block& block);

    std::vector<Block> m_blocks;                     // owned
    char* m_next;                                    // free part of the last block
    char* m_end;
    size_t m_nextBlockSize;
    size_t m_used;
};

#endif
