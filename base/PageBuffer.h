#ifndef MORVEK_BASE_PAGEBUFFER_H
#define MORVEK_BASE_PAGEBUFFER_H

#include <cstddef>

// A buffer for one pass over a large input, taken whole and given back
// whole. From a few hundred kilobytes up it takes huge pages where the
// system has them, often a block given back earlier whose pages are still
// there: where a page fault costs microseconds, a buffer of a megabyte on
// 4 KB pages costs hundreds of them. Below that, and elsewhere, the heap.
class PageBuffer final {
public:
// Construction
    PageBuffer();
    ~PageBuffer();
    PageBuffer(const PageBuffer&) = delete;
    PageBuffer& operator=(const PageBuffer&) = delete;

// Operations
    // Room for size bytes, aligned for any fundamental type and not
    // cleared; what the buffer held is given back first. Throws
    // std::bad_alloc when no memory can be had.
    void* Reset(size_t size);
    void Release();

// Attributes
    void* Get() const;

private:
    void* m_data;
    size_t m_size; // as asked of HugePageBlock::Allocate
};

#endif
