#pragma once
// Conversions of computed coordinates to 32-bit integers. Positions come from files and from the
// user's navigation and can be NaN, infinite or far outside any picture; they truncate toward
// zero like every conversion of the map view, but saturate instead of overflowing.

#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t TruncToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

inline int32_t ClampToInt32(int64_t value)
{
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
