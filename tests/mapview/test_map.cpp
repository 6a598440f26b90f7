// The map package: terrain and sector files, height lookup, route networks, and what damaged
// files must not cause.

#include "mapfixtures.h"
#include "mapview/map.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace fixtures;

class TestMap : public QObject {
    Q_OBJECT

private:
    QString Folder(QTemporaryDir& dir) { return dir.path() + QStringLiteral("/map1/"); }

    // A 4 x 3 terrain of cell 10 x 20 whose sample (c, r) is 100 * r + c.
    void WriteSmallTerrain(const QString& folder)
    {
        WriteBytes(folder + QStringLiteral("terrain/terrain.sim"),
                   TerrainBytes(4, 3, 10.0f, 20.0f, [](int c, int r) { return float(100 * r + c); }));
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
    }
    void sectorCounts()
    {
        QFETCH(int, countX);
        QFETCH(int, countZ);
        QTemporaryDir dir;
        WriteSmallTerrain(Folder(dir));
        WriteBytes(Folder(dir) + QStringLiteral("terrain/default.sec"), SectorBytes(countX, countZ));
        CMap map;
        QVERIFY(map.Load(Folder(dir)));
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
        WriteBytes(Folder(dir) + QStringLiteral("terrain/default.sec"), QByteArray("\0\0\0\0\x10", 5));
        CMap shortFile;
        QVERIFY(shortFile.Load(Folder(dir)));
        QCOMPARE(shortFile.SectorCountX, 0);
        QCOMPARE(shortFile.SectorCountZ, 0);
    }

    void emptyTerrainLoads()
    {
        QTemporaryDir dir;
        WriteBytes(Folder(dir) + QStringLiteral("terrain/terrain.sim"), TerrainBytes(0, 5, 10, 10, {}));
        CMap map;
        QVERIFY(map.Load(Folder(dir)));
        QCOMPARE(map.GetExtentX(), 0.0f);
        QCOMPARE(map.GetHeight(0, 0), 0.0f);
    }

    void damagedTerrainIsRejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        CByteWriter huge;
        huge.WriteInt32(100000);
        huge.WriteInt32(100000);
        huge.WriteFloat(1);
        huge.WriteFloat(1);
        QTest::newRow("huge header in 16 bytes") << huge.Bytes() << QStringLiteral("need");
        QByteArray truncated = TerrainBytes(4, 4, 1, 1, [](int, int) { return 1.0f; });
        truncated.chop(1);
        QTest::newRow("one byte short") << truncated << QStringLiteral("need");
        QTest::newRow("negative count") << TerrainBytes(-1, 4, 1, 1, {}) << QStringLiteral("negative");
        QTest::newRow("cell size not a number")
            << TerrainBytes(1, 1, std::numeric_limits<float>::quiet_NaN(), 1, [](int, int) { return 0.0f; })
            << QStringLiteral("not a number");
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
            WriteBytes(Folder(dir) + QStringLiteral("terrain/terrain.sim"), bytes);
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
        WriteBytes(folder + QStringLiteral("TERRAIN/Terrain.SIM"), TerrainBytes(2, 2, 1, 1, [](int c, int) { return float(c + 7); }));
        WriteBytes(folder + QStringLiteral("TERRAIN/DEFAULT.sec"), SectorBytes(4, 6));
        WriteBytes(folder + QStringLiteral("ROUTE/Roads.NDE"), NodeBytes({{0, 0}, {5, 5}}));
        WriteBytes(folder + QStringLiteral("ROUTE/roads.wp"), LinkBytes({{0, 1, {}}}));
        QVERIFY(IsReadableTerrain(folder));
        CMap map;
        QVERIFY(map.Load(folder));
        QCOMPARE(map.GetHeight(1.5f, 0), 8.0f);
        QCOMPARE(map.SectorCountZ, 6);
        QCOMPARE(map.Roads.size(), size_t(1));
    }

    void linksBecomeSegmentsInPathOrder()
    {
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        WriteSmallTerrain(folder);
        WriteBytes(folder + QStringLiteral("route/rivers.nde"), NodeBytes({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 50}}));
        WriteBytes(folder + QStringLiteral("route/rivers.wp"), LinkBytes({{0, 5, {{10, 11}, {20, 21}}}, {2, 3, {}}}));
        CMap map;
        QVERIFY(map.Load(folder));
        QCOMPARE(map.Rivers.size(), size_t(4));
        const RouteSegment* first = map.GetRiver(0);
        const RouteSegment* third = map.GetRiver(2);
        const RouteSegment* last = map.GetRiver(3);
        QVERIFY(first && third && last);
        QCOMPARE(first->X1, 0.0f);
        QCOMPARE(first->X2, 10.0f);
        QCOMPARE(map.GetRiver(1)->Z1, 11.0f);
        QCOMPARE(map.GetRiver(1)->Z2, 21.0f);
        QCOMPARE(third->X2, 5.0f);
        QCOMPARE(third->Z2, 50.0f);
        QCOMPARE(last->X1, 2.0f);
        QCOMPARE(last->X2, 3.0f);
        QVERIFY(!map.GetRiver(-1));
        QVERIFY(!map.GetRiver(4));
    }

    void alternativeNetworkNames()
    {
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        WriteSmallTerrain(folder);
        // Only the alternative name for roads; both names for power lines, of which the first wins.
        WriteBytes(folder + QStringLiteral("route/roaddata.nde"), NodeBytes({{0, 0}, {1, 0}}));
        WriteBytes(folder + QStringLiteral("route/roaddata.WP"), LinkBytes({{0, 1, {}}}));
        WriteBytes(folder + QStringLiteral("route/utils.nde"), NodeBytes({{0, 0}, {1, 0}}));
        WriteBytes(folder + QStringLiteral("route/utils.wp"), LinkBytes({{0, 1, {}}}));
        WriteBytes(folder + QStringLiteral("route/utildata.nde"), NodeBytes({{0, 0}, {1, 0}}));
        WriteBytes(folder + QStringLiteral("route/utildata.wp"), LinkBytes({{0, 1, {}}, {1, 0, {}}}));
        // An empty network is a network.
        WriteBytes(folder + QStringLiteral("route/boundary.nde"), NodeBytes({}));
        WriteBytes(folder + QStringLiteral("route/boundary.wp"), LinkBytes({}));
        CMap map;
        QVERIFY(map.Load(folder));
        QCOMPARE(map.Roads.size(), size_t(1));
        QCOMPARE(map.Utilities.size(), size_t(1));
        QVERIFY(map.LoadBoundary());
        QVERIFY(map.Boundary.empty());
        QVERIFY(!map.LoadRivers());
    }

    void damagedNetworks_data()
    {
        QTest::addColumn<QByteArray>("nodes");
        QTest::addColumn<QByteArray>("links");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("segments");
        const QByteArray three = NodeBytes({{0, 0}, {1, 1}, {2, 2}});
        QTest::newRow("node index out of range skips only its segment")
            << three << LinkBytes({{0, 7, {{5, 5}}}, {-1, 2, {}}, {1, 2, {}}}) << true << 2;
        QByteArray shortLinks = LinkBytes({{0, 1, {{5, 5}, {6, 6}}}});
        shortLinks.chop(3);
        QTest::newRow("link file shorter than its points") << three << shortLinks << false << 0;
        CByteWriter manyLinks;
        manyLinks.WriteInt32(50000000);
        QTest::newRow("link count beyond the file") << three << manyLinks.Bytes() << false << 0;
        CByteWriter manyNodes;
        manyNodes.WriteInt32(2000000000);
        QTest::newRow("node count beyond the file") << manyNodes.Bytes() << LinkBytes({}) << false << 0;
        CByteWriter negative;
        negative.WriteInt32(-3);
        QTest::newRow("negative node count") << negative.Bytes() << LinkBytes({}) << false << 0;
        QTest::newRow("missing link file") << three << QByteArray() << false << 0;
    }
    void damagedNetworks()
    {
        QFETCH(QByteArray, nodes);
        QFETCH(QByteArray, links);
        QTemporaryDir dir;
        const QString folder = Folder(dir);
        WriteSmallTerrain(folder);
        WriteBytes(folder + QStringLiteral("route/roads.nde"), nodes);
        if (!links.isEmpty())
            WriteBytes(folder + QStringLiteral("route/roads.wp"), links);
        CMap map;
        QVERIFY(map.Load(folder)); // the terrain alone decides
        QTEST(map.LoadRoads(), "loaded");
        QTEST(int(map.Roads.size()), "segments");
    }
};

QTEST_GUILESS_MAIN(TestMap)
#include "test_map.moc"
