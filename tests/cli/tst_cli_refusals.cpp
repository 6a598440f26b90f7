// sablemap-cli refuses what would lose the user's data or do nothing, and says what went wrong:
// demo over an installation, maps of a folder that is none, factions without output or outside
// the grid, a file of another kind, usage of one command, and words too long to echo.
#include "clirunner.h"

#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "factions/factiondocument.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every file below `folder`, relative to it, sorted.
QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QString Text(const QByteArray& bytes) { return QString::fromUtf8(bytes); }

} // namespace

class TestCliRefusals : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_install;
    QString m_map;
    QString m_sid; // 4 x 3 sectors: columns 0 and 1 are faction 1

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString MapFile(const char* extension) const
    {
        return m_map + QStringLiteral("/sable_coast.") + QLatin1String(extension);
    }
    // The demonstration's files for BIN, BTP, SID and SMALL in `args`.
    QStringList Substituted(QStringList args) const
    {
        for (QString& arg : args) {
            if (arg == QLatin1String("BIN") || arg == QLatin1String("BTP") || arg == QLatin1String("SID"))
                arg = MapFile(arg.toLatin1().constData());
            else if (arg == QLatin1String("SMALL"))
                arg = m_sid;
            else if (arg == QLatin1String("CUT"))
                arg = Path(QStringLiteral("cut.BTP"));
        }
        return args;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_install = Path(QStringLiteral("install"));
        QCOMPARE(RunCli({QStringLiteral("demo"), m_install}).Status, 0);
        m_map = m_install + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap);
        m_sid = Path(QStringLiteral("small.SID"));
        QVERIFY(NewFactionDocument(4, 3, [](int32_t i, int32_t) { return i < 2 ? 1 : 0; }).WriteDocument(m_sid));
        // A template file of one template with one object, "HOUSE", whose name is cut short.
        const auto int32 = [](int32_t value) { return QByteArray(reinterpret_cast<const char*>(&value), 4); };
        WriteBytes(Path(QStringLiteral("cut.BTP")),
                   int32(1) + int32(1) + int32(0) + int32(0) + int32(0) + QByteArray(12, '\0') + int32(5) + "HOU");
    }

    // A folder that holds any file of the demonstration (its first or its last) is left as it was;
    // --force replaces the files.
    void demoRefusesToReplaceFiles_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::newRow("the 3D object list") << QStringLiteral("stormcr/3ddata/bininfo.bin");
        QTest::newRow("the faction file")
            << QStringLiteral("common/maps/%1/%2").arg(QLatin1String(kDemoFirstMap), QLatin1String(kDemoFactionFile));
    }
    void demoRefusesToReplaceFiles()
    {
        QFETCH(QString, existing);
        QTemporaryDir folder;
        const QString path = folder.filePath(existing);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        WriteBytes(path, "the user's own");

        const CliResult refused = RunCli({QStringLiteral("demo"), folder.path()});
        QCOMPARE(refused.Status, 1);
        QCOMPARE(Text(refused.Err),
                 QStringLiteral("Save failed: %1 already exists; give --force to replace the demonstration's files\n")
                     .arg(QDir::toNativeSeparators(path)));
        QVERIFY(refused.Out.isEmpty());
        QCOMPARE(FilesBelow(folder.path()), QStringList{existing});
        QCOMPARE(ReadBytes(path), QByteArray("the user's own"));

        const CliResult forced = RunCli({QStringLiteral("demo"), folder.path(), QStringLiteral("--force")});
        QCOMPARE(forced.Status, 0);
        QCOMPARE(Text(forced.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts), DemoInstallationFiles(folder.path()));
        QVERIFY(ReadBytes(path) != QByteArray("the user's own"));
    }

    void mapsNeedsAnInstallation_data()
    {
        QTest::addColumn<QString>("folder"); // below the test's folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // FOLDER stands for the folder
        QTest::newRow("installation")
            << QStringLiteral("install") << 0
            << QStringLiteral("%1\n%2\n").arg(QLatin1String(kDemoSecondMap), QLatin1String(kDemoFirstMap)) << QString();
        QTest::newRow("installation without maps yet") << QStringLiteral("empty") << 0 << QString() << QString();
        QTest::newRow("folder that is no installation")
            << QStringLiteral("install/common") << 1 << QString()
            << QStringLiteral("Open failed: FOLDER: no common/maps folder in it, so it is no installation of the "
                              "simulator\n");
        QTest::newRow("no such folder") << QStringLiteral("none") << 1 << QString()
                                        << QStringLiteral("Open failed: FOLDER: no such folder\n");
    }
    void mapsNeedsAnInstallation()
    {
        QFETCH(QString, folder);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QVERIFY(QDir().mkpath(Path(QStringLiteral("empty/common/maps"))));
        const CliResult result = RunCli({QStringLiteral("maps"), Path(folder)});
        QCOMPARE(result.Status, status);
        QCOMPARE(Text(result.Out), out);
        QCOMPARE(Text(result.Err), QString(err).replace(QStringLiteral("FOLDER"), Path(folder)));
    }

    // What was asked for happens; what cannot happen is said. Positions outside the grid change
    // nothing and the command goes on.
    void factionsSaysWhatItCannotDo_data()
    {
        QTest::addColumn<QString>("ops");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("err"); // USAGE stands for the usage of factions
        QTest::newRow("set inside") << QStringLiteral("--set 3 0 1 --print") << 0
                                    << QStringLiteral("1101\n1100\n1100\n") << QString();
        QTest::newRow("set outside, then inside")
            << QStringLiteral("--set 4 0 1 --set 0 -1 0 --set 3 2 1 --print") << 0
            << QStringLiteral("1100\n1100\n1101\n")
            << QStringLiteral("Warning: --set 4 0 1: sector 4, 0 lies outside the grid of 4 x 3 sectors; nothing "
                              "changed\nWarning: --set 0 -1 0: sector 0, -1 lies outside the grid of 4 x 3 sectors; "
                              "nothing changed\n");
        QTest::newRow("paint outside")
            << QStringLiteral("--paint 16384 0 0 --paint 0 -4097 5 --print") << 0
            << QStringLiteral("1100\n1100\n1100\n")
            << QStringLiteral("Warning: --paint 16384 0 0: the sector at X 16384, Z 0 lies outside the grid of 4 x 3 "
                              "sectors; nothing changed\nWarning: --paint 0 -4097 5: the sector at X 0, Z -4097 lies "
                              "outside the grid of 4 x 3 sectors; nothing changed\n");
        // The last sector inside, and a negative coordinate that truncates into the grid.
        QTest::newRow("paint at the edges") << QStringLiteral("--paint 16383 12287 0 --paint -4095 0 0 --print") << 0
                                            << QStringLiteral("0100\n1100\n1101\n") << QString();
        QTest::newRow("nothing to print or save") << QStringLiteral("--set 0 0 1") << 2 << QString()
                                                  << QStringLiteral("sablemap-cli: factions needs --print or --out: "
                                                                    "without them nothing is shown or saved\nUSAGE");
        QTest::newRow("negative radius")
            << QStringLiteral("--paint 0 0 -1 --print") << 2 << QString()
            << QStringLiteral("sablemap-cli: --paint X Z R takes a whole number from 0 for R, not \"-1\"\nUSAGE");
    }
    void factionsSaysWhatItCannotDo()
    {
        QFETCH(QString, ops);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(QString, err);
        const CliResult result =
            RunCli(QStringList{QStringLiteral("factions"), m_sid} + ops.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        QCOMPARE(result.Status, status);
        QCOMPARE(Text(result.Out), printed);
        QCOMPARE(Text(result.Err),
                 err.replace(QStringLiteral("USAGE"),
                             QStringLiteral("usage: sablemap-cli factions SID [--set I J V]... [--paint X Z R]... "
                                            "[--fill X Z V]... [--print] [--out OUT]\n")));
    }

    // A file given where another kind belongs is named for what it is; a damaged file of the
    // right kind keeps the reader's own reason.
    void wrongKindOfFileIsNamed_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err"); // after "<message>: <file>: "
        const QString dump = QStringLiteral("dump");
        const QString templates = QStringLiteral("--templates");
        QTest::newRow("faction file as a Map BIN file") << QStringList{dump, QStringLiteral("SID")} << 1
                                                        << QStringLiteral("this is a faction file, not a Map BIN file");
        QTest::newRow("template file without --templates")
            << QStringList{dump, QStringLiteral("BTP")} << 1
            << QStringLiteral("this looks like a template file: add --templates");
        QTest::newRow("to-json of a template file")
            << QStringList{QStringLiteral("to-json"), QStringLiteral("BTP")} << 1
            << QStringLiteral("this looks like a template file: add --templates");
        QTest::newRow("resave, which takes no --templates")
            << QStringList{QStringLiteral("resave"), QStringLiteral("BTP"), Path(QStringLiteral("out.BIN"))} << 1
            << QStringLiteral("this looks like a template file, not a Map BIN file");
        QTest::newRow("check of a faction file") << QStringList{QStringLiteral("check"), QStringLiteral("SID")} << 2
                                                 << QStringLiteral("this is a faction file, not a Map BIN file");
        QTest::newRow("faction file as templates")
            << QStringList{dump, QStringLiteral("SID"), templates} << 1
            << QStringLiteral("this is a faction file, not a template file or Map BIN file");
        QTest::newRow("Map BIN file as a faction file")
            << QStringList{QStringLiteral("factions"), QStringLiteral("BIN"), QStringLiteral("--print")} << 1
            << QStringLiteral("this is a Map BIN file, not a faction file");
        QTest::newRow("damaged template file without --templates")
            << QStringList{dump, QStringLiteral("CUT")} << 1 << QStringLiteral("string of 5 bytes at offset 36 ");
        QTest::newRow("damaged template file with --templates")
            << QStringList{dump, QStringLiteral("CUT"), templates} << 1
            << QStringLiteral("string of 5 bytes at offset 36 ");
    }
    void wrongKindOfFileIsNamed()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        const QStringList substituted = Substituted(args);
        const CliResult result = RunCli(substituted);
        QCOMPARE(result.Status, status);
        const QString message = args.contains(QStringLiteral("--templates")) ? QStringLiteral("Import failed")
                                                                             : QStringLiteral("Open failed");
        QVERIFY2(Text(result.Err).startsWith(QStringLiteral("%1: %2: %3").arg(message, substituted[1], err)),
                 result.Err.constData());
        QCOMPARE(result.Err.count('\n'), 1);
        QVERIFY(!QFile::exists(Path(QStringLiteral("out.BIN"))));
    }

    // A usage error shows the usage of its command alone; asked for, the usage goes to stdout.
    void usageOfOneCommand_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString dumpUsage = QStringLiteral("usage: sablemap-cli dump FILE [--catalogue P] [--templates]\n");
        const QString demoUsage = QStringLiteral("usage: sablemap-cli demo DIR [--force]\n");
        QTest::newRow("too few arguments") << QStringList{QStringLiteral("dump")} << 2 << QString()
                                           << QStringLiteral("sablemap-cli: dump takes one file\n") + dumpUsage;
        QTest::newRow("unknown option") << QStringList{QStringLiteral("demo"), QStringLiteral("x"),
                                                       QStringLiteral("--overwrite")}
                                        << 2 << QString()
                                        << QStringLiteral("sablemap-cli: unknown option --overwrite\n") + demoUsage;
        QTest::newRow("help COMMAND") << QStringList{QStringLiteral("help"), QStringLiteral("dump")} << 0 << dumpUsage
                                      << QString();
        QTest::newRow("COMMAND --help") << QStringList{QStringLiteral("demo"), QStringLiteral("--help")} << 0
                                        << demoUsage << QString();
        QTest::newRow("--help after other arguments")
            << QStringList{QStringLiteral("dump"), QStringLiteral("x"), QStringLiteral("--help")} << 0 << dumpUsage
            << QString();
    }
    void usageOfOneCommand()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const CliResult result = RunCli(args);
        QCOMPARE(result.Status, status);
        QCOMPARE(Text(result.Out), out);
        QCOMPARE(Text(result.Err), err);
    }

    // Without a command to name, every command is listed: help alone on stdout, a wrong name on stderr.
    void usageOfEveryCommand()
    {
        const CliResult help = RunCli({QStringLiteral("help")});
        QCOMPARE(help.Status, 0);
        QVERIFY(help.Err.isEmpty());
        for (const char* command : {"catalogue", "dump", "resave", "render", "factions", "demo", "check", "help"})
            QVERIFY2(help.Out.contains(QByteArray("\n  sablemap-cli ") + command + ' '), command);
        for (const char* asked : {"--help", "-h"}) {
            const CliResult option = RunCli({QString::fromLatin1(asked)});
            QCOMPARE(option.Status, 0);
            QCOMPARE(option.Out, help.Out);
            QVERIFY(option.Err.isEmpty());
        }
        const CliResult unknown = RunCli({QStringLiteral("help"), QStringLiteral("frobnicate")});
        QCOMPARE(unknown.Status, 2);
        QVERIFY(unknown.Out.isEmpty());
        QCOMPARE(unknown.Err, "sablemap-cli: unknown command frobnicate\n" + help.Out);
    }

    // A word echoed in a message shows at most 80 characters, however long it was.
    void longWordsAreShortened_data()
    {
        QTest::addColumn<QStringList>("args"); // LONG stands for the long word
        QTest::addColumn<int>("status");
        const QString factions = QStringLiteral("factions");
        const QString small = QStringLiteral("SMALL");
        const QString zero = QStringLiteral("0");
        const QString print = QStringLiteral("--print");
        QTest::newRow("--set value")
            << QStringList{factions, small, print, QStringLiteral("--set"), QStringLiteral("LONG"), zero, zero} << 2;
        QTest::newRow("--paint radius")
            << QStringList{factions, small, print, QStringLiteral("--paint"), zero, zero, QStringLiteral("LONG")} << 2;
        QTest::newRow("unknown option") << QStringList{QStringLiteral("dump"), QStringLiteral("BIN"),
                                                       QStringLiteral("--LONG")}
                                        << 2;
        QTest::newRow("export range") << QStringList{
            QStringLiteral("export-templates"), QStringLiteral("BIN"), QStringLiteral("LONG"), QStringLiteral("1"),
            QStringLiteral("out.BTP")} << 2;
        QTest::newRow("unknown command") << QStringList{QStringLiteral("LONG")} << 2;
        QTest::newRow("help of an unknown command") << QStringList{QStringLiteral("help"), QStringLiteral("LONG")} << 2;
        // A number that reads back as a position far outside the grid: a warning, and the command goes on.
        QTest::newRow("position outside the grid") << QStringList{
            factions, small, QStringLiteral("--print"), QStringLiteral("--paint"), QStringLiteral("99999999.LONG"),
            zero,     zero} << 0;
    }
    void longWordsAreShortened()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        args.replaceInStrings(QStringLiteral("LONG"), QString(5000, QLatin1Char('7')));
        const CliResult result = RunCli(Substituted(args));
        QCOMPARE(result.Status, status);
        const QString err = Text(result.Err);
        QVERIFY2(err.contains(QStringLiteral("7\u2026")), qPrintable(err.left(300)));
        QVERIFY2(!err.contains(QString(80, QLatin1Char('7'))), qPrintable(err.left(300)));
    }
};

QTEST_GUILESS_MAIN(TestCliRefusals)
#include "tst_cli_refusals.moc"
