// Copies of unsaved work: written while something is modified, gone after a save or a normal end,
// offered after a run that was killed (a child process running the real window), and never taken
// from another editor that is still running.
#include "../testfiles.h"
#include "app/recoveryguard.h"
#include "app/recoverystore.h"
#include "platform/atomicsave.h"
#include "undofixture.h"

#include <QApplication>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSemaphore>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace {

const char* const kChildSwitch = "--recovery-child";

// The window's keeper of recovery copies, and the timer that spaces its copies out.
CRecoveryGuard* Guard(const TfrmMain& window)
{
    CRecoveryGuard* guard = window.findChild<CRecoveryGuard*>();
    if (!guard)
        qFatal("the window keeps no recovery copies");
    return guard;
}
QTimer* RecoveryTimer(const TfrmMain& window) { return Guard(window)->findChild<QTimer*>(); }

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
    CScriptedRecordDialogs editor;
    StartupEnvironment environment;
    environment.ProgramFolder = args.value(2);
    environment.SettingsFile = environment.ProgramFolder + QStringLiteral("/sablemap.INI");
    TfrmMain window(prompts, environment, &editor);
    const QString map = args.value(3);
    if (!window.InitializeMainWindow()
        || !window.Files()->LoadBinFile(map + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)))
        return 2;
    window.OpenMapFolder(map);
    window.Files()->OpenFactionFile(map + QLatin1Char('/') + QLatin1String(kDemoFactionFile));
    ClickGridRow(Grid(window, "grSAMs"), 1);
    ClickGridRow(Grid(window, "grSAMs"), 2, Qt::ShiftModifier);
    Press(window, "btnSAMDel");
    editor.X = 4321.5f;
    ClickGridRow(Grid(window, "grAirbases"), 1);
    Press(window, "btnAirbaseEd");
    QTest::mouseClick(MapImage(window), Qt::LeftButton, Qt::AltModifier,
                      QPoint(MapImage(window)->width() / 2, MapImage(window)->height() / 2));
    const QString out = args.value(4);
    if (!SaveFileAtomically(out + QStringLiteral(".BIN"), Records(window).SaveBytes(true))
        || !window.Session()->MutableFactions()->SaveToFile(out + QStringLiteral(".SID")))
        return 3;
    Guard(window)->WriteCopies();
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}

// The first bytes of a faction file, enough to tell it from a Map BIN file.
const QByteArray kFactionStart = QByteArrayLiteral("8BPS\0\1");
// An empty Map BIN file: four lists of no records.
const QByteArray kEmptyMapBin(16, '\0');

// A run that wrote a copy of `kind` for `original` and then was killed: its folder stays with a
// free lock. The copy's bytes are `bytes`; its folder is returned.
QString KilledRun(const QString& root, CRecoveryStore::Kind kind, const QString& original,
                  const QByteArray& bytes = kEmptyMapBin)
{
    CRecoveryStore run(root);
    QString folder;
    const bool written = run.Write(kind, original, [&](const QString& copy, QString* reason) {
        folder = QFileInfo(copy).path();
        return SaveFileAtomically(copy, bytes, reason);
    });
    return written ? folder : QString();
}

// Puts a pipe, or a link to /dev/zero, at `path` in place of what is there.
bool MakeSpecial(const QString& path, const QString& special)
{
    QFile::remove(path);
    if (special == QLatin1String("pipe"))
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    return QFile::link(QStringLiteral("/dev/zero"), path);
}

bool SetModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
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
        QVERIFY(!RecoveryTimer(w)->isActive());
        ClickGridRow(Grid(w, "grKeysites"), 1);
        Press(w, "btnKeysiteDel");
        QVERIFY(RecoveryTimer(w)->isActive());
        QCOMPARE(RecoveryTimer(w)->interval(), 30 * 1000); // at most every 30 s
        QVERIFY(RecoveryFiles().isEmpty());                // not before the timer fires
        Guard(w)->WriteCopies();
        QCOMPARE(RecoveryFiles().size(), 1);
        QCOMPARE(ReadFile(RecoveryFiles().first()), Records(w).SaveBytes(true)); // a normal Map BIN file
        QVERIFY(!RecoveryFiles().first().startsWith(QFileInfo(m_fixture->DemoFile(kDemoCampaignFile)).path()));

        // Saved: no copy; modified again and then ended normally: none either.
        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Dir.filePath(QStringLiteral("saved.BIN"));
        Trigger(w, "Save1");
        QVERIFY(RecoveryFiles().isEmpty());
        Trigger(w, "Undo1");
        Guard(w)->WriteCopies();
        QCOMPARE(RecoveryFiles().size(), 1);
        m_fixture->Prompts.AskAnswers << QMessageBox::Discard;
        QVERIFY(w.close());
        QVERIFY(RecoveryFiles().isEmpty());
    }

    // The copy is written by a worker; one still being written when the work is saved or the
    // window closes is waited for, so that it never comes back after its removal.
    void writeInFlightIsWaitedFor_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("save") << false;
        QTest::newRow("quit") << true;
    }
    void writeInFlightIsWaitedFor()
    {
        QFETCH(bool, quit);
        QVERIFY(m_fixture->Start());
        TfrmMain& w = *m_fixture->Window;
        ClickGridRow(Grid(w, "grSAMs"), 1);
        Press(w, "btnSAMDel");
        QSemaphore gate;
        Guard(w)->SetBeforeWrite([&gate] { gate.acquire(); });
        Guard(w)->StartCopies();
        QVERIFY(RecoveryFiles().isEmpty()); // held on the worker, the window goes on
        // Let go only once the window is already waiting (or, were it not, had removed the copy).
        std::thread release([&gate] {
            QThread::msleep(100);
            gate.release();
        });
        if (quit) {
            m_fixture->Prompts.AskAnswers << QMessageBox::Discard;
            QVERIFY(w.close());
        } else {
            Trigger(w, "Save1");
            QVERIFY(!w.Session()->IsModified(CEditHistory::MapBin));
        }
        release.join();
        Guard(w)->Wait();
        QCOMPARE(RecoveryFiles(), QStringList{});
    }

    // A copy that cannot be written is said in the status bar once, not at every try.
    void failedWriteIsShownOnce()
    {
        QVERIFY(m_fixture->Start());
        TfrmMain& w = *m_fixture->Window;
        // A file where the store's folder should be.
        const QString root = CRecoveryStore().Root();
        QVERIFY(QDir().mkpath(QFileInfo(root).path()) && WriteFile(root, "not a folder"));
        for (int attempt = 0; attempt < 2; ++attempt) {
            w.statusBar()->clearMessage();
            ClickGridRow(Grid(w, "grSAMs"), 1);
            Press(w, "btnSAMDel");
            Guard(w)->WriteCopies();
            QCoreApplication::processEvents();
            const QString shown = w.statusBar()->currentMessage();
            if (attempt == 0)
                QVERIFY2(shown.contains(QLatin1String("could not be written")), qPrintable(shown));
            else
                QCOMPARE(shown, QString());
        }
        QCOMPARE(ReadFile(root), QByteArray("not a folder"));
    }

    void anotherRunningEditorIsLeftAlone()
    {
        QVERIFY(m_fixture->Start());
        TfrmMain& first = *m_fixture->Window;
        ClickGridRow(Grid(first, "grSAMs"), 1);
        Press(first, "btnSAMDel");
        Guard(first)->WriteCopies();
        QCOMPARE(RecoveryFiles().size(), 1);

        CScriptedPrompts prompts;
        TfrmMain second(prompts, m_fixture->Installation.Environment(), &m_fixture->Editor);
        QVERIFY(second.InitializeMainWindow());
        second.OfferRecovery();
        QCOMPARE(prompts.Shown, QStringList{});
        QCOMPARE(RecoveryFiles().size(), 1);
    }

    // A copy is attached only to a file of its own kind; else it opens as a new document.
    void copyGoesOnlyToAFileOfItsKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<bool>("attached");
        const auto bin = int(CRecoveryStore::MapBin);
        const auto sid = int(CRecoveryStore::Factions);
        QTest::newRow("Map BIN copy, Map BIN file") << bin << QStringLiteral("campaign.BIN") << kEmptyMapBin << true;
        QTest::newRow("Map BIN copy, other name") << bin << QStringLiteral("campaign.dat") << kEmptyMapBin << true;
        QTest::newRow("Map BIN copy, file gone") << bin << QStringLiteral("campaign.bin") << QByteArray() << true;
        QTest::newRow("Map BIN copy, .SID name") << bin << QStringLiteral("sectors.SID") << QByteArray() << false;
        QTest::newRow("Map BIN copy, faction file") << bin << QStringLiteral("campaign.BIN") << kFactionStart << false;
        QTest::newRow("faction copy, faction file") << sid << QStringLiteral("sectors.sid") << kFactionStart << true;
        QTest::newRow("faction copy, other name") << sid << QStringLiteral("sectors.psd") << kFactionStart << true;
        QTest::newRow("faction copy, .BIN name") << sid << QStringLiteral("campaign.BIN") << QByteArray() << false;
        QTest::newRow("faction copy, Map BIN file") << sid << QStringLiteral("sectors.SID") << kEmptyMapBin << false;
    }
    void copyGoesOnlyToAFileOfItsKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, original);
        QFETCH(QByteArray, content);
        QFETCH(bool, attached);
        const QString root = m_fixture->Installation.Dir.filePath(QStringLiteral("recovery"));
        const QString path = m_fixture->Installation.Dir.filePath(original);
        if (!content.isNull())
            QVERIFY(WriteFile(path, content));
        QVERIFY(!KilledRun(root, CRecoveryStore::Kind(kind), path).isEmpty());

        const std::vector<CRecoveryStore::Copy> copies = CRecoveryStore(root).Abandoned();
        QCOMPARE(copies.size(), size_t(1));
        QCOMPARE(copies[0].Original, attached ? path : QString());
        QCOMPARE(copies[0].OtherKind, attached ? QString() : path);
        QCOMPARE(copies[0].OriginalGone, attached && content.isNull());
    }

    // The store's own files never hang it: a pipe or a link to /dev/zero in place of a copy, its
    // origin, the run's lock or the file the origin names.
    void specialFilesInTheStore_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("special");
        for (const char* file : {"copy", "origin", "lock", "original"}) {
            for (const char* special : {"pipe", "zero"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(file), QLatin1String(special))))
                    << QString::fromLatin1(file) << QString::fromLatin1(special);
        }
    }
    void specialFilesInTheStore()
    {
        QFETCH(QString, file);
        QFETCH(QString, special);
        const QString root = m_fixture->Installation.Dir.filePath(QStringLiteral("recovery"));
        const QString original = m_fixture->Installation.Dir.filePath(QStringLiteral("campaign.BIN"));
        const QString folder = KilledRun(root, CRecoveryStore::MapBin, original);
        QVERIFY(!folder.isEmpty());
        const QString copy = folder + QStringLiteral("/document.BIN");
        const QString target = file == QLatin1String("copy") ? copy
            : file == QLatin1String("origin")                ? copy + QStringLiteral(".origin")
            : file == QLatin1String("lock")                  ? folder + QStringLiteral("/run.lock")
                                                             : original;
        QVERIFY(MakeSpecial(target, special));

        const std::vector<CRecoveryStore::Copy> copies = CRecoveryStore(root).Abandoned();
        if (file == QLatin1String("copy")) {
            QVERIFY(copies.empty()); // nothing of it is read, and no copy is there to offer
            return;
        }
        QCOMPARE(copies.size(), size_t(1));
        QCOMPARE(copies[0].Path, copy);
        // An origin that cannot be read leaves the work, to open as a new document.
        QCOMPARE(copies[0].Original, file == QLatin1String("origin") ? QString() : original);
        QCOMPARE(copies[0].MaybeRunning, file == QLatin1String("lock"));
        QVERIFY(QFileInfo::exists(target) || QFileInfo(target).isSymLink());
    }

    // The origin is written before the copy, so a copy is never without it; an origin left alone
    // (the run ended between the two) is cleared away at the next start, with its folder.
    void copyAndOriginGoTogether()
    {
        const QString root = m_fixture->Installation.Dir.filePath(QStringLiteral("recovery"));
        const QString first = m_fixture->Installation.Dir.filePath(QStringLiteral("first.BIN"));
        QString folder;
        {
            CRecoveryStore run(root);
            const auto write = [&](const QString& copy, QString* reason) {
                folder = QFileInfo(copy).path();
                return SaveFileAtomically(copy, kEmptyMapBin, reason);
            };
            QVERIFY(run.Write(CRecoveryStore::MapBin, first, write));
            // Another file's work: the first file's copy goes before its origin is replaced, and
            // the run ends before the new copy is written.
            QVERIFY(!run.Write(CRecoveryStore::MapBin, QStringLiteral("/elsewhere/second.BIN"),
                               [](const QString&, QString*) { return false; }));
            QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/document.BIN")));
            QVERIFY(QFileInfo::exists(folder + QStringLiteral("/document.BIN.origin")));
        }
        // A copy an older version left without its origin still opens, as a new document.
        const QString older = root + QStringLiteral("/1-1");
        QVERIFY(WriteFile(older + QStringLiteral("/factions.SID"), kFactionStart));

        const std::vector<CRecoveryStore::Copy> copies = CRecoveryStore(root).Abandoned();
        QCOMPARE(copies.size(), size_t(1));
        QCOMPARE(copies[0].Path, older + QStringLiteral("/factions.SID"));
        QCOMPARE(copies[0].Original, QString());
        QVERIFY(!QFileInfo::exists(folder));
    }

    // A lock that cannot tell whether its editor still runs hides nothing: the copy is offered,
    // marked, and the folder is never cleared unasked. One held now on this computer still hides.
    void locksThatCannotTell_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<bool>("held"); // a process has the lock file locked now
        QTest::addColumn<bool>("offered");
        const QByteArray elsewhere("4242\nsablemap\nelsewhere.example\n");
        QTest::newRow("empty") << QByteArray("") << false << true;
        QTest::newRow("another computer's") << elsewhere << false << true;
        QTest::newRow("damaged") << QByteArray("not a lock at all") << false << true;
        QTest::newRow("a running editor's here") << QByteArray::number(QCoreApplication::applicationPid()) + "\n"
                + QCoreApplication::applicationName().toUtf8() + "\n" + QSysInfo::machineHostName().toUtf8()
                + "\n" << false << false;
        QTest::newRow("empty, but held now") << QByteArray("") << true << false;
        QTest::newRow("another computer's, held now") << elsewhere << true << false;
    }
    void locksThatCannotTell()
    {
        QFETCH(QByteArray, lock);
        QFETCH(bool, held);
        QFETCH(bool, offered);
        const QString root = m_fixture->Installation.Dir.filePath(QStringLiteral("recovery"));
        const QString folder = KilledRun(root, CRecoveryStore::MapBin, QString());
        QVERIFY(WriteFile(folder + QStringLiteral("/run.lock"), lock));
        QFile holder(folder + QStringLiteral("/run.lock"));
        if (held)
            QVERIFY(holder.open(QIODevice::ReadWrite) && flock(holder.handle(), LOCK_EX | LOCK_NB) == 0);
        for (int start = 0; start < 2; ++start) { // the same at the next start
            const std::vector<CRecoveryStore::Copy> copies = CRecoveryStore(root).Abandoned();
            QCOMPARE(copies.size(), size_t(offered ? 1 : 0));
            if (offered)
                QVERIFY(copies[0].MaybeRunning);
            QCOMPARE(ReadFile(folder + QStringLiteral("/run.lock")), lock);
        }
        if (offered) {
            CRecoveryStore::Discard(CRecoveryStore(root).Abandoned().at(0));
            QVERIFY(!QFileInfo::exists(folder));
        }
    }

    // The offer keeps its words and adds what the person should know: the file changed since the
    // copy, a copy kept for a file of the other kind, one that may be another editor's.
    void offerSaysWhatToKnow()
    {
        QVERIFY(m_fixture->Start());
        TfrmMain& w = *m_fixture->Window;
        const QString root = CRecoveryStore().Root();
        const QString changed = m_fixture->Installation.Write(QStringLiteral("changed.BIN"), kEmptyMapBin);
        const QString faction = m_fixture->Installation.Write(QStringLiteral("sectors.SID"), kFactionStart);
        const QString older = KilledRun(root, CRecoveryStore::MapBin, faction);
        const QString folder = KilledRun(root, CRecoveryStore::MapBin, changed);
        QVERIFY(!older.isEmpty() && !folder.isEmpty());
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(SetModified(older + QStringLiteral("/document.BIN"), now.addSecs(-3600)));
        QVERIFY(SetModified(changed, now.addSecs(60)));
        QVERIFY(WriteFile(folder + QStringLiteral("/run.lock"), "4242\nsablemap\nelsewhere.example\n"));

        CScriptedPrompts& prompts = m_fixture->Prompts;
        prompts.AskAnswers << QMessageBox::Open;
        w.OfferRecovery();
        QCOMPARE(prompts.Shown.size(), 1);
        const QString offer = prompts.Shown.first();
        QVERIFY2(
            offer.startsWith(QStringLiteral("ask: Sablemap did not end normally last time. Unsaved work was kept:\n")),
            qPrintable(offer));
        QVERIFY2(offer.endsWith(QStringLiteral("\n\nOpen it?")), qPrintable(offer));
        QVERIFY2(offer.contains(QStringLiteral("\n%1 (").arg(changed)), qPrintable(offer));
        QVERIFY2(offer.contains(QStringLiteral("; the file has changed since this copy was taken; it may belong to "
                                               "another Sablemap running now)")),
                 qPrintable(offer));
        QVERIFY2(offer.contains(QStringLiteral("\nUntitled.BIN (")), qPrintable(offer));
        QVERIFY2(offer.contains(
                     QStringLiteral("; kept for %1, which is not a Map BIN file: it opens as a new one)").arg(faction)),
                 qPrintable(offer));
        // The newest copy opens: it was the changed file's, and stays that file's.
        QCOMPARE(w.Session()->MapBinPath(), changed);
        QVERIFY(w.isWindowModified());
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
            QCOMPARE(Records(w).SamCount(), 0);
            return;
        }
        if (answer == QMessageBox::Ignore) {
            QCOMPARE(RecoveryFiles().size(), 2); // kept for later
            prompts.AskAnswers << QMessageBox::Open;
            w.OfferRecovery();
        }

        QCOMPARE(Records(w).SaveBytes(true), ReadFile(expected + QStringLiteral(".BIN")));
        // The faction layer saves to the very file the killed run saved.
        const QString recovered = m_fixture->Installation.Dir.filePath(QStringLiteral("recovered.SID"));
        QVERIFY(w.Session()->Factions() && w.Session()->MutableFactions()->SaveToFile(recovered));
        QCOMPARE(ReadFile(recovered), ReadFile(expected + QStringLiteral(".SID")));
        // The work is the user's own file's, unsaved, and this run keeps it safe from now on.
        QCOMPARE(w.Session()->MapBinPath(), m_fixture->DemoFile(kDemoCampaignFile));
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
