#include "base/NodePool.h"

NodePool::NodePool()
    : m_free(nullptr)
    , m_slotSize(0)
    , m_slotAlignment(0)
    , m_inUse(0)
{
}

NodePool::~NodePool()
{
}

size_t NodePool::GetSlotSize() const
{
    return m_slotSize;
}

size_t NodePool::GetSlotsInUse() const
{
    return m_inUse;
}
