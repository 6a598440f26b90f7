#pragma once
// The faction the brush and the fill paint with: Toggle, the opposite of the clicked sector's
// faction (what Alt+click always does), or one faction of the layer (1 red, 0 blue).

#include <cstdint>

enum class FactionBrush : uint8_t { Toggle, Red, Blue };

// The faction painted over a sector of faction `clicked` (0 or 1).
inline int PaintedFaction(FactionBrush brush, int clicked)
{
    switch (brush) {
    case FactionBrush::Red: return 1;
    case FactionBrush::Blue: return 0;
    case FactionBrush::Toggle: break;
    }
    return clicked == 0 ? 1 : 0;
}

// The brush that paints a sector's faction (0 or 1) again.
inline FactionBrush BrushOfFaction(int faction) { return faction == 0 ? FactionBrush::Blue : FactionBrush::Red; }
