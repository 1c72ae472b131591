#include "base/HugePageBlock.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <mutex>
#define MORVEK_HUGE_PAGES 1
#endif

#if defined(MORVEK_HUGE_PAGES)
namespace {

// Blocks given back are kept, up to a limit, for the next Map: their pages
// are already there, so a block used again costs neither a page fault nor
// the clearing of a new page. A conversion frees the file's bytes, and a
// voice split its notes, before it makes most of its records.
class KeptBlocks {
public:
    enum { kSlots = 8 };
    static constexpr size_t kLimit = 64 * 1024 * 1024;

    // A kept block of at least size bytes: the smallest, cut to size, or
    // the largest whole (the rest stays kept); null when none is that
    // large. taken gets the size handed out.
    void* Take(size_t size, bool whole, size_t& taken)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        int best = -1;
        for (int i = 0; i < kSlots; ++i) {
            const size_t have = m_blocks[i].size;
            if (have >= size && (best < 0 || (whole ? have > m_blocks[best].size : have < m_blocks[best].size)))
                best = i;
        }
        if (best < 0)
            return nullptr;
        Block& block = m_blocks[best];
        char* base = static_cast<char*>(block.base);
        taken = whole ? block.size : size;
        block.base = base + taken;
        block.size -= taken;
        m_bytes -= taken;
        return base;
    }
    // Keeps the block; false when there is no room for it.
    bool Keep(void* base, size_t size)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (size > kLimit - m_bytes)
            return false;
        for (Block& block : m_blocks) {
            if (block.size == 0) {
                block.base = base;
                block.size = size;
                m_bytes += size;
                return true;
            }
        }
        return false;
    }

private:
    struct Block {
        void* base;
        size_t size;
    };
    std::mutex m_mutex;
    Block m_blocks[kSlots] = {};
    size_t m_bytes = 0;
};

// Never destroyed: blocks may come back while other statics go.
KeptBlocks& Kept()
{
    static KeptBlocks* kept = new KeptBlocks;
    return *kept;
}

}  // namespace
#endif

void* HugePageBlock::Map(size_t size)
{
#if defined(MORVEK_HUGE_PAGES)
    if (size == 0 || size > SIZE_MAX - kPageSize)
        return nullptr;
    size_t taken = 0;
    if (size % kPageSize == 0) {
        if (void* kept = Kept().Take(size, false, taken))
            return kept;
    }
    // One page more than asked, then the ends trimmed to the boundary.
    void* p = ::mmap(nullptr, size + kPageSize, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(p);
    const uintptr_t aligned = (start + kPageSize - 1) & ~static_cast<uintptr_t>(kPageSize - 1);
    const size_t head = aligned - start;
    if (head > 0)
        ::munmap(p, head);
    if (kPageSize - head > 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), kPageSize - head);
    // Only advice: without huge pages the block works the same.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
#else
    (void)size;
    return nullptr;
#endif
}

void* HugePageBlock::MapAtLeast(size_t least, size_t size, size_t& mapped)
{
#if defined(MORVEK_HUGE_PAGES)
    if (least <= size && size % kPageSize == 0) {
        if (void* kept = Kept().Take(RoundUp(least), true, mapped))
            return kept;
    }
#else
    (void)least;
#endif
    mapped = size;
    return Map(size);
}

void HugePageBlock::Unmap(void* base, size_t size)
{
#if defined(MORVEK_HUGE_PAGES)
    if (base && (size % kPageSize != 0 || !Kept().Keep(base, size)))
        ::munmap(base, size);
#else
    (void)base;
    (void)size;
#endif
}

bool HugePageBlock::IsAvailable()
{
#if defined(MORVEK_HUGE_PAGES)
    return true;
#else
    return false;
#endif
}

size_t HugePageBlock::RoundUp(size_t size)
{
    if (size > SIZE_MAX - (kPageSize - 1))
        return size;
    return (size + kPageSize - 1) & ~static_cast<size_t>(kPageSize - 1);
}

void* HugePageBlock::Allocate(size_t size)
{
    if (!IsMapped(size))
        return ::operator new(size);
    void* p = Map(RoundUp(size));
    if (!p)
        throw std::bad_alloc();
    return p;
}

void HugePageBlock::Free(void* p, size_t size)
{
    if (IsMapped(size))
        Unmap(p, RoundUp(size));
    else
        ::operator delete(p);
}

bool HugePageBlock::IsMapped(size_t size)
{
    return IsAvailable() && size >= kPageSize;
}
