#include "midi/BigEndianWord.h"

BigEndianWord::BigEndianWord() : m_value(0)
{
}

BigEndianWord::~BigEndianWord()
{
}

unsigned short BigEndianWord::SetFromFile(unsigned short raw)
{
    return Set(Swap(raw));
}

unsigned short BigEndianWord::Set(unsigned short value)
{
    unsigned short old = m_value;
    m_value = value;
    return old;
}

unsigned short BigEndianWord::GetForFile() const
{
    return Swap(m_value);
}

unsigned short BigEndianWord::Get() const
{
    return m_value;
}

unsigned short BigEndianWord::Swap(unsigned short v) const
{
    return static_cast<unsigned short>(((v & 0x00FFu) << 8) | ((v & 0xFF00u) >> 8));
}

unsigned short BigEndianWord::ReadRaw(const unsigned char* bytes)
{
    return static_cast<unsigned short>(bytes[0] | (bytes[1] << 8));
}
