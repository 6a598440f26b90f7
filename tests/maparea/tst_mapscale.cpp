// The map on a screen with twice the pixels per unit: the pictures are drawn in the screen's own
// pixels, symbols keep the size the user sees, and the mouse read-out is unchanged.
#include "factions/sectorsize.h"
#include "mapareafixture.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <cmath>

class TestMapScale : public QObject {
    Q_OBJECT
private slots:
    void pictureInScreenPixelsReadOutUnchanged()
    {
        CMapAreaFixture f;
        QVERIFY(f.Start());
        QCOMPARE(f.Image->devicePixelRatioF(), 2.0);
        QVERIFY(f.OpenDemo());

        // Twice as many pixels each way, shown at the widget's size.
        const QSize widget = f.Image->size();
        QCOMPARE(f.Picture().size(), widget * 2);
        QCOMPARE(f.Image->pixmap().devicePixelRatio(), 2.0);
        QCOMPARE(f.View().PixelWidth, widget.width() * 2);

        // The read-out under a point is the terrain position there as the view window places it
        // on the widget, to within the world width of one widget unit.
        const CMapWindow& view = f.View();
        const CViewport viewport = view.Viewport();
        const QPoint at(200, 150);
        const double unitX = (double(view.ViewRight) - view.ViewLeft) / widget.width();
        const double unitZ = (double(view.ViewTop) - view.ViewBottom) / widget.height();
        const double x = view.ViewLeft + at.x() * unitX;
        const double z = double(viewport.HalfSectorsZ) * SectorSize - (view.ViewTop - at.y() * unitZ);
        // Sent directly: the test library's own mouse move places the cursor through the screen,
        // which misplaces it by the window's position under a scale factor.
        QMouseEvent move(QEvent::MouseMove, QPointF(at), f.Image->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(f.Image, &move);
        QVERIFY(std::abs(f.Control<QLabel>("lblXCoord")->text().toDouble() - x) <= unitX + 1);
        QVERIFY(std::abs(f.Control<QLabel>("lblZCoord")->text().toDouble() - z) <= unitZ + 1);
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
