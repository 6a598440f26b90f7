// The mouse tools of the map without a window: pixel <-> record and the hit test, and what each
// tool does to the view and the session.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "maptools/mapgeometry.h"
#include "maptools/navigationtools.h"
#include "maptools/recordtools.h"
#include "mapview/map.h"
#include "session/campaignsession.h"
#include "toolground.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

namespace {

QList<int32_t> Bounds(const CMapWindow& v) { return {v.ViewLeft, v.ViewRight, v.ViewBottom, v.ViewTop}; }

MapPointer At(int32_t x, int32_t y, MapPointer::Button button = MapPointer::Left)
{
    MapPointer pointer;
    pointer.X = x;
    pointer.Y = y;
    pointer.Pressed = button;
    return pointer;
}

} // namespace

class TestMapTools : public QObject {
    Q_OBJECT
private:
    CToolGround m_ground;
    const CMap& m_map = m_ground.Map;
    int m_previews = 0;
    int m_settles = 0;

    MapToolContext Context()
    {
        MapToolContext context;
        context.Session = m_ground.Session.get();
        context.View = m_ground.View.get();
        context.StartDragDistance = 10;
        context.ViewPreview = [this] { ++m_previews; };
        context.ViewSettled = [this] { ++m_settles; };
        return context;
    }
    QPoint PixelOf(float x, float z) const { return m_ground.PixelOf(x, z); }
    const std::vector<CSAMPlacement> m_sams{{1000, 1000}, {5000, 2500}, {7000, 7000}};

private slots:
    void init()
    {
        QVERIFY(m_ground.Reset(m_sams));
        m_previews = m_settles = 0;
    }

    void pixelAndRecordPositionsMeet()
    {
        // Every pixel's record position lies on that pixel's corner: within one pixel of it again.
        const CViewport view = m_ground.View->Viewport();
        for (const QPoint pixel : {QPoint(0, 0), QPoint(17, 93), QPoint(199, 159), QPoint(100, 80)}) {
            const RecordPoint at = PixelToRecord(view, pixel.x(), pixel.y());
            const QPoint back = PixelOf(at.X, at.Z);
            QVERIFY2(std::abs(back.x() - pixel.x()) <= 1 && std::abs(back.y() - pixel.y()) <= 1,
                     qPrintable(QStringLiteral("%1, %2").arg(back.x()).arg(back.y())));
        }
        // Neighbouring pixels lie the view's width over its pixels apart.
        const float unit = float(m_ground.View->ViewRight - m_ground.View->ViewLeft) / float(m_ground.View->PixelWidth);
        QCOMPARE(PixelToRecord(view, 101, 80).X - PixelToRecord(view, 100, 80).X, unit);
        // Record Z grows downward: a lower pixel lies further south.
        QVERIFY(PixelToRecord(view, 50, 120).Z > PixelToRecord(view, 50, 20).Z);
        // Without a map there is no position.
        QCOMPARE(PixelToRecord(CViewport(), 50, 50), RecordPoint());
    }

    void hitTestFindsTheNearestWithinATenth()
    {
        const CViewport view = m_ground.View->Viewport();
        CBINFile& records = m_ground.Session->MutableRecords();
        const QPoint sam = PixelOf(m_sams[1].X, m_sams[1].Z);
        QCOMPARE(RecordAt(records, view, sam.x() + 2, sam.y() - 1), (RecordHit{SamKind, 1}));
        // A tenth of the visible width is 20 pixels here; beyond it nothing is hit.
        QCOMPARE(RecordAt(records, view, sam.x() + 25, sam.y()), std::nullopt);
        // At equal distance a keysite wins over a SAM site.
        QVERIFY(records.InsertRows(0, std::vector{CKeysitePlacement{-1, m_sams[1].X, m_sams[1].Z}}));
        QCOMPARE(RecordAt(records, view, sam.x(), sam.y()), (RecordHit{KeysiteKind, 0}));
        QCOMPARE(RecordAt(records, CViewport(), sam.x(), sam.y()), std::nullopt);
    }

    void panDragsFromTheViewAtThePress()
    {
        CPanTool pan;
        const CMapWindow start = *m_ground.View;
        pan.Press(Context(), At(100, 100));
        QVERIFY(pan.IsPressed());
        // Short of the start-drag distance (4 + 5 < 10) nothing moves.
        pan.Move(Context(), At(104, 105, MapPointer::NoButton));
        QVERIFY(!pan.IsDragging());
        QCOMPARE(Bounds(*m_ground.View), Bounds(start));
        pan.Move(Context(), At(170, 130, MapPointer::NoButton));
        pan.Move(Context(), At(140, 75, MapPointer::NoButton));
        CMapWindow expected = start;
        expected.PanByPixels(40, -25);
        QCOMPARE(Bounds(*m_ground.View), Bounds(expected));
        QCOMPARE(m_previews, 2);
        // Only the button that pressed ends the drag, and the view is rendered once it rests.
        pan.Release(Context(), At(140, 75, MapPointer::Right));
        QVERIFY(pan.IsDragging());
        pan.Release(Context(), At(140, 75));
        QVERIFY(!pan.IsPressed());
        QCOMPARE(m_settles, 1);
        pan.Move(Context(), At(10, 10, MapPointer::NoButton));
        QCOMPARE(Bounds(*m_ground.View), Bounds(expected));

        // A press without a drag settles nothing; a drag whose map went away moves nothing.
        pan.Press(Context(), At(50, 50));
        pan.Release(Context(), At(50, 50));
        QCOMPARE(m_settles, 1);
        pan.Press(Context(), At(50, 50));
        const CMap other = TestTerrain(16, 2);
        *m_ground.View = CMapWindow(&other);
        pan.Move(Context(), At(150, 150, MapPointer::NoButton));
        QCOMPARE(m_previews, 2);
    }

    void centreMovesTheClickToTheMiddle()
    {
        CCentreTool centre;
        CMapWindow expected = *m_ground.View;
        expected.ZoomIn();
        m_ground.View->ZoomIn();
        expected.CentreOn(30, 40);
        centre.Press(Context(), At(30, 40));
        QCOMPARE(Bounds(*m_ground.View), Bounds(expected));
        QCOMPARE(m_settles, 1);
    }

    void selectWritesTheSessionsSelection()
    {
        CSelectTool select;
        QSignalSpy forward(m_ground.Session.get(), &CCampaignSession::RowsBroughtForward);
        m_ground.Session->SelectRecords(RecordList::Sams, 0, 2);
        const QPoint sam = PixelOf(m_sams[2].X, m_sams[2].Z);
        // Only a left click on a record selects.
        select.Press(Context(), At(sam.x(), sam.y(), MapPointer::Right));
        select.Press(Context(), At(5, 150));
        QCOMPARE(forward.size(), 0);
        select.Press(Context(), At(sam.x(), sam.y()));
        QCOMPARE(m_ground.Session->SelectedRecords(RecordList::Sams), std::vector<int>{2});
        QCOMPARE(m_ground.Session->CurrentRecord(RecordList::Sams), 2);
        QCOMPARE(forward.size(), 1);
        QCOMPARE(forward[0][0].value<ListAddress>().List, RecordList::Sams);
    }

    // Ctrl+click passes over a locked kind: the nearest record of another kind is taken, found
    // with the same reach and order as the whole hit test.
    void selectPassesOverLockedKinds()
    {
        CBINFile& records = m_ground.Session->MutableRecords();
        const CViewport view = m_ground.View->Viewport();
        // A keysite near SAM site 0 and one on SAM site 1 (at equal distance the keysite wins).
        QVERIFY(records.InsertRows(
            0, std::vector{CKeysitePlacement{-1, 1400, 1200}, CKeysitePlacement{-1, m_sams[1].X, m_sams[1].Z}}));
        // Leaving out a kind that has no records changes nothing anywhere.
        for (int y = 0; y < m_ground.View->PixelHeight; y += 3)
            for (int x = 0; x < m_ground.View->PixelWidth; x += 3)
                if (RecordAt(records, view, x, y, {true, false, true}) != RecordAt(records, view, x, y))
                    QFAIL(qPrintable(QStringLiteral("differs at %1, %2").arg(x).arg(y)));
        const QPoint sam = PixelOf(m_sams[1].X, m_sams[1].Z);
        QCOMPARE(RecordAt(records, view, sam.x(), sam.y(), {false, true, true}), (RecordHit{SamKind, 1}));
        QCOMPARE(RecordAt(records, view, sam.x(), sam.y(), {false, false, false}), std::nullopt);

        MapToolContext context = Context();
        context.Locked = {false, false, true};
        CSelectTool select;
        const QPoint first = PixelOf(m_sams[0].X, m_sams[0].Z);
        select.Press(context, At(first.x(), first.y()));
        QCOMPARE(m_ground.Session->SelectedRecords(RecordList::Keysites), std::vector<int>{0});
        QVERIFY(m_ground.Session->SelectedRecords(RecordList::Sams).empty());
    }

    void placeMovesTheRecordAsOneEdit_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("locked"); // the kind locked, -1 for none
        QTest::addColumn<bool>("finished");
        QTest::addColumn<bool>("moved");
        QTest::newRow("left click") << int(MapPointer::Left) << 1 << -1 << true << true;
        QTest::newRow("middle button passed over") << int(MapPointer::Middle) << 1 << -1 << false << false;
        QTest::newRow("right click leaves") << int(MapPointer::Right) << 1 << -1 << true << false;
        QTest::newRow("record gone meanwhile") << int(MapPointer::Left) << 3 << -1 << true << false;
        QTest::newRow("kind locked meanwhile") << int(MapPointer::Left) << 1 << int(SamKind) << true << false;
        QTest::newRow("another kind locked") << int(MapPointer::Left) << 1 << int(AirbaseKind) << true << true;
    }

    void placeMovesTheRecordAsOneEdit()
    {
        QFETCH(int, button);
        QFETCH(int, index);
        QFETCH(int, locked);
        QFETCH(bool, finished);
        QFETCH(bool, moved);
        CPlaceTool place(SamKind, index);
        const RecordPoint to = PixelToRecord(m_ground.View->Viewport(), 33, 121);
        MapToolContext context = Context();
        if (locked >= 0)
            context.Locked[size_t(locked)] = true;
        place.Press(context, At(33, 121, MapPointer::Button(button)));
        QCOMPARE(place.IsFinished(), finished);
        QUndoStack& stack = m_ground.Session->History().Stack(CEditHistory::MapBin);
        QCOMPARE(stack.count(), moved ? 1 : 0);
        const CSAMPlacement now = m_ground.Session->Records().Sams()[1];
        QCOMPARE(now.X, moved ? to.X : m_sams[1].X);
        QCOMPARE(now.Z, moved ? to.Z : m_sams[1].Z);
        if (!moved)
            return;
        QCOMPARE(m_ground.Session->History().UndoText(), QStringLiteral("Place SAM site"));
        m_ground.Session->History().Undo();
        QCOMPARE(m_ground.Session->Records().Sams()[1].X, m_sams[1].X);
        QCOMPARE(m_ground.Session->Records().Sams()[1].Z, m_sams[1].Z);
        // A finished place tool places nothing more.
        place.Press(Context(), At(60, 60));
        QCOMPARE(m_ground.Session->History().CanUndo(), false);
    }
};

QTEST_GUILESS_MAIN(TestMapTools)
#include "tst_maptools.moc"
