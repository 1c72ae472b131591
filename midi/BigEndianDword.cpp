#include "midi/BigEndianDword.h"

BigEndianDword::BigEndianDword() : m_value(0)
{
}

BigEndianDword::~BigEndianDword()
{
}

uint32_t BigEndianDword::SetFromFile(uint32_t raw)
{
    return Set(Swap(raw));
}

uint32_t BigEndianDword::Set(uint32_t value)
{
    uint32_t old = m_value;
    m_value = value;
    return old;
}

uint32_t BigEndianDword::GetForFile() const
{
    return Swap(m_value);
}

uint32_t BigEndianDword::Get() const
{
    return m_value;
}

uint32_t BigEndianDword::Swap(uint32_t v) const
{
    return ((v & 0x000000FFu) << 24) | ((v & 0x0000FF00u) << 8) |
           ((v & 0x00FF0000u) >> 8) | ((v & 0xFF000000u) >> 24);
}

uint32_t BigEndianDword::ReadRaw(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
