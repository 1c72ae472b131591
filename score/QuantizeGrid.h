#ifndef MORVEK_SCORE_QUANTIZEGRID_H
#define MORVEK_SCORE_QUANTIZEGRID_H

#include <cstdint>

// Remainders by one grid unit, taken for every record of a build: where the
// machine multiplies 64 by 64 bits, a product with the unit's reciprocal
// (Lemire's fastmod) instead of a division, whose latency the chain of
// carries from record to record would wait for. Final, with Remainder
// defined here: it runs for every record.
class QuantizeGrid final {
public:
// Construction
    // unit: at least 1.
    explicit QuantizeGrid(long long unit);
    virtual ~QuantizeGrid() {}

// Attributes
    virtual long long GetUnit() const { return m_unit; }

// Operations
    // x % unit, for a unit below 2^32.
    virtual uint32_t Remainder(uint32_t x) const
    {
#if defined(__SIZEOF_INT128__)
        const uint64_t low = m_reciprocal * x;
        return static_cast<uint32_t>((static_cast<unsigned __int128>(low) * static_cast<uint64_t>(m_unit)) >> 64);
#else
        return x % static_cast<uint32_t>(m_unit);
#endif
    }

private:
    long long m_unit;
    uint64_t m_reciprocal; // 2^64 / unit, rounded up; 0 for a unit of 2^32 or more
};

#endif
