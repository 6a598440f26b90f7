#include "mapview/mapextent.h"

#include "document/binfile.h"
#include "mapview/map.h"

MapExtent MapExtent::Of(const CMap& map)
{
    int32_t halfX = 0;
    int32_t halfZ = 0;
    map.GetHalfSectorCounts(halfX, halfZ);
    const auto zero = static_cast<float>(halfZ * SectorSize);
    return MapExtent{0.0f, map.GetExtentX(), zero - map.GetExtentZ(), zero};
}

int CountPlacementsOutside(const CBINFile& document, const MapExtent& extent)
{
    int outside = 0;
    const auto count = [&](const auto& records) {
        for (const auto& record : records)
            outside += extent.Holds(record.X, record.Z) ? 0 : 1;
    };
    count(document.Keysites());
    count(document.Airbases());
    count(document.Sams());
    return outside;
}
