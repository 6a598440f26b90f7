// Start-up of the main window against stand-in installations: the two failures and their
// messages, the installation path, the off-line guide item, the settings file, the blank window,
// the first start's window and the window the next start restores. Runs on an offscreen screen of
// 1600 x 1000 pixels.
#include "../dialogs/scriptedprompts.h"
#include "../testfiles.h"
#include "app/commandline.h"
#include "app/fileplaces.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "app/stringgrid.h"
#include "appfixture.h"
#include "catalogues/objectslist.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "mapview/mapcanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryFile>
#include <array>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void failures_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("catalogue");
        QTest::addColumn<QByteArray>("catalogueBytes");
        QTest::addColumn<QString>("message");
        const QString notInstalled = QStringLiteral("message: Skyreach improperly installed !");
        const QString noCatalogue =
            QStringLiteral("message: File stormcr\\3ddata\\bininfo.bin not found or corrupted !");
        QList<QByteArray> names;
        for (int i = 0; i < 20; ++i)
            names << "OBJECT_" + QByteArray::number(i);
        const QByteArray whole = CTestInstallation::CatalogueBytes(names);
        QTest::newRow("no key") << QByteArray() << true << whole << notInstalled;
        QTest::newRow("key without the value") << QByteArray("[General]\nPATH=/tmp\n") << true << whole << notInstalled;
        QTest::newRow("no bininfo.bin") << QByteArray("ROOT") << false << QByteArray() << noCatalogue;
        QTest::newRow("bininfo.bin cut in its header") << QByteArray("ROOT") << true << whole.left(6) << noCatalogue;
    }

    void failures()
    {
        QFETCH(QByteArray, key);
        QFETCH(bool, catalogue);
        QFETCH(QByteArray, catalogueBytes);
        QFETCH(QString, message);
        CTestInstallation installation;
        if (catalogue)
            installation.WriteCatalogueFile(catalogueBytes);
        if (key == "ROOT")
            installation.RegisterRoot();
        else if (!key.isEmpty())
            installation.Register(key);
        CScriptedPrompts prompts;
        TfrmMain window(prompts, installation.Environment());
        QVERIFY(!window.InitializeMainWindow());
        QCOMPARE(prompts.Shown, QStringList{message});
        QVERIFY(!window.isVisible());
        QVERIFY(!window.Catalogue);
        QVERIFY(!window.Document);
        QVERIFY(!QFile::exists(installation.Environment().SettingsFile));
    }

    void installationPath_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing backslash") << QByteArray("D:\\Games\\Sim\\") << "D:\\Games\\Sim";
        QTest::newRow("no trailing backslash") << QByteArray("D:\\Games\\Sim") << "D:\\Games\\Sim";
        QTest::newRow("empty") << QByteArray("") << ".";
        QTest::newRow("single backslash") << QByteArray("\\") << ".";
        QTest::newRow("trailing slash") << QByteArray("/opt/sim/") << "/opt/sim";
        QTest::newRow("root folder") << QByteArray("/") << "/";
        QTest::newRow("quoted with blanks") << QByteArray("  \"/opt/my sim\"  ") << "/opt/my sim";
    }

    void installationPath()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, expected);
        CTestInstallation installation;
        installation.Register("installation path=" + value + "\n");
        CScriptedPrompts prompts;
        TfrmMain window(prompts, installation.Environment());
        QVERIFY(window.FindInstallation());
        QCOMPARE(window.InstallationPath, expected);
    }

    void userKeyBeforeSystemKey()
    {
        CTestInstallation installation;
        installation.Register("INSTALLATION PATH=/system/sim\n", true);
        CScriptedPrompts prompts;
        TfrmMain window(prompts, installation.Environment());
        QVERIFY(window.FindInstallation());
        QCOMPARE(window.InstallationPath, QStringLiteral("/system/sim"));
        installation.Register("INSTALLATION PATH=/user/sim\n");
        QVERIFY(window.FindInstallation());
        QCOMPARE(window.InstallationPath, QStringLiteral("/user/sim"));
    }

    // Neither an empty bininfo.bin nor a settings file that cannot be written stops the start.
    void emptyCatalogueAndUnwritableSettingsStart()
    {
        CTestInstallation installation;
        installation.WriteCatalogueFile(QByteArray());
        installation.RegisterRoot();
        StartupEnvironment environment = installation.Environment();
        environment.SettingsFile = installation.Dir.filePath(QStringLiteral("no such folder/sablemap.INI"));
        CScriptedPrompts prompts;
        TfrmMain window(prompts, environment);
        QVERIFY(window.InitializeMainWindow());
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("error: Unable to write to ") + environment.SettingsFile});
        QVERIFY(window.Document);
        QVERIFY(window.isVisible());
        QCOMPARE(window.Catalogue->Count(), 0);
    }

    // A blank window, the settings file written with the default styles, and the off-line guide
    // offered in the Help menu only when it is installed.
    // The first start: most of the screen, centred, every column of the record grids in view and
    // many rows of each, the record symbols shown and the other layers off.
    void firstStartFillsMostOfTheScreen()
    {
        CTestInstallation installation;
        QString error;
        QVERIFY2(installation.WriteDemo(&error), qPrintable(error));
        installation.RegisterRoot();
        CScriptedPrompts prompts;
        TfrmMain window(prompts, installation.Environment());
        QVERIFY(window.InitializeMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(1600, 1000));
        QVERIFY2(window.width() >= 1200 && window.width() <= 1300 && window.height() >= 750 && window.height() <= 820,
                 qPrintable(QStringLiteral("%1 x %2").arg(window.width()).arg(window.height())));
        QVERIFY((window.frameGeometry().center() - screen.center()).manhattanLength() <= 4);

        QVERIFY(window.LoadBinFile(installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap)
                                   + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)));
        for (int page = 0; page < window.pcBINFile->count(); ++page) {
            window.pcBINFile->setCurrentIndex(page);
            QApplication::processEvents();
        }
        for (CStringGrid* grid :
             {window.grPopTemplates, window.grTemplateObjects, window.grKeysites, window.grAirbases, window.grSAMs}) {
            QVERIFY2(grid->horizontalHeader()->length() <= grid->viewport()->width(), qPrintable(grid->objectName()));
            QVERIFY2(grid->viewport()->height() >= 6 * grid->verticalHeader()->defaultSectionSize(),
                     qPrintable(grid->objectName()));
        }
        // The map keeps the larger part of the height.
        QVERIFY(window.pnlMap->height() > window.pnlBIN->height());

        const CMapControlColumn& column = *window.pnlMapControls;
        const std::array<QCheckBox*, 8> boxes = {column.chbKeysites, column.chbAirbases, column.chbSAMs,
                                                 column.chbGrid,     column.chbRoads,    column.chbRivers,
                                                 column.chbUtils,    column.chbBorders};
        QList<bool> ticked;
        for (QCheckBox* box : boxes)
            ticked << box->isChecked();
        QCOMPARE(ticked, (QList<bool>{true, true, true, false, false, false, false, false}));
    }

    // A later start comes back as the last one closed: geometry, splitters, page, layers, and the
    // map (once the named files are open, and only when none of them chose one) with its mode.
    void laterStartsRestoreTheWindow()
    {
        CTestInstallation installation;
        QString error;
        QVERIFY2(installation.WriteDemo(&error), qPrintable(error));
        installation.RegisterRoot();
        const QString maps = installation.Root() + QStringLiteral("/common/maps/");
        const QString factionFile =
            maps + QLatin1String(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(kDemoFactionFile);
        CScriptedPrompts prompts;
        QRect geometry;
        QList<int> mapSplit;
        QList<int> templateSplit;
        {
            TfrmMain first(prompts, installation.Environment());
            QVERIFY(first.InitializeMainWindow());
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            first.setGeometry(120, 90, 1100, 720);
            first.Splitter2->setSizes({300, 380});
            first.Splitter3->setSizes({200, 120});
            first.pcBINFile->setCurrentIndex(2);
            first.pnlMapControls->chbSAMs->setChecked(false);
            first.pnlMapControls->chbGrid->setChecked(true);
            first.pnlMapControls->chbRivers->setChecked(true);
            first.OpenNamedMap(QLatin1String(kDemoSecondMap));
            first.OpenFactionFile(factionFile);
            QVERIFY(first.pnlMapControls->rbMapModeFactions->isChecked());
            QApplication::processEvents();
            geometry = first.geometry();
            mapSplit = first.Splitter2->sizes();
            templateSplit = first.Splitter3->sizes();
            QVERIFY(first.close());
        }

        TfrmMain second(prompts, installation.Environment());
        QVERIFY(second.InitializeMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.geometry(), geometry);
        QCOMPARE(second.Splitter2->sizes(), mapSplit);
        QCOMPARE(second.Splitter3->sizes(), templateSplit);
        QCOMPARE(second.pcBINFile->currentIndex(), 2);
        const CMapControlColumn& column = *second.pnlMapControls;
        QVERIFY(!column.chbSAMs->isChecked() && column.chbKeysites->isChecked() && column.chbGrid->isChecked()
                && column.chbRivers->isChecked() && !column.chbRoads->isChecked());
        // The remembered files live beside the window's memory.
        QCOMPARE(second.FilePlaces->RecentFiles().size(), 1);
        // The map waits for the files named at start-up; without a faction layer, Heights it is.
        QVERIFY(!second.MapCanvas->HasMap());
        second.RestoreRememberedMap();
        QVERIFY(second.MapFolder.contains(QLatin1String(kDemoSecondMap)));
        QVERIFY(column.rbMapModeHeights->isChecked());
        QVERIFY(prompts.Shown.isEmpty());
    }

    // The remembered map gives way to one the command line's files chose, comes back in Factions
    // mode with a faction layer, and is passed over in silence once its folder has gone.
    void rememberedMapAndTheCommandLine_data()
    {
        QTest::addColumn<bool>("factionsOnCommandLine");
        QTest::addColumn<bool>("mapGone");
        QTest::addColumn<QString>("map");
        QTest::addColumn<bool>("factionsMode");
        QTest::newRow("faction file from another map") << true << false << QString(kDemoFirstMap) << true;
        QTest::newRow("nothing named") << false << false << QString(kDemoSecondMap) << false;
        QTest::newRow("its folder gone") << false << true << QString() << false;
    }

    void rememberedMapAndTheCommandLine()
    {
        QFETCH(bool, factionsOnCommandLine);
        QFETCH(bool, mapGone);
        QFETCH(QString, map);
        QFETCH(bool, factionsMode);
        CTestInstallation installation;
        QString error;
        QVERIFY2(installation.WriteDemo(&error), qPrintable(error));
        installation.RegisterRoot();
        const QString maps = installation.Root() + QStringLiteral("/common/maps/");
        const QString factionFile =
            maps + QLatin1String(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(kDemoFactionFile);
        CScriptedPrompts prompts;
        {
            TfrmMain first(prompts, installation.Environment());
            QVERIFY(first.InitializeMainWindow());
            first.OpenNamedMap(QLatin1String(kDemoSecondMap));
            first.OpenFactionFile(factionFile);
            QVERIFY(first.close());
        }
        if (mapGone)
            QVERIFY(QDir(maps + QLatin1String(kDemoSecondMap)).removeRecursively());

        TfrmMain second(prompts, installation.Environment());
        QVERIFY(second.InitializeMainWindow());
        QStringList arguments{QStringLiteral("sablemap")};
        if (factionsOnCommandLine)
            arguments << QStringLiteral("--factions") << factionFile;
        second.OpenCommandLine(ParseCommandLine(arguments));
        second.RestoreRememberedMap();
        QCOMPARE(prompts.Shown, QStringList());
        QCOMPARE(second.MapFolder.isEmpty(), map.isEmpty());
        if (!map.isEmpty())
            QVERIFY(second.MapFolder.contains(map));
        QCOMPARE(second.pnlMapControls->rbMapModeFactions->isChecked(), factionsMode);
    }

    void windowStartsBlank_data()
    {
        QTest::addColumn<bool>("guide");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("guide present") << true << QStringList{"Off-line guide", "On-line guide", "About"};
        QTest::newRow("guide missing") << false << QStringList{"On-line guide", "About"};
    }

    void windowStartsBlank()
    {
        QFETCH(bool, guide);
        QFETCH(QStringList, items);
        CTestInstallation installation;
        installation.WriteCatalogue({"alpha", "bravo"});
        installation.RegisterRoot();
        CScriptedPrompts prompts;
        TfrmMain window(prompts, installation.Environment(guide));
        QVERIFY(window.InitializeMainWindow());
        QStringList shown;
        for (QAction* action : window.Help1->actions())
            shown << action->text().remove(QLatin1Char('&'));
        QCOMPARE(shown, items);
        QCOMPARE(window.mmOfflineGuide != nullptr, guide);
        QVERIFY(prompts.Shown.isEmpty());
        QVERIFY(window.isVisible());
        QCOMPARE(window.Catalogue->Count(), 2);
        QVERIFY(ReadFile(installation.Environment().SettingsFile).contains("[Keysite symbol]"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Sablemap"));
        QVERIFY(window.im->pixmap().isNull());
        for (CStringGrid* grid :
             {window.grPopTemplates, window.grTemplateObjects, window.grKeysites, window.grAirbases, window.grSAMs}) {
            QCOMPARE(grid->RowCount(), 1);
            QCOMPARE(grid->ColCount(), 1);
            QCOMPARE(grid->FixedRows(), 0);
            QCOMPARE(grid->Row(), 0);
        }
        const QString maps = installation.Root() + QStringLiteral("/common/maps/");
        for (const FileDialogRequest* dialog : {&window.OpenDialogBIN, &window.SaveDialogBIN, &window.OpenDialogSID,
                                                &window.SaveDialogSID, &window.OpenDialogBTP, &window.SaveDialogBTP})
            QCOMPARE(dialog->Folder, maps);
        QVERIFY(window.pnlMapControls->rbMapModeHeights->isChecked());
        QCOMPARE(window.pcBINFile->currentIndex(), 0);
        QCOMPARE(window.pnlMapControls->width(), 90);
    }
};

int main(int argc, char** argv)
{
    // A desktop-sized screen, so that the first start's share of it is a real window.
    QTemporaryFile screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.open()) {
        screens.write(R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1600, "height": 1000,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
