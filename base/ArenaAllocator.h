#ifndef MORVEK_BASE_ARENAALLOCATOR_H
#define MORVEK_BASE_ARENAALLOCATOR_H

#include "base/MemoryArena.h"
#include "base/SourceAllocator.h"

// A container of many small nodes (a track's event list) gets them back to
// back from an arena, without a heap call or a heap header per node. Giving
// memory back does nothing; it returns to the system with the arena.
template <typename T>
using ArenaAllocator = SourceAllocator<T, MemoryArena>;

#endif
