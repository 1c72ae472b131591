#include "midi/VarLenQuantity.h"

int VarLenQuantity::SetValue(int32_t v)
{
    m_value = v;
    m_byteCount = Encode(v, nullptr);
    return m_byteCount;
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
