#ifndef MORVEK_BASE_HUGEPAGEBLOCK_H
#define MORVEK_BASE_HUGEPAGEBLOCK_H

#include <cstddef>

// Blocks of megabytes on huge-page boundaries, offered to the kernel for
// huge pages: touching such a block costs a page fault per 2 MB instead of
// one per 4 KB. Only where the system has them (Linux); elsewhere
// IsAvailable is false and callers take the heap.
class HugePageBlock final {
public:
    enum { kPageSize = 2 * 1024 * 1024 };

// Operations
    // size bytes (a multiple of kPageSize) on a huge-page boundary, not
    // cleared; null when the system refuses the mapping or has no huge pages.
    static void* Map(size_t size);
    // The largest kept block, whole, when it has at least least bytes,
    // otherwise Map(size): for a caller that uses every byte it gets and
    // needs no more than least. mapped gets the block's size.
    static void* MapAtLeast(size_t least, size_t size, size_t& mapped);
    // Gives back what Map returned, with the same size (MapAtLeast: mapped).
    // Up to 64 MB of blocks given back are kept for the next Map, whose
    // pages are then already there.
    static void Unmap(void* base, size_t size);

    // A buffer of size bytes filled once and never grown: on huge pages from
    // one huge page up where the system has them, from the heap below that
    // or where it has none. Throws std::bad_alloc when no memory can be had.
    static void* Allocate(size_t size);
    // Gives back what Allocate returned, with the same size.
    static void Free(void* p, size_t size);

// Attributes
    static bool IsAvailable();
    // size rounded up to whole huge pages; size itself when that would wrap.
    static size_t RoundUp(size_t size);

private:
    // The same answer for the same size in Allocate and Free.
    static bool IsMapped(size_t size);
};

#endif
