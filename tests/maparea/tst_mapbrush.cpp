// The faction tools in the map area: the Brush mode paints a drag as one stroke that the picture
// shows as it grows, the outline of the brush follows the mouse and goes with it, and the picker
// hands the faction under the mouse to the brush, which the tool bar's box shows.
#include "app/maptoolbar.h"
#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"
#include "mapareafixture.h"
#include "session/recordedits.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QUndoStack>

class TestMapBrush : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMapAreaFixture> f;

    // The picture pixel in the middle of sector (column, row) and on its left edge.
    QPoint Middle(int column, int row) const
    {
        return f->PixelOf((float(column) + 0.5f) * SectorSize, (float(row) + 0.5f) * SectorSize);
    }
    QPoint LeftEdge(int column, int row) const
    {
        return f->PixelOf(float(column) * SectorSize, (float(row) + 0.5f) * SectorSize);
    }
    int FactionAt(int column, int row) const { return f->Session->Factions()->GetFaction(column, row); }
    static QRgb Colour(int faction) { return faction == 1 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); }
    QRgb PixelAt(QPoint at) const { return f->Picture().pixel(at) | 0xFF000000u; }

private slots:
    void init()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
        QVERIFY(f->OpenDemo());
        QVERIFY(f->LoadFactions());
        // Nothing over the sectors but the outline.
        MapAreaState state;
        state.Factions = true;
        f->Area->SetState(state);
        f->Turn();
    }
    void cleanup() { f.reset(); }

    void dragPaintsOneStroke()
    {
        f->Area->SetToolMode(MapToolMode::Brush);
        f->Control<QSpinBox>("seSectors")->setValue(0);
        // Three sectors of one faction in a row, painted with the other.
        const int row = 4;
        int first = -1;
        for (int column = 2; column < 28 && first < 0; ++column)
            if (FactionAt(column, row) == FactionAt(column + 1, row)
                && FactionAt(column, row) == FactionAt(column + 2, row))
                first = column;
        QVERIFY(first >= 0);
        const int was = FactionAt(first, row);
        const int painted = 1 - was;
        f->Area->SetBrushFaction(painted == 1 ? FactionBrush::Red : FactionBrush::Blue);
        f->Session->History().Push(
            CEditHistory::Factions,
            new CFactionPaint(*f->Session, first + 4, row, first + 4, row, 1 - FactionAt(first + 4, row)));

        QTest::mousePress(f->Image, Qt::LeftButton, Qt::NoModifier, Middle(first, row));
        QTest::mouseMove(f->Image, Middle(first + 2, row));
        f->Turn();
        // Shown before the release, the sector skipped over by the move included.
        QCOMPARE(PixelAt(Middle(first + 1, row)), Colour(painted));
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).count(), 1);
        // An earlier step waits while the stroke is painted: undone under it, the stroke would
        // later put back what that step had painted.
        QVERIFY(!f->Session->History().CanUndo());
        f->Session->History().Undo();
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).index(), 1);
        QTest::mouseRelease(f->Image, Qt::LeftButton, Qt::NoModifier, Middle(first + 2, row));
        for (int column = first; column <= first + 2; ++column)
            QCOMPARE(FactionAt(column, row), painted);
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).count(), 2);
        QVERIFY(f->Session->History().CanUndo());

        f->Session->History().Undo();
        f->Turn();
        for (int column = first; column <= first + 2; ++column)
            QCOMPARE(FactionAt(column, row), was);
        QCOMPARE(PixelAt(Middle(first + 1, row)), Colour(was));

        // Escape during a drag puts the layer back; Alt+click still toggles in Brush mode.
        QTest::mousePress(f->Image, Qt::LeftButton, Qt::NoModifier, Middle(first, row));
        QTest::mouseMove(f->Image, Middle(first + 2, row));
        QTest::keyClick(f->Image, Qt::Key_Escape);
        QTest::mouseRelease(f->Image, Qt::LeftButton, Qt::NoModifier, Middle(first + 2, row));
        QCOMPARE(FactionAt(first + 1, row), was);
        // No new step: the undone stroke still waits to be redone.
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).count(), 2);
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).index(), 1);
        f->Click(Qt::LeftButton, Qt::AltModifier, Middle(first, row));
        QCOMPARE(FactionAt(first, row), painted);
        QCOMPARE(FactionAt(first + 1, row), was);
    }

    void outlineFollowsTheMouse()
    {
        f->Area->SetToolMode(MapToolMode::Brush);
        f->Control<QSpinBox>("seSectors")->setValue(1);
        // The brush of radius 1 around sector (6, 6) has its left edge on sector 5's.
        const QPoint edge = LeftEdge(5, 6);
        const QRgb under = PixelAt(edge);
        QTest::mouseMove(f->Image, Middle(6, 6));
        f->Turn();
        QCOMPARE(PixelAt(edge), qRgb(0, 0, 0));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(f->Image, &leave);
        f->Turn();
        QCOMPARE(PixelAt(edge), under);
        // Back over the map (a move the window does not drop as a repeat), then another tool: gone
        // again.
        QTest::mouseMove(f->Image, Middle(6, 6) + QPoint(1, 1));
        f->Turn();
        QCOMPARE(PixelAt(edge), qRgb(0, 0, 0));
        f->Area->SetToolMode(MapToolMode::Select);
        f->Turn();
        QCOMPARE(PixelAt(edge), under);
    }

    void pickerGoesBackToTheBrush()
    {
        QSignalSpy picked(f->Area.get(), &CMapArea::BrushFactionChanged);
        f->Area->SetToolMode(MapToolMode::Picker);
        QPoint red;
        for (int column = 0; column < 32 && red.isNull(); ++column)
            if (FactionAt(column, 8) == 1)
                red = Middle(column, 8);
        QVERIFY(!red.isNull());
        f->Click(Qt::LeftButton, Qt::NoModifier, red);
        QCOMPARE(f->Area->BrushFaction(), FactionBrush::Red);
        QCOMPARE(f->Area->ToolMode(), MapToolMode::Brush);
        QCOMPARE(picked.size(), 1);
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).count(), 0);
    }

    void toolBarBoxFollowsTheBrush()
    {
        CMapToolBar bar(*f->Area);
        auto* box = bar.findChild<QComboBox*>(QStringLiteral("cbBrushFaction"));
        QVERIFY(box);
        QCOMPARE(box->toolTip(), QStringLiteral("Brush faction"));
        QCOMPARE(box->currentText(), QStringLiteral("Toggle"));
        box->setCurrentIndex(box->findText(QStringLiteral("Blue")));
        emit box->activated(box->currentIndex());
        QCOMPARE(f->Area->BrushFaction(), FactionBrush::Blue);
        f->Area->SetBrushFaction(FactionBrush::Red); // as the picker does
        QCOMPARE(box->currentText(), QStringLiteral("Red"));
    }
};

QTEST_MAIN(TestMapBrush)
#include "tst_mapbrush.moc"
