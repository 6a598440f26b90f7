#include "../testfiles.h"
#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "mapview/factionlayer.h"

#include "layeredbuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <limits>

namespace {

// First-channel pixels with faction 1 where (i + 2j) % 3 == 0, row by row.
QByteArray Pattern(int w, int h)
{
    QByteArray out;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            out.append((i + 2 * j) % 3 == 0 ? char(255) : char(0));
    }
    return out;
}

QString GridText(const CFactionsInfo& f)
{
    QString out;
    for (int j = 0; j < f.Rows; ++j) {
        for (int i = 0; i < f.Columns; ++i)
            out += QChar(u'0' + f.GetFaction(i, j));
        out += QLatin1Char('\n');
    }
    return out;
}

bool Load(CFactionsInfo& f, const QByteArray& bytes, QString* reason = nullptr)
{
    f.Document() = CLayeredDocument();
    return f.Document().Parse(bytes, reason) && f.ExtractFactions(reason);
}

} // namespace

class TestFactionsInfo : public QObject {
    Q_OBJECT

private slots:
    void extractsTheGrid_data()
    {
        QTest::addColumn<bool>("packed");
        QTest::newRow("packed rows") << true;
        QTest::newRow("unpacked") << false;
    }
    void extractsTheGrid()
    {
        QFETCH(bool, packed);
        CFactionsInfo f;
        QVERIFY(Load(f, layered::Build(layered::Faction(64, 48, Pattern(64, 48), packed))));
        QCOMPARE(QList<int>({f.Columns, f.Rows}), QList<int>({64, 48}));
        // Corners and neighbours inside, then one step beyond each edge.
        QCOMPARE(QList<int>({f.GetFaction(0, 0), f.GetFaction(1, 0), f.GetFaction(1, 1), f.GetFaction(63, 47),
                             f.GetFaction(64, 0), f.GetFaction(0, -1), f.GetFaction(0, 48)}),
                 QList<int>({1, 0, 1, (63 + 94) % 3 == 0 ? 1 : 0, -1, -1, -1}));
    }

    // Only the first channel counts; 127 and below is faction 0.
    void thresholds_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("faction");
        QTest::newRow("127") << 127 << 0;
        QTest::newRow("128") << 128 << 1;
    }
    void thresholds()
    {
        QFETCH(int, value);
        QFETCH(int, faction);
        layered::Document d = layered::Faction(2, 1, QByteArray(2, char(value)));
        d.Layers[0].Channels[2] = layered::LiteralChannel(QByteArray(2, char(value)), 2, 1); // third agrees
        CFactionsInfo f;
        QVERIFY(Load(f, layered::Build(d)));
        QCOMPARE(f.GetFaction(0, 0), faction);
        QCOMPARE(f.GetFaction(1, 0), faction);
    }

    void findsTheBackgroundLayerByExactName_data()
    {
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<int>("expectedColumns"); // 0: no Background layer
        QTest::newRow("second of three") << QByteArrayList{"Roads", "Background", "Notes"} << 5;
        QTest::newRow("first wins") << QByteArrayList{"Background", "Background"} << 2;
        QTest::newRow("case variant") << QByteArrayList{"background", "BACKGROUND"} << 0;
        QTest::newRow("prefix only") << QByteArrayList{"Background copy"} << 0;
        QTest::newRow("shorter") << QByteArrayList{"Backgroun"} << 0;
    }
    void findsTheBackgroundLayerByExactName()
    {
        QFETCH(QByteArrayList, names);
        QFETCH(int, expectedColumns);
        layered::Document d;
        for (qsizetype n = 0; n < names.size(); ++n) {
            const int w = 2 + 3 * int(n);
            layered::Layer l = layered::Faction(w, 2, QByteArray(w * 2, '\xff')).Layers[0];
            l.Name = names[n];
            d.Layers.push_back(l);
        }
        CFactionsInfo f;
        QString reason;
        QCOMPARE(Load(f, layered::Build(d), &reason), expectedColumns > 0);
        QCOMPARE(f.Columns, expectedColumns);
        if (expectedColumns == 0)
            QCOMPARE(reason, QStringLiteral("no layer named Background"));
    }

    void unusableBackgroundLayersFail_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("reason");
        QTest::newRow("two channels") << 2 << 3 << 3 << QStringLiteral("has 2 channel(s)");
        QTest::newRow("width 0") << 3 << 0 << 3 << QStringLiteral("0 x 3 pixels");
        QTest::newRow("negative height") << 3 << 3 << -2 << QStringLiteral("3 x -2 pixels");
        QTest::newRow("too large") << 3 << 30001 << 1 << QStringLiteral("too large");
        QTest::newRow("too many sectors") << 3 << 20000 << 20000 << QStringLiteral("too large");
    }
    void unusableBackgroundLayersFail()
    {
        QFETCH(int, channels);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, reason);
        layered::Document d = layered::Faction(3, 3, QByteArray(9, '\0'));
        d.Layers[0].Right = width;
        d.Layers[0].Bottom = height;
        d.Layers[0].Channels.resize(size_t(channels));
        CFactionsInfo f;
        QString got;
        QVERIFY(!Load(f, layered::Build(d), &got));
        QVERIFY2(got.contains(reason), qPrintable(got));
        QCOMPARE(f.Columns, 0);
        QCOMPARE(f.GetFaction(0, 0), -1);
    }

    void damagedChannelDataFails_data()
    {
        QTest::addColumn<QByteArray>("channel");
        QTest::addColumn<bool>("loads");
        QTest::newRow("no compression code") << QByteArray("\0", 1) << false;
        QTest::newRow("row counts cut short") << QByteArray("\0\1\0\2\0", 5) << false;
        QTest::newRow("rows past the data") << QByteArray("\0\1\0\3\0\3\x01\xff\xff", 9) << false;
        QTest::newRow("unpacked and short: the rest is 0") << QByteArray("\0\0\xff", 3) << true;
    }
    void damagedChannelDataFails()
    {
        QFETCH(QByteArray, channel);
        QFETCH(bool, loads);
        layered::Document d = layered::Faction(2, 2, QByteArray(4, '\xff'));
        d.Layers[0].Channels[0] = channel;
        CFactionsInfo f;
        QCOMPARE(Load(f, layered::Build(d)), loads);
        if (loads)
            QCOMPARE(GridText(f), QStringLiteral("10\n00\n"));
    }

    // The file saved by the program loads as the same grid; only the first and third channels of
    // the Background layer changed, and nothing of the other layers.
    void saveAndLoadAgain()
    {
        layered::Document d;
        layered::Layer first;
        first.Name = "Roads";
        first.Channels = {layered::RawChannel("ab"), layered::RawChannel("cd"), layered::RawChannel("ef")};
        first.TaggedAfterRecord = QByteArray("8BIMlfx2\0\0\0\x0e!?", 14);
        layered::Layer background = layered::Faction(9, 7, Pattern(9, 7)).Layers[0];
        layered::Layer third = first;
        third.Name = "Notes";
        d.Layers = {first, background, third};
        d.Trailing = layered::Flattened(9, 7, 3, 4, 5);
        // Padded to a multiple of 4, as image programs that align the layer information write it.
        const auto infoLength = [](const QByteArray& file) { return qFromBigEndian<uint32_t>(file.constData() + 38); };
        d.Pad = int(4 - infoLength(layered::Build(d)) % 4) % 4;
        if (d.Pad == 0) {
            d.Layers[0].Channels[0] += 'x';
            d.Pad = 3;
        }
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.sid"));
        const QString out = dir.filePath(QStringLiteral("out.sid"));
        QVERIFY(WriteFile(in, layered::Build(d)));

        CFactionsInfo f;
        QString reason;
        // With nothing loaded there is nothing to save, and no file is made.
        QVERIFY(!f.SaveToFile(out, &reason));
        QVERIFY(!QFile::exists(out));
        QVERIFY2(f.LoadFromFile(in, &reason), qPrintable(reason));
        QVERIFY(f.SetFaction(7, 0, 0) && f.SetFaction(0, 1, 1) && f.SetFaction(1, 8, 6));
        QVERIFY(!f.SetFaction(1, 9, 0));
        const QString painted = GridText(f);
        QVERIFY2(f.SaveToFile(out, &reason), qPrintable(reason));

        CFactionsInfo g;
        QVERIFY2(g.LoadFromFile(out, &reason), qPrintable(reason));
        QCOMPARE(GridText(g), painted);
        const CLayeredDocument& after = g.Document();
        QCOMPARE(after.Layers[1].Channels[1].Data, background.Channels[1]);
        for (int l : {0, 2}) {
            for (int c = 0; c < 3; ++c)
                QCOMPARE(after.Layers[l].Channels[c].Data, d.Layers[l].Channels[c]);
            QCOMPARE(after.Layers[l].TaggedBlocks.at(0), d.Layers[l].TaggedAfterRecord);
            QCOMPARE(after.Layers[l].NameBlock, layered::NameBlock(d.Layers[l].Name));
        }
        QCOMPARE(after.TrailingData, d.Trailing);
        // A strict reader follows the lengths to the flattened picture.
        const qsizetype picture = 26 + 4 + 4 + 4 + qsizetype(after.LayerSectionLength);
        QCOMPARE(ReadFile(out).mid(picture).toHex(), d.Trailing.toHex());
        QCOMPARE(after.LayerInfoLength % 4, 0u);
        // The third channel holds the inverse: read as the first, it gives the opposite grid.
        std::swap(g.Document().Layers[1].Channels[0], g.Document().Layers[1].Channels[2]);
        QVERIFY(g.ExtractFactions());
        QCOMPARE(GridText(g), QString(painted).replace(u'0', u'x').replace(u'1', u'0').replace(u'x', u'1'));
    }

    void documentWithoutBackgroundIsWrittenUnchanged()
    {
        CFactionsInfo f;
        QVERIFY(Load(f, layered::Build(layered::Faction(3, 3, Pattern(3, 3)))));
        f.Document().Layers[0].NameBlock = layered::NameBlock("Renamed");
        const QByteArray expected = f.Document().Serialize();
        QVERIFY(!f.StoreFactions());
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.sid"));
        QVERIFY(f.SaveToFile(out));
        QCOMPARE(ReadFile(out), expected);
    }

    void renderDrawsOneSquarePerSector()
    {
        // 2 x 2 sectors: top row faction 1 then 0, bottom row 0 then 1.
        QByteArray first("\xff\0\0\xff", 4);
        CFactionsInfo f;
        QVERIFY(Load(f, layered::Build(layered::Faction(2, 2, first))));
        // Terrain 0..8192 square shown in pixels 10..30 x 0..20 of a 40 x 20 picture.
        const CViewport view(0, 0, 8192, 8192, 10, 0, 30, 20, 1, 1, 40, 20);
        const QRgb face = qRgb(0xd4, 0xd0, 0xc8);
        QImage image(3, 3, QImage::Format_ARGB32);
        RenderFactions(f, view, image, face);
        QCOMPARE(image.size(), QSize(40, 20));
        QCOMPARE(image.format(), QImage::Format_RGB32);
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
        QCOMPARE(image.pixel(9, 5), face);
        QCOMPARE(image.pixel(10, 0), red);
        QCOMPARE(image.pixel(19, 9), red);
        QCOMPARE(image.pixel(20, 9), blue); // the square ends before its second corner
        QCOMPARE(image.pixel(19, 10), blue);
        QCOMPARE(image.pixel(20, 10), red);
        QCOMPARE(image.pixel(29, 19), red);
        QCOMPARE(image.pixel(30, 0), face);
        // A view that lies wholly outside the grid draws only the button face.
        RenderFactions(f, CViewport(900000, 0, 990000, 8192, 10, 0, 30, 20, 1, 1, 40, 20), image, face);
        QCOMPARE(image.pixel(15, 5), face);
    }

    void painting_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("z");
        QTest::addColumn<int>("radius");
        QTest::addColumn<QString>("grid");
        // Starting grid: everything faction 1 but sector (2, 1).
        const QString start = QStringLiteral("11111\n11011\n11111\n11111\n");
        QTest::newRow("radius 0 toggles one sector")
            << 4096.0f * 3.5f << 4096.0f * 2.1f << 0 << QStringLiteral("11111\n11011\n11101\n11111\n");
        QTest::newRow("radius 0 on faction 0")
            << 4096.0f * 2.0f << 4096.0f * 1.0f << 0 << QStringLiteral("11111\n11111\n11111\n11111\n");
        QTest::newRow("radius 2 sets the whole square to 0")
            << 4096.0f * 1.5f << 4096.0f * 2.5f << 2 << QStringLiteral("00001\n00001\n00001\n00001\n");
        QTest::newRow("radius 2 from the faction 0 sector")
            << 4096.0f * 2.2f << 4096.0f * 1.9f << 2 << QStringLiteral("11111\n11111\n11111\n11111\n");
        QTest::newRow("x in (-4096, 0) is column 0")
            << -4095.0f << 10.0f << 0 << QStringLiteral("01111\n11011\n11111\n11111\n");
        QTest::newRow("x -4096 is outside") << -4096.0f << 10.0f << 5 << start;
        QTest::newRow("z past the grid") << 10.0f << 4096.0f * 4.0f << 5 << start;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 10.0f << 5 << start;
        QTest::newRow("huge radius") << 0.0f << 0.0f << 2000000000 << QStringLiteral("00000\n00000\n00000\n00000\n");
        QTest::newRow("negative radius") << 0.0f << 0.0f << -1 << start;
    }
    void painting()
    {
        QFETCH(float, x);
        QFETCH(float, z);
        QFETCH(int, radius);
        QFETCH(QString, grid);
        QByteArray first(5 * 4, '\xff');
        first[1 * 5 + 2] = 0;
        CFactionsInfo f;
        QVERIFY(Load(f, layered::Build(layered::Faction(5, 4, first))));
        PaintFactionSquare(f, x, z, radius);
        QCOMPARE(GridText(f), grid);
    }
};

QTEST_MAIN(TestFactionsInfo)
#include "tst_factionsinfo.moc"
