#ifndef MIDI_MEMORYARENA_H
#define MIDI_MEMORYARENA_H

#include <cstddef>
#include <vector>

// Memory for many small objects that all die together: a track's events and
// the nodes of its event list. Allocation takes the next bytes of the
// current block; nothing is given back one by one, every block is freed when
// the arena goes. Objects placed here are destroyed by their owner, who then
// leaves the memory to the arena. Owns its blocks, so it cannot be copied.
class MemoryArena {
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
    virtual void* Allocate(size_t size, size_t alignment);

// Attributes
    // Bytes handed out so far, alignment gaps included.
    virtual size_t GetUsed() const;

private:
    void* AllocateFromNewBlock(size_t size, size_t alignment);

    std::vector<void*> m_blocks;                     // owned
    char* m_next;                                    // free part of the last block
    char* m_end;
    size_t m_nextBlockSize;
    size_t m_used;
};

#endif
