// The rows that undo and redo select after an edit of several changes on scattered rows, each
// change's rows carried through the removals and insertions done after it.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>
#include <QTest>

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

} // namespace

class TestRecordEdits : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_MAIN(TestRecordEdits)
#include "tst_recordedits.moc"
