#pragma once
// Painting factions with the mouse (Alt + left click) and with the tool's --paint and --fill: one
// rule for both.

#include <cstdint>
#include <vector>

class CFactionsInfo;

struct FactionPaintResult {
    bool Painted = false;    // false when the clicked sector lies outside the grid
    int NewFaction = -1;     // the value the square was set to
    int32_t FirstColumn = 0; // the sectors of the grid that were set, edges included
    int32_t FirstRow = 0;
    int32_t LastColumn = -1;
    int32_t LastRow = -1;
};

// A click at record position (x, z): the clicked sector is column trunc(x / SectorSize) and row
// trunc(z / SectorSize); when it lies in the grid, the square of 2 * radius + 1 sectors on a side around
// it gets the opposite of the clicked sector's faction (sectors outside the grid are left alone).
// A negative radius sets nothing but still reports the click.
FactionPaintResult PaintFactionSquare(CFactionsInfo& factions, float x, float z, int32_t radius);
// The same square and faction, without painting it (the grid's part of it: an empty range for a
// negative radius).
FactionPaintResult FactionSquareAt(const CFactionsInfo& factions, float x, float z, int32_t radius);

// The region of sectors connected by edges (not corners) to the sector at record position (x, z)
// that hold its faction becomes `faction` (0, or 1 for any other value); the sector is found as a
// click finds it. False, changing nothing, when that sector lies outside the grid.
bool FillFactionRegion(CFactionsInfo& factions, float x, float z, int faction);

// The sector of record position (x, z) as a click finds it (trunc(x / SectorSize), trunc(z /
// SectorSize)), whether or not the grid holds it; false when it is too far out to number.
bool SectorOfPosition(float x, float z, int64_t& column, int64_t& row);

struct SectorAddress {
    int32_t Column = 0;
    int32_t Row = 0;
    bool operator==(const SectorAddress&) const = default;
};

// The region FillFactionRegion fills from record position (x, z): the sectors connected by edges
// to that sector that hold its faction, that sector first. Empty when it lies outside the grid.
std::vector<SectorAddress> FactionRegionAt(const CFactionsInfo& factions, float x, float z);
