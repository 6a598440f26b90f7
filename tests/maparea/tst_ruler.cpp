// The ruler: length, sectors and bearing of a line in every direction and off the terrain, the
// label, the tool's drag, Shift snapping to symbols and Escape on its own, and then on the map of
// the demonstration as a user measures between two airbases, the document never touched.
#include "document/binfile.h"
#include "factions/sectorsize.h"
#include "mapareafixture.h"
#include "maptools/ruler.h"
#include "mapview/map.h"
#include "mapview/mapextent.h"
#include "mapview/rulerdrawing.h"
#include "mapview/viewport.h"

#include <QLocale>
#include <QSignalSpy>

Q_DECLARE_METATYPE(RecordPoint)

namespace {

// A flat terrain 8192 units on a side, two sectors each way.
CMap SmallTerrain()
{
    CMap map;
    map.ColumnCount = 16;
    map.RowCount = 16;
    map.CellSizeX = 512.0f;
    map.CellSizeZ = 512.0f;
    map.SectorCountX = 2;
    map.SectorCountZ = 2;
    map.Heights.assign(size_t(16) * 16, 100.0f);
    map.UpdateShades();
    map.TerrainLoaded = true;
    return map;
}

MapPointer At(QPoint pixel, MapPointer::Button button = MapPointer::NoButton, bool shift = false)
{
    MapPointer pointer;
    pointer.X = pixel.x();
    pointer.Y = pixel.y();
    pointer.Pressed = button;
    pointer.Shift = shift;
    return pointer;
}

// Whether any pixel of the 3 x 3 square around `centre` differs between the pictures.
bool ChangedNear(const QImage& a, const QImage& b, QPoint centre)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (a.pixel(centre + QPoint(dx, dy)) != b.pixel(centre + QPoint(dx, dy)))
                return true;
    return false;
}

// What the tool last asked the map to draw.
struct Preview {
    int Calls = 0;
    bool Active = false;
    RecordPoint From;
    RecordPoint To;
    QString Label;
};

} // namespace

class TestRuler : public QObject {
    Q_OBJECT
private:
    // --- The tool without a window ---
    C3DObjectsList m_catalogue{QLocale::c()};
    CPopTemplatesTypesList m_types;
    const CMap m_map = SmallTerrain();
    std::unique_ptr<CCampaignSession> m_session;
    std::unique_ptr<CMapWindow> m_view;
    Preview m_preview;
    std::array<bool, 3> m_pickable = {true, true, true};
    const std::vector<CSAMPlacement> m_sams{{1000, 1000}, {5000, 2500}};

    MapToolContext Context()
    {
        MapToolContext context;
        context.Session = m_session.get();
        context.View = m_view.get();
        context.StartDragDistance = 10;
        context.Pickable = m_pickable;
        context.SymbolReach = 6;
        context.RulerPreview = [this](float x0, float z0, float x1, float z1, const QString& label, bool active) {
            ++m_preview.Calls;
            m_preview.Active = active;
            m_preview.From = {x0, z0};
            m_preview.To = {x1, z1};
            m_preview.Label = label;
        };
        return context;
    }
    QPoint PixelOf(float x, float z) const
    {
        int32_t column = 0;
        int32_t row = 0;
        m_view->Viewport().MapToPixel(x, z, column, row);
        return {column, row};
    }
    RecordPoint Under(QPoint pixel) const { return PixelToRecord(m_view->Viewport(), pixel.x(), pixel.y()); }
    void Drag(CRulerTool& tool, QPoint from, QPoint to, bool shiftAtPress = false, bool shiftOnDrag = false)
    {
        tool.Press(Context(), At(from, MapPointer::Left, shiftAtPress));
        tool.Move(Context(), At((from + to) / 2, MapPointer::NoButton, shiftOnDrag));
        tool.Move(Context(), At(to, MapPointer::NoButton, shiftOnDrag));
        tool.Release(Context(), At(to, MapPointer::Left));
    }

    // --- The map area ---
    std::unique_ptr<CMapAreaFixture> f;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init()
    {
        m_session = std::make_unique<CCampaignSession>(m_catalogue, m_types, TextFormat());
        QVERIFY(m_session->MutableRecords().InsertRows(0, m_sams));
        m_view = std::make_unique<CMapWindow>(&m_map);
        m_view->SetSize(200, 160);
        m_view->ResetView();
        m_preview = {};
        m_pickable = {true, true, true};
    }
    void cleanup() { f.reset(); }

    void measure_data()
    {
        QTest::addColumn<RecordPoint>("from");
        QTest::addColumn<RecordPoint>("to");
        QTest::addColumn<double>("sectorSize");
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("sectors");
        QTest::addColumn<double>("bearing");
        // Up on the map is towards smaller record Z.
        QTest::newRow("up") << RecordPoint{1000, 1000} << RecordPoint{1000, 0} << 4096.0 << 1000.0 << 1000 / 4096.0
                            << 0.0;
        QTest::newRow("right") << RecordPoint{0, 0} << RecordPoint{4096, 0} << 4096.0 << 4096.0 << 1.0 << 90.0;
        QTest::newRow("down") << RecordPoint{500, 100} << RecordPoint{500, 8292} << 4096.0 << 8192.0 << 2.0 << 180.0;
        QTest::newRow("left") << RecordPoint{0, 0} << RecordPoint{-300, 0} << 4096.0 << 300.0 << 300 / 4096.0 << 270.0;
        // 3-4-5 triangles: the angle from up is atan(3/4) or atan(4/3) = 36.8699 or 53.1301 degrees.
        QTest::newRow("up right") << RecordPoint{100, 100} << RecordPoint{400, -300} << 4096.0 << 500.0 << 500 / 4096.0
                                  << 36.869897645844;
        QTest::newRow("down right") << RecordPoint{0, 0} << RecordPoint{4000, 3000} << 4096.0 << 5000.0 << 5000 / 4096.0
                                    << 126.869897645844;
        QTest::newRow("down left") << RecordPoint{0, 0} << RecordPoint{-3000, 4000} << 4096.0 << 5000.0 << 5000 / 4096.0
                                   << 216.869897645844;
        QTest::newRow("up left") << RecordPoint{0, 0} << RecordPoint{-4000, -3000} << 4096.0 << 5000.0 << 5000 / 4096.0
                                 << 306.869897645844;
        QTest::newRow("just left of up") << RecordPoint{0, 0} << RecordPoint{-1, -100000} << 4096.0 << 100000.000005
                                         << 100000.000005 / 4096.0 << 359.999427042;
        // Far beyond any terrain, both ends off it: the difference is taken in double.
        QTest::newRow("off the terrain") << RecordPoint{-16777216, 30000000} << RecordPoint{13222784, -10000000}
                                         << 4096.0 << 50000000.0 << 50000000 / 4096.0 << 36.869897645844;
        QTest::newRow("no length") << RecordPoint{7, 7} << RecordPoint{7, 7} << 4096.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("no sector size") << RecordPoint{0, 0} << RecordPoint{10, 0} << 0.0 << 10.0 << 0.0 << 90.0;
    }
    void measure()
    {
        QFETCH(RecordPoint, from);
        QFETCH(RecordPoint, to);
        QFETCH(double, sectorSize);
        const RulerMeasurement m = RulerMeasure(from, to, sectorSize);
        QFETCH(double, length);
        QFETCH(double, sectors);
        QFETCH(double, bearing);
        QVERIFY2(qAbs(m.Length - length) < 1e-9 * std::max(1.0, length), qPrintable(QString::number(m.Length, 'f', 6)));
        QVERIFY2(qAbs(m.Sectors - sectors) < 1e-9 * std::max(1.0, sectors), qPrintable(QString::number(m.Sectors)));
        QVERIFY2(qAbs(m.Bearing - bearing) < 1e-6, qPrintable(QString::number(m.Bearing, 'f', 9)));
        QVERIFY(m.Bearing >= 0 && m.Bearing < 360);
        // Measured back the other way: the same length, the opposite bearing.
        if (m.Length > 0) {
            const RulerMeasurement back = RulerMeasure(to, from, sectorSize);
            QCOMPARE(back.Length, m.Length);
            QVERIFY(qAbs(std::fmod(back.Bearing - m.Bearing + 360.0, 360.0) - 180.0) < 1e-6);
        }
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
        QTest::newRow("half a degree rounds up")
            << 4096.5 << 89.5 << english << QStringLiteral("4,097 units · 1.0 sectors · 090°");
        QTest::newRow("just short of north is north")
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
        RulerMeasurement m;
        m.Length = length;
        m.Sectors = length / SectorSize;
        m.Bearing = bearing;
        QTEST(RulerLabel(m, locale), "label");
    }

    void dragMeasuresAndStays()
    {
        CRulerTool tool;
        const QPoint from = PixelOf(1000, 7000);
        const QPoint to = PixelOf(6000, 2000);
        // Short of the start-drag distance nothing is shown yet.
        tool.Press(Context(), At(from, MapPointer::Left));
        tool.Move(Context(), At(from + QPoint(4, 5)));
        QCOMPARE(m_preview.Calls, 0);
        tool.Move(Context(), At(to));
        QVERIFY(m_preview.Active);
        tool.Release(Context(), At(to, MapPointer::Left));
        QVERIFY(!tool.IsPressed());
        QCOMPARE(m_preview.From, Under(from));
        QCOMPARE(m_preview.To, Under(to));
        QCOMPARE(m_preview.Label, RulerLabel(RulerMeasure(Under(from), Under(to), SectorSize), QLocale()));
        QVERIFY(m_preview.Label.endsWith(QStringLiteral("045°")));
        // Hovering after the release leaves the line where it is.
        const int calls = m_preview.Calls;
        tool.Move(Context(), At(QPoint(3, 3)));
        QCOMPARE(m_preview.Calls, calls);
        QVERIFY(tool.Shown().has_value());

        // A press starts afresh: the old line goes at once, and a click without a drag leaves none.
        tool.Press(Context(), At(to, MapPointer::Left));
        QVERIFY(!m_preview.Active);
        tool.Release(Context(), At(to, MapPointer::Left));
        QVERIFY(!tool.Shown().has_value());
        QCOMPARE(m_preview.Calls, calls + 1);
    }

    void endsOffTheTerrainStillMeasure()
    {
        // The picture is wider than the square terrain: its left and right columns lie off it, and
        // pixels beyond the picture (a drag that left it) lie further out still.
        CRulerTool tool;
        const QPoint from(-40, -30);
        const QPoint to(260, 190);
        Drag(tool, from, to);
        QVERIFY(m_preview.Active);
        const MapExtent terrain = MapExtent::Of(m_map);
        QVERIFY(m_preview.From.X < terrain.Left && m_preview.From.Z < terrain.Top);
        QVERIFY(m_preview.To.X > terrain.Right && m_preview.To.Z > terrain.Bottom);
        QCOMPARE(m_preview.From, Under(from));
        QCOMPARE(m_preview.To, Under(to));
    }

    void shiftSnapsEitherEnd_data()
    {
        QTest::addColumn<bool>("shiftAtPress");
        QTest::addColumn<bool>("shiftOnDrag");
        QTest::addColumn<bool>("samsPickable");
        QTest::addColumn<QPoint>("offset"); // from each symbol's pixel
        QTest::addColumn<bool>("fromSnaps");
        QTest::addColumn<bool>("toSnaps");
        QTest::newRow("without Shift") << false << false << true << QPoint(3, -2) << false << false;
        QTest::newRow("Shift at the press") << true << false << true << QPoint(3, -2) << true << false;
        QTest::newRow("Shift on the drag") << false << true << true << QPoint(3, -2) << false << true;
        QTest::newRow("both") << true << true << true << QPoint(-4, 4) << true << true;
        QTest::newRow("out of reach") << true << true << true << QPoint(9, 0) << false << false;
        QTest::newRow("a hidden kind") << true << true << false << QPoint(1, 1) << false << false;
    }
    void shiftSnapsEitherEnd()
    {
        QFETCH(bool, shiftAtPress);
        QFETCH(bool, shiftOnDrag);
        QFETCH(bool, samsPickable);
        QFETCH(QPoint, offset);
        QFETCH(bool, fromSnaps);
        QFETCH(bool, toSnaps);
        m_pickable[SamKind] = samsPickable;
        CRulerTool tool;
        const QPoint from = PixelOf(m_sams[0].X, m_sams[0].Z) + offset;
        const QPoint to = PixelOf(m_sams[1].X, m_sams[1].Z) + offset;
        Drag(tool, from, to, shiftAtPress, shiftOnDrag);
        const RecordPoint first{m_sams[0].X, m_sams[0].Z};
        const RecordPoint second{m_sams[1].X, m_sams[1].Z};
        QCOMPARE(m_preview.From, fromSnaps ? first : Under(from));
        QCOMPARE(m_preview.To, toSnaps ? second : Under(to));
        QVERIFY(tool.Shown().has_value());
        QCOMPARE(tool.Shown()->To, m_preview.To);
    }

    void escapeClearsAndNothingIsEdited()
    {
        CRulerTool tool;
        // Escape in the middle of a drag ends it: the release that follows shows nothing.
        tool.Press(Context(), At(QPoint(20, 20), MapPointer::Left));
        tool.Move(Context(), At(QPoint(120, 90)));
        tool.Cancel(Context());
        QVERIFY(!m_preview.Active);
        tool.Move(Context(), At(QPoint(150, 90)));
        tool.Release(Context(), At(QPoint(150, 90), MapPointer::Left));
        QVERIFY(!m_preview.Active);
        QVERIFY(!tool.Shown().has_value());
        // After a release too; a second Escape has nothing to take away.
        Drag(tool, QPoint(20, 20), QPoint(120, 90), true, true);
        QVERIFY(m_preview.Active);
        tool.Cancel(Context());
        QVERIFY(!m_preview.Active);
        const int calls = m_preview.Calls;
        tool.Cancel(Context());
        QCOMPARE(m_preview.Calls, calls);
        // Other buttons and a view without a map measure nothing.
        tool.Press(Context(), At(QPoint(20, 20), MapPointer::Right));
        tool.Move(Context(), At(QPoint(120, 90)));
        QCOMPARE(m_preview.Calls, calls);
        MapToolContext noMap = Context();
        noMap.View = nullptr;
        tool.Press(noMap, At(QPoint(20, 20), MapPointer::Left));
        tool.Move(noMap, At(QPoint(120, 90)));
        QCOMPARE(m_preview.Calls, calls);
        QVERIFY(!m_session->History().CanUndo());
        QVERIFY(!m_session->IsModified(CEditHistory::MapBin));
    }

    void drawingKeepsFarEndsInPlace_data()
    {
        // A picture of 100 x 100 pixels over record X 0..1000, Z -1000..0: ten units a pixel.
        QTest::addColumn<RecordPoint>("from");
        QTest::addColumn<RecordPoint>("to");
        QTest::addColumn<QPoint>("crossing"); // a pixel the line must pass near; (-1, -1) for none
        QTest::addColumn<QPoint>("away");     // a pixel far from it
        QTest::newRow("inside") << RecordPoint{100, -900} << RecordPoint{900, -100} << QPoint(50, 50) << QPoint(5, 5);
        QTest::newRow("from far away across the picture")
            << RecordPoint{500 - 1e7f, -500 - 1e7f} << RecordPoint{500 + 1e7f, -500 + 1e7f} << QPoint(50, 50)
            << QPoint(95, 5);
        QTest::newRow("one end far away")
            << RecordPoint{300, -300} << RecordPoint{300 + 4e7f, -300 - 4e7f} << QPoint(40, 60) << QPoint(5, 5);
        QTest::newRow("beside the picture")
            << RecordPoint{-5000, -500} << RecordPoint{-3000, -500} << QPoint(-1, -1) << QPoint(5, 5);
    }
    void drawingKeepsFarEndsInPlace()
    {
        QFETCH(RecordPoint, from);
        QFETCH(RecordPoint, to);
        QFETCH(QPoint, crossing);
        QFETCH(QPoint, away);
        const CViewport view(0, 0, 1000, 1000, 0, 0, 100, 100, 0, 0, 100, 100);
        QImage blank(100, 100, QImage::Format_RGB32);
        blank.fill(qRgb(0, 128, 0));
        QImage picture = blank;
        DrawRuler(view, picture, MapRuler{from.X, from.Z, to.X, to.Z, QString()});
        if (crossing.x() < 0) {
            QCOMPARE(picture, blank);
            return;
        }
        QVERIFY(ChangedNear(picture, blank, crossing));
        // The line is the only thing drawn: a corner away from it keeps the ground.
        QCOMPARE(picture.pixel(away), blank.pixel(away));
    }

    // --- On the demonstration's map, as a user measures ---

    void measuresBetweenTwoAirbasesOnTheMap()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
        QVERIFY(f->OpenDemo());
        const CBINFile& records = f->Session->Records();
        QVERIFY(records.AirbaseCount() >= 2);
        const CAirbasePlacement a = records.Airbases()[0];
        const CAirbasePlacement b = records.Airbases()[1];
        const std::vector<CAirbasePlacement> airbases(records.Airbases().begin(), records.Airbases().end());
        f->Area->SetToolMode(MapToolMode::Ruler);
        f->Turn();
        const QImage before = f->Picture();
        QSignalSpy changed(f->Area.get(), &CMapArea::RulerChanged);

        // Shift held from the press to the release: both ends land on the airbases, a little
        // beside whose symbols the mouse is.
        const QPoint from = f->PixelOf(a.X, a.Z) + QPoint(2, 1);
        const QPoint to = f->PixelOf(b.X, b.Z) + QPoint(-1, 2);
        QTest::mousePress(f->Image, Qt::LeftButton, Qt::ShiftModifier, from);
        QTest::mouseEvent(QTest::MouseMove, f->Image, Qt::NoButton, Qt::ShiftModifier, (from + to) / 2);
        QTest::mouseEvent(QTest::MouseMove, f->Image, Qt::NoButton, Qt::ShiftModifier, to);
        QTest::mouseRelease(f->Image, Qt::LeftButton, Qt::ShiftModifier, to);
        f->Turn();
        const QString expected = RulerLabel(RulerMeasure({a.X, a.Z}, {b.X, b.Z}, SectorSize),
                                            QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(f->Area->RulerText(), expected);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).toString(), expected);
        // Drawn over the map, halfway along the line; Escape takes it away and leaves the map as it was.
        const auto middle = [&] { return (f->PixelOf(a.X, a.Z) + f->PixelOf(b.X, b.Z)) / 2; };
        QVERIFY(ChangedNear(f->Picture(), before, middle()));
        QTest::keyClick(f->Image, Qt::Key_Escape);
        f->Turn();
        QVERIFY(f->Area->RulerText().isEmpty());
        QVERIFY(changed.last().at(0).toString().isEmpty());
        QCOMPARE(f->Picture(), before);

        // The line belongs to the map, not to the picture: zoomed, it still joins the airbases.
        QTest::mousePress(f->Image, Qt::LeftButton, Qt::ShiftModifier, from);
        QTest::mouseEvent(QTest::MouseMove, f->Image, Qt::NoButton, Qt::ShiftModifier, to);
        QTest::mouseRelease(f->Image, Qt::LeftButton, Qt::ShiftModifier, to);
        f->Wheel(CMapImage::WheelNotch, middle() + QPoint(9, 5));
        f->Timer("TimerMapSettle")->Fire();
        f->Turn();
        QCOMPARE(f->Area->RulerText(), expected);
        const QImage zoomed = f->Picture();
        QTest::keyClick(f->Image, Qt::Key_Escape);
        f->Turn();
        QVERIFY(ChangedNear(zoomed, f->Picture(), middle()));

        // Another tool takes a measurement away too.
        QTest::mousePress(f->Image, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(f->Image, to);
        QTest::mouseRelease(f->Image, Qt::LeftButton, Qt::NoModifier, to);
        QVERIFY(!f->Area->RulerText().isEmpty());
        f->Area->SetToolMode(MapToolMode::Select);
        QVERIFY(f->Area->RulerText().isEmpty());

        // Nothing of it touched the document.
        QVERIFY(!f->Session->History().CanUndo());
        QVERIFY(!f->Session->IsModified(CEditHistory::MapBin));
        QCOMPARE(records.Airbases().size(), airbases.size());
        for (size_t i = 0; i < airbases.size(); ++i)
            QVERIFY(records.Airbases()[i].X == airbases[i].X && records.Airbases()[i].Z == airbases[i].Z);
    }
};

QTEST_MAIN(TestRuler)
#include "tst_ruler.moc"
