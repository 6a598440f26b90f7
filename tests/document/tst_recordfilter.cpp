// The filter typed above a grid: which records each expression lets through, and the reason given
// for a term that cannot be read (which then filters nothing).
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/recordfilter.h"

#include <QTest>

class TestRecordFilter : public QObject {
    Q_OBJECT
private:
    C3DObjectsList m_catalogue{QLocale::c()};
    CPopTemplatesTypesList m_types;
    std::unique_ptr<CBINFile> m_document;

    QList<int> Accepted(const CRecordFilter& filter, ListAddress list) const
    {
        QList<int> records;
        for (int record = 0; record < m_document->Count(list); ++record)
            if (filter.Accepts(*m_document, list, record))
                records << record;
        return records;
    }

private slots:
    void initTestCase()
    {
        // "1500" is a name that reads as a number.
        for (const char* name : {"tank_t72", "Hangar", "tank hall", "1500"})
            m_catalogue.Add(name);
        const int32_t tank = m_catalogue.IndexOf("tank_t72");
        const int32_t hangar = m_catalogue.IndexOf("Hangar");
        const int32_t hall = m_catalogue.IndexOf("tank hall");
        const int32_t numeric = m_catalogue.IndexOf("1500");
        m_document = std::make_unique<CBINFile>(&m_catalogue, &m_types);
        std::vector<CPopTemplate> templates(13);
        templates[0].TypeCode = 14; // "[14] OIL"
        templates[0].BaseObject = hall;
        templates[1].TypeCode = 12; // "[12] MILITARY"
        templates[1].Objects = {{1, 2, 90, tank}, {-3.5f, 4, 180, hangar}};
        m_document->InsertRows(0, std::move(templates));
        m_document->InsertRows(0,
                               std::vector<CKeysitePlacement>{{0, 210000, 1}, {-1, 5, 2}, {12, 250000, 3}, {0, 7, 4}});
        m_document->InsertRows(0,
                               std::vector<CAirbasePlacement>{{100, 2000, tank},
                                                              {250000.5f, -5, hangar},
                                                              {300000, 0.1f, hall},
                                                              {12, 7, numeric},
                                                              {0, 0, NoObjectIndex}});
    }

    void accepts_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QList<int>>("records");
        const int airbases = int(RecordList::Airbases);
        const int keysites = int(RecordList::Keysites);
        const int templates = int(RecordList::Templates);
        const int objects = int(RecordList::TemplateObjects);
        const QChar dot = QLatin1Char('.');
        QTest::newRow("no terms") << airbases << "  " << dot << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("word in a name, case-blind") << airbases << "TANK" << dot << QList<int>{0, 2};
        QTest::newRow("quoted words") << airbases << "\"tank hall\"" << dot << QList<int>{2};
        QTest::newRow("word in a number cell") << airbases << "2000" << dot << QList<int>{0};
        QTest::newRow("every term holds") << airbases << "tank 300000" << dot << QList<int>{2};
        QTest::newRow("greater") << airbases << "x>200000" << dot << QList<int>{1, 2};
        QTest::newRow("blanks around the operator") << airbases << "x > 200000" << dot << QList<int>{1, 2};
        QTest::newRow("at least") << airbases << "x>=300000" << dot << QList<int>{2};
        QTest::newRow("at most") << airbases << "x<=100" << dot << QList<int>{0, 3, 4};
        QTest::newRow("equal fraction") << airbases << "x=250000.5" << dot << QList<int>{1};
        QTest::newRow("not equal") << airbases << "x!=0" << dot << QList<int>{0, 1, 2, 3};
        QTest::newRow("float as stored: 0.1") << airbases << "z=0.1" << dot << QList<int>{2};
        QTest::newRow("two column terms") << airbases << "x>200000 z<0" << dot << QList<int>{1};
        QTest::newRow("contains in the number's text") << airbases << "x~.5" << dot << QList<int>{1};
        QTest::newRow("comma separator") << airbases << "x=250000,5" << QChar(u',') << QList<int>{1};
        QTest::newRow("dot with a comma separator") << airbases << "x=250000.5" << QChar(u',') << QList<int>{1};
        QTest::newRow("name equal, case-blind") << airbases << "object=hangar" << dot << QList<int>{1};
        QTest::newRow("prefix of the header") << airbases << "OBJ~tank" << dot << QList<int>{0, 2};
        // "1500" < 200 is false as numbers (true as text); the other names compare as text.
        QTest::newRow("numeric name as a number") << airbases << "object<200" << dot << QList<int>{4};
        QTest::newRow("text value on a number column") << airbases << "x=abc" << dot << QList<int>{};
        QTest::newRow("record number") << airbases << "number>=3" << dot << QList<int>{3, 4};
        QTest::newRow("template by a word of its header") << keysites << "template=12" << dot << QList<int>{2};
        QTest::newRow("quoted whole header") << keysites << "\"population template\"=0" << dot << QList<int>{0, 3};
        QTest::newRow("keysite without template") << keysites << "pop=\"\"" << dot << QList<int>{1};
        // No template is the empty text, which compares as text.
        QTest::newRow("no template compares as text") << keysites << "template<5" << dot << QList<int>{0, 1, 3};
        QTest::newRow("type name") << templates << "type~oil" << dot << QList<int>{0};
        QTest::newRow("used count") << templates << "used>0" << dot << QList<int>{0, 12};
        QTest::newRow("base object name") << templates << "base~hall" << dot << QList<int>{0};
        QTest::newRow("objects: heading and name") << objects << "heading>=90 name~hang" << dot << QList<int>{1};
        QTest::newRow("objects: negative number") << objects << "x<-1" << dot << QList<int>{1};
    }

    void accepts()
    {
        QFETCH(int, list);
        QFETCH(QString, text);
        QFETCH(QChar, separator);
        QFETCH(QList<int>, records);
        const auto recordList = RecordList(list);
        const CRecordFilter filter = CRecordFilter::Read(text, recordList, TextFormat{separator});
        QVERIFY2(filter.IsReadable(), qPrintable(filter.Reason()));
        const ListAddress address{recordList, recordList == RecordList::TemplateObjects ? 1 : -1};
        QCOMPARE(Accepted(filter, address), records);
        // Asked again, the names it learnt give the same answers.
        QCOMPARE(Accepted(filter, address), records);
    }

    void unreadableTermsFilterNothing_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        const int airbases = int(RecordList::Airbases);
        QTest::newRow("unknown column") << airbases << "tank xq=5"
                                        << "No column starts with 'xq'";
        QTest::newRow("ambiguous of two") << int(RecordList::TemplateObjects) << "n=5"
                                          << "'n' could be Name or Number";
        QTest::newRow("ambiguous of three") << int(RecordList::Templates) << "o~a"
                                            << "'o' could be Approximation object, Base object or Route object";
        QTest::newRow("missing value") << airbases << "x>"
                                       << "No value after 'x>'";
        QTest::newRow("operator for a value") << airbases << "x<>5"
                                              << "'<>' is not an operator; use =, !=, <, >, <=, >= or ~";
        QTest::newRow("bad operator") << airbases << "x=>5"
                                      << "'=>' is not an operator; use =, !=, <, >, <=, >= or ~";
        QTest::newRow("no column") << airbases << ">5"
                                   << "No column before '>'";
        QTest::newRow("open quote") << airbases << "object=\"tank"
                                    << "A quote is not closed";
        QTest::newRow("long name shortened") << airbases << QString(60, u'q') + "=1"
                                             << "No column starts with '" + QString(39, u'q') + QChar(0x2026) + "'";
    }

    void unreadableTermsFilterNothing()
    {
        QFETCH(int, list);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        const CRecordFilter filter = CRecordFilter::Read(text, RecordList(list));
        QCOMPARE(filter.Reason(), reason);
        QVERIFY(!filter.Filters());
        const ListAddress address{RecordList(list), RecordList(list) == RecordList::TemplateObjects ? 1 : -1};
        QCOMPARE(Accepted(filter, address).size(), m_document->Count(address));
    }

    // Records move in and out of a filter on numbers when records before them come or go.
    void readsNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reads");
        QTest::newRow("word of letters") << "tank" << false;
        QTest::newRow("word of digits") << "12" << true;
        QTest::newRow("number column") << "num>3" << true;
        QTest::newRow("other column") << "x>3 hangar" << false;
    }

    void readsNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, reads);
        QCOMPARE(CRecordFilter::Read(text, RecordList::Airbases).ReadsNumbers(), reads);
    }
};

QTEST_MAIN(TestRecordFilter)
#include "tst_recordfilter.moc"
