// Cut, Copy and Paste of the Edit menu in the window: records from one window to another through
// the system clipboard, the keys of a focused text field left to its text, and a clipboard
// without records told through the prompts.
#include "document/recordtablemodel.h"
#include "undofixture.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

class TestClipboard : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CUndoFixture> m_fixture;
    TfrmMain& Window() { return *m_fixture->Window; }
    // Copy takes the selected placements of all three lists, and each grid keeps a row selected:
    // the tests start from none, as a selection made on the map leaves the other kinds.
    void SelectNoPlacements()
    {
        for (const RecordList list : {RecordList::Keysites, RecordList::Airbases, RecordList::Sams})
            Window().Session()->Selection(list).clearSelection();
    }
    void ShowPage(const char* page)
    {
        Pages(Window())->setCurrentWidget(Find<QWidget>(Window(), page));
        Window().show();
        Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window()));
    }

private slots:
    void init()
    {
        QGuiApplication::clipboard()->clear();
        m_fixture = std::make_unique<CUndoFixture>();
        QVERIFY(m_fixture->Start());
    }
    void cleanup() { m_fixture.reset(); }

    void entriesOfTheEditMenuUsableWhenTheyCanAct()
    {
        QMenu* edit = Find<QMenu>(Window(), "Edit1");
        const std::pair<const char*, QKeySequence::StandardKey> entries[] = {
            {"Cut1", QKeySequence::Cut}, {"Copy1", QKeySequence::Copy}, {"Paste1", QKeySequence::Paste}};
        for (const auto& [name, keys] : entries) {
            QVERIFY(edit->actions().contains(Action(Window(), name)));
            QCOMPARE(Action(Window(), name)->shortcut(), QKeySequence(keys));
        }
        ShowPage("tsSAMs");
        CCampaignSession& session = *Window().Session();
        SelectNoPlacements();
        QVERIFY(!Action(Window(), "Copy1")->isEnabled());
        QVERIFY(!Action(Window(), "Cut1")->isEnabled());
        QVERIFY(!Action(Window(), "Paste1")->isEnabled());
        session.SelectRecords(RecordList::Sams, 0, 1);
        QVERIFY(Action(Window(), "Copy1")->isEnabled());
        QVERIFY(Action(Window(), "Cut1")->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("anything"));
        QVERIFY(Action(Window(), "Paste1")->isEnabled());
        // The templates page copies templates: the SAM sites chosen elsewhere do not count.
        session.Selection(RecordList::Templates).clearSelection();
        ShowPage("tsPopTemplates");
        QVERIFY(!Action(Window(), "Copy1")->isEnabled());
    }

    // Ctrl+C in one window, Ctrl+V in another: the records arrive as one step, selected.
    void recordsFromOneWindowToAnother()
    {
        ShowPage("tsSAMs");
        SelectNoPlacements();
        CRecordGrid* sams = Grid(Window(), "grSAMs");
        ClickGridRow(sams, 1);
        ClickGridRow(sams, 2, Qt::ShiftModifier);
        sams->setFocus();
        QTest::keySequence(sams, QKeySequence::Copy);
        const QByteArray copied =
            QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("application/x-sablemap-records"));
        QVERIFY(copied.contains("\"SAMs\": [\n"));
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), copied);

        CUndoFixture other;
        QVERIFY(other.Start());
        const int count = Records(*other.Window).SamCount();
        Trigger(*other.Window, "Paste1");
        QCOMPARE(Records(*other.Window).SamCount(), count + 2);
        QCOMPARE(Records(*other.Window).Sams()[size_t(count)].X, Records(Window()).Sams()[0].X);
        QCOMPARE(other.Window->Session()->SelectedRecords(RecordList::Sams), (std::vector<int>{count, count + 1}));
        QCOMPARE(Action(*other.Window, "Undo1")->text(), QStringLiteral("&Undo Paste 2 SAM sites"));
        QVERIFY(other.Prompts.Shown.isEmpty());
    }

    // A text field (a filter) with the focus keeps Ctrl+C, Ctrl+X and Ctrl+V for its text, and the
    // menu's entries act on it too.
    void focusedTextFieldKeepsItsKeys()
    {
        ShowPage("tsSAMs");
        Window().Session()->SelectRecords(RecordList::Sams, 0, 1);
        auto* field = new QLineEdit(QStringLiteral("x > 100"), Find<QWidget>(Window(), "tsSAMs"));
        field->show();
        field->setFocus();
        field->selectAll();
        QTest::keySequence(field, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x > 100"));
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("application/x-sablemap-records")));

        const QByteArray before = m_fixture->State();
        field->setText(QStringLiteral("name = "));
        field->end(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("TANK"));
        Trigger(Window(), "Paste1");
        QCOMPARE(field->text(), QStringLiteral("name = TANK"));
        field->selectAll();
        Trigger(Window(), "Cut1");
        QCOMPARE(field->text(), QString());
        QCOMPARE(m_fixture->State(), before);
    }

    void clipboardWithoutRecordsSaysSo()
    {
        ShowPage("tsSAMs");
        const QByteArray before = m_fixture->State();
        QGuiApplication::clipboard()->setText(QStringLiteral("not records at all"));
        Trigger(Window(), "Paste1");
        QCOMPARE(m_fixture->Prompts.Shown,
                 QStringList{QStringLiteral("message: The clipboard holds no Sablemap records.")});
        QCOMPARE(m_fixture->State(), before);
        QVERIFY(!Window().Session()->History().CanUndo());
    }

    // Cut on the templates page: a template in use stays with Delete's words, the others go in
    // one step that undo takes back.
    void cutTemplatesKeepsThoseInUse()
    {
        ShowPage("tsPopTemplates");
        CCampaignSession& session = *Window().Session();
        const CBINFile& records = Records(Window());
        int used = -1;
        int unused = -1;
        for (int t = 0; t < records.TemplateCount(); ++t)
            (records.Templates()[size_t(t)].HasNoUsers() ? unused : used) = t;
        if (unused < 0) {
            // The demonstration uses every template: one more, unused, joins.
            session.Push(CEditHistory::MapBin, [&] {
                auto* edit = new CRecordEdit(session, QStringLiteral("Add"));
                edit->Add(InsertRecords(records.TemplateCount(), std::vector<CPopTemplate>{CPopTemplate{}}));
                return edit;
            }());
            unused = records.TemplateCount() - 1;
        }
        QVERIFY(used >= 0);
        const QByteArray before = m_fixture->State();
        session.Selection(RecordList::Templates).clearSelection();
        for (const int t : {used, unused})
            session.Selection(RecordList::Templates)
                .select(session.Model(RecordList::Templates).index(t, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const int count = records.TemplateCount();
        Trigger(Window(), "Cut1");
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Can't delete template %1!").arg(used)});
        QCOMPARE(records.TemplateCount(), count - 1);
        QCOMPARE(Action(Window(), "Undo1")->text(), QStringLiteral("&Undo Cut 1 keysite template"));
        QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("\"templates\": [\n")));
        Trigger(Window(), "Undo1");
        QCOMPARE(m_fixture->State(), before);
    }
};

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
