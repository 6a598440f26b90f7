// The numbered record operations, use counts and the grid text they produce.
#include "scriptededitor.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"

#include <QTest>

namespace {

struct Fixture {
    C3DObjectsList Catalogue{QLocale(QLocale::English)};
    CPopTemplatesTypesList Types;
    CBINFile Doc{&Catalogue, &Types};
    ScriptedEditor Editor;

    explicit Fixture(int templates = 0)
    {
        Catalogue.Add("Tank");
        Doc.SetRecordEditor(&Editor);
        for (int i = 0; i < templates; ++i) {
            Editor.Answers.push_back({true, 20 + i, {}, {}});
            Doc.TemplateAdd();
        }
    }

    // Adds a keysite confirmed with this template number.
    void AddKeysite(int templateNumber)
    {
        Editor.Answers.push_back({true, templateNumber, 1.0f, 2.0f});
        QVERIFY(Doc.KeysiteAdd());
    }

    QStringList Row(bool (CBINFile::*fill)(GridRow&, int, const TextFormat&) const, int number, int cells)
    {
        GridRow row(cells);
        (Doc.*fill)(row, number, TextFormat{});
        return row;
    }
};

} // namespace

class TestRecordOperations : public QObject {
    Q_OBJECT

private slots:
    void newTemplateRow()
    {
        Fixture f;
        f.Editor.Answers.push_back({true, {}, {}, {}});
        QVERIFY(f.Doc.TemplateAdd());
        QCOMPARE(f.Row(&CBINFile::TemplateFillRow, 0, 7),
                 QStringList({QString(), QStringLiteral("0"), QStringLiteral("[-1] Unknown keysite template type"),
                              QString(), QString(), QString(), QStringLiteral("0")}));
        GridRow shortRow(6, QStringLiteral("x"));
        QVERIFY(!f.Doc.TemplateFillRow(shortRow, 0));
        QCOMPARE(shortRow, GridRow(6, QStringLiteral("x")));
        QVERIFY(!f.Doc.TemplateFillRow(shortRow, 1));
    }

    void cancelledAddsLeaveNoRecord()
    {
        Fixture f(1);
        f.Editor.Answers.assign(5, {false, {}, {}, {}});
        QVERIFY(!f.Doc.TemplateAdd());
        QVERIFY(!f.Doc.ObjectAdd(0));
        QVERIFY(!f.Doc.KeysiteAdd());
        QVERIFY(!f.Doc.AirbaseAdd());
        QVERIFY(!f.Doc.SamAdd());
        QCOMPARE(f.Doc.TemplateCount(), 1);
        QCOMPARE(f.Doc.ObjectCount(0) + f.Doc.KeysiteCount() + f.Doc.AirbaseCount() + f.Doc.SamCount(), 0);
        QCOMPARE(f.Doc.Templates()[0].UseCount, 0);
        QVERIFY(!f.Doc.ObjectAdd(1)); // no such template: no dialog either
        QCOMPARE(f.Editor.Calls, 1 + 5);
    }

    void keysiteRowsFollowTheirTemplate()
    {
        Fixture f(4);
        f.AddKeysite(3);
        f.AddKeysite(-1);
        QCOMPARE(f.Row(&CBINFile::KeysiteFillRow, 0, 5)[4], QStringLiteral("3"));
        QCOMPARE(f.Row(&CBINFile::KeysiteFillRow, 1, 5)[4], QString());
        QCOMPARE(f.Row(&CBINFile::TemplateFillRow, 3, 7)[6], QStringLiteral("1"));

        // Template 99 does not exist: the keysite keeps template 3 but takes the new position.
        f.Editor.Answers.push_back({true, 99, 7.5f, -1.0f});
        QVERIFY(f.Doc.KeysiteEdit(0));
        QCOMPARE(f.Editor.ShownNumber, 3);
        QCOMPARE(f.Doc.KeysiteTemplateIndex(0), 3);
        QCOMPARE(f.Row(&CBINFile::KeysiteFillRow, 0, 5).mid(2, 2),
                 QStringList({QStringLiteral("7.5"), QStringLiteral("-1")}));

        // Moving to template 1 moves the use count with it; the same template changes nothing.
        f.Editor.Answers.push_back({true, 1, {}, {}});
        QVERIFY(f.Doc.KeysiteEdit(0));
        QCOMPARE(f.Doc.Templates()[3].UseCount, 0);
        QCOMPARE(f.Doc.Templates()[1].UseCount, 1);
        f.Editor.Answers.push_back({true, 1, {}, {}});
        QVERIFY(f.Doc.KeysiteEdit(0));
        QCOMPARE(f.Doc.Templates()[1].UseCount, 1);

        // A cancelled edit changes nothing.
        f.Editor.Answers.push_back({false, 2, 0.0f, 0.0f});
        QVERIFY(!f.Doc.KeysiteEdit(0));
        QCOMPARE(f.Doc.KeysiteTemplateIndex(0), 1);
        QVERIFY(!f.Doc.KeysiteEdit(5));
    }

    void templatesInUseCannotBeDeleted()
    {
        Fixture f(3);
        f.AddKeysite(2);
        f.AddKeysite(2);
        QVERIFY(!f.Doc.TemplateDelete(2));
        QCOMPARE(f.Doc.TemplateCount(), 3);
        // Deleting template 0 renumbers the rest; the keysites follow by identity.
        QVERIFY(f.Doc.TemplateDelete(0));
        QCOMPARE(f.Doc.KeysiteTemplateIndex(0), 1);
        QCOMPARE(f.Doc.Templates()[1].TypeCode, 22);
        // Saved with the new number: count 2, then template 1 at X 1, Z 2.
        QVERIFY(f.Doc.SaveBytes(true).contains(QByteArray::fromHex("02000000010000000000803F00000040")));
        QVERIFY(f.Doc.KeysiteDelete(1));
        QVERIFY(!f.Doc.TemplateDelete(1));
        QVERIFY(f.Doc.KeysiteDelete(0));
        QCOMPARE(f.Doc.Templates()[1].UseCount, 0);
        QVERIFY(f.Doc.TemplateDelete(1));
        QVERIFY(!f.Doc.TemplateDelete(1));
        QVERIFY(!f.Doc.TemplateDelete(-1));
    }

    void objectsAirbasesAndSams()
    {
        Fixture f(1);
        f.Editor.Answers.push_back({true, 0, 0.1f, 123456.789f});
        QVERIFY(f.Doc.ObjectAdd(0));
        QCOMPARE(f.Doc.ObjectCount(0), 1);
        QCOMPARE(f.Doc.ObjectCount(3), 0);
        GridRow row(6);
        QVERIFY(f.Doc.ObjectFillRow(row, 0, 0, TextFormat{QLatin1Char(',')}));
        QCOMPARE(row,
                 QStringList({QString(), QStringLiteral("0"), QStringLiteral("0,100000001490116"),
                              QStringLiteral("123456,7890625"), QStringLiteral("0"), QStringLiteral("Tank")}));
        QVERIFY(!f.Doc.ObjectEdit(0, 1));
        QVERIFY(!f.Doc.ObjectDelete(1, 0));
        QVERIFY(f.Doc.ObjectDelete(0, 0));

        f.Editor.Answers.push_back({true, MissingObjectIndex, 3.0f, 4.0f});
        QVERIFY(f.Doc.AirbaseAdd());
        QCOMPARE(f.Row(&CBINFile::AirbaseFillRow, 0, 5)[4], QStringLiteral("INVALID_OBJECT"));
        QVERIFY(f.Doc.AirbaseSetPosition(0, -5.5f, 6.0f));
        QCOMPARE(f.Row(&CBINFile::AirbaseFillRow, 0, 5)[2], QStringLiteral("-5.5"));
        QVERIFY(!f.Doc.AirbaseSetPosition(1, 0, 0));

        f.Editor.Answers.push_back({true, {}, 0.0001f, 100.0f});
        QVERIFY(f.Doc.SamAdd());
        QCOMPARE(f.Row(&CBINFile::SamFillRow, 0, 4),
                 QStringList(
                     {QString(), QStringLiteral("0"), QStringLiteral("9.99999974737875E-5"), QStringLiteral("100")}));
        GridRow three(3);
        QVERIFY(!f.Doc.SamFillRow(three, 0));
        QVERIFY(f.Doc.SamDelete(0));
        QVERIFY(!f.Doc.SamDelete(0));
        QVERIFY(!f.Doc.KeysiteSetPosition(0, 1, 1));
    }
};

QTEST_GUILESS_MAIN(TestRecordOperations)
#include "tst_recordoperations.moc"
