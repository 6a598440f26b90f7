#include "demo/demoterrain.h"

#include <algorithm>
#include <cmath>
#include <queue>

uint64_t CRandom::Next()
{
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double CRandom::Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }

int CRandom::Int(int low, int high) { return low + static_cast<int>(Next() % uint64_t(high - low + 1)); }

float DemoTerrain::HeightAt(float x, float z) const
{
    const double c = double(x) / Cell;
    const double r = double(z) / Cell;
    if (!(c > -1.0 && c < Columns && r > -1.0 && r < Rows))
        return 0.0f;
    return At(static_cast<int32_t>(c), static_cast<int32_t>(r));
}

namespace demo {

namespace {

double Lattice(int64_t x, int64_t y, uint32_t seed)
{
    uint64_t h = uint64_t(x) * 0x8DA6B343ull ^ uint64_t(y) * 0xD8163841ull ^ uint64_t(seed) * 0xCB1AB31Full;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return double(h & 0xFFFFFF) / double(0xFFFFFF) * 2.0 - 1.0;
}

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double ValueNoise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<int64_t>(fx);
    const auto iy = static_cast<int64_t>(fy);
    const double tx = Smooth(x - fx);
    const double ty = Smooth(y - fy);
    const double a = Lattice(ix, iy, seed) + (Lattice(ix + 1, iy, seed) - Lattice(ix, iy, seed)) * tx;
    const double b = Lattice(ix, iy + 1, seed) + (Lattice(ix + 1, iy + 1, seed) - Lattice(ix, iy + 1, seed)) * tx;
    return a + (b - a) * ty;
}

double SmoothStep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

template <typename Shape>
DemoTerrain MakeTerrain(int32_t samples, float cell, Shape shape)
{
    DemoTerrain terrain;
    terrain.Columns = samples;
    terrain.Rows = samples;
    terrain.Cell = cell;
    terrain.Heights.resize(static_cast<size_t>(samples) * static_cast<size_t>(samples));
    for (int32_t r = 0; r < samples; ++r) {
        for (int32_t c = 0; c < samples; ++c) {
            const double u = (c + 0.5) / samples; // east
            const double v = (r + 0.5) / samples; // north
            terrain.Heights[static_cast<size_t>(r) * static_cast<size_t>(samples) + static_cast<size_t>(c)] =
                static_cast<float>(shape(u, v));
        }
    }
    return terrain;
}

} // namespace

double Fbm(double x, double y, int octaves, uint32_t seed)
{
    double sum = 0;
    double amplitude = 1;
    double norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + 977u * uint32_t(i));
        norm += amplitude;
        amplitude *= 0.5;
        x = x * 2.03 + 17.1;
        y = y * 2.03 - 9.7;
    }
    return sum / norm;
}

DemoTerrain MakeCoastTerrain(int32_t samples, float cell, uint32_t seed)
{
    return MakeTerrain(samples, cell, [seed](double u, double v) {
        const double coast = 0.30 + 0.12 * Fbm(v * 3.0, u * 1.5, 5, seed + 1);
        const double detail = Fbm(u * 9, v * 9, 6, seed + 2);
        const double e = u - coast + 0.06 * detail; // signed distance from the coast, eastward
        if (e < 0)
            return e * 2200.0 + 25.0 * detail; // shelf dropping to deep water
        const double lowland = 380.0 * SmoothStep(0.0, 0.45, e) * (0.6 + 0.4 * Fbm(u * 5, v * 5, 5, seed + 3));
        const double hills = 750.0 * SmoothStep(0.04, 0.35, e) * std::max(0.0, Fbm(u * 7, v * 7, 5, seed + 4) + 0.1);
        const double ridge = 1.0 - std::abs(Fbm(u * 3.2, v * 3.2, 6, seed + 5));
        const double mountains = 1900.0 * SmoothStep(0.6, 0.97, u + 0.08 * detail) * ridge * ridge * ridge;
        return 4.0 + lowland + hills + mountains + 30.0 * detail;
    });
}

DemoTerrain MakeIslesTerrain(int32_t samples, float cell, uint32_t seed)
{
    struct Island {
        double U, V, Radius, Height;
    };
    CRandom random(seed);
    std::vector<Island> islands = {{0.38, 0.55, 0.30, 1500}, {0.78, 0.28, 0.16, 900}, {0.75, 0.78, 0.12, 700}};
    for (int i = 0; i < 4; ++i)
        islands.push_back({random.Range(0.1, 0.9), random.Range(0.1, 0.9), random.Range(0.04, 0.07), 300});
    return MakeTerrain(samples, cell, [islands, seed](double u, double v) {
        const double wobble = 0.06 * Fbm(u * 6, v * 6, 5, seed + 11);
        double best = -1.0;
        double peak = 0;
        for (const Island& island : islands) {
            const double d = std::hypot(u - island.U, v - island.V) + wobble;
            const double e = 1.0 - d / island.Radius;
            if (e > best) {
                best = e;
                peak = island.Height;
            }
        }
        if (best < 0)
            return std::max(best, -1.0) * 900.0 - 20.0;
        const double rugged = 0.65 + 0.35 * Fbm(u * 12, v * 12, 5, seed + 12);
        return 3.0 + peak * std::pow(best, 1.4) * rugged * 1.6;
    });
}

std::vector<std::vector<PointXZ>> TraceRivers(const DemoTerrain& terrain, int count, CRandom& random)
{
    const int32_t columns = terrain.Columns;
    const int32_t rows = terrain.Rows;
    const size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    // Where the water of every cell goes: flooding inland from the sea, lowest first, gives each
    // land cell a way down to the sea that crosses hollows at their lowest rim.
    std::vector<int64_t> downstream(cells, -1);
    std::vector<bool> reached(cells, false);
    using Entry = std::pair<float, int64_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    for (size_t i = 0; i < cells; ++i) {
        if (terrain.Heights[i] < 0.0f) {
            reached[i] = true;
            open.push({terrain.Heights[i], static_cast<int64_t>(i)});
        }
    }
    while (!open.empty()) {
        const auto [level, cell] = open.top();
        open.pop();
        const int32_t c = static_cast<int32_t>(cell % columns);
        const int32_t r = static_cast<int32_t>(cell / columns);
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const int32_t nc = c + dc;
                const int32_t nr = r + dr;
                if ((dc == 0 && dr == 0) || nc < 0 || nr < 0 || nc >= columns || nr >= rows)
                    continue;
                const int64_t next = int64_t(nr) * columns + nc;
                if (reached[static_cast<size_t>(next)])
                    continue;
                reached[static_cast<size_t>(next)] = true;
                downstream[static_cast<size_t>(next)] = cell;
                open.push({std::max(level + 0.01f, terrain.Heights[static_cast<size_t>(next)]), next});
            }
        }
    }

    std::vector<int> owner(cells, -1);
    std::vector<std::vector<PointXZ>> rivers;
    for (int attempt = 0; attempt < count * 60 && static_cast<int>(rivers.size()) < count; ++attempt) {
        const int32_t c = random.Int(1, columns - 2);
        const int32_t r = random.Int(1, rows - 2);
        const float spring = terrain.At(c, r);
        if (spring < 500.0f || spring > 1800.0f)
            continue;
        std::vector<int64_t> path;
        int64_t cell = int64_t(r) * columns + c;
        bool joins = false;
        while (cell >= 0) {
            path.push_back(cell);
            if (terrain.Heights[static_cast<size_t>(cell)] < 0.0f || owner[static_cast<size_t>(cell)] >= 0) {
                joins = true;
                break;
            }
            cell = downstream[static_cast<size_t>(cell)];
        }
        if (!joins || path.size() < 40 || owner[static_cast<size_t>(path.front())] >= 0)
            continue;
        const int id = static_cast<int>(rivers.size());
        std::vector<PointXZ> line;
        for (size_t i = 0; i < path.size(); ++i) {
            const auto pc = static_cast<int32_t>(path[i] % columns);
            const auto pr = static_cast<int32_t>(path[i] / columns);
            if (i + 1 < path.size())
                owner[static_cast<size_t>(path[i])] = id;
            // Every third cell is enough for a smooth line; spring and mouth are always kept.
            if (i % 3 == 0 || i + 1 == path.size())
                line.push_back({(pc + 0.5f) * terrain.Cell, (pr + 0.5f) * terrain.Cell});
        }
        rivers.push_back(std::move(line));
    }
    return rivers;
}

} // namespace demo
