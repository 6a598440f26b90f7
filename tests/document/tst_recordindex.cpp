// The record index: its answers held against a plain pass over every record after random edits
// of every kind (inserts and removals that shift indices, moves, loads and emptying), with
// positions that are not numbers, lie far away or pile up in one spot.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/recordindex.h"
#include "indexscan.h"
#include "randomedits.h"

#include <QTest>
#include <limits>

Q_DECLARE_METATYPE(std::vector<IndexedRecord>)

namespace {

QString Describe(const std::vector<IndexedRecord>& hits)
{
    QStringList items;
    for (const IndexedRecord& hit : hits)
        items << QStringLiteral("%1:%2@%3").arg(int(hit.Kind)).arg(hit.Index).arg(hit.Distance);
    return items.join(QLatin1Char(' '));
}

// A document whose index follows its own announcements.
struct Indexed {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CBINFile Document{&Catalogue, &Types};
    CRecordIndex Index{Document};

    Indexed()
    {
        QObject::connect(&Document, &CBINFile::RowsInserted,
                         [this](ListAddress l, int f, int t) { Index.RowsInserted(l, f, t); });
        QObject::connect(&Document, &CBINFile::RowsRemoved,
                         [this](ListAddress l, int f, int t) { Index.RowsRemoved(l, f, t); });
        QObject::connect(&Document, &CBINFile::RowsChanged,
                         [this](ListAddress l, int f, int t) { Index.RowsChanged(l, f, t); });
        QObject::connect(&Document, &CBINFile::DocumentReset, [this] { Index.Reset(); });
    }
};

// Asks both the index and the plain pass a few questions around the records' area; false (with
// the first difference reported) when they disagree.
bool SameAnswers(const CBINFile& document, const CRecordIndex& index, CRandomEdits& random)
{
    for (int question = 0; question < 6; ++question) {
        const double x = random.Pick(-320, 320);
        const double z = random.Pick(-320, 320);
        const double reach = random.Pick(0, 200);
        const RecordKinds kinds = RecordKinds(random.Pick(1, 7));
        const auto inIndex = index.InRectangle(x - reach, z - reach / 2, x + reach / 3, z + reach, kinds);
        const auto scanned =
            indexscan::InRectangle(document, x - reach, z - reach / 2, x + reach / 3, z + reach, kinds);
        if (inIndex != scanned) {
            qWarning("rectangle: index %s, scan %s", qPrintable(Describe(inIndex)), qPrintable(Describe(scanned)));
            return false;
        }
        const auto near = index.Near(x, z, reach, kinds);
        const auto nearScanned = indexscan::Near(document, x, z, reach, kinds);
        if (near != nearScanned) {
            qWarning("near: index %s, scan %s", qPrintable(Describe(near)), qPrintable(Describe(nearScanned)));
            return false;
        }
    }
    return true;
}

} // namespace

class TestRecordIndex : public QObject {
    Q_OBJECT
private slots:
    // Indices shift when rows come or go before them; a grid that missed one would answer with a
    // neighbour's index, or with a record that is no longer there.
    void followsRandomEdits_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<bool>("askedBetween"); // questions between the edits keep the grid built
        QTest::newRow("asked after every edit") << 7u << true;
        QTest::newRow("asked after every edit, another draw") << 1234u << true;
        QTest::newRow("asked only at the end") << 99u << false;
    }
    void followsRandomEdits()
    {
        QFETCH(unsigned, seed);
        QFETCH(bool, askedBetween);
        Indexed f;
        CRandomEdits random(seed);
        for (int step = 0; step < 1500; ++step) {
            random.Apply(f.Document);
            if (askedBetween || step == 1499)
                QVERIFY2(SameAnswers(f.Document, f.Index, random), qPrintable(QStringLiteral("step %1").arg(step)));
        }
    }

    // Positions that are not numbers are never found and break no question; positions far away
    // (which the grid's box leaves out) are found where they are; many records on one spot overflow
    // their cell, which rebuilds the grid.
    void oddPositions_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("z");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("not a number") << nan << 5.0f;
        QTest::newRow("infinite") << 5.0f << -inf;
        QTest::newRow("far away") << 3.0e38f << -3.0e38f;
        QTest::newRow("on a crowded spot") << 10.0f << 10.0f;
    }
    void oddPositions()
    {
        QFETCH(float, x);
        QFETCH(float, z);
        Indexed f;
        std::vector<CSAMPlacement> sams;
        for (int i = 0; i < 400; ++i)
            sams.push_back({float(i % 20) * 10.0f, float(i / 20) * 10.0f});
        f.Document.InsertRows(0, sams);
        QCOMPARE(f.Index.Near(0, 0, 0).size(), size_t(1)); // the grid is built
        CRandomEdits random(3);
        for (int step = 0; step < 60; ++step) {
            f.Document.InsertRows(random.Pick(0, f.Document.SamCount()), std::vector{CSAMPlacement{x, z}});
            f.Document.ReplaceRow(random.Pick(0, f.Document.SamCount() - 1), CSAMPlacement{z, x});
            QVERIFY(SameAnswers(f.Document, f.Index, random));
        }
        for (const double far : {3.0e38, -3.0e38}) {
            QCOMPARE(f.Index.InRectangle(-far, -far, far, far),
                     indexscan::InRectangle(f.Document, -far, -far, far, far));
            QCOMPARE(f.Index.Near(far, far, 1e30), indexscan::Near(f.Document, far, far, 1e30));
        }
    }

    // Questions that are not numbers have no answer instead of a wrong one.
    void questionsThatAreNotNumbers()
    {
        Indexed f;
        f.Document.InsertRows(0, std::vector{CSAMPlacement{1, 1}, CSAMPlacement{2, 2}});
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(f.Index.InRectangle(nan, 0, 10, 10).empty());
        QVERIFY(f.Index.InRectangle(0, 0, 10, nan).empty());
        QVERIFY(f.Index.Near(nan, 1, 10).empty());
        QVERIFY(f.Index.Near(1, 1, nan).empty());
        QVERIFY(f.Index.Near(1, 1, -1).empty());
        QCOMPARE(f.Index.Near(1, 1, std::numeric_limits<double>::infinity()).size(), size_t(2));
    }
};

QTEST_GUILESS_MAIN(TestRecordIndex)
#include "tst_recordindex.moc"
