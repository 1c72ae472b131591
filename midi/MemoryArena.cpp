#include "midi/MemoryArena.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#define MORVEK_HUGE_PAGES 1
#endif

namespace {

const size_t kFirstBlockSize = 1024;
#if defined(MORVEK_HUGE_PAGES)
const size_t kHugePageSize = 2 * 1024 * 1024;
const size_t kLastSmallBlockSize = 64 * 1024;
// Untouched pages of a block cost no memory, so large blocks waste nothing
// but address space.
const size_t kLargestBlockSize = 32 * 1024 * 1024;
#else
const size_t kLargestBlockSize = 1024 * 1024;
#endif

#if defined(MORVEK_HUGE_PAGES)
// size bytes (a multiple of kHugePageSize) on a huge-page boundary, advised
// for huge pages; null when the system refuses the mapping.
void* MapHugeBlock(size_t size)
{
    void* p = ::mmap(nullptr, size + kHugePageSize, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(p);
    const uintptr_t aligned = (start + kHugePageSize - 1) & ~(kHugePageSize - 1);
    const size_t head = aligned - start;
    if (head > 0)
        ::munmap(p, head);
    if (kHugePageSize - head > 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), kHugePageSize - head);
    // Only advice: without huge pages the block works the same.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}
#endif

}  // namespace

MemoryArena::MemoryArena()
    : m_next(nullptr), m_end(nullptr), m_nextBlockSize(kFirstBlockSize), m_used(0)
{
}

MemoryArena::~MemoryArena()
{
    for (const Block& block : m_blocks)
        FreeBlock(block);
}

void MemoryArena::FreeBlock(const Block& block)
{
#if defined(MORVEK_HUGE_PAGES)
    if (block.mapped) {
        ::munmap(block.base, block.size);
        return;
    }
#endif
    ::operator delete(block.base);
}

void* MemoryArena::AllocateFromNewBlock(size_t size, size_t alignment)
{
    if (size > SIZE_MAX / 2 - alignment)
        throw std::bad_alloc();
    size_t blockSize = m_nextBlockSize;
    if (blockSize < size + alignment)
        blockSize = size + alignment;
    if (m_blocks.size() == m_blocks.capacity())
        m_blocks.reserve(2 * m_blocks.size() + 8);    // before: push_back must not lose the block

    Block block = {nullptr, blockSize, false};
#if defined(MORVEK_HUGE_PAGES)
    if (blockSize >= kHugePageSize) {
        block.size = (blockSize + kHugePageSize - 1) & ~(kHugePageSize - 1);
        block.base = MapHugeBlock(block.size);
        block.mapped = block.base != nullptr;
    }
#endif
    if (block.base == nullptr) {
        block.size = blockSize;
        block.base = ::operator new(blockSize);       // aligned for any fundamental type
    }
    m_blocks.push_back(block);
    if (m_nextBlockSize < kLargestBlockSize)
        m_nextBlockSize *= 2;
#if defined(MORVEK_HUGE_PAGES)
    // Past the small blocks of a short track, straight on to huge pages:
    // the blocks in between would each cost a page fault per 4 KB.
    if (m_nextBlockSize > kLastSmallBlockSize && m_nextBlockSize < kHugePageSize)
        m_nextBlockSize = kHugePageSize;
#endif
    m_next = static_cast<char*>(block.base);
    m_end = m_next + block.size;
    return Allocate(size, alignment);
}

size_t MemoryArena::GetUsed() const
{
    return m_used;
}
