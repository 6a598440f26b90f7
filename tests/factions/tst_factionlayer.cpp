// The faction layer inside the map drawing, the demo installation's faction file and
// `render --factions`, on the demo installation's first map.
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestFactionLayer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_map;
    QString m_sid;

    static QString MapFolder(const QString& root)
    {
        return root + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap);
    }

private slots:
    void initTestCase()
    {
        QStringList written;
        QString reason;
        QVERIFY2(WriteDemoInstallation(m_dir.path(), &written, &reason), qPrintable(reason));
        m_map = MapFolder(m_dir.path());
        m_sid = m_map + QLatin1Char('/') + QLatin1String(kDemoFactionFile);
        QVERIFY(written.contains(m_sid));
    }

    // One sector per pixel as the sector file counts them, both sides holding a fair share.
    void demoFileMatchesTheMap()
    {
        CMap map;
        QVERIFY(map.Load(m_map));
        CFactionsInfo factions;
        QString reason;
        QVERIFY2(factions.LoadFromFile(m_sid, &reason), qPrintable(reason));
        QCOMPARE(factions.Columns, map.SectorCountX);
        QCOMPARE(factions.Rows, map.SectorCountZ);
        int red = 0;
        for (int i = 0; i < factions.Columns; ++i) {
            for (int j = 0; j < factions.Rows; ++j)
                red += factions.GetFaction(i, j);
        }
        const int all = factions.Columns * factions.Rows;
        QVERIFY2(red > all / 4 && red < all * 3 / 4, qPrintable(QString::number(red)));
        // Contiguous sides: every row runs red, then blue, with exactly one change.
        for (int j = 0; j < factions.Rows; ++j) {
            int changes = 0;
            for (int i = 1; i < factions.Columns; ++i)
                changes += factions.GetFaction(i, j) != factions.GetFaction(i - 1, j);
            QCOMPARE(changes, 1);
            QCOMPARE(factions.GetFaction(0, j), 1);
        }
    }

    void factionsModeDrawsTheLayer()
    {
        CMapCanvas canvas;
        canvas.ButtonFace = QColor(0x10, 0x20, 0x30);
        QString reason;
        QVERIFY2(canvas.ChangeMap(m_map, QSize(320, 200), 4, &reason), qPrintable(reason));
        const QImage heights = canvas.TerrainBitmap.copy();

        // Factions mode without a loaded layer still shows the heights.
        canvas.Mode = MapMode::Factions;
        canvas.RedrawTerrain();
        QCOMPARE(canvas.TerrainBitmap, heights);

        CFactionsInfo factions;
        QVERIFY(factions.LoadFromFile(m_sid));
        canvas.Factions = &factions;
        canvas.RedrawTerrain();
        QImage expected;
        int32_t l, b, r, t, pl, pt, pr, pb;
        canvas.View()->GetMapRect(l, b, r, t);
        canvas.View()->GetMapPixelRect(pl, pt, pr, pb);
        CFactionsInfo reference;
        QVERIFY(reference.LoadFromFile(m_sid));
        reference.SetMapTransform(l, b, r, t, pl, pt, pr, pb, 4096, 320, 200);
        reference.Render(expected, qRgb(0x10, 0x20, 0x30));
        QCOMPARE(canvas.TerrainBitmap, expected);
        QCOMPARE(canvas.TerrainBitmap.pixel(pl + 2, 2), qRgb(255, 0, 0)); // top left sector: red side
        QCOMPARE(canvas.TerrainBitmap.pixel(pr - 2, pb - 2), qRgb(0, 0, 255));
        QCOMPARE(canvas.TerrainBitmap.pixel(0, 100), qRgb(0x10, 0x20, 0x30));

        // Painting changes the next drawing; heights mode ignores the layer.
        QVERIFY(PaintFactionSquare(factions, 100.0f, 100.0f, 0).Painted);
        canvas.RedrawTerrain();
        QCOMPARE(canvas.TerrainBitmap.pixel(pl + 2, 2), qRgb(0, 0, 255));
        canvas.Mode = MapMode::Heights;
        canvas.RedrawTerrain();
        QCOMPARE(canvas.TerrainBitmap, heights);
    }

    void renderWithFactions()
    {
        const QString png = m_dir.filePath(QStringLiteral("f.png"));
        QProcess cli;
        cli.start(QStringLiteral(SABLEMAP_CLI), {QStringLiteral("render"), m_map, png, QStringLiteral("--size"),
                                                 QStringLiteral("300"), QStringLiteral("200"),
                                                 QStringLiteral("--factions"), m_sid, QStringLiteral("--button-face"),
                                                 QStringLiteral("102030")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.readAllStandardError(), QByteArray());
        QCOMPARE(cli.exitCode(), 0);
        QImage image(png);
        QCOMPARE(image.size(), QSize(300, 200));
        int red = 0, blue = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 300; ++x) {
                red += image.pixel(x, y) == qRgb(255, 0, 0);
                blue += image.pixel(x, y) == qRgb(0, 0, 255);
            }
        }
        QVERIFY(red > 10000 && blue > 5000);

        const QString broken = m_dir.filePath(QStringLiteral("broken.sid"));
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("8BPS");
        f.close();
        const QString out = m_dir.filePath(QStringLiteral("never.png"));
        cli.start(QStringLiteral(SABLEMAP_CLI), {QStringLiteral("render"), m_map, out, QStringLiteral("--size"),
                                                 QStringLiteral("30"), QStringLiteral("20"),
                                                 QStringLiteral("--factions"), broken});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 1);
        QVERIFY(cli.readAllStandardError().startsWith("Open failed: " + broken.toUtf8() + ": "));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestFactionLayer)
#include "tst_factionlayer.moc"
