#ifndef MORVEK_BASE_POOLALLOCATOR_H
#define MORVEK_BASE_POOLALLOCATOR_H

#include "base/NodePool.h"
#include "base/SourceAllocator.h"

// A linked list whose nodes come and go in the thousands takes them from a
// pool: a node given back is the next one handed out.
template <typename T>
using PoolAllocator = SourceAllocator<T, NodePool>;

#endif
