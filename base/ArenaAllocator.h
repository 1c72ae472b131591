#ifndef MORVEK_BASE_ARENAALLOCATOR_H
#define MORVEK_BASE_ARENAALLOCATOR_H

#include <cstddef>
#include <cstdint>
#include <new>

#include "base/MemoryArena.h"

// A standard allocator that takes its memory from a MemoryArena: a container
// of many small nodes (a track's event list) gets them back to back, without
// a heap call or a heap header per node. Giving memory back does nothing; it
// returns to the system with the arena, which must outlive the container.
template <typename T>
class ArenaAllocator {
public:
    typedef T value_type;

// Construction
    explicit ArenaAllocator(MemoryArena* arena) : m_arena(arena) {}
    template <typename U>
    ArenaAllocator(const ArenaAllocator<U>& other) : m_arena(other.GetArena()) {}
    virtual ~ArenaAllocator() {}

// Operations
    virtual T* allocate(size_t n)
    {
        if (n > SIZE_MAX / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(m_arena->Allocate(n * sizeof(T), alignof(T)));
    }
    virtual void deallocate(T* /*p*/, size_t /*n*/) {}

// Attributes
    virtual MemoryArena* GetArena() const { return m_arena; }

private:
    MemoryArena* m_arena;                            // not owned
};

template <typename T, typename U>
bool operator==(const ArenaAllocator<T>& a, const ArenaAllocator<U>& b)
{
    return a.GetArena() == b.GetArena();
}

template <typename T, typename U>
bool operator!=(const ArenaAllocator<T>& a, const ArenaAllocator<U>& b)
{
    return !(a == b);
}

#endif
