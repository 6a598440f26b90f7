// The view as one value: its record <-> pixel arithmetic against an independent reckoning on random
// views, and the navigation that keeps a point under the hand.

#include "mapview/map.h"
#include "mapview/mapwindow.h"
#include "mapview/viewport.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace {

// The reckoning the overlay has always used, written out apart from the code: the scale is the pixel
// span over the world span rounded to single precision, a record maps to trunc((x - left) * scale
// + pixel left), and record Z counts down from halfZ sectors.
struct Reference {
    long double Left, RecordTop, PixelLeft, PixelTop, ScaleX, ScaleZ;

    explicit Reference(const CViewport& v)
    {
        Left = v.MapLeft;
        RecordTop = (long double)v.HalfSectorsZ * 4096 - v.MapTop;
        PixelLeft = v.PixelLeft;
        PixelTop = v.PixelTop;
        const long double recordBottom = (long double)v.HalfSectorsZ * 4096 - v.MapBottom;
        ScaleX = float(double(v.PixelRight - v.PixelLeft) / double((long double)v.MapRight - v.MapLeft));
        ScaleZ = float(double(v.PixelBottom - v.PixelTop) / double(recordBottom - RecordTop));
    }
    int Column(float x) const { return int(std::trunc(double(double(x - Left) * double(ScaleX)) + double(PixelLeft))); }
    int Row(float z) const
    {
        return int(std::trunc(double(double(z - RecordTop) * double(ScaleZ)) + double(PixelTop)));
    }
};

CMap FlatMap(int32_t side)
{
    CMap map;
    map.ColumnCount = side;
    map.RowCount = side;
    map.CellSizeX = 64.0f;
    map.CellSizeZ = 64.0f;
    map.Heights.assign(size_t(side) * size_t(side), 10.0f);
    map.TerrainLoaded = true;
    return map;
}

// The default view of a 65536-unit square terrain in a 640 x 480 picture.
CMapWindow DefaultView()
{
    static const CMap map = FlatMap(1024);
    CMapWindow window(&map);
    window.SetSize(640, 480);
    window.ResetView();
    return window;
}

// The terrain X under the continuous picture position px (0 is the picture's left edge).
double TerrainXAt(const CMapWindow& w, double px)
{
    return w.ViewLeft + px * (double(w.ViewRight) - w.ViewLeft) / w.PixelWidth;
}
double PixelOfTerrainX(const CMapWindow& w, double x)
{
    return (x - w.ViewLeft) * w.PixelWidth / (double(w.ViewRight) - w.ViewLeft);
}
double TerrainZAt(const CMapWindow& w, double py)
{
    return w.ViewTop - py * (double(w.ViewTop) - w.ViewBottom) / w.PixelHeight;
}
double PixelOfTerrainZ(const CMapWindow& w, double z)
{
    return (w.ViewTop - z) * w.PixelHeight / (double(w.ViewTop) - w.ViewBottom);
}

} // namespace

class TestViewport : public QObject {
    Q_OBJECT

private slots:
    void recordsMapAsTheyAlwaysDid()
    {
        QRandomGenerator random(1302);
        int checked = 0;
        for (int view = 0; view < 300; ++view) {
            const int halfZ = random.bounded(1, 64);
            const int left = random.bounded(-200000, 200000);
            const int bottom = random.bounded(-200000, 200000);
            const int right = left + random.bounded(1, 600000);
            const int top = bottom + random.bounded(1, 600000);
            const int pixelLeft = random.bounded(-500, 500);
            const int pixelTop = random.bounded(-500, 500);
            const CViewport v(left, bottom, right, top, pixelLeft, pixelTop, pixelLeft + random.bounded(1, 2000),
                              pixelTop + random.bounded(1, 2000), 16, halfZ, 1920, 1080);
            const Reference reference(v);
            for (int point = 0; point < 20; ++point) {
                const auto x = float(left + random.generateDouble() * (double(right) - left));
                const auto z = float(reference.RecordTop + random.generateDouble() * (double(top) - bottom));
                QVERIFY(v.IsOnMap(x, z));
                int32_t column = 0;
                int32_t row = 0;
                v.MapToPixel(x, z, column, row);
                QCOMPARE(column, reference.Column(x));
                QCOMPARE(row, reference.Row(z));
                // And back to within one pixel's worth of the world.
                float bx = 0;
                float bz = 0;
                v.PixelToMap(column, row, bx, bz);
                QVERIFY(std::abs(double(bx) - x) <= 1.0 / reference.ScaleX + 1.0);
                QVERIFY(std::abs(double(bz) - z) <= 1.0 / reference.ScaleZ + 1.0);
                ++checked;
            }
        }
        QCOMPARE(checked, 6000);
    }

    void zoomKeepsThePointUnderTheCursor_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<int>("steps"); // positive zooms in
        QTest::newRow("in at the top left") << QPoint(0, 0) << 3;
        QTest::newRow("in off centre") << QPoint(311, 47) << 5;
        QTest::newRow("out at the bottom right") << QPoint(639, 479) << -4;
        QTest::newRow("in then out") << QPoint(100, 400) << 0;
    }
    void zoomKeepsThePointUnderTheCursor()
    {
        QFETCH(QPoint, cursor);
        QFETCH(int, steps);
        CMapWindow window = DefaultView();
        const double x = TerrainXAt(window, cursor.x() + 0.5);
        const double z = TerrainZAt(window, cursor.y() + 0.5);
        const int32_t width = window.ViewRight - window.ViewLeft;
        const auto zoom = [&](int n) {
            for (int i = 0; i < std::abs(n); ++i)
                window.ZoomAround(cursor.x(), cursor.y(), n > 0);
        };
        zoom(steps == 0 ? 6 : steps);
        if (steps == 0)
            zoom(-6);
        QVERIFY(std::abs(PixelOfTerrainX(window, x) - (cursor.x() + 0.5)) <= 0.5);
        QVERIFY(std::abs(PixelOfTerrainZ(window, z) - (cursor.y() + 0.5)) <= 0.5);
        const int32_t zoomed = window.ViewRight - window.ViewLeft;
        QVERIFY(steps > 0 ? zoomed < width : zoomed > width || steps == 0); // a step in and out is not 1
        // The visible terrain rectangle follows the window.
        QCOMPARE(window.Viewport().MapLeft, std::max(window.ViewLeft, 0));
    }

    void dragMovesTheViewByItsOffset_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("right and down") << 37 << 12;
        QTest::newRow("left and up") << -250 << -99;
        QTest::newRow("nothing") << 0 << 0;
    }
    void dragMovesTheViewByItsOffset()
    {
        QFETCH(int, dx);
        QFETCH(int, dy);
        CMapWindow window = DefaultView();
        window.ZoomIn();
        const CMapWindow before = window;
        window.PanByPixels(dx, dy);
        // The terrain point that was under pixel p is now under p + (dx, dy), to a world unit.
        const double x = TerrainXAt(before, 100);
        const double z = TerrainZAt(before, 100);
        const double unitX = double(window.PixelWidth) / (double(window.ViewRight) - window.ViewLeft);
        const double unitZ = double(window.PixelHeight) / (double(window.ViewTop) - window.ViewBottom);
        QVERIFY(std::abs(PixelOfTerrainX(window, x) - (100 + dx)) <= unitX / 2);
        QVERIFY(std::abs(PixelOfTerrainZ(window, z) - (100 + dy)) <= unitZ / 2);
        QCOMPARE(window.ViewRight - window.ViewLeft, before.ViewRight - before.ViewLeft);
        QCOMPARE(window.ViewTop - window.ViewBottom, before.ViewTop - before.ViewBottom);
    }

    void centringOnATerrainPositionKeepsTheZoom()
    {
        CMapWindow window = DefaultView();
        window.ZoomIn();
        const int32_t width = window.ViewRight - window.ViewLeft;
        window.CentreOnTerrain(1000.0, 60000.0);
        QCOMPARE(window.ViewRight - window.ViewLeft, width);
        QVERIFY(std::abs((double(window.ViewLeft) + window.ViewRight) / 2 - 1000.0) <= 0.5);
        QVERIFY(std::abs((double(window.ViewBottom) + window.ViewTop) / 2 - 60000.0) <= 0.5);
        const CMapWindow before = window;
        window.CentreOnTerrain(std::nan(""), 0.0); // not a position: nothing moves
        QCOMPARE(window.ViewLeft, before.ViewLeft);
    }
};

QTEST_MAIN(TestViewport)
#include "tst_viewport.moc"
