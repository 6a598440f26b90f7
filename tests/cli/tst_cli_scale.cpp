// The tool on large and hostile inputs: diff's answer and its pairing of many reordered records,
// commands that start without the GUI platform or its libraries (render runs in a program of its
// own, which answers for it), and from-json reading its text a piece at a time and keeping refused
// text short in its message.
#include "clirunner.h"

#include "document/storedrecords.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>

namespace {

QByteArray Int32(int32_t value) { return QByteArray(reinterpret_cast<const char*>(&value), 4); }

// A 3D object list of the names given.
QByteArray Catalogue(const QList<QByteArray>& names)
{
    QByteArray bytes = Int32(static_cast<int32_t>(names.size() + 1)) + Int32(0);
    for (const QByteArray& name : names)
        bytes += Int32(static_cast<int32_t>(name.size())) + name + Int32(0);
    return bytes;
}

// `count` SAM sites and keysites at distinct positions, and three templates.
StoredRecords ManyRecords(int count)
{
    StoredRecords records;
    records.WithRouteObjects = true;
    const int32_t tank = records.AddName("TANK"), house = records.AddName("HOUSE");
    records.Templates.resize(3);
    for (int t = 0; t < 3; ++t) {
        records.Templates[size_t(t)].TypeCode = t + 1;
        records.Templates[size_t(t)].ApproximationObject = tank;
        records.Templates[size_t(t)].Objects = {{float(t), 0, 0, house}};
    }
    for (int i = 0; i < count; ++i) {
        records.Sams.push_back({float(i), float(i % 97)});
        records.Keysites.push_back({i % 3, float(i) + 0.5f, 7});
    }
    return records;
}

CliResult RunProgram(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The shared libraries `program` loads, as the dynamic loader resolves them (ldd), or nothing where
// programs are no ELF files or ldd is missing.
std::optional<QString> LoadedLibraries(const QString& program)
{
    QFile file(program);
    const QString ldd = QStandardPaths::findExecutable(QStringLiteral("ldd"));
    if (!file.open(QIODevice::ReadOnly)
        || file.read(4)
            != "\x7f"
               "ELF"
        || ldd.isEmpty())
        return std::nullopt;
    const CliResult listed = RunProgram(ldd, {program});
    if (listed.Status != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(listed.Out);
}

CliResult RunWithPlatform(const QStringList& args, const QString& platform)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SABLEMAP_CLI), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace

class TestCliScale : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Write(const QString& name, const StoredRecords& records) const
    {
        WriteBytes(Path(name), records.Write());
        return Path(name);
    }

private slots:
    void diffAnswersAsDiffDoes_data()
    {
        QTest::addColumn<QStringList>("args"); // "A", "B", "BAD", "CAT", "BADCAT" stand for files
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("errStart"); // what stderr starts with; empty: nothing
        QTest::newRow("same") << QStringList{"diff", "A", "A"} << 0 << QByteArray();
        QTest::newRow("same with catalogue")
            << QStringList{"diff", "A", "A", "--catalogue", "CAT"} << 0 << QByteArray();
        QTest::newRow("differ") << QStringList{"diff", "A", "B"} << 1 << QByteArray();
        QTest::newRow("missing file") << QStringList{"diff", "A", "NONE"} << 2 << QByteArray("Open failed: ");
        QTest::newRow("damaged file") << QStringList{"diff", "BAD", "A"} << 2 << QByteArray("Open failed: ");
        QTest::newRow("damaged catalogue") << QStringList{"diff", "A", "B", "--catalogue", "BADCAT"} << 2
                                           << QByteArray("File stormcr\\3ddata\\bininfo.bin not found or corrupted !");
        QTest::newRow("one file") << QStringList{"diff", "A"} << 2 << QByteArray("sablemap-cli: ");
        QTest::newRow("unknown option") << QStringList{"diff", "A", "B", "--fast"} << 2 << QByteArray("sablemap-cli: ");
    }

    void diffAnswersAsDiffDoes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QByteArray, errStart);
        StoredRecords other = ManyRecords(3);
        other.Sams[0].X = 1000;
        const QMap<QString, QString> files{{"A", Write(QStringLiteral("a.BIN"), ManyRecords(3))},
                                           {"B", Write(QStringLiteral("b.BIN"), other)},
                                           {"NONE", Path(QStringLiteral("none.BIN"))},
                                           {"BAD", Path(QStringLiteral("bad.BIN"))},
                                           {"CAT", Path(QStringLiteral("bininfo.bin"))},
                                           {"BADCAT", Path(QStringLiteral("badinfo.bin"))}};
        WriteBytes(files["BAD"], ManyRecords(3).Write().left(30));
        WriteBytes(files["CAT"], Catalogue({"TANK", "HOUSE"}));
        WriteBytes(files["BADCAT"], Catalogue({"TANK", "HOUSE"}).left(14));
        for (QString& arg : args)
            arg = files.value(arg, arg);
        const CliResult result = RunCli(args);
        QCOMPARE(result.Status, status);
        QVERIFY2(result.Err.startsWith(errStart) && (errStart.isEmpty() == result.Err.isEmpty()), result.Err);
        QCOMPARE(result.Out.isEmpty(), status != 1);
    }

    // Records pair by what they hold wherever they stand; duplicates pair in file order.
    void diffPairsReorderedRecords_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<QString>("expected"); // after the two header lines
        const StoredRecords many = ManyRecords(5000);
        auto edited = [&](auto edit) {
            StoredRecords records = many;
            edit(records);
            return records.Write();
        };
        QTest::newRow("reversed") << many.Write() << edited([](StoredRecords& r) {
            std::reverse(r.Sams.begin(), r.Sams.end());
            std::reverse(r.Keysites.begin(), r.Keysites.end());
        }) << QStringLiteral("~ the same records in another order\n");
        QTest::newRow("reversed, one moved, one template changed") << many.Write() << edited([](StoredRecords& r) {
            std::reverse(r.Sams.begin(), r.Sams.end());
            std::reverse(r.Keysites.begin(), r.Keysites.end());
            r.Sams[4989].X = 0.25f; // A's SAM 10
            r.Templates[1].TypeCode = 9;
        }) << QStringLiteral("~ template 1: type 2 -> 9\n- SAM 10: X 10, Z 10\n+ SAM 4989: X 0.25, Z 10\n");
        StoredRecords twice = ManyRecords(0);
        twice.Sams = {{1, 2}, {1, 2}, {3, 4}};
        twice.Templates.push_back(twice.Templates[1]);
        QTest::newRow("duplicates pair in order")
            << twice.Write() <<
            [&] {
                StoredRecords records = twice;
                records.Sams = {{3, 4}, {1, 2}};
                records.Templates.erase(records.Templates.begin() + 1);
                return records.Write();
            }()
            << QStringLiteral("- template 3: type 2, approximation \"TANK\", base none, route none, 1 objects\n"
                              "- SAM 1: X 1, Z 2\n");
    }

    void diffPairsReorderedRecords()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(QString, expected);
        const QString pathA = Path(QStringLiteral("ra.BIN")), pathB = Path(QStringLiteral("rb.BIN"));
        WriteBytes(pathA, a);
        WriteBytes(pathB, b);
        const CliResult result = RunCli({QStringLiteral("diff"), pathA, pathB});
        QCOMPARE(result.Status, 1);
        QCOMPARE(QString::fromUtf8(result.Out), QStringLiteral("--- %1\n+++ %2\n").arg(pathA, pathB) + expected);
    }

    // With a platform that does not exist, a command that draws nothing still runs; render, the
    // one that draws, cannot (which shows the platform was asked for).
    void commandsThatDrawNothingNeedNoPlatform()
    {
        const QString bin = Write(QStringLiteral("p.BIN"), ManyRecords(2));
        const QString json = Path(QStringLiteral("p.json"));
        const QString demo = Path(QStringLiteral("demo"));
        const QString bogus = QStringLiteral("no-such-platform");
        const QList<QStringList> commands{
            {"to-json", bin},
            {"dump", bin},
            {"diff", bin, bin},
            {"check", bin},
            {"demo", demo},
            {"maps", demo},
            {"settings", Path(QStringLiteral("none.ini"))},
            {"--version"},
        };
        for (const QStringList& args : commands) {
            const CliResult result = RunWithPlatform(args, bogus);
            QVERIFY2(result.Status == 0, qPrintable(args.first() + QLatin1Char(' ') + QString::fromUtf8(result.Err)));
            QVERIFY2(result.Err.isEmpty(), result.Err);
        }
        WriteBytes(json, RunWithPlatform({QStringLiteral("to-json"), bin}, bogus).Out);
        QCOMPARE(RunWithPlatform({QStringLiteral("from-json"), json, Path(QStringLiteral("q.BIN"))}, bogus).Status, 0);
        QCOMPARE(ReadBytes(Path(QStringLiteral("q.BIN"))), ReadBytes(bin));
        const CliResult render = RunWithPlatform({"render", demo + QStringLiteral("/common/maps/map_sable_coast"),
                                                  Path(QStringLiteral("r.png")), "--size", "40", "30"},
                                                 bogus);
        QVERIFY(render.Status != 0);
        QVERIFY(RunCli({"render", demo + QStringLiteral("/common/maps/map_sable_coast"), Path(QStringLiteral("r.png")),
                        "--size", "40", "30"})
                    .Status
                == 0);
    }

    // Starting a command that draws nothing must not map Qt Gui and the libraries it brings; the
    // renderer does load it, which shows the listing would reveal it.
    void toolLoadsNoQtGui()
    {
        const auto tool = LoadedLibraries(QStringLiteral(SABLEMAP_CLI));
        const auto renderer = LoadedLibraries(QStringLiteral(SABLEMAP_CLI_RENDER));
        if (!tool || !renderer)
            QSKIP("the programs are no ELF files, or ldd is missing");
        QVERIFY2(tool->contains(QLatin1String("libQt6Core")), qPrintable(*tool));
        QVERIFY2(!tool->contains(QLatin1String("libQt6Gui")), qPrintable(*tool));
        QVERIFY2(renderer->contains(QLatin1String("libQt6Gui")), qPrintable(*renderer));
    }

    // sablemap-cli render is the renderer's run with the same arguments: the same status, output,
    // messages and picture, also for a name that is not ASCII.
    void renderIsTheRenderersRun_data()
    {
        QTest::addColumn<QStringList>("args"); // MAP stands for the demonstration's map, OUT for the picture
        QTest::addColumn<int>("status");
        QTest::newRow("drawn") << QStringList{"MAP", "OUT", "--size", "40", "30", "--grid"} << 0;
        QTest::newRow("usage") << QStringList{"MAP", "OUT", "--size", "40"} << 2;
        QTest::newRow("unknown view") << QStringList{"MAP", "OUT", "--size", "4", "3", "--view", "sideways"} << 2;
        QTest::newRow("no map") << QStringList{"NONE", "OUT", "--size", "40", "30"} << 1;
    }

    void renderIsTheRenderersRun()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        const QString demo = Path(QStringLiteral("render-demo"));
        if (!QFileInfo::exists(demo))
            QCOMPARE(RunCli({QStringLiteral("demo"), demo}).Status, 0);
        QByteArray pictures[2];
        CliResult results[2];
        for (int i = 0; i < 2; ++i) {
            const QString out = Path(QStringLiteral("karte-\u00e9-%1.png").arg(i));
            QFile::remove(out);
            QStringList words = args;
            for (QString& word : words) {
                if (word == QLatin1String("MAP"))
                    word = demo + QStringLiteral("/common/maps/map_sable_coast");
                else if (word == QLatin1String("NONE"))
                    word = Path(QStringLiteral("no-map"));
                else if (word == QLatin1String("OUT"))
                    word = out;
            }
            words.prepend(QStringLiteral("render"));
            results[i] = i == 0 ? RunCli(words) : RunProgram(QStringLiteral(SABLEMAP_CLI_RENDER), words);
            pictures[i] = ReadBytes(out);
        }
        QCOMPARE(results[0].Status, status);
        QCOMPARE(results[0].Status, results[1].Status);
        QCOMPARE(results[0].Out, results[1].Out);
        QCOMPARE(results[0].Err, results[1].Err);
        QCOMPARE(pictures[0], pictures[1]);
        QCOMPARE(pictures[0].startsWith("\x89PNG"), status == 0);
        QCOMPARE(results[0].Err.isEmpty(), status == 0);
    }

    // A tool copied without its renderer still answers everything but drawing, and says why it
    // cannot draw.
    void renderWithoutTheRenderer()
    {
        const QString lone = Path(QStringLiteral("lone/sablemap-cli"));
        QVERIFY(QDir().mkpath(Path(QStringLiteral("lone"))));
        QVERIFY(QFile::copy(QStringLiteral(SABLEMAP_CLI), lone));
        const QStringList drawing{
            "render", Path(QStringLiteral("map")), Path(QStringLiteral("lone.png")), "--size", "4", "3"};
        const CliResult failed = RunProgram(lone, drawing);
        QCOMPARE(failed.Status, 1);
        QVERIFY2(failed.Err.startsWith("Render failed: ") && failed.Err.contains("sablemap-cli-render")
                     && failed.Err.count('\n') == 1,
                 failed.Err);
        QVERIFY(failed.Out.isEmpty());
        for (const QStringList& args : {QStringList{"help", "render"}, QStringList{"render", "--help"}}) {
            const CliResult usage = RunProgram(lone, args);
            QCOMPARE(usage.Status, 0);
            QCOMPARE(usage.Out, RunCli(args).Out);
            QVERIFY2(usage.Out.startsWith("usage: sablemap-cli render MAPFOLDER OUT.png --size W H"), usage.Out);
        }
    }

    // A refused number or key of megabytes is shown as a line's worth of its start.
    void fromJsonShortensRefusedText_data()
    {
        QTest::addColumn<QByteArray>("sam");
        QTest::addColumn<QByteArray>("shown");
        const QByteArray digits = QByteArray(3'000'000, '9');
        const QByteArray key = QByteArray(3'000'000, 'k');
        QTest::newRow("float") << "{\"x\": 1" + digits + ", \"z\": 0}"
                               << "\"x\": 1" + digits.left(78) + "…";
        QTest::newRow("integer as float") << "{\"x\": -" + digits + ", \"z\": 0}"
                                          << "\"x\": -" + digits.left(78) + "…";
        QTest::newRow("key") << "{\"" + key + "\": 1}"
                             << "unknown key \"" + key.left(79) + "…\" in a SAM site";
        QTest::newRow("short number whole")
            << QByteArray("{\"x\": 1e99, \"z\": 0}") << QByteArray("\"x\": 1e99 does not fit a 32-bit float");
    }

    void fromJsonShortensRefusedText()
    {
        QFETCH(QByteArray, sam);
        QFETCH(QByteArray, shown);
        const QString json = Path(QStringLiteral("long.json"));
        WriteBytes(json,
                   "{\"format\": \"sablemap-bin/1\", \"routeObjects\": false, \"templates\": [], \"keysites\": [],\n"
                   "\"airbases\": [],\n\"SAMs\": [\n"
                       + sam + "]}\n");
        const CliResult result = RunCli({QStringLiteral("from-json"), json, Path(QStringLiteral("long.BIN"))});
        QCOMPARE(result.Status, 1);
        QVERIFY2(result.Err.startsWith(("Open failed: " + json + ":4: ").toUtf8()), result.Err.left(300));
        QVERIFY2(result.Err.contains(shown), result.Err.left(300));
        QVERIFY2(result.Err.size() < 400, result.Err.left(300));
        QVERIFY(!QFile::exists(Path(QStringLiteral("long.BIN"))));
    }

    // The text is read in pieces of 64 KiB: a number, a key, an escape or a Windows-1252 letter in
    // UTF-8 cut at any byte by a piece's end reads as a whole.
    void fromJsonReadsAcrossPieces_data()
    {
        QTest::addColumn<int>("shift");
        for (int shift = 1; shift < 56; ++shift)
            QTest::addRow("cut at +%d", shift) << shift;
    }

    void fromJsonReadsAcrossPieces()
    {
        QFETCH(int, shift);
        const QByteArray head = "{\"format\": \"sablemap-bin/1\", \"routeObjects\": false, \"templates\": [], "
                                "\"keysites\": [], \"SAMs\": [{\"x\": 1, \"z\": 2}], \"airbases\": [";
        const QByteArray fine = "{\"x\": 12345.678, \"z\": -0.5, \"name\": \"\\u0041\xC3\xA9\\u20ac\\\"\"}";
        // Each byte of `fine` in turn is the first of the second piece.
        const qsizetype before = 65536 - shift;
        QByteArray text = head + QByteArray(before - head.size(), ' ') + fine + "]}\n";
        const QString json = Path(QStringLiteral("cut.json")), out = Path(QStringLiteral("cut.BIN"));
        WriteBytes(json, text);
        const CliResult result = RunCli({QStringLiteral("from-json"), json, out});
        QVERIFY2(result.Status == 0, result.Err);
        const CliResult back = RunCli({QStringLiteral("to-json"), out});
        QVERIFY2(back.Out.contains("{\"x\": 12345.678, \"z\": -0.5, \"name\": \"A\xC3\xA9\xE2\x82\xAC\\\"\"}"),
                 back.Out);
        QVERIFY2(back.Out.contains("{\"x\": 1, \"z\": 2}"), back.Out);
    }
};

QTEST_GUILESS_MAIN(TestCliScale)
#include "tst_cli_scale.moc"
