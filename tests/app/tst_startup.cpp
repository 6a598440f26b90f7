// Start-up of the main window against stand-in installations: the two failures and their
// messages, the installation path, the off-line guide item, the settings file and the blank window.
#include "../dialogs/scriptedprompts.h"
#include "../testfiles.h"
#include "app/mapcontrolcolumn.h"
#include "app/mapimage.h"
#include "app/stringgrid.h"
#include "appfixture.h"
#include "catalogues/objectslist.h"

#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>

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

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
