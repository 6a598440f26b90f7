// The menu commands around files: the six file dialogs, loads that fail, the faction layer,
// template export ranges and import, and the guides.
#include "../dialogs/scriptedprompts.h"
#include "app/mapcontrolcolumn.h"
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
        QTest::newRow("save factions") << "save factions"
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
        if (command == QLatin1String("save factions")) {
            m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile);
            window.Loadfactions1Click();
        }
        const qsizetype before = m_fixture->Prompts.FileDialogs.size();
        QAction* action = command == QLatin1String("load") ? window.Load1
            : command == QLatin1String("load factions")    ? window.Loadfactions1
            : command == QLatin1String("save factions")    ? window.Savefactionassignment1
            : command == QLatin1String("import")           ? window.Importtemplates1
                                                           : window.Exporttemplates1;
        action->trigger(); // cancelled: nothing else happens
        QCOMPARE(m_fixture->Prompts.FileDialogs.size(), before + 1);
        const FileDialogRequest& request = m_fixture->Prompts.FileDialogs.last();
        QCOMPARE(request.Title, title);
        QCOMPARE(request.Filters, filters);
        QCOMPARE(request.DefaultSuffix, suffix);
        // At first in the maps folder; after a faction file was loaded, where it was.
        const QString folder = command == QLatin1String("save factions")
            ? QFileInfo(m_fixture->DemoFile(kDemoFactionFile)).path()
            : m_fixture->Installation.Root() + QStringLiteral("/common/maps");
        QCOMPARE(QDir(request.Folder).canonicalPath(), QDir(folder).canonicalPath());
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
        m_fixture->Prompts.FileAnswers << m_fixture->Installation.Dir.filePath(QStringLiteral("out.SID"));
        m_fixture->Window->Savefactionassignment1Click();
        QVERIFY(m_fixture->Prompts.FileDialogs.isEmpty()); // so nothing was written either
        m_fixture->Prompts.FileAnswers.clear();

        // With a layer the file is written, and reads back with the same factions.
        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoFactionFile)
                                       << m_fixture->Installation.Dir.filePath(QStringLiteral("out.SID"));
        m_fixture->Window->Loadfactions1Click();
        m_fixture->Window->Savefactionassignment1Click();
        QCOMPARE(m_fixture->Prompts.Shown, QStringList());
        CFactionsInfo copy;
        QVERIFY(copy.LoadFromFile(m_fixture->Installation.Dir.filePath(QStringLiteral("out.SID"))));
        QCOMPARE(copy.GetFaction(3, 2), m_fixture->Window->Factions->GetFaction(3, 2));
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
