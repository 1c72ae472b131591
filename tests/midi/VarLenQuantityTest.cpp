#include "midi/VarLenQuantity.h"

#include <gtest/gtest.h>

#include <vector>

#include "gen/SmfBuilder.h"

namespace {

struct DecodeCase {
    std::vector<unsigned char> bytes;
    int32_t value;
    int count;
};

class VarLenDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(VarLenDecodeTest, DecodesValueAndByteCount)
{
    const DecodeCase& c = GetParam();
    VarLenQuantity q;
    EXPECT_EQ(c.count, q.Decode(c.bytes.data(), c.bytes.data() + c.bytes.size()));
    EXPECT_EQ(c.value, q.GetValue());
    EXPECT_EQ(c.count, q.GetByteCount());
}

INSTANTIATE_TEST_SUITE_P(Boundaries, VarLenDecodeTest, ::testing::Values(
    DecodeCase{{0x00}, 0, 1},
    DecodeCase{{0x7F}, 127, 1},
    DecodeCase{{0x81, 0x00}, 128, 2},
    DecodeCase{{0x83, 0x60}, 480, 2},
    DecodeCase{{0xFF, 0x7F}, 0x3FFF, 2},
    DecodeCase{{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF, 4},
    DecodeCase{{0x81, 0x80, 0x80, 0x80, 0x00}, 0x10000000, 5},
    // Only the low 32 bits of a long quantity remain.
    DecodeCase{{0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, -1, 5},
    DecodeCase{{0x81, 0x80, 0x80, 0x80, 0x80, 0x05}, 5, 6},
    // Bytes after the quantity are not its business.
    DecodeCase{{0x40, 0x90, 0x3C}, 0x40, 1}));

TEST(VarLenQuantityTest, QuantityCutOffByLimitLeavesValueAlone)
{
    const unsigned char bytes[] = {0x83, 0x60};
    VarLenQuantity q;
    q.SetValue(7);
    for (int size = 0; size < 2; ++size) {
        EXPECT_EQ(0, q.Decode(bytes, bytes + size)) << size;
        EXPECT_EQ(7, q.GetValue());
        EXPECT_EQ(1, q.GetByteCount());
    }
    EXPECT_EQ(0, q.Decode(nullptr, nullptr));
}

TEST(VarLenQuantityTest, EncodeAgreesWithBuilderAndDecode)
{
    const uint32_t values[] = {0, 1, 0x7F, 0x80, 0x3FFF, 0x4000, 0x1FFFFF, 0x200000,
                               0x0FFFFFFF, 0x10000000, 0xFFFFFFFFu};
    for (uint32_t v : values) {
        VarLenQuantity q;
        unsigned char out[5] = {};
        int count = q.Encode(static_cast<int32_t>(v), out);
        std::vector<uint8_t> expected = SmfBuilder::EncodeVarLen(v);
        ASSERT_EQ(static_cast<int>(expected.size()), count) << v;
        EXPECT_EQ(expected, std::vector<uint8_t>(out, out + count)) << v;
        EXPECT_EQ(count, q.Encode(static_cast<int32_t>(v), nullptr));
        VarLenQuantity back;
        EXPECT_EQ(count, back.Decode(out, out + count));
        EXPECT_EQ(static_cast<int32_t>(v), back.GetValue());
    }
}

TEST(VarLenQuantityTest, SetValueReturnsEncodedByteCount)
{
    VarLenQuantity q;
    EXPECT_EQ(0, q.GetByteCount());
    EXPECT_EQ(1, q.SetValue(127));
    EXPECT_EQ(2, q.SetValue(128));
    EXPECT_EQ(4, q.SetValue(0x0FFFFFFF));
    EXPECT_EQ(0x0FFFFFFF, q.GetValue());
    EXPECT_EQ(4, q.GetByteCount());
}

}  // namespace
