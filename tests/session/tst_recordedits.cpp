// Edits of scattered rows: a removal of any set of rows undone to the very records at their rows,
// an edit of many rows replaced one by one, and the rows that undo and redo select afterwards,
// carried through the removals and insertions of the same edit.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>
#include <QTest>
#include <random>

namespace {

struct Fixture {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CCampaignSession Session{Catalogue, Types, TextFormat{}};

    explicit Fixture(int sams)
    {
        std::vector<CSAMPlacement> values;
        for (int i = 0; i < sams; ++i)
            values.push_back({float(i), 0});
        Session.MutableRecords().InsertRows(0, std::move(values));
    }
    // The SAM sites by their X, which tells each one apart.
    QList<int> Sams() const
    {
        QList<int> xs;
        for (const CSAMPlacement& sam : Session.Records().Sams())
            xs << int(sam.X);
        return xs;
    }
    QList<int> Selected() const
    {
        QList<int> rows;
        for (int row : Session.SelectedRecords(RecordList::Sams))
            rows << row;
        return rows;
    }
    void Push(std::vector<std::unique_ptr<CRecordChange>> changes)
    {
        auto* edit = new CRecordEdit(Session, QStringLiteral("edit"));
        for (auto& change : changes)
            edit->Add(std::move(change));
        Session.Push(CEditHistory::MapBin, edit);
    }
    QUndoStack& Stack() { return Session.History().Stack(CEditHistory::MapBin); }
};

std::vector<std::unique_ptr<CRecordChange>> One(std::unique_ptr<CRecordChange> change)
{
    std::vector<std::unique_ptr<CRecordChange>> changes;
    changes.push_back(std::move(change));
    return changes;
}

} // namespace

class TestRecordEdits : public QObject {
    Q_OBJECT
private slots:
    // Random sets of rows, runs and lone rows among them: gone at once, back at their rows.
    void scatteredRemovalUndoneExactly()
    {
        std::mt19937 random(7);
        for (int round = 0; round < 40; ++round) {
            Fixture f(30);
            std::vector<int> rows;
            for (int row = 0; row < 30; ++row)
                if (random() % 3 == 0)
                    rows.push_back(row);
            if (rows.empty())
                continue;
            QList<int> kept;
            for (int x = 0; x < 30; ++x)
                if (!std::binary_search(rows.begin(), rows.end(), x))
                    kept << x;
            // Given out of order: the change keeps its own order.
            std::vector<int> shuffled = rows;
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            f.Push(One(RemoveRecords<CSAMPlacement>(shuffled)));
            QCOMPARE(f.Sams(), kept);
            QCOMPARE(f.Stack().count(), 1);

            f.Stack().undo();
            QCOMPARE(f.Sams().size(), 30);
            for (int row = 0; row < 30; ++row)
                QCOMPARE(f.Sams()[row], row);
            QCOMPARE(f.Selected(), QList<int>(rows.begin(), rows.end()));

            f.Stack().redo();
            QCOMPARE(f.Sams(), kept);
            // The row that took the first one's place.
            QCOMPARE(f.Selected(), QList<int>{std::min(rows.front(), int(kept.size()) - 1)});
        }
    }

    // A run the document refuses (a template in use) puts back the runs already gone: every row
    // is where it was, and no step is left.
    void refusedRunRemovesNothing()
    {
        Fixture f(0);
        CBINFile& records = f.Session.MutableRecords();
        std::vector<CPopTemplate> templates(6);
        for (int i = 0; i < 6; ++i)
            templates[size_t(i)].TypeCode = i;
        records.InsertRows(0, std::move(templates));
        records.InsertRows(0, std::vector<CKeysitePlacement>{{1, 0, 0}});
        f.Push(One(RemoveRecords<CPopTemplate>({1, 4, 5})));
        QCOMPARE(records.TemplateCount(), 6);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(records.Templates()[size_t(i)].TypeCode, i);
        QCOMPARE(f.Stack().count(), 0);
        QCOMPARE(records.Keysites()[0].TemplateNumber, 1);
        QCOMPARE(records.Templates()[1].UseCount, 1);
    }

    // The rows undo and redo select, for edits of several changes: each change's rows carried
    // through the changes done after it.
    void shownRowsFollowTheEdit_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QList<int>>("afterUndo");
        QTest::addColumn<QList<int>>("afterRedo");
        QTest::newRow("replaced here and there") << "replace 2 7 13" << QList<int>{2, 7, 13} << QList<int>{2, 7, 13};
        QTest::newRow("replaced, then rows removed above them")
            << "replace 8 12; remove 0 5" << QList<int>{0, 5, 8, 12} << QList<int>{0, 6, 10};
        QTest::newRow("rows inserted, then replaced below them")
            << "insert 3 2; replace 10" << QList<int>{3, 8} << QList<int>{3, 4, 10};
        QTest::newRow("scattered removal, then a replace")
            << "remove 1 4 9; replace 12" << QList<int>{1, 4, 9, 15} << QList<int>{1, 12};
    }

    void shownRowsFollowTheEdit()
    {
        QFETCH(QString, edit);
        QFETCH(QList<int>, afterUndo);
        QFETCH(QList<int>, afterRedo);
        Fixture f(20);
        std::vector<std::unique_ptr<CRecordChange>> changes;
        for (const QString& step : edit.split(QStringLiteral("; "))) {
            QStringList words = step.split(QLatin1Char(' '));
            const QString verb = words.takeFirst();
            std::vector<int> numbers;
            for (const QString& word : words)
                numbers.push_back(word.toInt());
            if (verb == QLatin1String("replace")) {
                for (int row : numbers)
                    changes.push_back(ReplaceRecord(row, CSAMPlacement{100.0f + float(row), 1}));
            } else if (verb == QLatin1String("remove")) {
                changes.push_back(RemoveRecords<CSAMPlacement>(numbers));
            } else {
                changes.push_back(
                    InsertRecords(numbers[0], std::vector<CSAMPlacement>(size_t(numbers[1]), CSAMPlacement{-1, 0})));
            }
        }
        f.Push(std::move(changes));
        const QList<int> edited = f.Sams();
        f.Stack().undo();
        QCOMPARE(f.Selected(), afterUndo);
        QCOMPARE(f.Session.CurrentRecord(RecordList::Sams), afterUndo.front());
        f.Stack().redo();
        QCOMPARE(f.Sams(), edited);
        QCOMPARE(f.Selected(), afterRedo);
    }

    // A selection of thousands of lone rows reads back as it was made.
    void largeScatteredSelection()
    {
        Fixture f(9000);
        std::vector<int> rows;
        for (int row = 1; row < 9000; row += 3)
            rows.push_back(row);
        rows.push_back(2); // a run of two: 1, 2
        std::sort(rows.begin(), rows.end());
        f.Session.SelectRecords(RecordList::Sams, rows);
        QCOMPARE(f.Session.SelectedRecords(RecordList::Sams), rows);
        QCOMPARE(f.Session.CurrentRecord(RecordList::Sams), 1);
        // Rows past the end are left out.
        f.Session.SelectRecords(RecordList::Sams, std::vector<int>{5, 8999, 9000, 12000});
        QCOMPARE(f.Session.SelectedRecords(RecordList::Sams), (std::vector<int>{5, 8999}));
    }
};

QTEST_MAIN(TestRecordEdits)
#include "tst_recordedits.moc"
