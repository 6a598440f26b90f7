// The map view: its view arithmetic, the heights picture and the route networks, pixel by pixel.

#include "mapfixtures.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"

#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace fixtures;

namespace {

const QColor kFace(212, 208, 200);
const QRgb kNavy = qRgb(0, 0, 128);

// A terrain held in memory: `columns` x `rows` samples of one cell each, all at `height`.
CMap FlatMap(int32_t columns, int32_t rows, float cell, float height)
{
    CMap map;
    map.ColumnCount = columns;
    map.RowCount = rows;
    map.CellSizeX = cell;
    map.CellSizeZ = cell;
    map.Heights.assign(static_cast<size_t>(columns) * rows, height);
    map.TerrainLoaded = true;
    return map;
}

struct View {
    int32_t Left, Right, Bottom, Top;
};

void SetView(CMapWindow& window, View v)
{
    window.ViewLeft = v.Left;
    window.ViewRight = v.Right;
    window.ViewBottom = v.Bottom;
    window.ViewTop = v.Top;
}

// The picture holds nothing but the background.
void ExpectOnlyBackground(const CMapWindow& window)
{
    QImage image;
    window.Render(image, kFace);
    QImage expected(window.PixelWidth, window.PixelHeight, QImage::Format_RGB32);
    expected.fill(kFace.rgb());
    QCOMPARE(image, expected);
}

} // namespace

Q_DECLARE_METATYPE(View)

class TestMapWindow : public QObject {
    Q_OBJECT

private slots:
    void defaultViewOfASquareTerrainInAWideImage()
    {
        const CMap map = FlatMap(1000, 1000, 1.0f, 0.0f);
        CMapWindow window(&map);
        window.SetSize(500, 250);
        QCOMPARE(window.ViewRight, 0); // the first size only stores
        window.ResetView();
        QCOMPARE(QList<int32_t>({window.ViewLeft, window.ViewRight, window.ViewBottom, window.ViewTop}),
                 QList<int32_t>({-500, 1500, 0, 1000}));
        int32_t l, b, r, t;
        window.GetMapRect(l, b, r, t);
        QCOMPARE(QList<int32_t>({l, b, r, t}), QList<int32_t>({0, 0, 1000, 1000}));
        window.GetMapPixelRect(l, t, r, b);
        QCOMPARE(QList<int32_t>({l, t, r, b}), QList<int32_t>({125, 0, 375, 250}));
    }

    void defaultViewOfAWideTerrain()
    {
        const CMap map = FlatMap(400, 100, 10.0f, 0.0f);
        CMapWindow window(&map);
        window.SetSize(200, 200);
        window.ResetView();
        // 4000 x 1000 in a square: the full width, the depth centred.
        QCOMPARE(QList<int32_t>({window.ViewLeft, window.ViewRight, window.ViewBottom, window.ViewTop,
                                 window.MapPixelTop, window.MapPixelBottom}),
                 QList<int32_t>({0, 4000, -1500, 2500, 75, 125}));
    }

    void navigation_data()
    {
        QTest::addColumn<View>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<View>("after");
        QTest::newRow("pan up a tenth") << View{0, 1000, 0, 1000} << "up" << View{0, 1000, 100, 1100};
        QTest::newRow("pan up stops at 9 deep") << View{0, 1000, 0, 9} << "up" << View{0, 1000, 0, 9};
        QTest::newRow("pan down") << View{0, 1000, 0, 1000} << "down" << View{0, 1000, -100, 900};
        QTest::newRow("pan left") << View{0, 1000, 0, 1000} << "left" << View{-100, 900, 0, 1000};
        QTest::newRow("pan right") << View{0, 1000, 0, 1000} << "right" << View{100, 1100, 0, 1000};
        QTest::newRow("zoom in") << View{0, 1000, 0, 500} << "zoom-in" << View{100, 900, 50, 450};
        QTest::newRow("zoom in stops per axis") << View{0, 9, 0, 500} << "zoom-in" << View{0, 9, 50, 450};
        QTest::newRow("zoom out") << View{0, 1000, 0, 500} << "zoom-out" << View{-100, 1100, -50, 550};
        QTest::newRow("centre on the centre") << View{0, 1000, 0, 500} << "centre:100:50" << View{0, 1000, 0, 500};
        QTest::newRow("centre on the top-left") << View{0, 1000, 0, 500} << "centre:0:0" << View{-500, 500, 250, 750};
        QTest::newRow("zoom out at the limit keeps the axis")
            << View{-CMapWindow::ViewLimit + 10, CMapWindow::ViewLimit - 10, 0, 100} << "zoom-out"
            << View{-CMapWindow::ViewLimit + 10, CMapWindow::ViewLimit - 10, -10, 110};
        QTest::newRow("centre far outside does not wrap")
            << View{-CMapWindow::ViewLimit, CMapWindow::ViewLimit, 0, 100} << "centre:2000000000:50"
            << View{-CMapWindow::ViewLimit, CMapWindow::ViewLimit, 0, 100};
    }
    void navigation()
    {
        QFETCH(View, before);
        QFETCH(QString, operation);
        QFETCH(View, after);
        const CMap map = FlatMap(100, 100, 10.0f, 0.0f);
        CMapWindow window(&map);
        window.SetSize(200, 100);
        SetView(window, before);
        if (operation == QLatin1String("up"))
            window.PanUp();
        else if (operation == QLatin1String("down"))
            window.PanDown();
        else if (operation == QLatin1String("left"))
            window.PanLeft();
        else if (operation == QLatin1String("right"))
            window.PanRight();
        else if (operation == QLatin1String("zoom-in"))
            window.ZoomIn();
        else if (operation == QLatin1String("zoom-out"))
            window.ZoomOut();
        else {
            const QStringList p = operation.split(QLatin1Char(':'));
            window.CentreOn(p[1].toInt(), p[2].toInt());
        }
        QCOMPARE(QList<int32_t>({window.ViewLeft, window.ViewRight, window.ViewBottom, window.ViewTop}),
                 QList<int32_t>({after.Left, after.Right, after.Bottom, after.Top}));
    }

    void resizeKeepsCornerAndScale()
    {
        const CMap map = FlatMap(1000, 1000, 1.0f, 0.0f);
        CMapWindow window(&map);
        window.SetSize(500, 250);
        window.ResetView();
        window.SetSize(1000, 250);
        QCOMPARE(QList<int32_t>({window.ViewLeft, window.ViewRight, window.ViewBottom, window.ViewTop}),
                 QList<int32_t>({-500, 3500, 0, 1000}));
        window.SetSize(1000, 125);
        QCOMPARE(window.ViewBottom, 500);
    }

    void heightColours_data()
    {
        QTest::addColumn<float>("height");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("below the sea") << -0.5f << kNavy;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << kNavy;
        QTest::newRow("sea level") << 0.0f << qRgb(100, 100, 100);
        QTest::newRow("one step") << 15.0f << qRgb(101, 101, 101);
        QTest::newRow("just below white") << 2324.0f << qRgb(254, 254, 254);
        QTest::newRow("white") << 2325.0f << qRgb(255, 255, 255);
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << qRgb(255, 255, 255);
    }
    void heightColours()
    {
        QFETCH(float, height);
        QTEST(CMapWindow::HeightColour(height), "colour");
    }

    void blocksAtResolutionFour()
    {
        // Heights rise by 15 per sample column, so every block shows the grey of its own sample.
        CMap map = FlatMap(100, 100, 1.0f, 0.0f);
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < 100; ++c)
                map.Heights[static_cast<size_t>(r) * 100 + c] = 15.0f * c;
        CMapWindow window(&map);
        window.SetSize(20, 20);
        SetView(window, {0, 20, 79, 99});
        window.MapLeft = window.ViewLeft;
        window.MapPixelLeft = 0;
        window.MapPixelRight = 10;
        window.MapPixelTop = 0;
        window.MapPixelBottom = 10;
        window.SetResolution(4);
        window.SetRouteLayers(false, false, false, false);
        QImage image;
        window.Render(image, kFace);
        const QRgb grey0 = qRgb(100, 100, 100), grey4 = qRgb(104, 104, 104), grey8 = qRgb(108, 108, 108);
        for (int x = 0; x < 20; ++x) {
            const QRgb expected = x < 4 ? grey0 : x < 8 ? grey4 : x < 10 ? grey8 : kFace.rgb();
            QCOMPARE(image.pixel(x, 0), expected);
            QCOMPARE(image.pixel(x, 9), expected);
            QCOMPARE(image.pixel(x, 10), kFace.rgb()); // blocks stop before MapPixelBottom
        }
        // At resolution 1 the column MapPixelRight and the row MapPixelBottom are set too.
        window.SetResolution(1);
        window.Render(image, kFace);
        QCOMPARE(image.pixel(10, 10), qRgb(110, 110, 110));
        QCOMPARE(image.pixel(11, 10), kFace.rgb());
        QCOMPARE(image.pixel(10, 11), kFace.rgb());
    }

    // A map rectangle that ends at the image's top edge (as an inverted view of a terrain with
    // negative cell sizes gives) leaves the whole image to the background, even when its first
    // block starts above the image and would reach into it.
    void rectangleEndingAtTheTopEdgeDrawsNothing()
    {
        const CMap map = FlatMap(100, 100, 1.0f, 0.0f);
        CMapWindow window(&map);
        window.SetSize(10, 10);
        SetView(window, {0, 10, 0, 10});
        window.MapPixelLeft = 0;
        window.MapPixelTop = -3;
        window.MapPixelRight = 10;
        window.MapPixelBottom = 0;
        window.SetResolution(4);
        ExpectOnlyBackground(window);
    }

    void routesAreDrawnByFlag_data()
    {
        QTest::addColumn<int>("network");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("roads") << 0 << qRgb(255, 0, 0);
        QTest::newRow("rivers") << 1 << qRgb(0, 0, 255);
        QTest::newRow("power lines") << 2 << qRgb(0, 255, 0);
        QTest::newRow("borders") << 3 << qRgb(255, 255, 0);
    }
    void routesAreDrawnByFlag()
    {
        QFETCH(int, network);
        QFETCH(QRgb, colour);
        CMap map = FlatMap(100, 100, 1.0f, 0.0f);
        RouteList* lists[4] = {&map.Roads, &map.Rivers, &map.Utilities, &map.Boundary};
        // One horizontal segment across terrain Z 50 from X 10 to X 30: pixels row 50, 10..30.
        lists[network]->push_back({10, 50, 30, 50});
        CMapWindow window(&map);
        window.SetSize(100, 100);
        window.ResetView();
        window.SetResolution(1);
        QImage image;
        window.SetRouteLayers(false, false, false, false);
        window.Render(image, kFace);
        const QImage heightsOnly = image;
        QCOMPARE(image.pixel(20, 50), qRgb(100, 100, 100));
        window.SetRouteLayers(network == 0, network == 1, network == 2, network == 3);
        window.Render(image, kFace);
        QCOMPARE(image.pixel(10, 50), colour);
        QCOMPARE(image.pixel(30, 50), colour); // both end pixels
        QCOMPARE(image.pixel(9, 50), qRgb(100, 100, 100));
        QCOMPARE(image.pixel(31, 50), qRgb(100, 100, 100));
        QCOMPARE(image.pixel(20, 49), qRgb(100, 100, 100));
        // Another network switched on with an empty list adds nothing.
        window.SetRouteLayers(true, true, true, true);
        lists[network]->clear();
        window.Render(image, kFace);
        QCOMPARE(image, heightsOnly);
    }

    void segmentsFarOutsideAreClipped()
    {
        CMap map = FlatMap(100, 100, 1.0f, 0.0f);
        map.Rivers.push_back({-3e38f, 50, 3e38f, 50});
        map.Rivers.push_back({std::numeric_limits<float>::quiet_NaN(), 0, 5, 5});
        CMapWindow window(&map);
        window.SetSize(100, 100);
        window.ResetView();
        window.SetResolution(2);
        window.SetRouteLayers(false, true, false, false);
        QImage image;
        window.Render(image, kFace);
        QCOMPARE(image.pixel(0, 50), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(99, 50), qRgb(0, 0, 255));
    }

    void terrainWithoutExtentDrawsOnlyTheBackground()
    {
        CMap none;
        CMapWindow window(&none);
        window.SetSize(30, 20);
        window.ResetView();
        window.SetResolution(1);
        ExpectOnlyBackground(window);
    }

    void loadedTerrainInTheMiddleOfTheImage()
    {
        QTemporaryDir dir;
        QVERIFY(SaveTerrain(dir.path() + QStringLiteral("/terrain/terrain.sim"),
                            Grid(10, 10, 100, 100, [](int c, int) { return c < 5 ? -10.0f : 150.0f; })));
        CMap map;
        QVERIFY(map.Load(dir.path()));
        CMapWindow window(&map);
        window.SetSize(40, 20);
        window.ResetView();
        window.SetResolution(1);
        QImage image;
        window.Render(image, kFace);
        QCOMPARE(image.pixel(5, 10), kFace.rgb()); // left of the terrain
        QCOMPARE(image.pixel(12, 10), kNavy);      // the western half is sea
        QCOMPARE(image.pixel(27, 10), qRgb(110, 110, 110));
        QCOMPARE(image.pixel(35, 10), kFace.rgb());
    }
};

QTEST_MAIN(TestMapWindow)
#include "tst_mapwindow.moc"
