#pragma once
// One map package of the simulator, read from its map folder and never changed afterwards: the
// sector counts, the height grid and the four route networks (roads, rivers, power lines,
// borders). Heights are sampled without interpolation: a position gets the sample of the cell
// whose lower corner it lies in.

#include "factions/sectorsize.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// One straight piece of a route network, in terrain coordinates.
struct RouteSegment {
    float X1 = 0;
    float Z1 = 0;
    float X2 = 0;
    float Z2 = 0;
};
using RouteList = std::vector<RouteSegment>;

class CMap {
public:
    // Reads the package from `mapFolder`. Only the terrain file decides the result: a folder
    // without one, or with one that is not a terrain (see LoadTerrain), gives false with a reason.
    // Sectors and route networks that are missing or damaged are left empty. Running out of memory
    // anywhere fails the load; the map is then only fit to be thrown away.
    bool Load(const QString& mapFolder, QString* error = nullptr);

    // The sector file and the four networks, for Load (they throw std::bad_alloc when memory runs out).
    bool LoadSectors();
    // Reads "terrain\terrain.sim". Counts and sizes are checked against the file before anything
    // is allocated; a damaged file, one longer than any terrain file (filelimits.h) or one that
    // needs more memory than there is leaves the map without terrain and gives the reason.
    bool LoadTerrain(QString* error = nullptr);
    bool LoadRoads();
    bool LoadRivers();
    bool LoadUtilities();
    bool LoadBoundary();
    // Reads the node file (`baseName` with ".NDE") and link file (".WP") into `list`, which is
    // emptied first and stays empty when either file is missing or damaged. A link whose node
    // index is outside the node file loses the segment that would touch that node.
    static bool LoadRouteNetwork(const QString& baseName, RouteList& list, QString* error = nullptr);

    float GetHeight(float x, float z) const;
    float GetExtentX() const { return static_cast<float>(ColumnCount) * CellSizeX; }
    float GetExtentZ() const { return static_cast<float>(RowCount) * CellSizeZ; }
    void GetHalfSectorCounts(int32_t& halfX, int32_t& halfZ) const;

    const RouteSegment* GetRoad(int32_t index) const { return At(Roads, index); }
    const RouteSegment* GetRiver(int32_t index) const { return At(Rivers, index); }
    const RouteSegment* GetUtility(int32_t index) const { return At(Utilities, index); }
    const RouteSegment* GetBoundary(int32_t index) const { return At(Boundary, index); }

    // The column (row) of the grid that GetHeight uses for a world X (Z), or -1 outside the grid.
    // The renderer looks these up once per pixel column and row instead of once per pixel.
    int32_t ColumnOf(float x) const;
    int32_t RowOf(float z) const;
    // The sample at a column and row given by ColumnOf and RowOf; 0.0 when either is -1.
    float Sample(int32_t column, int32_t row) const
    {
        if (column < 0 || row < 0)
            return 0.0f;
        return Heights[static_cast<size_t>(row) * static_cast<size_t>(ColumnCount) + static_cast<size_t>(column)];
    }
    // Samples of one row, column 0 first (row from RowOf, not -1).
    const float* RowSamples(int32_t row) const
    {
        return Heights.data() + static_cast<size_t>(row) * static_cast<size_t>(ColumnCount);
    }

    // Derives Shades from Heights; the terrain reader calls it, code that fills Heights itself must.
    void UpdateShades();
    // Samples of one row as shades (see HeightShade); null unless UpdateShades ran.
    const uint8_t* RowShades(int32_t row) const
    {
        if (Shades.size() != Heights.size())
            return nullptr;
        return Shades.data() + static_cast<size_t>(row) * static_cast<size_t>(ColumnCount);
    }

    // Heights in file order: all columns of row 0, then row 1, ... (row-major, so that a picture
    // row reads consecutive memory).
    std::vector<float> Heights;
    // The heights picture's shade of every sample, a quarter of the memory the heights take: the
    // full-resolution picture reads one sample per pixel, and reading fewer bytes is what makes
    // it fast.
    std::vector<uint8_t> Shades;
    RouteList Roads;
    RouteList Rivers;
    RouteList Utilities;
    RouteList Boundary;
    int32_t SectorCountX = 0;
    int32_t SectorCountZ = 0;
    int32_t ColumnCount = 0;
    int32_t RowCount = 0;
    float CellSizeX = 0;
    float CellSizeZ = 0;
    QString MapPath;
    bool TerrainLoaded = false;

private:
    static const RouteSegment* At(const RouteList& list, int32_t index)
    {
        if (index < 0 || static_cast<size_t>(index) >= list.size())
            return nullptr;
        return &list[static_cast<size_t>(index)];
    }
    bool LoadNetwork(std::initializer_list<const char*> names, RouteList& list);
    static bool ReadNetwork(const QString& baseName, RouteList& list, QString* error);
    QString PackageFile(const char* relative) const;
};

// The shade of a height in the heights picture: 0 for the sea (below 0, or not a number), else the
// grey level trunc(h + 1500) div 15, at most 255 (white from 2325 up).
uint8_t HeightShade(float height);

// Checks that `mapFolder` holds a terrain file that can be read as a terrain, without keeping it:
// Change map asks this before it gives up the current map.
bool IsReadableTerrain(const QString& mapFolder, QString* error = nullptr);

// Parses the bytes of a terrain file into `map` (counts, cell sizes, heights). On failure `map`
// is unchanged and `error` says why.
bool ParseTerrain(const QByteArray& bytes, CMap& map, QString* error = nullptr);

// --- Writers of the package's files, the counterparts of the readers above --------------------------
// Each writes what its reader reads back exactly as given, and refuses what its reader would refuse
// or read otherwise (an empty result, or false, with the reason). The Save functions replace the
// file atomically; they do not create folders.

// A height grid as the terrain file holds it.
struct TerrainGrid {
    int32_t ColumnCount = 0;
    int32_t RowCount = 0;
    float CellSizeX = 0;
    float CellSizeZ = 0;
    std::vector<float> Heights; // ColumnCount x RowCount samples, row by row, column 0 first
};
QByteArray TerrainFileBytes(const TerrainGrid& grid, QString* error = nullptr);
bool SaveTerrainFile(const QString& fileName, const TerrainGrid& grid, QString* error = nullptr);

// The sector file: a word the reader skips (0), then the two counts as 16-bit words (0 to 65535).
QByteArray SectorFileBytes(int32_t countX, int32_t countZ, QString* error = nullptr);
bool SaveSectorFile(const QString& fileName, int32_t countX, int32_t countZ, QString* error = nullptr);

// A route network as its node and link files hold it: nodes, and links from node A to node B
// through intermediate points. The map view keeps only the segments; heights (Y) and each link's
// reserved word are stored for the simulator.
struct RouteGraph {
    struct Point {
        float X = 0;
        float Y = 0;
        float Z = 0;
    };
    struct Link {
        int32_t A = 0;
        int32_t B = 0;
        int32_t Reserved = 0;
        std::vector<Point> Points; // in path order
    };
    std::vector<Point> Nodes;
    std::vector<Link> Links;
};
QByteArray RouteNodeFileBytes(const RouteGraph& graph, QString* error = nullptr);
bool SaveRouteNodeFile(const QString& fileName, const RouteGraph& graph, QString* error = nullptr);
// Refuses a link whose A or B is not a node of the graph. LoadRouteNetwork finds the link file
// beside the node file by its base name.
QByteArray RouteLinkFileBytes(const RouteGraph& graph, QString* error = nullptr);
bool SaveRouteLinkFile(const QString& fileName, const RouteGraph& graph, QString* error = nullptr);
