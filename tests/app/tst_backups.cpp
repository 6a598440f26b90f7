// Backups through the window: every save keeps the file it replaces, File > Restore backup…
// brings one back as unsaved changes, and a backup that cannot be written is asked about.
#include "../hardening/diskspacelimit.h"
#include "app/documentfiles.h"
#include "app/fileplaces.h"
#include "dialogs/backupsdialog.h"
#include "dialogs/configurationdialog.h"
#include "session/campaignsession.h"
#include "undofixture.h"

#include <QApplication>
#include <QListWidget>
#include <QSpinBox>
#include <cerrno>
#include <cstring>

namespace {

QByteArray Saved(const TfrmMain& window) { return Records(window).SaveBytes(true); }

// Deletes the first SAM site: each version of the file differs from the one before.
void DeleteFirstSam(TfrmMain& window)
{
    ClickGridRow(Grid(window, "grSAMs"), 1);
    Press(window, "btnSAMDel");
}

} // namespace

class TestBackups : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CUndoFixture> m_fixture;
    CFileBackups& Backups() { return m_fixture->Window->Files()->Backups(); }
    QString Campaign() const { return m_fixture->DemoFile(kDemoCampaignFile); }

private slots:
    void init()
    {
        m_fixture = std::make_unique<CUndoFixture>();
        QVERIFY(m_fixture->Start(true));
        // The default place, under the test's own home folder.
        QVERIFY(Backups().Root().startsWith(m_fixture->Installation.Home()));
    }
    void cleanup() { m_fixture.reset(); }

    // Saves keep the versions they replace; one chosen comes back as unsaved changes of the open
    // file, which one Undo takes back.
    void savesKeepVersionsAndOneComesBack()
    {
        TfrmMain& w = *m_fixture->Window;
        CCampaignSession& session = *w.Session();
        m_fixture->Window->Files()->SetBackupsKept(2);
        const QByteArray original = ReadFile(Campaign());
        QList<QByteArray> versions{original};
        for (int save = 0; save < 3; ++save) {
            DeleteFirstSam(w);
            Trigger(w, "Save1");
            versions << ReadFile(Campaign());
        }
        QCOMPARE(versions.back(), Saved(w));
        // Three saves replaced the original and two later versions; the newest two are kept.
        const std::vector<CFileBackups::Backup> kept = Backups().List(Campaign());
        QCOMPARE(int(kept.size()), 2);
        QCOMPARE(ReadFile(kept[0].Path), versions[2]);
        QCOMPARE(ReadFile(kept[1].Path), versions[1]);

        // The oldest one kept is chosen from the list.
        const QByteArray current = Saved(w);
        QStringList listed;
        m_fixture->Prompts.Drivers << CScriptedPrompts::Drive<TfrmRestoreBackupDialog>([&](TfrmRestoreBackupDialog& d) {
            auto* list = d.findChild<QListWidget*>(QStringLiteral("lbBackups"));
            for (int row = 0; list && row < list->count(); ++row)
                listed << list->item(row)->text();
            d.Choose(1);
            d.accept();
        });
        Trigger(w, "RestoreBackup1");
        QCOMPARE(m_fixture->Prompts.RunTitles, QStringList{QStringLiteral("Restore backup")});
        // Both Map BIN backups, with their record counts; the faction file has none yet.
        QCOMPARE(listed.size(), 2);
        const int sams = Records(w).SamCount();
        QVERIFY2(listed[1].contains(QStringLiteral("%1 SAM sites").arg(sams)), qPrintable(listed[1]));
        QVERIFY2(listed[0].contains(QStringLiteral("%1 SAM sites").arg(sams - 1)), qPrintable(listed[0]));

        QCOMPARE(Saved(w), versions[1]);
        QCOMPARE(session.MapBinPath(), Campaign()); // still the open file's, not the backup's
        QVERIFY(session.IsModified(CEditHistory::MapBin));
        QCOMPARE(ReadFile(Campaign()), versions.back()); // nothing written until saved
        Trigger(w, "Undo1");
        QCOMPARE(Saved(w), current);
        QVERIFY(!session.IsModified(CEditHistory::MapBin));
    }

    // A faction file keeps its backups too; restoring one leaves its layer modified, its file its own.
    void factionBackupComesBack()
    {
        TfrmMain& w = *m_fixture->Window;
        CCampaignSession& session = *w.Session();
        const QString factions = m_fixture->DemoFile(kDemoFactionFile);
        const int before = session.Factions()->GetFaction(0, 0);
        session.MutableFactions()->SetFaction(1 - before, 0, 0);
        QVERIFY(w.Files()->SaveFactionLayer());
        QCOMPARE(int(Backups().List(factions).size()), 1);

        m_fixture->Prompts.Drivers << CScriptedPrompts::Drive<TfrmRestoreBackupDialog>([](TfrmRestoreBackupDialog& d) {
            auto* list = d.findChild<QListWidget*>(QStringLiteral("lbBackups"));
            QVERIFY(list && list->count() == 1 && list->item(0)->text().contains(QLatin1String("sectors")));
            d.Choose(0);
            d.accept();
        });
        Trigger(w, "RestoreBackup1");
        QCOMPARE(session.Factions()->GetFaction(0, 0), before);
        QCOMPARE(session.FactionsPath(), factions);
        QVERIFY(session.IsModified(CEditHistory::Factions));
    }

    // A backup folder that cannot be written: the save asks; No keeps the file and the work
    // unsaved, Yes saves without a backup.
    void unwritableBackupFolderAsks_data()
    {
        QTest::addColumn<bool>("saveAnyway");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void unwritableBackupFolderAsks()
    {
        QFETCH(bool, saveAnyway);
        TfrmMain& w = *m_fixture->Window;
        const QString blocker = m_fixture->Installation.Write(QStringLiteral("blocker"), "not a folder");
        Backups().SetRoot(blocker + QStringLiteral("/backups"));
        const QByteArray original = ReadFile(Campaign());
        DeleteFirstSam(w);
        m_fixture->Prompts.Shown.clear();
        m_fixture->Prompts.AskAnswers << (saveAnyway ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(w.Files()->SaveBinDocument(), saveAnyway);
        QCOMPARE(m_fixture->Prompts.Shown.size(), 1); // the question, and no "Save failed"
        QVERIFY2(m_fixture->Prompts.Shown[0].endsWith(QLatin1String("Save without a backup?")),
                 qPrintable(m_fixture->Prompts.Shown[0]));
        QCOMPARE(ReadFile(Campaign()), saveAnyway ? Saved(w) : original);
        QCOMPARE(w.Session()->IsModified(CEditHistory::MapBin), !saveAnyway);
    }

    // A disk that fills up stops the backup with the system's reason, leaving no half backup and
    // the file as it was.
    void fullDiskAsksWithTheReason()
    {
        TfrmMain& w = *m_fixture->Window;
        const QByteArray original = ReadFile(Campaign());
        DeleteFirstSam(w);
        m_fixture->Prompts.Shown.clear();
        m_fixture->Prompts.AskAnswers << QMessageBox::No;
        {
            DiskSpaceLimit full(40); // shorter than the file
            QVERIFY(full.Ok());
            QVERIFY(!w.Files()->SaveBinDocument());
        }
        QCOMPARE(m_fixture->Prompts.Shown.size(), 1);
        QVERIFY2(m_fixture->Prompts.Shown[0].contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(m_fixture->Prompts.Shown[0]));
        QCOMPARE(ReadFile(Campaign()), original);
        QVERIFY(Backups().List(Campaign()).empty());
        QCOMPARE(QDir(Backups().FolderOf(Campaign())).entryList(QDir::Files), QStringList{});
    }

    // The number kept is chosen in Options > Settings and remembered; 0 keeps none.
    void noneKeptWhenTurnedOff()
    {
        TfrmMain& w = *m_fixture->Window;
        QCOMPARE(Backups().Kept(), 10);
        m_fixture->Prompts.Drivers << CScriptedPrompts::Drive<TfrmConfigurationDialog>([](TfrmConfigurationDialog& d) {
            auto* box = d.findChild<QSpinBox*>(QStringLiteral("seBackupsKept"));
            QVERIFY(box && box->value() == 10);
            box->setValue(0);
            d.accept();
        });
        Trigger(w, "Settings1");
        QCOMPARE(Backups().Kept(), 0);
        QCOMPARE(CFilePlaces().BackupsKept(), 0); // for later runs too
        DeleteFirstSam(w);
        Trigger(w, "Save1");
        QVERIFY(!w.Session()->IsModified(CEditHistory::MapBin));
        QVERIFY(Backups().List(Campaign()).empty());
    }

    // Nothing to restore is said, not shown as an empty list.
    void noBackupsIsSaid()
    {
        m_fixture->Prompts.Shown.clear();
        Trigger(*m_fixture->Window, "RestoreBackup1");
        QCOMPARE(m_fixture->Prompts.RunTitles, QStringList{});
        QCOMPARE(m_fixture->Prompts.Shown.size(), 1);
        QVERIFY(m_fixture->Prompts.Shown[0].contains(QLatin1String("no backups")));
    }
};

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TestBackups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backups.moc"
