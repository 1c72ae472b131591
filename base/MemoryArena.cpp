#include "base/MemoryArena.h"

#include <cstdint>
#include <new>

#include "base/HugePageBlock.h"

namespace {

const size_t kFirstBlockSize = 1024;
const size_t kLastSmallBlockSize = 64 * 1024;
// With huge pages, untouched pages of a block cost no memory, so large
// blocks waste nothing but address space.
const size_t kLargestMappedBlockSize = 32 * 1024 * 1024;
const size_t kLargestHeapBlockSize = 1024 * 1024;

size_t GetLargestBlockSize()
{
    return HugePageBlock::IsAvailable() ? kLargestMappedBlockSize : kLargestHeapBlockSize;
}

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
    if (block.mapped) {
        HugePageBlock::Unmap(block.base, block.size);
        return;
    }
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
    if (HugePageBlock::IsAvailable() && blockSize >= HugePageBlock::kPageSize) {
        block.base = HugePageBlock::MapAtLeast(size + alignment, HugePageBlock::RoundUp(blockSize), block.size);
        block.mapped = block.base != nullptr;
    }
    if (block.base == nullptr) {
        block.size = blockSize;
        block.base = ::operator new(blockSize);       // aligned for any fundamental type
    }
    m_blocks.push_back(block);
    if (m_nextBlockSize < GetLargestBlockSize())
        m_nextBlockSize *= 2;
    // Past the small blocks of a short track, straight on to huge pages:
    // the blocks in between would each cost a page fault per 4 KB.
    if (HugePageBlock::IsAvailable() && m_nextBlockSize > kLastSmallBlockSize &&
        m_nextBlockSize < HugePageBlock::kPageSize)
        m_nextBlockSize = HugePageBlock::kPageSize;
    m_next = static_cast<char*>(block.base);
    m_end = m_next + block.size;
    return Allocate(size, alignment);
}

size_t MemoryArena::GetUsed() const
{
    return m_used;
}
