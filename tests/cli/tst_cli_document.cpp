// The document commands of sablemap-cli: output, exit statuses and messages.
#include "clirunner.h"
#include "randommapfile.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "demo/democampaign.h"
#include "demo/demoinstall.h"
#include "demo/demoterrain.h"
#include "document/binfile.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <limits>

namespace {

QByteArray Int32(int32_t value) { return QByteArray(reinterpret_cast<const char*>(&value), 4); }
QByteArray Name(const QByteArray& name) { return Int32(static_cast<int32_t>(name.size())) + name; }

QByteArray Catalogue(const QList<QByteArray>& names)
{
    QByteArray bytes = Int32(static_cast<int32_t>(names.size() + 1)) + Int32(0);
    for (const QByteArray& name : names)
        bytes += Name(name) + Int32(0);
    return bytes;
}

// Two templates (the second with an object named in another letter case), a keysite on template
// 1, an airbase whose object the catalogue lacks, a SAM at 0.1, -2.5.
QByteArray MapFile()
{
    return Int32(-2)                                                             //
        + Int32(0) + Int32(14) + Int32(1) + Name("Depot") + Int32(0) + Int32(0)  //
        + Int32(1) + Int32(9) + Int32(0) + Int32(0) + Int32(1) + Name("h\xE9li") //
        + QByteArray::fromHex("0000803F 00000040 0000C03F").replace(" ", "") + Name("depot") + Int32(1) + Int32(1)
        + QByteArray::fromHex("0000C842") + QByteArray::fromHex("00004843") //
        + Int32(1) + Int32(0) + Int32(0) + Name("Hangar")                   //
        + Int32(1) + QByteArray::fromHex("CDCCCC3D") + QByteArray::fromHex("000020C0");
}

// The random file the golden output was taken from.
constexpr const char* kRandomFileSha256 = "2d56ebdf46a1eb975cf912870038a062d5fddc1b4272f89296d8bfd3c4af3fc0";

} // namespace

class TestCliDocument : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_catalogue;
    QString m_map;

    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // MAP, CAT and OUT in `args` replaced by the campaign, the catalogue and `out`.
    QStringList Substituted(QStringList args, const QString& out) const
    {
        for (QString& arg : args)
            arg = arg == QLatin1String("MAP") ? m_map
                : arg == QLatin1String("CAT") ? m_catalogue
                : arg == QLatin1String("OUT") ? out
                                              : arg;
        return args;
    }

private slots:
    void initTestCase()
    {
        m_catalogue = Path("bininfo.bin");
        m_map = Path("campaign.bin");
        WriteBytes(m_catalogue, Catalogue({"Depot", "h\xE9li", "Tower"}));
        WriteBytes(m_map, MapFile());

        // The inputs of the golden dumps: the demonstration files and a file of random records.
        QString error;
        QVERIFY2(WriteDemoInstallation(Path("demo"), nullptr, &error), qPrintable(error));
        WriteBytes(Path("random-bininfo.bin"), demo::CatalogueBytes(kRandomNames));
        C3DObjectsList catalogue(QLocale(QLocale::English, QLocale::UnitedStates));
        for (const std::string& name : kRandomNames)
            catalogue.Add(name);
        const CPopTemplatesTypesList types;
        const QByteArray random = RandomMapFile(catalogue, types);
        // The generator must keep writing the very file the golden output was taken from.
        QCOMPARE(QCryptographicHash::hash(random, QCryptographicHash::Sha256).toHex(), QByteArray(kRandomFileSha256));
        WriteBytes(Path("random.bin"), random);
    }

    void catalogueListsSortedNames()
    {
        const CliResult result = RunCli({QStringLiteral("catalogue"), m_catalogue});
        QCOMPARE(result.Status, 0);
        QCOMPARE(QString::fromUtf8(result.Out), QStringLiteral("0\tDepot\n1\th\u00E9li\n2\tTower\n"));
    }

    void resaveNormalisesNames()
    {
        const QString out = Path("resaved.bin");
        QCOMPARE(RunCli({QStringLiteral("resave"), m_map, out, QStringLiteral("--catalogue"), m_catalogue,
                         QStringLiteral("--invalid-names")})
                     .Status,
                 0);
        const QByteArray saved = ReadBytes(out);
        QCOMPARE(saved.size(), MapFile().size() + 8); // INVALID_OBJECT is 8 bytes longer than Hangar
        QVERIFY(saved.contains(Name("Depot") + Int32(1) + Int32(1)));
        QVERIFY(saved.contains(Name("INVALID_OBJECT")));
    }

    void exportAndImport()
    {
        const QString btp = Path("two.btp");
        QCOMPARE(RunCli({QStringLiteral("export-templates"), m_map, QStringLiteral("0"), QStringLiteral("1"), btp,
                         QStringLiteral("--catalogue"), m_catalogue})
                     .Status,
                 0);
        QVERIFY(ReadBytes(btp).startsWith(Int32(-2)));

        const QString bad = Path("bad.btp");
        const CliResult invalid =
            RunCli({QStringLiteral("export-templates"), m_map, QStringLiteral("-1"), QStringLiteral("2"), bad});
        QCOMPARE(invalid.Status, 1);
        QVERIFY(invalid.Err.startsWith("Export failed: "));
        QCOMPARE(invalid.Err.count('\n'), 1);
        QVERIFY(!QFile::exists(bad));

        const QString merged = Path("merged.bin");
        QCOMPARE(
            RunCli({QStringLiteral("import-templates"), m_map, btp, merged, QStringLiteral("--invalid-names")}).Status,
            0);
        const CliResult dump = RunCli({QStringLiteral("dump"), merged});
        const QJsonArray templates = QJsonDocument::fromJson(dump.Out).object()[QStringLiteral("templates")].toArray();
        QCOMPARE(templates.size(), 4);
        QCOMPARE(templates[3].toObject()[QStringLiteral("Used")].toString(), QStringLiteral("0"));
        QCOMPARE(templates[1].toObject()[QStringLiteral("Used")].toString(), QStringLiteral("1"));
    }

    // Asked to (--invalid-names), names the catalogue lacks are written as INVALID_OBJECT: the tool
    // says which, and for how many records, of what it wrote (the exit status stays 0).
    void missingNamesAreNamed_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("missing");
        const QString map = QStringLiteral("MAP");
        const QString out = QStringLiteral("OUT");
        const QString all = QStringLiteral("\"Depot\", \"h\u00E9li\", \"depot\", \"Hangar\"");
        QTest::newRow("resave") << QStringList{QStringLiteral("resave"), map, out, QStringLiteral("--catalogue"),
                                               QStringLiteral("CAT")}
                                << QStringLiteral("1 record, 1 name (\"Hangar\")");
        QTest::newRow("resave without catalogue")
            << QStringList{QStringLiteral("resave"), map, out} << QStringLiteral("4 records, 4 names (%1)").arg(all);
        QTest::newRow("export of template 1")
            << QStringList{QStringLiteral("export-templates"), map, QStringLiteral("1"), QStringLiteral("1"), out}
            << QStringLiteral("2 records, 2 names (\"h\u00E9li\", \"depot\")");
        QTest::newRow("export, every name known") << QStringList{QStringLiteral("export-templates"),
                                                                 map,
                                                                 QStringLiteral("0"),
                                                                 QStringLiteral("1"),
                                                                 out,
                                                                 QStringLiteral("--catalogue"),
                                                                 QStringLiteral("CAT")}
                                                  << QString();
        QTest::newRow("import of the file's own templates")
            << QStringList{QStringLiteral("import-templates"), map, map, out}
            << QStringLiteral("7 records, 4 names (%1)").arg(all);
    }
    void missingNamesAreNamed()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, missing);
        const CliResult result =
            RunCli(Substituted(args, Path("named.out")) + QStringList{QStringLiteral("--invalid-names")});
        QCOMPARE(result.Status, 0);
        QCOMPARE(QString::fromUtf8(result.Err),
                 missing.isEmpty() ? QString()
                                   : QStringLiteral("Warning: 3D object names not in the catalogue are written as "
                                                    "INVALID_OBJECT: %1\n")
                                         .arg(missing));
    }

    // Without --invalid-names the same writes are refused: the names would be lost. The count is of
    // distinct names; an existing file stays as it was.
    void namesThatWouldBeLostAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("refusal");
        const QString map = QStringLiteral("MAP");
        const QString out = QStringLiteral("OUT");
        const QString cat = QStringLiteral("--catalogue");
        QTest::newRow("resave, one name the catalogue lacks")
            << QStringList{QStringLiteral("resave"), map, out, cat, QStringLiteral("CAT")}
            << QStringLiteral("Save failed: 1 name is");
        QTest::newRow("resave without catalogue")
            << QStringList{QStringLiteral("resave"), map, out} << QStringLiteral("Save failed: 4 names are");
        QTest::newRow("export of template 1")
            << QStringList{QStringLiteral("export-templates"), map, QStringLiteral("1"), QStringLiteral("1"), out}
            << QStringLiteral("Export failed: 2 names are");
        QTest::newRow("import: names of the document and of the source")
            << QStringList{QStringLiteral("import-templates"), map, map, out, cat, QStringLiteral("CAT")}
            << QStringLiteral("Save failed: 1 name is");
    }
    void namesThatWouldBeLostAreRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, refusal);
        const QString out = Path("refused.out");
        WriteBytes(out, "keep me");
        const CliResult result = RunCli(Substituted(args, out));
        QCOMPARE(result.Status, 1);
        QCOMPARE(QString::fromUtf8(result.Err),
                 refusal
                     + QStringLiteral(" not in the 3D object list and would be written as INVALID_OBJECT; give "
                                      "--catalogue, or --invalid-names to write them so\n"));
        QCOMPARE(ReadBytes(out), QByteArray("keep me"));
        QVERIFY(result.Out.isEmpty());
    }

    void failuresLeaveExistingFilesAlone()
    {
        const QString out = Path("existing.bin");
        WriteBytes(out, "keep me");
        const QString truncated = Path("truncated.bin");
        WriteBytes(truncated, MapFile().left(40));
        const CliResult open = RunCli({QStringLiteral("resave"), truncated, out});
        QCOMPARE(open.Status, 1);
        QVERIFY(open.Err.startsWith("Open failed: "));
        QCOMPARE(open.Err.count('\n'), 1);

        const CliResult import = RunCli({QStringLiteral("import-templates"), m_map, truncated, out});
        QCOMPARE(import.Status, 1);
        QVERIFY(import.Err.startsWith("Import failed: "));
        QCOMPARE(RunCli({QStringLiteral("dump"), Path("missing.bin")}).Status, 1);
        QCOMPARE(ReadBytes(out), QByteArray("keep me"));
    }

    // dump prints exactly what it printed when these files were taken: the demonstration files and
    // a file of random records, with and without a catalogue.
    void dumpIsUnchanged_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("golden");
        const QString map =
            Path("demo") + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap) + QLatin1Char('/');
        const QString demoCatalogue = Path("demo") + QStringLiteral("/stormcr/3ddata/bininfo.bin");
        const QString cat = QStringLiteral("--catalogue");
        const QString templates = QStringLiteral("--templates");
        QTest::newRow("demo campaign") << QStringList{map + QLatin1String(kDemoCampaignFile), cat, demoCatalogue}
                                       << "demo-campaign.json";
        QTest::newRow("demo campaign, no catalogue")
            << QStringList{map + QLatin1String(kDemoCampaignFile)} << "demo-campaign-nocatalogue.json";
        QTest::newRow("demo templates") << QStringList{map + QLatin1String(kDemoTemplateFile), templates, cat,
                                                       demoCatalogue}
                                        << "demo-templates.json";
        QTest::newRow("random records") << QStringList{Path("random.bin"), cat, Path("random-bininfo.bin")}
                                        << "random.json";
        QTest::newRow("random templates, no catalogue")
            << QStringList{Path("random.bin"), templates} << "random-templates.json";
    }
    void dumpIsUnchanged()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, golden);
        const CliResult result = RunCli(QStringList{QStringLiteral("dump")} + args);
        QCOMPARE(result.Status, 0);
        const QString goldenPath = QStringLiteral(SABLEMAP_GOLDEN_DIR "/") + golden;
        if (qEnvironmentVariableIsSet("SABLEMAP_WRITE_GOLDEN"))
            WriteBytes(goldenPath, result.Out);
        const QByteArray expected = ReadBytes(goldenPath);
        QVERIFY2(!expected.isEmpty(), qPrintable(goldenPath));
        const QString actual = m_dir.filePath(QStringLiteral("actual-") + golden);
        if (result.Out != expected)
            WriteBytes(actual, result.Out);
        QVERIFY2(result.Out == expected, qPrintable(QStringLiteral("output differs; kept in ") + actual));
    }

    // check prints exactly what it printed when these files were taken, and answers the same.
    void checkIsUnchanged_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("golden");
        const QString map =
            Path("demo") + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap) + QLatin1Char('/');
        const QString demoCatalogue = Path("demo") + QStringLiteral("/stormcr/3ddata/bininfo.bin");
        const QString cat = QStringLiteral("--catalogue");
        const QString json = QStringLiteral("--json");
        const QStringList random{Path("random.bin"), cat, demoCatalogue, QStringLiteral("--map"), map};
        QTest::newRow("demo campaign") << QStringList{map + QLatin1String(kDemoCampaignFile), cat, demoCatalogue,
                                                      QStringLiteral("--map"), map}
                                       << 0 << "check-demo-campaign.txt";
        QTest::newRow("random records, names and map") << random << 1 << "check-random.txt";
        QTest::newRow("random records, names and map, JSON") << random + QStringList{json} << 1 << "check-random.json";
        QTest::newRow("random records, own catalogue, JSON")
            << QStringList{Path("random.bin"), cat, Path("random-bininfo.bin"), json} << 1
            << "check-random-own-catalogue.json";
    }
    void checkIsUnchanged()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, golden);
        const CliResult result = RunCli(QStringList{QStringLiteral("check")} + args);
        QCOMPARE(result.Status, status);
        const QString goldenPath = QStringLiteral(SABLEMAP_GOLDEN_DIR "/") + golden;
        if (qEnvironmentVariableIsSet("SABLEMAP_WRITE_GOLDEN"))
            WriteBytes(goldenPath, result.Out);
        const QByteArray expected = ReadBytes(goldenPath);
        QVERIFY2(!expected.isEmpty(), qPrintable(goldenPath));
        const QString actual = m_dir.filePath(QStringLiteral("actual-") + golden);
        if (result.Out != expected)
            WriteBytes(actual, result.Out);
        QVERIFY2(result.Out == expected, qPrintable(QStringLiteral("output differs; kept in ") + actual));
    }

    void damagedCatalogueAndUsageErrors()
    {
        const QString damaged = Path("damaged.bin");
        WriteBytes(damaged, Catalogue({"Depot", "Tower"}).left(15));
        for (const QStringList& args :
             {QStringList{QStringLiteral("catalogue"), damaged},
              QStringList{QStringLiteral("dump"), m_map, QStringLiteral("--catalogue"), damaged}}) {
            const CliResult result = RunCli(args);
            QCOMPARE(result.Status, 1);
            QVERIFY(result.Err.startsWith("File stormcr\\3ddata\\bininfo.bin not found or corrupted !: "));
        }
        const QString empty = Path("empty.bin");
        WriteBytes(empty, QByteArray());
        const CliResult none = RunCli({QStringLiteral("catalogue"), empty});
        QCOMPARE(none.Status, 0);
        QVERIFY(none.Out.isEmpty());

        QCOMPARE(RunCli({}).Status, 2);
        QCOMPARE(RunCli({QStringLiteral("frobnicate")}).Status, 2);
        QCOMPARE(RunCli({QStringLiteral("dump")}).Status, 2);
        QCOMPARE(RunCli({QStringLiteral("dump"), m_map, QStringLiteral("--bogus")}).Status, 2);
        const CliResult words = RunCli(
            {QStringLiteral("export-templates"), m_map, QStringLiteral("one"), QStringLiteral("2"), Path("x.btp")});
        QCOMPARE(words.Status, 2);
        QVERIFY(words.Err.contains("usage"));
    }
};

QTEST_GUILESS_MAIN(TestCliDocument)
#include "tst_cli_document.moc"
