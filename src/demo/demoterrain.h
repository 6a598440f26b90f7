#pragma once
// Synthetic terrain for the demonstration installation: seeded value noise shaped into a
// coastline with hills and mountains, or into an archipelago, and rivers traced downhill to the
// sea. Everything is deterministic for a seed, on every platform.

#include "mapview/map.h"

#include <cstdint>
#include <vector>

// splitmix64: small, fast, and the same sequence everywhere (unlike the standard distributions).
class CRandom {
public:
    explicit CRandom(uint64_t seed) : m_state(seed) { }
    uint64_t Next();
    double Uniform(); // [0, 1)
    double Range(double low, double high) { return low + (high - low) * Uniform(); }
    int Int(int low, int high); // [low, high]

private:
    uint64_t m_state;
};

struct PointXZ {
    float X = 0;
    float Z = 0;
};

struct DemoTerrain {
    int32_t Columns = 0;
    int32_t Rows = 0;
    float Cell = 256.0f;
    std::vector<float> Heights; // row-major, row 0 at Z = 0

    float At(int32_t column, int32_t row) const
    {
        return Heights[static_cast<size_t>(row) * static_cast<size_t>(Columns) + static_cast<size_t>(column)];
    }
    float Width() const { return static_cast<float>(Columns) * Cell; }
    float Depth() const { return static_cast<float>(Rows) * Cell; }
    // The sample the map view would show at a terrain position (0 outside).
    float HeightAt(float x, float z) const;
    // The grid as the terrain file holds it: square cells.
    TerrainGrid Grid() const { return {Columns, Rows, Cell, Cell, Heights}; }
};

namespace demo {

// Fractal value noise in about [-1, 1].
double Fbm(double x, double y, int octaves, uint32_t seed);

// Sea in the west below a ragged coast, farmland rising to hills, mountains in the east.
DemoTerrain MakeCoastTerrain(int32_t samples, float cell, uint32_t seed);
// A few islands of different sizes in open sea.
DemoTerrain MakeIslesTerrain(int32_t samples, float cell, uint32_t seed);

// Up to `count` rivers, each from a spring in the hills downhill to the sea or into another
// river, as polylines in terrain coordinates (spring first).
std::vector<std::vector<PointXZ>> TraceRivers(const DemoTerrain& terrain, int count, CRandom& random);

} // namespace demo
