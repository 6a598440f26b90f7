#include "factions/factionpaint.h"

#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// trunc(value) when it fits a sector index; sectors that far out are never in a grid anyway.
bool SectorOf(float value, int64_t& sector)
{
    const float scaled = value * (1.0f / float(SectorSize)); // exact: a power of two
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 2147483648.0f)
        return false;
    sector = int64_t(std::trunc(scaled));
    return true;
}

} // namespace

FactionPaintResult FactionSquareAt(const CFactionsInfo& factions, float x, float z, int32_t radius)
{
    FactionPaintResult result;
    int64_t sx = 0;
    int64_t sz = 0;
    if (!SectorOf(x, sx) || !SectorOf(z, sz))
        return result;
    const int old = factions.GetFaction(int32_t(sx), int32_t(sz));
    if (old < 0)
        return result;
    result.Painted = true;
    result.NewFaction = old == 0 ? 1 : 0;
    if (radius < 0)
        return result;
    // Only the grid's part of the square: setting outside it changes nothing anyway, and a huge
    // radius must not loop over sectors that do not exist.
    result.FirstColumn = int32_t(std::max<int64_t>(sx - radius, 0));
    result.LastColumn = int32_t(std::min<int64_t>(sx + radius, int64_t(factions.Columns) - 1));
    result.FirstRow = int32_t(std::max<int64_t>(sz - radius, 0));
    result.LastRow = int32_t(std::min<int64_t>(sz + radius, int64_t(factions.Rows) - 1));
    return result;
}

FactionPaintResult PaintFactionSquare(CFactionsInfo& factions, float x, float z, int32_t radius)
{
    const FactionPaintResult result = FactionSquareAt(factions, x, z, radius);
    for (int32_t i = result.FirstColumn; i <= result.LastColumn; ++i) {
        for (int32_t j = result.FirstRow; j <= result.LastRow; ++j)
            factions.SetFaction(result.NewFaction, i, j);
    }
    return result;
}

bool SectorOfPosition(float x, float z, int64_t& column, int64_t& row)
{
    return SectorOf(x, column) && SectorOf(z, row);
}

std::vector<SectorAddress> FactionRegionAt(const CFactionsInfo& factions, float x, float z)
{
    std::vector<SectorAddress> region;
    int64_t sx = 0;
    int64_t sz = 0;
    if (!SectorOf(x, sx) || !SectorOf(z, sz))
        return region;
    const int old = factions.GetFaction(int32_t(sx), int32_t(sz));
    if (old < 0)
        return region;
    // Each sector is marked as it is taken, so none is taken twice; the region itself is the queue
    // of sectors whose neighbours are still to look at, rather than the call stack, which a large
    // region would overflow.
    std::vector<bool> taken(size_t(factions.Columns) * size_t(factions.Rows));
    const auto take = [&](int32_t i, int32_t j) {
        taken[size_t(j) * size_t(factions.Columns) + size_t(i)] = true;
        region.push_back({i, j});
    };
    take(int32_t(sx), int32_t(sz));
    for (size_t next = 0; next < region.size(); ++next) {
        const SectorAddress at = region[next];
        for (const auto& [di, dj] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
            const int32_t ni = at.Column + di;
            const int32_t nj = at.Row + dj;
            if (factions.GetFaction(ni, nj) == old && !taken[size_t(nj) * size_t(factions.Columns) + size_t(ni)])
                take(ni, nj);
        }
    }
    return region;
}

bool FillFactionRegion(CFactionsInfo& factions, float x, float z, int faction)
{
    const std::vector<SectorAddress> region = FactionRegionAt(factions, x, z);
    if (region.empty())
        return false;
    for (const SectorAddress& sector : region)
        factions.SetFaction(faction, sector.Column, sector.Row);
    return true;
}
