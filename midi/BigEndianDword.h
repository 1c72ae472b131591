#ifndef MORVEK_MIDI_BIGENDIANDWORD_H
#define MORVEK_MIDI_BIGENDIANDWORD_H

#include <cstdint>

// One unsigned 32-bit value of a chunk header, stored most significant byte first.
class BigEndianDword {
public:
// Construction
    BigEndianDword();
    virtual ~BigEndianDword();

// Operations
    // raw: the four bytes as they lie in the file, read as a little-endian number.
    virtual uint32_t SetFromFile(uint32_t raw);
    virtual uint32_t Set(uint32_t value);
    virtual uint32_t GetForFile() const;
    virtual uint32_t Get() const;
    virtual uint32_t Swap(uint32_t v) const;

    // Reads the four bytes at bytes[0..3]; the caller makes sure they exist.
    static uint32_t ReadRaw(const unsigned char* bytes);

private:
    uint32_t m_value;
};

#endif
