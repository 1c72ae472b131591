#ifndef MORVEK_MIDI_VARLENQUANTITY_H
#define MORVEK_MIDI_VARLENQUANTITY_H

#include <climits>
#include <cstdint>

// A MIDI variable-length quantity: seven bits per byte, most significant group
// first, every byte but the last with its top bit set. Final, with its getters
// and Decode defined here: every event of a file holds one, read with it.
class VarLenQuantity final {
public:
// Construction
    VarLenQuantity() : m_value(0), m_byteCount(0) {}
    // A quantity as it was read: the value and the bytes it took.
    VarLenQuantity(int32_t value, int byteCount) : m_value(value), m_byteCount(byteCount) {}
    virtual ~VarLenQuantity() {}

// Attributes
    virtual int GetByteCount() const { return m_byteCount; }
    virtual int32_t GetValue() const { return m_value; }
    // Sets the value and the byte count that Encode gives for it; returns that count.
    virtual int SetValue(int32_t v);

// Operations
    // Reads a quantity inside [bytes, limit). Any number of bytes is read; of
    // a quantity longer than four bytes only the low 32 bits of the value
    // remain. Returns the byte count, or 0 when the limit cuts the quantity
    // off (value and byte count are then left as they were).
    virtual int Decode(const unsigned char* bytes, const unsigned char* limit)
    {
        if (bytes == nullptr || limit == nullptr)
            return 0;
        // Unsigned arithmetic: the groups above bit 31 simply fall off.
        uint32_t value = 0;
        const unsigned char* p = bytes;
        // A count that would not fit the byte count field is treated as cut off.
        const unsigned char* stop = limit - bytes > INT_MAX ? bytes + INT_MAX : limit;
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
    // Byte count of v's variable-length form (v taken as unsigned, 1 to 5);
    // writes the bytes to out when out is not null.
    virtual int Encode(int32_t v, unsigned char* out) const;

private:
    int32_t m_value;
    int m_byteCount;
};

#endif
