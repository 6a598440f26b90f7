#pragma once
// A new faction file for a grid that has none yet (the demo installation, benchmarks): an RGB
// layered image of one pixel per sector whose only layer is the Background layer, with the same
// picture flattened after it, so that image programs and the simulator read it alike.

#include "factions/layereddocument.h"

#include <cstdint>
#include <functional>

// `factionOf(column, row)` gives 1 (red) or 0 (blue) for each sector; row 0 is the top of the map.
// Sizes must lie in 1 to CFactionsInfo::MaxSide.
CLayeredDocument NewFactionDocument(int32_t columns, int32_t rows,
                                    const std::function<int(int32_t column, int32_t row)>& factionOf);
