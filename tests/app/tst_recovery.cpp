// Copies of unsaved work: written while something is modified, gone after a save or a normal end,
// offered after a run that was killed (a child process running the real window), and never taken
// from another editor that is still running.
#include "../testfiles.h"
#include "platform/atomicsave.h"
#include "undofixture.h"

#include <QApplication>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace {

const char* const kChildSwitch = "--recovery-child";

QStringList RecoveryFiles()
{
    const QString root =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files.filter(QRegularExpression(QStringLiteral("\\.(BIN|SID)$")));
}

// The child: the demonstration campaign and factions, a few edits, a copy of each, and then it
// waits to be killed. It writes what the editor holds beside `out` (".BIN", ".SID") first.
int RunChild(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    CScriptedPrompts prompts;
    CScriptedEditor editor;
    StartupEnvironment environment;
    environment.ProgramFolder = args.value(2);
    environment.SettingsFile = environment.ProgramFolder + QStringLiteral("/sablemap.INI");
    TfrmMain window(prompts, environment, &editor);
    const QString map = args.value(3);
    if (!window.InitializeMainWindow()
        || !window.LoadBinFile(map + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)))
        return 2;
    window.OpenMapFolder(map);
    window.OpenFactionFile(map + QLatin1Char('/') + QLatin1String(kDemoFactionFile));
    ClickGridRow(window.grSAMs, 1);
    ClickGridRow(window.grSAMs, 2, Qt::ShiftModifier);
    window.btnSAMDelClick();
    editor.X = 4321.5f;
    ClickGridRow(window.grAirbases, 1);
    window.btnAirbaseEdClick();
    QTest::mouseClick(window.im, Qt::LeftButton, Qt::AltModifier,
                      QPoint(window.im->width() / 2, window.im->height() / 2));
    const QString out = args.value(4);
    if (!SaveFileAtomically(out + QStringLiteral(".BIN"), window.Document->SaveBytes(true))
        || !window.Factions->SaveToFile(out + QStringLiteral(".SID")))
        return 3;
    window.WriteRecoveryCopies();
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private:
    QString MapFolder() const
    {
        return m_fixture->Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap);
    }
    // Runs the child until it is ready, then kills it; its expected files start with the result.
    QString KilledChild()
    {
        const QString out = m_fixture->Installation.Dir.filePath(QStringLiteral("expected"));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(
            QCoreApplication::applicationFilePath(),
            {QLatin1String(kChildSwitch), m_fixture->Installation.Environment().ProgramFolder, MapFolder(), out});
        if (!child.waitForReadyRead(60000) || !child.readAll().startsWith("ready"))
            return {};
        child.kill(); // SIGKILL: nothing of a normal end runs
        child.waitForFinished();
        return out;
    }

    std::unique_ptr<CUndoFixture> m_fixture;
private slots:
    void init() { m_fixture = std::make_unique<CUndoFixture>(); }
    void cleanup() { m_fixture.reset(); }
    void copyFollowsTheWork()
    {
        QVERIFY(m_fixture->Start());
        TfrmMain& w = *m_fixture->Window;
        QVERIFY(!w.TimerRecovery->isActive());
        ClickGridRow(w.grKeysites, 1);
        w.btnKeysiteDelClick();
        QVERIFY(w.TimerRecovery->isActive());
        QCOMPARE(w.TimerRecovery->interval(), 30 * 1000); // at most every 30 s
        QVERIFY(RecoveryFiles().isEmpty());               // not before the timer fires
        w.WriteRecoveryCopies();
        QCOMPARE(RecoveryFiles().size(), 1);
        QCOMPARE(ReadFile(RecoveryFiles().first()), w.Document->SaveBytes(true)); // a normal Map BIN file
        QVERIFY(!RecoveryFiles().first().startsWith(QFileInfo(m_fixture->DemoFile(kDemoCampaignFile)).path()));

        // Saved: no copy; modified again and then ended normally: none either.
        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Dir.filePath(QStringLiteral("saved.BIN"));
        w.Save1Click();
        QVERIFY(RecoveryFiles().isEmpty());
        w.Undo1->trigger();
        w.WriteRecoveryCopies();
        QCOMPARE(RecoveryFiles().size(), 1);
        m_fixture->Prompts.AskAnswers << QMessageBox::Discard;
        QVERIFY(w.close());
        QVERIFY(RecoveryFiles().isEmpty());
    }

    void anotherRunningEditorIsLeftAlone()
    {
        QVERIFY(m_fixture->Start());
        TfrmMain& first = *m_fixture->Window;
        ClickGridRow(first.grSAMs, 1);
        first.btnSAMDelClick();
        first.WriteRecoveryCopies();
        QCOMPARE(RecoveryFiles().size(), 1);

        CScriptedPrompts prompts;
        TfrmMain second(prompts, m_fixture->Installation.Environment(), &m_fixture->Editor);
        QVERIFY(second.InitializeMainWindow());
        second.OfferRecovery();
        QCOMPARE(prompts.Shown, QStringList{});
        QCOMPARE(RecoveryFiles().size(), 1);
    }

    void killedRunIsOffered_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("open") << int(QMessageBox::Open);
        QTest::newRow("discard") << int(QMessageBox::Discard);
        QTest::newRow("ignore, then open at the next start") << int(QMessageBox::Ignore);
    }

    void killedRunIsOffered()
    {
        QFETCH(int, answer);
        const QString expected = KilledChild();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(RecoveryFiles().size(), 2);

        TfrmMain& w = *m_fixture->Window;
        CScriptedPrompts& prompts = m_fixture->Prompts;
        QVERIFY(w.InitializeMainWindow());
        prompts.AskAnswers << QMessageBox::StandardButton(answer);
        w.OfferRecovery();
        QCOMPARE(prompts.Shown.size(), 1);
        const QString offer = prompts.Shown.first();
        QVERIFY2(offer.startsWith(QStringLiteral("ask: Sablemap did not end normally last time.")), qPrintable(offer));
        QVERIFY(offer.contains(m_fixture->DemoFile(kDemoCampaignFile)));
        QVERIFY(offer.contains(m_fixture->DemoFile(kDemoFactionFile)));
        if (answer == QMessageBox::Discard) {
            QVERIFY(RecoveryFiles().isEmpty());
            QCOMPARE(w.Document->SamCount(), 0);
            return;
        }
        if (answer == QMessageBox::Ignore) {
            QCOMPARE(RecoveryFiles().size(), 2); // kept for later
            prompts.AskAnswers << QMessageBox::Open;
            w.OfferRecovery();
        }

        QCOMPARE(w.Document->SaveBytes(true), ReadFile(expected + QStringLiteral(".BIN")));
        // The faction layer saves to the very file the killed run saved.
        const QString recovered = m_fixture->Installation.Dir.filePath(QStringLiteral("recovered.SID"));
        QVERIFY(w.Factions && w.Factions->SaveToFile(recovered));
        QCOMPARE(ReadFile(recovered), ReadFile(expected + QStringLiteral(".SID")));
        // The work is the user's own file's, unsaved, and this run keeps it safe from now on.
        QCOMPARE(w.BinDocumentPath, m_fixture->DemoFile(kDemoCampaignFile));
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("%1* — %2* — Sablemap")
                     .arg(QLatin1String(kDemoCampaignFile), QLatin1String(kDemoFactionFile)));
        QVERIFY(w.isWindowModified());
        QCOMPARE(RecoveryFiles().size(), 2);
        prompts.AskAnswers << QMessageBox::Discard << QMessageBox::Discard;
        QVERIFY(w.close());
        QVERIFY(RecoveryFiles().isEmpty());
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], kChildSwitch) == 0)
        return RunChild(argc, argv);
    QApplication application(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
