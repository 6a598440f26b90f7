// Records as copy and paste move them: the text is the tool's form of the same records, a paste
// reads names through the receiving catalogue, a keysite's template joins only when the map lacks
// an identical one, and text that is no records is told apart from records that cannot be read.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/recordjson.h"
#include "document/recordtransfer.h"
#include "document/storedrecords.h"
#include "platform/streams.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(CPopTemplate)

namespace {

struct Document {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CBINFile Doc{&Catalogue, &Types};

    explicit Document(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            Catalogue.Add(name);
    }
    int32_t Index(const char* name) const { return Catalogue.IndexOf(name); }
    QString NameOf(int32_t index) const { return QString::fromStdString(Catalogue.NameOf(index)); }

    // The tool's form of the whole document as saved.
    QByteArray SavedText() const
    {
        CByteReader reader(Doc.SaveBytes(true));
        StoredRecords stored;
        if (!ReadStoredRecords(reader, false, stored))
            qFatal("the saved document does not read back");
        return recordjson::Text(stored);
    }
};

CPopTemplate Template(int32_t type, int32_t approximation, std::vector<CThreeDObject> objects)
{
    CPopTemplate tmpl;
    tmpl.TypeCode = type;
    tmpl.ApproximationObject = approximation;
    tmpl.RouteObject = approximation;
    tmpl.Objects = std::move(objects);
    return tmpl;
}

// Three templates, four keysites (two on template 2), airbases and SAM sites, names of "A", "B"
// and "TANK".
void Fill(Document& d)
{
    const int32_t a = d.Index("A"), b = d.Index("B"), tank = d.Index("TANK");
    d.Doc.InsertRows(0,
                     std::vector<CPopTemplate>{Template(1, a, {{1, 2, 90, tank}}), Template(2, NoObjectIndex, {}),
                                               Template(3, b, {{0.1f, -0.0f, 3.5f, a}, {5, 6, 7, b}})});
    d.Doc.InsertRows(0, std::vector<CKeysitePlacement>{{0, 10, 20}, {2, 30, 40}, {-1, 50, 60}, {2, 70, 80}});
    d.Doc.InsertRows(0, std::vector<CAirbasePlacement>{{100, 200, b}, {300.25f, 400, tank}});
    d.Doc.InsertRows(0, std::vector<CSAMPlacement>{{1e-7f, 2}, {3, 4}, {5, 6}});
}

QList<QByteArray> Lines(const QByteArray& text) { return text.split('\n'); }

PastedRecords MustPaste(const QByteArray& text, const CBINFile& document)
{
    PastedRecords pasted;
    QString reason;
    bool notRecords = false;
    if (!recordtransfer::ReadPasted(text, document, pasted, reason, notRecords))
        qFatal("the text does not paste: %s", qPrintable(reason));
    return pasted;
}

} // namespace

class TestRecordTransfer : public QObject {
    Q_OBJECT

private slots:
    // The copy is the tool's form of the same records saved on their own, and each record's line
    // is the line the whole document's form holds for it (a keysite's template number aside).
    void copiedTextIsTheToolsFormOfTheRecords()
    {
        Document source{"A", "B", "TANK"};
        Fill(source);
        RecordChoice choice;
        choice.Keysites = {1, 2, 3};
        choice.Airbases = {1};
        choice.Sams = {0, 2};
        const QByteArray copied = recordtransfer::CopyText(source.Doc, choice);

        Document alone{"A", "B", "TANK"};
        alone.Doc.InsertRows(0, std::vector<CPopTemplate>{source.Doc.Templates()[2]});
        alone.Doc.InsertRows(0, std::vector<CKeysitePlacement>{{0, 30, 40}, {-1, 50, 60}, {0, 70, 80}});
        alone.Doc.InsertRows(0, std::vector<CAirbasePlacement>{source.Doc.Airbases()[1]});
        alone.Doc.InsertRows(0, std::vector<CSAMPlacement>{source.Doc.Sams()[0], source.Doc.Sams()[2]});
        QCOMPARE(copied, alone.SavedText());

        const QList<QByteArray> whole = Lines(source.SavedText());
        for (const QByteArray& line : Lines(copied)) {
            if (!line.contains("\"template\": "))
                QVERIFY2(whole.contains(line), line.constData());
        }
    }

    void templatesPageCopyTakesTheTemplatesWithTheirObjects()
    {
        Document source{"A", "B", "TANK"};
        Fill(source);
        RecordChoice choice;
        choice.Templates = {0, 2};
        const QByteArray copied = recordtransfer::CopyText(source.Doc, choice);
        Document alone{"A", "B", "TANK"};
        alone.Doc.InsertRows(0, std::vector<CPopTemplate>{source.Doc.Templates()[0], source.Doc.Templates()[2]});
        QCOMPARE(copied, alone.SavedText());
    }

    // Names travel as names: the receiving catalogue orders them otherwise, and one it lacks is
    // told and kept as INVALID_OBJECT, as a read of the file would keep it.
    void pasteReadsNamesThroughTheReceivingCatalogue()
    {
        Document source{"A", "B", "TANK"};
        Fill(source);
        RecordChoice choice;
        choice.Templates = {0};
        choice.Airbases = {0, 1};
        Document target{"TANK", "B", "ZEBRA"};
        target.Doc.InsertRows(0, std::vector<CAirbasePlacement>{{1, 1, target.Index("ZEBRA")}});
        const PastedRecords pasted = MustPaste(recordtransfer::CopyText(source.Doc, choice), target.Doc);

        QCOMPARE(int(pasted.Templates.size()), 1);
        const CPopTemplate& tmpl = pasted.Templates[0];
        QCOMPARE(tmpl.ApproximationObject, MissingObjectIndex);
        QCOMPARE(target.NameOf(tmpl.Objects[0].ObjectIndex), QStringLiteral("TANK"));
        QCOMPARE(tmpl.Objects[0].Heading, 90.0f);
        QCOMPARE(target.NameOf(pasted.Airbases[0].ObjectIndex), QStringLiteral("B"));
        QCOMPARE(target.NameOf(pasted.Airbases[1].ObjectIndex), QStringLiteral("TANK"));
        QCOMPARE(pasted.Missing.Names(), std::vector<std::string>{"A"});
        QCOMPARE(pasted.Missing.RecordCount(), 1);
    }

    // The map holds template 0 as `existing`; two keysites on a copy of `pasted` arrive.
    void keysiteTemplateReusedOnlyWhenIdentical_data()
    {
        QTest::addColumn<CPopTemplate>("existing");
        QTest::addColumn<CPopTemplate>("pasted");
        QTest::addColumn<bool>("reused");
        const CPopTemplate base = Template(4, 0, {{1, 2, 3, 1}, {4, 5, 6, 2}});
        CPopTemplate moved = base;
        moved.Objects[1].X = 4.5f;
        CPopTemplate signedZero = base;
        signedZero.Objects[0].Heading = 0.0f;
        CPopTemplate negativeZero = base;
        negativeZero.Objects[0].Heading = -0.0f;
        CPopTemplate otherName = base;
        otherName.Objects[1].ObjectIndex = 0;
        CPopTemplate fewer = base;
        fewer.Objects.pop_back();
        CPopTemplate otherType = base;
        otherType.TypeCode = 5;
        CPopTemplate noRoute = base;
        noRoute.RouteObject = NoObjectIndex;
        QTest::newRow("identical") << base << base << true;
        QTest::newRow("an object moved") << base << moved << false;
        QTest::newRow("0 and -0 differ in their bits") << signedZero << negativeZero << false;
        QTest::newRow("an object's name") << base << otherName << false;
        QTest::newRow("an object fewer") << base << fewer << false;
        QTest::newRow("the type") << base << otherType << false;
        QTest::newRow("the route object") << base << noRoute << false;
    }
    void keysiteTemplateReusedOnlyWhenIdentical()
    {
        QFETCH(CPopTemplate, existing);
        QFETCH(CPopTemplate, pasted);
        QFETCH(bool, reused);
        Document source{"A", "B", "TANK"};
        source.Doc.InsertRows(0, std::vector<CPopTemplate>{Template(9, 1, {}), pasted});
        source.Doc.InsertRows(0, std::vector<CKeysitePlacement>{{1, 10, 10}, {0, 15, 15}, {1, 20, 20}});
        Document target{"A", "B", "TANK"};
        target.Doc.InsertRows(0, std::vector<CPopTemplate>{Template(8, 2, {}), existing});
        RecordChoice choice;
        choice.Keysites = {0, 2};
        const PastedRecords result = MustPaste(recordtransfer::CopyText(source.Doc, choice), target.Doc);

        QCOMPARE(result.Templates.size(), size_t(reused ? 0 : 1));
        const int32_t expected = reused ? 1 : 2;
        QCOMPARE(result.Keysites[0].TemplateNumber, expected);
        QCOMPARE(result.Keysites[1].TemplateNumber, expected);
        if (!reused)
            QCOMPARE(result.Templates[0].Objects.size(), pasted.Objects.size());
    }

    // Templates copied on their own are the user's own copy: they join even beside an identical
    // one, as Import adds them. Keysites that arrive with them still find an identical one.
    void templatesWithoutKeysitesAlwaysJoin()
    {
        Document d{"A", "B", "TANK"};
        Fill(d);
        RecordChoice templates;
        templates.Templates = {0, 1, 2};
        QCOMPARE(MustPaste(recordtransfer::CopyText(d.Doc, templates), d.Doc).Templates.size(), size_t(3));

        // The whole document pasted into itself: the unused template 1 joins again, the keysites
        // name the templates already there.
        const PastedRecords whole = MustPaste(d.SavedText(), d.Doc);
        QCOMPARE(whole.Templates.size(), size_t(1));
        QCOMPARE(whole.Templates[0].TypeCode, 2);
        std::vector<int32_t> numbers;
        for (const CKeysitePlacement& keysite : whole.Keysites)
            numbers.push_back(keysite.TemplateNumber);
        QCOMPARE(numbers, (std::vector<int32_t>{0, 2, -1, 2}));
    }

    void templateListFormPastesItsTemplates()
    {
        Document source{"A", "B", "TANK"};
        Fill(source);
        CByteReader reader(source.Doc.SaveBytes(true));
        StoredRecords stored;
        QVERIFY(ReadStoredRecords(reader, false, stored));
        stored.TemplateListOnly = true;
        const PastedRecords pasted = MustPaste(recordjson::Text(stored), source.Doc);
        QCOMPARE(pasted.Templates.size(), size_t(3));
        QCOMPARE(pasted.Count(), 3);
    }

    void textThatIsNotRecords_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("notRecords");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << true << QString();
        QTest::newRow("words") << QByteArray("SAM site at 3, 4") << true << QString();
        QTest::newRow("another JSON object") << QByteArray("{\"name\": \"x\", \"format\": 3}") << true << QString();
        QTest::newRow("an array") << QByteArray("[1, 2]") << true << QString();
        QTest::newRow("a later form") << QByteArray("{\"format\": \"sablemap-bin/2\", \"SAMs\": []}") << false
                                      << QStringLiteral("line 1: \"format\" must be \"sablemap-bin/1\"");
        QTest::newRow("a damaged record")
            << QByteArray("{\n  \"format\": \"sablemap-bin/1\",\n  \"routeObjects\": true,\n  \"templates\": [],\n"
                          "  \"keysites\": [],\n  \"airbases\": [],\n  \"SAMs\": [\n    {\"x\": \"far\", \"z\": 1}\n"
                          "  ]\n}\n")
            << false << QStringLiteral("line 8: \"x\" must be a number");
        QTest::newRow("a keysite without its template")
            << QByteArray("{\"format\": \"sablemap-bin/1\", \"routeObjects\": true, \"templates\": [],\n"
                          "\"keysites\": [{\"template\": 0, \"x\": 1, \"z\": 2}], \"airbases\": [], \"SAMs\": []}")
            << false << QStringLiteral("line 2: template 0 does not exist");
    }
    void textThatIsNotRecords()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, notRecords);
        QFETCH(QString, reason);
        Document d{"A"};
        PastedRecords pasted;
        pasted.Sams.push_back({1, 2});
        QString said;
        bool saidNotRecords = !notRecords;
        QVERIFY(!recordtransfer::ReadPasted(text, d.Doc, pasted, said, saidNotRecords));
        QCOMPARE(saidNotRecords, notRecords);
        QVERIFY2(said.startsWith(reason), qPrintable(said));
        QCOMPARE(pasted.Count(), 1); // untouched
    }

    void centreOfTheBoundingBoxLandsAtThePoint()
    {
        PastedRecords pasted;
        pasted.Keysites = {{-1, 0, 0}, {-1, NAN, 40}};
        pasted.Airbases = {{10, -20, 0}};
        pasted.Sams = {{-30, 10}};
        recordtransfer::CentreAt(pasted, 1000, 2000);
        // The box was x -30..10, z -20..40: centre (-10, 10).
        QCOMPARE(pasted.Keysites[0].X, 1010.0f);
        QCOMPARE(pasted.Keysites[0].Z, 1990.0f);
        QVERIFY(std::isnan(pasted.Keysites[1].X));
        QCOMPARE(pasted.Keysites[1].Z, 2030.0f);
        QCOMPARE(pasted.Airbases[0].X, 1020.0f);
        QCOMPARE(pasted.Sams[0].Z, 2000.0f);
    }
};

QTEST_GUILESS_MAIN(TestRecordTransfer)
#include "tst_recordtransfer.moc"
