// The padlocks beside the symbol boxes: a locked kind is drawn, but no click, toggle or rectangle
// takes it, a drag leaves it where it is (the rest of the selection moves), and place mode refuses
// it; opening the padlock gives it back to the mouse.
#include "document/binfile.h"
#include "document/recordlists.h"
#include "mapareafixture.h"
#include "maptools/mapgeometry.h"

#include <QSignalSpy>
#include <QToolButton>
#include <QUndoStack>

namespace {

using Placements = CCampaignSession::Placements;

enum class Gesture { Click, RightClick, CtrlClick, CtrlBand, RightBand };

} // namespace

Q_DECLARE_METATYPE(Gesture)

class TestMapLocks : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMapAreaFixture> f;
    int m_airbase = -1; // an airbase with no other symbol near it

    QToolButton* Lock(const char* name) const { return f->Control<QToolButton>(name); }
    QPoint AirbasePixel(int index) const
    {
        const CAirbasePlacement& airbase = f->Session->Records().Airbases()[size_t(index)];
        return f->PixelOf(airbase.X, airbase.Z);
    }
    QPoint SamPixel(int index) const
    {
        const CSAMPlacement& sam = f->Session->Records().Sams()[size_t(index)];
        return f->PixelOf(sam.X, sam.Z);
    }
    void Drag(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint from, QPoint to) const
    {
        QTest::mousePress(f->Image, button, modifiers, from);
        QTest::mouseMove(f->Image, (from + to) / 2);
        QTest::mouseMove(f->Image, to);
        QTest::mouseRelease(f->Image, button, modifiers, to);
    }
    void Perform(Gesture gesture) const
    {
        // (QTest takes the point (0, 0) for the widget's centre.)
        const QRect all(QPoint(1, 1), f->Image->size() - QSize(2, 2));
        const QPoint airbase = AirbasePixel(m_airbase);
        switch (gesture) {
        case Gesture::Click: f->Click(Qt::LeftButton, Qt::NoModifier, airbase); break;
        case Gesture::RightClick: f->Click(Qt::RightButton, Qt::NoModifier, airbase); break;
        case Gesture::CtrlClick: f->Click(Qt::LeftButton, Qt::ControlModifier, airbase); break;
        case Gesture::CtrlBand: Drag(Qt::LeftButton, Qt::ControlModifier, all.topLeft(), all.bottomRight()); break;
        case Gesture::RightBand: Drag(Qt::RightButton, Qt::NoModifier, all.topLeft(), all.bottomRight()); break;
        }
    }

private slots:
    void init()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
        QVERIFY(f->OpenDemo());
        // An airbase of its own on empty ground, so that no other symbol is near it.
        const CViewport view = f->View().Viewport();
        std::optional<QPoint> empty;
        for (int y = 40; y < f->Image->height() - 40 && !empty; y += 7)
            for (int x = 40; x < f->Image->width() - 40 && !empty; x += 7)
                if (const RecordPoint at = PixelToRecord(view, x, y);
                    view.IsOnMap(at.X, at.Z) && !SymbolAt(f->Session->Records(), view, {true, true, true}, 30, x, y))
                    empty = QPoint(x, y);
        QVERIFY(empty);
        const RecordPoint at = PixelToRecord(view, empty->x(), empty->y());
        m_airbase = f->Session->Records().AirbaseCount();
        QVERIFY(f->Session->MutableRecords().InsertRows(m_airbase, std::vector{CAirbasePlacement{at.X, at.Z}}));
        f->Turn();
        QVERIFY(f->Session->Records().SamCount() > 0);
    }
    void cleanup() { f.reset(); }

    void lockedKindIsDrawnButNotTaken_data()
    {
        QTest::addColumn<Gesture>("gesture");
        QTest::newRow("click") << Gesture::Click;
        QTest::newRow("right click") << Gesture::RightClick;
        QTest::newRow("Ctrl+click") << Gesture::CtrlClick;
        QTest::newRow("Ctrl+drag rectangle") << Gesture::CtrlBand;
        QTest::newRow("right-drag rectangle") << Gesture::RightBand;
    }

    void lockedKindIsDrawnButNotTaken()
    {
        QFETCH(Gesture, gesture);
        f->Turn();
        const QImage open = f->Picture();
        QTest::mouseClick(Lock("tbLockAirbases"), Qt::LeftButton);
        QVERIFY(f->Area->State().Locked[AirbaseKind]);
        f->Turn();
        QCOMPARE(f->Picture(), open); // drawn as before

        Perform(gesture);
        QVERIFY(f->Session->SelectedRecords(RecordList::Airbases).empty());
        if (gesture == Gesture::CtrlBand || gesture == Gesture::RightBand)
            QVERIFY(!f->Session->SelectedRecords(RecordList::Sams).empty()); // the others are taken
        QVERIFY(!f->Session->History().CanUndo());

        // Open again, the same gesture takes it.
        QTest::mouseClick(Lock("tbLockAirbases"), Qt::LeftButton);
        QVERIFY(!f->Area->State().Locked[AirbaseKind]);
        f->Session->SelectPlacements({});
        Perform(gesture);
        const std::vector<int> selected = f->Session->SelectedRecords(RecordList::Airbases);
        QVERIFY(std::binary_search(selected.begin(), selected.end(), m_airbase));
    }

    // A selection made in the grids may hold a locked kind: a drag from one of the others moves
    // those alone, as one edit.
    void dragMovesOnlyTheUnlocked()
    {
        const CBINFile& records = f->Session->Records();
        const CAirbasePlacement airbase = records.Airbases()[size_t(m_airbase)];
        const CSAMPlacement sam = records.Sams()[0];
        f->Session->SelectPlacements({{{}, {m_airbase}, {0}}});
        MapAreaState state = f->Area->State();
        state.Locked[AirbaseKind] = true;
        f->Area->SetState(state);
        const QPoint from = SamPixel(0);
        const QPoint to = from + QPoint(40, 25);
        Drag(Qt::LeftButton, Qt::NoModifier, from, to);

        const RecordPoint a = PixelToRecord(f->View().Viewport(), from.x(), from.y());
        const RecordPoint b = PixelToRecord(f->View().Viewport(), to.x(), to.y());
        QCOMPARE(records.Sams()[0].X, sam.X + (b.X - a.X));
        QCOMPARE(records.Sams()[0].Z, sam.Z + (b.Z - a.Z));
        QCOMPARE(records.Airbases()[size_t(m_airbase)].X, airbase.X);
        QCOMPARE(records.Airbases()[size_t(m_airbase)].Z, airbase.Z);
        QCOMPARE(f->Session->History().Stack(CEditHistory::MapBin).count(), 1);
        QCOMPARE(f->Session->History().UndoText(), QStringLiteral("Move 1 SAM site"));
        // As after every move, what moved is the selection.
        QCOMPARE(f->Session->SelectedPlacements(), (Placements{{{}, {}, {0}}}));
    }

    // A press on a locked symbol is a press on empty ground: a drag pans, nothing moves.
    void dragOnALockedSymbolPans()
    {
        const CAirbasePlacement airbase = f->Session->Records().Airbases()[size_t(m_airbase)];
        f->Session->SelectPlacements({{{}, {m_airbase}, {}}});
        MapAreaState state = f->Area->State();
        state.Locked[AirbaseKind] = true;
        f->Area->SetState(state);
        CMapWindow expected(f->View());
        expected.PanByPixels(40, 25);
        QVERIFY(CMapAreaFixture::Bounds(expected) != CMapAreaFixture::Bounds(f->View()));
        Drag(Qt::LeftButton, Qt::NoModifier, AirbasePixel(m_airbase), AirbasePixel(m_airbase) + QPoint(40, 25));
        QCOMPARE(CMapAreaFixture::Bounds(f->View()), CMapAreaFixture::Bounds(expected));
        QCOMPARE(f->Session->Records().Airbases()[size_t(m_airbase)].X, airbase.X);
        QCOMPARE(f->Session->Records().Airbases()[size_t(m_airbase)].Z, airbase.Z);
        QVERIFY(!f->Session->History().CanUndo());
    }

    void placingALockedKindIsRefused()
    {
        MapAreaState state = f->Area->State();
        state.Locked[SamKind] = true;
        f->Area->SetState(state);
        QVERIFY(!f->Area->EnterPlaceMode(SamKind, 0));
        QVERIFY(!f->Area->IsPlacing());
        QCOMPARE(
            f->Prompts.Shown,
            QStringList(QStringLiteral("message: SAM sites are locked on the map: open the padlock beside the SAMs box "
                                       "to place one.")));

        // Locking the kind being placed ends place mode; the next click moves nothing.
        const CAirbasePlacement airbase = f->Session->Records().Airbases()[size_t(m_airbase)];
        QSignalSpy placing(f->Area.get(), &CMapArea::PlaceModeChanged);
        QVERIFY(f->Area->EnterPlaceMode(AirbaseKind, m_airbase));
        QTest::mouseClick(Lock("tbLockAirbases"), Qt::LeftButton);
        QVERIFY(!f->Area->IsPlacing());
        QCOMPARE(placing.size(), 2);
        f->Click(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
        QCOMPARE(f->Session->Records().Airbases()[size_t(m_airbase)].X, airbase.X);
        QVERIFY(!f->Session->History().CanUndo());
        QCOMPARE(f->Prompts.Shown.size(), 1);
    }
};

QTEST_MAIN(TestMapLocks)
#include "tst_maplocks.moc"
