// sablemap-cli when the system lets it down: files longer than any of their kind, endless devices,
// too little memory, output that cannot be written, names the system's encoding cannot hold, a
// full disk. Each is a failure with the editor's message and the reason, never a crash or a
// success that lost something.
#include "clirunner.h"

#include "platform/filelimits.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Runs a shell command line with the tool as $0 and `args` as $1...; for what QProcess cannot
// pass (bytes that are no text) or set up (resource limits, ignored signals).
CliResult RunShell(const QString& script, const QStringList& args, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("/bin/sh"),
                  QStringList{QStringLiteral("-c"), script, QStringLiteral(SABLEMAP_CLI)} + args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// `args` with every argument that is a key of `values` replaced by its value.
QStringList Substituted(QStringList args, const QList<std::pair<QString, QString>>& values)
{
    for (QString& arg : args) {
        for (const auto& [key, value] : values) {
            if (arg == key)
                arg = value;
        }
    }
    return args;
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

} // namespace

class TestCliFaults : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_install;
    QString m_map;

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString MapFile(const char* extension) const
    {
        return m_map + QStringLiteral("/sable_coast.") + QLatin1String(extension);
    }
    QString Catalogue() const { return m_install + QStringLiteral("/stormcr/3ddata/bininfo.bin"); }
    // The demonstration's files for the names in the tables' arguments; OUT is `out`.
    QStringList Arguments(const QStringList& args, const QString& out) const
    {
        return Substituted(args,
                           {{QStringLiteral("CATALOGUE"), Catalogue()},
                            {QStringLiteral("BIN"), MapFile("BIN")},
                            {QStringLiteral("BTP"), MapFile("BTP")},
                            {QStringLiteral("SID"), MapFile("SID")},
                            {QStringLiteral("MAP"), m_map},
                            {QStringLiteral("INSTALL"), m_install},
                            {QStringLiteral("OUT"), out}});
    }

private slots:
    void initTestCase()
    {
        m_install = Path(QStringLiteral("install"));
        QCOMPARE(RunCli({QStringLiteral("demo"), m_install}).Status, 0);
        m_map = m_install + QStringLiteral("/common/maps/map_sable_coast");
        QVERIFY(QFile::exists(MapFile("BIN")));
    }

    // A file longer than any of its kind is refused before it is read (the file is sparse: it
    // costs no disk, and reading it would cost its whole length in memory); an endless device is
    // read up to the same limit.
    void longAndEndlessInputs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("message"); // IN stands for the input
        const QStringList dump{QStringLiteral("dump"), QStringLiteral("IN")};
        const qint64 bin = FileLimits::MapBin.Bytes;
        QTest::newRow("dump") << dump << bin << QStringLiteral("Open failed: IN: ");
        QTest::newRow("dump --templates")
            << dump + QStringList{QStringLiteral("--templates")} << bin << QStringLiteral("Import failed: IN: ");
        QTest::newRow("resave") << QStringList{QStringLiteral("resave"), QStringLiteral("IN"), QStringLiteral("OUT")}
                                << bin << QStringLiteral("Open failed: IN: ");
        QTest::newRow("catalogue") << QStringList{QStringLiteral("catalogue"), QStringLiteral("IN")}
                                   << FileLimits::Catalogue.Bytes
                                   << QStringLiteral("File stormcr\\3ddata\\bininfo.bin not found or corrupted !: ");
        QTest::newRow("factions") << QStringList{QStringLiteral("factions"), QStringLiteral("IN"),
                                                 QStringLiteral("--print")}
                                  << FileLimits::FactionFile.Bytes << QStringLiteral("Open failed: IN: ");
    }
    void longAndEndlessInputs()
    {
        QFETCH(QStringList, args);
        QFETCH(qint64, limit);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("out"));
        const QString sparse = folder.filePath(QStringLiteral("sparse"));
        QFile file(sparse);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(limit + 1));
        file.close();
        for (const QString& in : {sparse, QStringLiteral("/dev/zero")}) {
            const CliResult result =
                RunCli(Substituted(args, {{QStringLiteral("IN"), in}, {QStringLiteral("OUT"), out}}));
            QCOMPARE(result.Status, 1);
            const QString reason = in == sparse ? QStringLiteral("the file is %1 bytes long; no ").arg(limit + 1)
                                                : QStringLiteral("the file holds more than %1 bytes; no ").arg(limit);
            const QString err = QString::fromUtf8(result.Err);
            QVERIFY2(err.startsWith(QString(message).replace(QStringLiteral("IN"), in) + reason), qPrintable(err));
            QCOMPARE(result.Err.count('\n'), 1);
            QVERIFY(result.Out.isEmpty());
            QVERIFY(!QFile::exists(out));
        }
    }

    // A file within the limit whose records need more memory than the system gives: a failed load.
    void tooLittleMemory()
    {
#ifdef SABLEMAP_SANITIZED
        QSKIP("the sanitizers reserve more address space than the limit allows");
#else
        // Eight and a half million templates with nothing in them: a file of zeros but for its
        // first count. A template takes three times its 16 bytes in memory.
        const QString path = Path(QStringLiteral("templates.BIN"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const int32_t count = 8500000;
        file.write(reinterpret_cast<const char*>(&count), sizeof count);
        QVERIFY(file.resize(4 + count * 16LL + 12));
        file.close();
        const CliResult result =
            RunShell(QStringLiteral("ulimit -v 600000 && exec \"$0\" dump \"$1\""), {path}, m_dir.path());
        QCOMPARE(result.Status, 1);
        QCOMPARE(QString::fromUtf8(result.Err),
                 QStringLiteral("Open failed: %1: not enough memory to read it\n").arg(path));
#endif
    }

    // Output that cannot be written is a failure, not a success with nothing printed; a command
    // that would save after printing then leaves the file alone.
    void outputToAFullDevice_data()
    {
        QTest::addColumn<QStringList>("args");
        const QString map = QStringLiteral("MAP");
        QTest::newRow("catalogue") << QStringList{QStringLiteral("catalogue"), QStringLiteral("CATALOGUE")};
        QTest::newRow("dump") << QStringList{QStringLiteral("dump"), QStringLiteral("BIN")};
        QTest::newRow("factions --print")
            << QStringList{QStringLiteral("factions"), QStringLiteral("SID"), QStringLiteral("--print")};
        QTest::newRow("render") << QStringList{QStringLiteral("render"), map,
                                               QStringLiteral("OUT"),    QStringLiteral("--size"),
                                               QStringLiteral("64"),     QStringLiteral("64")};
        QTest::newRow("factions --print --out")
            << QStringList{QStringLiteral("factions"), QStringLiteral("SID"), QStringLiteral("--print"),
                           QStringLiteral("--out"), QStringLiteral("OUT")};
        QTest::newRow("settings --save") << QStringList{QStringLiteral("settings"), QStringLiteral("OUT"),
                                                        QStringLiteral("--save")};
        QTest::newRow("maps") << QStringList{QStringLiteral("maps"), QStringLiteral("INSTALL")};
        QTest::newRow("demo") << QStringList{QStringLiteral("demo"), QStringLiteral("OUT")};
        QTest::newRow("help") << QStringList{QStringLiteral("help")};
        // A question left unanswered is trouble (2), not "problems found" (1).
        QTest::newRow("check") << QStringList{QStringLiteral("check"), QStringLiteral("BIN"), QStringLiteral("--json")};
    }
    void outputToAFullDevice()
    {
        QFETCH(QStringList, args);
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        QTemporaryDir out;
        QProcess process;
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(SABLEMAP_CLI), Arguments(args, out.filePath(QStringLiteral("out"))));
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), args.first() == QLatin1String("check") ? 2 : 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QStringLiteral("Write failed: %1\n").arg(SystemReason(ENOSPC)));
        if (args.first() != QLatin1String("demo")) // which writes its files and then lists them
            QCOMPARE(Entries(out.path()), QStringList());
    }

    // Qt reaches files by names decoded from the system's encoding; a name whose bytes do not
    // decode would be read or written under another name, so it is refused.
    void namesTheEncodingCannotHold_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("resave to such a name")
            << QStringLiteral("exec \"$0\" resave \"$1\" \"$(printf 'out\\351.BIN')\"");
        // The file exists under that name; it goes again afterwards (Qt could not name it to remove it).
        QTest::newRow("dump of such a name")
            << QStringLiteral("name=\"$(printf 'in\\351.BIN')\"; cp \"$1\" \"$name\" && "
                              "\"$0\" dump \"$name\"; status=$?; rm \"$name\"; exit $status");
    }
    void namesTheEncodingCannotHold()
    {
        QFETCH(QString, script);
        QTemporaryDir folder;
        const CliResult result = RunShell(script, {MapFile("BIN")}, folder.path());
        QCOMPARE(result.Status, 2);
        QVERIFY2(result.Err.contains("is not valid in the system's encoding"), result.Err.constData());
        QVERIFY(result.Err.contains("\\xE9.BIN\""));
        QVERIFY(result.Out.isEmpty());
        // Nothing was written under another name.
        QCOMPARE(Entries(folder.path()), QStringList());
    }

    // A disk that fills up part-way through a save: the system's reason, and the old file kept.
    void diskFullGivesTheSystemsReason_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString out = QStringLiteral("OUT");
        const QString bin = QStringLiteral("BIN");
        const QStringList catalogue{QStringLiteral("--catalogue"), QStringLiteral("CATALOGUE")};
        QTest::newRow("resave") << QStringList{QStringLiteral("resave"), bin, out} + catalogue
                                << QStringLiteral("Save failed: OUT");
        QTest::newRow("export-templates") << QStringList{QStringLiteral("export-templates"), bin, QStringLiteral("0"),
                                                         QStringLiteral("5"), out}
                + catalogue << QStringLiteral("Export failed: OUT");
        QTest::newRow("factions --out") << QStringList{QStringLiteral("factions"), QStringLiteral("SID"),
                                                       QStringLiteral("--out"), out}
                                        << QStringLiteral("Save failed: OUT");
        QTest::newRow("render") << QStringList{QStringLiteral("render"), QStringLiteral("MAP"), out,
                                               QStringLiteral("--size"), QStringLiteral("300"), QStringLiteral("200")}
                                << QStringLiteral("Save failed: OUT");
        QTest::newRow("settings --save") << QStringList{QStringLiteral("settings"), out, QStringLiteral("--save")}
                                         << QStringLiteral("Unable to write to OUT");
    }
    void diskFullGivesTheSystemsReason()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("out"));
        const QByteArray old = QByteArray("; the file that was there\n") + QByteArray(4000, '#') + '\n';
        WriteBytes(out, old);
        // At most one 512-byte block per file, as on a disk that is nearly full; the signal that a
        // larger write raises is ignored, so the write fails instead.
        const CliResult result = RunShell(QStringLiteral("trap '' XFSZ; ulimit -f 1 && exec \"$0\" \"$@\""),
                                          Arguments(args, out), folder.path());
        QCOMPARE(result.Status, 1);
        message.replace(QStringLiteral("OUT"), out);
        QCOMPARE(QString::fromUtf8(result.Err), QStringLiteral("%1: %2\n").arg(message, SystemReason(EFBIG)));
        QCOMPARE(ReadBytes(out), old);
        QCOMPARE(Entries(folder.path()), QStringList{QStringLiteral("out")});
    }
};

QTEST_GUILESS_MAIN(TestCliFaults)
#include "tst_cli_faults.moc"
