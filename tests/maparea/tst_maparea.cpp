// The map area on a campaign session over the demonstration installation: choosing a map, the
// debounced resolution and resize, the mouse (read-out, drag, wheel, place mode, Shift/Alt/Ctrl
// clicks), the faction layer, the selection marks and the one repaint per turn of the event loop.
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"
#include "mapareafixture.h"
#include "mapview/wheelzoom.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QToolButton>
#include <QUndoStack>
#include <cmath>
#include <map>

class TestMapArea : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMapAreaFixture> f;

private slots:
    void init()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
    }

    void cleanup()
    {
        f.reset();
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    void imagePixelAt_data()
    {
        QTest::addColumn<QPointF>("position");
        QTest::addColumn<QRect>("contents");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("origin") << QPointF(0, 0) << QRect(0, 0, 100, 80) << QPoint(0, 0);
        QTest::newRow("fractions round down") << QPointF(10.7, 3.99) << QRect(0, 0, 100, 80) << QPoint(10, 3);
        QTest::newRow("left of the picture") << QPointF(-0.25, -0.5) << QRect(0, 0, 100, 80) << QPoint(-1, -1);
        QTest::newRow("inside a frame") << QPointF(5.5, 2) << QRect(2, 1, 100, 80) << QPoint(3, 1);
    }

    void imagePixelAt()
    {
        QFETCH(QPointF, position);
        QFETCH(QRect, contents);
        QFETCH(QPoint, pixel);
        QCOMPARE(ImagePixelAt(position, contents), pixel);
    }

    void coordinateText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("positive") << 12.9f << QStringLiteral("12");
        QTest::newRow("negative toward zero") << -12.9f << QStringLiteral("-12");
        QTest::newRow("small negative is 0, not -0") << -0.4f << QStringLiteral("0");
        QTest::newRow("beyond 32 bits") << 1e20f << QStringLiteral("2147483647");
        QTest::newRow("far below") << -1e20f << QStringLiteral("-2147483648");
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << QStringLiteral("0");
    }

    void coordinateText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(CoordinateText(value), text);
    }

    void layoutAsTheWindowHadIt()
    {
        QSplitter* splitter = f->Area->Splitter();
        QCOMPARE(splitter->objectName(), QStringLiteral("pnlMapWitControls"));
        QCOMPARE(splitter->widget(0)->objectName(), QStringLiteral("pnlMap"));
        QCOMPARE(splitter->widget(1), f->Column);
        QCOMPARE(f->Column->width(), 90);
        QCOMPARE(f->Image->parentWidget(), splitter->widget(0));
    }

    void readoutBeforeAndAfterMap()
    {
        f->Control<QLabel>("lblXCoord")->setText(QStringLiteral("?"));
        QTest::mouseMove(f->Image, QPoint(40, 30));
        QTRY_COMPARE(f->Control<QLabel>("lblXCoord")->text(), QStringLiteral("0"));
        QCOMPARE(f->Control<QLabel>("lblZCoord")->text(), QStringLiteral("0"));
        QTest::mouseClick(f->Control<QToolButton>("spMapZoomIn"), Qt::LeftButton); // nothing to move before a map
        f->Turn();
        QVERIFY(f->Image->pixmap().isNull());
        QVERIFY(!f->Area->View());

        QVERIFY(f->OpenDemo());
        float x = 0;
        float z = 0;
        f->View().Viewport().PixelToMap(60, 50, x, z);
        QVERIFY(x != 0 || z != 0);
        QTest::mouseMove(f->Image, QPoint(60, 50));
        QTRY_COMPARE(f->Control<QLabel>("lblXCoord")->text(), QString::number(int(x)));
        QCOMPARE(f->Control<QLabel>("lblZCoord")->text(), QString::number(int(z)));
        QVERIFY(f->Prompts.Shown.isEmpty());
    }

    void wrongMapDataKeepsTheMap_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("factions");
        QTest::newRow("folder without terrain") << QStringLiteral("no-terrain") << false;
        QTest::newRow("terrain that cannot be read") << QStringLiteral("bad-terrain") << false;
        QTest::newRow("no folder") << QString() << false;
        QTest::newRow("a plain file") << QStringLiteral("map_notes.txt") << false;
        QTest::newRow("folder without terrain, Factions mode") << QStringLiteral("no-terrain") << true;
    }

    void wrongMapDataKeepsTheMap()
    {
        QFETCH(QString, choice);
        QFETCH(bool, factions);
        QTemporaryDir maps;
        QDir().mkpath(maps.filePath(QStringLiteral("no-terrain/terrain")));
        QDir().mkpath(maps.filePath(QStringLiteral("bad-terrain/terrain")));
        QFile bad(maps.filePath(QStringLiteral("bad-terrain/terrain/terrain.sim")));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a terrain") > 0);
        bad.close();
        QFile notes(maps.filePath(QStringLiteral("map_notes.txt")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.close();

        QVERIFY(f->OpenDemo());
        if (factions) {
            QVERIFY(f->LoadFactions());
            f->Turn();
        }
        const CMapWindow* before = f->Area->View();
        const QString folderBefore = f->Area->MapFolder();
        const QImage pictureBefore = f->Picture();
        QSignalSpy redrawn(f->Area.get(), &CMapArea::TerrainRedrawn);

        QVERIFY(!f->Area->OpenMapFolder(choice.isEmpty() ? QString() : maps.filePath(choice)));
        f->Turn();
        QCOMPARE(f->Prompts.Shown, QStringList{QStringLiteral("message: Wrong map data!")});
        QCOMPARE(f->Area->View(), before);
        QCOMPARE(f->Area->MapFolder(), folderBefore);
        QCOMPARE(f->Picture(), pictureBefore);
        QCOMPARE(redrawn.size(), 0);
        // The mode buttons still say what the map shows, and a later redraw draws the same.
        QCOMPARE(f->Control<QRadioButton>("rbMapModeFactions")->isChecked(), factions);
        QTest::mouseClick(f->Control<QToolButton>("spMapDefault"), Qt::LeftButton);
        f->Turn();
        QCOMPARE(redrawn.size(), 1);
        QCOMPARE(f->Picture(), pictureBefore);
    }

    void aNewMapOpensInHeightsMode()
    {
        QVERIFY(f->OpenDemo());
        QCOMPARE(f->Area->MapFolder(), QDir::toNativeSeparators(f->MapFolder(kDemoFirstMap) + QLatin1Char('/')));
        const QImage heights = f->Picture();
        QVERIFY(f->LoadFactions());
        f->Turn();
        QVERIFY(f->Control<QRadioButton>("rbMapModeFactions")->isChecked());
        const QImage factions = f->Picture();
        QVERIFY(factions != heights);

        QVERIFY(f->Area->OpenMapFolder(f->MapFolder(kDemoSecondMap)));
        QVERIFY(f->Control<QRadioButton>("rbMapModeHeights")->isChecked());
        QVERIFY(f->Area->OpenMapFolder(f->MapFolder(kDemoFirstMap)));
        f->Turn();
        QCOMPARE(f->Picture(), heights);
        QTest::mouseClick(f->Control<QRadioButton>("rbMapModeFactions"), Qt::LeftButton);
        f->Turn();
        QCOMPARE(f->Picture(), factions);
        QVERIFY(f->Prompts.Shown.isEmpty());

        // Saving the layer is no new layer: the mode stays as the user left it.
        QTest::mouseClick(f->Control<QRadioButton>("rbMapModeHeights"), Qt::LeftButton);
        QTemporaryDir dir;
        QVERIFY(f->Session->SaveFactions(dir.filePath(QStringLiteral("copy.SID"))));
        f->Turn();
        QVERIFY(f->Control<QRadioButton>("rbMapModeHeights")->isChecked());
        QCOMPARE(f->Picture(), heights);
    }

    void resolutionRendersOnceAtTheEnd()
    {
        QVERIFY(f->OpenDemo());
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);
        CDebounce* wait = f->Timer("TimerTBResolution");
        for (int position : {5, 6, 7, 8}) {
            f->Control<QSlider>("tbResolution")->setValue(position);
            QVERIFY(wait->isActive()); // every move (re)starts the one wait
            f->Turn();
        }
        QCOMPARE(wait->interval(), 500); // the rest a move must have before the map is rendered
        QCOMPARE(renders.size(), 0);
        wait->Fire();
        f->Turn();
        QCOMPARE(renders.size(), 1);
        QCOMPARE(f->View().Resolution, 8);
        QVERIFY(!wait->isActive()); // nothing is left to render later
    }

    void aBurstOfChangesRepaintsOnce()
    {
        QVERIFY(f->OpenDemo());
        f->Session->SetActiveList(RecordList::Sams);
        f->Turn();
        QSignalSpy repaints(f->Area.get(), &CMapArea::Repainted);
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);
        const QImage before = f->Picture();
        for (int i = 0; i < 10; ++i) {
            auto* edit = new CRecordEdit(*f->Session, QStringLiteral("Move"));
            CSAMPlacement sam = f->Session->Records().Sams()[size_t(i % 3)];
            sam.X += 2000;
            edit->Add(ReplaceRecord<CSAMPlacement>(i % 3, sam));
            f->Session->Push(CEditHistory::MapBin, edit);
        }
        f->Session->SelectRecords(RecordList::Sams, 1, 2);
        QCOMPARE(repaints.size(), 0); // nothing before the event loop turns
        f->Turn();
        f->Turn();
        QCOMPARE(repaints.size(), 1);
        QCOMPARE(renders.size(), 0); // symbols and marks only: the terrain stays
        QVERIFY(f->Picture() != before);
        // A turn without changes repaints nothing.
        f->Turn();
        QCOMPARE(repaints.size(), 1);
    }

    void selectionIsMarkedOnTheMap()
    {
        QVERIFY(f->OpenDemo());
        const QImage unmarked = f->Picture();
        f->Session->SetActiveList(RecordList::Sams);
        f->Session->SelectRecord(RecordList::Sams, 1);
        f->Turn();
        const QImage marked = f->Picture();
        QVERIFY(marked != unmarked);
        f->Session->SelectRecord(RecordList::Sams, 2);
        f->Turn();
        QVERIFY(f->Picture() != marked);
        // Every kind's selection is marked, whichever page is shown, and together.
        f->Session->SelectRecord(RecordList::Sams, 1);
        f->Session->SetActiveList(RecordList::Templates);
        f->Turn();
        QCOMPARE(f->Picture(), marked);
        f->Session->SelectRecord(RecordList::Airbases, 0);
        f->Turn();
        const QImage both = f->Picture();
        QVERIFY(both != marked);
        f->Session->SelectPlacements({});
        f->Turn();
        QCOMPARE(f->Picture(), unmarked);
    }

    void placeMode()
    {
        QVERIFY(!f->Area->EnterPlaceMode(SamKind, 1)); // no map to place on yet
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(f->OpenDemo());
        const CBINFile& records = f->Session->Records();
        QVERIFY(records.SamCount() >= 2);
        const CSAMPlacement old = records.Sams()[1];
        QSignalSpy changes(f->Area.get(), &CMapArea::PlaceModeChanged);

        QVERIFY(f->Area->EnterPlaceMode(SamKind, 1));
        QVERIFY(f->Area->IsPlacing());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0][0].toBool(), true);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QVERIFY(!f->Area->EnterPlaceMode(KeysiteKind, 0)); // a second request keeps the first

        f->Click(Qt::MiddleButton, Qt::NoModifier, QPoint(30, 30));
        QVERIFY(f->Area->IsPlacing());
        f->Click(Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
        QVERIFY(!f->Area->IsPlacing());
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes[1][0].toBool(), false);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(records.Sams()[1].X, old.X);
        QVERIFY(!f->Session->History().CanUndo());

        // Modifier keys make no difference while placing: a Ctrl+left click places, as one edit.
        const QPoint target(101, 57);
        float x = 0;
        float z = 0;
        f->View().Viewport().PixelToMap(target.x(), target.y(), x, z);
        QVERIFY(x != std::trunc(x) || z != std::trunc(z)); // the test needs a position off the whole numbers
        // The undo selects the SAM site again: the picture before has it selected too.
        f->Session->SelectRecord(RecordList::Sams, 1);
        f->Turn();
        const QImage before = f->Picture();
        QVERIFY(f->Area->EnterPlaceMode(SamKind, 1));
        f->Click(Qt::LeftButton, Qt::ControlModifier, target);
        QVERIFY(!f->Area->IsPlacing());
        QCOMPARE(records.Sams()[1].X, x);
        QCOMPARE(records.Sams()[1].Z, z);
        QCOMPARE(f->Session->History().UndoText(), QStringLiteral("Place SAM site"));
        f->Turn();
        QVERIFY(f->Picture() != before); // the SAM symbols show the move
        f->Session->History().Undo();
        QCOMPARE(records.Sams()[1].X, old.X);
        QCOMPARE(records.Sams()[1].Z, old.Z);
        f->Turn();
        QCOMPARE(f->Picture(), before);
    }

    void ctrlClickSelectsTheHitRecord()
    {
        QVERIFY(f->OpenDemo());
        const CBINFile& records = f->Session->Records();
        QVERIFY(records.SamCount() >= 7 && records.AirbaseCount() >= 3 && records.KeysiteCount() >= 2);
        QSignalSpy forward(f->Session.get(), &CCampaignSession::RowsBroughtForward);
        const int last = records.KeysiteCount() - 1;
        const CKeysitePlacement keysite = records.Keysites()[size_t(last)];
        f->Click(Qt::LeftButton, Qt::ControlModifier, f->PixelOf(keysite.X, keysite.Z));
        QCOMPARE(f->Session->SelectedRecords(RecordList::Keysites), std::vector<int>{last});
        QCOMPARE(forward.size(), 1);
        QCOMPARE(forward[0][0].value<ListAddress>().List, RecordList::Keysites);

        // A range of SAM sites gives way to the one hit.
        f->Session->SelectRecords(RecordList::Sams, 4, 6);
        const CSAMPlacement sam = records.Sams()[0];
        f->Click(Qt::LeftButton, Qt::ControlModifier, f->PixelOf(sam.X, sam.Z));
        QCOMPARE(f->Session->SelectedRecords(RecordList::Sams), std::vector<int>{0});
        QCOMPARE(forward.size(), 2);

        // With no record left nothing is hit and nothing changes.
        f->Session->NewMapBin();
        f->Click(Qt::LeftButton, Qt::ControlModifier, f->PixelOf(sam.X, sam.Z));
        QCOMPARE(forward.size(), 2);
    }

    void altClickPaints_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("one sector") << 0 << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("5 x 5, with Ctrl held too") << 2 << (Qt::AltModifier | Qt::ControlModifier);
    }

    void altClickPaints()
    {
        QFETCH(int, radius);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QVERIFY(f->OpenDemo());
        QVERIFY(f->LoadFactions());
        f->Turn();
        f->Control<QRadioButton>("rbMapModeHeights")->setChecked(true);
        f->Control<QSpinBox>("seSectors")->setValue(radius);
        f->Turn();
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);

        const QPoint pixel(f->Image->width() / 2, f->Image->height() / 2);
        float x = 0;
        float z = 0;
        f->View().Viewport().PixelToMap(pixel.x(), pixel.y(), x, z);
        const int sx = int(x / SectorSize);
        const int sz = int(z / SectorSize);
        const CFactionsInfo& factions = *f->Session->Factions();
        const int old = factions.GetFaction(sx, sz);
        QVERIFY(old >= 0);
        std::map<std::pair<int, int>, int> before;
        for (int i = sx - radius - 2; i <= sx + radius + 2; ++i)
            for (int j = sz - radius - 2; j <= sz + radius + 2; ++j)
                before[{i, j}] = factions.GetFaction(i, j);

        f->Click(Qt::LeftButton, modifiers, pixel);
        const int painted = old == 0 ? 1 : 0;
        for (const auto& [sector, value] : before) {
            const bool inside = std::abs(sector.first - sx) <= radius && std::abs(sector.second - sz) <= radius;
            const int expected = inside && value >= 0 ? painted : value;
            QCOMPARE(factions.GetFaction(sector.first, sector.second), expected);
        }
        QCOMPARE(f->Session->History().Stack(CEditHistory::Factions).count(), 1);
        QVERIFY(f->Session->SelectedRecords(RecordList::Keysites).empty()); // Ctrl did not select
        f->Turn();
        QVERIFY(f->Control<QRadioButton>("rbMapModeFactions")->isChecked());
        QCOMPARE(renders.size(), 1);

        // Undo takes the paint back and shows the layer again, whatever the mode was.
        f->Control<QRadioButton>("rbMapModeHeights")->setChecked(true);
        f->Session->History().Undo();
        for (const auto& [sector, value] : before)
            QCOMPARE(factions.GetFaction(sector.first, sector.second), value);
        f->Turn();
        QVERIFY(f->Control<QRadioButton>("rbMapModeFactions")->isChecked());
        QCOMPARE(renders.size(), 2);
    }

    // Clicks on a SAM that leave the records alone: Shift centres the view even with Ctrl held, and
    // without a place mode, modifier or faction layer a click has nothing to do.
    void clicksThatSelectNothing_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("moves");
        QTest::newRow("Shift wins over Ctrl") << Qt::LeftButton << (Qt::ShiftModifier | Qt::ControlModifier) << true;
        QTest::newRow("Shift+right click") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
        QTest::newRow("Alt, no faction layer") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier) << false;
    }

    void clicksThatSelectNothing()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, moves);
        QVERIFY(f->OpenDemo());
        const CSAMPlacement sam = f->Session->Records().Sams()[0];
        const QList<int32_t> before = f->Bounds(f->View());
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);
        QSignalSpy forward(f->Session.get(), &CCampaignSession::RowsBroughtForward);
        f->Click(button, modifiers, f->PixelOf(sam.X, sam.Z));
        f->Turn();
        QCOMPARE(f->Bounds(f->View()) != before, moves);
        QCOMPARE(renders.size(), moves ? 1 : 0);
        QCOMPARE(forward.size(), 0);
        QVERIFY(f->Control<QRadioButton>("rbMapModeHeights")->isChecked());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void wheelZoomsAroundTheCursor()
    {
        QVERIFY(f->OpenDemo());
        const CMapWindow& view = f->View();
        const QPoint cursor(131, 77);
        const QPointF point(
            view.ViewLeft + (cursor.x() + 0.5) * (double(view.ViewRight) - view.ViewLeft) / view.PixelWidth,
            view.ViewTop - (cursor.y() + 0.5) * (double(view.ViewTop) - view.ViewBottom) / view.PixelHeight);
        const int32_t width = view.ViewRight - view.ViewLeft;
        const QImage before = f->Picture();
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);

        // A touchpad's parts of a notch add up; only a whole notch zooms.
        f->Wheel(40, cursor);
        f->Wheel(40, cursor);
        QCOMPARE(view.ViewRight - view.ViewLeft, width);
        f->Wheel(40, cursor);
        QVERIFY(view.ViewRight - view.ViewLeft < width);
        f->Wheel(2 * 120, cursor);
        // The terrain point under the cursor stays within half a pixel.
        const double pixelX = (point.x() - view.ViewLeft) * view.PixelWidth / (double(view.ViewRight) - view.ViewLeft);
        const double pixelY = (view.ViewTop - point.y()) * view.PixelHeight / (double(view.ViewTop) - view.ViewBottom);
        QVERIFY2(std::abs(pixelX - (cursor.x() + 0.5)) <= 0.5, qPrintable(QString::number(pixelX)));
        QVERIFY2(std::abs(pixelY - (cursor.y() + 0.5)) <= 0.5, qPrintable(QString::number(pixelY)));
        // The overlay moved at once over a preview; the terrain is rendered once, when the wheel rests.
        f->Turn();
        QVERIFY(f->Picture() != before);
        QCOMPARE(renders.size(), 0);
        CDebounce* settle = f->Timer("TimerMapSettle");
        QCOMPARE(settle->interval(), 300);
        settle->Fire();
        f->Turn();
        QCOMPARE(renders.size(), 1);
        // Turning back zooms out again.
        const int32_t zoomed = view.ViewRight - view.ViewLeft;
        f->Wheel(-120, cursor);
        QVERIFY(view.ViewRight - view.ViewLeft > zoomed);
    }

    // Notches turned back restore the view exactly, in one event or several, and a notch scales
    // the view by the same factor either way.
    void wheelNotchesTurnedBackRestoreTheView_data()
    {
        QTest::addColumn<QList<int>>("angles");
        QTest::newRow("one in, one out") << QList<int>{120, -120};
        QTest::newRow("three at once, back one by one") << QList<int>{360, -120, -120, -120};
        QTest::newRow("a touchpad's parts") << QList<int>{60, 60, 30, -90, -60};
        QTest::newRow("far out") << QList<int>{-20 * 120, 20 * 120};
    }

    void wheelNotchesTurnedBackRestoreTheView()
    {
        QFETCH(QList<int>, angles);
        QVERIFY(f->OpenDemo());
        const CMapWindow& view = f->View();
        const QPoint cursor(173, 91);
        const QList<int32_t> before = f->Bounds(view);
        const double width = double(view.ViewRight) - view.ViewLeft;
        f->Wheel(angles.first(), cursor);
        if (angles.first() % 120 == 0) {
            const double expected = width * std::pow(CWheelZoom::NotchFactor, angles.first() / 120);
            QVERIFY2(std::abs(view.ViewRight - view.ViewLeft - expected) <= 1.0,
                     qPrintable(QStringLiteral("%1 for %2").arg(view.ViewRight - view.ViewLeft).arg(expected)));
        }
        for (qsizetype i = 1; i < angles.size(); ++i) {
            f->Turn(); // a repaint in between does not end the turn
            f->Wheel(angles[i], cursor);
        }
        QCOMPARE(f->Bounds(view), before);
    }

    // A pan between notches starts a new turn: the notch back scales the panned view, not the old one.
    void wheelTurnEndsWhenTheViewMoves()
    {
        QVERIFY(f->OpenDemo());
        const QPoint cursor(120, 80);
        f->Wheel(120, cursor);
        QTest::mouseClick(f->Control<QToolButton>("spMapLeft"), Qt::LeftButton);
        CMapWindow expected(f->View());
        expected.ScaleAround(cursor.x(), cursor.y(), 1 / CWheelZoom::NotchFactor);
        f->Wheel(-120, cursor);
        QCOMPARE(f->Bounds(f->View()), f->Bounds(expected));
    }

    void dragPansTheMap_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void dragPansTheMap()
    {
        QFETCH(Qt::MouseButton, button);
        QVERIFY(f->OpenDemo());
        CMapWindow expected(f->View());
        expected.PanByPixels(40, -25);
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);
        const QImage before = f->Picture();
        QTest::mousePress(f->Image, button, Qt::NoModifier, QPoint(100, 100));
        QTest::mouseMove(f->Image, QPoint(170, 130));
        f->Turn();
        QVERIFY(f->Picture() != before); // the picture follows the hand
        QTest::mouseMove(f->Image, QPoint(140, 75));
        f->Turn();
        QCOMPARE(renders.size(), 0);
        QTest::mouseRelease(f->Image, button, Qt::NoModifier, QPoint(140, 75));
        f->Turn();
        QCOMPARE(renders.size(), 1); // rendered once, when the drag ends
        QCOMPARE(f->Bounds(f->View()), f->Bounds(expected));
        QVERIFY(!f->Timer("TimerMapSettle")->isActive());
        QVERIFY(f->Image->hasFocus()); // a click on the map gives it the keyboard
    }

    // A key, and then the button beside the map for the same move, do what the view's operation does.
    void keysAndButtonsNavigate_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("operation"); // index into the view's operations and buttons below
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << 1;
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << 2;
        QTest::newRow("right") << int(Qt::Key_Right) << 0 << 3;
        QTest::newRow("plus") << int(Qt::Key_Plus) << 0 << 4;
        QTest::newRow("ctrl plus") << int(Qt::Key_Plus) << int(Qt::ControlModifier) << 4;
        QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << 5;
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << 6;
    }

    void keysAndButtonsNavigate()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, operation);
        void (CMapWindow::*const operations[])() = {&CMapWindow::PanUp,    &CMapWindow::PanDown, &CMapWindow::PanLeft,
                                                    &CMapWindow::PanRight, &CMapWindow::ZoomIn,  &CMapWindow::ZoomOut,
                                                    &CMapWindow::ResetView};
        QToolButton* const buttons[] = {f->Control<QToolButton>("spMapUp"),     f->Control<QToolButton>("spMapDown"),
                                        f->Control<QToolButton>("spMapLeft"),   f->Control<QToolButton>("spMapRight"),
                                        f->Control<QToolButton>("spMapZoomIn"), f->Control<QToolButton>("spMapZoomOut"),
                                        f->Control<QToolButton>("spMapDefault")};
        QVERIFY(f->OpenDemo());
        f->Image->setFocus();
        QTest::keyClick(f->Image, Qt::Key_Plus); // away from the default view, so that Home has something to do
        CMapWindow expected(f->View());
        (expected.*operations[operation])();
        QTest::keyClick(f->Image, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f->Bounds(f->View()), f->Bounds(expected));
        QTest::mouseClick(buttons[operation], Qt::LeftButton);
        (expected.*operations[operation])();
        QCOMPARE(f->Bounds(f->View()), f->Bounds(expected));
        QSignalSpy renders(f->Area.get(), &CMapArea::TerrainRedrawn);
        f->Turn();
        QCOMPARE(renders.size(), 1);
        QVERIFY(!QGuiApplication::overrideCursor()); // the hourglass went away again
    }

    void growthKeepsTheMapFitted()
    {
        QVERIFY(f->OpenDemo());
        f->Area->resize(f->Area->width() + 300, f->Area->height() + 150);
        CDebounce* resize = f->Timer("TimerMapResize");
        QTRY_VERIFY(resize->isActive());
        QCOMPARE(resize->interval(), 750);
        resize->Fire();
        CMapWindow fitted(f->View());
        fitted.ResetView();
        QCOMPARE(f->View().PixelWidth, f->Image->width());
        QCOMPARE(f->Bounds(f->View()), f->Bounds(fitted));
    }

    void showOnMapCentresTheRecord_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("keysite") << int(KeysiteKind);
        QTest::newRow("airbase") << int(AirbaseKind);
        QTest::newRow("SAM site") << int(SamKind);
    }

    void showOnMapCentresTheRecord()
    {
        QFETCH(int, kind);
        QVERIFY(f->OpenDemo());
        QTest::mouseClick(f->Control<QToolButton>("spMapZoomIn"), Qt::LeftButton);
        QTest::mouseClick(f->Control<QToolButton>("spMapZoomIn"), Qt::LeftButton);
        const int32_t width = f->View().ViewRight - f->View().ViewLeft;
        f->Area->ShowOnMap(RecordKind(kind), 1);
        QCOMPARE(f->View().ViewRight - f->View().ViewLeft, width);
        const CBINFile& records = f->Session->Records();
        const auto second = [](const auto& list) { return std::pair{list[1].X, list[1].Z}; };
        const auto [x, z] = kind == KeysiteKind ? second(records.Keysites())
            : kind == AirbaseKind               ? second(records.Airbases())
                                                : second(records.Sams());
        const QPoint pixel = f->PixelOf(x, z);
        QVERIFY2(std::abs(pixel.x() - f->View().PixelWidth / 2) <= 1
                     && std::abs(pixel.y() - f->View().PixelHeight / 2) <= 1,
                 qPrintable(QStringLiteral("%1, %2").arg(pixel.x()).arg(pixel.y())));
        // A record that is not there moves nothing.
        const QList<int32_t> shown = f->Bounds(f->View());
        f->Area->ShowOnMap(RecordKind(kind), 100000);
        QCOMPARE(f->Bounds(f->View()), shown);
    }

    void placementsOutsideTheMapAreCounted_data()
    {
        QTest::addColumn<QString>("map");
        QTest::newRow("its own map") << QString(kDemoFirstMap);
        QTest::newRow("a map it does not fit") << QString(kDemoSecondMap);
    }

    void placementsOutsideTheMapAreCounted()
    {
        QFETCH(QString, map);
        QCOMPARE(f->Area->PlacementsOutside(), 0); // no map, nothing outside it
        QVERIFY(f->Session->LoadMapBin(f->DemoFile(kDemoCampaignFile)));
        QVERIFY(f->Area->OpenMapFolder(f->MapFolder(map.toLatin1().constData())));
        // The terrain spans X 0 to its width; record Z counts down from the half sector rows.
        const CMapWindow& view = f->View();
        const double zTop = double(view.Viewport().HalfSectorsZ) * SectorSize;
        int expected = 0;
        const auto count = [&](const auto& list) {
            for (const auto& record : list)
                expected += record.X >= 0 && record.X <= view.WorldWidth && record.Z <= zTop
                        && record.Z >= zTop - view.WorldDepth
                    ? 0
                    : 1;
        };
        const CBINFile& records = f->Session->Records();
        count(records.Keysites());
        count(records.Airbases());
        count(records.Sams());
        QCOMPARE(expected > 0, map != QLatin1String(kDemoFirstMap));
        QCOMPARE(f->Area->PlacementsOutside(), expected);
    }
};

QTEST_MAIN(TestMapArea)
#include "tst_maparea.moc"
