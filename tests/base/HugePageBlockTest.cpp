#include "base/HugePageBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

const size_t kPage = HugePageBlock::kPageSize;

TEST(HugePageBlockTest, RoundUpGivesWholePages)
{
    const struct {
        size_t size, expected;
    } cases[] = {
        { 0, 0 }, { 1, kPage }, { kPage - 1, kPage }, { kPage, kPage }, { kPage + 1, 2 * kPage },
        { SIZE_MAX, SIZE_MAX }, // would wrap: unchanged, and Map refuses it
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, HugePageBlock::RoundUp(c.size)) << c.size;
}

// A mapped block starts on a page boundary and every byte of it can be
// written and read back; where the system has no huge pages Map says so.
TEST(HugePageBlockTest, BlocksAreAlignedAndWholeOrNull)
{
    for (size_t pages : { 1u, 3u }) {
        const size_t size = pages * kPage;
        unsigned char* p = static_cast<unsigned char*>(HugePageBlock::Map(size));
        if (!HugePageBlock::IsAvailable()) {
            EXPECT_EQ(nullptr, p);
            continue;
        }
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % kPage);
        std::memset(p, 0x5A, size);
        EXPECT_EQ(0x5A, p[0]);
        EXPECT_EQ(0x5A, p[size - 1]);
        HugePageBlock::Unmap(p, size);
    }
    EXPECT_EQ(nullptr, HugePageBlock::Map(0));
    EXPECT_EQ(nullptr, HugePageBlock::Map(SIZE_MAX));
}

// A block given back is handed out again, pages and bytes as they were:
// Map takes the smallest kept block that serves it, MapAtLeast the largest
// whole. Earlier tests may have left smaller blocks kept.
TEST(HugePageBlockTest, BlocksGivenBackAreHandedOutAgain)
{
    if (!HugePageBlock::IsAvailable())
        GTEST_SKIP() << "no huge pages here";
    const size_t size = 9 * kPage;
    unsigned char* p = static_cast<unsigned char*>(HugePageBlock::Map(size));
    ASSERT_NE(nullptr, p);
    p[size - 1] = 0x77;
    HugePageBlock::Unmap(p, size);
    EXPECT_EQ(p, HugePageBlock::Map(size));
    EXPECT_EQ(0x77, p[size - 1]);
    HugePageBlock::Unmap(p, size);
    size_t mapped = 0;
    EXPECT_EQ(p, HugePageBlock::MapAtLeast(1, kPage, mapped));
    EXPECT_EQ(size, mapped);
    HugePageBlock::Unmap(p, mapped);
}

// Buffers below, at and above one huge page come from the heap or the
// mapping, and Free must agree with Allocate on which: every byte of each
// is usable and giving it back leaves nothing behind (the sanitizers watch).
TEST(HugePageBlockTest, BuffersOnEitherSideOfAPageAreWholeAndFreed)
{
    for (size_t size : { size_t(1), kPage - 1, kPage, 3 * kPage + 7 }) {
        unsigned char* p = static_cast<unsigned char*>(HugePageBlock::Allocate(size));
        ASSERT_NE(nullptr, p);
        std::memset(p, 0x5A, size);
        EXPECT_EQ(0x5A, p[size - 1]) << size;
        HugePageBlock::Free(p, size);
    }
}

} // namespace
