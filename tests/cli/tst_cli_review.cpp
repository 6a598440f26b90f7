// Reviewing Map BIN files: check's findings, diff's record changes, and git diff through the
// textconv recipe of the README.
#include "clirunner.h"

#include "document/storedrecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

namespace {

QByteArray Int32(int32_t value) { return QByteArray(reinterpret_cast<const char*>(&value), 4); }

QByteArray Catalogue(const QList<QByteArray>& names)
{
    QByteArray bytes = Int32(static_cast<int32_t>(names.size() + 1)) + Int32(0);
    for (const QByteArray& name : names)
        bytes += Int32(static_cast<int32_t>(name.size())) + name + Int32(0);
    return bytes;
}

// Two templates (TANK with a HOUSE at 0, 0 and a GHOST at 1, 2), keysites on template 0 at
// 80000, 20000 and 80100, 20000, an airbase on "tank", SAM sites at 80000, 20100 and 80200, 20000.
StoredRecords BaseRecords()
{
    StoredRecords records;
    records.WithRouteObjects = true;
    const int32_t tank = records.AddName("TANK"), house = records.AddName("HOUSE"), ghost = records.AddName("GHOST");
    const int32_t lower = records.AddName("tank");
    records.Templates.resize(2);
    records.Templates[0].TypeCode = 1;
    records.Templates[0].ApproximationObject = tank;
    records.Templates[0].Objects = {{0, 0, 0, house}, {1, 2, 0, ghost}};
    records.Templates[1].TypeCode = 2;
    records.Templates[1].Objects = {{3, 4, 0, house}};
    records.Keysites = {{0, 80000, 20000}, {0, 80100, 20000}};
    records.Airbases = {{80300, 20000, lower}};
    records.Sams = {{80000, 20100}, {80200, 20000}};
    return records;
}

} // namespace

class TestCliReview : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Write(const QString& name, const StoredRecords& records) const
    {
        WriteBytes(Path(name), records.Write());
        return Path(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        WriteBytes(Path(QStringLiteral("bininfo.bin")), Catalogue({"TANK", "HOUSE"}));
        QCOMPARE(RunCli({QStringLiteral("demo"), Path(QStringLiteral("demo"))}).Status, 0);
    }

    // One instance of every finding, in record order; text and JSON say the same.
    void checkNamesEachFinding()
    {
        StoredRecords records = BaseRecords();
        records.Templates[0].Objects[1].Z = std::numeric_limits<float>::quiet_NaN();
        records.Templates[1].Objects.clear();
        records.Keysites = {{0, 80000, 20000}, {5, 80100, 20000}, {0, 80000, 20000}, {-1, 80200, 20000}};
        records.Sams = {{std::numeric_limits<float>::infinity(), 5}, {1e7f, 1e7f}};
        const QString file = Write(QStringLiteral("findings.BIN"), records);
        const QStringList args{QStringLiteral("check"),       file,
                               QStringLiteral("--catalogue"), Path(QStringLiteral("bininfo.bin")),
                               QStringLiteral("--map"),       Path(QStringLiteral("demo/common/maps/map_sable_coast"))};
        const CliResult text = RunCli(args);
        QCOMPARE(text.Status, 1);
        QCOMPARE(text.Err, QByteArray("Check failed: 7 problems\n"));
        const QStringList expected = {
            "problem: template 0 object 1: Z is NAN",
            "problem: template 0 object 1: object \"GHOST\" is not in the catalogue (a save through the editor writes "
            "INVALID_OBJECT)",
            "problem: template 1: has no objects",
            "note: template 1: no keysite uses it",
            "problem: keysite 1: template 5 does not exist (the file has 2 templates)",
            "problem: keysite 2: lies at the same position as keysite 0",
            "note: keysite 3: has no template",
            "problem: SAM 0: X is INF",
            "problem: SAM 1: X 10000000, Z 10000000 lies outside the map (X 0 to ",
        };
        const QStringList lines = QString::fromUtf8(text.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), expected.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(expected[i]), qPrintable(lines[i]));

        const CliResult json = RunCli(args + QStringList{QStringLiteral("--json")});
        QCOMPARE(json.Status, 1);
        const QJsonArray findings = QJsonDocument::fromJson(json.Out).array();
        QCOMPARE(findings.size(), lines.size());
        const QJsonObject first = findings[1].toObject();
        QCOMPARE(first[QStringLiteral("record")].toString(), QStringLiteral("template"));
        QCOMPARE(first[QStringLiteral("number")].toInt(), 0);
        QCOMPARE(first[QStringLiteral("object")].toInt(), 1);
        QCOMPARE(QStringLiteral("problem: template 0 object 1: ") + first[QStringLiteral("text")].toString(), lines[1]);
        QCOMPARE(findings[3].toObject()[QStringLiteral("severity")].toString(), QStringLiteral("note"));
    }

    // A name of thousands of characters is shown as its first 79 and an ellipsis.
    void checkShortensLongNames()
    {
        StoredRecords records = BaseRecords();
        records.Airbases[0].ObjectIndex = records.AddName(std::string(5000, 'W'));
        const CliResult result = RunCli({QStringLiteral("check"), Write(QStringLiteral("long.BIN"), records),
                                         QStringLiteral("--catalogue"), Path(QStringLiteral("bininfo.bin"))});
        QCOMPARE(result.Status, 1);
        QVERIFY2(result.Out.contains("problem: airbase 0: object \"" + QByteArray(79, 'W') + "\u2026\" is not in"),
                 result.Out.left(300).constData());
        QVERIFY(!result.Out.contains(QByteArray(80, 'W')));
    }

    void checkPassesWithNotesOnly()
    {
        StoredRecords records = BaseRecords();
        records.Keysites.push_back({1, 80400, 20000});
        records.Keysites.push_back({-1, 80500, 20000});
        const CliResult result = RunCli({QStringLiteral("check"), Write(QStringLiteral("clean.BIN"), records)});
        QCOMPARE(result.Status, 0);
        QCOMPARE(result.Out, QByteArray("note: keysite 3: has no template\n"));
        QVERIFY(result.Err.isEmpty());
    }

    // Trouble is 2, as diff(1)'s, so that 1 keeps meaning "problems found"; the message says which.
    void checkTroubleIsTwo_data()
    {
        QTest::addColumn<QStringList>("args"); // CLEAN stands for a file without problems
        QTest::addColumn<QString>("message");  // how stderr begins
        const QString clean = QStringLiteral("CLEAN");
        const QString check = QStringLiteral("check");
        QTest::newRow("no such file") << QStringList{check, Path(QStringLiteral("none.BIN"))}
                                      << QStringLiteral("Open failed: ");
        QTest::newRow("damaged file") << QStringList{check, Path(QStringLiteral("cut.BIN"))}
                                      << QStringLiteral("Open failed: ");
        QTest::newRow("damaged catalogue")
            << QStringList{check, clean, QStringLiteral("--catalogue"), Path(QStringLiteral("cut-bininfo.bin"))}
            << QStringLiteral("File stormcr\\3ddata\\bininfo.bin not found or corrupted !: ");
        QTest::newRow("folder that is no map")
            << QStringList{check, clean, QStringLiteral("--map"), m_dir.path()} << QStringLiteral("Wrong map data!: ");
        QTest::newRow("usage error") << QStringList{check, clean, QStringLiteral("--bogus")}
                                     << QStringLiteral("sablemap-cli: unknown option --bogus\n");
    }
    void checkTroubleIsTwo()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        WriteBytes(Path(QStringLiteral("cut.BIN")), BaseRecords().Write().left(30));
        WriteBytes(Path(QStringLiteral("cut-bininfo.bin")), Catalogue({"TANK", "HOUSE"}).left(15));
        const QString clean = Write(QStringLiteral("clean.BIN"), BaseRecords());
        args.replaceInStrings(QRegularExpression(QStringLiteral("^CLEAN$")), clean);
        QCOMPARE(RunCli({QStringLiteral("check"), clean}).Status, 0); // the same file is fine
        const CliResult result = RunCli(args);
        QCOMPARE(result.Status, 2);
        QVERIFY2(QString::fromUtf8(result.Err).startsWith(message), result.Err.constData());
        QVERIFY(result.Out.isEmpty());
    }

    void diffNamesRecordChanges_data()
    {
        QTest::addColumn<QByteArray>("other");
        QTest::addColumn<bool>("withCatalogue");
        QTest::addColumn<QString>("expected"); // after the two header lines; empty: equal
        const StoredRecords base = BaseRecords();
        auto changed = [&](auto edit) {
            StoredRecords records = BaseRecords();
            edit(records);
            return records.Write();
        };
        QTest::newRow("equal") << base.Write() << false << QString();
        QTest::newRow("SAM moved") << changed([](StoredRecords& r) { r.Sams[1].X = 80250.5f; }) << false
                                   << QStringLiteral("~ SAM 1: X 80200 -> 80250.5\n");
        QTest::newRow("placement edited in place")
            << changed([](StoredRecords& r) { r.Keysites[1].TemplateNumber = 1; }) << false
            << QStringLiteral("~ keysite 1: template 0 -> 1\n");
        QTest::newRow("airbase added, keysite removed")
            << changed([](StoredRecords& r) {
                   r.Airbases.push_back({1, 2, 0});
                   r.Keysites.erase(r.Keysites.begin());
               })
            << false
            << QStringLiteral("- keysite 0: template 0, X 80000, Z 20000\n+ airbase 1: X 1, Z 2, name \"TANK\"\n");
        QTest::newRow("template object edited")
            << changed([](StoredRecords& r) {
                   r.Templates[0].Objects[1].Heading = 90;
                   r.Templates[0].Objects[0].ObjectIndex = 2;
               })
            << false
            << QStringLiteral(
                   "~ template 0 object 0: name \"HOUSE\" -> \"GHOST\"\n~ template 0 object 1: heading 0 -> 90\n");
        QTest::newRow("templates swapped") << changed([](StoredRecords& r) {
            std::swap(r.Templates[0], r.Templates[1]);
            r.Keysites[0].TemplateNumber = r.Keysites[1].TemplateNumber = 1;
        }) << false << QStringLiteral("~ the same records in another order\n");
        QTest::newRow("letter case without catalogue")
            << changed([](StoredRecords& r) { r.Airbases[0].ObjectIndex = 0; }) << false
            << QStringLiteral("~ airbase 0: name \"tank\" -> \"TANK\"\n");
        QTest::newRow("letter case with catalogue")
            << changed([](StoredRecords& r) { r.Airbases[0].ObjectIndex = 0; }) << true << QString();
        QTest::newRow("variant and -0") << changed([](StoredRecords& r) {
            r.WithRouteObjects = false;
            r.Templates[0].Objects[0].X = -0.0f;
        }) << false
                                        << QStringLiteral(
                                               "~ template list: with route objects -> without route objects\n"
                                               "~ template 0 object 0: X 0 -> -0\n");
    }

    void diffNamesRecordChanges()
    {
        QFETCH(QByteArray, other);
        QFETCH(bool, withCatalogue);
        QFETCH(QString, expected);
        const QString a = Write(QStringLiteral("a.BIN"), BaseRecords());
        const QString b = Path(QStringLiteral("b.BIN"));
        WriteBytes(b, other);
        QStringList args{QStringLiteral("diff"), a, b};
        if (withCatalogue)
            args << QStringLiteral("--catalogue") << Path(QStringLiteral("bininfo.bin"));
        const CliResult result = RunCli(args);
        QCOMPARE(result.Status, expected.isEmpty() ? 0 : 1);
        QCOMPARE(QString::fromUtf8(result.Out),
                 expected.isEmpty() ? QString() : QStringLiteral("--- %1\n+++ %2\n").arg(a, b) + expected);
    }

    // Exactly the README's recipe, in a fresh repository.
    void gitDiffShowsRecords()
    {
        const QString git = QStandardPaths::findExecutable(QStringLiteral("git"));
        if (git.isEmpty())
            QSKIP("git is not installed");
        const QString repo = Path(QStringLiteral("repo"));
        QVERIFY(QDir().mkpath(repo));
        QProcess process;
        process.setWorkingDirectory(repo);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"),
                           QFileInfo(QStringLiteral(SABLEMAP_CLI)).absolutePath() + QLatin1Char(':')
                               + environment.value(QStringLiteral("PATH")));
        environment.insert(QStringLiteral("GIT_CONFIG_NOSYSTEM"), QStringLiteral("1"));
        environment.insert(QStringLiteral("HOME"), repo);
        process.setProcessEnvironment(environment);
        auto run = [&](const QStringList& args) {
            process.start(git, args);
            process.waitForFinished(60000);
            return process.exitCode() == 0 ? process.readAllStandardOutput()
                                           : "failed: " + process.readAllStandardError();
        };
        QVERIFY(!run({QStringLiteral("init"), QStringLiteral("-q")}).startsWith("failed"));
        WriteBytes(repo + QStringLiteral("/.gitattributes"), "*.BIN diff=sablemap\n");
        QVERIFY(!run({QStringLiteral("config"), QStringLiteral("diff.sablemap.textconv"),
                      QStringLiteral("sablemap-cli to-json")})
                     .startsWith("failed"));
        Write(QStringLiteral("repo/camp.BIN"), BaseRecords());
        QVERIFY(!run({QStringLiteral("add"), QStringLiteral(".")}).startsWith("failed"));
        QVERIFY(!run({QStringLiteral("-c"), QStringLiteral("user.name=Modder"), QStringLiteral("-c"),
                      QStringLiteral("user.email=modder@example.invalid"), QStringLiteral("commit"),
                      QStringLiteral("-qm"), QStringLiteral("campaign")})
                     .startsWith("failed"));
        StoredRecords moved = BaseRecords();
        moved.Sams[1].X = 80250.5f;
        Write(QStringLiteral("repo/camp.BIN"), moved);
        const QByteArray diff = run({QStringLiteral("diff"), QStringLiteral("--no-color")});
        QVERIFY2(diff.contains("\n-    {\"x\": 80200, \"z\": 20000}\n+    {\"x\": 80250.5, \"z\": 20000}\n"), diff);
    }
};

QTEST_GUILESS_MAIN(TestCliReview)
#include "tst_cli_review.moc"
