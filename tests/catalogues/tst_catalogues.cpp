#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"

#include <QTest>

namespace {

QByteArray Int32(int32_t value) { return QByteArray(reinterpret_cast<const char*>(&value), 4); }

// A bininfo.bin: the count, an unused field, then count - 1 entries.
QByteArray Catalogue(const QList<QByteArray>& names, int32_t count)
{
    QByteArray bytes = Int32(count) + Int32(7);
    for (const QByteArray& name : names)
        bytes += Int32(static_cast<int32_t>(name.size())) + name + Int32(0);
    return bytes;
}

} // namespace

class TestCatalogues : public QObject {
    Q_OBJECT

private slots:
    void readsCountLessOneEntriesSorted()
    {
        C3DObjectsList list{QLocale(QLocale::English)};
        QVERIFY(list.LoadFromBytes(Catalogue({"b", "A", "c"}, 3)));
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.NameOf(0), std::string("A"));
        QCOMPARE(list.NameOf(1), std::string("b"));
    }

    void letterCaseDuplicatesKeepTheFirstForm()
    {
        C3DObjectsList list{QLocale(QLocale::English)};
        QVERIFY(list.LoadFromBytes(Catalogue({"Tank", "TANK", "apc"}, 4)));
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.NameOf(1), std::string("Tank"));
        QCOMPARE(QList<int>({list.IndexOf("tank"), list.IndexOf("TANK"), list.IndexOf("APC"), list.IndexOf("truck"),
                             list.IndexOf("")}),
                 QList<int>({1, 1, 0, MissingObjectIndex, MissingObjectIndex}));
    }

    void cLocaleStillIgnoresCase()
    {
        C3DObjectsList list{QLocale::c()};
        QVERIFY(list.LoadFromBytes(Catalogue({"Tower", "h\xE9li", "depot", "DEPOT"}, 5)));
        QCOMPARE(list.Count(), 3);
        QCOMPARE(list.IndexOf("Depot"), 0);
        QCOMPARE(list.NameOf(1), std::string("h\xE9li"));
    }

    void namesOfSpecialIndices()
    {
        C3DObjectsList list{QLocale(QLocale::English)};
        QVERIFY(list.LoadFromBytes(Catalogue({"Tank"}, 2)));
        QCOMPARE(list.NameOf(NoObjectIndex), std::string());
        QCOMPARE(list.NameOf(MissingObjectIndex), std::string("INVALID_OBJECT"));
        QCOMPARE(list.NameOf(list.Count()), std::string("INVALID_OBJECT"));
        QCOMPARE(list.NameOf(-7), std::string("INVALID_OBJECT"));
    }

    void emptyListsAreValid_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no bytes") << QByteArray();
        QTest::newRow("count 0") << Catalogue({}, 0);
        QTest::newRow("count 1") << Catalogue({}, 1);
        QTest::newRow("negative count") << Catalogue({}, -5);
    }
    void emptyListsAreValid()
    {
        QFETCH(QByteArray, bytes);
        C3DObjectsList list{QLocale(QLocale::English)};
        QVERIFY(list.LoadFromBytes(bytes));
        QCOMPARE(list.Count(), 0);
        QCOMPARE(list.IndexOf("Tank"), MissingObjectIndex);
        QCOMPARE(list.NameOf(0), std::string("INVALID_OBJECT"));
    }

    void damagedListsAreRefusedWhole()
    {
        const QByteArray whole = Catalogue({"alpha", "beta", "gamma"}, 4);
        for (qsizetype cut = 1; cut < whole.size(); ++cut) {
            C3DObjectsList list{QLocale(QLocale::English)};
            QString reason;
            QVERIFY2(!list.LoadFromBytes(whole.left(cut), &reason), qPrintable(QString::number(cut)));
            QVERIFY(!reason.isEmpty());
            QCOMPARE(list.Count(), 0);
        }
        C3DObjectsList huge{QLocale(QLocale::English)};
        QVERIFY(!huge.LoadFromBytes(Catalogue({"alpha"}, 2000000000)));
        QVERIFY(!huge.LoadFromBytes(Int32(2) + Int32(0) + Int32(-4) + QByteArray("abcd") + Int32(0)));
    }
};

QTEST_GUILESS_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
