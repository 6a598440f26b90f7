// Reading and writing Map BIN and template files through the document.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/binformat.h"
#include "platform/streams.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

namespace {

QByteArray Hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

// One template (type 3, approximation A, object B at 1,2), one keysite on it at 100,200, no
// airbases, one SAM at 5,6; extended variant.
const QByteArray kWorkedExample = Hex("FFFFFFFF 01000000 03000000 01000000 01000000 41 00000000 00000000"
                                      "0000803F 00000040 00000000 01000000 42"
                                      "01000000 00000000 0000C842 00004843"
                                      "00000000"
                                      "01000000 0000A040 0000C040");

QByteArray Int32(int32_t value) { return QByteArray(reinterpret_cast<const char*>(&value), 4); }

QByteArray Name(const QByteArray& name) { return Int32(static_cast<int32_t>(name.size())) + name; }

struct Fixture {
    C3DObjectsList Catalogue{QLocale(QLocale::English)};
    CPopTemplatesTypesList Types;
    CBINFile Doc{&Catalogue, &Types};

    explicit Fixture(std::initializer_list<const char*> names = {"A", "B", "TANK"})
    {
        for (const char* name : names)
            Catalogue.Add(name);
    }
};

} // namespace

class TestBinFile : public QObject {
    Q_OBJECT

private slots:
    void workedExampleRoundTrips()
    {
        Fixture f;
        QVERIFY(f.Doc.LoadBytes(kWorkedExample));
        QCOMPARE(f.Doc.TemplateCount(), 1);
        const CPopTemplate& tmpl = f.Doc.Templates()[0];
        QCOMPARE(
            std::vector<int32_t>({tmpl.TypeCode, tmpl.ApproximationObject, tmpl.BaseObject, tmpl.RouteObject,
                                  tmpl.UseCount, int32_t(tmpl.Objects.size()), f.Doc.Keysites()[0].TemplateNumber}),
            std::vector<int32_t>({3, f.Catalogue.IndexOf("A"), NoObjectIndex, NoObjectIndex, 1, 1, 0}));
        QCOMPARE(tmpl.Objects[0].Z, 2.0f);
        QCOMPARE(f.Doc.Sams()[0].X, 5.0f);
        QCOMPARE(f.Doc.SaveBytes(true), kWorkedExample);
        QCOMPARE(kWorkedExample.size(), 78);
    }

    void emptyDocumentIsSixteenZeroBytes()
    {
        Fixture f;
        QVERIFY(f.Doc.LoadBytes(QByteArray(16, '\0')));
        QCOMPARE(f.Doc.TemplateCount() + f.Doc.KeysiteCount() + f.Doc.AirbaseCount() + f.Doc.SamCount(), 0);
        QCOMPARE(f.Doc.SaveBytes(true), QByteArray(16, '\0'));
    }

    void basicVariantGainsRouteReferencesOnSave()
    {
        Fixture f;
        // Two templates without route references, presence 5 on the first approximation object.
        const QByteArray tmpl1 = Int32(0) + Int32(7) + Int32(5) + Name("a") + Int32(0);
        const QByteArray tmpl2 = Int32(0) + Int32(9) + Int32(0) + Int32(1) + Name("tank");
        const QByteArray basic = Int32(2) + tmpl1 + tmpl2 + Int32(0) + Int32(0) + Int32(0);
        QVERIFY(f.Doc.LoadBytes(basic));
        QCOMPARE(f.Doc.Templates()[1].RouteObject, NoObjectIndex);
        // The catalogue's spelling replaces the stored one; presence becomes 1; a route reference
        // (absent, 4 bytes) joins each template.
        const QByteArray expected = Int32(-2) + Int32(0) + Int32(7) + Int32(1) + Name("A") + Int32(0) + Int32(0)
            + Int32(0) + Int32(9) + Int32(0) + Int32(1) + Name("TANK") + Int32(0) + Int32(0) + Int32(0) + Int32(0);
        QCOMPARE(f.Doc.SaveBytes(true), expected);
        QCOMPARE(f.Doc.SaveBytes(false).size(), basic.size());
    }

    // A snapshot writes the bytes the document saved when it was taken, whatever the document
    // does afterwards; the record counts of those bytes are the document's.
    void snapshotWritesWhatTheDocumentSaved_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("worked example") << kWorkedExample;
        QTest::newRow("empty") << QByteArray(16, '\0');
        // Absent references, names the catalogue lacks, a keysite without template, an airbase.
        QTest::newRow("unknown names") << Int32(-2) + Int32(1) + Int32(3) + Int32(0) + Int32(1) + Name("B") + Int32(1)
                + Name("ghost") + QByteArray(12, '\0') + Name("TANK") // template 0, 1 object
                + Int32(0) + Int32(2) + Int32(1) + Name("A") + Int32(1) + Name("nosuch") + Int32(0) // template 1
                + Int32(2) + Int32(-1) + QByteArray(8, '\0') + Int32(1) + QByteArray(8, '\0')       // keysites
                + Int32(1) + QByteArray(8, '\0') + Name("Missing")                                  // airbase
                + Int32(2) + QByteArray(16, '\0');                                                  // SAMs
    }
    void snapshotWritesWhatTheDocumentSaved()
    {
        QFETCH(QByteArray, file);
        Fixture f;
        QVERIFY(f.Doc.LoadBytes(file));
        const QByteArray saved = f.Doc.SaveBytes(true);
        const MapSnapshot snapshot =
            SnapshotOf(f.Catalogue, {f.Doc.Templates(), f.Doc.Keysites(), f.Doc.Airbases(), f.Doc.Sams()});
        // Editing afterwards leaves the snapshot as it was.
        f.Doc.InsertRows(0, std::vector<CSAMPlacement>{{1, 2}});
        f.Doc.InsertRows(0, std::vector<CPopTemplate>{CPopTemplate{}});
        QCOMPARE(WriteMapFile(snapshot, true), saved);

        CByteReader reader(saved);
        MapCounts counts;
        QVERIFY(CountMapRecords(reader, counts));
        int objects = 0;
        for (const CPopTemplate& tmpl : f.Doc.Templates())
            objects += int(tmpl.Objects.size());
        QCOMPARE(std::vector<int>({counts.Templates, counts.Objects, counts.Keysites, counts.Airbases, counts.Sams}),
                 std::vector<int>({f.Doc.TemplateCount() - 1, objects, f.Doc.KeysiteCount(), f.Doc.AirbaseCount(),
                                   f.Doc.SamCount() - 1}));
    }

    void unknownNamesAndTemplateNumbers()
    {
        Fixture f;
        const QByteArray file = Int32(-1) + Int32(1) + Int32(3) + Int32(1) + Name("") + Int32(0) + Int32(1)
            + Name("nosuch") + QByteArray(12, '\0') + Name("ghost")            // template object
            + Int32(3) + Int32(7) + QByteArray(8, '\0')                        // keysite on missing template 7
            + Int32(-1) + QByteArray(8, '\0') + Int32(0) + QByteArray(8, '\0') // no template; template 0
            + Int32(1) + QByteArray(8, '\0') + Name("Missing")                 // airbase
            + Int32(0);
        QVERIFY(f.Doc.LoadBytes(file));
        const CPopTemplate& tmpl = f.Doc.Templates()[0];
        QCOMPARE(tmpl.ApproximationObject, MissingObjectIndex); // empty name: never in the catalogue
        QCOMPARE(tmpl.RouteObject, MissingObjectIndex);
        QCOMPARE(tmpl.UseCount, 1);
        QCOMPARE(std::vector<int32_t>({f.Doc.Keysites()[0].TemplateNumber, f.Doc.Keysites()[1].TemplateNumber,
                                       f.Doc.Keysites()[2].TemplateNumber}),
                 std::vector<int32_t>({-1, -1, 0}));
        const QByteArray saved = f.Doc.SaveBytes(true);
        QVERIFY(saved.contains(Name("INVALID_OBJECT") + Int32(0) + Int32(1) + Name("INVALID_OBJECT")));
        QVERIFY(saved.contains(Int32(3) + Int32(-1) + QByteArray(8, '\0') + Int32(-1)));
        QCOMPARE(saved.count(QByteArray("INVALID_OBJECT")), 4);
    }

    void negativeCountsReadNoRecordsAndGoOn()
    {
        Fixture f;
        const QByteArray file = Int32(1) + Int32(-3) + Int32(2) + Int32(0) + Int32(0) // template, objects -3
            + Int32(-1) + Int32(-8) + Int32(1) + Hex("0000A040 0000C040");
        QVERIFY(f.Doc.LoadBytes(file));
        QCOMPARE(f.Doc.ObjectCount(0), 0);
        QCOMPARE(f.Doc.KeysiteCount(), 0);
        QCOMPARE(f.Doc.AirbaseCount(), 0);
        QCOMPARE(f.Doc.SamCount(), 1);
    }

    void everyTruncationFailsAndChangesNothing()
    {
        Fixture f;
        QVERIFY(f.Doc.LoadBytes(kWorkedExample));
        for (qsizetype cut = 0; cut < kWorkedExample.size(); ++cut) {
            QString reason;
            QVERIFY2(!f.Doc.LoadBytes(kWorkedExample.left(cut), &reason), qPrintable(QString::number(cut)));
            QVERIFY(!reason.isEmpty());
            QVERIFY2(!f.Doc.ImportTemplateBytes(kWorkedExample.left(std::min<qsizetype>(cut, 43)), &reason),
                     qPrintable(QString::number(cut)));
        }
        QCOMPARE(f.Doc.SaveBytes(true), kWorkedExample);
    }

    void replacingLoadReplaces()
    {
        QTemporaryDir dir;
        Fixture f;
        QVERIFY(f.Doc.LoadBytes(kWorkedExample));
        const QString good = dir.filePath(QStringLiteral("good.bin"));
        QVERIFY(f.Doc.Save(good, true));
        QVERIFY(f.Doc.LoadReplacing(good));
        QCOMPARE(f.Doc.TemplateCount(), 1); // replaced, not appended
        QCOMPARE(f.Doc.Templates()[0].UseCount, 1);
    }

    void exportRangesAndImport()
    {
        QTemporaryDir dir;
        Fixture f;
        // Five templates with type codes 10..14; template 2 gets an object.
        QByteArray file = Int32(-5);
        for (int i = 0; i < 5; ++i) {
            file += Int32(i == 2 ? 1 : 0) + Int32(10 + i) + Int32(0) + Int32(1) + Name("B") + Int32(0);
            if (i == 2)
                file += Hex("0000803F 00000040 0000C03F") + Name("A");
        }
        file += Int32(1) + Int32(4) + QByteArray(8, '\0') + Int32(0) + Int32(0);
        QVERIFY(f.Doc.LoadBytes(file));

        const QString btp = dir.filePath(QStringLiteral("t.btp"));
        QVERIFY(f.Doc.ExportTemplates(btp, 2, 2));
        QFile exported(btp);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray bytes = exported.readAll();
        QVERIFY(bytes.startsWith(Hex("FFFFFFFF 01000000 0C000000 00000000 01000000 01000000 42 00000000")));

        const QString never = dir.filePath(QStringLiteral("never.btp"));
        for (auto [first, last] : {std::pair{3, 2}, std::pair{-1, 2}, std::pair{0, 5}, std::pair{4, 7}}) {
            QVERIFY(!f.Doc.ExportTemplates(never, first, last));
            QVERIFY(!QFile::exists(never));
        }

        QVERIFY(f.Doc.ExportTemplates(btp, 1, 3));
        QVERIFY(f.Doc.ImportTemplates(btp));
        QCOMPARE(f.Doc.TemplateCount(), 8);
        QCOMPARE(f.Doc.KeysiteCount(), 1);
        QCOMPARE(f.Doc.Templates()[4].UseCount, 1);
        for (int i = 0; i < 3; ++i) {
            const CPopTemplate& copy = f.Doc.Templates()[5 + i];
            const CPopTemplate& original = f.Doc.Templates()[1 + i];
            QCOMPARE(copy.UseCount, 0);
            QCOMPARE(copy.TypeCode, original.TypeCode);
            QCOMPARE(copy.BaseObject, original.BaseObject);
            QCOMPARE(copy.Objects.size(), original.Objects.size());
        }
        QCOMPARE(f.Doc.Templates()[6].Objects[0].Heading, 1.5f);

        // A Map BIN file in the basic variant is a template source too; route objects stay empty.
        const QString basic = dir.filePath(QStringLiteral("basic.bin"));
        QFile basicFile(basic);
        QVERIFY(basicFile.open(QIODevice::WriteOnly));
        basicFile.write(Int32(1) + Int32(0) + Int32(2) + Int32(0) + Int32(0) + Int32(0) + Int32(0) + Int32(0));
        basicFile.close();
        QVERIFY(f.Doc.ImportTemplates(basic));
        QCOMPARE(f.Doc.TemplateCount(), 9);
        QCOMPARE(f.Doc.Templates()[8].RouteObject, NoObjectIndex);
        QCOMPARE(f.Doc.KeysiteCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBinFile)
#include "tst_binfile.moc"
