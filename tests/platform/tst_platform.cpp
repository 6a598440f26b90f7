#include "platform/ansitext.h"
#include "platform/atomicsave.h"
#include "platform/filepaths.h"
#include "platform/messagetext.h"
#include "platform/streams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void int16ReadsZeroExtendedAndWritesLowHalf()
    {
        CByteReader reader(QByteArray("\xFF\xFF", 2));
        int32_t value = -5;
        QCOMPARE(reader.ReadInt16(value), 1);
        QCOMPARE(value, 65535);

        CByteWriter writer;
        writer.WriteInt16(70000);
        QCOMPARE(writer.Bytes(), QByteArray("\x70\x11", 2));
    }

    void stringsStopAtZeroByteButConsumeTheRun()
    {
        CByteReader reader(QByteArray("a\0bXYZ", 6));
        std::string text = "old";
        QCOMPARE(reader.ReadString(0, text), 1);
        QCOMPARE(text, std::string());
        QCOMPARE(reader.ReadString(3, text), 1);
        QCOMPARE(text, std::string("a"));
        QCOMPARE(reader.Position(), qint64(3));

        CByteWriter writer;
        writer.WriteString("", false);
        QCOMPARE(writer.Bytes().size(), 0);
        writer.WriteString("", true);
        writer.WriteString("abc", true);
        QCOMPARE(writer.Bytes(), QByteArray("\0abc\0", 5));
    }

    void shortAndOversizedReadsFailWithoutTouchingTheValue()
    {
        CByteReader reader(QByteArray("\x01\x02\x03", 3));
        int32_t value = 42;
        QCOMPARE(reader.ReadInt32(value), 0);
        QCOMPARE(value, 42);
        QVERIFY(reader.Failed());
        QVERIFY(reader.Error().contains(QLatin1String("offset 0")));

        CByteReader strings(QByteArray("abcd", 4));
        std::string text = "keep";
        QCOMPARE(strings.ReadString(-1, text), 0);
        QCOMPARE(text, std::string("keep"));
        CByteReader longer(QByteArray("abcd", 4));
        QCOMPARE(longer.ReadString(5, text), 0);
        QVERIFY(longer.Failed());
        // A count the remaining bytes cannot hold is refused before anything is allocated.
        CByteReader counts(QByteArray(16, '\0'));
        QVERIFY(counts.CanHold(2, 8, "item"));
        QVERIFY(!counts.CanHold(3, 8, "item"));
        QVERIFY(counts.Error().contains(QLatin1String("item count 3")));
    }

    void floatsKeepTheirExactBits()
    {
        const uint32_t patterns[] = {0x80000000u, 0x7FC12345u, 0xFFBADBADu, 0x3DCCCCCDu, 0x00000001u};
        CByteWriter writer;
        for (uint32_t bits : patterns) {
            float value;
            std::memcpy(&value, &bits, 4);
            writer.WriteFloat(value);
        }
        CByteReader reader(writer.Bytes());
        for (uint32_t bits : patterns) {
            float value = 0;
            QCOMPARE(reader.ReadFloat(value), 1);
            uint32_t back;
            std::memcpy(&back, &value, 4);
            QCOMPARE(back, bits);
        }
    }

    void windows1252RoundTrips()
    {
        std::string all;
        for (int byte = 1; byte < 256; ++byte)
            all.push_back(static_cast<char>(byte));
        const QString text = AnsiToQString(all);
        QCOMPARE(text.at(0x80 - 1), QChar(0x20AC)); // euro sign
        QCOMPARE(text.at(0xA0 - 1), QChar(0x00A0)); // no-break space
        QCOMPARE(QStringToAnsi(text), all);
        QCOMPARE(QStringToAnsi(QStringLiteral("\u4E2D")), std::string("?"));
    }

    void longTextsAreShortenedForMessages()
    {
        QCOMPARE(MessageText::Shortened(u"SAM_SITE"), QStringLiteral("SAM_SITE"));
        const QString exact(MessageText::LongestShown, QLatin1Char('x'));
        QCOMPARE(MessageText::Shortened(exact), exact);
        const QString shown = MessageText::Shortened(QString(1 << 20, QLatin1Char('n')));
        QCOMPARE(shown.size(), MessageText::LongestShown);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        // A character outside the basic plane is dropped whole rather than cut in half.
        const QString wide = QString(3, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F681") + QStringLiteral("tail");
        QCOMPARE(MessageText::Shortened(wide, 5), QStringLiteral("aaa") + QChar(0x2026));
    }

    void gamePathsMatchAnyLetterCase()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Common/MAPS/map01/Terrain")));
        QFile file(dir.path() + QStringLiteral("/Common/MAPS/map01/Terrain/TERRAIN.SIM"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString resolved =
            ResolveGamePath(dir.path(), QStringLiteral("\\common\\maps\\map01\\terrain\\terrain.sim"));
        QCOMPARE(QDir::fromNativeSeparators(resolved), file.fileName());
        const QString missing = ResolveGamePath(dir.path(), QStringLiteral("\\common\\maps\\map02\\terrain.sim"));
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
