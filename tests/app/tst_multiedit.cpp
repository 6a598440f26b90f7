// Commands on a scattered selection of records, through the pages' buttons: Edit over several
// records writes only the fields changed, Delete removes any set, Export templates writes the
// selected templates in order; each edit one step of the history, undone and redone exactly, with
// the records selected again.
#include "undofixture.h"

#include "catalogues/templatetypes.h"
#include "document/recordcolumns.h"
#include "document/recordtablemodel.h"

#include <QItemSelectionModel>

namespace {

// Selects `rows` of a list as a grid's Ctrl+clicks would: row by row on the session's selection.
void Select(TfrmMain& w, RecordList list, const QList<int>& rows)
{
    QItemSelectionModel& selection = w.Session()->Selection(list);
    const QAbstractItemModel& model = *selection.model();
    selection.clearSelection();
    for (const int row : rows)
        selection.select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(model.index(rows.front(), 0), QItemSelectionModel::NoUpdate);
}

QList<int> Selected(const TfrmMain& w, RecordList list)
{
    const std::vector<int> rows = w.Session()->SelectedRecords(list);
    return {rows.begin(), rows.end()};
}

ListAddress Address(const TfrmMain& w, RecordList list) { return w.Session()->Model(list).Address(); }

// Every cell of every record of a list, as the grid shows it.
QList<QStringList> Cells(const TfrmMain& w, RecordList list)
{
    const ListAddress address = Address(w, list);
    QList<QStringList> rows;
    for (int row = 0; row < Records(w).Count(address); ++row) {
        QStringList cells;
        for (int column = 0; column < int(RecordColumns(list).size()); ++column)
            cells << CellText(Records(w), address, row, column, TextFormat{});
        rows << cells;
    }
    return rows;
}

// The value of one field of a record, read by hand from the document.
double FieldOf(const TfrmMain& w, RecordList list, int row, RecordField field)
{
    const CBINFile& r = Records(w);
    const auto at = size_t(row);
    switch (list) {
    case RecordList::Sams: return field == RecordField::X ? r.Sams()[at].X : r.Sams()[at].Z;
    case RecordList::Airbases:
        return field == RecordField::X ? r.Airbases()[at].X
            : field == RecordField::Z  ? r.Airbases()[at].Z
                                       : r.Airbases()[at].ObjectIndex;
    case RecordList::Keysites:
        return field == RecordField::X ? r.Keysites()[at].X
            : field == RecordField::Z  ? r.Keysites()[at].Z
                                       : r.Keysites()[at].TemplateNumber;
    case RecordList::Templates: return field == RecordField::Type ? r.Templates()[at].TypeCode : -99;
    case RecordList::TemplateObjects: {
        const CThreeDObject& o = r.Objects(Address(w, list).Template)[at];
        return field == RecordField::X ? o.X : field == RecordField::Z ? o.Z : o.ObjectIndex;
    }
    }
    return -99;
}

const char* EditButton(RecordList list)
{
    static const char* const buttons[] = {"btnTemplateEd", "btnTemplateObjectEd", "btnKeysiteEd", "btnAirbaseEd",
                                          "btnSAMEdit"};
    return buttons[size_t(list)];
}

const char* DeleteButton(RecordList list)
{
    static const char* const buttons[] = {"btnTemplateDel", "btnTemplateObjectDel", "btnKeysiteDel", "btnAirbaseDel",
                                          "btnSAMDel"};
    return buttons[size_t(list)];
}

} // namespace

Q_DECLARE_METATYPE(RecordList)
Q_DECLARE_METATYPE(RecordFields)

class TestMultiEdit : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CUndoFixture> m_fixture;
    TfrmMain& Window() { return *m_fixture->Window; }
    QUndoStack& Stack() { return Window().Session()->History().Stack(CEditHistory::MapBin); }
    // Shows the objects of the first template that has at least `count`.
    void ShowTemplateWithObjects(int count)
    {
        for (int t = 0; t < Records(Window()).TemplateCount(); ++t) {
            if (Records(Window()).ObjectCount(t) >= count) {
                Window().Session()->SelectRecord(RecordList::Templates, t);
                return;
            }
        }
        QFAIL("no template has enough objects");
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<CUndoFixture>();
        QVERIFY(m_fixture->Start());
        CScriptedRecordDialogs& editor = m_fixture->Editor;
        editor.X = 1234.5f;
        editor.Z = 2345.5f;
        editor.TypeCode = 7;
        editor.ObjectIndex = 2;
        editor.TemplateNumber = 1;
    }
    void cleanup() { m_fixture.reset(); }

    // The fields changed go to every record selected; every other field of theirs, and every
    // record not selected, stays as it was. One step, undone and redone exactly.
    void editWritesOnlyChangedFields_data()
    {
        QTest::addColumn<RecordList>("list");
        QTest::addColumn<RecordFields>("changes");
        QTest::addColumn<QList<int>>("columns"); // the grid columns of those fields
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<QList<int>>("chosen"); // apart and side by side, where the list is long enough
        const QList<int> rows{0, 2, 3};
        const auto fields = [](std::initializer_list<RecordField> names) {
            RecordFields set;
            for (RecordField name : names)
                set |= name;
            return set;
        };
        QTest::newRow("SAM sites: X") << RecordList::Sams << fields({RecordField::X}) << QList<int>{1}
                                      << "Edit 3 SAM sites" << rows;
        QTest::newRow("SAM sites: X and Z") << RecordList::Sams << fields({RecordField::X, RecordField::Z})
                                            << QList<int>{1, 2} << "Edit 3 SAM sites" << rows;
        QTest::newRow("airbases: object") << RecordList::Airbases << fields({RecordField::Object}) << QList<int>{3}
                                          << "Edit 2 airbases" << QList<int>{0, 2};
        QTest::newRow("keysites: template and Z")
            << RecordList::Keysites << fields({RecordField::Template, RecordField::Z}) << QList<int>{2, 3}
            << "Edit 3 keysites" << rows;
        QTest::newRow("templates: type") << RecordList::Templates << fields({RecordField::Type}) << QList<int>{1}
                                         << "Edit 3 keysite templates" << rows;
        QTest::newRow("template objects: X and object")
            << RecordList::TemplateObjects << fields({RecordField::X, RecordField::Object}) << QList<int>{1, 4}
            << "Edit 3 template objects" << rows;
    }

    void editWritesOnlyChangedFields()
    {
        QFETCH(RecordList, list);
        QFETCH(RecordFields, changes);
        QFETCH(QList<int>, columns);
        QFETCH(QString, undoText);
        QFETCH(QList<int>, chosen);
        TfrmMain& w = Window();
        if (list == RecordList::TemplateObjects)
            ShowTemplateWithObjects(5);
        QVERIFY(Records(w).Count(Address(w, list)) > chosen.back());
        Select(w, list, chosen);
        const QList<QStringList> before = Cells(w, list);
        const QByteArray state = m_fixture->State();
        m_fixture->Editor.Changes = changes;

        Press(w, EditButton(list));
        QCOMPARE(m_fixture->Editor.ShownCount, chosen.size());
        QCOMPARE(Stack().count(), 1);
        QCOMPARE(Stack().undoText(), undoText);
        const QList<QStringList> after = Cells(w, list);
        QCOMPARE(after.size(), before.size());
        for (int row = 0; row < before.size(); ++row) {
            for (int column = 0; column < before[row].size(); ++column) {
                if (!chosen.contains(row) || !columns.contains(column))
                    QCOMPARE(after[row][column], before[row][column]);
            }
        }
        const CScriptedRecordDialogs& e = m_fixture->Editor;
        const std::pair<RecordField, double> values[] = {{RecordField::X, e.X},
                                                         {RecordField::Z, e.Z},
                                                         {RecordField::Object, e.ObjectIndex},
                                                         {RecordField::Template, e.TemplateNumber},
                                                         {RecordField::Type, e.TypeCode}};
        for (const int row : chosen)
            for (const auto& [field, value] : values)
                if (changes.testFlag(field))
                    QCOMPARE(FieldOf(w, list, row, field), value);
        const QByteArray edited = m_fixture->State();

        Select(w, list, {1});
        Trigger(w, "Undo1");
        QCOMPARE(m_fixture->State(), state);
        QCOMPARE(Selected(w, list), chosen);
        Select(w, list, {1});
        Trigger(w, "Redo1");
        QCOMPARE(m_fixture->State(), edited);
        QCOMPARE(Selected(w, list), chosen);
    }

    // What leaves no step: Cancel, OK without a change, and a template number that names no
    // template when it is the only change. Beside another change it is dropped alone.
    void editsThatChangeNothing()
    {
        TfrmMain& w = Window();
        CScriptedRecordDialogs& editor = m_fixture->Editor;
        const QByteArray state = m_fixture->State();
        Select(w, RecordList::Keysites, {1, 3});
        editor.Answer = false;
        editor.Changes = RecordField::X;
        Press(w, "btnKeysiteEd");
        editor.Answer = true;
        editor.Changes = {};
        Press(w, "btnKeysiteEd");
        editor.Changes = RecordField::Template;
        editor.TemplateNumber = Records(w).TemplateCount();
        Press(w, "btnKeysiteEd");
        QCOMPARE(editor.Calls, 3);
        QCOMPARE(Stack().count(), 0);
        QCOMPARE(m_fixture->State(), state);

        const int templates[] = {Records(w).Keysites()[1].TemplateNumber, Records(w).Keysites()[3].TemplateNumber};
        editor.Changes = RecordField::Template | RecordField::X;
        Press(w, "btnKeysiteEd");
        QCOMPARE(Stack().count(), 1);
        QCOMPARE(Records(w).Keysites()[1].TemplateNumber, templates[0]);
        QCOMPARE(Records(w).Keysites()[3].TemplateNumber, templates[1]);
        QCOMPARE(Records(w).Keysites()[3].X, 1234.5f);
    }

    // Any set of records deleted as one step; templates in use stay, and are named, from the
    // bottom up. Undone, every record is back at its row, use counts and all, and selected.
    void deleteScattered_data()
    {
        QTest::addColumn<RecordList>("list");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("SAM sites") << RecordList::Sams << QList<int>{0, 2, 3, 5}
                                   << "confirm: Do you want to delete 4 SAMs"
                                   << "Delete 4 SAM sites";
        QTest::newRow("keysites (use counts fall)")
            << RecordList::Keysites << QList<int>{1, 4} << "confirm: Do you want to delete 2 keysites"
            << "Delete 2 keysites";
        QTest::newRow("objects of a template") << RecordList::TemplateObjects << QList<int>{0, 2, 3}
                                               << "confirm: Do you want to delete 3 objects of template"
                                               << "Delete 3 template objects";
        QTest::newRow("templates, one in use") << RecordList::Templates << QList<int>{} // chosen below
                                               << "confirm: Do you want to delete 3 keysite templates"
                                               << "Delete 2 keysite templates";
    }

    void deleteScattered()
    {
        QFETCH(RecordList, list);
        QFETCH(QList<int>, rows);
        QFETCH(QString, question);
        QFETCH(QString, undoText);
        TfrmMain& w = Window();
        CScriptedPrompts& prompts = m_fixture->Prompts;
        QString refusal;
        if (list == RecordList::Templates) {
            // Two unused templates at the end, with one in use between them.
            CBINFile& records = w.Session()->MutableRecords();
            const int used = records.Keysites()[0].TemplateNumber;
            records.InsertRows(records.TemplateCount(), std::vector<CPopTemplate>{{3, -2, -1, -2, 0, {}}});
            records.InsertRows(records.TemplateCount(), std::vector<CPopTemplate>{{5, -2, -1, -2, 0, {}}});
            rows = {used, records.TemplateCount() - 2, records.TemplateCount() - 1};
            std::sort(rows.begin(), rows.end());
            refusal = QStringLiteral("message: Can't delete template %1!").arg(used);
        }
        if (list == RecordList::TemplateObjects)
            ShowTemplateWithObjects(5);
        Select(w, list, rows);
        QList<QStringList> kept = Cells(w, list);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            if (refusal != QStringLiteral("message: Can't delete template %1!").arg(*row))
                kept.removeAt(*row);
        const QByteArray state = m_fixture->State();

        Press(w, DeleteButton(list));
        QCOMPARE(prompts.Shown.value(prompts.Shown.size() - (refusal.isEmpty() ? 1 : 2)), question);
        if (!refusal.isEmpty())
            QCOMPARE(prompts.Shown.constLast(), refusal);
        QCOMPARE(Stack().count(), 1);
        QCOMPARE(Stack().undoText(), undoText);
        QList<QStringList> after = Cells(w, list);
        // The records after those deleted move up and take new numbers: compare the rest of each row.
        for (QList<QStringList>* table : {&after, &kept})
            for (QStringList& cells : *table)
                cells.removeFirst();
        QCOMPARE(after, kept);
        const QByteArray deleted = m_fixture->State();

        Trigger(w, "Undo1");
        QCOMPARE(m_fixture->State(), state);
        if (list != RecordList::Templates)
            QCOMPARE(Selected(w, list), rows);
        Trigger(w, "Redo1");
        QCOMPARE(m_fixture->State(), deleted);
    }

    // A scattered selection exports its templates in order; a run of neighbours writes the very
    // file the document's own range export writes.
    void exportSelectedTemplates()
    {
        TfrmMain& w = Window();
        QTemporaryDir dir;
        const auto exported = [&](const QList<int>& rows) {
            Select(w, RecordList::Templates, rows);
            const QString path = dir.filePath(QStringLiteral("t%1.BTP").arg(rows.front() * 100 + rows.back()));
            m_fixture->Prompts.FileAnswers << path;
            Trigger(w, "Exporttemplates1");
            return path;
        };
        QVERIFY(Records(w).TemplateCount() > 5);
        const QString range = exported({1, 2, 3});
        const QString today = dir.filePath(QStringLiteral("today.BTP"));
        QVERIFY(Records(w).ExportTemplates(today, 1, 3));
        QCOMPARE(ReadFile(range), ReadFile(today));

        const QList<int> scattered{5, 0, 2};
        const QString path = exported(scattered);
        CBINFile back(Records(w).Catalogue(), Records(w).Types());
        QVERIFY(back.ImportTemplates(path));
        QCOMPARE(back.TemplateCount(), 3);
        const QList<int> order{0, 2, 5};
        for (int i = 0; i < 3; ++i) {
            const CPopTemplate& original = Records(w).Templates()[size_t(order[i])];
            const CPopTemplate& read = back.Templates()[size_t(i)];
            QCOMPARE(read.TypeCode, original.TypeCode);
            QCOMPARE(read.ApproximationObject, original.ApproximationObject);
            QCOMPARE(read.BaseObject, original.BaseObject);
            QCOMPARE(read.Objects.size(), original.Objects.size());
            for (size_t o = 0; o < read.Objects.size(); ++o) {
                QCOMPARE(read.Objects[o].X, original.Objects[o].X);
                QCOMPARE(read.Objects[o].ObjectIndex, original.Objects[o].ObjectIndex);
            }
        }
    }
};

QTEST_MAIN(TestMultiEdit)
#include "tst_multiedit.moc"
