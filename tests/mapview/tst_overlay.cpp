// The record overlay: the transform, symbol shapes pixel by pixel, the sector grid, the hit test,
// and the two drawing layers that put them over the terrain.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapfixtures.h"
#include "mapview/maplayers.h"
#include "mapview/overlay.h"
#include "mapview/raster.h"

#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace fixtures;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBlack);
    return image;
}

// The picture of a symbol as text rows ('#' set, '.' not), for the box around (cx, cy).
QStringList Picture(const QImage& image, int cx, int cy, int reach)
{
    QStringList rows;
    for (int y = cy - reach; y <= cy + reach; ++y) {
        QString row;
        for (int x = cx - reach; x <= cx + reach; ++x)
            row += image.pixel(x, y) == kBlack ? QLatin1Char('.') : QLatin1Char('#');
        rows << row;
    }
    return rows;
}

struct Document {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CBINFile File{&Catalogue, &Types};
    CTarnConfig Styles;

    void AddKeysite(float x, float z)
    {
        File.InsertRows(File.KeysiteCount(), std::vector{CKeysitePlacement{-1, x, z}});
    }
    void AddAirbase(float x, float z) { File.InsertRows(File.AirbaseCount(), std::vector{CAirbasePlacement{x, z}}); }
    void AddSam(float x, float z) { File.InsertRows(File.SamCount(), std::vector{CSAMPlacement{x, z}}); }
};

} // namespace

class TestOverlay : public QObject {
    Q_OBJECT

private slots:
    void visibleRectangleIncludesItsEdges()
    {
        Document doc;
        const CViewport view(0, 0, 1000, 1000, 0, 0, 100, 100, 0, 0, 0, 0);
        QVERIFY(view.IsOnMap(1000.0f, -500.0f));
        QVERIFY(!view.IsOnMap(1000.001f, -500.0f));
        QVERIFY(!view.IsOnMap(std::numeric_limits<float>::quiet_NaN(), -500.0f));
    }

    void symbolShapes_data()
    {
        // Colours are stored blue-green-red: 0x0000FF is red.
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("colour");
        QTest::addColumn<QStringList>("picture");
        QTest::newRow("square 2: the box stops before its second corner")
            << 0 << 2 << 0x00FF00
            << QStringList{".......", ".####..", ".#..#..", ".#..#..", ".####..", ".......", "......."};
        QTest::newRow("square 1: two by two") << 0 << 1 << 0x00FF00 << QStringList{"##.", "##.", "..."};
        QTest::newRow("cross 2") << 2 << 2 << 0x00FF00 << QStringList{".......", ".#...#.", "..#.#..", "...#...",
                                                                      "..#.#..", ".#...#.", "......."};
        QTest::newRow("unknown shape draws nothing")
            << 7 << 2 << 0x00FF00
            << QStringList{".......", ".......", ".......", ".......", ".......", ".......", "......."};
        QTest::newRow("triangle 4: flat side at the top")
            << int(TriangleShape) << 4 << 0xFFFFFF
            << QStringList{"...........", ".#########.", ".#......#..", "..#.....#..", "..#....#...", "...#...#...",
                           "...#..#....", "....#.#....", "....##.....", ".....#.....", "..........."};
        QTest::newRow("circle 6: fits its box, outline only")
            << int(CircleShape) << 6 << 0x0000FF
            << QStringList{"...............", ".....####......", "...##....##....", "..#........#...",
                           "..#........#...", ".#..........#..", ".#..........#..", ".#..........#..",
                           ".#..........#..", "..#........#...", "..#........#...", "...##....##....",
                           ".....####......", "...............", "..............."};
    }
    void symbolShapes()
    {
        QFETCH(int, shape);
        QFETCH(int, size);
        QFETCH(int, colour);
        QFETCH(QStringList, picture);
        CTarnConfig styles;
        styles.Styles[SamKind] = {static_cast<uint8_t>(shape), size, colour};
        QImage image = Blank(40, 40);
        DrawSymbol(styles, image, 20, 20, SamKind);
        const int reach = (picture.size() - 1) / 2;
        QCOMPARE(Picture(image, 20, 20, reach), picture);
        const QRgb drawn = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                QVERIFY(image.pixel(x, y) == kBlack || image.pixel(x, y) == drawn);
    }

    void recordsOnTheMapAreDrawnInTheirStyle()
    {
        Document doc;
        doc.Styles.Styles[KeysiteKind] = {SquareShape, 1, 0x0000FF};
        doc.AddKeysite(500, 500);
        doc.AddKeysite(1000, 0); // on the edge: drawn
        doc.AddKeysite(1001, 0); // beyond it: not drawn
        const CViewport view(0, -1000, 1000, 0, 0, 0, 100, 100, 0, 0, 0, 0);
        QImage image = Blank(110, 110);
        DrawKeysites(doc.File, doc.Styles, view, image);
        QCOMPARE(image.pixel(50, 50), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(49, 49), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(99, 0), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(100, 0), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(101, 0), kBlack);
        int set = 0;
        for (int y = 0; y < 110; ++y)
            for (int x = 0; x < 110; ++x)
                set += image.pixel(x, y) != kBlack;
        QCOMPARE(set, 4 + 2); // one whole square, one cut by the top edge
        QImage none = Blank(110, 110);
        DrawAirbases(doc.File, doc.Styles, view, none);
        DrawSAMs(doc.File, doc.Styles, view, none);
        QCOMPARE(none, Blank(110, 110));
    }

    void crowdedSymbolsLookLikeEachDrawnAlone_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("count");
        // Size 0 is an empty stamp; 300 is drawn directly.
        for (int shape : {0, 1, 2, 3})
            for (int size : {0, 1, 2, 5, -3, 300})
                QTest::addRow("shape %d size %d", shape, size) << shape << size << 3000;
        QTest::newRow("few: one by one") << 1 << 2 << 100;
    }
    void crowdedSymbolsLookLikeEachDrawnAlone()
    {
        // Many records of a kind, some on one pixel, some with the centre off the picture but the
        // symbol reaching into it, on a picture whose width is not a whole number of 64-pixel words.
        QFETCH(int, shape);
        QFETCH(int, size);
        QFETCH(int, count);
        Document doc;
        doc.Styles.Styles[AirbaseKind] = {static_cast<uint8_t>(shape), size, 0x0080FF};
        const CViewport view(0, -300, 300, 0, -20, -20, 280, 280, 0, 0, 0, 0); // map 0 is pixel -20
        QImage expected = Blank(200, 130);
        uint32_t seed = 7;
        for (int i = 0; i < count; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const float x = float(seed % 301u);
            const float z = float((seed >> 12) % 301u);
            doc.AddAirbase(x, z);
            int32_t column = 0, row = 0;
            view.MapToPixel(x, z, column, row);
            DrawSymbol(doc.Styles, expected, column, row, AirbaseKind);
        }
        QImage drawn = Blank(200, 130);
        DrawAirbases(doc.File, doc.Styles, view, drawn);
        QCOMPARE(drawn, expected);
        // A size-0 symbol is empty but for a cross's centre; squares of 300 lie wholly outside the picture.
        const bool empty = (size == 0 && shape != CrossShape) || (size == 300 && shape == SquareShape);
        QCOMPARE(drawn == Blank(200, 130), empty);
    }

    void linesKeepTheirRounding_data()
    {
        QTest::addColumn<QList<int>>("line"); // x1, y1, x2, y2
        QTest::newRow("across, leftwards, clipped both ends") << QList<int>{140, 9, -30, 9};
        QTest::newRow("down, clipped at the bottom") << QList<int>{17, 5, 17, 300};
        QTest::newRow("up from below") << QList<int>{3, 120, 3, 0};
        QTest::newRow("shallow, halves") << QList<int>{0, 0, 8, 1};
        QTest::newRow("steep, upwards left") << QList<int>{60, 70, 51, -40};
        QTest::newRow("diagonal from outside") << QList<int>{-50, -50, 200, 200};
        QTest::newRow("shallow, leaving the side") << QList<int>{-7, 40, 150, 90};
        QTest::newRow("beside the picture") << QList<int>{-5, -1, -5, 50};
    }
    void linesKeepTheirRounding()
    {
        // Each step's minor coordinate is the nearest pixel to the exact line, halves away from the
        // start, the end point excluded.
        QFETCH(QList<int>, line);
        const int64_t x1 = line[0], y1 = line[1], x2 = line[2], y2 = line[3];
        QImage expected = Blank(100, 80);
        const int64_t dx = x2 - x1, dy = y2 - y1;
        const int64_t major = std::max(std::llabs(dx), std::llabs(dy));
        for (int64_t i = 0; i < major; ++i) {
            const auto along = [&](int64_t d) {
                const int64_t magnitude = (2 * i * std::llabs(d) + major) / (2 * major);
                return d < 0 ? -magnitude : magnitude;
            };
            const int64_t x = x1 + along(dx), y = y1 + along(dy);
            if (x >= 0 && y >= 0 && x < 100 && y < 80)
                expected.setPixel(int(x), int(y), kWhite);
        }
        QImage drawn = Blank(100, 80);
        raster::DrawLine(drawn, x1, y1, x2, y2, kWhite);
        QCOMPARE(drawn, expected);
    }

    void selectionRingChangesOnlyItsOwnPixels_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("size");
        QTest::newRow("circle 4") << int(CircleShape) << 4;
        QTest::newRow("cross 5 reaches one further") << int(CrossShape) << 5;
        QTest::newRow("negative size") << int(SquareShape) << -3;
    }
    void selectionRingChangesOnlyItsOwnPixels()
    {
        QFETCH(int, shape);
        QFETCH(int, size);
        Document doc;
        doc.Styles.Styles[SamKind] = {static_cast<uint8_t>(shape), size, 0xFFFFFF};
        const QList<QPoint> sites{{100, 100}, {300, 150}, {500, 400}, {700, 700}};
        for (const QPoint& p : sites)
            doc.AddSam(float(p.x()), float(p.y()));
        const CViewport view(0, -800, 800, 0, 0, 0, 800, 800, 0, 0, 800, 800); // one pixel per unit
        QImage plain(800, 800, QImage::Format_RGB32);
        plain.fill(qRgb(128, 128, 128));
        DrawSAMs(doc.File, doc.Styles, view, plain);
        QImage marked = plain.copy();
        DrawSelection(doc.File, doc.Styles, view, marked, SamKind, std::vector<int>{1, 3});
        // A white square at a symbol's reach + 2 (one clear pixel beyond a cross), black around it,
        // around records 1 and 3 only; the symbols and everything else keep their pixels.
        const int reach = std::abs(size) + 3;
        int changed = 0;
        for (int y = 0; y < 800; ++y) {
            for (int x = 0; x < 800; ++x) {
                QRgb expected = plain.pixel(x, y);
                for (int i : {1, 3}) {
                    const int d = std::max(std::abs(x - sites[i].x()), std::abs(y - sites[i].y()));
                    if (d == reach)
                        expected = kWhite;
                    else if (d == reach + 1)
                        expected = kBlack;
                }
                changed += expected != plain.pixel(x, y);
                if (marked.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
        QCOMPARE(changed, 2 * (8 * reach + 8 * (reach + 1)));
        // Nothing selected, or records past the list, mark nothing.
        QImage none = plain.copy();
        DrawSelection(doc.File, doc.Styles, view, none, SamKind, {});
        DrawSelection(doc.File, doc.Styles, view, none, SamKind, std::vector<int>{4, 9});
        DrawSelection(doc.File, doc.Styles, view, none, KeysiteKind, std::vector<int>{0, 1, 2, 3});
        QCOMPARE(none, plain);
    }

    void gridLiesOnSectorBoundaries()
    {
        Document doc;
        // Two sectors wide and deep, one pixel per 128 units.
        const CViewport view(0, 0, 8192, 8192, 0, 0, 64, 64, 1, 1, 0, 0);
        QImage image = Blank(66, 66);
        DrawGrid(view, image);
        for (int y = 0; y < 64; ++y) {
            QCOMPARE(image.pixel(0, y), kWhite);
            QCOMPARE(image.pixel(32, y), kWhite);
            QCOMPARE(image.pixel(31, y), y % 32 == 0 ? kWhite : kBlack);
            QCOMPARE(image.pixel(64, y), kWhite);
        }
        for (int x = 0; x <= 64; ++x)
            QCOMPARE(image.pixel(x, 32), kWhite);
        QCOMPARE(image.pixel(17, 17), kBlack);
    }

    void hitTest_data()
    {
        QTest::addColumn<int>("visibleWidth");
        QTest::addColumn<QList<QPointF>>("keysites");
        QTest::addColumn<QList<QPointF>>("sams");
        QTest::addColumn<bool>("hit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        // The click converts to (0, 0) in every row.
        QTest::newRow("nearest wins across kinds")
            << 1000 << QList<QPointF>{{30, 0}} << QList<QPointF>{{0, 20}} << true << 2 << 0;
        QTest::newRow("inside the square of a tenth")
            << 50000 << QList<QPointF>{{4999, 4999}} << QList<QPointF>{} << true << 0 << 0;
        QTest::newRow("outside on one axis, near on the other")
            << 50000 << QList<QPointF>{{5001, 0}} << QList<QPointF>{} << false << 0 << 0;
        QTest::newRow("width 9: only the exact position")
            << 9 << QList<QPointF>{{1, 0}, {0, 0}} << QList<QPointF>{} << true << 0 << 1;
        QTest::newRow("width 9: nothing exact") << 9 << QList<QPointF>{{1, 0}} << QList<QPointF>{} << false << 0 << 0;
        QTest::newRow("records off the map count")
            << 1000 << QList<QPointF>{{-50, 0}} << QList<QPointF>{} << true << 0 << 0;
    }
    void hitTest()
    {
        QFETCH(int, visibleWidth);
        QFETCH(QList<QPointF>, keysites);
        QFETCH(QList<QPointF>, sams);
        Document doc;
        for (const QPointF& p : keysites)
            doc.AddKeysite(float(p.x()), float(p.y()));
        for (const QPointF& p : sams)
            doc.AddSam(float(p.x()), float(p.y()));
        // Record Z 0 at the top edge, so that pixel (0, 0) is the record position (0, 0).
        const CViewport view(0, -visibleWidth, visibleWidth, 0, 0, 0, visibleWidth, visibleWidth, 0, 0, 0, 0);
        RecordKind kind = KeysiteKind;
        int32_t index = -1;
        QTEST(HitTest(doc.File, view, 0, 0, kind, index), "hit");
        if (QTest::currentDataTag() && QByteArray(QTest::currentDataTag()).contains("nothing"))
            return;
        if (index >= 0) {
            QTEST(int(kind), "kind");
            QTEST(int(index), "index");
        }
    }

    void hitTestNeedsAScale()
    {
        Document doc;
        doc.AddKeysite(0, 0);
        RecordKind kind;
        int32_t index;
        QVERIFY(!HitTest(doc.File, CViewport(), 0, 0, kind, index));
    }

    void layersBeforeAnyMapDrawNothing()
    {
        Document doc;
        CMapLayers canvas;
        canvas.SetDocument(&doc.File);
        canvas.RedrawTerrain();
        canvas.RefreshMap();
        QVERIFY(canvas.Terrain().isNull());
        QVERIFY(canvas.Composite().isNull());
        QVERIFY(!canvas.Viewport().HasScale());
    }

    void compositeDrawsTheGridOverTheSymbols()
    {
        QTemporaryDir dir;
        QVERIFY(SaveTerrain(dir.path() + QStringLiteral("/terrain/terrain.sim"),
                            Grid(8, 8, 1024, 1024, [](int, int) { return 0.0f; })));
        QVERIFY(SaveSectors(dir.path() + QStringLiteral("/terrain/default.sec"), 2, 2));
        Document doc;
        doc.Styles.Styles[KeysiteKind] = {SquareShape, 3, 0x0000FF};
        doc.AddKeysite(4096, 0); // record Z 0 is terrain Z 4096: on a grid crossing
        CMapLayers canvas;
        canvas.SetDocument(&doc.File);
        canvas.SetSymbology(&doc.Styles);
        QVERIFY(canvas.ChangeMap(dir.path(), QSize(64, 64), 1));
        const QImage terrainOnly = canvas.Composite();
        QCOMPARE(terrainOnly, canvas.Terrain());
        MapLayerOptions options;
        options.Keysites = true;
        canvas.SetOptions(options);
        canvas.RefreshMap();
        QCOMPARE(canvas.Composite().pixel(29, 29), qRgb(255, 0, 0));
        options.Grid = true;
        canvas.SetOptions(options);
        canvas.RefreshMap();
        QCOMPARE(canvas.Composite().pixel(32, 29), kWhite); // grid over the square's edge
        QCOMPARE(canvas.Composite().pixel(29, 29), qRgb(255, 0, 0));
        QCOMPARE(canvas.Terrain(), terrainOnly); // the terrain layer is untouched

        // A folder without a readable terrain keeps the current map.
        QTemporaryDir empty;
        QString error;
        QVERIFY(!canvas.ChangeMap(empty.path(), QSize(64, 64), 1, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(canvas.HasMap());
        QCOMPARE(canvas.View()->WorldWidth, 8192);
    }

    // While the selection is dragged, a held (locked) kind's selected records stay where they are,
    // marked there; the others are drawn at the offset.
    void heldKindsStayWhileTheSelectionIsDragged()
    {
        QTemporaryDir dir;
        QVERIFY(SaveTerrain(dir.path() + QStringLiteral("/terrain/terrain.sim"),
                            Grid(8, 8, 1024, 1024, [](int, int) { return 0.0f; })));
        QVERIFY(SaveSectors(dir.path() + QStringLiteral("/terrain/default.sec"), 2, 2));
        Document doc;
        doc.AddAirbase(2000, 1000);
        CMapLayers canvas;
        canvas.SetDocument(&doc.File);
        canvas.SetSymbology(&doc.Styles);
        QVERIFY(canvas.ChangeMap(dir.path(), QSize(64, 64), 1));
        MapLayerOptions options;
        options.Airbases = true;
        canvas.SetOptions(options);
        canvas.SetSelection(AirbaseKind, {0});
        canvas.RefreshMap();
        const QImage still = canvas.Composite();
        canvas.SetMoveOffset(3000, 2000);
        canvas.RefreshMap();
        QVERIFY(canvas.Composite() != still);
        canvas.SetHeldKinds({false, true, false});
        canvas.RefreshMap();
        QCOMPARE(canvas.Composite(), still);
        canvas.SetHeldKinds({true, false, true}); // other kinds held: the airbase moves again
        canvas.RefreshMap();
        QVERIFY(canvas.Composite() != still);
    }
};

QTEST_MAIN(TestOverlay)
#include "tst_overlay.moc"
