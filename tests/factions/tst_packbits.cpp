#include "factions/packbits.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray Pack(const QByteArray& row)
{
    return PackRow(reinterpret_cast<const unsigned char*>(row.constData()), int32_t(row.size()));
}

QByteArray Unpack(const QByteArray& packed, int width, char fill = '\x5a')
{
    QByteArray out(width, fill);
    UnpackRow(reinterpret_cast<const unsigned char*>(packed.constData()), packed.size(),
              reinterpret_cast<unsigned char*>(out.data()), width);
    return out;
}

QByteArray NoEqualNeighbours(int length)
{
    QByteArray out;
    for (int i = 0; i < length; ++i)
        out.append(char(i % 2 ? 1 : 2 + (i / 2) % 100));
    return out;
}

} // namespace

class TestPackBits : public QObject {
    Q_OBJECT

private slots:
    void packRow_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QByteArray>("packed");
        QTest::newRow("300 equal") << QByteArray(300, '\x09') << Bytes({0x81, 9, 0x81, 9, 0xD5, 9});
        QTest::newRow("129 equal") << QByteArray(129, '\x09') << Bytes({0x81, 9, 0x00, 9});
        QTest::newRow("128 equal") << QByteArray(128, '\x09') << Bytes({0x81, 9});
        QTest::newRow("1 1 2 3 3 3") << Bytes({1, 1, 2, 3, 3, 3}) << Bytes({0xFF, 1, 0x00, 2, 0xFE, 3});
        QTest::newRow("single byte") << Bytes({200}) << Bytes({0x00, 200});
        QTest::newRow("literals then run") << Bytes({1, 2, 3, 3}) << Bytes({0x01, 1, 2, 0xFF, 3});
        QTest::newRow("run then trailing literal") << Bytes({4, 4, 4, 8}) << Bytes({0xFE, 4, 0x00, 8});
        QTest::newRow("empty") << QByteArray() << QByteArray();
        const QByteArray distinct = NoEqualNeighbours(129);
        QTest::newRow("129 distinct") << distinct
                                      << (Bytes({0x7F}) + distinct.left(128) + Bytes({0x00}) + distinct.right(1));
        const QByteArray distinct256 = NoEqualNeighbours(256);
        QTest::newRow("256 distinct") << distinct256
                                      << (Bytes({0x7F}) + distinct256.left(128) + Bytes({0x7F})
                                          + distinct256.right(128));
        // 129 literals pending when a run begins: the first 128 go out, the last one waits for the run.
        QTest::newRow("129 distinct then run")
            << (distinct + QByteArray(3, '\x63'))
            << (Bytes({0x7F}) + distinct.left(128) + Bytes({0x00}) + distinct.right(1) + Bytes({0xFE, 0x63}));
    }
    void packRow()
    {
        QFETCH(QByteArray, row);
        QFETCH(QByteArray, packed);
        QCOMPARE(Pack(row).toHex(' '), packed.toHex(' '));
    }

    void unpackRow_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("0x80 repeats 129 times") << Bytes({0x80, 3}) << 129 << QByteArray(129, '\x03');
        QTest::newRow("repeat and literal") << Bytes({0xFE, 1, 0x01, 7, 8}) << 5 << Bytes({1, 1, 1, 7, 8});
        QTest::newRow("bytes past the width dropped") << Bytes({0x81, 4}) << 3 << Bytes({4, 4, 4});
        QTest::newRow("literal past the width") << Bytes({0x03, 1, 2, 3, 4, 0xFF, 9}) << 2 << Bytes({1, 2});
        // A literal packet cut short by the byte count gives only what lies inside it.
        QTest::newRow("literal cut short") << Bytes({0x04, 1, 2}) << 5 << Bytes({1, 2, 0x5a, 0x5a, 0x5a});
        QTest::newRow("repeat without its value") << Bytes({0x01, 6, 6, 0xFD}) << 4 << Bytes({6, 6, 0x5a, 0x5a});
        QTest::newRow("row shorter than width") << Bytes({0xFF, 2}) << 4 << Bytes({2, 2, 0x5a, 0x5a});
    }
    void unpackRow()
    {
        QFETCH(QByteArray, packed);
        QFETCH(int, width);
        QFETCH(QByteArray, row);
        QCOMPARE(Unpack(packed, width).toHex(' '), row.toHex(' '));
    }

    // Rows of every character: random, runs of random length, two-valued (as faction channels are).
    void roundTripAndBound()
    {
        QRandomGenerator random(1234);
        for (int trial = 0; trial < 400; ++trial) {
            const int length = 1 + int(random.bounded(700));
            QByteArray row;
            const int kind = trial % 3;
            while (row.size() < length) {
                const char value = char(kind == 2 ? (random.bounded(2) ? 255 : 0) : random.bounded(256));
                const int run = kind == 0 ? 1 : 1 + int(random.bounded(kind == 1 ? 300 : 4));
                row.append(qMin(run, length - int(row.size())), value);
            }
            const QByteArray packed = Pack(row);
            QVERIFY2(packed.size() <= 2 * row.size(), qPrintable(QString::number(trial)));
            QCOMPARE(Unpack(packed, length), row);
        }
    }

    void packChannelLayout()
    {
        const QByteArray pixels = Bytes({1, 1, 1, 1, 2, 3, 4, 5, 9, 9, 9, 8});
        const QByteArray out = PackChannel(reinterpret_cast<const unsigned char*>(pixels.constData()), 3, 4);
        const QByteArray expected = Bytes({0, 1, 0, 2, 0, 5, 0, 4, 0xFD, 1, 0x03, 2, 3, 4, 5, 0xFE, 9, 0x00, 8});
        QCOMPARE(out.toHex(' '), expected.toHex(' '));
    }

    // A channel far beyond a small fixed working area packs whole.
    void packChannelRefusesOnlyRowsBeyondTheirCount()
    {
        const QByteArray big = NoEqualNeighbours(300 * 900);
        const QByteArray packed = PackChannel(reinterpret_cast<const unsigned char*>(big.constData()), 300, 900);
        QVERIFY(packed.size() > 20000);
        const auto* counts = reinterpret_cast<const unsigned char*>(packed.constData()) + 2;
        qsizetype at = 2 + 600;
        for (int r = 0; r < 300; ++r) {
            const int count = counts[2 * r] << 8 | counts[2 * r + 1];
            QCOMPARE(Unpack(packed.mid(at, count), 900), big.mid(r * 900, 900));
            at += count;
        }
        QCOMPARE(at, packed.size());

        const QByteArray pixels = NoEqualNeighbours(70000);
        QVERIFY(PackChannel(reinterpret_cast<const unsigned char*>(pixels.constData()), 1, 70000).isEmpty());
        QCOMPARE(PackChannel(nullptr, 0, 10).toHex(), QByteArray("0001"));
    }
};

QTEST_APPLESS_MAIN(TestPackBits)
#include "tst_packbits.moc"
