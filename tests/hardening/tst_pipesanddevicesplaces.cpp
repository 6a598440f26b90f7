// The person's places (recent files, last folders) with a pipe or a link to /dev/zero where their
// file should be: the editor neither waits nor reads for ever, keeps the places for the run and
// leaves the pipe or the link where it was.
#include "app/fileplaces.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestSpecialPlaces : public QObject {
    Q_OBJECT
private slots:
    void placesFile_data()
    {
        QTest::addColumn<QString>("special");
        QTest::newRow("pipe") << QStringLiteral("pipe");
        QTest::newRow("zero") << QStringLiteral("zero");
    }
    void placesFile()
    {
        QFETCH(QString, special);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sablemap.conf"));
        if (special == QLatin1String("pipe"))
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        {
            CFilePlaces places(path);
            QVERIFY(places.RecentFiles().isEmpty());
            places.AddRecentFile(QStringLiteral("/maps/campaign.BIN"), CFilePlaces::Kind::MapBin);
            places.RememberFolder(QStringLiteral("SID"), QStringLiteral("/maps/sectors.SID"));
            QCOMPARE(places.RecentFiles().size(), 1);
            QCOMPARE(places.RecentFiles().first().Path, QStringLiteral("/maps/campaign.BIN"));
            QCOMPARE(places.LastFolder(QStringLiteral("SID")), QStringLiteral("/maps"));
        }
        struct stat status;
        QVERIFY(::lstat(QFile::encodeName(path).constData(), &status) == 0);
        QVERIFY(special == QLatin1String("pipe") ? S_ISFIFO(status.st_mode) : S_ISLNK(status.st_mode));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("sablemap.conf")});
    }
};

QTEST_GUILESS_MAIN(TestSpecialPlaces)
#include "tst_pipesanddevicesplaces.moc"
