// The filters of the session: the rows a filter shows follow every edit, undo and redo as a view
// would learn them from the announcements; a view's selection over the filtered rows and the
// session's selection of records stay the same both ways; a new filter drops hidden records from
// the selection.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"
#include "session/filteredrecords.h"
#include "session/recordfilters.h"
#include "session/selectionlink.h"

#include <QItemSelectionModel>
#include <QTest>
#include <functional>

namespace {

struct Fixture {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CCampaignSession Session{Catalogue, Types, TextFormat{}};

    // SAM sites at x = the values given, as one edit at `row`.
    void InsertSams(int row, const QList<float>& xs)
    {
        std::vector<CSAMPlacement> sams;
        for (float x : xs)
            sams.push_back({x, 0});
        Push(InsertRecords(row, std::move(sams)));
    }
    void Push(std::unique_ptr<CRecordChange> change)
    {
        auto* edit = new CRecordEdit(Session, QStringLiteral("edit"));
        edit->Add(std::move(change));
        Session.Push(CEditHistory::MapBin, edit);
    }
    CFilteredRecords& View() const { return Session.Filters().View(RecordList::Sams); }
    QList<int> Selected() const
    {
        const std::vector<int> records = Session.SelectedRecords(RecordList::Sams);
        return QList<int>(records.begin(), records.end());
    }
    void Select(const QList<int>& records, int current)
    {
        QItemSelectionModel& selection = Session.Selection(RecordList::Sams);
        const CRecordTableModel& model = Session.Model(RecordList::Sams);
        selection.clear();
        for (int record : records)
            selection.select(model.index(record, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection.setCurrentIndex(model.index(current, 0), QItemSelectionModel::NoUpdate);
    }
};

// The texts a view holds, kept only from the model's announcements.
class CReplica {
public:
    explicit CReplica(const QAbstractItemModel& model) : m_model(model)
    {
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex&, int first, int last) {
            for (int row = first; row <= last; ++row)
                m_rows.insert(row, Row(row));
        });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                         [this](const QModelIndex&, int first, int last) { m_rows.remove(first, last - first + 1); });
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             for (int row = from.row(); row <= to.row(); ++row)
                                 m_rows[row] = Row(row);
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { m_rows = All(); });
        m_rows = All();
    }
    const QList<QStringList>& Rows() const { return m_rows; }
    QList<QStringList> All() const
    {
        QList<QStringList> rows;
        for (int row = 0; row < m_model.rowCount(); ++row)
            rows << Row(row);
        return rows;
    }

private:
    QStringList Row(int row) const
    {
        QStringList cells;
        for (int column = 0; column < m_model.columnCount(); ++column)
            cells << m_model.index(row, column).data().toString();
        return cells;
    }
    const QAbstractItemModel& m_model;
    QList<QStringList> m_rows;
};

using Step = std::function<void(Fixture&)>;

} // namespace

Q_DECLARE_METATYPE(Step)

class TestRecordFilters : public QObject {
    Q_OBJECT
private slots:
    void rowsFollowEdits_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<float>>("xs");
        QTest::addColumn<Step>("edit");
        const QList<float> tens{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("insert, some pass") << "x>=5" << tens << Step([](Fixture& f) { f.InsertSams(3, {6, 1, 7}); });
        QTest::newRow("insert, none pass") << "x>=5" << tens << Step([](Fixture& f) { f.InsertSams(3, {1, 2}); });
        QTest::newRow("remove across hidden and shown")
            << "x>=5" << tens << Step([](Fixture& f) { f.Push(RemoveRecords<CSAMPlacement>(3, 5)); });
        QTest::newRow("remove every record")
            << "x>=5" << tens << Step([](Fixture& f) { f.Push(RemoveRecords<CSAMPlacement>(0, 10)); });
        QTest::newRow("edit makes a record pass") << "x>=5" << tens << Step([](Fixture& f) {
            f.Push(ReplaceRecord(1, CSAMPlacement{50, 0}));
        });
        QTest::newRow("edit makes a record fail") << "x>=5" << tens << Step([](Fixture& f) {
            f.Push(ReplaceRecord(6, CSAMPlacement{-1, 0}));
        });
        QTest::newRow("numbers move in and out") << "number>=4 number<7" << tens << Step([](Fixture& f) {
            f.InsertSams(2, {20, 21});
        });
        QTest::newRow("a word found in the numbers") << "7" << tens << Step([](Fixture& f) { f.InsertSams(0, {3}); });
        QTest::newRow("first records into an empty list") << "x>=5" << QList<float>{} << Step([](Fixture& f) {
            f.InsertSams(0, {1, 6, 7});
        });
    }

    void rowsFollowEdits()
    {
        QFETCH(QString, filter);
        QFETCH(QList<float>, xs);
        QFETCH(Step, edit);
        Fixture f;
        f.Session.NewMapBin();
        if (!xs.isEmpty())
            f.InsertSams(0, xs);
        f.Session.Filters().SetText(RecordList::Sams, filter);
        QVERIFY(f.Session.Filters().IsFiltering(RecordList::Sams));
        const CReplica replica(f.View());
        const auto check = [&] {
            const CBINFile& records = f.Session.Records();
            const CRecordFilter fresh = CRecordFilter::Read(filter, RecordList::Sams);
            QList<int> expected;
            for (int record = 0; record < records.SamCount(); ++record) {
                const bool passes = fresh.Accepts(records, {RecordList::Sams}, record);
                QCOMPARE(f.Session.Filters().Accepts(RecordList::Sams, record), passes);
                if (passes)
                    expected << record;
            }
            QList<int> shown;
            for (int row = 0; row < f.View().rowCount(); ++row)
                shown << f.View().mapToSource(f.View().index(row, 0)).row();
            QCOMPARE(shown, expected);
            QCOMPARE(f.Session.Filters().AcceptedCount(RecordList::Sams), int(expected.size()));
            QCOMPARE(replica.Rows(), replica.All());
        };
        check();
        edit(f);
        check();
        f.Session.History().Undo();
        check();
        f.Session.History().Redo();
        check();
    }

    // Selecting rows of the view selects their records, and the other way round; records the
    // view hides are not shown selected there.
    void selectionLink_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("fromView");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("selected"); // records when from the view, rows of the view otherwise
        QTest::newRow("view rows, one run") << "x>=5" << true << 1 << 3 << QList<int>{6, 7, 8};
        QTest::newRow("view rows, records apart") << "x!=6 x!=8" << true << 4 << 7 << QList<int>{4, 5, 7, 9};
        QTest::newRow("no filter") << "" << true << 2 << 4 << QList<int>{2, 3, 4};
        QTest::newRow("records, some hidden") << "x!=6 x!=8" << false << 3 << 8 << QList<int>{3, 4, 5, 6};
        QTest::newRow("records, all hidden") << "x>=5" << false << 1 << 3 << QList<int>{};
    }

    void selectionLink()
    {
        QFETCH(QString, filter);
        QFETCH(bool, fromView);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QList<int>, selected);
        Fixture f;
        f.InsertSams(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        f.Session.Filters().SetText(RecordList::Sams, filter);
        QItemSelectionModel viewSelection(&f.View());
        const CSelectionLink link(f.View(), viewSelection, f.Session.Selection(RecordList::Sams));
        if (fromView) {
            viewSelection.setCurrentIndex(f.View().index(first, 0), QItemSelectionModel::NoUpdate);
            viewSelection.select(QItemSelection(f.View().index(first, 0), f.View().index(last, 2)),
                                 QItemSelectionModel::ClearAndSelect);
            QCOMPARE(f.Selected(), selected);
            QCOMPARE(f.Session.CurrentRecord(RecordList::Sams), selected.first());
        } else {
            f.Session.SelectRecords(RecordList::Sams, first, last);
            QList<int> rows;
            for (const QModelIndex& index : viewSelection.selectedRows())
                rows << index.row();
            std::sort(rows.begin(), rows.end());
            QCOMPARE(rows, selected);
            // The current record is the first; a hidden one leaves the view without a current row.
            const QModelIndex current = viewSelection.currentIndex();
            QCOMPARE(current.isValid() ? f.View().mapToSource(current).row() : -1,
                     f.Session.Filters().Accepts(RecordList::Sams, first) ? first : -1);
        }
    }

    // A new filter keeps the selected records it shows; a hidden current record gives way to the
    // nearest kept one, or to the nearest shown when none is kept.
    void newFilterDropsHiddenRecords_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("shown ones stay") << QList<int>{5, 6, 7} << 6 << "x>=6" << QList<int>{6, 7} << 6;
        QTest::newRow("current hidden: the next kept") << QList<int>{2, 6, 8} << 2 << "x>=5" << QList<int>{6, 8} << 6;
        QTest::newRow("current hidden: the one kept before") << QList<int>{2, 8} << 8 << "x<5" << QList<int>{2} << 2;
        QTest::newRow("none kept: the next shown") << QList<int>{1} << 1 << "x>=5" << QList<int>{5} << 5;
        QTest::newRow("none kept, none after: the last shown") << QList<int>{9} << 9 << "x<3" << QList<int>{2} << 2;
        QTest::newRow("nothing shown") << QList<int>{4} << 4 << "x>100" << QList<int>{} << -1;
        QTest::newRow("unreadable filter hides nothing") << QList<int>{1, 2} << 1 << "xq=1" << QList<int>{1, 2} << 1;
    }

    void newFilterDropsHiddenRecords()
    {
        QFETCH(QList<int>, before);
        QFETCH(int, current);
        QFETCH(QString, filter);
        QFETCH(QList<int>, after);
        QFETCH(int, currentAfter);
        Fixture f;
        f.InsertSams(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        f.Select(before, current);
        QCOMPARE(f.Selected(), before);
        f.Session.Filters().SetText(RecordList::Sams, filter);
        QCOMPARE(f.Selected(), after);
        QCOMPARE(f.Session.CurrentRecord(RecordList::Sams), currentAfter);
    }

    // The selection made through the view stays on its records while records come and go.
    void selectionFollowsRecordsUnderAFilter()
    {
        Fixture f;
        f.InsertSams(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        f.Session.Filters().SetText(RecordList::Sams, QStringLiteral("x>=5"));
        QItemSelectionModel viewSelection(&f.View());
        const CSelectionLink link(f.View(), viewSelection, f.Session.Selection(RecordList::Sams));
        viewSelection.select(f.View().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(f.Selected(), QList<int>{7});
        f.InsertSams(0, {100, 1});
        QCOMPARE(f.Selected(), QList<int>{9});
        QCOMPARE(viewSelection.selectedRows().size(), 1);
        QCOMPARE(f.View().mapToSource(viewSelection.selectedRows().constFirst()).row(), 9);
        f.Push(RemoveRecords<CSAMPlacement>(0, 2));
        QCOMPARE(f.Selected(), QList<int>{7});
        QCOMPARE(viewSelection.selectedRows().size(), 1);
        QCOMPARE(viewSelection.selectedRows().constFirst().row(), 2);
        // An undo selects the rows it brings back, in the view too when shown.
        f.Session.History().Undo();
        QCOMPARE(f.Selected(), (QList<int>{0, 1}));
        QCOMPARE(viewSelection.selectedRows().size(), 1);
        QCOMPARE(f.View().mapToSource(viewSelection.selectedRows().constFirst()).row(), 0);
        // A session selection of a hidden record shows nothing selected in the view.
        f.Session.SelectRecord(RecordList::Sams, 1);
        QVERIFY(!viewSelection.hasSelection());
    }
};

QTEST_MAIN(TestRecordFilters)
#include "tst_recordfilters.moc"
