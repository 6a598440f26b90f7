#pragma once
// Small map packages for the map view tests, written with the package's own writers into folders
// made as needed; and the means to damage a good file where a test needs a bad one.

#include "mapview/map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtEndian>
#include <functional>
#include <utility>
#include <vector>

namespace fixtures {

inline bool MakeFolderOf(const QString& path) { return QDir().mkpath(QFileInfo(path).absolutePath()); }

// For damaged files, which no writer writes.
inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return MakeFolderOf(path) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// `bytes` with the little-endian value at `at` replaced.
template <typename T>
QByteArray Patched(QByteArray bytes, qsizetype at, T value)
{
    qToLittleEndian<T>(value, bytes.data() + at);
    return bytes;
}

// A terrain of columns x rows samples, heights from `height(c, r)`.
inline TerrainGrid Grid(int32_t columns, int32_t rows, float cellX, float cellZ,
                        const std::function<float(int, int)>& height = {})
{
    TerrainGrid grid{columns, rows, cellX, cellZ, {}};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid.Heights.push_back(height(c, r));
    return grid;
}

inline bool SaveTerrain(const QString& path, const TerrainGrid& grid)
{
    return MakeFolderOf(path) && SaveTerrainFile(path, grid);
}

inline bool SaveSectors(const QString& path, int32_t countX, int32_t countZ)
{
    return MakeFolderOf(path) && SaveSectorFile(path, countX, countZ);
}

struct Link {
    int32_t A;
    int32_t B;
    std::vector<std::pair<float, float>> Points;
};

// A network of nodes and links given by X and Z, everything at height 0.
inline RouteGraph Graph(const std::vector<std::pair<float, float>>& nodes, const std::vector<Link>& links = {})
{
    RouteGraph graph;
    for (const auto& [x, z] : nodes)
        graph.Nodes.push_back({x, 0, z});
    for (const Link& link : links) {
        RouteGraph::Link& stored = graph.Links.emplace_back();
        stored.A = link.A;
        stored.B = link.B;
        for (const auto& [x, z] : link.Points)
            stored.Points.push_back({x, 0, z});
    }
    return graph;
}

inline bool SaveNetwork(const QString& nodeFile, const QString& linkFile, const RouteGraph& graph)
{
    return MakeFolderOf(nodeFile) && SaveRouteNodeFile(nodeFile, graph) && SaveRouteLinkFile(linkFile, graph);
}

} // namespace fixtures
