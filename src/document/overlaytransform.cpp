#include "document/overlaytransform.h"

#include <cmath>
#include <limits>

namespace {

// Truncates toward zero, saturating instead of overflowing (NaN gives the lowest value, off the
// map), so positions far outside the view stay harmless.
int32_t TruncateToInt(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<int32_t>::min();
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// Narrows to float; values beyond the float range become the infinities (a plain conversion
// would be undefined there).
float ToFloat(double value)
{
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace

void COverlayTransform::SetMapTransform(int32_t mapLeft, int32_t mapBottom, int32_t mapRight, int32_t mapTop,
                                        int32_t pixelLeft, int32_t pixelTop, int32_t pixelRight, int32_t pixelBottom,
                                        int32_t halfX, int32_t halfZ, int32_t sectorSize)
{
    OverlayHalfSectorsX = halfX;
    OverlayHalfSectorsZ = halfZ;
    OverlaySectorSize = sectorSize;
    OverlayLeft = mapLeft;
    OverlayRight = mapRight;
    // 32-bit wrap-around as the stored integers would give, computed without signed overflow.
    const uint32_t extent = static_cast<uint32_t>(halfZ) * static_cast<uint32_t>(sectorSize);
    OverlayTop = static_cast<int32_t>(extent - static_cast<uint32_t>(mapTop));
    OverlayBottom = static_cast<int32_t>(extent - static_cast<uint32_t>(mapBottom));
    OverlayPixelLeft = pixelLeft;
    OverlayPixelTop = pixelTop;
    OverlayPixelRight = pixelRight;
    OverlayPixelBottom = pixelBottom;
    if (OverlayRight != OverlayLeft)
        OverlayScaleX = ToFloat(double(int64_t(OverlayPixelRight) - OverlayPixelLeft)
                                           / double(int64_t(OverlayRight) - OverlayLeft));
    if (OverlayBottom != OverlayTop)
        OverlayScaleZ = ToFloat(double(int64_t(OverlayPixelBottom) - OverlayPixelTop)
                                           / double(int64_t(OverlayBottom) - OverlayTop));
}

bool COverlayTransform::IsOnMap(float x, float z) const
{
    // Comparisons with NaN are false, so a position that is not a number is outside.
    // Compared in double: edges beyond 2^24 would round if converted to float.
    const double px = x;
    const double pz = z;
    return OverlayLeft <= px && px <= OverlayRight && OverlayTop <= pz && pz <= OverlayBottom;
}

void COverlayTransform::MapToPixel(float x, float z, int32_t& column, int32_t& row) const
{
    column = TruncateToInt((double(x) - OverlayLeft) * double(OverlayScaleX) + OverlayPixelLeft);
    row = TruncateToInt((double(z) - OverlayTop) * double(OverlayScaleZ) + OverlayPixelTop);
}

void COverlayTransform::PixelToMap(int32_t column, int32_t row, float& x, float& z) const
{
    if (OverlayScaleX == 0.0f || OverlayScaleZ == 0.0f)
        return;
    x = ToFloat(double(int64_t(column) - OverlayPixelLeft) / double(OverlayScaleX) + OverlayLeft);
    z = ToFloat(double(int64_t(row) - OverlayPixelTop) / double(OverlayScaleZ) + OverlayTop);
}
