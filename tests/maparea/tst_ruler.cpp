// The ruler: length, sectors and bearing in every direction and off the terrain, its label, the
// tool's drag, Shift snapping and Escape on a small terrain, and a user measuring between two
// airbases of the demonstration's map, the document never touched.
#include "document/binfile.h"
#include "factions/sectorsize.h"
#include "mapareafixture.h"
#include "maptools/ruler.h"
#include "mapview/map.h"
#include "mapview/mapextent.h"
#include "toolground.h"

#include <QLocale>
#include <QSignalSpy>

Q_DECLARE_METATYPE(RecordPoint)

namespace {

MapPointer At(QPoint pixel, MapPointer::Button button = MapPointer::NoButton, bool shift = false)
{
    MapPointer pointer;
    pointer.X = pixel.x();
    pointer.Y = pixel.y();
    pointer.Pressed = button;
    pointer.Shift = shift;
    return pointer;
}

bool ChangedNear(const QImage& a, const QImage& b, QPoint centre)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (a.pixel(centre + QPoint(dx, dy)) != b.pixel(centre + QPoint(dx, dy)))
                return true;
    return false;
}

} // namespace

class TestRuler : public QObject {
    Q_OBJECT
private:
    CToolGround m_ground;
    const CMap& m_map = m_ground.Map;
    const std::vector<CSAMPlacement> m_sams{{1000, 1000}, {5000, 2500}};
    std::array<bool, 3> m_pickable = {true, true, true};
    // What the tool last asked the map to draw, and how often it asked.
    int m_calls = 0;
    bool m_active = false;
    RecordPoint m_from, m_to;
    QString m_label;

    MapToolContext Context()
    {
        MapToolContext context;
        context.Session = m_ground.Session.get();
        context.View = m_ground.View.get();
        context.Pickable = m_pickable;
        context.RulerPreview = [this](float x0, float z0, float x1, float z1, const QString& label, bool active) {
            ++m_calls;
            m_active = active;
            m_from = {x0, z0};
            m_to = {x1, z1};
            m_label = label;
        };
        return context;
    }
    QPoint PixelOf(float x, float z) const { return m_ground.PixelOf(x, z); }
    RecordPoint Under(QPoint pixel) const { return PixelToRecord(m_ground.View->Viewport(), pixel.x(), pixel.y()); }
    void Drag(CRulerTool& tool, QPoint from, QPoint to, bool shiftAtPress = false, bool shiftOnDrag = false)
    {
        tool.Press(Context(), At(from, MapPointer::Left, shiftAtPress));
        tool.Move(Context(), At((from + to) / 2, MapPointer::NoButton, shiftOnDrag));
        tool.Move(Context(), At(to, MapPointer::NoButton, shiftOnDrag));
        tool.Release(Context(), At(to, MapPointer::Left));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        QVERIFY(m_ground.Reset(m_sams));
        m_calls = 0;
        m_active = false;
        m_pickable = {true, true, true};
    }

    void measure_data()
    {
        QTest::addColumn<RecordPoint>("from");
        QTest::addColumn<RecordPoint>("to");
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("bearing");
        // Up on the map is towards smaller record Z; 3-4-5 triangles turn 36.87 or 53.13 degrees from an axis.
        QTest::newRow("up") << RecordPoint{1000, 1000} << RecordPoint{1000, 0} << 1000.0 << 0.0;
        QTest::newRow("right") << RecordPoint{0, 0} << RecordPoint{4096, 0} << 4096.0 << 90.0;
        QTest::newRow("down") << RecordPoint{500, 100} << RecordPoint{500, 8292} << 8192.0 << 180.0;
        QTest::newRow("left") << RecordPoint{0, 0} << RecordPoint{-300, 0} << 300.0 << 270.0;
        QTest::newRow("up right") << RecordPoint{100, 100} << RecordPoint{400, -300} << 500.0 << 36.869897645844;
        QTest::newRow("down right") << RecordPoint{0, 0} << RecordPoint{4000, 3000} << 5000.0 << 126.869897645844;
        QTest::newRow("down left") << RecordPoint{0, 0} << RecordPoint{-3000, 4000} << 5000.0 << 216.869897645844;
        QTest::newRow("up left") << RecordPoint{0, 0} << RecordPoint{-4000, -3000} << 5000.0 << 306.869897645844;
        QTest::newRow("just left of up") << RecordPoint{0, 0} << RecordPoint{-1, -100000} << 100000.000005
                                         << 359.999427042;
        // Both ends far off any terrain: the difference is taken in double.
        QTest::newRow("off the terrain") << RecordPoint{-16777216, 30000000} << RecordPoint{13222784, -10000000}
                                         << 50000000.0 << 36.869897645844;
        QTest::newRow("no length") << RecordPoint{7, 7} << RecordPoint{7, 7} << 0.0 << 0.0;
    }
    void measure()
    {
        QFETCH(RecordPoint, from);
        QFETCH(RecordPoint, to);
        QFETCH(double, length);
        QFETCH(double, bearing);
        const RulerMeasurement m = RulerMeasure(from, to, SectorSize);
        QVERIFY2(qAbs(m.Length - length) < 1e-9 * std::max(1.0, length), qPrintable(QString::number(m.Length, 'f')));
        QCOMPARE(m.Sectors, m.Length / 4096);
        QVERIFY2(qAbs(m.Bearing - bearing) < 1e-6, qPrintable(QString::number(m.Bearing, 'f', 9)));
        // The other way round: the same length, the opposite bearing.
        if (length > 0) {
            const RulerMeasurement back = RulerMeasure(to, from, SectorSize);
            QCOMPARE(back.Length, m.Length);
            QVERIFY(qAbs(std::fmod(back.Bearing - m.Bearing + 360.0, 360.0) - 180.0) < 1e-6);
        }
        QCOMPARE(RulerMeasure(from, to, 0).Sectors, 0.0);
    }

    void label_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("bearing");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("label");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("grouped, padded") << 12345.4 << 47.4 << english
                                         << QStringLiteral("12,345 units · 3.0 sectors · 047°");
        QTest::newRow("halves round up") << 4096.5 << 89.5 << english
                                         << QStringLiteral("4,097 units · 1.0 sectors · 090°");
        QTest::newRow("just short of up is up")
            << 100.0 << 359.6 << english << QStringLiteral("100 units · 0.0 sectors · 000°");
        QTest::newRow("beyond any map")
            << 1e20 << 0.0 << english
            << QStringLiteral("100,000,000,000,000,000,000 units · 24,414,062,500,000,000.0 sectors · 000°");
        QTest::newRow("the user's separators") << 1234567.0 << 270.0 << QLocale(QLocale::German, QLocale::Germany)
                                               << QStringLiteral("1.234.567 units · 301,4 sectors · 270°");
    }
    void label()
    {
        QFETCH(double, length);
        QFETCH(double, bearing);
        QFETCH(QLocale, locale);
        QTEST(RulerLabel({length, length / SectorSize, bearing}, locale), "label");
    }

    void dragMeasuresUntilTheNextPressOrEscape()
    {
        CRulerTool tool;
        const QPoint from = PixelOf(1000, 7000);
        const QPoint to = PixelOf(6000, 2000);
        // Short of the start-drag distance nothing shows yet.
        tool.Press(Context(), At(from, MapPointer::Left));
        tool.Move(Context(), At(from + QPoint(4, 5)));
        QCOMPARE(m_calls, 0);
        tool.Move(Context(), At(to));
        tool.Release(Context(), At(to, MapPointer::Left));
        QVERIFY(m_active);
        QCOMPARE(m_from, Under(from));
        QCOMPARE(m_to, Under(to));
        QCOMPARE(m_label, RulerLabel(RulerMeasure(Under(from), Under(to), SectorSize), QLocale()));
        // It stays while the mouse hovers; a press takes it away at once, a click leaves none.
        tool.Move(Context(), At(QPoint(3, 3)));
        QCOMPARE(m_calls, 2);
        tool.Press(Context(), At(to, MapPointer::Left));
        tool.Release(Context(), At(to, MapPointer::Left));
        QVERIFY(!m_active && !tool.Shown());
        QCOMPARE(m_calls, 3);

        // Ends off the terrain and beyond the picture measure all the same.
        Drag(tool, QPoint(-40, -30), QPoint(260, 190));
        const MapExtent terrain = MapExtent::Of(m_map);
        QVERIFY(m_from.X < terrain.Left && m_from.Z < terrain.Top && m_to.X > terrain.Right && m_to.Z > terrain.Bottom);
        QCOMPARE(m_to, Under(QPoint(260, 190)));

        // Escape takes it away, and ends a drag so that its release shows nothing.
        tool.Cancel(Context());
        QVERIFY(!m_active);
        tool.Press(Context(), At(QPoint(20, 20), MapPointer::Left));
        tool.Move(Context(), At(QPoint(120, 90)));
        tool.Cancel(Context());
        tool.Release(Context(), At(QPoint(120, 90), MapPointer::Left));
        QVERIFY(!m_active && !tool.Shown());
        // Nor do another button or a view without a map start one.
        const int calls = m_calls;
        MapToolContext noMap = Context();
        noMap.View = nullptr;
        tool.Press(noMap, At(QPoint(20, 20), MapPointer::Left));
        tool.Move(noMap, At(QPoint(120, 90)));
        tool.Press(Context(), At(QPoint(20, 20), MapPointer::Right));
        tool.Move(Context(), At(QPoint(120, 90)));
        QCOMPARE(m_calls, calls);
        QVERIFY(!m_ground.Session->History().CanUndo());
    }

    void shiftSnapsEitherEnd_data()
    {
        QTest::addColumn<bool>("shiftAtPress");
        QTest::addColumn<bool>("shiftOnDrag");
        QTest::addColumn<bool>("samsShown");
        QTest::addColumn<QPoint>("offset"); // of the mouse from each symbol
        QTest::addColumn<bool>("fromSnaps");
        QTest::addColumn<bool>("toSnaps");
        QTest::newRow("without Shift") << false << false << true << QPoint(3, -2) << false << false;
        QTest::newRow("Shift at the press") << true << false << true << QPoint(3, -2) << true << false;
        // The release carries no keys: the end snaps as at the last move.
        QTest::newRow("Shift on the drag") << false << true << true << QPoint(3, -2) << false << true;
        QTest::newRow("both") << true << true << true << QPoint(-4, 4) << true << true;
        QTest::newRow("out of reach") << true << true << true << QPoint(9, 0) << false << false;
        QTest::newRow("a hidden kind") << true << true << false << QPoint(1, 1) << false << false;
    }
    void shiftSnapsEitherEnd()
    {
        QFETCH(QPoint, offset);
        QFETCH(bool, samsShown);
        m_pickable[SamKind] = samsShown;
        CRulerTool tool;
        const QPoint from = PixelOf(m_sams[0].X, m_sams[0].Z) + offset;
        const QPoint to = PixelOf(m_sams[1].X, m_sams[1].Z) + offset;
        QFETCH(bool, shiftAtPress);
        QFETCH(bool, shiftOnDrag);
        Drag(tool, from, to, shiftAtPress, shiftOnDrag);
        QFETCH(bool, fromSnaps);
        QFETCH(bool, toSnaps);
        QCOMPARE(m_from, fromSnaps ? RecordPoint(m_sams[0].X, m_sams[0].Z) : Under(from));
        QCOMPARE(m_to, toSnaps ? RecordPoint(m_sams[1].X, m_sams[1].Z) : Under(to));
    }

    void measuresBetweenTwoAirbasesOnTheMap()
    {
        CMapAreaFixture f;
        QVERIFY(f.Start());
        QVERIFY(f.OpenDemo());
        const CBINFile& records = f.Session->Records();
        QVERIFY(records.AirbaseCount() >= 2);
        const CAirbasePlacement a = records.Airbases()[0];
        const CAirbasePlacement b = records.Airbases()[1];
        f.Area->SetToolMode(MapToolMode::Ruler);
        f.Turn();
        const QImage before = f.Picture();
        QSignalSpy changed(f.Area.get(), &CMapArea::RulerChanged);
        // Shift held from press to release: the ends land on the airbases beside whose symbols the mouse is.
        const auto measure = [&] {
            const QPoint from = f.PixelOf(a.X, a.Z) + QPoint(2, 1);
            const QPoint to = f.PixelOf(b.X, b.Z) + QPoint(-1, 2);
            QTest::mousePress(f.Image, Qt::LeftButton, Qt::ShiftModifier, from);
            QTest::mouseEvent(QTest::MouseMove, f.Image, Qt::NoButton, Qt::ShiftModifier, (from + to) / 2);
            QTest::mouseEvent(QTest::MouseMove, f.Image, Qt::NoButton, Qt::ShiftModifier, to);
            QTest::mouseRelease(f.Image, Qt::LeftButton, Qt::ShiftModifier, to);
            f.Turn();
        };
        const auto middle = [&] { return (f.PixelOf(a.X, a.Z) + f.PixelOf(b.X, b.Z)) / 2; };
        const QString expected = RulerLabel(RulerMeasure({a.X, a.Z}, {b.X, b.Z}, SectorSize), QLocale());
        measure();
        QCOMPARE(f.Area->RulerText(), expected);
        QCOMPARE(changed.last().at(0).toString(), expected);
        QVERIFY(ChangedNear(f.Picture(), before, middle()));
        // Escape takes it away and leaves the map as it was.
        QTest::keyClick(f.Image, Qt::Key_Escape);
        f.Turn();
        QVERIFY(f.Area->RulerText().isEmpty() && changed.last().at(0).toString().isEmpty());
        QCOMPARE(f.Picture(), before);

        // The line belongs to the map, not to the picture: zoomed, it still joins the airbases.
        measure();
        f.Wheel(CMapImage::WheelNotch, middle() + QPoint(9, 5));
        f.Timer("TimerMapSettle")->Fire();
        f.Turn();
        QCOMPARE(f.Area->RulerText(), expected);
        const QImage zoomed = f.Picture();
        // Another tool takes it away too.
        f.Area->SetToolMode(MapToolMode::Select);
        f.Turn();
        QVERIFY(f.Area->RulerText().isEmpty());
        QVERIFY(ChangedNear(zoomed, f.Picture(), middle()));

        // Nor does it stay for another map, where it would measure nothing of it.
        f.Area->SetToolMode(MapToolMode::Ruler);
        measure();
        QVERIFY(!f.Area->RulerText().isEmpty());
        QVERIFY(f.Area->OpenMapFolder(f.MapFolder(kDemoSecondMap)));
        QVERIFY(f.Area->RulerText().isEmpty());

        QVERIFY(!f.Session->History().CanUndo());
        QVERIFY(!f.Session->IsModified(CEditHistory::MapBin));
        QCOMPARE(records.Airbases()[0].X, a.X);
        QCOMPARE(records.Airbases()[1].Z, b.Z);
    }
};

QTEST_MAIN(TestRuler)
#include "tst_ruler.moc"
