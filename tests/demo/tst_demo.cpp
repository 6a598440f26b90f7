// The demonstration installation: complete, readable by the program's own readers, its records
// on land inside the terrain, and the same every time.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "demo/demoinstall.h"
#include "document/binfile.h"
#include "mapview/map.h"
#include "mapview/maplist.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDemo : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QStringList m_written;

    QString MapFolder(const char* name) const
    {
        return m_dir.path() + QStringLiteral("/common/maps/") + QLatin1String(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QString error;
        QVERIFY2(WriteDemoInstallation(m_dir.path(), &m_written, &error), qPrintable(error));
    }

    void writesTheInstallationLayout()
    {
        const QString first = MapFolder(kDemoFirstMap);
        for (const QString& path : m_written)
            QVERIFY2(QFileInfo(path).isFile() && QFileInfo(path).size() > 0, qPrintable(path));
        QVERIFY(m_written.contains(m_dir.path() + QStringLiteral("/stormcr/3ddata/bininfo.bin")));
        QVERIFY(m_written.contains(first + QStringLiteral("/terrain/terrain.sim")));
        QVERIFY(m_written.contains(first + QStringLiteral("/") + QLatin1String(kDemoCampaignFile)));
        QVERIFY(m_written.contains(first + QStringLiteral("/") + QLatin1String(kDemoTemplateFile)));
        QCOMPARE(ListMapEntries(m_dir.path()),
                 QStringList({QLatin1String(kDemoSecondMap), QLatin1String(kDemoFirstMap)}));
    }

    // The list a caller checks before writing is the list of what is written: a file missing from
    // it could be replaced without a word.
    void listsTheFilesItWrites() { QCOMPARE(DemoInstallationFiles(m_dir.path()), m_written); }

    void mapsAreReadable_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("samples");
        QTest::newRow("first") << QString::fromLatin1(kDemoFirstMap) << 512;
        QTest::newRow("second, with the alternative route names") << QString::fromLatin1(kDemoSecondMap) << 256;
    }
    void mapsAreReadable()
    {
        QFETCH(QString, folder);
        QFETCH(int, samples);
        CMap map;
        QString error;
        QVERIFY2(map.Load(m_dir.path() + QStringLiteral("/common/maps/") + folder, &error), qPrintable(error));
        QCOMPARE(map.ColumnCount, samples);
        QCOMPARE(map.RowCount, samples);
        int32_t halfX = 0, halfZ = 0;
        map.GetHalfSectorCounts(halfX, halfZ);
        // Record coordinates cover the terrain exactly: 0 at the top edge, the depth at the bottom.
        QCOMPARE(halfX * 4096, int(map.GetExtentX()));
        QCOMPARE(halfZ * 4096, int(map.GetExtentZ()));
        for (const RouteList* list : {&map.Roads, &map.Rivers, &map.Utilities, &map.Boundary}) {
            QVERIFY(!list->empty());
            for (const RouteSegment& s : *list) {
                QVERIFY(s.X1 >= 0 && s.X1 <= map.GetExtentX() && s.Z1 >= 0 && s.Z1 <= map.GetExtentZ());
                QVERIFY(s.X2 >= 0 && s.X2 <= map.GetExtentX() && s.Z2 >= 0 && s.Z2 <= map.GetExtentZ());
            }
        }
    }

    void campaignRecordsStandOnLand()
    {
        C3DObjectsList catalogue(QLocale::c());
        QVERIFY(catalogue.LoadFromFile(m_dir.path() + QStringLiteral("/stormcr/3ddata/bininfo.bin")));
        const CPopTemplatesTypesList types;
        CBINFile document(&catalogue, &types);
        const QString first = MapFolder(kDemoFirstMap);
        QString error;
        QVERIFY2(document.Load(first + QLatin1Char('/') + QLatin1String(kDemoCampaignFile), &error), qPrintable(error));
        CMap map;
        QVERIFY(map.Load(first));
        int32_t halfX = 0, halfZ = 0;
        map.GetHalfSectorCounts(halfX, halfZ);
        const auto onLand = [&](float x, float z) { return map.GetHeight(x, float(halfZ) * 4096.0f - z) > 0.0f; };
        for (const CKeysitePlacement& k : document.Keysites()) {
            QVERIFY(onLand(k.X, k.Z));
            QVERIFY(k.Z > 0 && k.Z < map.GetExtentZ());
            QVERIFY(k.TemplateNumber >= 0);
        }
        for (const CAirbasePlacement& a : document.Airbases()) {
            QVERIFY(onLand(a.X, a.Z));
            QVERIFY(a.ObjectIndex >= 0);
        }
        for (const CSAMPlacement& s : document.Sams())
            QVERIFY(onLand(s.X, s.Z));
        for (const CPopTemplate& t : document.Templates())
            for (const CThreeDObject& o : t.Objects)
                QVERIFY(o.ObjectIndex >= 0); // every name is in the catalogue

        CBINFile imported(&catalogue, &types);
        QVERIFY(imported.ImportTemplates(first + QLatin1Char('/') + QLatin1String(kDemoTemplateFile), &error));
        QCOMPARE(imported.TemplateCount(), document.TemplateCount());
    }

    void sameInstallationEveryTime()
    {
        QTemporaryDir again;
        QStringList written;
        QVERIFY(WriteDemoInstallation(again.path(), &written));
        QCOMPARE(written.size(), m_written.size());
        for (qsizetype i = 0; i < written.size(); ++i) {
            QFile a(m_written[i]), b(written[i]);
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QVERIFY2(a.readAll() == b.readAll(), qPrintable(written[i]));
        }
    }

    void unwritableFolderFails()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("stormcr")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where a folder must go
        blocker.close();
        QString error;
        QStringList written;
        QVERIFY(!WriteDemoInstallation(dir.path(), &written, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(written.isEmpty());
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
