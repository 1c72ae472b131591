#include "base/PageBuffer.h"

#include "base/HugePageBlock.h"

namespace {

// Below this a fresh huge page costs more to clear than the 4 KB pages
// it saves faulting in.
const size_t kHugeFrom = 256 * 1024;

} // namespace

PageBuffer::PageBuffer() : m_data(nullptr), m_size(0)
{
}

PageBuffer::~PageBuffer()
{
    Release();
}

void* PageBuffer::Reset(size_t size)
{
    Release();
    if (size == 0)
        size = 1;
    const size_t asked =
        HugePageBlock::IsAvailable() && size >= kHugeFrom ? HugePageBlock::RoundUp(size) : size;
    m_data = HugePageBlock::Allocate(asked);
    m_size = asked;
    return m_data;
}

void PageBuffer::Release()
{
    if (m_data)
        HugePageBlock::Free(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

void* PageBuffer::Get() const
{
    return m_data;
}
