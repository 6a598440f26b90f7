// The lossless JSON form: from-json(to-json(F)) gives F's bytes back, and bad JSON is refused
// with the line at fault and no file written.
#include "clirunner.h"
#include "randommapfile.h"

#include "document/storedrecords.h"

#include <QDir>
#include <QDirIterator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records with names of every byte value, the five Windows-1252 leaves undefined and control
// bytes among them, in either variant, written by the writer from the names as stored.
QByteArray OddNamesFile(bool withRouteObjects, bool templateListOnly, uint64_t seed)
{
    CRandom random(seed);
    StoredRecords records;
    records.WithRouteObjects = withRouteObjects;
    records.TemplateListOnly = templateListOnly;
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    for (const std::string& name :
         {every, std::string("\x81\x8D\x8F\x90\x9D"), std::string("\0\x01\x1F\x7F", 4), std::string()})
        records.AddName(name);
    for (const std::string& name : kRandomNames)
        records.AddName(name);
    const int names = static_cast<int>(records.Names.size());
    auto reference = [&] { return random.Int(0, 3) == 0 ? NoObjectIndex : random.Int(0, names - 1); };
    records.Templates.resize(static_cast<size_t>(random.Int(3, 8)));
    for (CPopTemplate& tmpl : records.Templates) {
        tmpl.TypeCode = static_cast<int32_t>(random.Next());
        tmpl.ApproximationObject = reference();
        tmpl.BaseObject = reference();
        tmpl.RouteObject = withRouteObjects ? reference() : NoObjectIndex;
        tmpl.Objects.resize(static_cast<size_t>(random.Int(0, 5)));
        for (CThreeDObject& object : tmpl.Objects)
            object = {RandomFloat(random), RandomFloat(random), RandomFloat(random), random.Int(0, names - 1)};
    }
    if (!templateListOnly) {
        for (int i = random.Int(1, 20); i > 0; --i)
            records.Keysites.push_back(
                {random.Int(-1, int(records.Templates.size()) - 1), RandomFloat(random), RandomFloat(random)});
        for (int i = random.Int(1, 20); i > 0; --i)
            records.Airbases.push_back({RandomFloat(random), RandomFloat(random), random.Int(0, names - 1)});
        for (int i = random.Int(1, 20); i > 0; --i)
            records.Sams.push_back({RandomFloat(random), RandomFloat(random)});
    }
    return records.Write();
}

// A Python with the JSON Schema validator, if the machine has one.
QString SchemaPython()
{
    for (const QString& python :
         {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
        if (!python.isEmpty()
            && QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import jsonschema")}) == 0)
            return python;
    }
    return QString();
}

} // namespace

class TestCliJsonForm : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_python;

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // to-json, the schema, from-json; returns the bytes written back.
    QByteArray RoundTrip(const QByteArray& bytes, bool templateListOnly)
    {
        WriteBytes(Path(QStringLiteral("in.BIN")), bytes);
        QStringList flag;
        if (templateListOnly)
            flag << QStringLiteral("--templates");
        const CliResult json = RunCli(QStringList{QStringLiteral("to-json"), Path(QStringLiteral("in.BIN"))} + flag);
        if (json.Status != 0)
            return "to-json failed: " + json.Err;
        WriteBytes(Path(QStringLiteral("in.json")), json.Out);
        if (!m_python.isEmpty()) {
            QProcess python;
            python.start(
                m_python,
                {QStringLiteral("-c"),
                 QStringLiteral("import json,sys,jsonschema\n"
                                "schema=json.load(open(sys.argv[1]))\n"
                                "jsonschema.Draft202012Validator(schema).validate(json.load(open(sys.argv[2])))"),
                 QStringLiteral(SABLEMAP_SCHEMA), Path(QStringLiteral("in.json"))});
            python.waitForFinished(60000);
            if (python.exitCode() != 0)
                return "schema: " + python.readAllStandardError();
        }
        const CliResult back = RunCli(
            QStringList{QStringLiteral("from-json"), Path(QStringLiteral("in.json")), Path(QStringLiteral("out.BIN"))}
            + flag);
        if (back.Status != 0)
            return "from-json failed: " + back.Err;
        return ReadBytes(Path(QStringLiteral("out.BIN")));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_python = SchemaPython();
        if (m_python.isEmpty())
            qWarning("No Python with jsonschema: the JSON form is not checked against its schema");
        QCOMPARE(RunCli({QStringLiteral("demo"), Path(QStringLiteral("demo"))}).Status, 0);
    }

    void writerFilesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("templateListOnly");
        const QString maps = Path(QStringLiteral("demo/common/maps"));
        QDirIterator files(maps, {QStringLiteral("*.BIN"), QStringLiteral("*.BTP")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            QTest::newRow(qPrintable(QFileInfo(file).fileName()))
                << ReadBytes(file) << file.endsWith(QLatin1String(".BTP"));
        }
        C3DObjectsList catalogue;
        for (const std::string& name : kRandomNames)
            catalogue.Add(name);
        CPopTemplatesTypesList types;
        QTest::newRow("random file saved by the document") << RandomMapFile(catalogue, types) << false;
        QTest::newRow("odd names, route objects") << OddNamesFile(true, false, 1) << false;
        QTest::newRow("odd names, no route objects") << OddNamesFile(false, false, 2) << false;
        QTest::newRow("template list, route objects") << OddNamesFile(true, true, 3) << true;
        QTest::newRow("template list, no route objects") << OddNamesFile(false, true, 4) << true;
        QTest::newRow("empty file") << QByteArray(16, '\0') << false;
    }

    void writerFilesComeBackByteForByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, templateListOnly);
        QCOMPARE(RoundTrip(bytes, templateListOnly), bytes);
    }

    // Files the readers accept but the writer would not write (presence values other than 1,
    // negative counts, bytes after the end) keep their records: the second trip is exact.
    void corpusKeepsItsRecords()
    {
        int tried = 0;
        for (const char* corpus : {"fuzz_mapbin", "fuzz_template"}) {
            const bool templateListOnly = QByteArray(corpus) == "fuzz_template";
            QDirIterator files(QStringLiteral(SABLEMAP_CORPUS_DIR "/") + QLatin1String(corpus), QDir::Files);
            while (files.hasNext()) {
                const QString file = files.next();
                QStringList args{QStringLiteral("to-json"), file};
                if (templateListOnly)
                    args << QStringLiteral("--templates");
                const CliResult first = RunCli(args);
                if (first.Status != 0)
                    continue; // a damaged file: the readers refuse it
                ++tried;
                const QByteArray written = RoundTrip(ReadBytes(file), templateListOnly);
                QCOMPARE(RoundTrip(written, templateListOnly), written);
                args[1] = Path(QStringLiteral("out.BIN"));
                QCOMPARE(RunCli(args).Out, first.Out);
            }
        }
        QVERIFY(tried >= 5);
    }

    void floatsAndNamesAreWrittenExactly()
    {
        StoredRecords records;
        const int32_t name = records.AddName(std::string("\x81q\"\x80\x01", 5));
        const float values[] = {-0.0f, std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                                0.1f};
        records.Airbases.push_back({values[0], values[1], name});
        records.Airbases.push_back({values[2], values[3], name});
        uint32_t nanBits = 0x7FC00001;
        float nan;
        std::memcpy(&nan, &nanBits, 4);
        records.Sams.push_back({nan, -std::numeric_limits<float>::infinity()});
        WriteBytes(Path(QStringLiteral("floats.BIN")), records.Write());
        const CliResult json = RunCli({QStringLiteral("to-json"), Path(QStringLiteral("floats.BIN"))});
        QCOMPARE(json.Status, 0);
        QVERIFY2(json.Out.contains("{\"x\": -0, \"z\": 1e-45, \"name\": \"\\u0081q\\\"\xE2\x82\xAC\\u0001\"}"),
                 json.Out);
        QVERIFY2(json.Out.contains("{\"x\": 3.4028235e+38, \"z\": 0.1, \"name\": "), json.Out);
        QVERIFY2(json.Out.contains("{\"x\": \"NaN:7FC00001\", \"z\": \"-Infinity\"}"), json.Out);
    }

    void badInputIsRefused_data()
    {
        QTest::addColumn<QByteArray>("lists"); // line 5 of an otherwise valid form
        QTest::addColumn<QString>("expected");
        auto sams = [](const char* sam) {
            return QByteArray("  \"keysites\": [], \"airbases\": [], \"SAMs\": [") + sam + "]";
        };
        QTest::newRow("syntax") << sams("{\"x\": 1, \"z\": }") << QStringLiteral(":5: unexpected character");
        QTest::newRow("wrong type") << sams("{\"x\": true, \"z\": 1}") << QStringLiteral(":5: \"x\" must be a number");
        QTest::newRow("missing key") << sams("{\"x\": 1}") << QStringLiteral(":5: a SAM site lacks the key \"z\"");
        QTest::newRow("unknown key") << sams("{\"x\": 1, \"z\": 2, \"y\": 3}")
                                     << QStringLiteral(":5: unknown key \"y\"");
        QTest::newRow("key twice") << sams("{\"x\": 1, \"z\": 2, \"z\": 3}")
                                   << QStringLiteral(":5: key \"z\" given twice");
        QTest::newRow("float too large") << sams("{\"x\": 1e39, \"z\": 2}")
                                         << QStringLiteral(":5: \"x\": 1e39 does not fit a 32-bit float");
        QTest::newRow("not a NaN") << sams("{\"x\": \"NaN:7F800000\", \"z\": 2}")
                                   << QStringLiteral(":5: \"x\" must be a number");
        QTest::newRow("integer too large")
            << QByteArray(
                   "  \"keysites\": [{\"template\": 2147483648, \"x\": 0, \"z\": 0}], \"airbases\": [], \"SAMs\": []")
            << QStringLiteral(":5: \"template\": 2147483648 does not fit a 32-bit integer");
        QTest::newRow("template out of range")
            << QByteArray("  \"keysites\": [{\"template\": 1, \"x\": 0, \"z\": 0}], \"airbases\": [], \"SAMs\": []")
            << QStringLiteral(":5: template 1 does not exist");
        QTest::newRow("name beyond Windows-1252")
            << QByteArray(
                   "  \"keysites\": [], \"airbases\": [{\"x\": 0, \"z\": 0, \"name\": \"a\\u0100\"}], \"SAMs\": []")
            << QStringLiteral(":5: \"name\": the character U+0100 cannot be stored");
        QTest::newRow("not UTF-8") << QByteArray(
            "  \"keysites\": [], \"airbases\": [{\"x\": 0, \"z\": 0, \"name\": \"\xE9\"}], \"SAMs\": []")
                                   << QStringLiteral(":5: text that is not UTF-8");
        QTest::newRow("list missing") << QByteArray("  \"keysites\": [], \"airbases\": []")
                                      << QStringLiteral(":1: the Map BIN file lacks the key \"SAMs\"");
    }

    void badInputIsRefused()
    {
        QFETCH(QByteArray, lists);
        QFETCH(QString, expected);
        const QByteArray json =
            "{\n  \"format\": \"sablemap-bin/1\",\n  \"routeObjects\": true,\n  \"templates\": [{\"type\": 1, "
            "\"approximation\": null, \"base\": null, \"route\": null, \"objects\": []}],\n"
            + lists + "\n}\n";
        const QString in = Path(QStringLiteral("bad.json"));
        const QString out = Path(QStringLiteral("kept.BIN"));
        WriteBytes(in, json);
        WriteBytes(out, "old");
        const CliResult result = RunCli({QStringLiteral("from-json"), in, out});
        QCOMPARE(result.Status, 1);
        QVERIFY2(result.Err.startsWith(("Open failed: " + in + expected).toUtf8()), result.Err);
        QCOMPARE(ReadBytes(out), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(TestCliJsonForm)
#include "tst_cli_jsonform.moc"
