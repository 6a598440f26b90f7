#pragma once
// The record coordinates a map covers: what "outside the map" means for a keysite, airbase or SAM
// site, both in the editor's notice and in the tool's check.

class CBINFile;
class CMap;

struct MapExtent {
    float Left = 0, Right = 0, Top = 0, Bottom = 0; // record Z grows downward: Top <= Bottom

    // Edges included; a coordinate that is not a number lies outside.
    bool Holds(float x, float z) const { return x >= Left && x <= Right && z >= Top && z <= Bottom; }
    // Record X runs from 0 across the terrain; record Z runs downward from the terrain Z of half
    // the sector rows.
    static MapExtent Of(const CMap& map);
};

// The keysites, airbases and SAM sites of `document` that `extent` does not hold.
int CountPlacementsOutside(const CBINFile& document, const MapExtent& extent);
