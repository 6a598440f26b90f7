// The menu commands around files: the six file dialogs, Save and Save As of both documents with
// the title they leave, loads and saves that fail, the faction layer, template export ranges and
// import, and the guides.
#include "../dialogs/scriptedprompts.h"
#include "catalogues/templatetypes.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "platform/filelimits.h"
#include "platform/filepaths.h"
#include "undofixture.h"

#include <QRadioButton>
#include <QUrl>
#include <QWindow>

namespace {

} // namespace

class TestMenuCommands : public QObject {
    Q_OBJECT
private:
    void AddTemplates(int count)
    {
        // Added as the user adds them, each after the last, of types 1, 2, ...
        for (int t = 0; t < count; ++t) {
            m_fixture->Editor.TypeCode = t + 1;
            Press(*m_fixture->Window, "btnTemplateAdd");
        }
    }

    // A copy of a demonstration file at `relative` in the test's folder, so that a test may take
    // its folder away.
    QString CopyOfDemo(const char* name, const QString& relative)
    {
        const QString copy = m_fixture->Installation.Dir.filePath(relative);
        if (!QDir().mkpath(QFileInfo(copy).path()) || !QFile::copy(m_fixture->DemoFile(name), copy))
            qFatal("cannot copy %s", name);
        return copy;
    }

    // An edit of each document, recorded as the window records its own.
    void EditBin() { Press(*m_fixture->Window, "btnSAMAdd"); }
    void PaintFirstSector()
    {
        CCampaignSession& session = *m_fixture->Window->Session();
        const int faction = session.Factions()->GetFaction(0, 0) == 0 ? 1 : 0;
        session.Push(CEditHistory::Factions, new CFactionPaint(session, 0, 0, 0, 0, faction));
    }

    // What a document writes as it is now, by its own writer.
    QByteArray Saves(bool factions)
    {
        TfrmMain& window = *m_fixture->Window;
        if (!factions)
            return Records(window).SaveBytes(true);
        const QString probe = m_fixture->Installation.Dir.filePath(QStringLiteral("probe.SID"));
        return window.Session()->MutableFactions()->SaveToFile(probe) ? ReadFile(probe) : QByteArray();
    }

    std::unique_ptr<CUndoFixture> m_fixture;
private slots:
    void init()
    {
        m_fixture = std::make_unique<CUndoFixture>(true);
        QVERIFY(m_fixture->Window->InitializeMainWindow());
    }

    void cleanup() { m_fixture.reset(); }

    void fileDialogs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("suffix");
        const QString bin = QStringLiteral("Map BIN file (*.BIN)");
        QTest::newRow("load") << "load"
                              << "Load BIN file" << QStringList{bin} << "BIN";
        QTest::newRow("load factions") << "load factions"
                                       << "Load SID file" << QStringList{"Faction assignment file (*.SID)"} << "SID";
        QTest::newRow("save factions as") << "save factions as"
                                          << "Save SID file" << QStringList{"Faction assignment file (*.SID)"} << "SID";
        QTest::newRow("import") << "import"
                                << "Load templates file" << QStringList{"Map BIN templates file (*.BTP)", bin} << "BTP";
        QTest::newRow("export") << "export"
                                << "Save templates file" << QStringList{"Map BIN templates file (*.BTP)"} << "BTP";
    }

    void fileDialogs()
    {
        QFETCH(QString, command);
        QFETCH(QString, title);
        QFETCH(QStringList, filters);
        QFETCH(QString, suffix);
        TfrmMain& window = *m_fixture->Window;
        if (command == QLatin1String("save factions as")) {
            m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile);
            Trigger(window, "Loadfactions1");
        }
        const qsizetype before = m_fixture->Prompts.FileDialogs.size();
        const char* action = command == QLatin1String("load") ? "Load1"
            : command == QLatin1String("load factions")       ? "Loadfactions1"
            : command == QLatin1String("save factions as")    ? "Savefactionassignmentas1"
            : command == QLatin1String("import")              ? "Importtemplates1"
                                                              : "Exporttemplates1";
        Trigger(window, action); // cancelled: nothing else happens
        QCOMPARE(m_fixture->Prompts.FileDialogs.size(), before + 1);
        const FileDialogRequest& request = m_fixture->Prompts.FileDialogs.last();
        QCOMPARE(request.Title, title);
        QCOMPARE(request.Filters, filters);
        QCOMPARE(request.DefaultSuffix, suffix);
        // At first in the maps folder; after a faction file was loaded, where it was.
        const QString folder = command == QLatin1String("save factions as")
            ? QFileInfo(m_fixture->DemoFile(kDemoFactionFile)).path()
            : m_fixture->Installation.Root() + QStringLiteral("/common/maps");
        QCOMPARE(QDir(request.Folder).canonicalPath(), QDir(folder).canonicalPath());
        // Save As proposes the layer's own file; the other dialogs no name.
        QCOMPARE(request.FileName,
                 command == QLatin1String("save factions as") ? QLatin1String(kDemoFactionFile) : QLatin1String(""));
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());
    }

    void failedLoadKeepsDocument_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("vanished") << QStringLiteral("gone.BIN");
        QTest::newRow("damaged") << QStringLiteral("damaged.BIN");
        QTest::newRow("longer than any Map BIN file: refused unread") << QStringLiteral("big.BIN");
    }

    void failedLoadKeepsDocument()
    {
        QFETCH(QString, file);
        TfrmMain& window = *m_fixture->Window;
        const QString good = m_fixture->DemoFile(kDemoCampaignFile);
        QVERIFY(window.Files()->LoadBinFile(good));
        const int keysites = Records(window).KeysiteCount();
        QVERIFY(keysites > 0);
        const QStringList row = Grid(window, "grKeysites")->Cells(1);
        // A template count that promises far more than the file holds.
        m_fixture->Installation.Write(QStringLiteral("damaged.BIN"), QByteArray("\x05\x00\x00\x00\x01", 5));
        const QString big = m_fixture->Installation.Write(QStringLiteral("big.BIN"), QByteArray());
        QVERIFY(QFile::resize(big, FileLimits::MapBin.Bytes + 1));

        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Dir.filePath(file);
        Trigger(window, "Load1");
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Open failed")});
        QCOMPARE(Records(window).KeysiteCount(), keysites);
        QCOMPARE(Grid(window, "grKeysites")->Cells(1), row);
        QCOMPARE(window.Session()->MapBinPath(), good);
        if (file == QLatin1String("big.BIN")) // the reason is given beside the message
            QVERIFY2(m_fixture->Prompts.Details.first().startsWith(big + QStringLiteral(": the file is ")),
                     qPrintable(m_fixture->Prompts.Details.first()));
    }

    void failedFactionLoadKeepsLayer()
    {
        TfrmMain& window = *m_fixture->Window;
        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile);
        Trigger(window, "Loadfactions1");
        QVERIFY(window.Session()->Factions());
        CFactionsInfo* layer = window.Session()->MutableFactions();
        const int faction = layer->GetFaction(0, 0);
        QVERIFY(layer->SetFaction(faction == 0 ? 1 : 0, 0, 0)); // painted, not yet saved
        Find<QRadioButton>(window, "rbMapModeHeights")->setChecked(true);

        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Write(QStringLiteral("broken.SID"),
                                                                        QByteArray("8BPS but nothing more"));
        Trigger(window, "Loadfactions1");
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Open failed")});
        QCOMPARE(window.Session()->Factions(), layer);
        QCOMPARE(layer->GetFaction(0, 0), faction == 0 ? 1 : 0);
        QVERIFY(Find<QRadioButton>(window, "rbMapModeHeights")->isChecked());
    }

    void saveFactionsNeedsALayer()
    {
        const QString out = m_fixture->Installation.Dir.filePath(QStringLiteral("out.SID"));
        m_fixture->Prompts.FileAnswers << out << out;
        Trigger(*m_fixture->Window, "Savefactionassignment1");
        Trigger(*m_fixture->Window, "Savefactionassignmentas1");
        QVERIFY(m_fixture->Prompts.FileDialogs.isEmpty()); // so nothing was written either
        QVERIFY(!QFile::exists(out));
        m_fixture->Prompts.FileAnswers.clear();

        // With a layer the file is written, and reads back with the same factions.
        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile) << out;
        Trigger(*m_fixture->Window, "Loadfactions1");
        Trigger(*m_fixture->Window, "Savefactionassignmentas1");
        QCOMPARE(m_fixture->Prompts.Shown, QStringList());
        CFactionsInfo copy;
        QVERIFY(copy.LoadFromFile(out));
        QCOMPARE(copy.GetFaction(3, 2), m_fixture->Window->Session()->Factions()->GetFaction(3, 2));
    }

    // Save writes a document's own file at once (no dialog, so no overwrite question); only a
    // document without a file, a new Map BIN document, asks for a name.
    void saveWritesTheOwnFile_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("Map BIN file loaded") << "loaded";
        QTest::newRow("new Map BIN document, named once") << "new";
        QTest::newRow("faction file loaded") << "factions";
    }

    void saveWritesTheOwnFile()
    {
        QFETCH(QString, document);
        TfrmMain& window = *m_fixture->Window;
        CScriptedPrompts& prompts = m_fixture->Prompts;
        const bool factions = document == QLatin1String("factions");
        QString file = m_fixture->DemoFile(factions ? kDemoFactionFile : kDemoCampaignFile);
        if (factions) {
            window.Files()->OpenFactionFile(file);
            PaintFirstSector();
        } else if (document == QLatin1String("loaded")) {
            window.Files()->OpenBinFile(file);
            EditBin();
        } else {
            // A new document asks once, proposing no name of another file.
            window.Files()->OpenBinFile(file);
            Trigger(window, "New1");
            EditBin();
            file = m_fixture->Installation.Dir.filePath(QStringLiteral("new.BIN"));
            prompts.FileAnswers << file;
            Trigger(window, "Save1");
            QCOMPARE(prompts.FileDialogs.size(), 1);
            QCOMPARE(prompts.FileDialogs.first().Title, QStringLiteral("Save BIN file"));
            QCOMPARE(prompts.FileDialogs.first().FileName, QString());
            QCOMPARE(window.windowTitle(), QStringLiteral("new.BIN — Sablemap"));
            prompts.FileDialogs.clear();
            EditBin();
        }
        const QByteArray before = ReadFile(file);
        const QByteArray edited = Saves(factions);
        QVERIFY(edited != before);
        QVERIFY(window.isWindowModified());

        Trigger(window, factions ? "Savefactionassignment1" : "Save1");
        QVERIFY(prompts.FileDialogs.isEmpty());
        QCOMPARE(prompts.Shown, QStringList());
        QCOMPARE(ReadFile(file), edited);
        QVERIFY(!window.isWindowModified());
        QVERIFY(!window.windowTitle().contains(QLatin1Char('*')));
    }

    // Save As always asks, proposing the document's own file in its folder; the file chosen
    // becomes the document's, and the one it came from is left as it was.
    void saveAsAsks_data()
    {
        QTest::addColumn<bool>("factions");
        QTest::newRow("Map BIN file") << false;
        QTest::newRow("faction file") << true;
    }

    void saveAsAsks()
    {
        QFETCH(bool, factions);
        TfrmMain& window = *m_fixture->Window;
        CScriptedPrompts& prompts = m_fixture->Prompts;
        const char* name = factions ? kDemoFactionFile : kDemoCampaignFile;
        const QString original = CopyOfDemo(name, QStringLiteral("maps/") + QLatin1String(name));
        const QByteArray originalBytes = ReadFile(original);
        const char* saveAs = factions ? "Savefactionassignmentas1" : "SaveAs1";
        const char* save = factions ? "Savefactionassignment1" : "Save1";
        const auto edit = [&] { factions ? PaintFirstSector() : EditBin(); };
        if (factions)
            window.Files()->OpenFactionFile(original);
        else
            window.Files()->OpenBinFile(original);
        edit();

        Trigger(window, saveAs); // cancelled: nothing is written and the work stays unsaved
        QCOMPARE(prompts.FileDialogs.size(), 1);
        QCOMPARE(prompts.FileDialogs.last().Title,
                 factions ? QStringLiteral("Save SID file") : QStringLiteral("Save BIN file"));
        QCOMPARE(prompts.FileDialogs.last().FileName, QLatin1String(name));
        QCOMPARE(QDir(prompts.FileDialogs.last().Folder).canonicalPath(), QFileInfo(original).canonicalPath());
        QCOMPARE(ReadFile(original), originalBytes);
        QVERIFY(window.isWindowModified());

        const QString other =
            m_fixture->Installation.Dir.filePath(factions ? QStringLiteral("other.SID") : QStringLiteral("other.BIN"));
        prompts.FileAnswers << other;
        Trigger(window, saveAs);
        QCOMPARE(ReadFile(other), Saves(factions));
        QVERIFY(!window.isWindowModified());
        QCOMPARE(window.windowTitle(), QFileInfo(other).fileName() + QStringLiteral(" — Sablemap"));

        // From now on Save writes the file chosen, and the question names it.
        edit();
        Trigger(window, save);
        QCOMPARE(prompts.FileDialogs.size(), 2);
        QCOMPARE(ReadFile(other), Saves(factions));
        QCOMPARE(ReadFile(original), originalBytes);
        edit();
        prompts.AskAnswers << QMessageBox::Cancel;
        window.close();
        QCOMPARE(prompts.Shown,
                 QStringList{QStringLiteral("ask: Save changes to %1?").arg(QFileInfo(other).fileName())});
        QCOMPARE(Action(window, "SaveAs1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    }

    // The title names every open document and marks the modified ones, before and after each save.
    void titlePerDocument()
    {
        TfrmMain& window = *m_fixture->Window;
        const QString bin = QLatin1String(kDemoCampaignFile);
        const QString sid = QLatin1String(kDemoFactionFile);
        const auto title = [](const QStringList& documents) {
            return (documents + QStringList{QStringLiteral("Sablemap")}).join(QStringLiteral(" — "));
        };
        const std::pair<std::function<void()>, QString> steps[] = {
            {[] {}, title({})},
            {[&] { window.Files()->OpenBinFile(m_fixture->DemoFile(kDemoCampaignFile)); }, title({bin})},
            {[&] { window.Files()->OpenFactionFile(m_fixture->DemoFile(kDemoFactionFile)); }, title({bin, sid})},
            {[&] { PaintFirstSector(); }, title({bin, sid + QLatin1Char('*')})},
            {[&] { EditBin(); }, title({bin + QLatin1Char('*'), sid + QLatin1Char('*')})},
            // The Map BIN file saved: only the faction layer is still unsaved.
            {[&] { Trigger(window, "Save1"); }, title({bin, sid + QLatin1Char('*')})},
            {[&] { Trigger(window, "Savefactionassignment1"); }, title({bin, sid})},
            {[&] { Trigger(window, "Undo1"); }, title({bin + QLatin1Char('*'), sid})},
            {[&] { Trigger(window, "New1"); }, title({sid})}, // the undone edit is discarded
            {[&] { EditBin(); }, title({QStringLiteral("Untitled.BIN*"), sid})},
        };
        m_fixture->Prompts.AskAnswers << QMessageBox::Discard;
        for (const auto& [step, expected] : steps) {
            step();
            QCOMPARE(window.windowTitle(), expected);
            QCOMPARE(window.isWindowModified(), expected.contains(QLatin1Char('*')));
        }
        QVERIFY(m_fixture->Prompts.FileDialogs.isEmpty());
    }

    // A file's name is shown as it is, even with what Qt takes for its modified mark in it.
    void titleShowsTheNameAsItIs()
    {
        TfrmMain& window = *m_fixture->Window;
        window.Files()->OpenBinFile(CopyOfDemo(kDemoCampaignFile, QStringLiteral("odd[*].BIN")));
        QVERIFY(window.windowHandle());
        QCOMPARE(window.windowHandle()->title(), QStringLiteral("odd[*].BIN — Sablemap"));
        EditBin();
        QCOMPARE(window.windowHandle()->title(), QStringLiteral("odd[*].BIN* — Sablemap"));
    }

    // A save that fails says so and leaves the work unsaved, in the title and for the question.
    void failedSaveKeepsTheDocumentModified_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("marked"); // in the title afterwards
        QTest::newRow("Save, the file's folder gone") << "save"
                                                      << "sable_coast.BIN*";
        QTest::newRow("Save As, into a missing folder") << "save as"
                                                        << "sable_coast.BIN*";
        QTest::newRow("Save of a new document") << "save new"
                                                << "Untitled.BIN*";
        QTest::newRow("Save faction assignment, the file's folder gone") << "factions"
                                                                         << "sable_coast.SID*";
    }

    void failedSaveKeepsTheDocumentModified()
    {
        QFETCH(QString, command);
        QFETCH(QString, marked);
        TfrmMain& window = *m_fixture->Window;
        CScriptedPrompts& prompts = m_fixture->Prompts;
        const bool factions = command == QLatin1String("factions");
        const QString gone = m_fixture->Installation.Dir.filePath(QStringLiteral("gone"));
        const char* name = factions ? kDemoFactionFile : kDemoCampaignFile;
        const QString file = CopyOfDemo(name, QStringLiteral("gone/") + QLatin1String(name));
        if (factions) {
            window.Files()->OpenFactionFile(file);
            PaintFirstSector();
        } else {
            window.Files()->OpenBinFile(file);
            if (command == QLatin1String("save new"))
                Trigger(window, "New1");
            EditBin();
        }
        const auto documentPath = [&] {
            return factions ? window.Session()->FactionsPath() : window.Session()->MapBinPath();
        };
        const QString path = documentPath();
        QVERIFY(QDir(gone).removeRecursively());
        QString target = file;
        if (command == QLatin1String("save as") || command == QLatin1String("save new")) {
            target = m_fixture->Installation.Dir.filePath(QStringLiteral("missing/chosen.BIN"));
            prompts.FileAnswers << target;
        }

        if (factions)
            Trigger(window, "Savefactionassignment1");
        else
            Trigger(window, command == QLatin1String("save as") ? "SaveAs1" : "Save1");
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: Save failed")});
        QVERIFY2(prompts.Details.first().startsWith(target + QStringLiteral(": ")),
                 qPrintable(prompts.Details.first()));
        QVERIFY(window.isWindowModified());
        QVERIFY(window.windowTitle().split(QStringLiteral(" — ")).contains(marked));
        QCOMPARE(documentPath(), path); // a failed Save As does not rename the document
        QVERIFY(!QFile::exists(target));

        // The work is still at stake when the window closes.
        prompts.Shown.clear();
        prompts.AskAnswers << QMessageBox::Cancel;
        window.close();
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("ask: Save changes to %1?").arg(marked.chopped(1))});
        QVERIFY(window.isVisible());
    }

    // Exports the rows top to bottom; without a template to export (no rows given) it is refused.
    void exportRange_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<QList<int>>("typeCodes");
        QTest::newRow("rows 3 to 5") << "six templates" << 3 << 5 << QList<int>{3, 4, 5};
        QTest::newRow("one row") << "six templates" << 6 << 6 << QList<int>{6};
        QTest::newRow("nothing loaded") << "" << 0 << 0 << QList<int>{};
        QTest::newRow("empty list, its blank row selected") << "new" << 0 << 0 << QList<int>{};
    }

    void exportRange()
    {
        QFETCH(QString, list);
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(QList<int>, typeCodes);
        if (list == QLatin1String("new"))
            Trigger(*m_fixture->Window, "New1");
        if (top > 0) {
            AddTemplates(6);
            CRecordGrid* grid = Grid(*m_fixture->Window, "grPopTemplates");
            grid->SetRow(top);
            const QModelIndex first = grid->model()->index(top - grid->FixedRows(), 1);
            const QModelIndex last = grid->model()->index(bottom - grid->FixedRows(), 1);
            grid->selectionModel()->select(QItemSelection(first, last),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        const QString path = m_fixture->Installation.Dir.filePath(QStringLiteral("range.BTP"));
        m_fixture->Prompts.FileAnswers << path;
        Trigger(*m_fixture->Window, "Exporttemplates1");
        if (typeCodes.isEmpty()) {
            QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Export failed")});
            QVERIFY(!QFile::exists(path));
            return;
        }
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());

        CBINFile copy(Records(*m_fixture->Window).Catalogue(), Records(*m_fixture->Window).Types());
        QVERIFY(copy.ImportTemplates(path));
        QList<int> codes;
        for (const CPopTemplate& tmpl : copy.Templates())
            codes << tmpl.TypeCode;
        QCOMPARE(codes, typeCodes);
    }

    void importTemplates()
    {
        TfrmMain& window = *m_fixture->Window;
        AddTemplates(1);
        // A Map BIN file serves as a template source too.
        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoCampaignFile);
        Trigger(window, "Importtemplates1");
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());
        CBINFile source(Records(window).Catalogue(), Records(window).Types());
        QVERIFY(source.Load(m_fixture->DemoFile(kDemoCampaignFile)));
        QCOMPARE(Records(window).TemplateCount(), 1 + source.TemplateCount());
        QCOMPARE(Grid(window, "grPopTemplates")->RowCount(), 2 + source.TemplateCount());

        // A failed import refills no grid.
        const int rows = Grid(window, "grPopTemplates")->RowCount();
        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Write(QStringLiteral("bad.BTP"),
                                                                        QByteArray("\xF0\xFF\xFF\xFF", 4));
        Trigger(window, "Importtemplates1");
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Import failed")});
        QCOMPARE(Grid(window, "grPopTemplates")->RowCount(), rows);
    }

    void guides()
    {
        QList<QUrl> opened;
        m_fixture->Window->SetUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        // The guide exists in this installation.
        Trigger(*m_fixture->Window, "mmOfflineGuide");
        Trigger(*m_fixture->Window, "Onlineguide1");
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened[0].isLocalFile());
        QCOMPARE(QFileInfo(opened[0].toLocalFile()).canonicalFilePath(),
                 QFileInfo(m_fixture->Installation.Environment().ProgramFolder + QStringLiteral("/guide/index.html"))
                     .canonicalFilePath());
        QCOMPARE(opened[1].scheme(), QStringLiteral("https"));
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());

        // A desktop that cannot open them (no browser) leaves the user the way to do it by hand.
        m_fixture->Window->SetUrlOpener([](const QUrl&) { return false; });
        Trigger(*m_fixture->Window, "mmOfflineGuide");
        Trigger(*m_fixture->Window, "Onlineguide1");
        const QString guide = QDir::toNativeSeparators(opened[0].toLocalFile());
        QCOMPARE(m_fixture->Prompts.Shown,
                 (QStringList{
                     QStringLiteral("message: Can't open the off-line guide. Open this file in a web browser:\n%1")
                         .arg(guide),
                     QStringLiteral("message: Can't open the on-line guide. Open this address in a web browser:\n%1")
                         .arg(QLatin1String(TfrmMain::OnlineGuideAddress))}));
    }
};

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
