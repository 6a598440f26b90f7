#pragma once
// Route networks of the demonstration maps (roads between towns, rivers, power lines from a power
// station, a border) and their node and link files.

#include "demo/demoterrain.h"

#include <vector>

struct RouteNetwork {
    struct Link {
        int32_t From = 0;
        int32_t To = 0;
        std::vector<PointXZ> Points; // intermediate points, in path order
    };
    std::vector<PointXZ> Nodes;
    std::vector<Link> Links;

    int32_t AddNode(PointXZ point);
    // The network as its node and link files hold it: every point at the height of the ground
    // (never below the sea), every link's reserved word 1.
    RouteGraph Graph(const DemoTerrain& terrain) const;
};

namespace demo {

// Whether the straight way from a to b stays on land.
bool OverLand(const DemoTerrain& terrain, PointXZ a, PointXZ b);

// Roads joining the towns: a spanning tree of the shortest ways over land plus a few shortcuts,
// each gently winding.
RouteNetwork MakeRoads(const DemoTerrain& terrain, const std::vector<PointXZ>& towns, CRandom& random);
RouteNetwork MakeRivers(const std::vector<std::vector<PointXZ>>& rivers);
// Straight lines with a pylon every few hundred metres from the station to the nearest towns.
RouteNetwork MakePowerLines(PointXZ station, const std::vector<PointXZ>& towns, int lines);
// A winding line from the northern to the southern edge of the map around `x`.
RouteNetwork MakeBorder(const DemoTerrain& terrain, float x, uint32_t seed);

} // namespace demo
