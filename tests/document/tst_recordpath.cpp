// The record path and its announcements: a listener that knows nothing but the announcements
// (and reads the rows they name) keeps a copy of the document that always equals it, and each
// kind of operation announces the rows it changed, in an order a table model can replay.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "randomedits.h"

#include <QTest>

namespace {

// The document as its announcements describe it. A template's own announcements copy its fields
// and use count only: its objects change through their own list's announcements.
class CReplica {
public:
    explicit CReplica(CBINFile& document) : m_document(document)
    {
        const auto on = [&](auto signal, const char* what, auto change) {
            QObject::connect(&document, signal, [this, what, change](ListAddress list, int first, int last) {
                Announced << QStringLiteral("%1 %2 %3").arg(QLatin1String(what), ListName(list)).arg(first)
                        + (QByteArray(what).endsWith('?') ? QString() : QStringLiteral("..%1").arg(last));
                change(list, first, last);
            });
        };
        // Before a change the replica still has the rows the document has.
        const auto unchanged = [this](ListAddress list, int, int) { QCOMPARE(Size(list), m_document.Count(list)); };
        on(&CBINFile::RowsAboutToBeInserted, "insert?", unchanged);
        on(&CBINFile::RowsAboutToBeRemoved, "remove?", unchanged);
        on(&CBINFile::RowsInserted, "insert", [this](ListAddress list, int first, int last) {
            OnRows(list, [&](auto& rows, auto source) {
                rows.insert(rows.begin() + first, source.begin() + first, source.begin() + last + 1);
            });
        });
        on(&CBINFile::RowsRemoved, "remove", [this](ListAddress list, int first, int last) {
            OnRows(list, [&](auto& rows, auto) { rows.erase(rows.begin() + first, rows.begin() + last + 1); });
        });
        on(&CBINFile::RowsChanged, "change", [this](ListAddress list, int first, int last) {
            OnRows(list, [&](auto& rows, auto source) {
                for (auto row = size_t(first); row <= size_t(last); ++row) {
                    if constexpr (std::is_same_v<std::decay_t<decltype(rows[row])>, CPopTemplate>) {
                        std::vector<CThreeDObject> objects = std::move(rows[row].Objects);
                        rows[row] = source[row];
                        rows[row].Objects = std::move(objects);
                    } else {
                        rows[row] = source[row];
                    }
                }
            });
        });
        QObject::connect(&document, &CBINFile::AboutToReset, [this] { Announced << QStringLiteral("reset?"); });
        QObject::connect(&document, &CBINFile::DocumentReset, [this] {
            Announced << QStringLiteral("reset");
            for (const RecordList list :
                 {RecordList::Templates, RecordList::Keysites, RecordList::Airbases, RecordList::Sams})
                OnRows({list}, [](auto& rows, auto source) { rows.assign(source.begin(), source.end()); });
        });
    }

    // Every field of every record, the replica's and the document's side by side.
    void CompareWithDocument() const
    {
        QCOMPARE(Text(m_templates, m_keysites, m_airbases, m_sams),
                 Text(m_document.Templates(), m_document.Keysites(), m_document.Airbases(), m_document.Sams()));
    }

    QStringList Announced; // "remove keysites 3..3", "change templates 1..1", ...

private:
    static QString ListName(ListAddress list)
    {
        switch (list.List) {
        case RecordList::Templates: return QStringLiteral("templates");
        case RecordList::TemplateObjects: return QStringLiteral("objects of %1").arg(list.Template);
        case RecordList::Keysites: return QStringLiteral("keysites");
        case RecordList::Airbases: return QStringLiteral("airbases");
        case RecordList::Sams: return QStringLiteral("SAMs");
        }
        return QString();
    }

    // Calls `f` with the replica's rows of a list and the document's.
    template <typename F>
    void OnRows(ListAddress list, F f)
    {
        switch (list.List) {
        case RecordList::Templates: f(m_templates, m_document.Templates()); break;
        case RecordList::TemplateObjects:
            f(m_templates[size_t(list.Template)].Objects, m_document.Objects(list.Template));
            break;
        case RecordList::Keysites: f(m_keysites, m_document.Keysites()); break;
        case RecordList::Airbases: f(m_airbases, m_document.Airbases()); break;
        case RecordList::Sams: f(m_sams, m_document.Sams()); break;
        }
    }
    int Size(ListAddress list)
    {
        int size = 0;
        OnRows(list, [&](auto& rows, auto) { size = int(rows.size()); });
        return size;
    }

    static QStringList Text(std::span<const CPopTemplate> templates, std::span<const CKeysitePlacement> keysites,
                            std::span<const CAirbasePlacement> airbases, std::span<const CSAMPlacement> sams)
    {
        QStringList lines;
        for (const CPopTemplate& t : templates) {
            lines << QStringLiteral("T %1 %2 %3 %4 used %5")
                         .arg(t.TypeCode)
                         .arg(t.ApproximationObject)
                         .arg(t.BaseObject)
                         .arg(t.RouteObject)
                         .arg(t.UseCount);
            for (const CThreeDObject& o : t.Objects)
                lines << QStringLiteral("  O %1 %2 %3 %4").arg(o.X).arg(o.Z).arg(o.Heading).arg(o.ObjectIndex);
        }
        for (const CKeysitePlacement& k : keysites)
            lines << QStringLiteral("K %1 %2 %3").arg(k.TemplateNumber).arg(k.X).arg(k.Z);
        for (const CAirbasePlacement& a : airbases)
            lines << QStringLiteral("A %1 %2 %3").arg(a.X).arg(a.Z).arg(a.ObjectIndex);
        for (const CSAMPlacement& s : sams)
            lines << QStringLiteral("S %1 %2").arg(s.X).arg(s.Z);
        return lines;
    }

    CBINFile& m_document;
    std::vector<CPopTemplate> m_templates;
    std::vector<CKeysitePlacement> m_keysites;
    std::vector<CAirbasePlacement> m_airbases;
    std::vector<CSAMPlacement> m_sams;
};

struct Fixture {
    C3DObjectsList Catalogue{QLocale(QLocale::English)};
    CPopTemplatesTypesList Types;
    CBINFile Doc{&Catalogue, &Types};
    CReplica Replica{Doc};

    // Four templates (0 and 2 with two objects), keysites on templates 1, 3, -, 3, 1; two
    // airbases; three SAM sites.
    Fixture()
    {
        std::vector<CPopTemplate> templates(4);
        for (int t = 0; t < 4; ++t) {
            templates[size_t(t)].TypeCode = 10 + t;
            if (t % 2 == 0)
                templates[size_t(t)].Objects = {{1, 2, 3, -2}, {4, 5, 6, -1}};
        }
        Doc.InsertRows(0, std::move(templates));
        Doc.InsertRows(0, std::vector<CKeysitePlacement>{{1, 0, 0}, {3, 1, 1}, {-1, 2, 2}, {3, 3, 3}, {1, 4, 4}});
        Doc.InsertRows(0, std::vector<CAirbasePlacement>{{0, 0, -2}, {1, 1, -2}});
        Doc.InsertRows(0, std::vector<CSAMPlacement>{{0, 0}, {1, 1}, {2, 2}});
        Replica.Announced.clear();
    }
};

} // namespace

class TestRecordPath : public QObject {
    Q_OBJECT

private slots:
    // What each kind of operation announces, in order; the replica checks after each step that
    // nothing was missed.
    void announcements_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QStringList>("announced");
        QTest::newRow("delete a keysite")
            << 0 << QStringList{"remove? keysites 1", "remove keysites 1..1", "change templates 3..3"};
        QTest::newRow("move a keysite to another template")
            << 1 << QStringList{"change keysites 0..0", "change templates 1..2"};
        QTest::newRow("add a keysite without template")
            << 2 << QStringList{"insert? keysites 5", "insert keysites 5..5"};
        QTest::newRow("delete an unused template: later keysites renumbered")
            << 3 << QStringList{"remove? templates 2", "remove templates 2..2", "change keysites 1..3"};
        QTest::newRow("insert a template before others: keysites renumbered")
            << 4 << QStringList{"insert? templates 0", "insert templates 0..0", "change keysites 0..4"};
        QTest::newRow("templates in use are refused") << 5 << QStringList{};
        QTest::newRow("an object of template 2")
            << 6 << QStringList{"remove? objects of 2 0", "remove objects of 2 0..0"};
        QTest::newRow("edit a template") << 7 << QStringList{"change templates 0..0"};
        QTest::newRow("import appends templates") << 8 << QStringList{"insert? templates 4", "insert templates 4..4"};
        QTest::newRow("load") << 9 << QStringList{"reset?", "reset"};
        QTest::newRow("out of range") << 10 << QStringList{};
    }
    void announcements()
    {
        QFETCH(int, operation);
        QFETCH(QStringList, announced);
        Fixture f;
        switch (operation) {
        case 0: QVERIFY(!f.Doc.RemoveRows<CKeysitePlacement>(1, 1).empty()); break;
        case 1: QVERIFY(f.Doc.ReplaceRow(0, CKeysitePlacement{2, 7, 7})); break;
        case 2: QVERIFY(f.Doc.InsertRows(5, std::vector{CKeysitePlacement{-1, 9, 9}})); break;
        case 3: QVERIFY(!f.Doc.RemoveRows<CPopTemplate>(2, 1).empty()); break;
        case 4: QVERIFY(f.Doc.InsertRows(0, std::vector<CPopTemplate>(1))); break;
        case 5: QVERIFY(f.Doc.RemoveRows<CPopTemplate>(0, 2).empty()); break;
        case 6: QVERIFY(!f.Doc.RemoveRows<CThreeDObject>(0, 1, 2).empty()); break;
        case 7: QVERIFY(f.Doc.ReplaceRow(0, CPopTemplate{99, 1, 1, 1, 0, {}})); break;
        case 8: // one template, no objects, no references
            QVERIFY(f.Doc.ImportTemplateBytes(
                QByteArray::fromHex("FFFFFFFF 00000000 07000000 00000000 00000000 00000000")));
            break;
        case 9: QVERIFY(f.Doc.LoadBytes(QByteArray(16, '\0'))); break;
        case 10:
            QVERIFY(f.Doc.RemoveRows<CKeysitePlacement>(5, 1).empty());
            QVERIFY(!f.Doc.InsertRows(4, std::vector<CSAMPlacement>(1)));
            QVERIFY(!f.Doc.InsertRows(0, std::vector{CKeysitePlacement{4, 0, 0}})); // no template 4
            QVERIFY(!f.Doc.ReplaceRow(0, CThreeDObject{}, 1));                      // template 1 has no objects
            QVERIFY(!f.Doc.RemoveRows<CAirbasePlacement>(1, 2).size());
            break;
        }
        QCOMPARE(f.Replica.Announced, announced);
        f.Replica.CompareWithDocument();
    }

    // Random sequences of every operation on every list: the replica never parts from the
    // document, and use counts always count the keysites.
    void randomSequencesReplay()
    {
        for (const unsigned seed : {1u, 2u, 3u, 4u}) {
            Fixture f;
            CRandomEdits edits(seed);
            for (int step = 0; step < 400; ++step) {
                edits.Apply(f.Doc);
                f.Replica.CompareWithDocument();
                if (QTest::currentTestFailed())
                    QFAIL(qPrintable(QStringLiteral("seed %1, step %2").arg(seed).arg(step)));
            }
            std::vector<int> uses(size_t(f.Doc.TemplateCount()));
            for (const CKeysitePlacement& keysite : f.Doc.Keysites()) {
                QVERIFY(keysite.TemplateNumber >= -1 && keysite.TemplateNumber < f.Doc.TemplateCount());
                if (keysite.TemplateNumber >= 0)
                    ++uses[size_t(keysite.TemplateNumber)];
            }
            for (int i = 0; i < f.Doc.TemplateCount(); ++i)
                QCOMPARE(f.Doc.Templates()[size_t(i)].UseCount, uses[size_t(i)]);
        }
    }

    // Undoing is applying the inverse with the values handed back.
    void inversesRestoreTheDocument()
    {
        Fixture f;
        const QByteArray before = f.Doc.SaveBytes(true);
        std::vector<CKeysitePlacement> keysites = f.Doc.RemoveRows<CKeysitePlacement>(0, 4);
        QCOMPARE(f.Doc.Templates()[3].UseCount, 0);
        std::vector<CPopTemplate> templates = f.Doc.RemoveRows<CPopTemplate>(2, 2);
        QCOMPARE(templates.size(), size_t(2));
        const CPopTemplate old = *f.Doc.ReplaceRow(0, CPopTemplate{5, 0, 0, 0, 0, {}});
        QVERIFY(f.Doc.ReplaceRow(0, old));
        QVERIFY(f.Doc.InsertRows(2, std::move(templates)));
        QVERIFY(f.Doc.InsertRows(0, std::move(keysites)));
        QCOMPARE(f.Doc.SaveBytes(true), before);
        f.Replica.CompareWithDocument();
    }
};

QTEST_GUILESS_MAIN(TestRecordPath)
#include "tst_recordpath.moc"
