// The editor on a Linux desktop: started on a Wine prefix or a named installation, files and a map
// given on the command line, files dropped on the window, recent files and the folders of the file
// dialogs kept across restarts in the person's configuration.
#include "../dialogs/scriptedprompts.h"
#include "app/commandline.h"
#include "app/fileplaces.h"
#include "appfixture.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "document/binfile.h"
#include "maparea/mapimage.h"

#include <QMenu>
#include <QMimeData>
#include <QRadioButton>

namespace {

// The folder a file dialog opens in before any has been used: the installation's common/maps.
QString MapsFolderOffered(const TfrmMain& window, CScriptedPrompts& prompts)
{
    Trigger(window, "Load1"); // cancelled
    return prompts.FileDialogs.isEmpty() ? QString() : prompts.FileDialogs.last().Folder;
}

// Whether the map comes to show a picture (it repaints on a later turn of the event loop).
bool MapShown(const TfrmMain& window)
{
    const CMapImage* image = Find<CMapImage>(window, "im");
    return QTest::qWaitFor([image] { return !image->pixmap().isNull(); });
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private:
    QString Demo(const char* name) const
    {
        return m_demo.filePath(QStringLiteral("common/maps/") + QLatin1String(kDemoFirstMap) + QLatin1Char('/')
                               + QLatin1String(name));
    }
    // A window started on the demonstration installation (a start that fails ends the test program).
    std::unique_ptr<TfrmMain> Start(const QString& installation = QString());
    // The recent files menu as it shows when opened.
    QStringList RecentEntries(TfrmMain& window)
    {
        QMenu* menu = Find<QMenu>(window, "mmRecentFiles");
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return entries;
    }

    QTemporaryDir m_demo; // one demonstration installation, only read, for every test
    std::unique_ptr<CTestInstallation> m_installation;
    std::unique_ptr<CScriptedPrompts> m_prompts;
private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(WriteDemoInstallation(m_demo.path(), nullptr, &error), qPrintable(error));
    }

    void init()
    {
        m_installation = std::make_unique<CTestInstallation>();
        m_prompts = std::make_unique<CScriptedPrompts>();
    }

    void cleanup()
    {
        m_prompts.reset();
        m_installation.reset();
    }

    void startsFromWinePrefix()
    {
        // No key file anywhere: only a Wine prefix whose registry names C:\Games\Skyreach\.
        const QString prefix = m_installation->Home() + QStringLiteral("/.wine");
        QDir().mkpath(prefix + QStringLiteral("/drive_c/Games"));
        QVERIFY(QFile::link(m_demo.path(), prefix + QStringLiteral("/drive_c/Games/Skyreach")));
        QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
        QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:")));
        m_installation->Write(
            QStringLiteral("home/.wine/system.reg"),
            "WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Quillfeather\\\\Stormcrest] 1700000000\n"
            "\"INSTALLATION PATH\"=\"C:\\\\games\\\\skyreach\\\\\"\n");

        TfrmMain window(*m_prompts, m_installation->Environment());
        QVERIFY(window.InitializeMainWindow());
        QCOMPARE(m_prompts->Shown, QStringList());
        QCOMPARE(MapsFolderOffered(window, *m_prompts),
                 QDir(prefix).canonicalPath() + QStringLiteral("/drive_c/Games/Skyreach/common/maps/"));
        window.OpenNamedMap(QLatin1String(kDemoFirstMap));
        QVERIFY(MapShown(window));
    }

    void installationOption()
    {
        // The key file names a folder without the simulator; --installation names the real one.
        m_installation->Register("INSTALLATION PATH=/nowhere\n");
        std::unique_ptr<TfrmMain> window = Start(m_demo.path());
        QCOMPARE(MapsFolderOffered(*window, *m_prompts), m_demo.path() + QStringLiteral("/common/maps/"));
    }

    void informationRequests()
    {
        QString answer;
        QVERIFY(!AnswerInformationRequest({QStringLiteral("sablemap"), QStringLiteral("x.BIN")}, answer));
        // Answered even beside a mistake, as other programs do.
        QVERIFY(AnswerInformationRequest({QStringLiteral("sablemap"), QStringLiteral("--frob"), QStringLiteral("-h")},
                                         answer));
        for (const char* option : {"--factions <FILE>", "--map <NAME>", "--installation <DIR>", "--version"})
            QVERIFY2(answer.contains(QLatin1String(option)), option);
    }

    void commandLine()
    {
        std::unique_ptr<TfrmMain> window = Start();
        const CommandLine line =
            ParseCommandLine({QStringLiteral("sablemap"), Demo(kDemoCampaignFile), QStringLiteral("--map"),
                              QStringLiteral("MAP_SABLE_COAST"), QStringLiteral("--factions"), Demo(kDemoFactionFile)});
        QVERIFY(line.Problems.isEmpty());
        window->OpenCommandLine(line);
        QCOMPARE(m_prompts->Shown, QStringList());
        QVERIFY(window->MapArea()->MapFolder().contains(QLatin1String(kDemoFirstMap)));
        QCOMPARE(window->Session()->MapBinPath(), Demo(kDemoCampaignFile));
        QVERIFY(Records(*window).KeysiteCount() > 0);
        QVERIFY(window->Session()->Factions());
        QVERIFY(!window->MapArea()->State().Factions);
        QVERIFY(MapShown(*window));

        // Relative paths are taken from the current folder.
        QDir::setCurrent(QFileInfo(Demo(kDemoCampaignFile)).path());
        const CommandLine relative = ParseCommandLine({QStringLiteral("sablemap"), QLatin1String(kDemoCampaignFile)});
        QCOMPARE(relative.Files, QStringList{QFileInfo(Demo(kDemoCampaignFile)).absoluteFilePath()});
    }

    void commandLineProblems_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString help = QStringLiteral("\nsablemap --help lists the options.");
        QTest::newRow("unknown option") << QStringList{"--frob", "DEMO"} << "Unknown option 'frob'." + help;
        QTest::newRow("option without its value")
            << QStringList{"DEMO", "--map"} << "Missing value after '--map'." + help;
        QTest::newRow("missing file") << QStringList{"/no/such/map.BIN"} << "No such file: /no/such/map.BIN";
        QTest::newRow("missing faction file")
            << QStringList{"--factions", "/no/such.SID"} << "No such file: /no/such.SID";
        QTest::newRow("unknown map") << QStringList{"--map", "map_nowhere"} << "No map named map_nowhere in MAPS";
        QTest::newRow("damaged file") << QStringList{"DAMAGED"} << "Open failed";
    }

    void commandLineProblems()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        std::unique_ptr<TfrmMain> window = Start();
        const QString damaged =
            m_installation->Write(QStringLiteral("damaged.BIN"), QByteArray("\x05\x00\x00\x00\x01", 5));
        arguments.replaceInStrings(QStringLiteral("DEMO"), Demo(kDemoCampaignFile));
        arguments.replaceInStrings(QStringLiteral("DAMAGED"), damaged);
        arguments.prepend(QStringLiteral("sablemap"));
        message.replace(QStringLiteral("MAPS"), m_demo.filePath(QStringLiteral("common/maps")));

        window->OpenCommandLine(ParseCommandLine(arguments));
        QCOMPARE(m_prompts->Shown, QStringList{QStringLiteral("message: ") + message});
        QVERIFY(window->isVisible());
        QCOMPARE(Records(*window).KeysiteCount(), 0);
        QVERIFY(window->Session()->MapBinPath().isEmpty());
        QVERIFY(window->MapArea()->MapFolder().isEmpty());
    }

    void drops_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("opened"); // what the window holds afterwards
        QTest::addColumn<QStringList>("shown");
        const QString question =
            QStringLiteral("confirm: Import the templates of ") + QLatin1String(kDemoTemplateFile) + "?";
        QTest::newRow("map BIN file") << kDemoCampaignFile << true << true << "campaign" << QStringList();
        QTest::newRow("faction file") << kDemoFactionFile << true << true << "factions" << QStringList();
        QTest::newRow("templates, imported")
            << kDemoTemplateFile << true << true << "templates" << QStringList{question};
        QTest::newRow("templates, declined") << kDemoTemplateFile << true << false << "" << QStringList{question};
        QTest::newRow("other file") << "notes.txt" << false << true << "" << QStringList();
    }

    void drops()
    {
        QFETCH(QString, file);
        QFETCH(bool, accepted);
        QFETCH(bool, answer);
        QFETCH(QString, opened);
        QFETCH(QStringList, shown);
        std::unique_ptr<TfrmMain> window = Start();
        QString path = Demo(file.toLatin1().constData());
        if (!QFileInfo::exists(path))
            path = m_installation->Write(file, QByteArray("\x07\x00\x00\x00", 4));
        m_prompts->ConfirmAnswers << answer;

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path), QUrl(QStringLiteral("https://sablemap.example/x.BIN"))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();

        QCOMPARE(m_prompts->Shown, shown);
        QCOMPARE(Records(*window).KeysiteCount() > 0, opened == QLatin1String("campaign"));
        QCOMPARE(Records(*window).TemplateCount() > 0,
                 opened == QLatin1String("campaign") || opened == QLatin1String("templates"));
        QCOMPARE(window->Session()->Factions() != nullptr, opened == QLatin1String("factions"));
    }

    void recentFilesSurviveRestart()
    {
        const QString missing = m_installation->Dir.filePath(QStringLiteral("gone.BIN"));
        {
            std::unique_ptr<TfrmMain> window = Start();
            QCOMPARE(RecentEntries(*window), QStringList{QStringLiteral("No recent files")});
            window->Files()->OpenBinFile(Demo(kDemoCampaignFile));
            window->Files()->OpenFactionFile(Demo(kDemoFactionFile));
            window->Files()->OpenBinFile(missing); // fails, so it is not listed
        }
        std::unique_ptr<TfrmMain> window = Start();
        const QStringList entries = RecentEntries(*window);
        QCOMPARE(
            entries,
            (QStringList{"&1 " + Demo(kDemoFactionFile), "&2 " + Demo(kDemoCampaignFile), "-", "&Clear the list"}));
        QMenu* recent = Find<QMenu>(*window, "mmRecentFiles");
        recent->actions().at(1)->trigger();
        QCOMPARE(window->Session()->MapBinPath(), Demo(kDemoCampaignFile));
        QCOMPARE(RecentEntries(*window).first(), "&1 " + Demo(kDemoCampaignFile));
        recent->actions().last()->trigger();
        QCOMPARE(RecentEntries(*window), QStringList{QStringLiteral("No recent files")});
        QCOMPARE(m_prompts->Shown, QStringList{QStringLiteral("message: Open failed")});
    }

    void recentFilesKeepEightOnce()
    {
        CFilePlaces places(m_installation->Dir.filePath(QStringLiteral("places.conf")));
        for (int i = 0; i < 10; ++i)
            places.AddRecentFile(QStringLiteral("/maps/%1.BIN").arg(i), CFilePlaces::Kind::MapBin);
        places.AddRecentFile(QStringLiteral("/maps/5.BIN"), CFilePlaces::Kind::Factions);
        QStringList paths;
        for (const CFilePlaces::RecentFile& file :
             CFilePlaces(m_installation->Dir.filePath(QStringLiteral("places.conf"))).RecentFiles())
            paths << file.Path;
        QCOMPARE(paths,
                 (QStringList{"/maps/5.BIN", "/maps/9.BIN", "/maps/8.BIN", "/maps/7.BIN", "/maps/6.BIN", "/maps/4.BIN",
                              "/maps/3.BIN", "/maps/2.BIN"}));
        QVERIFY(places.RecentFiles().first().Type == CFilePlaces::Kind::Factions);
    }

    void dialogsOpenWhereLastUsed()
    {
        const QString maps = m_demo.filePath(QStringLiteral("common/maps"));
        const QString elsewhere = m_installation->Dir.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(elsewhere);
        const auto lastFolder = [&] { return QDir(m_prompts->FileDialogs.last().Folder).canonicalPath(); };
        {
            std::unique_ptr<TfrmMain> window = Start();
            Trigger(*window, "Save1"); // nothing loaded and nothing remembered: the maps folder
            QCOMPARE(lastFolder(), QDir(maps).canonicalPath());
            m_prompts->FileAnswers << elsewhere + QStringLiteral("/new.BIN");
            Trigger(*window, "Save1");
            Trigger(*window, "Load1");
            QCOMPARE(lastFolder(), QDir(elsewhere).canonicalPath());
            Trigger(*window, "Loadfactions1"); // another kind of file
            QCOMPARE(lastFolder(), QDir(maps).canonicalPath());
            m_prompts->FileAnswers << Demo(kDemoCampaignFile);
            Trigger(*window, "Load1");
            Trigger(*window, "SaveAs1"); // proposes the file loaded, in its folder
            QCOMPARE(m_prompts->FileDialogs.last().FileName, QLatin1String(kDemoCampaignFile));
            QCOMPARE(lastFolder(), QFileInfo(Demo(kDemoCampaignFile)).canonicalPath());
        }
        std::unique_ptr<TfrmMain> window = Start();
        Trigger(*window, "Load1");
        QCOMPARE(lastFolder(), QFileInfo(Demo(kDemoCampaignFile)).canonicalPath());
        // A remembered folder that has gone gives way to the maps folder.
        m_prompts->FileAnswers << elsewhere + QStringLiteral("/new.BIN");
        Trigger(*window, "Load1");
        QVERIFY(QDir(elsewhere).removeRecursively());
        Trigger(*window, "Load1");
        QCOMPARE(lastFolder(), QDir(maps).canonicalPath());
    }
};

std::unique_ptr<TfrmMain> TestDesktop::Start(const QString& installation)
{
    if (installation.isEmpty())
        m_installation->Register("INSTALLATION PATH=" + QFile::encodeName(m_demo.path()) + "\n");
    StartupEnvironment environment = m_installation->Environment();
    environment.Installation = installation;
    auto window = std::make_unique<TfrmMain>(*m_prompts, environment);
    if (!window->InitializeMainWindow())
        qFatal("the window did not start");
    window->resize(900, 700);
    return window;
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
