#ifndef MORVEK_BASE_SOURCEALLOCATOR_H
#define MORVEK_BASE_SOURCEALLOCATOR_H

#include <cstddef>
#include <cstdint>
#include <new>

// A standard allocator over a memory source (MemoryArena, NodePool): a
// container's nodes come from the source, which must outlive the container.
// A source has Allocate(size, alignment), which throws std::bad_alloc as new
// does, and Free(p, size, alignment) with the same size and alignment.
template <typename T, typename Source>
class SourceAllocator {
public:
    typedef T value_type;

// Construction
    explicit SourceAllocator(Source* source) : m_source(source) {}
    template <typename U>
    SourceAllocator(const SourceAllocator<U, Source>& other) : m_source(other.GetSource()) {}
    virtual ~SourceAllocator() {}

// Operations
    virtual T* allocate(size_t n)
    {
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(m_source->Allocate(n * sizeof(T), alignof(T)));
    }
    virtual void deallocate(T* p, size_t n) { m_source->Free(p, n * sizeof(T), alignof(T)); }

// Attributes
    virtual Source* GetSource() const { return m_source; }

private:
    Source* m_source; // not owned
};

template <typename T, typename U, typename Source>
bool operator==(const SourceAllocator<T, Source>& a, const SourceAllocator<U, Source>& b)
{
    return a.GetSource() == b.GetSource();
}

template <typename T, typename U, typename Source>
bool operator!=(const SourceAllocator<T, Source>& a, const SourceAllocator<U, Source>& b)
{
    return !(a == b);
}

#endif
