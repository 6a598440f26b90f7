// The map area of the main window on the demonstration installation: choosing a map, the
// debounced resolution, the mouse (read-out, place mode, Shift/Alt/Ctrl clicks) and the faction
// layer, driven through the real widgets.
#include "../dialogs/scriptedprompts.h"
#include "maparea/debounce.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "app/stringgrid.h"
#include "appfixture.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "document/binfile.h"
#include "document/numbertext.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"
#include "mapview/maplist.h"
#include "mapview/wheelzoom.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

// Scripted prompts that also answer the map selection, in order; an empty queue cancels.
class CMapPrompts : public CScriptedPrompts {
public:
    QQueue<QString> MapAnswers;
    QStringList OpenedOn; // the folder each selection was opened on
    bool SelectMap(QWidget*, const QString&, QString& folder) override
    {
        OpenedOn << folder;
        if (MapAnswers.isEmpty())
            return false;
        folder = MapAnswers.dequeue();
        return true;
    }
};

class TestMapArea : public QObject {
    Q_OBJECT
private:
    QString MapFolder(const char* name) const
    {
        return m_installation->Root() + QStringLiteral("/common/maps/") + QLatin1String(name);
    }
    void ChooseMap(const QString& folder)
    {
        m_prompts->MapAnswers.enqueue(folder);
        m_window->Changemap1Click();
    }
    // The pixel of `im` over which the document's record position (x, z) lies.
    QPoint PixelOf(float x, float z) const
    {
        int32_t column = 0;
        int32_t row = 0;
        m_window->MapCanvas->Viewport().MapToPixel(x, z, column, row);
        return {column, row};
    }
    static QList<int32_t> Bounds(const CMapWindow& v) { return {v.ViewLeft, v.ViewRight, v.ViewBottom, v.ViewTop}; }
    void Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel)
    {
        QTest::mouseClick(m_window->im, button, modifiers, pixel);
    }
    void Wheel(int angle, QPoint pixel)
    {
        QWheelEvent event(QPointF(pixel), QPointF(m_window->im->mapToGlobal(pixel)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_window->im, &event);
    }
    void LoadDemoCampaign()
    {
        QVERIFY(m_window->LoadBinFile(MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)));
        ChooseMap(MapFolder(kDemoFirstMap));
        m_window->TimerMapResize->Fire();
    }
    // Opens a file as File > Load (or Load faction assignment, for a .SID file) would.
    void OpenAsChosen(const QString& path)
    {
        m_prompts->FileAnswers.enqueue(path);
        if (path.endsWith(QLatin1String(".SID")))
            m_window->Loadfactions1Click();
        else
            m_window->Load1Click();
    }
    // A copy of a demonstration file at `relative` under the installation; its path.
    QString CopyDemoFile(const char* name, const QString& relative) const
    {
        const QString to = m_installation->Root() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(to).path());
        if (!QFile::copy(MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(name), to))
            qFatal("cannot copy to %s", qPrintable(to));
        return to;
    }
    QString CurrentMap() const
    {
        return m_window->MapFolder.isEmpty() ? QString()
                                             : QDir::cleanPath(QDir::fromNativeSeparators(m_window->MapFolder));
    }
    void LoadDemoFactions()
    {
        m_prompts->FileAnswers.enqueue(MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(kDemoFactionFile));
        m_window->Loadfactions1Click();
        QVERIFY(m_window->Factions);
    }

    std::unique_ptr<CTestInstallation> m_installation;
    std::unique_ptr<CMapPrompts> m_prompts;
    std::unique_ptr<TfrmMain> m_window;
private slots:
    void init()
    {
        m_installation = std::make_unique<CTestInstallation>();
        QString error;
        QVERIFY2(m_installation->WriteDemo(&error), qPrintable(error));
        m_installation->RegisterRoot();
        m_prompts = std::make_unique<CMapPrompts>();
        m_window = std::make_unique<TfrmMain>(*m_prompts, m_installation->Environment());
        QVERIFY(m_window->InitializeMainWindow());
        m_window->resize(900, 700);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        m_window.reset();
        m_prompts.reset();
        m_installation.reset();
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

    void readoutBeforeAndAfterMap()
    {
        CMapControlColumn* column = m_window->pnlMapControls;
        column->lblXCoord->setText(QStringLiteral("?"));
        QTest::mouseMove(m_window->im, QPoint(40, 30));
        QTRY_COMPARE(column->lblXCoord->text(), QStringLiteral("0"));
        QCOMPARE(column->lblZCoord->text(), QStringLiteral("0"));
        QTest::mouseClick(column->spMapZoomIn, Qt::LeftButton); // nothing to move before a map
        QVERIFY(m_window->im->pixmap().isNull());

        ChooseMap(MapFolder(kDemoFirstMap));
        QVERIFY(m_prompts->Shown.isEmpty());
        float x = 0;
        float z = 0;
        m_window->MapCanvas->Viewport().PixelToMap(60, 50, x, z);
        QVERIFY(x != 0 || z != 0);
        QTest::mouseMove(m_window->im, QPoint(60, 50));
        QTRY_COMPARE(column->lblXCoord->text(), QString::number(int(x)));
        QCOMPARE(column->lblZCoord->text(), QString::number(int(z)));
    }

    void changeMapRefusals_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("factions");
        QTest::newRow("folder without terrain") << QStringLiteral("no-terrain") << false;
        QTest::newRow("terrain that cannot be read") << QStringLiteral("bad-terrain") << false;
        QTest::newRow("empty map list") << QString() << false;
        QTest::newRow("a plain file") << QStringLiteral("map_notes.txt") << false;
        QTest::newRow("folder without terrain, Factions mode") << QStringLiteral("no-terrain") << true;
    }

    void changeMapRefusals()
    {
        QFETCH(QString, choice);
        QFETCH(bool, factions);
        const QString maps = m_installation->Root() + QStringLiteral("/common/maps/");
        QDir().mkpath(maps + QStringLiteral("no-terrain/terrain"));
        m_installation->Write(QStringLiteral("sim/common/maps/bad-terrain/terrain/terrain.sim"), "not a terrain");
        m_installation->Write(QStringLiteral("sim/common/maps/map_notes.txt"), {});

        ChooseMap(MapFolder(kDemoFirstMap));
        if (factions)
            LoadDemoFactions();
        const CMap* before = m_window->MapCanvas->Map();
        const QString folderBefore = m_window->MapFolder;
        const QImage pictureBefore = m_window->im->pixmap().toImage();
        QVERIFY(before);

        ChooseMap(choice.isEmpty() ? QString() : maps + choice);
        QCOMPARE(m_prompts->Shown, QStringList{QStringLiteral("message: Wrong map data!")});
        QCOMPARE(m_window->MapCanvas->Map(), before);
        QCOMPARE(m_window->MapFolder, folderBefore);
        QCOMPARE(m_window->im->pixmap().toImage(), pictureBefore);
        // The mode buttons still say what the map shows, and a later redraw draws the same.
        QCOMPARE(m_window->pnlMapControls->rbMapModeFactions->isChecked(), factions);
        m_window->RedrawTerrain();
        m_window->RefreshMap();
        QCOMPARE(m_window->im->pixmap().toImage(), pictureBefore);

        // Cancelling the selection is silent and changes nothing either.
        m_window->Changemap1Click();
        QCOMPARE(m_prompts->Shown.size(), 1);
        QCOMPARE(m_window->MapCanvas->Map(), before);
    }

    void changeMapResetsModeKeepsFactions()
    {
        CMapControlColumn* column = m_window->pnlMapControls;
        ChooseMap(MapFolder(kDemoFirstMap));
        const QImage heights = m_window->im->pixmap().toImage();
        LoadDemoFactions();
        QVERIFY(column->rbMapModeFactions->isChecked());
        const QImage factions = m_window->im->pixmap().toImage();
        QVERIFY(factions != heights);

        ChooseMap(MapFolder(kDemoSecondMap));
        QVERIFY(column->rbMapModeHeights->isChecked());
        QVERIFY(m_window->Factions);
        // Each selection opens on the map shown at the time.
        QCOMPARE(m_prompts->OpenedOn,
                 (QStringList{QString(), QDir::toNativeSeparators(MapFolder(kDemoFirstMap) + QLatin1Char('/'))}));
        ChooseMap(MapFolder(kDemoFirstMap));
        QCOMPARE(m_window->im->pixmap().toImage(), heights);
        QTest::mouseClick(column->rbMapModeFactions, Qt::LeftButton);
        QCOMPARE(m_window->im->pixmap().toImage(), factions);
        QVERIFY(m_prompts->Shown.isEmpty());
    }

    void resolutionRendersOnceAtTheEnd()
    {
        ChooseMap(MapFolder(kDemoFirstMap));
        m_window->TimerMapResize->Fire(); // the start-up resize, if it is still waiting
        QSignalSpy renders(m_window.get(), &TfrmMain::TerrainRedrawn);
        QSlider* track = m_window->pnlMapControls->tbResolution;
        CDebounce* wait = m_window->TimerTBResolution;
        for (int position : {5, 6, 7, 8}) {
            track->setValue(position);
            QVERIFY(wait->isActive()); // every move (re)starts the one wait
        }
        QCOMPARE(wait->interval(), 500); // the rest a move must have before the map is rendered
        QCOMPARE(renders.size(), 0);
        wait->Fire();
        QCOMPARE(renders.size(), 1);
        QCOMPARE(m_window->MapCanvas->View()->Resolution, 8);
        QVERIFY(!wait->isActive()); // nothing is left to render later
    }

    void placeMode()
    {
        TfrmMain& window = *m_window;
        QVERIFY(window.LoadBinFile(MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)));
        QTest::mouseClick(window.btnKeysitePlace, Qt::LeftButton); // no map to place on yet
        QVERIFY(!window.PlaceMode.Active);
        QVERIFY(!QGuiApplication::overrideCursor());
        ChooseMap(MapFolder(kDemoFirstMap));
        CBINFile& document = *window.Document;
        QVERIFY(document.SamCount() >= 2);
        window.pcBINFile->setCurrentWidget(window.tsSAMs);
        window.grSAMs->SetRow(2);
        const float oldX = document.Sams()[1].X;
        const float oldZ = document.Sams()[1].Z;

        QTest::mouseClick(window.btnSAMPlace, Qt::LeftButton);
        QVERIFY(window.PlaceMode.Active);
        QCOMPARE(window.PlaceMode.Index, 1);
        QVERIFY(!window.btnSAMPlace->isEnabled());
        QVERIFY(!window.btnKeysiteAdd->isEnabled());
        QVERIFY(window.btnTemplateAdd->isEnabled());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        // A second request is refused and keeps the first.
        QVERIFY(!window.EnterPlaceMode(KeysiteKind, 0));
        QCOMPARE(window.PlaceMode.Kind, SamKind);

        Click(Qt::MiddleButton, Qt::NoModifier, QPoint(30, 30));
        QVERIFY(window.PlaceMode.Active);
        Click(Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
        QVERIFY(!window.PlaceMode.Active);
        QVERIFY(window.btnSAMPlace->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(document.Sams()[1].X, oldX);
        QCOMPARE(document.Sams()[1].Z, oldZ);

        // Modifier keys make no difference while placing: a Ctrl+left click places.
        const QPoint target(101, 57);
        float x = 0;
        float z = 0;
        window.MapCanvas->Viewport().PixelToMap(target.x(), target.y(), x, z);
        QVERIFY(x != std::trunc(x) || z != std::trunc(z));    // the test needs a position off the whole numbers
        QVERIFY(window.pnlMapControls->chbSAMs->isChecked()); // the symbols show from the first start
        const QImage before = window.im->pixmap().toImage();
        QTest::mouseClick(window.btnSAMPlace, Qt::LeftButton);
        Click(Qt::LeftButton, Qt::ControlModifier, target);
        QVERIFY(!window.PlaceMode.Active);
        QCOMPARE(document.Sams()[1].X, x);
        QCOMPARE(document.Sams()[1].Z, z);
        const QChar separator = SystemDecimalSeparator();
        QCOMPARE(window.grSAMs->Cell(2, 2), FloatText(x, separator));
        QCOMPARE(window.grSAMs->Cell(3, 2), FloatText(z, separator));
        QCOMPARE(window.pcBINFile->currentWidget(), window.tsSAMs);
        // With SAM symbols shown the picture follows the move at once.
        QVERIFY(window.im->pixmap().toImage() != before);

        // No record to place.
        window.New1Click();
        QTest::mouseClick(window.btnAirbasePlace, Qt::LeftButton);
        QVERIFY(!window.PlaceMode.Active);
    }

    void ctrlClickSelectsOnlyTheHitRecord()
    {
        TfrmMain& window = *m_window;
        LoadDemoCampaign();
        const CBINFile& document = *window.Document;
        QVERIFY(document.SamCount() >= 7 && document.AirbaseCount() >= 3);
        const int last = document.KeysiteCount() - 1;
        QVERIFY(last >= 1);
        const CKeysitePlacement& keysite = document.Keysites()[size_t(last)];
        Click(Qt::LeftButton, Qt::ControlModifier, PixelOf(keysite.X, keysite.Z));
        QCOMPARE(window.pcBINFile->currentWidget(), window.tsKeysites);
        QCOMPARE(window.grKeysites->Row(), last + 1);
        if (keysite.TemplateNumber >= 0)
            QCOMPARE(window.grPopTemplates->Row(), keysite.TemplateNumber + 1);

        // A grid nobody has clicked since it was filled: the airbase's row is highlighted, alone.
        const CAirbasePlacement& airbase = document.Airbases()[2];
        Click(Qt::LeftButton, Qt::ControlModifier, PixelOf(airbase.X, airbase.Z));
        QCOMPARE(window.pcBINFile->currentWidget(), window.tsAirbases);
        QCOMPARE(window.grAirbases->Row(), 3);
        QCOMPARE(SelectedGridRows(window.grAirbases), QList<int>{3});

        // A range the user made on the SAM page gives way to the one SAM hit, so Delete asks for one.
        window.pcBINFile->setCurrentWidget(window.tsSAMs);
        ClickGridRow(window.grSAMs, 5);
        ClickGridRow(window.grSAMs, 7, Qt::ShiftModifier);
        QCOMPARE(SelectedGridRows(window.grSAMs), (QList<int>{5, 6, 7}));
        const CSAMPlacement& sam = document.Sams()[0];
        Click(Qt::LeftButton, Qt::ControlModifier, PixelOf(sam.X, sam.Z));
        QCOMPARE(window.grSAMs->Row(), 1);
        QCOMPARE(SelectedGridRows(window.grSAMs), QList<int>{1});
        m_prompts->ConfirmAnswers << false;
        window.btnSAMDelClick();
        QCOMPARE(m_prompts->Shown, QStringList{QStringLiteral("confirm: Do you want to delete 1 SAMs")});

        // Ctrl+click on the row that is current already keeps it the only one.
        const QPoint samPixel = PixelOf(sam.X, sam.Z);
        Click(Qt::LeftButton, Qt::ControlModifier, samPixel);
        QCOMPARE(SelectedGridRows(window.grSAMs), QList<int>{1});

        // With no record left nothing is hit and nothing changes.
        window.pcBINFile->setCurrentWidget(window.tsPopTemplates);
        window.New1Click();
        Click(Qt::LeftButton, Qt::ControlModifier, samPixel);
        QCOMPARE(window.pcBINFile->currentWidget(), window.tsPopTemplates);
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
        TfrmMain& window = *m_window;
        LoadDemoCampaign();
        LoadDemoFactions();
        window.pnlMapControls->rbMapModeHeights->setChecked(true);
        window.pnlMapControls->seSectors->setValue(radius);

        const QPoint pixel(window.im->width() / 2, window.im->height() / 2);
        float x = 0;
        float z = 0;
        window.MapCanvas->Viewport().PixelToMap(pixel.x(), pixel.y(), x, z);
        const int sx = int(x / 4096);
        const int sz = int(z / 4096);
        const CFactionsInfo& factions = *window.Factions;
        const int old = factions.GetFaction(sx, sz);
        QVERIFY(old >= 0);
        std::map<std::pair<int, int>, int> before;
        for (int i = sx - radius - 2; i <= sx + radius + 2; ++i)
            for (int j = sz - radius - 2; j <= sz + radius + 2; ++j)
                before[{i, j}] = factions.GetFaction(i, j);

        Click(Qt::LeftButton, modifiers, pixel);
        const int painted = old == 0 ? 1 : 0;
        for (const auto& [sector, value] : before) {
            const bool inside = std::abs(sector.first - sx) <= radius && std::abs(sector.second - sz) <= radius;
            const int expected = inside && value >= 0 ? painted : value;
            QCOMPARE(factions.GetFaction(sector.first, sector.second), expected);
        }
        QVERIFY(window.pnlMapControls->rbMapModeFactions->isChecked());
        QCOMPARE(window.pcBINFile->currentWidget(), window.tsPopTemplates); // Ctrl did not select
    }

    // Clicks on a SAM that leave the records alone: Shift centres the view even with Ctrl held, and
    // without a place mode, modifier or faction layer a click has nothing to do.
    void clicksThatSelectNothing_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("moves");
        QTest::newRow("Shift wins over Ctrl") << Qt::LeftButton << (Qt::ShiftModifier | Qt::ControlModifier) << true;
        QTest::newRow("plain click") << Qt::LeftButton << Qt::KeyboardModifiers() << false;
        QTest::newRow("Shift+right click") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
        QTest::newRow("Alt, no faction layer") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier) << false;
    }

    void clicksThatSelectNothing()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, moves);
        LoadDemoCampaign();
        const CSAMPlacement& sam = m_window->Document->Sams()[0];
        const QList<int32_t> before = Bounds(*m_window->MapCanvas->View());
        QSignalSpy renders(m_window.get(), &TfrmMain::TerrainRedrawn);
        Click(button, modifiers, PixelOf(sam.X, sam.Z));
        QCOMPARE(Bounds(*m_window->MapCanvas->View()) != before, moves);
        QCOMPARE(renders.size(), moves ? 1 : 0);
        QCOMPARE(m_window->pcBINFile->currentWidget(), m_window->tsPopTemplates);
        QVERIFY(m_window->pnlMapControls->rbMapModeHeights->isChecked());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void wheelZoomsAroundTheCursor()
    {
        LoadDemoCampaign();
        CMapWindow* view = m_window->MapCanvas->View();
        const QPoint cursor(131, 77);
        const auto terrainAt = [view](QPoint p) {
            return QPointF(
                view->ViewLeft + (p.x() + 0.5) * (double(view->ViewRight) - view->ViewLeft) / view->PixelWidth,
                view->ViewTop - (p.y() + 0.5) * (double(view->ViewTop) - view->ViewBottom) / view->PixelHeight);
        };
        const QPointF point = terrainAt(cursor);
        const int32_t width = view->ViewRight - view->ViewLeft;
        const QImage before = m_window->im->pixmap().toImage();
        QSignalSpy renders(m_window.get(), &TfrmMain::TerrainRedrawn);

        // A touchpad's parts of a notch add up; only a whole notch zooms.
        Wheel(40, cursor);
        Wheel(40, cursor);
        QCOMPARE(view->ViewRight - view->ViewLeft, width);
        Wheel(40, cursor);
        QVERIFY(view->ViewRight - view->ViewLeft < width);
        Wheel(2 * 120, cursor);
        // The terrain point under the cursor stays within half a pixel.
        const double pixelX =
            (point.x() - view->ViewLeft) * view->PixelWidth / (double(view->ViewRight) - view->ViewLeft);
        const double pixelY =
            (view->ViewTop - point.y()) * view->PixelHeight / (double(view->ViewTop) - view->ViewBottom);
        QVERIFY2(std::abs(pixelX - (cursor.x() + 0.5)) <= 0.5, qPrintable(QString::number(pixelX)));
        QVERIFY2(std::abs(pixelY - (cursor.y() + 0.5)) <= 0.5, qPrintable(QString::number(pixelY)));
        // The overlay moved at once over a preview; the terrain is rendered once, when the wheel rests.
        QVERIFY(m_window->im->pixmap().toImage() != before);
        QCOMPARE(renders.size(), 0);
        m_window->TimerMapSettle->Fire();
        QCOMPARE(renders.size(), 1);
        // Turning back zooms out again.
        const int32_t zoomed = view->ViewRight - view->ViewLeft;
        Wheel(-120, cursor);
        QVERIFY(view->ViewRight - view->ViewLeft > zoomed);
    }

    // Notches turned back restore the view exactly, in one event or several, and a notch scales
    // the view by the same factor either way.
    void wheelNotchesTurnedBackRestoreTheView_data()
    {
        QTest::addColumn<QList<int>>("angles");
        QTest::newRow("one in, one out") << QList<int>{120, -120};
        QTest::newRow("one out, one in") << QList<int>{-120, 120};
        QTest::newRow("three at once, back one by one") << QList<int>{360, -120, -120, -120};
        QTest::newRow("to and fro") << QList<int>{120, 120, -120, -120, 120, -120};
        QTest::newRow("a touchpad's parts") << QList<int>{60, 60, 30, -90, -60};
        QTest::newRow("deep in") << QList<int>{12 * 120, -12 * 120};
        QTest::newRow("far out") << QList<int>{-20 * 120, 20 * 120};
    }

    void wheelNotchesTurnedBackRestoreTheView()
    {
        QFETCH(QList<int>, angles);
        LoadDemoCampaign();
        const CMapWindow* view = m_window->MapCanvas->View();
        const QPoint cursor(173, 91);
        const QList<int32_t> before = Bounds(*view);
        const double width = double(view->ViewRight) - view->ViewLeft;
        Wheel(angles.first(), cursor);
        if (angles.first() % 120 == 0) {
            const double expected = width * std::pow(CWheelZoom::NotchFactor, angles.first() / 120);
            QVERIFY2(std::abs(view->ViewRight - view->ViewLeft - expected) <= 1.0,
                     qPrintable(QStringLiteral("%1 for %2").arg(view->ViewRight - view->ViewLeft).arg(expected)));
        }
        for (qsizetype i = 1; i < angles.size(); ++i)
            Wheel(angles[i], cursor);
        QCOMPARE(Bounds(*view), before);
    }

    // A pan between notches starts a new turn: the notch back scales the panned view, not the old one.
    void wheelTurnEndsWhenTheViewMoves()
    {
        LoadDemoCampaign();
        const CMapWindow* view = m_window->MapCanvas->View();
        const QPoint cursor(120, 80);
        Wheel(120, cursor);
        m_window->spMapLeftClick();
        CMapWindow expected(*view);
        expected.ScaleAround(cursor.x(), cursor.y(), 1 / CWheelZoom::NotchFactor);
        Wheel(-120, cursor);
        QCOMPARE(Bounds(*view), Bounds(expected));
    }

    // A Map BIN or faction file opened from a map folder of the installation chooses that map when
    // none is chosen; a faction file keeps its layer on screen.
    void fileFromAMapFolderChoosesItsMap_data()
    {
        QTest::addColumn<QString>("file"); // under the installation; "-" for the demonstration's own
        QTest::addColumn<bool>("factionFile");
        QTest::addColumn<bool>("mapBefore"); // the second map chosen first
        QTest::addColumn<QString>("map");    // chosen afterwards, empty for none
        const QString first = QLatin1String(kDemoFirstMap);
        const QString second = QLatin1String(kDemoSecondMap);
        QTest::newRow("Map BIN file") << "-" << false << false << first;
        QTest::newRow("faction file") << "-" << true << false << first;
        QTest::newRow("in a folder within the map's")
            << "common/maps/" + first + "/backup/copy.BIN" << false << false << first;
        QTest::newRow("a map chosen already") << "-" << false << true << second;
        QTest::newRow("outside the maps") << "campaigns/copy.BIN" << false << false << QString();
        QTest::newRow("a map folder without terrain") << "common/maps/map_work/copy.BIN" << false << false << QString();
    }

    void fileFromAMapFolderChoosesItsMap()
    {
        QFETCH(QString, file);
        QFETCH(bool, factionFile);
        QFETCH(bool, mapBefore);
        QFETCH(QString, map);
        const char* const demoFile = factionFile ? kDemoFactionFile : kDemoCampaignFile;
        const QString path = file == QLatin1String("-")
            ? MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(demoFile)
            : CopyDemoFile(demoFile, file);
        if (mapBefore)
            ChooseMap(MapFolder(kDemoSecondMap));

        OpenAsChosen(path);
        QCOMPARE(m_prompts->Shown, QStringList());
        QCOMPARE(CurrentMap(), map.isEmpty() ? QString() : MapFolder(map.toLatin1().constData()));
        QCOMPARE(m_window->im->pixmap().isNull(), map.isEmpty());
        QCOMPARE(m_window->pnlMapControls->rbMapModeFactions->isChecked(), factionFile);
    }

    // Change map opens on the current map or, before one is chosen, on the map folder of the open file.
    void changeMapOffersTheOpenFilesMap()
    {
        // Without terrain beside it, opening the file chooses no map by itself.
        OpenAsChosen(CopyDemoFile(kDemoCampaignFile, QStringLiteral("common/maps/map_work/copy.BIN")));
        QVERIFY(m_window->MapFolder.isEmpty());
        m_window->Changemap1Click();
        ChooseMap(MapFolder(kDemoSecondMap));
        m_window->Changemap1Click();
        QCOMPARE(m_prompts->OpenedOn,
                 (QStringList{MapEntryPath(m_installation->Root(), QStringLiteral("map_work")),
                              MapEntryPath(m_installation->Root(), QStringLiteral("map_work")),
                              QDir::toNativeSeparators(MapFolder(kDemoSecondMap) + QLatin1Char('/'))}));
    }

    // Whichever comes second, map or Map BIN file, the records outside the map are counted in the
    // status bar, without a box; New takes the notice away with the records.
    void recordsOutsideTheMapAreReported_data()
    {
        QTest::addColumn<bool>("mapFirst");
        QTest::addColumn<QString>("map");
        QTest::addColumn<bool>("outside");
        QTest::newRow("file, then a map it does not fit") << false << QString(kDemoSecondMap) << true;
        QTest::newRow("map, then a file that does not fit it") << true << QString(kDemoSecondMap) << true;
        QTest::newRow("file and its own map") << false << QString(kDemoFirstMap) << false;
    }

    void recordsOutsideTheMapAreReported()
    {
        QFETCH(bool, mapFirst);
        QFETCH(QString, map);
        QFETCH(bool, outside);
        const QString folder = MapFolder(map.toLatin1().constData());
        if (mapFirst)
            ChooseMap(folder);
        OpenAsChosen(MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(kDemoCampaignFile));
        if (!mapFirst)
            ChooseMap(folder);
        QCOMPARE(CurrentMap(), folder);

        // The terrain spans X 0 to its width; record Z counts down from the half sector rows.
        const CMapWindow& view = *m_window->MapCanvas->View();
        const double zTop = double(m_window->MapCanvas->Viewport().HalfSectorsZ) * SectorSize;
        int expected = 0;
        const auto count = [&](const auto& records) {
            for (const auto& record : records) {
                const bool on = record.X >= 0 && record.X <= view.WorldWidth && record.Z <= zTop
                    && record.Z >= zTop - view.WorldDepth;
                expected += on ? 0 : 1;
            }
        };
        const CBINFile& document = *m_window->Document;
        count(document.Keysites());
        count(document.Airbases());
        count(document.Sams());
        QCOMPARE(expected > 0, outside);
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 outside ? QStringLiteral("%1 records lie outside this map").arg(expected) : QString());
        QCOMPARE(m_prompts->Shown, QStringList());

        m_window->New1Click();
        QCOMPARE(m_window->statusBar()->currentMessage(), QString());
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
        LoadDemoCampaign();
        CMapWindow* view = m_window->MapCanvas->View();
        CMapWindow expected(*view);
        expected.PanByPixels(40, -25);
        QSignalSpy renders(m_window.get(), &TfrmMain::TerrainRedrawn);
        const QImage before = m_window->im->pixmap().toImage();
        QTest::mousePress(m_window->im, button, Qt::NoModifier, QPoint(100, 100));
        QTest::mouseMove(m_window->im, QPoint(170, 130));
        QVERIFY(m_window->im->pixmap().toImage() != before); // the picture follows the hand
        QTest::mouseMove(m_window->im, QPoint(140, 75));
        QCOMPARE(renders.size(), 0);
        QTest::mouseRelease(m_window->im, button, Qt::NoModifier, QPoint(140, 75));
        QCOMPARE(renders.size(), 1); // rendered once, when the drag ends
        QCOMPARE(Bounds(*view), Bounds(expected));
        QVERIFY(!m_window->TimerMapSettle->isActive());
        QVERIFY(m_window->im->hasFocus()); // a click on the map gives it the keyboard
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
        const CMapControlColumn* column = m_window->pnlMapControls;
        QToolButton* const buttons[] = {column->spMapUp,     column->spMapDown,   column->spMapLeft,
                                        column->spMapRight,  column->spMapZoomIn, column->spMapZoomOut,
                                        column->spMapDefault};
        LoadDemoCampaign();
        CMapWindow* view = m_window->MapCanvas->View();
        view->ZoomIn(); // away from the default view, so that Home has something to do
        CMapWindow expected(*view);
        (expected.*operations[operation])();
        m_window->im->setFocus();
        QTest::keyClick(m_window->im, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(Bounds(*view), Bounds(expected));
        QTest::mouseClick(buttons[operation], Qt::LeftButton);
        (expected.*operations[operation])();
        QCOMPARE(Bounds(*view), Bounds(expected));
        QVERIFY(!QGuiApplication::overrideCursor()); // the hourglass went away again
    }

    void windowGrowthKeepsTheMapFitted()
    {
        LoadDemoCampaign();
        CMapWindow* view = m_window->MapCanvas->View();
        m_window->resize(m_window->width() + 300, m_window->height() + 150);
        QTRY_VERIFY(m_window->TimerMapResize->isActive());
        m_window->TimerMapResize->Fire();
        CMapWindow fitted(*view);
        fitted.ResetView();
        QCOMPARE(view->PixelWidth, m_window->im->width());
        QCOMPARE(Bounds(*view), Bounds(fitted));
    }

    void gridRowsLeadToCommandsAndTheMap_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("question");
        QTest::newRow("keysites") << int(KeysiteKind) << QStringLiteral("confirm: Do you want to delete 1 keysites");
        QTest::newRow("airbases") << int(AirbaseKind) << QStringLiteral("confirm: Do you want to delete 1 airbases");
        QTest::newRow("SAMs") << int(SamKind) << QStringLiteral("confirm: Do you want to delete 1 SAMs");
    }

    void gridRowsLeadToCommandsAndTheMap()
    {
        QFETCH(int, kind);
        QFETCH(QString, question);
        LoadDemoCampaign();
        TfrmMain& window = *m_window;
        CStringGrid* grids[] = {window.grKeysites, window.grAirbases, window.grSAMs};
        QWidget* tabs[] = {window.tsKeysites, window.tsAirbases, window.tsSAMs};
        CStringGrid* grid = grids[kind];
        window.pcBINFile->setCurrentWidget(tabs[kind]);
        QVERIFY(grid->RowCount() >= 3);
        grid->SetRow(2);
        const int rows = grid->RowCount();

        // Double click and Enter open the Edit dialog (cancelled here), Delete asks its question.
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                           grid->visualRect(grid->currentIndex()).center());
        QCOMPARE(m_prompts->RunTitles.size(), 1);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(m_prompts->RunTitles.size(), 2);
        m_prompts->ConfirmAnswers << false;
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(m_prompts->Shown, QStringList{question});
        QCOMPARE(grid->RowCount(), rows);

        // Show on map centres the record at the same zoom.
        CMapWindow* view = window.MapCanvas->View();
        view->ZoomIn();
        view->ZoomIn();
        const int32_t width = view->ViewRight - view->ViewLeft;
        QMenu* menu = window.PlacementMenu(RecordKind(kind));
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions[0]->text(), QStringLiteral("Show on map"));
        actions[0]->trigger();
        delete menu;
        QCOMPARE(view->ViewRight - view->ViewLeft, width);
        const CBINFile& document = *window.Document;
        const auto second = [](const auto& records) { return std::pair{records[1].X, records[1].Z}; };
        const auto [x, z] = kind == KeysiteKind ? second(document.Keysites())
            : kind == AirbaseKind               ? second(document.Airbases())
                                                : second(document.Sams());
        int32_t column = 0;
        int32_t row = 0;
        window.MapCanvas->Viewport().MapToPixel(x, z, column, row);
        QVERIFY2(std::abs(column - view->PixelWidth / 2) <= 1 && std::abs(row - view->PixelHeight / 2) <= 1,
                 qPrintable(QStringLiteral("%1, %2").arg(column).arg(row)));
    }

    void selectionIsMarkedOnTheMap()
    {
        LoadDemoCampaign();
        TfrmMain& window = *m_window;
        const QImage unmarked = window.im->pixmap().toImage();
        window.pcBINFile->setCurrentWidget(window.tsSAMs);
        window.grSAMs->SetRow(2);
        QCOMPARE(window.MapCanvas->SelectionKind, SamKind);
        QCOMPARE(window.MapCanvas->SelectionFirst, 1);
        QCOMPARE(window.MapCanvas->SelectionLast, 1);
        const QImage marked = window.im->pixmap().toImage();
        QVERIFY(marked != unmarked);
        window.grSAMs->SetRow(3);
        QVERIFY(window.im->pixmap().toImage() != marked);
        // Pages without placements mark nothing.
        window.pcBINFile->setCurrentWidget(window.tsPopTemplates);
        QCOMPARE(window.im->pixmap().toImage(), unmarked);
    }
};

QTEST_MAIN(TestMapArea)
#include "tst_maparea.moc"
