// Range rings in the map area and through `sablemap-cli render`: the editor's picture with rings is
// the tool's picture of the same map, campaign and rings, pixel for pixel; the map repaints when
// the rings change, and only-selected rings follow the selection. The tool refuses rings it cannot
// read with its usage.
#include "../cli/clirunner.h"
#include "document/binfile.h"
#include "mapareafixture.h"
#include "mapview/rangerings.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPalette>
#include <QSignalSpy>

namespace {

// The world units a ring of `pixels` pixels has at the fixture's view.
double Radius(const CMapWindow& view, double pixels) { return pixels / double(view.Viewport().ScaleX); }

int Differing(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

class TestMapRings : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CMapAreaFixture> f;

private slots:
    void init()
    {
        f = std::make_unique<CMapAreaFixture>();
        QVERIFY(f->Start());
        QVERIFY(f->OpenDemo());
    }
    void cleanup() { f.reset(); }

    void renderDrawsTheEditorsRings_data()
    {
        QTest::addColumn<QStringList>("rings");
        QTest::addColumn<QString>("symbols");
        QTest::newRow("SAM sites") << QStringList{QStringLiteral("sams=20000")}
                                   << QStringLiteral("keysites,airbases,sams");
        QTest::newRow("every kind, two radii, one option repeated")
            << QStringList{QStringLiteral("sams=20000,9000"), QStringLiteral("airbases=30000"),
                           QStringLiteral("keysites=5000"), QStringLiteral("sams=40000")}
            << QStringLiteral("keysites,airbases,sams");
        QTest::newRow("no rings of a kind not shown")
            << QStringList{QStringLiteral("sams=20000"), QStringLiteral("airbases=30000")}
            << QStringLiteral("airbases");
    }
    void renderDrawsTheEditorsRings()
    {
        QFETCH(QStringList, rings);
        QFETCH(QString, symbols);
        RangeRings editorRings;
        QStringList args{QStringLiteral("render"), CMapAreaFixture::MapFolder(kDemoFirstMap)};
        for (const QString& ring : rings) {
            const QString kind = ring.section(QLatin1Char('='), 0, 0);
            const int index = kind == QLatin1String("keysites") ? 0 : kind == QLatin1String("airbases") ? 1 : 2;
            const std::vector<double> radii = rangerings::ParseRadii(ring.section(QLatin1Char('='), 1)).value();
            for (double radius : radii)
                editorRings.Radii[size_t(index)].push_back(radius);
            std::sort(editorRings.Radii[size_t(index)].begin(), editorRings.Radii[size_t(index)].end());
            args << QStringLiteral("--rings") << ring;
        }
        MapAreaState state = f->Area->State();
        state.Keysites = symbols.contains(QLatin1String("keysites"));
        state.Airbases = symbols.contains(QLatin1String("airbases"));
        state.Sams = symbols.contains(QLatin1String("sams"));
        f->Area->SetState(state);
        f->Area->SetRangeRings(editorRings);
        f->Turn();
        const QImage editor = f->Picture().convertToFormat(QImage::Format_RGB32);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("rings.png"));
        const QColor face = QApplication::palette().color(QPalette::Button);
        args << out << QStringLiteral("--size") << QString::number(editor.width()) << QString::number(editor.height())
             << QStringLiteral("--resolution") << QString::number(f->Column->Resolution())
             << QStringLiteral("--campaign") << CMapAreaFixture::DemoFile(kDemoCampaignFile)
             << QStringLiteral("--symbols") << symbols << QStringLiteral("--button-face") << face.name().mid(1);
        const CliResult run = RunCli(args);
        QVERIFY2(run.Status == 0, run.Err.constData());
        // The same view, or the pictures could not be compared.
        const QJsonArray view = QJsonDocument::fromJson(run.Out).object().value(QStringLiteral("view")).toArray();
        QCOMPARE(view, QJsonArray({f->View().ViewLeft, f->View().ViewBottom, f->View().ViewRight, f->View().ViewTop}));
        const QImage tool = QImage(out).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(tool.size(), editor.size());
        QCOMPARE(Differing(tool, editor), 0);
        // And the rings are there: the picture without them differs.
        f->Area->SetRangeRings(RangeRings());
        f->Turn();
        QVERIFY(Differing(f->Picture().convertToFormat(QImage::Format_RGB32), editor) > 0);
    }

    // Rings go around the SAM sites selected on their page, and move with the selection.
    void onlyAroundSelectedRecords()
    {
        const auto sams = f->Session->Records().Sams();
        QVERIFY(sams.size() >= 2);
        const double radius = Radius(f->View(), 12);
        RangeRings rings;
        rings.Radii[SamKind] = {radius};
        rings.OnlySelected = true;
        QSignalSpy repaints(f->Area.get(), &CMapArea::Repainted);
        f->Session->SetActiveList(RecordList::Sams);
        f->Session->SelectRecord(RecordList::Sams, 0);
        f->Turn();
        const QImage before = f->Picture();
        f->Area->SetRangeRings(rings);
        f->Turn();
        QVERIFY(repaints.size() >= 2); // the rings repaint the map by themselves
        const QImage first = f->Picture();
        QVERIFY(Differing(before, first) > 0);
        const QPoint at0 = f->PixelOf(sams[0].X, sams[0].Z);
        const QPoint at1 = f->PixelOf(sams[1].X, sams[1].Z);
        const QPoint ring0 = at0 + QPoint(12, 0);
        const QPoint ring1 = at1 + QPoint(-12, 0);
        QVERIFY(first.pixel(ring0) != before.pixel(ring0));
        QCOMPARE(first.pixel(ring1), before.pixel(ring1));
        f->Session->SelectRecord(RecordList::Sams, 1);
        f->Turn();
        const QImage second = f->Picture();
        QCOMPARE(second.pixel(ring0), before.pixel(ring0));
        QVERIFY(second.pixel(ring1) != before.pixel(ring1));
        // The map marks every kind's selection whichever page is shown, and rings go with the
        // marks: another page changes nothing; no SAM site selected, no ring.
        f->Session->SetActiveList(RecordList::Airbases);
        f->Turn();
        QCOMPARE(f->Picture().pixel(ring1), second.pixel(ring1));
        f->Session->SelectPlacements({});
        f->Turn();
        QCOMPARE(f->Picture().pixel(ring1), before.pixel(ring1));
    }

    void renderRefusesRingsItCannotRead_data()
    {
        QTest::addColumn<QString>("ring");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no kind") << QStringLiteral("20000") << QStringLiteral("--rings takes KIND=R[,R...]");
        QTest::newRow("unknown kind") << QStringLiteral("tanks=20000") << QStringLiteral("--rings takes KIND=R[,R...]");
        QTest::newRow("no radius") << QStringLiteral("sams=") << QStringLiteral("--rings sams: no radius given");
        QTest::newRow("a word") << QStringLiteral("sams=far") << QStringLiteral("--rings sams: \"far\" is no radius");
        QTest::newRow("zero") << QStringLiteral("airbases=0") << QStringLiteral("--rings airbases: \"0\" is no radius");
        QTest::newRow("beyond any map") << QStringLiteral("keysites=1e12")
                                        << QStringLiteral("--rings keysites: \"1e12\" is no radius");
    }
    void renderRefusesRingsItCannotRead()
    {
        QFETCH(QString, ring);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("x.png"));
        const CliResult run =
            RunCli({QStringLiteral("render"), CMapAreaFixture::MapFolder(kDemoFirstMap), out, QStringLiteral("--size"),
                    QStringLiteral("40"), QStringLiteral("30"), QStringLiteral("--rings"), ring});
        QCOMPARE(run.Status, 2);
        QVERIFY2(run.Err.contains(problem.toUtf8()), run.Err.constData());
        QVERIFY2(run.Err.contains("usage: sablemap-cli render"), run.Err.constData());
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestMapRings)
#include "tst_maprings.moc"
