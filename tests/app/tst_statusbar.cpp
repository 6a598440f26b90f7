// The window's status bar while the mouse is over the map: the record under the mouse, the
// place, the tool's keys (held keys first), and notices that still take the bar for a while.
#include "app/maptoolbar.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "demowindow.h"
#include "maparea/debounce.h"
#include "maparea/maparea.h"
#include "maparea/mapimage.h"
#include "maptools/mapgeometry.h"
#include "mapview/mapwindow.h"

#include <QLabel>
#include <QSet>
#include <QStatusBar>

class TestStatusBar : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CDemoWindow> m_demo;
    TfrmMain* m_window = nullptr;

    CMapImage* Image() const { return Find<CMapImage>(*m_window, "im"); }
    QLabel* Label(const char* name) const { return Find<QLabel>(*m_window, name); }
    CViewport View() const { return m_window->MapArea()->View()->Viewport(); }
    // The map's waits (fitting itself to its area, rendering a moved view) end now, so that the
    // picture read is the view the mouse is over, however slow the build.
    void SettleMap() const
    {
        for (const char* name : {"TimerMapResize", "TimerMapSettle", "TimerTBResolution"})
            if (auto* wait = m_window->findChild<CDebounce*>(QLatin1String(name)); wait && wait->isActive())
                wait->Fire();
        QCoreApplication::processEvents();
    }

    // A SAM site whose symbol is the one a click on it takes, and its pixel.
    std::pair<int, QPoint> LoneSam() const
    {
        const MapToolContext context = m_window->MapArea()->PointerContext();
        const CBINFile& records = Records(*m_window);
        for (int i = 0; i < records.SamCount(); ++i) {
            int32_t x = 0;
            int32_t y = 0;
            View().MapToPixel(records.Sams()[size_t(i)].X, records.Sams()[size_t(i)].Z, x, y);
            const auto hit = SymbolAt(records, View(), context.Pickable, context.SymbolReach, x, y, context.Takes);
            if (hit && hit->Kind == SamKind && hit->Index == i && Image()->rect().contains(x, y))
                return {i, QPoint(x, y)};
        }
        return {-1, {}};
    }

private slots:
    void init()
    {
        m_demo = std::make_unique<CDemoWindow>();
        QVERIFY(m_demo->Open(QSize(1200, 800)));
        m_window = m_demo->Window.get();
        MapAreaState state = m_window->MapArea()->State();
        state.Keysites = state.Airbases = state.Sams = true;
        m_window->MapArea()->SetState(state);
        QCoreApplication::processEvents();
        QVERIFY(m_window->MapArea()->UnitsPerPixel() > 0);
    }
    void cleanup() { m_demo.reset(); }

    void namesTheRecordAndThePlaceUnderTheMouse()
    {
        // The map says what the mouse does through the bar's own labels, not a status tip.
        QVERIFY(Image()->statusTip().isEmpty());
        QVERIFY(!Label("lblStatusRecords")->isVisible());
        const auto [sam, pixel] = LoneSam();
        QVERIFY(sam >= 0);
        QTest::mouseMove(Image(), pixel);
        const QString records = Label("lblStatusRecords")->text();
        QVERIFY2(records == QStringLiteral("SAM site %1").arg(sam)
                     || records.startsWith(QStringLiteral("SAM site %1 · +").arg(sam)),
                 qPrintable(records));
        QVERIFY(Label("lblStatusRecords")->isVisible());
        const QString position = Label("lblStatusPosition")->text();
        QVERIFY2(position.startsWith(QLatin1String("X ")) && position.contains(QLatin1String("Sector ")),
                 qPrintable(position));
        QVERIFY(!position.contains(QStringLiteral("Height —")));
        // No faction file, no faction.
        QVERIFY(!position.contains(QLatin1String("Red")) && !position.contains(QLatin1String("Blue")));
        QVERIFY2(Label("lblStatusTool")->text().startsWith(QStringLiteral("Click: select · ")),
                 qPrintable(Label("lblStatusTool")->text()));
        // Locked, the SAM site is still there, last and marked, since a click passes over it.
        MapAreaState state = m_window->MapArea()->State();
        state.Locked[SamKind] = true;
        m_window->MapArea()->SetState(state);
        QTest::mouseMove(Image(), pixel + QPoint(1, 0));
        QVERIFY2(Label("lblStatusRecords")->toolTip().endsWith(QStringLiteral("SAM site %1, locked").arg(sam))
                     || Label("lblStatusRecords")->toolTip().contains(QStringLiteral("SAM site %1, locked\n").arg(sam)),
                 qPrintable(Label("lblStatusRecords")->toolTip()));
        state.Locked[SamKind] = false;
        m_window->MapArea()->SetState(state);

        // A faction file brings the sector's faction, the one the map draws under the mouse.
        QVERIFY(m_window->Session()->LoadFactions(m_demo->Map + QLatin1Char('/') + QLatin1String(kDemoFactionFile)));
        SettleMap();
        const QImage picture = Image()->pixmap().toImage();
        const auto colourAround = [&picture](QPoint p) {
            const QRgb colour = picture.pixel(p) & 0xFFFFFF;
            for (int dx = -2; dx <= 2; ++dx)
                for (int dy = -2; dy <= 2; ++dy)
                    if ((picture.pixel(p + QPoint(dx, dy)) & 0xFFFFFF) != colour)
                        return QRgb(0);
            return colour;
        };
        // Every sector colour met on a walk over the picture, the border included.
        QSet<QString> seen;
        for (int y = 10; y < picture.height() - 10; y += 11) {
            for (int x = 10; x < picture.width() - 10; x += 11) {
                const QRgb colour = colourAround(QPoint(x, y));
                const QString faction = colour == 0xFF0000 ? QStringLiteral("Red")
                    : colour == 0x0000FF                   ? QStringLiteral("Blue")
                                                           : QString();
                if (faction.isEmpty())
                    continue;
                QTest::mouseMove(Image(), QPoint(x, y));
                const QString text = Label("lblStatusPosition")->text();
                QVERIFY2(text.contains(QStringLiteral(" · %1 · ").arg(faction)),
                         qPrintable(faction + QLatin1String(": ") + text));
                seen << faction;
            }
        }
        QCOMPARE(seen.size(), 2);
        QTest::mouseMove(Image(), pixel);

        // The record moves away while the mouse rests: the bar follows once the map repainted.
        m_window->Session()->MutableRecords().ReplaceRow(sam, CSAMPlacement{-50000, -50000});
        QCoreApplication::processEvents();
        QVERIFY(!Label("lblStatusRecords")->text().startsWith(QStringLiteral("SAM site %1").arg(sam)));

        // Leaving the map clears the bar.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(Image(), &leave);
        QVERIFY(!Label("lblStatusRecords")->isVisible());
        QVERIFY(!Label("lblStatusPosition")->isVisible());
        QVERIFY(Label("lblStatusTool")->text().isEmpty());
    }

    void outsideTheTerrainThereIsNoHeight()
    {
        // Zoomed out until ground beyond the terrain shows left of it.
        for (int i = 0; i < 6 && View().PixelLeft <= 4; ++i)
            QTest::keyClick(Image(), Qt::Key_Minus);
        QCoreApplication::processEvents();
        QVERIFY(View().PixelLeft > 4);
        QTest::mouseMove(Image(), QPoint(View().PixelLeft - 3, Image()->height() / 2));
        QVERIFY2(Label("lblStatusPosition")->text().endsWith(QStringLiteral("Height —")),
                 qPrintable(Label("lblStatusPosition")->text()));
        QVERIFY(Label("lblStatusRecords")->text().isEmpty());
    }

    // The tool bar's mode and the keys held change the meanings shown; a notice takes the left of
    // the bar for a while and the meanings come back after it.
    void toolKeysAndNotices()
    {
        const QPoint middle = Image()->rect().center();
        QTest::mouseMove(Image(), middle);
        QLabel* tool = Label("lblStatusTool");
        m_window->MapTools()->ModeAction(MapToolMode::Ruler)->trigger();
        QVERIFY2(tool->text().startsWith(QLatin1String("Drag: measure")), qPrintable(tool->text()));
        QTest::keyPress(Image(), Qt::Key_Shift);
        QVERIFY2(tool->text().startsWith(QLatin1String("<b>Shift: snap to symbols</b>")), qPrintable(tool->text()));
        QTest::keyRelease(Image(), Qt::Key_Shift);
        QVERIFY(tool->text().startsWith(QLatin1String("Drag: measure")));
        // Keys held during a move count too.
        QTest::mouseMove(Image(), middle + QPoint(2, 2));
        m_window->MapTools()->ModeAction(MapToolMode::Select)->trigger();
        QVERIFY(tool->text().startsWith(QLatin1String("Click: select")));

        m_window->statusBar()->showMessage(QStringLiteral("Saved with 1 problem"));
        QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("Saved with 1 problem"));
        QVERIFY(!tool->isVisible());
        QVERIFY(Label("lblStatusPosition")->isVisible());
        m_window->statusBar()->clearMessage();
        QVERIFY(tool->isVisible());
        QVERIFY(tool->text().startsWith(QLatin1String("Click: select")));
    }

    void placeModeSaysWhatAClickPlaces()
    {
        QTest::mouseMove(Image(), Image()->rect().center());
        QVERIFY(m_window->MapArea()->EnterPlaceMode(AirbaseKind, 1));
        QCOMPARE(Label("lblStatusTool")->text(), QStringLiteral("Click: place airbase 1 here · Right-click: cancel"));
        QTest::mouseClick(Image(), Qt::RightButton, {}, Image()->rect().center());
        QVERIFY(!m_window->MapArea()->IsPlacing());
        QVERIFY(Label("lblStatusTool")->text().startsWith(QLatin1String("Click: select")));
    }
};

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
