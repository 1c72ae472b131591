#include "score/QuantizeGrid.h"

QuantizeGrid::QuantizeGrid(long long unit)
    : m_unit(unit)
    , m_reciprocal(unit >= 1 && unit <= 0xFFFFFFFFLL ? UINT64_C(0xFFFFFFFFFFFFFFFF) / static_cast<uint64_t>(unit) + 1 : 0)
{
}
