// The faction layer inside the map drawing, the demo installation's faction file, and the tool's
// `factions` and `render --factions` as users run them.
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "factions/factiondocument.h"
#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "mapview/factionlayer.h"
#include "mapview/maplayers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int Status = -1;
    QString Out;
    QString Err;
};

Run Cli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(SABLEMAP_CLI), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList Words(const char* text) { return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

} // namespace

class TestFactionLayer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_map;
    QString m_sid;
    QString m_small; // 4 x 3 sectors, the left half faction 1

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
        m_small = m_dir.filePath(QStringLiteral("small.sid"));
        QVERIFY(NewFactionDocument(4, 3, [](int32_t i, int32_t) { return i < 2 ? 1 : 0; }).WriteDocument(m_small));
    }

    void factionsCommand_data()
    {
        QTest::addColumn<QString>("ops");
        QTest::addColumn<QString>("printed");
        QTest::newRow("as loaded") << QString() << QStringLiteral("1100\n1100\n1100\n");
        QTest::newRow("set outside is ignored (with a warning)")
            << QStringLiteral("--set 4 0 1") << QStringLiteral("1100\n1100\n1100\n");
        QTest::newRow("paint at negative x")
            << QStringLiteral("--paint -100 5 0") << QStringLiteral("0100\n1100\n1100\n");
        // The paint reads the clicked sector as the earlier operations left it.
        QTest::newRow("set then paint") << QStringLiteral("--set 1 1 0 --paint 4096.5 4096 1")
                                        << QStringLiteral("1110\n1110\n1110\n");
        QTest::newRow("paint then set") << QStringLiteral("--paint 4096.5 4096 1 --set 1 1 0 --set 3 2 5")
                                        << QStringLiteral("0000\n0000\n0001\n");
        // A fill spreads over edges, never over corners, and only over its sector's faction.
        QTest::newRow("fill a half") << QStringLiteral("--fill 12288 8192 5") << QStringLiteral("1111\n1111\n1111\n");
        QTest::newRow("fill stops at corners")
            << QStringLiteral("--set 1 0 0 --set 0 1 0 --fill 0 0 0") << QStringLiteral("0000\n0100\n1100\n");
        QTest::newRow("fill around a gap")
            << QStringLiteral("--set 0 1 0 --fill 100 100 0") << QStringLiteral("0000\n0000\n0000\n");
        QTest::newRow("fill with its own faction")
            << QStringLiteral("--fill 0 0 1") << QStringLiteral("1100\n1100\n1100\n");
        QTest::newRow("fill outside is ignored (with a warning)")
            << QStringLiteral("--fill 0 20000 0") << QStringLiteral("1100\n1100\n1100\n");
    }
    void factionsCommand()
    {
        QFETCH(QString, ops);
        QFETCH(QString, printed);
        const QString out = m_dir.filePath(QStringLiteral("out.sid"));
        const Run run = Cli(QStringList{QStringLiteral("factions"), m_small} + Words(ops.toUtf8().constData())
                            + QStringList{QStringLiteral("--print"), QStringLiteral("--out"), out});
        QCOMPARE(run.Err.isEmpty(), !QByteArray(QTest::currentDataTag()).contains("warning"));
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, printed);
        QCOMPARE(Cli({QStringLiteral("factions"), out, QStringLiteral("--print")}).Out, printed);
    }

    void factionsCommandFailures()
    {
        const QString damaged = m_dir.filePath(QStringLiteral("damaged.sid"));
        const QString kept = m_dir.filePath(QStringLiteral("kept.sid"));
        for (const auto& [path, bytes] :
             {std::pair{damaged, QByteArray("8BPS\0\1", 6)}, std::pair{kept, QByteArray("old")}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        }
        Run run = Cli({QStringLiteral("factions"), damaged, QStringLiteral("--out"), kept});
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.startsWith(QStringLiteral("Open failed: ") + damaged + QStringLiteral(": ")),
                 qPrintable(run.Err));
        QFile f(kept);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));

        run = Cli({QStringLiteral("factions"), m_small, QStringLiteral("--out"), QStringLiteral("/nonexistent/o.sid")});
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.startsWith(QStringLiteral("Save failed: /nonexistent/o.sid: ")), qPrintable(run.Err));
        for (const char* ops : {"--paint 1 2 1.5", "--fill 1 2 x", "--fill a 2 1"}) {
            run = Cli(QStringList{QStringLiteral("factions"), m_small} + Words(ops)
                      + QStringList{QStringLiteral("--print")});
            QCOMPARE(run.Status, 2);
            QCOMPARE(run.Out, QString());
        }
    }

    // One pixel per sector under the mouse (the half counts).
    void demoFileMatchesTheMap()
    {
        CMap map;
        QVERIFY(map.Load(m_map));
        CFactionsInfo factions;
        QString reason;
        QVERIFY2(factions.LoadFromFile(m_sid, &reason), qPrintable(reason));
        int32_t halfX = 0, halfZ = 0;
        map.GetHalfSectorCounts(halfX, halfZ);
        QCOMPARE(factions.Columns, halfX);
        QCOMPARE(factions.Rows, halfZ);
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
        CMapLayers canvas;
        canvas.SetButtonFace(QColor(0x10, 0x20, 0x30));
        QString reason;
        QVERIFY2(canvas.ChangeMap(m_map, QSize(320, 200), 4, &reason), qPrintable(reason));
        const QImage heights = canvas.Terrain().copy();

        // Factions mode without a loaded layer still shows the heights.
        canvas.SetMode(MapMode::Factions);
        canvas.RedrawTerrain();
        QCOMPARE(canvas.Terrain(), heights);

        CFactionsInfo factions;
        QVERIFY(factions.LoadFromFile(m_sid));
        canvas.SetFactions(&factions);
        canvas.RedrawTerrain();
        QImage expected;
        int32_t pl, pt, pr, pb;
        canvas.View()->GetMapPixelRect(pl, pt, pr, pb);
        CFactionsInfo reference;
        QVERIFY(reference.LoadFromFile(m_sid));
        RenderFactions(reference, canvas.Viewport(), expected, qRgb(0x10, 0x20, 0x30));
        QCOMPARE(canvas.Terrain(), expected);
        QCOMPARE(canvas.Terrain().pixel(pl + 2, 2), qRgb(255, 0, 0)); // top left sector: red side
        QCOMPARE(canvas.Terrain().pixel(pr - 2, pb - 2), qRgb(0, 0, 255));
        QCOMPARE(canvas.Terrain().pixel(0, 100), qRgb(0x10, 0x20, 0x30));

        // Painting changes the next drawing; heights mode ignores the layer.
        QVERIFY(PaintFactionSquare(factions, 100.0f, 100.0f, 0).Painted);
        canvas.RedrawTerrain();
        QCOMPARE(canvas.Terrain().pixel(pl + 2, 2), qRgb(0, 0, 255));
        canvas.SetMode(MapMode::Heights);
        canvas.RedrawTerrain();
        QCOMPARE(canvas.Terrain(), heights);
    }

    void renderWithFactions()
    {
        const QString png = m_dir.filePath(QStringLiteral("f.png"));
        Run run = Cli(QStringList{QStringLiteral("render"), m_map, png} + Words("--size 300 200 --button-face 102030")
                      + QStringList{QStringLiteral("--factions"), m_sid});
        QCOMPARE(run.Err, QString());
        QCOMPARE(run.Status, 0);
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

        const QString out = m_dir.filePath(QStringLiteral("never.png"));
        run = Cli(QStringList{QStringLiteral("render"), m_map, out}
                  + Words("--size 30 20 --factions /nonexistent/f.sid"));
        QCOMPARE(run.Status, 1);
        QVERIFY2(run.Err.startsWith(QStringLiteral("Open failed: /nonexistent/f.sid: ")), qPrintable(run.Err));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestFactionLayer)
#include "tst_factionlayer.moc"
