// Symbol styles and their settings file, the profile file rules they rest on, and the settings
// file's name.

#include "../testfiles.h"
#include "mapview/tarnconfig.h"
#include "platform/profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Styles = QList<int>; // shape, size, colour of keysite, airbase, SAM

Styles Flatten(const CTarnConfig& config)
{
    Styles out;
    for (const SymbolStyle& style : config.Styles)
        out << style.Shape << style.Size << style.Color;
    return out;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void loading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Styles>("styles");
        const QByteArray full = "[Keysite symbol]\nShape=0\nSize=1\nColor=32768\n"
                                "[Airbase symbol]\nShape=1\nSize=2\nColor=65535\n";
        QTest::newRow("missing colour takes the read default, not the construction one") << full
                + "[SAM symbol]\nShape=2\nSize=2\n" << Styles({0, 1, 32768, 1, 2, 65535, 2, 2, 32768});
        QTest::newRow("missing section") << full << Styles({0, 1, 32768, 1, 2, 65535, 2, 1, 32768});
        QTest::newRow("hexadecimal, words and dollars")
            << QByteArray("[Keysite symbol]\nColor=0x0000FF\nSize=$10\nShape=7\n"
                          "[Airbase symbol]\nColor=red\nSize=35\nShape=0X\n"
                          "[SAM symbol]\nShape=258\nSize=-3\nColor=0xFFFFFFFF\n")
            << Styles({7, 16, 255, 2, 35, 32768, 2, -3, -1});
        QTest::newRow("names in any case, values trimmed and unquoted")
            << QByteArray("[keysite SYMBOL]\r\n  shape =  3 \r\nSIZE=\"4\"\r\n; Color=1\r\n")
            << Styles({3, 4, 32768, 2, 1, 32768, 2, 1, 32768});
        QTest::newRow("numbers out of range do not convert")
            << QByteArray("[SAM symbol]\nSize=2147483648\nColor=-2147483648\nShape=+1\n")
            << Styles({2, 1, 32768, 2, 1, 32768, 1, 1, -2147483647 - 1});
    }
    void loading()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Editor.INI"));
        QVERIFY(WriteFile(path, file));
        CTarnConfig config;
        QVERIFY(config.Load(path));
        QTEST(Flatten(config), "styles");
    }

    void missingFileChangesNothing()
    {
        QTemporaryDir dir;
        CTarnConfig config;
        config.Styles[0].Size = 9;
        QVERIFY(!config.Load(dir.filePath(QStringLiteral("none.INI"))));
        QCOMPARE(config.Styles[0].Size, 9);
    }

    void saveWritesDecimalsAndKeepsTheRest()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Editor.INI"));
        CTarnConfig defaults;
        QVERIFY(defaults.Save(path));
        QCOMPARE(ReadFile(path),
                 QByteArray("[Keysite symbol]\nShape=0\nSize=1\nColor=32768\n\n"
                            "[Airbase symbol]\nShape=1\nSize=2\nColor=65535\n\n"
                            "[SAM symbol]\nShape=2\nSize=2\nColor=65535\n"));
        QVERIFY(WriteFile(path, "; my notes\r\n[Other]\r\nkey=value\r\n[SAM SYMBOL]\r\nsize=9\r\nExtra=1\r\n"));
        CTarnConfig config;
        config.Styles[SamKind] = {255, 20, 0x123456};
        QVERIFY(config.Save(path));
        const QByteArray saved = ReadFile(path);
        QVERIFY(saved.startsWith("; my notes\r\n[Other]\r\nkey=value\r\n[SAM "
                                 "SYMBOL]\r\nSize=20\r\nExtra=1\r\nShape=255\r\nColor=1193046\r\n"));
        CTarnConfig back;
        QVERIFY(back.Load(path));
        QCOMPARE(Flatten(back), Flatten(config));
    }

    void unwritableFileIsReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/folder/Editor.INI"));
        CTarnConfig config;
        QString message, reason;
        QVERIFY(!config.Save(path, &message, &reason));
        QCOMPARE(message, QStringLiteral("Unable to write to ") + path);
        QVERIFY(!reason.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void settingsFileName_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("settings");
        QTest::newRow("windows") << "D:\\Tools\\Editor.exe"
                                 << "D:\\Tools\\Editor.INI";
        QTest::newRow("no extension") << "/opt/sablemap/bin/sablemap"
                                      << "/opt/sablemap/bin/sablemap.INI";
        QTest::newRow("dot in a folder name") << "/opt/v1.1/sablemap"
                                              << "/opt/v1.1/sablemap.INI";
        QTest::newRow("last dot counts") << "C:\\a\\b.tar.gz"
                                         << "C:\\a\\b.tar.INI";
        QTest::newRow("drive only") << "C:.x"
                                    << "C:.INI";
    }
    void settingsFileName()
    {
        QFETCH(QString, executable);
        QTEST(SettingsFileNameFor(executable), "settings");
    }

    void profileAddsMissingKeysToTheirSection()
    {
        CProfileFile profile;
        profile.LoadBytes("[A]\nx=1\n\n[B]\ny=2\n");
        profile.SetValue("a", "z", "3");
        profile.SetValue("C", "w", "4");
        QCOMPARE(profile.Bytes(), QByteArray("[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=4\n"));
        QCOMPARE(profile.Value("b", "Y").value_or("?"), std::string("2"));
        QVERIFY(!profile.Value("B", "x"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
