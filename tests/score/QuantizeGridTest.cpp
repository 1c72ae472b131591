#include "score/QuantizeGrid.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>

#include "score/NoteList.h"

namespace {

// The grid's remainders give the same steps as the division, carries
// included, for units and lengths from one tick to past 32 bits.
TEST(QuantizeGridTest, StepsMatchTheDivision)
{
    std::mt19937_64 random(7);
    const long long units[] = {1, 2, 3, 7, 60, 480, 1920, 65535, INT_MAX, 0xFFFFFFFFLL, 0x100000000LL, 1LL << 40};
    const long long edges[] = {0, 1, 2, INT_MAX, 0xFFFFFFFFLL, 0x100000000LL, 1LL << 45};
    for (long long unit : units) {
        const QuantizeGrid grid(unit);
        for (int i = 0; i < 20000; ++i) {
            const long long length = i < 7 ? edges[i] : static_cast<long long>(random() % (1ULL << (i % 40 + 1)));
            long long carry = static_cast<long long>(random() % static_cast<uint64_t>(unit)) - unit / 2;
            long long gridCarry = carry;
            ASSERT_EQ(QuantizeStep(length, unit, carry), QuantizeStep(length, grid, gridCarry))
                << "unit " << unit << " length " << length;
            ASSERT_EQ(carry, gridCarry) << "unit " << unit << " length " << length;
        }
    }
}

} // namespace
