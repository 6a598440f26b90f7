// Pipes and devices where the program expects regular files. A save into one writes into it and
// leaves it in place; a file the program looks for on its own is passed over when a pipe (that no
// one writes) or a link to /dev/zero stands in its place, as if it were missing. A test that
// waits for ever here is what ctest's timeout catches.
#include "../testfiles.h"

#include "mapview/tarnconfig.h"
#include "platform/atomicsave.h"
#include "platform/fileread.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/wineprefixes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace {

const QByteArray kKeyText = "WINE REGISTRY Version 2\n\n[Software\\\\Quillfeather\\\\Stormcrest] 1700000000\n"
                            "\"INSTALLATION PATH\"=\"C:\\\\Sim\"\n";

mode_t TypeOf(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

// Puts a pipe, or a link to /dev/zero, at `path`.
bool MakeSpecial(const QString& path, const QString& special)
{
    QDir().mkpath(QFileInfo(path).path());
    if (special == QLatin1String("pipe"))
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    return QFile::link(QStringLiteral("/dev/zero"), path);
}

// A Wine prefix whose c: leads to its drive_c, with the installation key in its registry.
void MakePrefix(const QString& prefix)
{
    QDir().mkpath(prefix + QStringLiteral("/drive_c/Sim"));
    QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:"));
    QVERIFY(WriteFile(prefix + QStringLiteral("/system.reg"), kKeyText));
}

// Bytes that a reordering or a lost block would change.
QByteArray Pattern(int count)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

} // namespace

class TestSpecialFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_home;
    int m_test = 0;

    // Runs the installation look-up with only the folders under the test's home.
    QString LookUp()
    {
        QString value;
        const RegistryRead read = ReadInstallationPath(value);
        return read == RegistryRead::Found ? value : QStringLiteral("not found");
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_home = QDir(m_dir.path()).canonicalPath() + QStringLiteral("/home%1").arg(++m_test);
        QDir().mkpath(m_home);
        qputenv("HOME", QFile::encodeName(m_home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home + QStringLiteral("/.config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_home + QStringLiteral("/etc")));
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("WINEPREFIX");
    }

    // --- Saving ----------------------------------------------------------------------------------

    void saveWritesIntoAPipe()
    {
        const QString pipe = m_dir.filePath(QStringLiteral("out.fifo"));
        QVERIFY(MakeSpecial(pipe, QStringLiteral("pipe")));
        const QByteArray bytes = Pattern(1 << 20); // more than a pipe holds at once
        QByteArray received;
        std::thread reader([&] {
            QFile in(pipe);
            if (in.open(QIODevice::ReadOnly))
                received = in.readAll();
        });
        QString reason;
        const bool saved = SaveFileAtomically(pipe, bytes, &reason);
        reader.join();
        QVERIFY2(saved, qPrintable(reason));
        QCOMPARE(received, bytes);
        QCOMPARE(TypeOf(pipe), mode_t(S_IFIFO));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("out.fifo")}); // no temporary file left beside it
    }

    void saveWritesIntoADevice()
    {
        // A null device of the test's own where it may make one; else /dev/null, but never as root,
        // who could replace the machine's /dev/null if the save went wrong. And a link to it, which
        // must stay a link.
        QString device = m_dir.filePath(QStringLiteral("null"));
        if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            if (geteuid() == 0)
                QSKIP("no device node can be made here, and /dev/null itself is not risked as root");
            device = QStringLiteral("/dev/null");
        }
        const QString link = m_dir.filePath(QStringLiteral("null.BIN"));
        QVERIFY(QFile::link(device, link));
        for (const QString& target : {device, link}) {
            QString reason;
            QVERIFY2(SaveFileAtomically(target, "map data", &reason), qPrintable(reason));
            QCOMPARE(ReadFile(target), QByteArray()); // still the null device
        }
        QCOMPARE(TypeOf(device), mode_t(S_IFCHR));
        QCOMPARE(TypeOf(link), mode_t(S_IFLNK));
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);
    }

    // A reader that goes away fails the save with a reason; the program goes on.
    void pipeWhoseReaderLeavesFailsTheSave()
    {
        const QString pipe = m_dir.filePath(QStringLiteral("gone.fifo"));
        QVERIFY(MakeSpecial(pipe, QStringLiteral("pipe")));
        std::thread reader([&] {
            QFile in(pipe);
            if (in.open(QIODevice::ReadOnly))
                in.close();
        });
        QString reason;
        const bool saved = SaveFileAtomically(pipe, QByteArray(4 << 20, 'x'), &reason);
        reader.join();
        QVERIFY(!saved);
        QCOMPARE(reason, qt_error_string(EPIPE));
        QCOMPARE(TypeOf(pipe), mode_t(S_IFIFO));
    }

    // A regular target keeps the atomic save: a new file in the old one's place.
    void regularTargetIsStillReplaced()
    {
        const QString path = m_dir.filePath(QStringLiteral("kept.BIN"));
        QVERIFY(WriteFile(path, "old"));
        QFile held(path);
        QVERIFY(held.open(QIODevice::ReadOnly));
        QVERIFY(SaveFileAtomically(path, "new"));
        QCOMPARE(ReadFile(path), QByteArray("new"));
        QCOMPARE(held.readAll(), QByteArray("old")); // the old file was replaced, not overwritten
    }

    // --- Files looked for: each row puts a pipe or a link to /dev/zero where one is expected ----

    void lookedForFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("special");
        for (const char* file : {"Wine registry", "Steam library list", "registry stand-in"}) {
            for (const char* special : {"pipe", "zero"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(file), QLatin1String(special))))
                    << QString::fromLatin1(file) << QString::fromLatin1(special);
        }
    }

    // The look-up passes over it to the next place, where the installation is found.
    void lookedForFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, special);
        QString specialPath;
        QString expected;
        if (file == QLatin1String("Wine registry")) {
            // WINEPREFIX's registry is the special file; ~/.wine holds the key.
            const QString named = m_home + QStringLiteral("/named");
            MakePrefix(named);
            QVERIFY(QFile::remove(named + QStringLiteral("/system.reg")));
            specialPath = named + QStringLiteral("/system.reg");
            qputenv("WINEPREFIX", QFile::encodeName(named));
            MakePrefix(m_home + QStringLiteral("/.wine"));
            expected = m_home + QStringLiteral("/.wine/drive_c/Sim");
        } else if (file == QLatin1String("Steam library list")) {
            // Steam's own prefixes are still searched.
            const QString steam = m_home + QStringLiteral("/.local/share/Steam");
            specialPath = steam + QStringLiteral("/steamapps/libraryfolders.vdf");
            MakePrefix(steam + QStringLiteral("/steamapps/compatdata/7/pfx"));
            expected = steam + QStringLiteral("/steamapps/compatdata/7/pfx/drive_c/Sim");
        } else {
            // The user's key file is special; the system's is read.
            specialPath = m_home + QStringLiteral("/.config/Quillfeather/Stormcrest.ini");
            QVERIFY(
                WriteFile(m_home + QStringLiteral("/etc/Quillfeather/Stormcrest.ini"), "INSTALLATION PATH=/opt/sim\n"));
            expected = QStringLiteral("/opt/sim");
            QString value = QStringLiteral("untouched");
            QVERIFY(MakeSpecial(specialPath, special));
            QCOMPARE(ReadInstallationPathFromFile(specialPath, value), RegistryRead::KeyMissing);
            QCOMPARE(value, QStringLiteral("untouched"));
            QVERIFY(QFile::remove(specialPath));
        }
        QVERIFY(MakeSpecial(specialPath, special));
        const mode_t type = TypeOf(specialPath);
        QCOMPARE(LookUp(), expected);
        QCOMPARE(TypeOf(specialPath), type);
    }

    // The settings beside the program: not read, not written over, and the reason says why.
    void settingsFile_data()
    {
        QTest::addColumn<QString>("special");
        QTest::addColumn<QString>("reason");
        QTest::newRow("pipe") << QStringLiteral("pipe") << QStringLiteral("it is a pipe, not a regular file");
        QTest::newRow("zero") << QStringLiteral("zero") << QStringLiteral("it is a device, not a regular file");
    }
    void settingsFile()
    {
        QFETCH(QString, special);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(QStringLiteral("sablemap-%1.INI").arg(special));
        QVERIFY(MakeSpecial(path, special));
        const mode_t type = TypeOf(path);

        CProfileFile profile;
        profile.LoadBytes("[Kept]\nA=1\n");
        QString why;
        QVERIFY(!profile.Load(path, &why));
        QCOMPARE(why, reason);
        QCOMPARE(profile.Bytes(), QByteArray("[Kept]\nA=1\n"));
        QByteArray bytes;
        QVERIFY(!ReadRegularFile(path, FileLimits::Settings, bytes, &why));
        QCOMPARE(why, reason);

        CTarnConfig settings;
        settings.Styles[0].Size = 9;
        QVERIFY(!settings.Load(path));
        QCOMPARE(settings.Styles[0].Size, 9);
        QString message;
        QVERIFY(!settings.Save(path, &message));
        QVERIFY2(message.contains(path), qPrintable(message));
        QCOMPARE(TypeOf(path), type);
    }

    // What is read of a regular file the program looks for is capped as well: one that grows past
    // its limit (as files of /proc may) fails as one too long.
    void regularFilesAreReadUpToTheirLimit()
    {
        const QString path = m_dir.filePath(QStringLiteral("small.INI"));
        QVERIFY(WriteFile(path, "[A]\nB=1\n"));
        QByteArray bytes;
        QString why;
        QVERIFY2(ReadRegularFile(path, FileLimit{8, "test file"}, bytes, &why), qPrintable(why));
        QCOMPARE(bytes, QByteArray("[A]\nB=1\n"));
        QVERIFY(!ReadRegularFile(path, FileLimit{7, "test file"}, bytes, &why));
        QVERIFY2(why.contains(QLatin1String("no test file is longer")), qPrintable(why));
        QVERIFY(!ReadRegularFile(m_dir.path(), FileLimits::Settings, bytes, &why));
        QCOMPARE(why, QStringLiteral("it is a folder, not a regular file"));
    }
};

QTEST_GUILESS_MAIN(TestSpecialFiles)
#include "tst_pipesanddevices.moc"
