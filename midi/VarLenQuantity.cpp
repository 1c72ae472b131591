#include "midi/VarLenQuantity.h"

#include <climits>

namespace {

const long kMaxByteCount = INT_MAX;

}  // namespace

VarLenQuantity::VarLenQuantity() : m_value(0), m_byteCount(0)
{
}

VarLenQuantity::~VarLenQuantity()
{
}

int VarLenQuantity::SetValue(int32_t v)
{
    m_value = v;
    m_byteCount = Encode(v, nullptr);
    return m_byteCount;
}

int VarLenQuantity::Decode(const unsigned char* bytes, const unsigned char* limit)
{
    if (bytes == nullptr || limit == nullptr)
        return 0;
    // Unsigned arithmetic: the groups above bit 31 simply fall off.
    uint32_t value = 0;
    const unsigned char* p = bytes;
    // A count that would not fit the byte count field is treated as cut off.
    const unsigned char* stop = limit - bytes > kMaxByteCount ? bytes + kMaxByteCount : limit;
    for (; p < stop; ++p) {
        value = (value << 7) | (*p & 0x7Fu);
        if ((*p & 0x80) == 0) {
            m_value = static_cast<int32_t>(value);
            m_byteCount = static_cast<int>(p - bytes) + 1;
            return m_byteCount;
        }
    }
    return 0;
}

int VarLenQuantity::Encode(int32_t v, unsigned char* out) const
{
    uint32_t u = static_cast<uint32_t>(v);
    int count = 1;
    while (count < 5 && (u >> (7 * count)) != 0)
        ++count;
    if (out != nullptr) {
        for (int i = 0; i < count; ++i) {
            unsigned char group = static_cast<unsigned char>((u >> (7 * (count - 1 - i))) & 0x7F);
            out[i] = static_cast<unsigned char>(group | (i + 1 < count ? 0x80 : 0));
        }
    }
    return count;
}
