// The registry stand-in on Wine and Proton prefixes: the registry text (every construct, damaged
// texts, a file far too large), Windows paths through the drive links, Steam's library list and
// the order in which prefixes are searched. Every registry text here is written by the test.
#include "../testfiles.h"
#include "platform/registry.h"
#include "platform/wineprefixes.h"
#include "platform/wineregistry.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
const QByteArray kKey = "[Software\\\\Quillfeather\\\\Stormcrest] 1700000000\n#time=1d9a2b3c4d5e6f7\n";
const QByteArray kWowKey = "[Software\\\\Wow6432Node\\\\Quillfeather\\\\Stormcrest] 1700000000\n";

RegistryRead Read(const QByteArray& text, QString& value)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadWineRegistryValue(buffer, InstallationKeys(), QStringLiteral("INSTALLATION PATH"), value);
}

// A prefix whose registry holds `value` (a registry value text) and whose c: leads to drive_c.
void MakePrefix(const QString& prefix, const QByteArray& value)
{
    QDir().mkpath(prefix + QStringLiteral("/drive_c/Sim"));
    QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:"));
    QVERIFY(WriteFile(prefix + QStringLiteral("/system.reg"),
                      kHead + (value.isNull() ? QByteArray() : kKey + "\"INSTALLATION PATH\"=" + value + "\n")));
}

} // namespace

Q_DECLARE_METATYPE(RegistryRead)

class TestWineRegistry : public QObject {
    Q_OBJECT
private slots:
    void registryText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<RegistryRead>("result");
        QTest::addColumn<QString>("value");
        using R = RegistryRead;
        const QString games = QStringLiteral("C:\\Games\\Skyreach\\");
        QTest::newRow("string") << kHead + kKey
                + "\"Version\"=dword:00000001\n\"INSTALLATION PATH\"=\"C:\\\\Games\\\\Skyreach\\\\\"\n"
                                << R::Found << games;
        QByteArray crlf = kHead + kKey + "\"INSTALLATION PATH\"=\"C:\\\\Games\\\\Skyreach\\\\\"\n";
        QTest::newRow("crlf line endings") << crlf.replace("\n", "\r\n") << R::Found << games;
        QTest::newRow("escapes") << kHead + kKey
                + "\"INSTALLATION PATH\"=\"D:\\\\J\\xe9r\\xf4me \\\"\\x4e2d\\\" \\xd83d\\xde00\\101\\t\"\n"
                                 << R::Found << QStringLiteral("D:\\J\u00e9r\u00f4me \"\u4e2d\" \U0001F600A\t");
        QTest::newRow("names in any case")
            << kHead + "[SOFTWARE\\\\quillfeather\\\\STORMCREST]\n\"installation path\"=\"C:\\\\x\"\n"
            << R::Found << "C:\\x";
        QTest::newRow("expandable string") << kHead + kKey + "\"INSTALLATION PATH\"=str(2):\"C:\\\\Sim\"\n"
                                           << R::Found << "C:\\Sim";
        QTest::newRow("32-bit key of a 64-bit prefix") << kHead + kWowKey + "\"INSTALLATION PATH\"=\"C:\\\\Wow\"\n"
                                                       << R::Found << "C:\\Wow";
        QTest::newRow("plain key first") << kHead + kKey + "\"INSTALLATION PATH\"=\"C:\\\\Plain\"\n" + kWowKey
                + "\"INSTALLATION PATH\"=\"C:\\\\Wow\"\n"
                                         << R::Found << "C:\\Plain";
        QTest::newRow("wow key holds what the plain one lacks")
            << kHead + kKey + "@=\"\"\n" + kWowKey + "\"INSTALLATION PATH\"=\"C:\\\\Wow\"\n"
            << R::Found << "C:\\Wow";
        QTest::newRow("first value of the name counts")
            << kHead + kKey + "\"INSTALLATION PATH\"=\"C:\\\\One\"\n" + "\"INSTALLATION PATH\"=\"C:\\\\Two\"\n"
            << R::Found << "C:\\One";
        QTest::newRow("overlong line skipped")
            << kHead + QByteArray(kMaxWineRegistryLine * 3, 'x') + "\n" + kKey + "\"INSTALLATION PATH\"=\"C:\\\\x\"\n"
            << R::Found << "C:\\x";
        QTest::newRow("dword") << kHead + kKey + "\"INSTALLATION PATH\"=dword:0000002a\n" << R::NotAString << QString();
        QTest::newRow("hex over two lines")
            << kHead + kKey + "\"INSTALLATION PATH\"=hex:43,00,3a,00,\\\n  5c,00,00,00\n"
            << R::NotAString << QString();
        QTest::newRow("multi-string") << kHead + kKey + "\"INSTALLATION PATH\"=str(7):\"C:\\\\a\\0\\0\"\n"
                                      << R::NotAString << QString();
        QTest::newRow("key without the value") << kHead + kKey + "@=\"default\"\n\"Version\"=\"1.0\"\n"
                                               << R::ValueMissing << QString();
        QTest::newRow("value under another key")
            << kHead + kKey + "[Software\\\\Other] 1\n\"INSTALLATION PATH\"=\"C:\\\\x\"\n"
            << R::ValueMissing << QString();
        QTest::newRow("unterminated string") << kHead + kKey + "\"INSTALLATION PATH\"=\"C:\\\\Games\n"
                                             << R::ValueMissing << QString();
        QTest::newRow("unknown type") << kHead + kKey + "\"INSTALLATION PATH\"=C:\\Games\n"
                                      << R::ValueMissing << QString();
        QTest::newRow("header cut short")
            << kHead + "[Software\\\\Quillfeather\\\\Stormcrest\n\"INSTALLATION PATH\"=\"C:\\\\x\"\n"
            << R::KeyMissing << QString();
        QTest::newRow("longer and shorter keys")
            << kHead + "[Software\\\\Quillfeather\\\\Stormcrest2]\n\"INSTALLATION PATH\"=\"a\"\n"
                + "[Software\\\\Quillfeather]\n\"INSTALLATION PATH\"=\"b\"\n"
            << R::KeyMissing << QString();
    }

    void registryText()
    {
        QFETCH(QByteArray, text);
        QFETCH(RegistryRead, result);
        QFETCH(QString, value);
        QString read = QStringLiteral("untouched");
        QCOMPARE(Read(text, read), result);
        QCOMPARE(read, result == RegistryRead::Found ? value : QStringLiteral("untouched"));
    }

    void oversizedFileIsRefused()
    {
        // The key comes first, so only the size limit keeps the reader from finding it.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("system.reg"));
        QVERIFY(WriteFile(path, kHead + kKey + "\"INSTALLATION PATH\"=\"C:\\\\x\"\n"));
        QString value;
        const QStringList keys = InstallationKeys();
        const QString name = QStringLiteral("INSTALLATION PATH");
        QCOMPARE(ReadWineRegistryFile(path, keys, name, value), RegistryRead::Found);
        QFile file(path);
        QVERIFY(file.resize(qint64(1) << 30)); // sparse: 1 GiB without writing it
        QCOMPARE(ReadWineRegistryFile(path, keys, name, value), RegistryRead::KeyMissing);
        QCOMPARE(ReadWineRegistryFile(dir.filePath(QStringLiteral("none.reg")), keys, name, value),
                 RegistryRead::KeyMissing);
    }

    void windowsPaths_data()
    {
        QTest::addColumn<QString>("windows");
        QTest::addColumn<QString>("local"); // relative to the temporary folder, "=" for unchanged
        QTest::newRow("drive c") << "C:\\Games\\Skyreach\\"
                                 << "prefix/drive_c/Games/Skyreach";
        QTest::newRow("letter case of a Windows path") << "c:\\GAMES\\skyreach"
                                                       << "prefix/drive_c/Games/Skyreach";
        QTest::newRow("drive root") << "C:\\"
                                    << "prefix/drive_c";
        QTest::newRow("long path form") << "\\\\?\\C:\\Games\\Skyreach"
                                        << "prefix/drive_c/Games/Skyreach";
        QTest::newRow("drive into the Unix tree") << "Z:\\data\\sim"
                                                  << "unix/data/sim";
        // Windows stops ".." at the drive's root: a value cannot lead out of the drive's folder.
        QTest::newRow("dot steps stay on the drive") << "C:\\..\\..\\.\\Games\\x\\..\\Skyreach"
                                                     << "prefix/drive_c/Games/Skyreach";
        QTest::newRow("missing drive") << "D:\\Games\\Skyreach"
                                       << "prefix/dosdevices/d:/Games/Skyreach";
        QTest::newRow("no drive letter") << "Games\\Skyreach"
                                         << "=";
        QTest::newRow("empty") << ""
                               << "=";
    }

    void windowsPaths()
    {
        QFETCH(QString, windows);
        QFETCH(QString, local);
        QTemporaryDir dir;
        const QString root = QDir(dir.path()).canonicalPath();
        QDir().mkpath(root + QStringLiteral("/prefix/drive_c/Games/Skyreach"));
        QDir().mkpath(root + QStringLiteral("/prefix/dosdevices"));
        QDir().mkpath(root + QStringLiteral("/unix/data/sim"));
        QVERIFY(QFile::link(QStringLiteral("../drive_c"), root + QStringLiteral("/prefix/dosdevices/c:")));
        QVERIFY(QFile::link(root + QStringLiteral("/unix"), root + QStringLiteral("/prefix/dosdevices/z:")));
        const QString expected = local == QLatin1String("=") ? windows : root + QLatin1Char('/') + local;
        QCOMPARE(WinePathToLocal(root + QStringLiteral("/prefix"), windows), expected);
    }

    void libraryFolders_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("current form") << QByteArray(
            "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/u/.steam\"\n"
            "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n"
            "\t\"1\"\n\t{\n\t\t\"PATH\"\t\t\"/mnt/games/Steam Library\"\n\t}\n}\n")
                                      << QStringList{"/home/u/.steam", "/mnt/games/Steam Library"};
        QTest::newRow("older form") << QByteArray("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1\"\n"
                                                  "\t\"ContentStatsID\"\t\"-1\"\n\t\"1\"\t\t\"/mnt/lib\"\n}\n")
                                    << QStringList{"/mnt/lib"};
        QTest::newRow("escapes and comments")
            << QByteArray("// written by Steam\n\"libraryfolders\" { \"0\" { \"path\" "
                          "\"/a \\\"b\\\"\\\\c\" } }")
            << QStringList{"/a \"b\"\\c"};
        QTest::newRow("cut short") << QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"/mnt/x")
                                   << QStringList{"/mnt/x"};
    }

    void libraryFolders()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, folders);
        QCOMPARE(LibraryFoldersFromVdf(text), folders);
    }

    void discoveryOrder()
    {
        QTemporaryDir dir;
        const QString home = QDir(dir.path()).canonicalPath() + QStringLiteral("/home");
        const QString steam = home + QStringLiteral("/.local/share/Steam");
        const QString library = QDir(dir.path()).canonicalPath() + QStringLiteral("/games/SteamLibrary");
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("etc"))));
        qunsetenv("XDG_DATA_HOME");
        qputenv("WINEPREFIX", QFile::encodeName(dir.filePath(QStringLiteral("named"))));
        QDir().mkpath(home + QStringLiteral("/.steam"));
        QDir().mkpath(steam);
        QVERIFY(QFile::link(steam, home + QStringLiteral("/.steam/steam"))); // the same Steam twice
        QVERIFY(WriteFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf"),
                          "\"libraryfolders\" { \"0\" { \"path\" \"" + QFile::encodeName(steam)
                              + "\" } \"1\" { \"path\" \"" + QFile::encodeName(library)
                              + "\" } \"2\" { \"path\" \"/nowhere\" } }"));
        const QString compat = steam + QStringLiteral("/steamapps/compatdata/");
        MakePrefix(dir.filePath(QStringLiteral("named")), {});
        MakePrefix(home + QStringLiteral("/.wine"), {});
        for (const char* game : {"100", "20", "tools"})
            MakePrefix(compat + QLatin1String(game) + QStringLiteral("/pfx"), {});
        MakePrefix(library + QStringLiteral("/steamapps/compatdata/5/pfx"), "\"C:\\\\Sim\"");

        QCOMPARE(WinePrefixes(),
                 (QStringList{dir.filePath(QStringLiteral("named")), home + QStringLiteral("/.wine"),
                              home + QStringLiteral("/.steam/steam/steamapps/compatdata/20/pfx"),
                              home + QStringLiteral("/.steam/steam/steamapps/compatdata/100/pfx"),
                              home + QStringLiteral("/.steam/steam/steamapps/compatdata/tools/pfx"),
                              library + QStringLiteral("/steamapps/compatdata/5/pfx")}));
        QString value;
        QCOMPARE(ReadInstallationPath(value), RegistryRead::Found);
        QCOMPARE(value, library + QStringLiteral("/steamapps/compatdata/5/pfx/drive_c/Sim"));

        // An earlier prefix with the key decides, even when it lacks the value.
        MakePrefix(compat + QStringLiteral("100/pfx"), "\"C:\\\\Sim\"");
        QCOMPARE(ReadInstallationPath(value), RegistryRead::Found);
        QCOMPARE(value, compat + QStringLiteral("100/pfx/drive_c/Sim"));
        QVERIFY(WriteFile(home + QStringLiteral("/.wine/system.reg"), kHead + kKey));
        QCOMPARE(ReadInstallationPath(value), RegistryRead::ValueMissing);
        MakePrefix(dir.filePath(QStringLiteral("named")), "dword:00000001");
        QCOMPARE(ReadInstallationPath(value), RegistryRead::NotAString);

        // The key file of the configuration folder comes before every prefix.
        QVERIFY(
            WriteFile(home + QStringLiteral("/.config/Quillfeather/Stormcrest.ini"), "INSTALLATION PATH=/opt/sim\n"));
        QCOMPARE(ReadInstallationPath(value), RegistryRead::Found);
        QCOMPARE(value, QStringLiteral("/opt/sim"));
    }
};

QTEST_GUILESS_MAIN(TestWineRegistry)
#include "tst_wineregistry.moc"
