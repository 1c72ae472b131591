#ifndef MORVEK_BASE_HUGEPAGEALLOCATOR_H
#define MORVEK_BASE_HUGEPAGEALLOCATOR_H

#include <cstddef>
#include <cstdint>
#include <new>

#include "base/HugePageBlock.h"

// A standard allocator for a vector of megabytes that is filled once per
// track: from huge pages where the system has them (see HugePageBlock),
// from the heap below a huge page or where it has none.
template <typename T>
class HugePageAllocator {
public:
    typedef T value_type;

// Construction
    HugePageAllocator() {}
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) {}
    virtual ~HugePageAllocator() {}

// Operations
    virtual T* allocate(size_t n)
    {
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (!IsMapped(bytes))
            return static_cast<T*>(::operator new(bytes));
        void* p = HugePageBlock::Map(HugePageBlock::RoundUp(bytes));
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    virtual void deallocate(T* p, size_t n)
    {
        const size_t bytes = n * sizeof(T);
        if (IsMapped(bytes))
            HugePageBlock::Unmap(p, HugePageBlock::RoundUp(bytes));
        else
            ::operator delete(p);
    }

private:
    // The same answer for the same size in allocate and deallocate.
    static bool IsMapped(size_t bytes)
    {
        return HugePageBlock::IsAvailable() && bytes >= HugePageBlock::kPageSize;
    }
};

template <typename T, typename U>
bool operator==(const HugePageAllocator<T>&, const HugePageAllocator<U>&)
{
    return true;
}

template <typename T, typename U>
bool operator!=(const HugePageAllocator<T>&, const HugePageAllocator<U>&)
{
    return false;
}

#endif
