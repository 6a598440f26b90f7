// Range rings: the radii as the user types them, the setting kept in the person's configuration,
// and the rings' pixels (a line one pixel wide at the radius, without gaps, with a dark edge beside
// it, only over the map, each pixel blended once however many rings cross it).
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapview/rangerings.h"
#include "mapview/tarnconfig.h"
#include "mapview/viewport.h"

#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

using Radii = std::vector<double>;
Q_DECLARE_METATYPE(Radii)

namespace {

constexpr QRgb kGround = 0xFF404040;

// 1000 x 1000 world units in a 100 x 100 picture, record (0, 0) at the picture's top left: ten
// world units a pixel. The map covers the picture but for a border of `border` pixels.
CViewport TenUnitsAPixel(int border = 0)
{
    const int b = border;
    return CViewport(b * 10, -(100 - b) * 10, (100 - b) * 10, -b * 10, b, b, 100 - b, 100 - b, 0, 0, 100, 100);
}

struct Scene {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CBINFile Document{&Catalogue, &Types};
    CTarnConfig Styles;
    QImage Picture{100, 100, QImage::Format_RGB32};

    Scene() { Picture.fill(kGround); }
    int Marked() const
    {
        int count = 0;
        for (int y = 0; y < Picture.height(); ++y)
            for (int x = 0; x < Picture.width(); ++x)
                count += Picture.pixel(x, y) != kGround;
        return count;
    }
};

} // namespace

class TestRangeRings : public QObject {
    Q_OBJECT
private slots:
    void parsesRadii_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<Radii>("radii");
        QTest::newRow("two radii") << QStringLiteral("30000, 60000") << true << Radii{30000, 60000};
        QTest::newRow("none") << QStringLiteral("  ") << true << Radii{};
        QTest::newRow("any order, once each") << QStringLiteral("60000,30000 , 30000") << true << Radii{30000, 60000};
        QTest::newRow("fractions with a point") << QStringLiteral("1500.5") << true << Radii{1500.5};
        QTest::newRow("a word") << QStringLiteral("30000, far") << false << Radii{};
        QTest::newRow("an empty item") << QStringLiteral("30000,,60000") << false << Radii{};
        QTest::newRow("zero") << QStringLiteral("0") << false << Radii{};
        QTest::newRow("negative") << QStringLiteral("-500") << false << Radii{};
        QTest::newRow("not a number") << QStringLiteral("nan") << false << Radii{};
        QTest::newRow("infinite") << QStringLiteral("inf") << false << Radii{};
        QTest::newRow("beyond any map") << QStringLiteral("2e9") << false << Radii{};
        QTest::newRow("a decimal comma") << QStringLiteral("1500,5") << true << Radii{5, 1500};
        QString many;
        for (int i = 1; i <= rangerings::kMostRadii + 1; ++i)
            many += QString::number(i * 1000) + QLatin1Char(',');
        many.chop(1);
        QTest::newRow("too many") << many << false << Radii{};
    }
    void parsesRadii()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        QFETCH(Radii, radii);
        QString problem;
        const auto parsed = rangerings::ParseRadii(text, &problem);
        QCOMPARE(parsed.has_value(), read);
        QCOMPARE(problem.isEmpty(), read);
        if (!read)
            return;
        QCOMPARE(*parsed, radii);
        // What is shown reads back as the same radii.
        QCOMPARE(rangerings::ParseRadii(rangerings::RadiiText(*parsed)), parsed);
    }

    // The setting comes back as it was written; a damaged value loses only its own kind.
    void keptInTheConfiguration()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("sablemap.conf"));
        QCOMPARE(RangeRings::Read(file), RangeRings()); // none at first
        RangeRings rings;
        rings.Radii[SamKind] = {20000, 45000.5};
        rings.Radii[KeysiteKind] = {1000};
        rings.OnlySelected = true;
        rings.Write(file);
        QCOMPARE(RangeRings::Read(file), rings);
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("RangeRings/SAMs"), QStringLiteral("lots"));
            settings.setValue(QStringLiteral("Window/Page"), 3); // others' keys stay theirs
        }
        RangeRings damaged = rings;
        damaged.Radii[SamKind].clear();
        QCOMPARE(RangeRings::Read(file), damaged);
        rings.Write(file);
        QCOMPARE(QSettings(file, QSettings::IniFormat).value(QStringLiteral("Window/Page")).toInt(), 3);
    }

    // Every pixel of the ring lies half a pixel or less from the circle, every row between its top
    // and bottom has pixels on both sides, and nothing else is drawn.
    void ringLiesOnTheCircle_data()
    {
        QTest::addColumn<double>("radius");
        QTest::newRow("one pixel") << 10.0;
        QTest::newRow("small") << 40.0;
        QTest::newRow("larger than half the picture") << 300.0;
        QTest::newRow("mostly outside the picture") << 600.0;
    }
    void ringLiesOnTheCircle()
    {
        QFETCH(double, radius);
        Scene s;
        s.Document.InsertRows(0, std::vector{CSAMPlacement{505, 505}}); // pixel (50, 50)
        DrawRangeRings(s.Document, s.Styles, TenUnitsAPixel(), s.Picture, SamKind, Radii{radius});
        const double r = radius / 10;
        for (int y = 0; y < 100; ++y) {
            int left = 0;
            int right = 0;
            for (int x = 0; x < 100; ++x) {
                const double distance = std::hypot(x - 50, y - 50);
                const QRgb pixel = s.Picture.pixel(x, y);
                if (pixel == kGround)
                    continue;
                if (qRed(pixel) < qRed(kGround)) { // the dark edge beside the ring
                    QVERIFY2(std::abs(distance - r) <= 1.5 + 1e-6, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                    continue;
                }
                QVERIFY2(std::abs(distance - r) <= 0.5 + 1e-6, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                (x <= 50 ? left : right) += 1;
            }
            if (std::abs(y - 50) < r - 0.5 && r < 50) // the ring's rows inside the picture
                QVERIFY2(left > 0 && right > 0, qPrintable(QStringLiteral("row %1").arg(y)));
        }
        QVERIFY(s.Marked() > 0);
    }

    // Rings of the kind's colour, blended: the ground shows through, and a pixel that two rings
    // (of two records or two radii) cross is blended once, like any other.
    void blendedOnceInTheKindsColour()
    {
        Scene s;
        s.Styles.Style(AirbaseKind).Color = 0x0000FF; // red
        s.Document.InsertRows(0, std::vector{CAirbasePlacement{505, 505, -1}, CAirbasePlacement{705, 505, -1}});
        DrawRangeRings(s.Document, s.Styles, TenUnitsAPixel(), s.Picture, AirbaseKind, Radii{100, 200});
        const QRgb once = s.Picture.pixel(40, 50); // on the first record's inner ring only
        QVERIFY(once != kGround);
        QVERIFY(qRed(once) > qRed(kGround) && qRed(once) < 255 && qGreen(once) < qGreen(kGround));
        QCOMPARE(s.Picture.pixel(60, 50), once);    // on both records' inner rings
        QCOMPARE(s.Picture.pixel(45, 45), kGround); // on no ring
    }

    // Many records are drawn by rows rather than one ring at a time: the pixels must be those of
    // the rings drawn one by one, at the picture's edges and around centres beyond them too.
    void manyRingsAreTheRingsOneByOne_data()
    {
        QTest::addColumn<double>("radius");
        QTest::addColumn<int>("border");
        QTest::newRow("small") << 30.0 << 0;
        QTest::newRow("a pixel and a half") << 15.0 << 0;
        QTest::newRow("larger than the picture, border") << 700.0 << 13;
        QTest::newRow("one pixel beyond a word") << 650.0 << 0;
    }
    void manyRingsAreTheRingsOneByOne()
    {
        QFETCH(double, radius);
        QFETCH(int, border);
        Scene many;
        uint32_t seed = 5;
        std::vector<CSAMPlacement> sams;
        for (int i = 0; i < 600; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const float x = float(seed % 1600) - 300.0f;
            seed = seed * 1664525u + 1013904223u;
            sams.push_back({x, float(seed % 1600) - 300.0f});
        }
        many.Document.InsertRows(0, sams);
        const CViewport view = TenUnitsAPixel(border);
        DrawRangeRings(many.Document, many.Styles, view, many.Picture, SamKind, Radii{radius});
        QImage single(100, 100, QImage::Format_RGB32);
        std::vector<bool> expected(100 * 100, false);
        for (int i = 0; i < int(sams.size()); ++i) {
            single.fill(kGround);
            const std::vector<int> one{i};
            DrawRangeRings(many.Document, many.Styles, view, single, SamKind, Radii{radius}, &one);
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 100; ++x)
                    if (qRed(single.pixel(x, y)) > qRed(kGround))
                        expected[size_t(y * 100 + x)] = true;
        }
        int rings = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool ring = qRed(many.Picture.pixel(x, y)) > qRed(kGround);
                QVERIFY2(ring == expected[size_t(y * 100 + x)], qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                rings += ring;
            }
        QVERIFY(rings > 0);
    }

    // Rings stay over the map, skip records that have no position, and go only around the records
    // named when some are.
    void whereRingsGo_data()
    {
        QTest::addColumn<int>("border");
        QTest::addColumn<bool>("onlyFirst");
        QTest::newRow("map covers the picture") << 0 << false;
        QTest::newRow("border around the map") << 20 << false;
        QTest::newRow("only the first record") << 0 << true;
    }
    void whereRingsGo()
    {
        QFETCH(int, border);
        QFETCH(bool, onlyFirst);
        Scene s;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        s.Document.InsertRows(0, std::vector<CSAMPlacement>{{205, 205}, {nan, 300}, {805, 805}, {1e30f, 1e30f}});
        const std::vector<int> first{0, 1, 3, 99};
        DrawRangeRings(s.Document, s.Styles, TenUnitsAPixel(border), s.Picture, SamKind, Radii{150},
                       onlyFirst ? &first : nullptr);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= border && y >= border && x <= 100 - border && y <= 100 - border;
                if (!inside)
                    QCOMPARE(s.Picture.pixel(x, y), kGround);
            }
        QCOMPARE(s.Picture.pixel(80 - 15, 80) != kGround, !onlyFirst);
        QVERIFY(s.Picture.pixel(20 + 15, 20) != kGround);
    }
};

QTEST_GUILESS_MAIN(TestRangeRings)
#include "tst_rangerings.moc"
