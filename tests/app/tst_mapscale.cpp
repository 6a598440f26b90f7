// The map on a screen with twice the pixels per unit: the pictures are drawn in the screen's own
// pixels, symbols keep the size the user sees, and the mouse read-out is unchanged.

#include "../dialogs/scriptedprompts.h"
#include "maparea/debounce.h"
#include "app/mainwindow.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "appfixture.h"
#include "demo/demoinstall.h"
#include "mapview/mapcanvas.h"
#include "mapview/mapwindow.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <cmath>

namespace {

class CMapPrompts : public CScriptedPrompts {
public:
    QString Folder;
    bool SelectMap(QWidget*, const QString&, QString& folder) override
    {
        folder = Folder;
        return true;
    }
};

} // namespace

class TestMapScale : public QObject {
    Q_OBJECT
private slots:
    void pictureInScreenPixelsReadOutUnchanged()
    {
        CTestInstallation installation;
        QString error;
        QVERIFY2(WriteDemoInstallation(installation.Root(), nullptr, &error), qPrintable(error));
        installation.RegisterRoot();
        CMapPrompts prompts;
        prompts.Folder = installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap);
        TfrmMain window(prompts, installation.Environment());
        QVERIFY(window.InitializeMainWindow());
        window.resize(900, 700);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.im->devicePixelRatioF(), 2.0);
        window.Changemap1Click();
        window.TimerMapResize->Fire();

        // Twice as many pixels each way, shown at the widget's size.
        const QSize widget = window.im->size();
        QCOMPARE(window.MapCanvas->CompositeBitmap.size(), widget * 2);
        QCOMPARE(window.im->pixmap().devicePixelRatio(), 2.0);
        QCOMPARE(window.MapCanvas->SymbolScale, 2.0);

        // The read-out under a point is the terrain position there as the view window places it
        // on the widget, to within the world width of one widget unit.
        const CMapWindow* view = window.MapCanvas->View();
        const CViewport viewport = window.MapCanvas->Viewport();
        const QPoint at(200, 150);
        const double unitX = (double(view->ViewRight) - view->ViewLeft) / widget.width();
        const double unitZ = (double(view->ViewTop) - view->ViewBottom) / widget.height();
        const double x = view->ViewLeft + at.x() * unitX;
        const double z = double(viewport.HalfSectorsZ) * SectorSize - (view->ViewTop - at.y() * unitZ);
        // Sent directly: the test library's own mouse move places the cursor through the screen,
        // which misplaces it by the window's position under a scale factor.
        QMouseEvent move(QEvent::MouseMove, QPointF(at), window.im->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.im, &move);
        QVERIFY(std::abs(window.pnlMapControls->lblXCoord->text().toDouble() - x) <= unitX + 1);
        QVERIFY(std::abs(window.pnlMapControls->lblZCoord->text().toDouble() - z) <= unitZ + 1);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestMapScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mapscale.moc"
