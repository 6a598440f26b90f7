#pragma once
// Small terrains for the map tools' tests, with cells of 512 units.

#include "mapview/map.h"

#include <functional>

// `cells` x `cells` cells in `sectors` x `sectors` sectors; each cell `height(column, row)` high,
// or 100 without a height function.
inline CMap TestTerrain(int cells, int sectors, const std::function<float(int column, int row)>& height = {})
{
    CMap map;
    map.ColumnCount = map.RowCount = cells;
    map.CellSizeX = map.CellSizeZ = 512.0f;
    map.SectorCountX = map.SectorCountZ = sectors;
    for (int row = 0; row < cells; ++row)
        for (int column = 0; column < cells; ++column)
            map.Heights.push_back(height ? height(column, row) : 100.0f);
    map.UpdateShades();
    map.TerrainLoaded = true;
    return map;
}
