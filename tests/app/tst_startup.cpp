// Start-up of the main window against stand-in installations: the two failures and their
// messages, the installation path, the off-line guide item, the settings file, the blank window,
// the first start's window and the window the next start restores. Runs on an offscreen screen of
// 1600 x 1000 pixels.
#include "../dialogs/scriptedprompts.h"
#include "../testfiles.h"
#include "app/commandline.h"
#include "app/fileplaces.h"
#include "appfixture.h"
#include "catalogues/objectslist.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "maparea/mapimage.h"
#include "platform/filepaths.h"

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
#include <QToolButton>
#include <array>

namespace {

// The folder a file dialog opens in before any has been used: the installation's common\maps.
QString MapsFolderOffered(const TfrmMain& window, CScriptedPrompts& prompts)
{
    Trigger(window, "Load1"); // cancelled
    return prompts.FileDialogs.isEmpty() ? QString() : prompts.FileDialogs.last().Folder;
}

// The entries of the recent files menu, as it shows them when opened.
QStringList RecentEntries(const TfrmMain& window)
{
    QMenu* menu = Find<QMenu>(window, "mmRecentFiles");
    emit menu->aboutToShow();
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return entries;
}

const char* const kRecordGrids[] = {"grPopTemplates", "grTemplateObjects", "grKeysites", "grAirbases", "grSAMs"};

} // namespace

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
        QVERIFY(!window.Session());
        QVERIFY(!window.Files());
        QVERIFY(!QFile::exists(installation.Environment().SettingsFile));
    }

    // The installation folder as the key gives it, with one trailing separator dropped and an
    // empty value taken for the current folder: the object list is found there, and the file
    // dialogs open in its common\maps. The installation is "my sim" in the test's folder; ABS is
    // its whole path, and a relative value is taken from the current folder (the test's, or the
    // installation itself where `inside`).
    void installationPath_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("inside");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing backslash") << QByteArray("my sim\\") << false << "my sim";
        QTest::newRow("no trailing backslash") << QByteArray("my sim") << false << "my sim";
        QTest::newRow("empty") << QByteArray("") << true << ".";
        QTest::newRow("single backslash") << QByteArray("\\") << true << ".";
        QTest::newRow("trailing slash") << QByteArray("ABS/") << false << "ABS";
        QTest::newRow("quoted with blanks") << QByteArray("  \"ABS\"  ") << false << "ABS";
    }

    void installationPath()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, inside);
        QFETCH(QString, expected);
        CTestInstallation installation;
        const QString root = installation.Dir.filePath(QStringLiteral("my sim"));
        installation.Write(QStringLiteral("my sim/stormcr/3ddata/bininfo.bin"),
                           CTestInstallation::CatalogueBytes({"A"}));
        QVERIFY(QDir().mkpath(root + QStringLiteral("/common/maps")));
        installation.Register("installation path=" + value.replace("ABS", QFile::encodeName(root)) + "\n");
        expected.replace(QStringLiteral("ABS"), root);
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(inside ? root : installation.Dir.path()));
        CScriptedPrompts prompts;
        TfrmMain window(prompts, installation.Environment());
        const bool started = window.InitializeMainWindow();
        const QString offered = started ? MapsFolderOffered(window, prompts) : QString();
        QDir::setCurrent(current);
        QCOMPARE(prompts.Shown, QStringList());
        QVERIFY(started);
        QCOMPARE(offered, JoinPath(expected, QStringLiteral("common\\maps\\")));
    }

    void userKeyBeforeSystemKey()
    {
        CTestInstallation installation;
        for (const char* folder : {"system", "user"}) {
            installation.Write(QLatin1String(folder) + QStringLiteral("/stormcr/3ddata/bininfo.bin"),
                               CTestInstallation::CatalogueBytes({"A"}));
        }
        const QByteArray folder = QFile::encodeName(installation.Dir.path());
        installation.Register("INSTALLATION PATH=" + folder + "/system\n", true);
        CScriptedPrompts prompts;
        {
            TfrmMain window(prompts, installation.Environment());
            QVERIFY(window.InitializeMainWindow());
            QCOMPARE(MapsFolderOffered(window, prompts),
                     installation.Dir.filePath(QStringLiteral("system/common/maps/")));
        }
        installation.Register("INSTALLATION PATH=" + folder + "/user\n");
        TfrmMain window(prompts, installation.Environment());
        QVERIFY(window.InitializeMainWindow());
        QCOMPARE(MapsFolderOffered(window, prompts), installation.Dir.filePath(QStringLiteral("user/common/maps/")));
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
        QVERIFY(window.Session());
        QVERIFY(window.isVisible());
        QCOMPARE(Records(window).Catalogue()->Count(), 0);
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

        QVERIFY(window.Files()->LoadBinFile(installation.Root() + QStringLiteral("/common/maps/")
                                            + QLatin1String(kDemoFirstMap) + QLatin1Char('/')
                                            + QLatin1String(kDemoCampaignFile)));
        for (int page = 0; page < Pages(window)->count(); ++page) {
            Pages(window)->setCurrentIndex(page);
            QApplication::processEvents();
        }
        for (const char* name : kRecordGrids) {
            const CRecordGrid* grid = Grid(window, name);
            QVERIFY2(grid->horizontalHeader()->length() <= grid->viewport()->width(), qPrintable(grid->objectName()));
            QVERIFY2(grid->viewport()->height() >= 6 * grid->verticalHeader()->defaultSectionSize(),
                     qPrintable(grid->objectName()));
        }
        // The map keeps the larger part of the height.
        QVERIFY(window.MapArea()->height() > Find<QWidget>(window, "pnlBIN")->height());

        QList<bool> ticked;
        for (const char* box :
             {"chbKeysites", "chbAirbases", "chbSAMs", "chbGrid", "chbRoads", "chbRivers", "chbUtils", "chbBorders"})
            ticked << Find<QCheckBox>(window, box)->isChecked();
        QCOMPARE(ticked, (QList<bool>{true, true, true, false, false, false, false, false}));
    }

    // A later start comes back as the last one closed: geometry, splitters, page, layers and their
    // padlocks, and the map (once the named files are open, and only when none of them chose one)
    // with its mode.
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
            Find<QSplitter>(first, "Splitter2")->setSizes({300, 380});
            Find<QSplitter>(first, "Splitter3")->setSizes({200, 120});
            Pages(first)->setCurrentIndex(2);
            Find<QCheckBox>(first, "chbSAMs")->setChecked(false);
            Find<QCheckBox>(first, "chbGrid")->setChecked(true);
            Find<QCheckBox>(first, "chbRivers")->setChecked(true);
            QTest::mouseClick(Find<QToolButton>(first, "tbLockAirbases"), Qt::LeftButton);
            first.OpenNamedMap(QLatin1String(kDemoSecondMap));
            first.Files()->OpenFactionFile(factionFile);
            QVERIFY(Find<QRadioButton>(first, "rbMapModeFactions")->isChecked());
            QApplication::processEvents();
            geometry = first.geometry();
            mapSplit = Find<QSplitter>(first, "Splitter2")->sizes();
            templateSplit = Find<QSplitter>(first, "Splitter3")->sizes();
            QVERIFY(first.close());
        }

        TfrmMain second(prompts, installation.Environment());
        QVERIFY(second.InitializeMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.geometry(), geometry);
        QCOMPARE(Find<QSplitter>(second, "Splitter2")->sizes(), mapSplit);
        QCOMPARE(Find<QSplitter>(second, "Splitter3")->sizes(), templateSplit);
        QCOMPARE(Pages(second)->currentIndex(), 2);
        const auto ticked = [&second](const char* box) { return Find<QCheckBox>(second, box)->isChecked(); };
        QVERIFY(!ticked("chbSAMs") && ticked("chbKeysites") && ticked("chbGrid") && ticked("chbRivers")
                && !ticked("chbRoads"));
        const auto locked = [&second](const char* lock) { return Find<QToolButton>(second, lock)->isChecked(); };
        QVERIFY(locked("tbLockAirbases") && !locked("tbLockKeysites") && !locked("tbLockSams"));
        // The remembered files live beside the window's memory.
        const QStringList recent = RecentEntries(second);
        QCOMPARE(recent.size(), 3); // the faction file, then the separator and Clear the list
        QVERIFY(recent.first().startsWith(QStringLiteral("&1 ")));
        // The map waits for the files named at start-up; without a faction layer, Heights it is.
        QVERIFY(!second.MapArea()->HasMap());
        second.RestoreRememberedMap();
        QVERIFY(second.MapArea()->MapFolder().contains(QLatin1String(kDemoSecondMap)));
        QVERIFY(Find<QRadioButton>(second, "rbMapModeHeights")->isChecked());
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
            first.Files()->OpenFactionFile(factionFile);
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
        QCOMPARE(second.MapArea()->MapFolder().isEmpty(), map.isEmpty());
        if (!map.isEmpty())
            QVERIFY(second.MapArea()->MapFolder().contains(map));
        QCOMPARE(Find<QRadioButton>(second, "rbMapModeFactions")->isChecked(), factionsMode);
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
        for (QAction* action : Find<QMenu>(window, "Help1")->actions())
            shown << action->text().remove(QLatin1Char('&'));
        QCOMPARE(shown, items);
        QCOMPARE(window.findChild<QAction*>(QStringLiteral("mmOfflineGuide")) != nullptr, guide);
        QVERIFY(prompts.Shown.isEmpty());
        QVERIFY(window.isVisible());
        QCOMPARE(Records(window).Catalogue()->Count(), 2);
        QVERIFY(ReadFile(installation.Environment().SettingsFile).contains("[Keysite symbol]"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Sablemap"));
        QApplication::processEvents();
        QVERIFY(Find<CMapImage>(window, "im")->pixmap().isNull());
        for (const char* name : kRecordGrids) {
            const CRecordGrid* grid = Grid(window, name);
            QCOMPARE(grid->RowCount(), 1);
            QCOMPARE(grid->ColCount(), 1);
            QCOMPARE(grid->FixedRows(), 0);
            QCOMPARE(grid->Row(), 0);
        }
        const QString maps = installation.Root() + QStringLiteral("/common/maps/");
        // Every file dialog that opens without a layer (all cancelled).
        for (const char* command : {"Load1", "SaveAs1", "Loadfactions1", "Importtemplates1", "Exporttemplates1"})
            Trigger(window, command);
        QCOMPARE(prompts.FileDialogs.size(), 5);
        for (const FileDialogRequest& dialog : std::as_const(prompts.FileDialogs))
            QCOMPARE(dialog.Folder, maps);
        QVERIFY(prompts.Shown.isEmpty());
        QVERIFY(Find<QRadioButton>(window, "rbMapModeHeights")->isChecked());
        QCOMPARE(Pages(window)->currentIndex(), 0);
        QCOMPARE(Find<QWidget>(window, "pnlMapControls")->width(), 90);
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
