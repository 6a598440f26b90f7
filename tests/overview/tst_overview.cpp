// The overview beside a map area on the demonstration map: a click or drag in it centres the view
// there at the same zoom, its rectangle lies where the view is after every kind of navigation,
// and its picture follows the map mode and painted sectors. Positions are checked against what the
// overview shows (the terrain found by its pixels), not against its own arithmetic.
#include "../maparea/mapareafixture.h"
#include "overview/overviewmap.h"

#include <QRadioButton>
#include <QSignalSpy>

namespace {

// Colours that never occur in the heights or faction pictures: the background the overview is
// given, and the rectangle's own yellow.
const QRgb kMargin = qRgb(255, 0, 255);
const QRgb kRectangle = qRgb(255, 214, 0);

// The bounding box of the pixels of `image` for which `test` holds; empty when none.
template <typename Test>
QRect BoundsOf(const QImage& image, Test test)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

int CountOf(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

QString Text(QPointF p) { return QStringLiteral("%1, %2").arg(p.x()).arg(p.y()); }
QString Text(QRectF r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

// Counts the paints a widget receives: one that follows by itself is painted after each change.
class CPaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        Paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestOverview : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMapAreaFixture> f;
    std::unique_ptr<COverviewMap> overview;

    QImage Shown() const { return overview->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Where the overview shows the terrain: everything but the margin, taken before any rectangle
    // covers it (the view of the first start reaches past the terrain).
    QRect TerrainShown() const
    {
        return BoundsOf(overview->Picture().Image(), [](QRgb pixel) { return pixel != kMargin; });
    }
    // The terrain position (Z up the map) of the view's centre.
    QPointF ViewCentre() const
    {
        const CMapWindow& v = f->View();
        return {(double(v.ViewLeft) + v.ViewRight) / 2, (double(v.ViewBottom) + v.ViewTop) / 2};
    }

private slots:
    void init()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
        overview = std::make_unique<COverviewMap>(*f->Area, *f->Session);
        QPalette palette = overview->palette();
        palette.setColor(QPalette::Button, QColor::fromRgb(kMargin));
        overview->setPalette(palette);
        // Wider than the terrain's proportions, so that margins lie left and right of it.
        overview->resize(300, 160);
        overview->show();
        QVERIFY(QTest::qWaitForWindowExposed(overview.get()));
    }

    void cleanup()
    {
        overview.reset();
        f.reset();
    }

    // Fractions across and down the terrain shown; below 0 or above 1 lies in the margin.
    void clickOrDragCentresTheView_data()
    {
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QPointF>("release");
        QTest::addColumn<QPointF>("centre"); // where the view's centre lands, in the same fractions
        QTest::newRow("click") << QPointF(0.25, 0.3) << QPointF(0.25, 0.3) << QPointF(0.25, 0.3);
        QTest::newRow("click near the far corner") << QPointF(0.9, 0.85) << QPointF(0.9, 0.85) << QPointF(0.9, 0.85);
        QTest::newRow("drag ends where it lets go") << QPointF(0.8, 0.8) << QPointF(0.6, 0.2) << QPointF(0.6, 0.2);
        QTest::newRow("margin is held to the terrain's edge")
            << QPointF(-0.1, 0.5) << QPointF(-0.1, 0.5) << QPointF(0, 0.5);
    }

    void clickOrDragCentresTheView()
    {
        QFETCH(QPointF, press);
        QFETCH(QPointF, release);
        QFETCH(QPointF, centre);
        // Without a map there is nothing to move.
        QTest::mouseClick(overview.get(), Qt::LeftButton, {}, QPoint(150, 80));
        QVERIFY(!f->Area->HasMap() && overview->Picture().IsEmpty());
        QVERIFY(f->OpenDemo());
        // Zoomed in, so that the view can move anywhere without reaching past the terrain.
        f->Wheel(3 * CMapImage::WheelNotch, QPoint(450, 250));
        f->Timer("TimerMapSettle")->Fire();
        f->Turn();
        (void)Shown();
        const QRect terrain = TerrainShown();
        QVERIFY(terrain.width() > 100 && terrain.left() > 0);
        const auto at = [&terrain](QPointF fraction) {
            return QPoint(terrain.left() + int(fraction.x() * terrain.width()),
                          terrain.top() + int(fraction.y() * terrain.height()));
        };
        const CMapWindow& view = f->View();
        const int64_t width = int64_t(view.ViewRight) - view.ViewLeft;
        const int64_t depth = int64_t(view.ViewTop) - view.ViewBottom;
        QSignalSpy redrawn(f->Area.get(), &CMapArea::TerrainRedrawn);

        QTest::mousePress(overview.get(), Qt::LeftButton, {}, at(press));
        if (release != press) {
            // A drag shows the cheap picture on the way and renders the terrain where it ends.
            QMouseEvent move(QEvent::MouseMove, at(release), overview->mapToGlobal(at(release)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(overview.get(), &move);
            f->Turn();
            QCOMPARE(redrawn.count(), 0);
        }
        QTest::mouseRelease(overview.get(), Qt::LeftButton, {}, at(release));
        f->Turn();
        QCOMPARE(redrawn.count(), 1);

        QCOMPARE(int64_t(view.ViewRight) - view.ViewLeft, width);
        QCOMPARE(int64_t(view.ViewTop) - view.ViewBottom, depth);
        // One overview pixel spans this much terrain; the click lands within it.
        const double perPixel = double(view.WorldWidth) / terrain.width();
        const QPointF wanted(centre.x() * view.WorldWidth, (1 - centre.y()) * view.WorldDepth);
        const QPointF landed = ViewCentre();
        QVERIFY2(std::abs(landed.x() - wanted.x()) <= 1.5 * perPixel
                     && std::abs(landed.y() - wanted.y()) <= 1.5 * perPixel,
                 qPrintable(QStringLiteral("centred at %1; wanted %2").arg(Text(landed), Text(wanted))));
    }

    void rectangleFollowsTheView_data()
    {
        QTest::addColumn<QString>("navigation");
        QTest::newRow("wheel") << QStringLiteral("wheel");
        QTest::newRow("keys") << QStringLiteral("keys");
        QTest::newRow("drag") << QStringLiteral("drag");
        QTest::newRow("Shift+click") << QStringLiteral("centre");
        QTest::newRow("area resized") << QStringLiteral("resize");
        QTest::newRow("Home") << QStringLiteral("home");
    }

    void rectangleFollowsTheView()
    {
        QFETCH(QString, navigation);
        QVERIFY(f->OpenDemo());
        (void)Shown();
        const QRect terrain = TerrainShown();
        f->Wheel(2 * CMapImage::WheelNotch, QPoint(300, 200));
        f->Timer("TimerMapSettle")->Fire();
        f->Turn();
        const QList<int32_t> before = f->Bounds(f->View());
        QSignalSpy changed(f->Area.get(), &CMapArea::ViewChanged);
        CPaintCounter paints;
        overview->installEventFilter(&paints);

        if (navigation == QLatin1String("wheel")) {
            f->Wheel(CMapImage::WheelNotch, QPoint(700, 120));
        } else if (navigation == QLatin1String("keys")) {
            f->Image->setFocus();
            QTest::keyClick(f->Image, Qt::Key_Right);
            QTest::keyClick(f->Image, Qt::Key_Up);
        } else if (navigation == QLatin1String("drag")) {
            // The middle button pans wherever it is pressed, on a symbol too.
            QTest::mousePress(f->Image, Qt::MiddleButton, {}, QPoint(400, 300));
            QMouseEvent move(QEvent::MouseMove, QPointF(250, 200), f->Image->mapToGlobal(QPointF(250, 200)),
                             Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
            QCoreApplication::sendEvent(f->Image, &move);
            QTest::mouseRelease(f->Image, Qt::MiddleButton, {}, QPoint(250, 200));
        } else if (navigation == QLatin1String("centre")) {
            f->Click(Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 400));
        } else if (navigation == QLatin1String("resize")) {
            f->Area->resize(1100, 560);
            f->Turn();
            f->Timer("TimerMapResize")->Fire();
        } else {
            f->Image->setFocus();
            QTest::keyClick(f->Image, Qt::Key_Home);
        }
        f->Turn();
        const CMapWindow& view = f->View();
        QVERIFY(f->Bounds(view) != before);
        QCOMPARE(changed.count(), 1);
        QVERIFY(paints.Paints > 0);

        // Where the view's window lies over the terrain shown, cut to the overview.
        const auto across = [&](double x) { return terrain.left() + x / view.WorldWidth * terrain.width(); };
        const auto down = [&](double z) { return terrain.top() + (1 - z / view.WorldDepth) * terrain.height(); };
        const QRectF wanted = QRectF(QPointF(across(view.ViewLeft), down(view.ViewTop)),
                                     QPointF(across(view.ViewRight), down(view.ViewBottom)))
                                  .intersected(QRectF(overview->rect()));
        const QRect drawn = BoundsOf(Shown(), [](QRgb pixel) { return pixel == kRectangle; });
        const auto near = [](double a, double b) { return std::abs(a - b) <= 2; };
        QVERIFY2(near(drawn.left(), wanted.left()) && near(drawn.top(), wanted.top())
                     && near(drawn.right() + 1, wanted.right()) && near(drawn.bottom() + 1, wanted.bottom()),
                 qPrintable(QStringLiteral("drawn %1; the view lies at %2").arg(Text(drawn), Text(wanted))));
    }

    // The picture is the map in its mode: the faction layer in Factions mode, with a sector
    // painted on the map painted in it too; the heights again in Heights mode.
    void pictureFollowsModeAndPaintedSectors()
    {
        // The picture under the view's rectangle, as the overview paints it now.
        const auto PictureNow = [this] {
            (void)overview->grab();
            return overview->Picture().Image();
        };
        QVERIFY(f->OpenDemo());
        const QRgb red = qRgb(255, 0, 0);
        const QRgb blue = qRgb(0, 0, 255);
        QCOMPARE(CountOf(PictureNow(), red), 0);
        QVERIFY(f->LoadFactions());
        f->Turn();
        QVERIFY(f->Control<QRadioButton>("rbMapModeFactions")->isChecked());
        const QImage factions = PictureNow();
        const int reds = CountOf(factions, red);
        const int blues = CountOf(factions, blue);
        QVERIFY(reds > 0 && blues > 0);

        // Alt+click paints the sector under the mouse the other faction.
        f->Click(Qt::LeftButton, Qt::AltModifier, QPoint(450, 250));
        f->Turn();
        const QImage painted = PictureNow();
        QVERIFY(CountOf(painted, red) != reds);
        QCOMPARE(CountOf(painted, red) + CountOf(painted, blue), reds + blues);

        f->Control<QRadioButton>("rbMapModeHeights")->click();
        f->Turn();
        QCOMPARE(CountOf(PictureNow(), red), 0);
    }
};

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
