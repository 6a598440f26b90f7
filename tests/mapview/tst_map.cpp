// The map package: terrain and sector files, height lookup, route networks, their writers (what is
// written reads back as it was), and what damaged files must not cause.

#include "mapfixtures.h"
#include "mapview/map.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

using namespace fixtures;

Q_DECLARE_METATYPE(TerrainGrid)
Q_DECLARE_METATYPE(RouteGraph)

class TestMap : public QObject {
    Q_OBJECT

private:
    QString Folder(QTemporaryDir& dir) { return dir.path() + QStringLiteral("/map1/"); }

    // A 4 x 3 terrain of cell 10 x 20 whose sample (c, r) is 100 * r + c.
    void WriteSmallTerrain(const QString& folder)
    {
        QVERIFY(SaveTerrain(folder + QStringLiteral("terrain/terrain.sim"),
                            Grid(4, 3, 10.0f, 20.0f, [](int c, int r) { return float(100 * r + c); })));
    }

private slots:
    void heightLookup_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("z");
        QTest::addColumn<float>("height");
        QTest::newRow("origin") << 0.0f << 0.0f << 0.0f;
        QTest::newRow("no interpolation inside a cell") << 19.9f << 39.9f << 101.0f;
        QTest::newRow("last column just inside") << 39.99f << 0.0f << 3.0f;
        QTest::newRow("right edge is outside") << 40.0f << 0.0f << 0.0f;
        QTest::newRow("top edge is outside") << 0.0f << 60.0f << 0.0f;
        QTest::newRow("half a cell left falls into column 0") << -5.0f << 20.0f << 100.0f;
        QTest::newRow("a cell and a half left is outside") << -15.0f << 20.0f << 0.0f;
        QTest::newRow("half a cell below falls into row 0") << 30.0f << -10.0f << 3.0f;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0.0f << 0.0f;
        QTest::newRow("infinite") << 10.0f << std::numeric_limits<float>::infinity() << 0.0f;
        QTest::newRow("huge") << 3e38f << -3e38f << 0.0f;
    }
    void heightLookup()
    {
        QFETCH(float, x);
        QFETCH(float, z);
        QFETCH(float, height);
        QTemporaryDir dir;
        WriteSmallTerrain(Folder(dir));
        CMap map;
        QVERIFY(map.Load(Folder(dir)));
        QCOMPARE(map.GetHeight(x, z), height);
        QCOMPARE(map.GetExtentX(), 40.0f);
        QCOMPARE(map.GetExtentZ(), 60.0f);
    }

    void sectorCounts_data()
    {
        QTest::addColumn<int>("countX");
        QTest::addColumn<int>("countZ");
        QTest::addColumn<int>("halfX");
        QTest::addColumn<int>("halfZ");
        QTest::newRow("odd count rounds down") << 0 << 7 << 0 << 3;
        QTest::newRow("16-bit counts are unsigned") << 65535 << 64 << 32767 << 32;
        QTest::newRow("low and high byte") << 258 << 513 << 129 << 256;
    }
    // The sector writer's counts read back as written.
    void sectorCounts()
    {
        QFETCH(int, countX);
        QFETCH(int, countZ);
        QTemporaryDir dir;
        WriteSmallTerrain(Folder(dir));
        QVERIFY(SaveSectors(Folder(dir) + QStringLiteral("terrain/default.sec"), countX, countZ));
        CMap map;
        QVERIFY(map.Load(Folder(dir)));
        QCOMPARE(map.SectorCountX, countX);
        QCOMPARE(map.SectorCountZ, countZ);
        int32_t halfX = -1, halfZ = -1;
        map.GetHalfSectorCounts(halfX, halfZ);
        QTEST(int(halfX), "halfX");
        QTEST(int(halfZ), "halfZ");
    }

    void missingOrShortSectorFileLeavesZero()
    {
        QTemporaryDir dir;
        WriteSmallTerrain(Folder(dir));
        CMap map;
        QVERIFY(map.Load(Folder(dir)));
        QCOMPARE(map.SectorCountX, 0);
        QVERIFY(WriteBytes(Folder(dir) + QStringLiteral("terrain/default.sec"), SectorFileBytes(16, 16).left(5)));
        CMap shortFile;
        QVERIFY(shortFile.Load(Folder(dir)));
        QCOMPARE(shortFile.SectorCountX, 0);
        QCOMPARE(shortFile.SectorCountZ, 0);
    }

    // What the terrain writer writes reads back as it was: counts, cell sizes and every sample's
    // bits, in any order of rows and columns.
    void terrainRoundTrip_data()
    {
        QTest::addColumn<TerrainGrid>("grid");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("wider than deep") << Grid(5, 2, 256, 128,
                                                 [](int c, int r) { return float(c) - 10.5f * float(r); });
        QTest::newRow("deeper than wide") << Grid(2, 5, 0.5f, 3e9f, [](int c, int r) { return float(1000 * c + r); });
        QTest::newRow("any float is a height")
            << TerrainGrid{3, 1, -64, 64, {nan, -0.0f, std::numeric_limits<float>::denorm_min()}};
        QTest::newRow("no columns") << Grid(0, 5, 10, 10);
        QTest::newRow("no samples at all") << Grid(0, 0, 0, 0);
    }
    void terrainRoundTrip()
    {
        QFETCH(TerrainGrid, grid);
        QTemporaryDir dir;
        const QString file = Folder(dir) + QStringLiteral("terrain/terrain.sim");
        QVERIFY(SaveTerrain(file, grid));
        QCOMPARE(QFileInfo(file).size(), 16 + 4 * qint64(grid.Heights.size()));
        CMap map;
        QVERIFY(map.Load(Folder(dir)));
        QCOMPARE(std::tuple(map.ColumnCount, map.RowCount, map.CellSizeX, map.CellSizeZ),
                 std::tuple(grid.ColumnCount, grid.RowCount, grid.CellSizeX, grid.CellSizeZ));
        // Bit for bit: NaN heights compare too.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(map.Heights.data()), qsizetype(4 * map.Heights.size())),
                 QByteArray(reinterpret_cast<const char*>(grid.Heights.data()), qsizetype(4 * grid.Heights.size())));
        if (grid.Heights.empty()) {
            QCOMPARE(map.GetExtentX(), 0.0f);
            QCOMPARE(map.GetHeight(0, 0), 0.0f);
        }
    }

    // The writers refuse what their readers would refuse or read back otherwise.
    void writersRefuse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const std::function<QByteArray(QString*)>& write, const char* expected) {
            QString reason;
            const QByteArray bytes = write(&reason);
            QTest::newRow(name) << bytes << reason << QString::fromLatin1(expected);
        };
        row(
            "terrain: fewer heights than samples",
            [](QString* r) {
                return TerrainFileBytes({2, 2, 1, 1, {1, 2, 3}}, r);
            },
            "3 heights");
        row(
            "terrain: more heights than samples",
            [](QString* r) {
                return TerrainFileBytes({1, 1, 1, 1, {1, 2}}, r);
            },
            "2 heights");
        row(
            "terrain: negative count",
            [](QString* r) {
                return TerrainFileBytes({-1, 0, 1, 1, {}}, r);
            },
            "negative");
        row(
            "terrain: more samples than any terrain",
            [](QString* r) {
                return TerrainFileBytes({65536, 65536, 1, 1, {}}, r);
            },
            "more than any terrain file");
        row(
            "sectors: count beyond 16 bits", [](QString* r) { return SectorFileBytes(65536, 2, r); }, "0 to 65535");
        row(
            "sectors: negative count", [](QString* r) { return SectorFileBytes(2, -1, r); }, "0 to 65535");
        row(
            "links: node beyond the nodes",
            [](QString* r) {
                return RouteLinkFileBytes(Graph({{0, 0}, {1, 1}}, {{0, 1, {}}, {1, 2, {}}}), r);
            },
            "link 1 runs from node 1 to node 2, but there are 2 nodes");
        row(
            "links: negative node",
            [](QString* r) {
                return RouteLinkFileBytes(Graph({{0, 0}}, {{-1, 0, {}}}), r);
            },
            "from node -1");
    }
    void writersRefuse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QFETCH(QString, expected);
        QVERIFY(bytes.isEmpty());
        QVERIFY2(reason.contains(expected), qPrintable(reason));
    }
    // A refused save leaves the file as it was.
    void refusedSaveKeepsTheFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("terrain.sim"));
        const QByteArray before = TerrainFileBytes(Grid(1, 1, 1, 1, [](int, int) { return 5.0f; }));
        QVERIFY(WriteBytes(file, before));
        QString reason;
        QVERIFY(!SaveTerrainFile(file, {1, 1, 1, 1, {}}, &reason));
        QVERIFY(!SaveSectorFile(file, -1, 0, &reason));
        QVERIFY(!SaveRouteLinkFile(file, Graph({}, {{0, 0, {}}}), &reason));
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);
    }

    void damagedTerrainIsRejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = TerrainFileBytes(Grid(1, 4, 1, 1, [](int, int) { return 1.0f; }));
        QTest::newRow("huge header in 16 bytes")
            << Patched(Patched(good.left(16), 0, 100000), 4, 100000) << QStringLiteral("need");
        QTest::newRow("one byte short") << good.chopped(1) << QStringLiteral("need");
        QTest::newRow("negative count") << Patched(good, 0, -1) << QStringLiteral("negative");
        QTest::newRow("cell size not a number")
            << Patched(good, 8, std::numeric_limits<float>::quiet_NaN()) << QStringLiteral("not a number");
        QTest::newRow("shorter than a header") << QByteArray(10, '\0') << QString();
        QTest::newRow("no terrain file") << QByteArray() << QStringLiteral("no such file");
    }
    void damagedTerrainIsRejected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QDir().mkpath(Folder(dir));
        if (!bytes.isEmpty())
            QVERIFY(WriteBytes(Folder(dir) + QStringLiteral("terrain/terrain.sim"), bytes));
        QString quick;
        QVERIFY(!IsReadableTerrain(Folder(dir), &quick));
        QVERIFY2(quick.contains(reason), qPrintable(quick));
        CMap map;
        QString error;
        QVERIFY(!map.Load(Folder(dir), &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(!map.TerrainLoaded);
        QVERIFY(map.Heights.empty());
        QCOMPARE(map.GetHeight(0, 0), 0.0f);
    }

    void letterCaseOfGameFiles()
    {
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        QVERIFY(SaveTerrain(folder + QStringLiteral("TERRAIN/Terrain.SIM"),
                            Grid(2, 2, 1, 1, [](int c, int) { return float(c + 7); })));
        QVERIFY(SaveSectors(folder + QStringLiteral("TERRAIN/DEFAULT.sec"), 4, 6));
        QVERIFY(SaveNetwork(folder + QStringLiteral("ROUTE/Roads.NDE"), folder + QStringLiteral("ROUTE/roads.wp"),
                            Graph({{0, 0}, {5, 5}}, {{0, 1, {}}})));
        QVERIFY(IsReadableTerrain(folder));
        CMap map;
        QVERIFY(map.Load(folder));
        QCOMPARE(map.GetHeight(1.5f, 0), 8.0f);
        QCOMPARE(map.SectorCountZ, 6);
        QCOMPARE(map.Roads.size(), size_t(1));
    }

    // What the route writers write reads back under every name the readers look for: each link
    // from node A through its points to node B, in file order. Heights and the reserved word are
    // written but not read.
    void routeNetworkRoundTrip_data()
    {
        QTest::addColumn<RouteGraph>("graph");
        QTest::addColumn<QString>("nodeFile");
        QTest::addColumn<QString>("linkFile");
        QTest::addColumn<int>("network");           // 0 roads, 1 rivers, 2 power lines, 3 borders
        QTest::addColumn<QList<float>>("segments"); // X1, Z1, X2, Z2 of each
        const RouteGraph twoLinks =
            Graph({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 50}}, {{0, 5, {{10, 11}, {20, 21}}}, {2, 3, {}}});
        const QList<float> twoLinksSegments{0, 0, 10, 11, 10, 11, 20, 21, 20, 21, 5, 50, 2, 2, 3, 3};
        QTest::newRow("rivers: two points, then a straight link")
            << twoLinks << QStringLiteral("route/rivers.nde") << QStringLiteral("route/rivers.wp") << 1
            << twoLinksSegments;
        QTest::newRow("roads under the alternative name, upper-case extensions")
            << twoLinks << QStringLiteral("route/roaddata.NDE") << QStringLiteral("route/roaddata.WP") << 0
            << twoLinksSegments;
        RouteGraph stored{{{1, 700, 2}, {3, -5, 4}}, {{1, 0, 1, {{5, 900, 6}}}}};
        QTest::newRow("power lines with heights and the reserved word")
            << stored << QStringLiteral("route/utildata.nde") << QStringLiteral("route/utildata.wp") << 2
            << QList<float>{3, 4, 5, 6, 5, 6, 1, 2};
        QTest::newRow("borders: an empty network is a network")
            << RouteGraph{} << QStringLiteral("route/boundary.nde") << QStringLiteral("route/boundary.wp") << 3
            << QList<float>{};
    }
    void routeNetworkRoundTrip()
    {
        QFETCH(RouteGraph, graph);
        QFETCH(QString, nodeFile);
        QFETCH(QString, linkFile);
        QFETCH(int, network);
        QFETCH(QList<float>, segments);
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        WriteSmallTerrain(folder);
        QVERIFY(SaveNetwork(folder + nodeFile, folder + linkFile, graph));
        CMap map;
        QVERIFY(map.Load(folder));
        using Loader = bool (CMap::*)();
        const Loader loaders[] = {&CMap::LoadRoads, &CMap::LoadRivers, &CMap::LoadUtilities, &CMap::LoadBoundary};
        QVERIFY((map.*loaders[network])());
        // Walked as the renderer walks them: from index 0 until the getter answers none.
        using Getter = const RouteSegment* (CMap::*)(int32_t) const;
        const Getter getters[] = {&CMap::GetRoad, &CMap::GetRiver, &CMap::GetUtility, &CMap::GetBoundary};
        for (int list = 0; list < 4; ++list) {
            QList<float> read;
            for (int32_t i = 0; const RouteSegment* s = (map.*getters[list])(i); ++i)
                read << s->X1 << s->Z1 << s->X2 << s->Z2;
            QCOMPARE(read, list == network ? segments : QList<float>{});
            QVERIFY(!(map.*getters[list])(-1));
        }
    }

    void alternativeNetworkNames()
    {
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        WriteSmallTerrain(folder);
        // Both names for power lines, of which the first wins.
        const RouteGraph pair = Graph({{0, 0}, {1, 0}}, {{0, 1, {}}});
        QVERIFY(
            SaveNetwork(folder + QStringLiteral("route/utils.nde"), folder + QStringLiteral("route/utils.wp"), pair));
        RouteGraph twice = pair;
        twice.Links.push_back({1, 0, 0, {}});
        QVERIFY(SaveNetwork(folder + QStringLiteral("route/utildata.nde"), folder + QStringLiteral("route/utildata.wp"),
                            twice));
        CMap map;
        QVERIFY(map.Load(folder));
        QCOMPARE(map.Utilities.size(), size_t(1));
        QVERIFY(!map.LoadRivers());
    }

    void damagedNetworks_data()
    {
        QTest::addColumn<QByteArray>("nodes");
        QTest::addColumn<QByteArray>("links");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("segments");
        const RouteGraph three = Graph({{0, 0}, {1, 1}, {2, 2}}, {{0, 2, {{5, 5}}}, {0, 2, {}}, {1, 2, {}}});
        const QByteArray nodes = RouteNodeFileBytes(three);
        const QByteArray links = RouteLinkFileBytes(three);
        // Link 0 to node 7 (B at 8), link 1 from node -1 (A at 4 + 16 + 12).
        QTest::newRow("node index out of range skips only its segment")
            << nodes << Patched(Patched(links, 8, 7), 32, -1) << true << 2;
        QTest::newRow("link file shorter than its points") << nodes << links.left(4 + 16 + 9) << false << 0;
        const QByteArray noLinks = RouteLinkFileBytes({});
        const QByteArray noNodes = RouteNodeFileBytes({});
        QTest::newRow("link count beyond the file") << nodes << Patched(noLinks, 0, 50000000) << false << 0;
        QTest::newRow("node count beyond the file") << Patched(noNodes, 0, 2000000000) << noLinks << false << 0;
        QTest::newRow("negative node count") << Patched(noNodes, 0, -3) << noLinks << false << 0;
        QTest::newRow("missing link file") << nodes << QByteArray() << false << 0;
    }
    void damagedNetworks()
    {
        QFETCH(QByteArray, nodes);
        QFETCH(QByteArray, links);
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        WriteSmallTerrain(folder);
        QVERIFY(WriteBytes(folder + QStringLiteral("route/roads.nde"), nodes));
        if (!links.isEmpty())
            QVERIFY(WriteBytes(folder + QStringLiteral("route/roads.wp"), links));
        CMap map;
        QVERIFY(map.Load(folder)); // the terrain alone decides
        QTEST(map.LoadRoads(), "loaded");
        QTEST(int(map.Roads.size()), "segments");
    }
};

QTEST_GUILESS_MAIN(TestMap)
#include "tst_map.moc"
