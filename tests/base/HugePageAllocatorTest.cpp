#include "base/HugePageAllocator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A vector that grows from the heap onto huge pages and shrinks back keeps
// every element on the way: allocate and deallocate agree on where each
// size lives.
TEST(HugePageAllocatorTest, VectorKeepsItsElementsAcrossTheHugePageSize)
{
    std::vector<long long, HugePageAllocator<long long>> values;
    const size_t count = 3 * HugePageBlock::kPageSize / sizeof(long long) + 7;
    for (size_t i = 0; i < count; ++i)
        values.push_back(static_cast<long long>(i) * 3);
    for (size_t i = 0; i < count; i += 4099)
        ASSERT_EQ(static_cast<long long>(i) * 3, values[i]) << i;
    EXPECT_EQ(static_cast<long long>(count - 1) * 3, values.back());

    values.resize(100);
    values.shrink_to_fit();
    EXPECT_EQ(99 * 3, values.back());
    values.reserve(HugePageBlock::kPageSize); // a block of eight pages
    EXPECT_EQ(99 * 3, values.back());
}

TEST(HugePageAllocatorTest, TooManyElementsThrow)
{
    HugePageAllocator<long long> allocator;
    EXPECT_THROW(allocator.allocate(SIZE_MAX / 4), std::bad_array_new_length);
}

} // namespace
