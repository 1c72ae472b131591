#include "base/MemoryArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Piece {
    unsigned char* at;
    size_t size;
};

struct ArenaCase {
    size_t size;
    size_t alignment;
    int count;
};

class MemoryArenaTest : public ::testing::TestWithParam<ArenaCase> {};

// Every piece is aligned, and what is written into one piece is still there
// after all the others were handed out and filled.
TEST_P(MemoryArenaTest, PiecesAreAlignedAndApart)
{
    const ArenaCase c = GetParam();
    MemoryArena arena;
    std::vector<Piece> pieces;
    for (int i = 0; i < c.count; ++i) {
        // Sizes vary around the case's size, so blocks fill unevenly.
        size_t size = c.size + static_cast<size_t>(i % 3);
        unsigned char* p = static_cast<unsigned char*>(arena.Allocate(size, c.alignment));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % c.alignment);
        std::memset(p, i & 0xFF, size);
        pieces.push_back(Piece{p, size});
    }
    size_t total = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        total += pieces[i].size;
        for (size_t b = 0; b < pieces[i].size; ++b)
            ASSERT_EQ(static_cast<unsigned char>(i & 0xFF), pieces[i].at[b]) << i;
    }
    EXPECT_GE(arena.GetUsed(), total);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MemoryArenaTest, ::testing::Values(
    ArenaCase{1, 1, 5000},
    ArenaCase{3, 1, 5000},
    ArenaCase{24, 8, 20000},                         // list nodes
    ArenaCase{40, 8, 20000},                         // events
    ArenaCase{5, 16, 3000},
    ArenaCase{1000, 8, 50},                          // about the first block
    ArenaCase{3 * 1024 * 1024, 8, 3}));              // above the largest block

TEST(MemoryArenaUseTest, NewArenaHasHandedOutNothing)
{
    MemoryArena arena;
    EXPECT_EQ(0u, arena.GetUsed());
    arena.Allocate(10, 1);
    EXPECT_EQ(10u, arena.GetUsed());
}

}  // namespace
