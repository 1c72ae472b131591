// A page buffer hands out the bytes it was asked for, on the heap or on
// huge pages, and gives them back when reset or destroyed (checked by the
// address sanitizer).
#include "base/PageBuffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PageBufferTest, EverySizeCanBeWrittenWhole)
{
    PageBuffer buffer;
    EXPECT_EQ(nullptr, buffer.Get());
    for (size_t size : { size_t(1), size_t(300) * 1024, size_t(3) * 1024 * 1024 + 5, size_t(16) }) {
        char* bytes = static_cast<char*>(buffer.Reset(size));
        ASSERT_NE(nullptr, bytes);
        EXPECT_EQ(bytes, buffer.Get());
        std::memset(bytes, 0x5A, size);
        EXPECT_EQ(0x5A, bytes[size - 1]);
    }
    buffer.Release();
    EXPECT_EQ(nullptr, buffer.Get());
}

} // namespace
