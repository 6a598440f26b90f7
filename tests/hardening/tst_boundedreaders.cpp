// Every reader, fed counts and lengths that no file of its size could hold, fails with a reason
// and takes memory in proportion to the bytes it was given, not to what they claim.
#include "../testfiles.h"
#include "allocationprobe.h"

#include "../factions/layeredbuilder.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/map.h"
#include "mapview/tarnconfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

QByteArray I32(int64_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    const char raw[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(raw, 4);
}

QByteArray F32(float value)
{
    uint32_t raw;
    std::memcpy(&raw, &value, 4);
    return I32(raw);
}

QByteArray Zeros(int n) { return QByteArray(n, '\0'); }

// Overwrites a big-endian 32-bit field of a layered image.
QByteArray WithBe32(QByteArray bytes, int at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (24 - 8 * i));
    return bytes;
}

QByteArray WithBe16(QByteArray bytes, int at, uint32_t value)
{
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value);
    return bytes;
}

// A 4 x 3 faction file as another image program would write it. Its fields, with no image
// resources: colour mode length at 26, layer section length at 34, layer information length at 38,
// layer count at 42; the layer: rectangle at 44, channel count at 60, channel lengths at 64, 70,
// 76, extra data length at 92, mask length at 96, blending ranges length at 100.
QByteArray SmallFaction()
{
    return layered::Build(layered::Faction(4, 3, QByteArray("\xff\x00\xff\x00\x00\xff\x00\xff\xff\xff\x00\x00", 12)));
}

} // namespace

class TestBoundedReaders : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    C3DObjectsList m_catalogue{QLocale(QLocale::English, QLocale::UnitedStates)};
    CPopTemplatesTypesList m_types;

    // Runs one reader on `first` (and `second` for the readers of two files).
    bool Read(const QString& reader, const QByteArray& first, const QByteArray& second, QString& reason)
    {
        if (reader == QLatin1String("objects")) {
            C3DObjectsList list(QLocale(QLocale::English, QLocale::UnitedStates));
            return list.LoadFromBytes(first, &reason);
        }
        if (reader == QLatin1String("mapbin")) {
            CBINFile doc(&m_catalogue, &m_types);
            return doc.LoadBytes(first, &reason);
        }
        if (reader == QLatin1String("template")) {
            CBINFile doc(&m_catalogue, &m_types);
            return doc.ImportTemplateBytes(first, &reason);
        }
        if (reader == QLatin1String("terrain")) {
            CMap map;
            return ParseTerrain(first, map, &reason);
        }
        if (reader == QLatin1String("routes")) {
            const QString base = m_dir.filePath(QStringLiteral("net.nde"));
            if (!WriteFile(base, first) || !WriteFile(m_dir.filePath(QStringLiteral("net.wp")), second))
                return false;
            RouteList list;
            return CMap::LoadRouteNetwork(base, list, &reason);
        }
        if (reader == QLatin1String("layered")) {
            CLayeredDocument doc;
            return doc.Parse(first, &reason);
        }
        if (reader == QLatin1String("faction")) {
            const QString path = m_dir.filePath(QStringLiteral("factions.sid"));
            if (!WriteFile(path, first))
                return false;
            CFactionsInfo info;
            return info.LoadFromFile(path, &reason);
        }
        if (reader == QLatin1String("settings")) {
            const QString path = m_dir.filePath(QStringLiteral("settings.INI"));
            if (!WriteFile(path, first))
                return false;
            CTarnConfig config;
            reason = QStringLiteral("settings cannot be refused");
            return config.Load(path);
        }
        qFatal("unknown reader");
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char* name : {"A", "B", "TANK"})
            m_catalogue.Add(name);
        // First use of the collator and the file system loads what they keep for the whole run.
        QString reason;
        QVERIFY(Read(QStringLiteral("objects"), I32(2) + I32(0) + I32(1) + QByteArray("A") + I32(0), {}, reason));
        QVERIFY(Read(QStringLiteral("faction"), SmallFaction(), {}, reason));
        QVERIFY(Read(QStringLiteral("routes"), RouteNodeFileBytes({}), RouteLinkFileBytes({}), reason));
    }

    void absurdCountsAndLengthsFailWithinBounds_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("loads");
        const auto row = [](const char* name, const char* reader, const QByteArray& first,
                            const QByteArray& second = {}, bool loads = false) {
            QTest::newRow(name) << QString::fromLatin1(reader) << first << second << loads;
        };

        row("object list: two billion entries", "objects",
            I32(0x7FFFFFFF) + I32(0) + I32(1) + QByteArray("A") + I32(0));
        row("object list: name of two gigabytes", "objects", I32(2) + I32(0) + I32(0x7FFFFFF0) + QByteArray("AB"));
        row("object list: negative name length", "objects", I32(2) + I32(0) + I32(-1) + I32(0));

        row("map: two billion templates", "mapbin", I32(0x7FFFFFFF) + Zeros(16));
        row("map: template count that cannot be negated", "mapbin", I32(INT32_MIN) + Zeros(12));
        row("map: negative name length", "mapbin", I32(1) + I32(0) + I32(0) + I32(1) + I32(-5) + Zeros(40));
        row("map: a billion objects", "mapbin", I32(1) + I32(1000000000) + I32(0) + I32(0) + I32(0) + Zeros(16));
        row("map: 268 million keysites", "mapbin", I32(0) + I32(0x10000000) + Zeros(12));
        row("map: airbase name of two gigabytes", "mapbin",
            I32(0) + I32(0) + I32(1) + F32(1) + F32(2) + I32(0x7FFFFFFF) + QByteArray("x"));
        row("map: 500 million SAM sites", "mapbin", I32(0) + I32(0) + I32(0) + I32(500000000) + Zeros(8));

        row("template: two billion extended templates", "template", I32(-0x7FFFFFFF) + Zeros(20));
        row("template: reference name of two gigabytes", "template",
            I32(1) + I32(0) + I32(0) + I32(1) + I32(0x7FFFFFF0) + Zeros(8));

        row("terrain: 65536 x 65536 samples in 16 bytes", "terrain", I32(65536) + I32(65536) + F32(256) + F32(256));
        row("terrain: product beyond 32 bits", "terrain", I32(0x10000) + I32(0x10001) + F32(1) + F32(1) + Zeros(8));
        row("terrain: two billion squared samples", "terrain", I32(0x7FFFFFFF) + I32(0x7FFFFFFF) + F32(1) + F32(1));
        row("terrain: two billion columns", "terrain", I32(0x7FFFFFFF) + I32(2) + F32(1) + F32(1) + Zeros(32));
        row("terrain: negative rows", "terrain", I32(4) + I32(-4) + F32(1) + F32(1) + Zeros(64));

        row("routes: two billion nodes", "routes", I32(0x7FFFFFFF) + Zeros(12), I32(0));
        row("routes: negative node count", "routes", I32(-1) + Zeros(12), I32(0));
        row("routes: two billion links", "routes", I32(1) + Zeros(12), I32(0x7FFFFFFF) + Zeros(16));
        row("routes: two billion points in a link", "routes", I32(2) + Zeros(24),
            I32(1) + I32(0) + I32(1) + I32(0) + I32(0x7FFFFFFF) + Zeros(12));
        row("routes: negative point count", "routes", I32(2) + Zeros(24),
            I32(1) + I32(0) + I32(1) + I32(0) + I32(-5) + Zeros(12));

        const QByteArray faction = SmallFaction();
        row("layered: colour mode data of 4 GiB", "layered", WithBe32(faction, 26, 0xFFFFFFFFu));
        row("layered: layer section of 4 GiB", "layered", WithBe32(faction, 34, 0xFFFFFFF0u));
        row("layered: 32767 layers", "layered", WithBe16(faction, 42, 0x7FFF));
        row("layered: 65535 channels", "layered", WithBe16(faction, 60, 0xFFFF));
        row("layered: channel data of 4 GiB", "layered", WithBe32(faction, 64, 0xFFFFFFF0u));
        row("layered: extra data of 4 GiB", "layered", WithBe32(faction, 92, 0xFFFFFFF0u));
        row("layered: mask of 4 GiB", "layered", WithBe32(faction, 96, 0xFFFFFFF0u));
        row("layered: blending ranges of 4 GiB", "layered", WithBe32(faction, 100, 0xFFFFFFF0u));

        row("faction: Background of 100000 x 100000", "faction", WithBe32(WithBe32(faction, 52, 100000), 56, 100000));
        row("faction: Background of 30000 x 30000", "faction", WithBe32(WithBe32(faction, 52, 30000), 56, 30000));
        row("faction: Background from -2^31 to 2^31-1", "faction",
            WithBe32(WithBe32(WithBe32(WithBe32(faction, 44, 0x80000000u), 48, 0x80000000u), 52, 0x7FFFFFFF), 56,
                     0x7FFFFFFF));
        row("faction: 20000 rows of packed data in 30 bytes", "faction", WithBe32(faction, 52, 20000));

        QByteArray hugeNumbers("[Keysite symbol]\nSize=99999999999999999999999999999999\nColor=0x1234567890ABCDEF\n"
                               "Shape=$FFFFFFFFFFFFFFFFFFFF\n");
        row("settings: numbers beyond 32 bits", "settings", hugeNumbers, {}, true);
        row("settings: a line of 256 KiB", "settings",
            QByteArray("[SAM symbol]\nSize=") + QByteArray(256 * 1024, '7') + '\n', {}, true);
    }

    void absurdCountsAndLengthsFailWithinBounds()
    {
        QFETCH(QString, reader);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, loads);
        const long long input = first.size() + second.size();
        QString reason;
        bool ok = false;
        size_t largest = 0;
        long long peak = 0;
        {
            probe::Scope scope;
            ok = Read(reader, first, second, reason);
            largest = scope.Largest();
            peak = scope.Peak();
        }
        QCOMPARE(ok, loads);
        if (!loads)
            QVERIFY2(!reason.isEmpty(), "a refused file needs a reason");
        // A few dozen bytes of records per byte read, plus a fixed allowance for paths and texts.
        const long long allowance = 64 * 1024;
        QVERIFY2(
            static_cast<long long>(largest) <= 32 * input + allowance,
            qPrintable(QStringLiteral("largest allocation %1 bytes for %2 bytes of input").arg(largest).arg(input)));
        QVERIFY2(peak <= 64 * input + allowance,
                 qPrintable(QStringLiteral("%1 bytes held at once for %2 bytes of input").arg(peak).arg(input)));
    }

    // A terrain file may announce samples in one direction only; it loads, and then no position
    // has a sample (the truncation toward zero must not invent a cell 0 that was never read).
    void terrainWithoutSamplesHasNoCells_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::newRow("columns, no rows") << 327680 << 0;
        QTest::newRow("rows, no columns") << 0 << 5;
        QTest::newRow("neither") << 0 << 0;
    }
    void terrainWithoutSamplesHasNoCells()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        CMap map;
        QVERIFY(ParseTerrain(TerrainFileBytes({columns, rows, 512, 512, {}}), map));
        map.TerrainLoaded = true;
        for (float at : {-1.0f, -511.0f, 0.0f, 0.5f}) {
            QCOMPARE(map.ColumnOf(at), -1);
            QCOMPARE(map.RowOf(at), -1);
            QCOMPARE(map.GetHeight(at, at), 0.0f);
        }
    }

    // A huge value does not become a huge size: it falls back to the read default.
    void settingsNumbersBeyondThirtyTwoBitsTakeTheDefault()
    {
        const QString path = m_dir.filePath(QStringLiteral("numbers.INI"));
        QVERIFY(
            WriteFile(path, "[Keysite symbol]\nSize=99999999999999999999\nColor=0x1234567890\nShape=-2147483649\n"));
        CTarnConfig config;
        QVERIFY(config.Load(path));
        QCOMPARE(config.Styles[KeysiteKind].Size, 1);
        QCOMPARE(config.Styles[KeysiteKind].Color, 32768);
        QCOMPARE(int(config.Styles[KeysiteKind].Shape), 2);
    }
};

QTEST_GUILESS_MAIN(TestBoundedReaders)
#include "tst_boundedreaders.moc"
