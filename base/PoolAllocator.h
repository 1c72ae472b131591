#ifndef MORVEK_BASE_POOLALLOCATOR_H
#define MORVEK_BASE_POOLALLOCATOR_H

#include <cstddef>
#include <cstdint>
#include <new>

#include "base/NodePool.h"

// A standard allocator over a NodePool, for a linked list whose nodes come
// and go in the thousands: one node at a time comes from the pool, anything
// else from the heap. The pool must outlive the container.
template <typename T>
class PoolAllocator {
public:
    typedef T value_type;

// Construction
    explicit PoolAllocator(NodePool* pool) : m_pool(pool) {}
    template <typename U>
    PoolAllocator(const PoolAllocator<U>& other) : m_pool(other.GetPool()) {}
    virtual ~PoolAllocator() {}

// Operations
    virtual T* allocate(size_t n)
    {
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_array_new_length();
        if (n != 1)
            return static_cast<T*>(::operator new(n * sizeof(T)));
        return static_cast<T*>(m_pool->Allocate(sizeof(T), alignof(T)));
    }
    virtual void deallocate(T* p, size_t n)
    {
        if (n != 1)
            ::operator delete(p);
        else
            m_pool->Free(p, sizeof(T), alignof(T));
    }

// Attributes
    virtual NodePool* GetPool() const { return m_pool; }

private:
    NodePool* m_pool; // not owned
};

template <typename T, typename U>
bool operator==(const PoolAllocator<T>& a, const PoolAllocator<U>& b)
{
    return a.GetPool() == b.GetPool();
}

template <typename T, typename U>
bool operator!=(const PoolAllocator<T>& a, const PoolAllocator<U>& b)
{
    return !(a == b);
}

#endif
