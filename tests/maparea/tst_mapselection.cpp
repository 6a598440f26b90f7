// Selecting and moving records with the mouse on the map: a click selects, a drag from a
// selected symbol moves the whole selection as one edit (Escape cancels it), a right click adds
// or removes, Ctrl+drag and right-drag select the records in a rectangle; hidden kinds are not
// taken.
#include "document/binfile.h"
#include "document/recordlists.h"
#include "mapareafixture.h"
#include "maptools/mapgeometry.h"
#include "session/recordfilters.h"

#include <QSignalSpy>
#include <QUndoStack>

namespace {

using Placements = CCampaignSession::Placements;

} // namespace

class TestMapSelection : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMapAreaFixture> f;

    void Drag(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint from, QPoint to, bool escape = false)
    {
        QTest::mousePress(f->Image, button, modifiers, from);
        QTest::mouseMove(f->Image, (from + to) / 2);
        QTest::mouseMove(f->Image, to);
        if (escape)
            QTest::keyClick(f->Image, Qt::Key_Escape);
        QTest::mouseRelease(f->Image, button, modifiers, to);
    }
    QPoint SamPixel(int index) const
    {
        const CSAMPlacement& sam = f->Session->Records().Sams()[size_t(index)];
        return f->PixelOf(sam.X, sam.Z);
    }
    QPoint AirbasePixel(int index) const
    {
        const CAirbasePlacement& airbase = f->Session->Records().Airbases()[size_t(index)];
        return f->PixelOf(airbase.X, airbase.Z);
    }
    // The records whose positions show in the picture rectangle, as the rectangle tools count them.
    Placements Inside(QRect pixels, std::array<bool, 3> kinds = {true, true, true}) const
    {
        return RecordsInRect(f->Session->Records(), f->View().Viewport(), kinds, pixels.left(), pixels.top(),
                             pixels.right(), pixels.bottom());
    }

private slots:
    void init()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
        QVERIFY(f->OpenDemo());
        QVERIFY(f->Session->Records().SamCount() >= 3 && f->Session->Records().AirbaseCount() >= 1);
    }
    void cleanup() { f.reset(); }

    void clickSelectsTheRecordAlone()
    {
        QSignalSpy forward(f->Session.get(), &CCampaignSession::RowsBroughtForward);
        f->Session->SelectPlacements({{{0}, {0}, {1, 2}}});
        f->Click(Qt::LeftButton, Qt::NoModifier, SamPixel(0));
        QCOMPARE(f->Session->SelectedPlacements(), (Placements{{{}, {}, {0}}}));
        QCOMPARE(forward.size(), 1);
        QCOMPARE(forward[0][0].value<ListAddress>().List, RecordList::Sams);
        // A click on one of several selected leaves it alone selected.
        f->Session->SelectPlacements({{{}, {0}, {0, 1}}});
        f->Click(Qt::LeftButton, Qt::NoModifier, SamPixel(1));
        QCOMPARE(f->Session->SelectedPlacements(), (Placements{{{}, {}, {1}}}));
        QVERIFY(!f->Session->History().CanUndo());
    }

    void dragMovesTheSelectionAsOneEdit()
    {
        const CBINFile& records = f->Session->Records();
        const CSAMPlacement sam = records.Sams()[0];
        const CAirbasePlacement airbase = records.Airbases()[0];
        f->Session->SelectPlacements({{{}, {0}, {0}}});
        f->Turn();
        const QImage before = f->Picture();
        const QPoint from = SamPixel(0);
        const QPoint to = from + QPoint(40, 25);

        QTest::mousePress(f->Image, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(f->Image, to);
        f->Turn();
        QVERIFY(f->Picture() != before);      // drawn live
        QCOMPARE(records.Sams()[0].X, sam.X); // the document waits for the release
        QTest::mouseRelease(f->Image, Qt::LeftButton, Qt::NoModifier, to);

        const RecordPoint a = PixelToRecord(f->View().Viewport(), from.x(), from.y());
        const RecordPoint b = PixelToRecord(f->View().Viewport(), to.x(), to.y());
        const float dx = b.X - a.X;
        const float dz = b.Z - a.Z;
        QCOMPARE(records.Sams()[0].X, sam.X + dx);
        QCOMPARE(records.Sams()[0].Z, sam.Z + dz);
        QCOMPARE(records.Airbases()[0].X, airbase.X + dx);
        QCOMPARE(records.Airbases()[0].Z, airbase.Z + dz);
        QCOMPARE(records.Airbases()[0].ObjectIndex, airbase.ObjectIndex);
        QCOMPARE(f->Session->History().UndoText(), QStringLiteral("Move 2 records"));
        QCOMPARE(f->Session->History().Stack(CEditHistory::MapBin).count(), 1);

        // Undo puts back the very values, selected; the picture is the one before the drag.
        f->Session->SelectPlacements({});
        f->Session->History().Undo();
        QCOMPARE(records.Sams()[0].X, sam.X);
        QCOMPARE(records.Sams()[0].Z, sam.Z);
        QCOMPARE(records.Airbases()[0].X, airbase.X);
        QCOMPARE(f->Session->SelectedPlacements(), (Placements{{{}, {0}, {0}}}));
        f->Turn();
        QCOMPARE(f->Picture(), before);
        f->Session->History().Redo();
        QCOMPARE(records.Sams()[0].X, sam.X + dx);
    }

    void escapeCancelsTheDrag()
    {
        const CSAMPlacement sam = f->Session->Records().Sams()[0];
        f->Session->SelectPlacements({{{}, {}, {0}}});
        f->Turn();
        const QImage before = f->Picture();
        Drag(Qt::LeftButton, Qt::NoModifier, SamPixel(0), SamPixel(0) + QPoint(50, 0), true);
        f->Turn();
        QCOMPARE(f->Session->Records().Sams()[0].X, sam.X);
        QVERIFY(!f->Session->History().CanUndo());
        QCOMPARE(f->Picture(), before);
    }

    void rectanglesSelectAndAdd()
    {
        // (QTest takes the point (0, 0) for the widget's centre.)
        const QRect all(QPoint(1, 1), f->Image->size() - QSize(2, 2));
        Drag(Qt::LeftButton, Qt::ControlModifier, all.topLeft(), all.bottomRight());
        const Placements everything = f->Session->SelectedPlacements();
        QCOMPARE(everything, Inside(all));
        QVERIFY(!everything[SamKind].empty() && !everything[AirbaseKind].empty());

        // A right-drag adds what its rectangle holds to a selection.
        f->Session->SelectPlacements({{{}, {}, {0}}});
        const QPoint airbase = AirbasePixel(0);
        const QRect box(airbase - QPoint(12, 12), airbase + QPoint(12, 12));
        Drag(Qt::RightButton, Qt::NoModifier, box.topLeft(), box.bottomRight());
        Placements expected = Inside(box);
        expected[SamKind].insert(expected[SamKind].begin(), 0);
        std::sort(expected[SamKind].begin(), expected[SamKind].end());
        expected[SamKind].erase(std::unique(expected[SamKind].begin(), expected[SamKind].end()),
                                expected[SamKind].end());
        QCOMPARE(f->Session->SelectedPlacements(), expected);
        QVERIFY(std::binary_search(expected[AirbaseKind].begin(), expected[AirbaseKind].end(), 0));
        QVERIFY(!f->Session->History().CanUndo());
    }

    void rightClickAddsAndRemoves()
    {
        f->Session->SelectPlacements({{{}, {}, {2}}});
        f->Click(Qt::RightButton, Qt::NoModifier, SamPixel(0));
        QCOMPARE(f->Session->SelectedRecords(RecordList::Sams), (std::vector<int>{0, 2}));
        f->Click(Qt::RightButton, Qt::NoModifier, SamPixel(0));
        QCOMPARE(f->Session->SelectedRecords(RecordList::Sams), (std::vector<int>{2}));
    }

    // Ctrl+click keeps its old reach: away from every symbol it still selects the nearest record
    // within a tenth of the view.
    void ctrlClickOnEmptyGroundSelectsTheNearest()
    {
        const CViewport view = f->View().Viewport();
        const CBINFile& records = f->Session->Records();
        std::optional<QPoint> empty;
        for (int y = 10; y < f->Image->height() - 10 && !empty; y += 7)
            for (int x = 10; x < f->Image->width() - 10 && !empty; x += 7)
                if (!SymbolAt(records, view, {true, true, true}, 20, x, y) && RecordAt(records, view, x, y))
                    empty = QPoint(x, y);
        QVERIFY(empty);
        const RecordHit nearest = *RecordAt(records, view, empty->x(), empty->y());
        f->Session->SelectPlacements({});
        f->Click(Qt::LeftButton, Qt::ControlModifier, *empty);
        QCOMPARE(f->Session->SelectedRecords(ListOfKind(nearest.Kind)), std::vector<int>{nearest.Index});
    }

    // "Only filtered on map": a filter that hides every SAM site leaves the map as if SAM sites
    // were not shown; without the box, or without a filter, they are all drawn.
    void onlyFilteredRecordsOnTheMap()
    {
        f->Session->SelectPlacements({});
        f->Turn();
        const QImage all = f->Picture();
        MapAreaState state = f->Area->State();
        state.Sams = false;
        f->Area->SetState(state);
        f->Turn();
        const QImage withoutSams = f->Picture();
        QVERIFY(withoutSams != all);
        state.Sams = true;
        f->Area->SetState(state);

        CRecordFilters& filters = f->Session->Filters();
        filters.SetText(RecordList::Sams, QStringLiteral("x<-99999999"));
        f->Turn();
        QCOMPARE(f->Picture(), all); // the box is not ticked
        filters.SetOnlyOnMap(RecordList::Sams, true);
        f->Turn();
        QCOMPARE(f->Picture(), withoutSams);
        // What is not drawn is not taken either.
        const QRect whole(QPoint(1, 1), f->Image->size() - QSize(2, 2));
        Drag(Qt::LeftButton, Qt::ControlModifier, whole.topLeft(), whole.bottomRight());
        QVERIFY(f->Session->SelectedRecords(RecordList::Sams).empty());
        QVERIFY(!f->Session->SelectedRecords(RecordList::Keysites).empty());
        f->Session->SelectPlacements({});
        filters.SetText(RecordList::Sams, QString());
        f->Turn();
        QCOMPARE(f->Picture(), all);
        filters.SetText(RecordList::Sams, QStringLiteral("x<-99999999"));
        filters.SetOnlyOnMap(RecordList::Sams, false);
        f->Turn();
        QCOMPARE(f->Picture(), all);
    }

    void hiddenKindsAreNotTaken()
    {
        MapAreaState state = f->Area->State();
        state.Sams = false;
        f->Area->SetState(state);
        f->Session->SelectPlacements({});
        // A click on a hidden SAM site's symbol may take a keysite beside it, never the SAM site.
        for (int i = 0; i < 3; ++i) {
            f->Click(Qt::LeftButton, Qt::NoModifier, SamPixel(i));
            QVERIFY(f->Session->SelectedRecords(RecordList::Sams).empty());
        }
        const QRect all(QPoint(1, 1), f->Image->size() - QSize(2, 2));
        Drag(Qt::LeftButton, Qt::ControlModifier, all.topLeft(), all.bottomRight());
        QVERIFY(f->Session->SelectedRecords(RecordList::Sams).empty());
        QVERIFY(!f->Session->SelectedRecords(RecordList::Airbases).empty());
    }
};

QTEST_MAIN(TestMapSelection)
#include "tst_mapselection.moc"
