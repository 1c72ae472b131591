#include "midi/MemoryArena.h"

#include <cstdint>
#include <new>

namespace {

// Blocks double from small to large: a short track costs little, a long one
// needs few blocks. Untouched pages of a large block cost no memory.
const size_t kFirstBlockSize = 1024;
const size_t kLargestBlockSize = 1024 * 1024;

}  // namespace

MemoryArena::MemoryArena()
    : m_next(nullptr), m_end(nullptr), m_nextBlockSize(kFirstBlockSize), m_used(0)
{
}

MemoryArena::~MemoryArena()
{
    for (void* block : m_blocks)
        ::operator delete(block);
}

void* MemoryArena::Allocate(size_t size, size_t alignment)
{
    uintptr_t at = (reinterpret_cast<uintptr_t>(m_next) + alignment - 1) & ~(alignment - 1);
    if (m_next != nullptr && at <= reinterpret_cast<uintptr_t>(m_end) &&
        size <= static_cast<size_t>(reinterpret_cast<uintptr_t>(m_end) - at)) {
        char* p = reinterpret_cast<char*>(at);
        m_used += static_cast<size_t>(p + size - m_next);
        m_next = p + size;
        return p;
    }
    return AllocateFromNewBlock(size, alignment);
}

void* MemoryArena::AllocateFromNewBlock(size_t size, size_t alignment)
{
    size_t blockSize = m_nextBlockSize;
    if (blockSize < size + alignment)
        blockSize = size + alignment;
    if (m_blocks.size() == m_blocks.capacity())
        m_blocks.reserve(2 * m_blocks.size() + 8);    // before: push_back must not lose the block
    void* block = ::operator new(blockSize);          // aligned for any fundamental type
    m_blocks.push_back(block);
    if (m_nextBlockSize < kLargestBlockSize)
        m_nextBlockSize *= 2;
    m_next = static_cast<char*>(block);
    m_end = m_next + blockSize;
    return Allocate(size, alignment);
}

size_t MemoryArena::GetUsed() const
{
    return m_used;
}
