// Backups of the files a save replaces: one folder per file, the newest kept, the file untouched.
#include "session/filebackups.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileBackups : public QObject {
    Q_OBJECT
private slots:
    // Each save keeps the version it replaces; the newest `kept` stay, newest first.
    void newestAreKept_data()
    {
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("saves");
        QTest::newRow("N+1 saves keep N") << 3 << 4;
        QTest::newRow("fewer saves than kept") << 5 << 2;
        QTest::newRow("one kept") << 1 << 3;
        QTest::newRow("none kept") << 0 << 2;
    }
    void newestAreKept()
    {
        QFETCH(int, kept);
        QFETCH(int, saves);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("maps/sable_coast.BIN"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("maps"))));
        CFileBackups backups(dir.filePath(QStringLiteral("backups")), kept);
        // Every save within one second: the names must still tell them apart and order them.
        for (int version = 0; version < saves; ++version) {
            const QByteArray bytes = "version " + QByteArray::number(version);
            QVERIFY(Write(file, bytes));
            QVERIFY(backups.Keep(file));
            QCOMPARE(Read(file), bytes); // the file itself is never touched
        }
        const std::vector<CFileBackups::Backup> list = backups.List(file);
        QCOMPARE(int(list.size()), std::min(kept, saves));
        for (size_t i = 0; i < list.size(); ++i) {
            QCOMPARE(Read(list[i].Path), "version " + QByteArray::number(saves - 1 - int(i)));
            QVERIFY(list[i].Path.endsWith(QLatin1String(".BIN")));
            QVERIFY(list[i].Time.isValid());
        }
        QCOMPARE(QFileInfo::exists(backups.FolderOf(file)), kept > 0);
        if (kept > 0)
            QVERIFY(QFileInfo(backups.FolderOf(file)).fileName().startsWith(QLatin1String("sable_coast.BIN-")));
    }

    // Two maps' files of one name keep their backups apart; a file that is not there has none to keep.
    void filesOfOneNameStayApart()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("a"))) && QDir().mkpath(dir.filePath(QStringLiteral("b"))));
        const QString first = dir.filePath(QStringLiteral("a/campaign.BIN"));
        const QString second = dir.filePath(QStringLiteral("b/campaign.BIN"));
        CFileBackups backups(dir.filePath(QStringLiteral("backups")));
        QVERIFY(backups.Keep(first)); // not there yet
        QVERIFY(backups.List(first).empty());
        QVERIFY(Write(first, "first") && Write(second, "second"));
        QVERIFY(backups.Keep(first) && backups.Keep(second));
        QVERIFY(backups.FolderOf(first) != backups.FolderOf(second));
        QCOMPARE(Read(backups.List(first).at(0).Path), QByteArray("first"));
        QCOMPARE(Read(backups.List(second).at(0).Path), QByteArray("second"));
    }

    // A backup that cannot be written says why and leaves the file as it was.
    void unwritableFolderFails()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("campaign.BIN"));
        const QString blocker = dir.filePath(QStringLiteral("blocker"));
        QVERIFY(Write(file, "work") && Write(blocker, "a file where the folder should be"));
        CFileBackups backups(blocker + QStringLiteral("/backups"));
        QString reason;
        QVERIFY(!backups.Keep(file, &reason));
        QVERIFY(!reason.isEmpty());
        QCOMPARE(Read(file), QByteArray("work"));
        QVERIFY(backups.List(file).empty());
    }
};

QTEST_GUILESS_MAIN(TestFileBackups)
#include "tst_filebackups.moc"
