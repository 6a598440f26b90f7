#include "mapview/viewport.h"

#include "factions/sectorsize.h"

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

CViewport::CViewport(int32_t mapLeft, int32_t mapBottom, int32_t mapRight, int32_t mapTop, int32_t pixelLeft,
                     int32_t pixelTop, int32_t pixelRight, int32_t pixelBottom, int32_t halfSectorsX,
                     int32_t halfSectorsZ, int32_t width, int32_t height)
    : MapLeft(mapLeft), MapBottom(mapBottom), MapRight(mapRight), MapTop(mapTop), PixelLeft(pixelLeft),
      PixelTop(pixelTop), PixelRight(pixelRight), PixelBottom(pixelBottom), HalfSectorsX(halfSectorsX),
      HalfSectorsZ(halfSectorsZ), Width(width), Height(height)
{
    // 32-bit wrap-around as the stored integers would give, computed without signed overflow.
    const uint32_t extent = static_cast<uint32_t>(halfSectorsZ) * static_cast<uint32_t>(SectorSize);
    RecordTop = static_cast<int32_t>(extent - static_cast<uint32_t>(mapTop));
    RecordBottom = static_cast<int32_t>(extent - static_cast<uint32_t>(mapBottom));
    if (MapRight != MapLeft)
        ScaleX = ToFloat(double(int64_t(PixelRight) - PixelLeft) / double(int64_t(MapRight) - MapLeft));
    if (RecordBottom != RecordTop)
        ScaleZ = ToFloat(double(int64_t(PixelBottom) - PixelTop) / double(int64_t(RecordBottom) - RecordTop));
}

int64_t CViewport::SymbolSize(int64_t size) const
{
    return SymbolScale == 1.0 ? size : std::llround(double(size) * SymbolScale);
}

bool CViewport::IsOnMap(float x, float z) const
{
    // Comparisons with NaN are false, so a position that is not a number is outside.
    // Compared in double: edges beyond 2^24 would round if converted to float.
    const double px = x;
    const double pz = z;
    return MapLeft <= px && px <= MapRight && RecordTop <= pz && pz <= RecordBottom;
}

void CViewport::MapToPixel(float x, float z, int32_t& column, int32_t& row) const
{
    column = TruncateToInt((double(x) - MapLeft) * double(ScaleX) + PixelLeft);
    row = TruncateToInt((double(z) - RecordTop) * double(ScaleZ) + PixelTop);
}

void CViewport::PixelToMap(int32_t column, int32_t row, float& x, float& z) const
{
    if (!HasScale())
        return;
    x = ToFloat(double(int64_t(column) - PixelLeft) / double(ScaleX) + MapLeft);
    z = ToFloat(double(int64_t(row) - PixelTop) / double(ScaleZ) + RecordTop);
}
