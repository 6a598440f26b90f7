#include "demo/demoroutes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace demo {

namespace {

float Distance(PointXZ a, PointXZ b) { return std::hypot(a.X - b.X, a.Z - b.Z); }

RouteGraph::Point OnGround(const DemoTerrain& terrain, PointXZ point)
{
    return {point.X, std::max(0.0f, terrain.HeightAt(point.X, point.Z)), point.Z};
}

// Points along a to b every `spacing` units, pushed sideways by a smooth wave (never into the sea).
std::vector<PointXZ> Winding(const DemoTerrain& terrain, PointXZ a, PointXZ b, float spacing, float sway, double phase)
{
    std::vector<PointXZ> points;
    const float length = Distance(a, b);
    const int pieces = std::max(1, static_cast<int>(length / spacing));
    const float nx = -(b.Z - a.Z) / std::max(length, 1.0f);
    const float nz = (b.X - a.X) / std::max(length, 1.0f);
    for (int i = 1; i < pieces; ++i) {
        const float t = float(i) / float(pieces);
        const float offset = sway * float(std::sin(t * 3.14159265 * 2.0 + phase) * std::sin(t * 3.14159265));
        PointXZ p{a.X + (b.X - a.X) * t + nx * offset, a.Z + (b.Z - a.Z) * t + nz * offset};
        if (terrain.HeightAt(p.X, p.Z) < 0.0f)
            p = {a.X + (b.X - a.X) * t, a.Z + (b.Z - a.Z) * t};
        points.push_back(p);
    }
    return points;
}

} // namespace

} // namespace demo

int32_t RouteNetwork::AddNode(PointXZ point)
{
    Nodes.push_back(point);
    return static_cast<int32_t>(Nodes.size()) - 1;
}

RouteGraph RouteNetwork::Graph(const DemoTerrain& terrain) const
{
    RouteGraph graph;
    for (const PointXZ& node : Nodes)
        graph.Nodes.push_back(demo::OnGround(terrain, node));
    for (const Link& link : Links) {
        RouteGraph::Link& stored = graph.Links.emplace_back();
        stored.A = link.From;
        stored.B = link.To;
        stored.Reserved = 1;
        for (const PointXZ& point : link.Points)
            stored.Points.push_back(demo::OnGround(terrain, point));
    }
    return graph;
}

namespace demo {

bool OverLand(const DemoTerrain& terrain, PointXZ a, PointXZ b)
{
    const int steps = std::max(2, static_cast<int>(Distance(a, b) / (terrain.Cell * 0.5f)));
    for (int i = 0; i <= steps; ++i) {
        const float t = float(i) / float(steps);
        if (terrain.HeightAt(a.X + (b.X - a.X) * t, a.Z + (b.Z - a.Z) * t) < 1.0f)
            return false;
    }
    return true;
}

RouteNetwork MakeRoads(const DemoTerrain& terrain, const std::vector<PointXZ>& towns, CRandom& random)
{
    RouteNetwork roads;
    for (const PointXZ& town : towns)
        roads.AddNode(town);
    const size_t n = towns.size();
    const float longest = terrain.Width() * 0.45f;
    const auto usable = [&](size_t i, size_t j) {
        return Distance(towns[i], towns[j]) <= longest && OverLand(terrain, towns[i], towns[j]);
    };
    const auto connect = [&](size_t i, size_t j) {
        RouteNetwork::Link link;
        link.From = static_cast<int32_t>(i);
        link.To = static_cast<int32_t>(j);
        link.Points = Winding(terrain, towns[i], towns[j], 1200.0f, random.Range(-900, 900), random.Range(0, 6.28));
        roads.Links.push_back(std::move(link));
    };
    // Prim's spanning tree over the ways that stay on land.
    std::vector<bool> joined(n, false);
    std::vector<std::vector<bool>> linked(n, std::vector<bool>(n, false));
    if (n > 0)
        joined[0] = true;
    for (size_t added = 1; added < n; ++added) {
        float best = std::numeric_limits<float>::max();
        size_t from = n;
        size_t to = n;
        for (size_t i = 0; i < n; ++i) {
            for (size_t j = 0; j < n; ++j) {
                if (!joined[i] || joined[j] || !usable(i, j))
                    continue;
                if (Distance(towns[i], towns[j]) < best) {
                    best = Distance(towns[i], towns[j]);
                    from = i;
                    to = j;
                }
            }
        }
        if (from == n)
            break;
        joined[to] = true;
        linked[from][to] = linked[to][from] = true;
        connect(from, to);
    }
    // A few shortcuts make it a network rather than a tree.
    int shortcuts = 0;
    for (size_t i = 0; i < n && shortcuts < 4; ++i) {
        for (size_t j = i + 1; j < n && shortcuts < 4; ++j) {
            if (!linked[i][j] && Distance(towns[i], towns[j]) < longest * 0.45f && usable(i, j)) {
                linked[i][j] = linked[j][i] = true;
                connect(i, j);
                ++shortcuts;
            }
        }
    }
    return roads;
}

RouteNetwork MakeRivers(const std::vector<std::vector<PointXZ>>& rivers)
{
    RouteNetwork network;
    for (const auto& river : rivers) {
        if (river.size() < 2)
            continue;
        RouteNetwork::Link link;
        link.From = network.AddNode(river.front());
        link.To = network.AddNode(river.back());
        link.Points.assign(river.begin() + 1, river.end() - 1);
        network.Links.push_back(std::move(link));
    }
    return network;
}

RouteNetwork MakePowerLines(PointXZ station, const std::vector<PointXZ>& towns, int lines)
{
    RouteNetwork network;
    const int32_t hub = network.AddNode(station);
    std::vector<PointXZ> nearest = towns;
    std::sort(nearest.begin(), nearest.end(),
              [station](PointXZ a, PointXZ b) { return Distance(a, station) < Distance(b, station); });
    for (int i = 0; i < lines && i < static_cast<int>(nearest.size()); ++i) {
        RouteNetwork::Link link;
        link.From = hub;
        link.To = network.AddNode(nearest[static_cast<size_t>(i)]);
        const PointXZ end = nearest[static_cast<size_t>(i)];
        const int pylons = std::max(1, static_cast<int>(Distance(station, end) / 900.0f));
        for (int p = 1; p < pylons; ++p) {
            const float t = float(p) / float(pylons);
            link.Points.push_back({station.X + (end.X - station.X) * t, station.Z + (end.Z - station.Z) * t});
        }
        network.Links.push_back(std::move(link));
    }
    return network;
}

RouteNetwork MakeBorder(const DemoTerrain& terrain, float x, uint32_t seed)
{
    RouteNetwork network;
    const float depth = terrain.Depth();
    const auto at = [&](float z) {
        const double v = z / depth;
        return PointXZ{x + float(terrain.Width() * 0.06 * Fbm(v * 4.0, 1.7, 4, seed)), z};
    };
    RouteNetwork::Link link;
    link.From = network.AddNode(at(depth));
    link.To = network.AddNode(at(0.0f));
    const int pieces = std::max(2, static_cast<int>(depth / 1500.0f));
    for (int i = pieces - 1; i > 0; --i)
        link.Points.push_back(at(depth * float(i) / float(pieces)));
    network.Links.push_back(std::move(link));
    return network;
}

} // namespace demo
