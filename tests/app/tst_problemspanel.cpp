// The problems panel in the window: a file with problems opens with the panel shown and counted,
// activating a finding brings its record's page forward with the record selected, the Fix button
// is one undo step, the count follows edits, a save says how many problems went out, and View >
// Problems shows and hides it.
#include "undofixture.h"

#include "document/storedrecords.h"
#include "problems/problemsdock.h"
#include "problems/problemsmodel.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>

namespace {

CProblemsDock* Dock(const TfrmMain& window) { return Find<CProblemsDock>(window, "dockProblems"); }
QTreeView* Tree(const TfrmMain& window) { return Find<QTreeView>(window, "tvProblems"); }

// The tree's row of the first finding of a kind.
QModelIndex RowOf(const TfrmMain& window, FindingKind kind)
{
    const CProblemsModel& model = Dock(window)->Model();
    for (int group = 0; group < model.rowCount(); ++group) {
        if (model.KindOfGroup(group) == kind)
            return model.index(0, 0, model.index(group, 0));
    }
    return {};
}

} // namespace

class TestProblemsPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<CUndoFixture> m_fixture;

    TfrmMain& Window() { return *m_fixture->Window; }

    // The demonstration campaign with a keysite on a template it lacks, an airbase whose name
    // the catalogue lacks, a SAM site on SAM 0's position and one far off the map; open, with the
    // map chosen.
    void OpenBrokenFile()
    {
        StoredRecords records;
        QString error;
        QVERIFY2(LoadStoredRecords(m_fixture->DemoFile(kDemoCampaignFile), false, records, &error), qPrintable(error));
        records.Keysites.push_back({999, 1000, 1000});
        records.Airbases.push_back({2000, 2000, records.AddName("GHOST_HANGAR")});
        records.Sams.push_back(records.Sams.front());
        records.Sams.push_back({1e7f, 1e7f});
        const QString path = m_fixture->Installation.Write(QStringLiteral("broken.BIN"), records.Write());
        QVERIFY(Window().Files()->LoadBinFile(path));
        Dock(Window())->Model().Settle();
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<CUndoFixture>();
        QVERIFY(m_fixture->Start());
    }
    void cleanup() { m_fixture.reset(); }

    void opensShownAndCounted()
    {
        CProblemsDock* dock = Dock(Window());
        // The demonstration campaign has notes only: the panel waits to be asked for.
        QVERIFY(dock->isHidden());
        QVERIFY(dock->Model().FindingCount() > 0);
        QCOMPARE(dock->Model().ProblemCount(), 0);
        OpenBrokenFile();
        QVERIFY(!dock->isHidden());
        const CProblemsModel& model = dock->Model();
        QCOMPARE(dock->windowTitle(), QStringLiteral("Problems (%1)").arg(model.FindingCount()));
        // The keysite's template is gone as the file is read: it has none, a note.
        QCOMPARE(model.index(0, 0, model.index(0, 0)).data().toString(),
                 QStringLiteral("airbase %1: object is not in the catalogue (a save writes INVALID_OBJECT)")
                     .arg(Records(Window()).AirbaseCount() - 1));
        QVERIFY(RowOf(Window(), FindingKind::OutsideMap).isValid());
        QVERIFY(RowOf(Window(), FindingKind::SharedPosition).isValid());
        QVERIFY(RowOf(Window(), FindingKind::NoTemplate).isValid());
        QCOMPARE(model.ProblemCount(), 3);
    }

    void activatingBringsTheRecordForward()
    {
        OpenBrokenFile();
        QTreeView* tree = Tree(Window());
        const QModelIndex row = RowOf(Window(), FindingKind::SharedPosition);
        const int sam = Records(Window()).SamCount() - 2;
        Pages(Window())->setCurrentIndex(0);
        tree->setCurrentIndex(row);
        emit tree->activated(row);
        QCOMPARE(Pages(Window())->currentWidget()->objectName(), QStringLiteral("tsSAMs"));
        QCOMPARE(SelectedGridRows(Grid(Window(), "grSAMs")), QList<int>{sam + 1});
        QCOMPARE(Window().Session()->ActiveList(), RecordList::Sams);
    }

    void fixButtonIsOneUndoStep()
    {
        OpenBrokenFile();
        const int findings = Dock(Window())->Model().FindingCount();
        const QByteArray before = m_fixture->State();
        const QModelIndex unused = RowOf(Window(), FindingKind::Unused);
        QVERIFY(unused.isValid());
        Tree(Window())->setCurrentIndex(unused);
        QCOMPARE(Button(Window(), "btnProblemFix")->text(), QStringLiteral("Delete template"));
        Press(Window(), "btnProblemFix");
        QTRY_COMPARE(Dock(Window())->Model().FindingCount(), findings - 1);
        QCOMPARE(Dock(Window())->windowTitle(), QStringLiteral("Problems (%1)").arg(findings - 1));
        Trigger(Window(), "Undo1");
        QCOMPARE(m_fixture->State(), before);
        QTRY_COMPARE(Dock(Window())->Model().FindingCount(), findings);
        // A finding without a plain fix leaves the button off.
        Tree(Window())->setCurrentIndex(RowOf(Window(), FindingKind::OutsideMap));
        QVERIFY(!Button(Window(), "btnProblemFix")->isEnabled());
    }

    void saveSaysHowManyProblems()
    {
        OpenBrokenFile();
        QVERIFY(Window().Files()->SaveBinDocument());
        QCOMPARE(Window().statusBar()->currentMessage(), QStringLiteral("Saved with 3 problems"));
        // The records placed off the map go: the notes left are no problems.
        auto* edit = new CRecordEdit(*Window().Session(), QStringLiteral("Delete"));
        edit->Add(RemoveRecords<CSAMPlacement>(Records(Window()).SamCount() - 2, 2));
        edit->Add(RemoveRecords<CAirbasePlacement>(Records(Window()).AirbaseCount() - 1, 1));
        Window().Session()->Push(CEditHistory::MapBin, edit);
        Window().statusBar()->clearMessage();
        QVERIFY(Window().Files()->SaveBinDocument());
        QCOMPARE(Window().statusBar()->currentMessage(), QString());
    }

    void viewMenuShowsAndHides()
    {
        CProblemsDock* dock = Dock(Window());
        QVERIFY(dock->isHidden());
        Trigger(Window(), "Problems1");
        QVERIFY(!dock->isHidden());
        Trigger(Window(), "Problems1");
        QVERIFY(dock->isHidden());
        // The View menu stands before Options.
        QStringList menus;
        for (QAction* menu : Window().menuBar()->actions())
            menus << menu->menu()->objectName();
        QVERIFY(menus.indexOf(QStringLiteral("View1")) + 1 == menus.indexOf(QStringLiteral("Options1")));
    }
};

QTEST_MAIN(TestProblemsPanel)
#include "tst_problemspanel.moc"
