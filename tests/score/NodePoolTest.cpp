#include "base/NodePool.h"

#include "score/NoteList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

namespace {

TEST(NodePoolTest, FreedSlotIsTheNextOneHandedOut)
{
    NodePool pool;
    void* a = pool.Allocate(48, 8);
    void* b = pool.Allocate(48, 8);
    EXPECT_EQ(48u, pool.GetSlotSize());
    EXPECT_EQ(2u, pool.GetSlotsInUse());
    pool.Free(a, 48, 8);
    EXPECT_EQ(1u, pool.GetSlotsInUse());
    EXPECT_EQ(a, pool.Allocate(48, 8));
    pool.Free(b, 48, 8);
    pool.Free(a, 48, 8);
    EXPECT_EQ(0u, pool.GetSlotsInUse());
}

TEST(NodePoolTest, OtherSizesComeFromTheHeapAndGoBackThere)
{
    NodePool pool;
    void* slot = pool.Allocate(32, 8);
    void* other = pool.Allocate(100, 8);
    void* aligned = pool.Allocate(32, 16);
    EXPECT_EQ(1u, pool.GetSlotsInUse());
    std::memset(other, 0xAB, 100);
    pool.Free(other, 100, 8);                        // ASan checks it went to the heap
    pool.Free(aligned, 32, 16);
    pool.Free(slot, 32, 8);
    pool.Free(nullptr, 32, 8);
    EXPECT_EQ(0u, pool.GetSlotsInUse());
}

// Slots stay apart and aligned while many come and go in a mixed order.
TEST(NodePoolTest, ManySlotsStayApart)
{
    NodePool pool;
    std::vector<unsigned char*> live;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 20000; ++i) {
            unsigned char* p = static_cast<unsigned char*>(pool.Allocate(48, 16));
            ASSERT_EQ(0u, reinterpret_cast<uintptr_t>(p) % 16);
            std::memset(p, static_cast<int>(live.size() & 0xFF), 48);
            live.push_back(p);
        }
        // Give back every third one.
        std::vector<unsigned char*> kept;
        for (size_t i = 0; i < live.size(); ++i) {
            if (i % 3 == 0)
                pool.Free(live[i], 48, 16);
            else
                kept.push_back(live[i]);
        }
        live.swap(kept);
    }
    std::set<unsigned char*> distinct(live.begin(), live.end());
    EXPECT_EQ(live.size(), distinct.size());
    EXPECT_EQ(live.size(), pool.GetSlotsInUse());
    for (unsigned char* p : live)
        pool.Free(p, 48, 16);
    EXPECT_EQ(0u, pool.GetSlotsInUse());
}

// Lists of one set share the set's pool: one list's records outlive another
// list that is cleared and destroyed.
TEST(NodePoolTest, ListsSharingAPoolKeepTheirOwnRecords)
{
    NodePool pool;
    NoteList kept(&pool);
    {
        NoteList dropped(&pool);
        for (int i = 0; i < 1000; ++i) {
            kept.Append(NoteRecord(60 + i % 12, i + 1));
            dropped.Append(NoteRecord(kRestNote, 5));
        }
        dropped.Quantize(12);                        // rounds some records away, moves others
    }
    for (int i = 0; i < 500; ++i)
        kept.Append(NoteRecord(kRestNote, 7));
    EXPECT_EQ(1500, kept.GetRecordCount());
    EXPECT_EQ(1500u, pool.GetSlotsInUse());
    int i = 0;
    for (NoteList::Position p = kept.Begin(); p != kept.End(); ++p, ++i) {
        if (i < 1000) {
            ASSERT_EQ(60 + i % 12, p->GetNote());
            ASSERT_EQ(i + 1, p->GetLength());
        } else {
            ASSERT_EQ(7, p->GetLength());
        }
    }
}

}  // namespace
