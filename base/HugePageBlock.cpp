#include "base/HugePageBlock.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#define MORVEK_HUGE_PAGES 1
#endif

void* HugePageBlock::Map(size_t size)
{
#if defined(MORVEK_HUGE_PAGES)
    if (size == 0 || size > SIZE_MAX - kPageSize)
        return nullptr;
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

void HugePageBlock::Unmap(void* base, size_t size)
{
#if defined(MORVEK_HUGE_PAGES)
    if (base)
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
