#include "factions/layereddocument.h"

#include "layeredbuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

layered::Document ThreeLayers()
{
    layered::Document d;
    d.Width = 4;
    d.Height = 3;
    d.ImageResources = QByteArray("8BIM\x04\x04\0\0\0\0\0\x02xy", 14);
    layered::Layer top;
    top.Name = "Roads";
    top.Top = 1, top.Left = 1, top.Bottom = 3, top.Right = 3;
    top.Channels = {layered::RawChannel("abcd"), layered::RawChannel("efgh"), layered::RawChannel("ijkl"),
                    layered::RawChannel("mnop")};
    top.TaggedAfterRecord = QByteArray("8BIMluni\0\0\0\x10wxyz", 16);
    layered::Layer background = layered::Faction(4, 3, QByteArray(12, '\xff')).Layers[0];
    background.ExtraAfterName = QByteArray("8BIMlsct\0\0\0\x04\0\0\0\0", 16);
    layered::Layer bottom;
    bottom.Name = "Notes";
    bottom.Channels = {layered::RawChannel(""), layered::RawChannel(""), layered::RawChannel("")};
    bottom.BlendingRanges.clear();
    d.Layers = {top, background, bottom};
    d.Trailing = layered::Flattened(4, 3, 1, 2, 3);
    return d;
}

QByteArray Replace32(QByteArray bytes, int at, uint32_t value)
{
    QByteArray be;
    layered::Be32(be, value);
    bytes.replace(at, 4, be);
    return bytes;
}

// Offsets into a file with empty image resources.
constexpr int kSectionLength = 26 + 4 + 4;
constexpr int kInfoLength = kSectionLength + 4;
constexpr int kLayerCount = kInfoLength + 4;

} // namespace

class TestLayeredDocument : public QObject {
    Q_OBJECT

private slots:
    void unchangedDocumentComesBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("one faction layer") << layered::Build(layered::Faction(5, 2, QByteArray(10, '\x80')));
        QTest::newRow("three layers, resources, tagged blocks") << layered::Build(ThreeLayers());
        layered::Document padded = ThreeLayers();
        padded.Pad = 1;
        QTest::newRow("padded layer information") << layered::Build(padded);
        layered::Document noTrailing = layered::Faction(3, 3, QByteArray(9, '\0'), false);
        noTrailing.Trailing.clear();
        QTest::newRow("no trailing data") << layered::Build(noTrailing);
    }
    void unchangedDocumentComesBackByteForByte()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.sid"));
        const QString out = dir.filePath(QStringLiteral("out.sid"));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
        f.close();
        CLayeredDocument doc;
        QString reason;
        QVERIFY2(doc.ReadDocument(in, &reason), qPrintable(reason));
        QVERIFY2(doc.WriteDocument(out, &reason), qPrintable(reason));
        QFile g(out);
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(g.readAll().toHex(), file.toHex());
    }

    // Every cut of a valid file is a failed read with a reason, never a crash or a partial document.
    void truncatedFilesFail()
    {
        const QByteArray file = layered::Build(ThreeLayers());
        const qsizetype trailing = layered::Flattened(4, 3, 1, 2, 3).size();
        for (qsizetype cut = 0; cut < file.size() - trailing; ++cut) {
            CLayeredDocument doc;
            doc.LayerCount = 77;
            QString reason;
            QVERIFY2(!doc.Parse(file.left(cut), &reason), qPrintable(QString::number(cut)));
            QVERIFY(!reason.isEmpty());
            QCOMPARE(doc.LayerCount, 77);
        }
    }

    void damagedLengthsFail_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        const QByteArray good = layered::Build(layered::Faction(4, 3, QByteArray(12, '\0')));
        QTest::newRow("image resources beyond the file")
            << Replace32(good, 30, 0x7fffffff) << QStringLiteral("image resources of 2147483647 bytes");
        QTest::newRow("layer section beyond the file")
            << Replace32(good, kSectionLength, uint32_t(good.size())) << QStringLiteral("layer section of");
        QTest::newRow("layer information beyond its section")
            << Replace32(good, kInfoLength, 0xfffffff0u) << QStringLiteral("runs past its section");
        QTest::newRow("layer information shorter than its layers")
            << Replace32(good, kInfoLength, 40) << QStringLiteral("does not match");
        QByteArray topBit = good;
        topBit[kLayerCount] = char(0x80);
        QTest::newRow("layer count with the top bit set") << topBit << QStringLiteral("top bit");
        // The first channel record's length (after rect 16 and count 2, identifier 2).
        QTest::newRow("channel longer than the file")
            << Replace32(good, kLayerCount + 2 + 16 + 2 + 2, 0x10000000) << QStringLiteral("channel data of");
        // Extra data length E of the first layer: 16 + 2 + 18 + 4 + 4 + 4 bytes into the record.
        const int extra = kLayerCount + 2 + 16 + 2 + 18 + 12;
        QTest::newRow("extra data beyond the file")
            << Replace32(good, extra, 0x7ffffff0) << QStringLiteral("extra data");
        QTest::newRow("blending ranges beyond the extra data")
            << Replace32(good, extra + 8, 0x100) << QStringLiteral("blending ranges");
        QTest::newRow("mask beyond the extra data") << Replace32(good, extra + 4, 0x100) << QStringLiteral("mask");
    }
    void damagedLengthsFail()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        CLayeredDocument doc;
        QString got;
        QVERIFY(!doc.Parse(file, &got));
        QVERIFY2(got.contains(reason), qPrintable(got));
    }

    void taggedBlockLengthsAreChecked_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<bool>("reads");
        QTest::newRow("well formed") << QByteArray("8BIMkey \0\0\0\x0e!!", 14) << true;
        QTest::newRow("length 0 would never advance") << QByteArray("8BIMkey \0\0\0\0", 12) << false;
        QTest::newRow("length past the file") << QByteArray("8BIMkey \0\0\x10\0", 12) << false;
    }
    void taggedBlockLengthsAreChecked()
    {
        QFETCH(QByteArray, block);
        QFETCH(bool, reads);
        layered::Document d = layered::Faction(2, 1, QByteArray(2, '\0'));
        d.Layers[0].TaggedAfterRecord = block;
        d.Trailing.clear();
        CLayeredDocument doc;
        QCOMPARE(doc.Parse(layered::Build(d)), reads);
        if (reads)
            QCOMPARE(doc.Layers[0].TaggedBlocks.at(0), block);
    }

    // The faction layer of 4 x 3 raw pixels below occupies 124 bytes of layer information, plus
    // `extra` bytes in its second channel; `pad` bytes follow the channel data in the source.
    void recomputedLengths_data()
    {
        QTest::addColumn<int>("extra");
        QTest::addColumn<int>("pad");
        QTest::addColumn<int>("growth");
        QTest::addColumn<int>("expectedPad");
        QTest::newRow("unpadded source stays unpadded") << 1 << 0 << 2 << 0;
        QTest::newRow("even alignment, pad kept") << 1 << 1 << 2 << 1;
        QTest::newRow("even alignment, pad dropped") << 1 << 1 << 1 << 0;
        QTest::newRow("four-byte alignment, 3 stays 3") << 1 << 3 << 4 << 3;
        QTest::newRow("four-byte alignment, 3 becomes 2") << 1 << 3 << 1 << 2;
        QTest::newRow("four-byte alignment, 2 becomes 3") << 2 << 2 << 3 << 3;
        QTest::newRow("shrinking channel") << 2 << 2 << -1 << 3;
    }
    void recomputedLengths()
    {
        QFETCH(int, extra);
        QFETCH(int, pad);
        QFETCH(int, growth);
        QFETCH(int, expectedPad);
        layered::Document d = layered::Faction(4, 3, QByteArray(12, '\0'), false);
        d.Layers[0].Channels[1] = layered::RawChannel(QByteArray(12 + extra, 'y'));
        d.Pad = pad;
        const QByteArray file = layered::Build(d);
        CLayeredDocument doc;
        QString reason;
        QVERIFY2(doc.Parse(file, &reason), qPrintable(reason));
        QCOMPARE(doc.LayerInfoPad.size(), pad);
        QCOMPARE(int64_t(doc.LayerInfoLength), 124 + extra + pad);

        doc.SetChannelData(0, 1, layered::RawChannel(QByteArray(12 + extra + growth, 'z')));
        doc.RecomputeLengths();
        QCOMPARE(int(doc.LayerInfoPad.size()), expectedPad);
        QCOMPARE(int64_t(doc.LayerInfoLength), 124 + extra + growth + expectedPad);
        QCOMPARE(int64_t(doc.LayerSectionLength), int64_t(doc.LayerInfoLength) + 8);

        // A strict reader finds every section where the lengths say, and the flattened picture intact.
        const QByteArray saved = doc.Serialize();
        const qsizetype flattenedAt = kSectionLength + 4 + qsizetype(doc.LayerSectionLength);
        QCOMPARE(saved.mid(flattenedAt).toHex(), d.Trailing.toHex());
        CLayeredDocument again;
        QVERIFY2(again.Parse(saved, &reason), qPrintable(reason));
        QCOMPARE(again.LayerInfoPad.size(), expectedPad);
    }
};

QTEST_APPLESS_MAIN(TestLayeredDocument)
#include "tst_layereddocument.moc"
