#pragma once
// The side of one sector in world units: the grid of the map, the faction squares and the record
// Z origin (half sector count Z * SectorSize) all count in it.

#include <cstdint>

constexpr int32_t SectorSize = 4096;
