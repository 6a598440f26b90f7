// The findings of a document kept up to date by CDocumentChecks always equal a full check of it,
// whatever the edits: the record path's own random edits, placements moved onto each other's
// positions and away again, values that are not numbers, names the catalogue lacks, a map
// opened and closed.
#include "../document/randomedits.h"
#include "checks/documentchecks.h"

#include "catalogues/templatetypes.h"

#include <QTest>
#include <limits>

namespace {

// The keysites, airbases and SAM sites all on a square a few steps wide, so that they meet.
class CCrowdingEdits {
public:
    explicit CCrowdingEdits(unsigned seed) : m_edits(seed) { }

    void Apply(CBINFile& doc)
    {
        switch (m_edits.Pick(0, 9)) {
        case 0: Move<CKeysitePlacement>(doc); break;
        case 1: Move<CAirbasePlacement>(doc); break;
        case 2: Move<CSAMPlacement>(doc); break;
        case 3: doc.InsertRows(m_edits.Pick(0, doc.SamCount()), std::vector{CSAMPlacement{Spot(), Spot()}}); break;
        case 4:
            doc.InsertRows(m_edits.Pick(0, doc.AirbaseCount()),
                           std::vector{CAirbasePlacement{Spot(), Spot(), m_edits.Pick(-2, 4)}});
            break;
        case 5:
            if (doc.TemplateCount() > 0) {
                const int t = m_edits.Pick(0, doc.TemplateCount() - 1);
                CPopTemplate value = doc.Templates()[size_t(t)];
                value.BaseObject = m_edits.Pick(-2, 4);
                value.RouteObject = m_edits.Pick(-2, 4);
                doc.ReplaceRow(t, value);
            }
            break;
        default: m_edits.Apply(doc);
        }
    }

private:
    // A spot on a 3 x 3 square, now and then not a number, or -0 (the same spot as 0).
    float Spot()
    {
        switch (m_edits.Pick(0, 12)) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return std::numeric_limits<float>::infinity();
        case 2: return -0.0f;
        default: return float(m_edits.Pick(0, 2)) * 100.0f;
        }
    }

    template <typename Record>
    void Move(CBINFile& doc)
    {
        const auto rows = doc.Rows<Record>();
        if (rows.empty())
            return;
        const int row = m_edits.Pick(0, int(rows.size()) - 1);
        Record value = rows[size_t(row)];
        value.X = Spot();
        value.Z = Spot();
        doc.ReplaceRow(row, value);
    }

    CRandomEdits m_edits;
};

QString Describe(const std::vector<Finding>& findings)
{
    QStringList lines;
    for (const Finding& finding : findings)
        lines << FindingPlace(finding) + QStringLiteral(": ") + FindingText(finding, {});
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestDocumentChecks : public QObject {
    Q_OBJECT

    C3DObjectsList m_catalogue{QLocale::c()};
    CPopTemplatesTypesList m_types;

    // Follows `doc`'s announcements as the problems panel follows the session's.
    static void Follow(CBINFile& doc, CDocumentChecks& checks)
    {
        QObject::connect(&doc, &CBINFile::RowsInserted, &doc,
                         [&checks](ListAddress list, int first, int last) { checks.Inserted(list, first, last); });
        QObject::connect(&doc, &CBINFile::RowsRemoved, &doc,
                         [&checks](ListAddress list, int first, int last) { checks.Removed(list, first, last); });
        QObject::connect(&doc, &CBINFile::RowsChanged, &doc,
                         [&checks](ListAddress list, int first, int last) { checks.Changed(list, first, last); });
        QObject::connect(&doc, &CBINFile::DocumentReset, &doc, [&checks] { checks.Reset(); });
    }

    std::vector<Finding> FullCheck(const CBINFile& doc, std::optional<MapExtent> extent) const
    {
        const std::vector<uint8_t> known = CatalogueNames(m_catalogue);
        CheckSettings settings;
        settings.CheckNames = true;
        settings.KnownNames = known;
        settings.Extent = extent;
        return CheckRecords({doc.Templates(), doc.Keysites(), doc.Airbases(), doc.Sams()}, settings);
    }

private slots:
    void initTestCase()
    {
        for (const char* name : {"TANK", "HOUSE", "TOWER"})
            m_catalogue.Add(name);
    }

    void equalsFullCheckAfterRandomEdits_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<bool>("withMap");
        // Asked after every edit, or after runs of edits, so that changes wait to be checked
        // across inserts and removals.
        QTest::addColumn<int>("askEvery");
        for (unsigned seed = 1; seed <= 6; ++seed)
            QTest::addRow("seed %u", seed) << seed << (seed % 2 == 0) << 1;
        for (unsigned seed = 7; seed <= 16; ++seed)
            QTest::addRow("seed %u, asked every %u edits", seed, seed - 4) << seed << (seed % 2 == 0) << int(seed - 4);
    }
    void equalsFullCheckAfterRandomEdits()
    {
        QFETCH(unsigned, seed);
        QFETCH(bool, withMap);
        QFETCH(int, askEvery);
        const std::optional<MapExtent> map = MapExtent{0, 150, 0, 150};
        CBINFile doc(&m_catalogue, &m_types);
        CDocumentChecks checks(doc, withMap ? map : std::nullopt);
        Follow(doc, checks);
        CCrowdingEdits edits(seed);
        std::optional<MapExtent> extent = checks.Extent();
        for (int step = 0; step < 1500; ++step) {
            if (step % 400 == 399) { // a map opened, or closed
                extent = extent ? std::nullopt : map;
                checks.SetExtent(extent);
            } else {
                edits.Apply(doc);
            }
            if (step % askEvery != 0)
                continue;
            const std::vector<Finding> expected = FullCheck(doc, extent);
            const std::vector<Finding> found = checks.Findings();
            if (found != expected)
                QFAIL(qPrintable(QStringLiteral("step %1\nkept:\n%2\nfull check:\n%3")
                                     .arg(step)
                                     .arg(Describe(found), Describe(expected))));
        }
        // The edits crowded the records enough to exercise what depends on others.
        const std::vector<Finding> last = checks.Findings();
        QVERIFY(std::any_of(last.begin(), last.end(),
                            [](const Finding& f) { return f.Kind == FindingKind::SharedPosition; }));
    }

    // What one edit's findings depend on, case by case: the record that was first at a position
    // leaving it hands the others to the next one; a template's users come and go.
    void dependentFindingsFollow()
    {
        CBINFile doc(&m_catalogue, &m_types);
        CDocumentChecks checks(doc);
        Follow(doc, checks);
        doc.InsertRows(0, std::vector<CPopTemplate>(2, CPopTemplate{1, 0, -2, -2, 0, {{0, 0, 0, 0}}}));
        doc.InsertRows(0, std::vector<CSAMPlacement>{{5, 5}, {1, 1}, {5, 5}, {5, -0.0f}, {5, 5}});
        const auto shared = [&checks] {
            QList<QPair<int, int>> pairs;
            for (const Finding& f : checks.Findings()) {
                if (f.Kind == FindingKind::SharedPosition)
                    pairs << qMakePair(f.Record, f.Other);
            }
            return pairs;
        };
        QCOMPARE(shared(), (QList<QPair<int, int>>{{2, 0}, {4, 0}}));
        doc.RemoveRows<CSAMPlacement>(0, 1); // the first at 5, 5 goes: the next is first
        QCOMPARE(shared(), (QList<QPair<int, int>>{{3, 1}}));
        doc.ReplaceRow(2, CSAMPlacement{5, 5}); // 5, -0 joins them
        QCOMPARE(shared(), (QList<QPair<int, int>>{{2, 1}, {3, 1}}));
        doc.InsertRows(0, std::vector<CSAMPlacement>{{5, 5}}); // a new first before them all
        QCOMPARE(shared(), (QList<QPair<int, int>>{{2, 0}, {3, 0}, {4, 0}}));

        const auto unused = [&checks] {
            QList<int> templates;
            for (const Finding& f : checks.Findings()) {
                if (f.Kind == FindingKind::Unused)
                    templates << f.Record;
            }
            return templates;
        };
        QCOMPARE(unused(), (QList<int>{0, 1}));
        doc.InsertRows(0, std::vector<CKeysitePlacement>{{1, 7, 7}});
        QCOMPARE(unused(), QList<int>{0});
        doc.RemoveRows<CPopTemplate>(0, 1); // template 1 becomes 0, still used
        QVERIFY(unused().isEmpty());
        doc.RemoveRows<CKeysitePlacement>(0, 1);
        QCOMPARE(unused(), QList<int>{0});
    }
};

QTEST_GUILESS_MAIN(TestDocumentChecks)
#include "tst_documentchecks.moc"
