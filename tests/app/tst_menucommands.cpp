// The menu commands around files: the six file dialogs, Save and Save As of both documents with
// the title they leave, loads and saves that fail, the faction layer, template export ranges and
// import, and the guides.
#include "../dialogs/scriptedprompts.h"
#include "app/editcommands.h"
#include "app/edithistory.h"
#include "maparea/mapcontrolcolumn.h"
#include "app/stringgrid.h"
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

class TestMenuCommands : public QObject {
    Q_OBJECT
private:
    void AddTemplates(int count)
    {
        std::vector<CPopTemplate> templates(static_cast<size_t>(count));
        for (int t = 0; t < count; ++t)
            templates[size_t(t)].TypeCode = t + 1;
        m_fixture->Window->Document->InsertRows(m_fixture->Window->Document->TemplateCount(), std::move(templates));
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
    void EditBin() { m_fixture->Window->btnSAMAddClick(); }
    void PaintFirstSector()
    {
        TfrmMain& window = *m_fixture->Window;
        const int faction = window.Factions->GetFaction(0, 0) == 0 ? 1 : 0;
        window.History->Push(CEditHistory::Factions, new CFactionPaint(*window.Factions, 0, 0, 0, 0, faction, [] {}));
    }

    // What a document writes as it is now, by its own writer.
    QByteArray Saves(bool factions)
    {
        TfrmMain& window = *m_fixture->Window;
        if (!factions)
            return window.Document->SaveBytes(true);
        const QString probe = m_fixture->Installation.Dir.filePath(QStringLiteral("probe.SID"));
        return window.Factions->SaveToFile(probe) ? ReadFile(probe) : QByteArray();
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
            window.Loadfactions1Click();
        }
        const qsizetype before = m_fixture->Prompts.FileDialogs.size();
        QAction* action = command == QLatin1String("load") ? window.Load1
            : command == QLatin1String("load factions")    ? window.Loadfactions1
            : command == QLatin1String("save factions as") ? window.Savefactionassignmentas1
            : command == QLatin1String("import")           ? window.Importtemplates1
                                                           : window.Exporttemplates1;
        action->trigger(); // cancelled: nothing else happens
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
        QVERIFY(window.LoadBinFile(good));
        const int keysites = window.Document->KeysiteCount();
        QVERIFY(keysites > 0);
        const QStringList row = window.grKeysites->Cells(1);
        // A template count that promises far more than the file holds.
        m_fixture->Installation.Write(QStringLiteral("damaged.BIN"), QByteArray("\x05\x00\x00\x00\x01", 5));
        const QString big = m_fixture->Installation.Write(QStringLiteral("big.BIN"), QByteArray());
        QVERIFY(QFile::resize(big, FileLimits::MapBin.Bytes + 1));

        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Dir.filePath(file);
        window.Load1Click();
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Open failed")});
        QCOMPARE(window.Document->KeysiteCount(), keysites);
        QCOMPARE(window.grKeysites->Cells(1), row);
        QCOMPARE(window.BinFilePath, good);
        if (file == QLatin1String("big.BIN")) // the reason is given beside the message
            QVERIFY2(m_fixture->Prompts.Details.first().startsWith(big + QStringLiteral(": the file is ")),
                     qPrintable(m_fixture->Prompts.Details.first()));
    }

    void failedFactionLoadKeepsLayer()
    {
        TfrmMain& window = *m_fixture->Window;
        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile);
        window.Loadfactions1Click();
        QVERIFY(window.Factions);
        CFactionsInfo* layer = window.Factions.get();
        const int faction = layer->GetFaction(0, 0);
        QVERIFY(layer->SetFaction(faction == 0 ? 1 : 0, 0, 0)); // painted, not yet saved
        window.pnlMapControls->rbMapModeHeights->setChecked(true);

        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Write(QStringLiteral("broken.SID"),
                                                                        QByteArray("8BPS but nothing more"));
        window.Loadfactions1Click();
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Open failed")});
        QCOMPARE(window.Factions.get(), layer);
        QCOMPARE(layer->GetFaction(0, 0), faction == 0 ? 1 : 0);
        QVERIFY(window.pnlMapControls->rbMapModeHeights->isChecked());
    }

    void saveFactionsNeedsALayer()
    {
        const QString out = m_fixture->Installation.Dir.filePath(QStringLiteral("out.SID"));
        m_fixture->Prompts.FileAnswers << out << out;
        m_fixture->Window->Savefactionassignment1Click();
        m_fixture->Window->Savefactionassignmentas1Click();
        QVERIFY(m_fixture->Prompts.FileDialogs.isEmpty()); // so nothing was written either
        QVERIFY(!QFile::exists(out));
        m_fixture->Prompts.FileAnswers.clear();

        // With a layer the file is written, and reads back with the same factions.
        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile) << out;
        m_fixture->Window->Loadfactions1Click();
        m_fixture->Window->Savefactionassignmentas1Click();
        QCOMPARE(m_fixture->Prompts.Shown, QStringList());
        CFactionsInfo copy;
        QVERIFY(copy.LoadFromFile(out));
        QCOMPARE(copy.GetFaction(3, 2), m_fixture->Window->Factions->GetFaction(3, 2));
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
            window.OpenFactionFile(file);
            PaintFirstSector();
        } else if (document == QLatin1String("loaded")) {
            window.OpenBinFile(file);
            EditBin();
        } else {
            // A new document asks once, proposing no name of another file.
            window.OpenBinFile(file);
            window.New1Click();
            EditBin();
            file = m_fixture->Installation.Dir.filePath(QStringLiteral("new.BIN"));
            prompts.FileAnswers << file;
            window.Save1->trigger();
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

        (factions ? window.Savefactionassignment1 : window.Save1)->trigger();
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
        QAction* saveAs = factions ? window.Savefactionassignmentas1 : window.SaveAs1;
        QAction* save = factions ? window.Savefactionassignment1 : window.Save1;
        const auto edit = [&] { factions ? PaintFirstSector() : EditBin(); };
        if (factions)
            window.OpenFactionFile(original);
        else
            window.OpenBinFile(original);
        edit();

        saveAs->trigger(); // cancelled: nothing is written and the work stays unsaved
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
        saveAs->trigger();
        QCOMPARE(ReadFile(other), Saves(factions));
        QVERIFY(!window.isWindowModified());
        QCOMPARE(window.windowTitle(), QFileInfo(other).fileName() + QStringLiteral(" — Sablemap"));

        // From now on Save writes the file chosen, and the question names it.
        edit();
        save->trigger();
        QCOMPARE(prompts.FileDialogs.size(), 2);
        QCOMPARE(ReadFile(other), Saves(factions));
        QCOMPARE(ReadFile(original), originalBytes);
        edit();
        prompts.AskAnswers << QMessageBox::Cancel;
        window.close();
        QCOMPARE(prompts.Shown,
                 QStringList{QStringLiteral("ask: Save changes to %1?").arg(QFileInfo(other).fileName())});
        QCOMPARE(window.SaveAs1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
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
            {[&] { window.OpenBinFile(m_fixture->DemoFile(kDemoCampaignFile)); }, title({bin})},
            {[&] { window.OpenFactionFile(m_fixture->DemoFile(kDemoFactionFile)); }, title({bin, sid})},
            {[&] { PaintFirstSector(); }, title({bin, sid + QLatin1Char('*')})},
            {[&] { EditBin(); }, title({bin + QLatin1Char('*'), sid + QLatin1Char('*')})},
            // The Map BIN file saved: only the faction layer is still unsaved.
            {[&] { window.Save1->trigger(); }, title({bin, sid + QLatin1Char('*')})},
            {[&] { window.Savefactionassignment1->trigger(); }, title({bin, sid})},
            {[&] { window.Undo1->trigger(); }, title({bin + QLatin1Char('*'), sid})},
            {[&] { window.New1->trigger(); }, title({sid})}, // the undone edit is discarded
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
        window.OpenBinFile(CopyOfDemo(kDemoCampaignFile, QStringLiteral("odd[*].BIN")));
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
            window.OpenFactionFile(file);
            PaintFirstSector();
        } else {
            window.OpenBinFile(file);
            if (command == QLatin1String("save new"))
                window.New1Click();
            EditBin();
        }
        QString& documentPath = factions ? window.FactionFilePath : window.BinDocumentPath;
        const QString path = documentPath;
        QVERIFY(QDir(gone).removeRecursively());
        QString target = file;
        if (command == QLatin1String("save as") || command == QLatin1String("save new")) {
            target = m_fixture->Installation.Dir.filePath(QStringLiteral("missing/chosen.BIN"));
            prompts.FileAnswers << target;
        }

        if (factions)
            window.Savefactionassignment1->trigger();
        else
            (command == QLatin1String("save as") ? window.SaveAs1 : window.Save1)->trigger();
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: Save failed")});
        QVERIFY2(prompts.Details.first().startsWith(target + QStringLiteral(": ")),
                 qPrintable(prompts.Details.first()));
        QVERIFY(window.isWindowModified());
        QVERIFY(window.windowTitle().split(QStringLiteral(" — ")).contains(marked));
        QCOMPARE(documentPath, path); // a failed Save As does not rename the document
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
        QTest::newRow("grid never filled") << "" << 0 << 0 << QList<int>{};
        QTest::newRow("empty list, its blank row selected") << "new" << 0 << 0 << QList<int>{};
    }

    void exportRange()
    {
        QFETCH(QString, list);
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(QList<int>, typeCodes);
        if (list == QLatin1String("new"))
            m_fixture->Window->New1Click();
        if (top > 0) {
            AddTemplates(6);
            CStringGrid* grid = m_fixture->Window->grPopTemplates;
            grid->SetRow(top);
            const QModelIndex first = grid->model()->index(top - grid->FixedRows(), 1);
            const QModelIndex last = grid->model()->index(bottom - grid->FixedRows(), 1);
            grid->selectionModel()->select(QItemSelection(first, last),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        const QString path = m_fixture->Installation.Dir.filePath(QStringLiteral("range.BTP"));
        m_fixture->Prompts.FileAnswers << path;
        m_fixture->Window->Exporttemplates1Click();
        if (typeCodes.isEmpty()) {
            QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Export failed")});
            QVERIFY(!QFile::exists(path));
            return;
        }
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());

        CBINFile copy(m_fixture->Window->Catalogue.get(), m_fixture->Window->TemplateTypes.get());
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
        window.Importtemplates1Click();
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());
        CBINFile source(window.Catalogue.get(), window.TemplateTypes.get());
        QVERIFY(source.Load(m_fixture->DemoFile(kDemoCampaignFile)));
        QCOMPARE(window.Document->TemplateCount(), 1 + source.TemplateCount());
        QCOMPARE(window.grPopTemplates->RowCount(), 2 + source.TemplateCount());

        // A failed import refills no grid.
        const int rows = window.grPopTemplates->RowCount();
        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Write(QStringLiteral("bad.BTP"),
                                                                        QByteArray("\xF0\xFF\xFF\xFF", 4));
        window.Importtemplates1Click();
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("message: Import failed")});
        QCOMPARE(window.grPopTemplates->RowCount(), rows);
    }

    void guides()
    {
        QList<QUrl> opened;
        m_fixture->Window->OpenUrl = [&opened](const QUrl& url) {
            opened << url;
            return true;
        };
        QVERIFY(m_fixture->Window->mmOfflineGuide); // the guide exists in this installation
        m_fixture->Window->mmOfflineGuide->trigger();
        m_fixture->Window->Onlineguide1->trigger();
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened[0].isLocalFile());
        QCOMPARE(QFileInfo(opened[0].toLocalFile()).canonicalFilePath(),
                 QFileInfo(m_fixture->Installation.Environment().ProgramFolder + QStringLiteral("/guide/index.html"))
                     .canonicalFilePath());
        QCOMPARE(opened[1].scheme(), QStringLiteral("https"));
        QVERIFY(m_fixture->Prompts.Shown.isEmpty());

        // A desktop that cannot open them (no browser) leaves the user the way to do it by hand.
        m_fixture->Window->OpenUrl = [](const QUrl&) { return false; };
        m_fixture->Window->mmOfflineGuide->trigger();
        m_fixture->Window->Onlineguide1->trigger();
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
