// The entries the map selection offers.

#include "mapview/maplist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestMapList : public QObject {
    Q_OBJECT

private slots:
    void listing()
    {
        QTemporaryDir install;
        QDir maps(install.path());
        QVERIFY(maps.mkpath(QStringLiteral("Common/Maps")));
        QVERIFY(maps.cd(QStringLiteral("Common/Maps")));
        for (const char* folder : {"map2", "map1", "MAPX", "Maps_old", "old_map1", "terrain"})
            QVERIFY(maps.mkdir(QLatin1String(folder)));
        for (const char* file : {"map_notes.txt", "readme.txt"}) {
            QFile f(maps.filePath(QLatin1String(file)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
#ifdef Q_OS_UNIX
        // Hidden files are not offered (a name beginning with "." cannot begin with "map" anyway),
        // nor system entries such as a pipe; a dangling link is neither a file nor a folder.
        QVERIFY(::mkfifo(QFile::encodeName(maps.filePath(QStringLiteral("map_pipe"))).constData(), 0600) == 0);
        QVERIFY(QFile::link(maps.filePath(QStringLiteral("nowhere")), maps.filePath(QStringLiteral("map_link"))));
#endif
        // The folder names are matched without regard to case ("Common/Maps" for "common\maps").
        QCOMPARE(ListMapEntries(install.path()),
                 QStringList({QStringLiteral("map1"), QStringLiteral("map2"), QStringLiteral("map_notes.txt"),
                              QStringLiteral("Maps_old"), QStringLiteral("MAPX")}));
        QCOMPARE(QDir::fromNativeSeparators(MapEntryPath(install.path(), QStringLiteral("map1"))),
                 install.path() + QStringLiteral("/common/maps/map1"));
        QCOMPARE(MapEntryPath(install.path(), QString()), QString());
    }

    void noMapsFolderIsAnEmptyList()
    {
        QTemporaryDir install;
        QVERIFY(ListMapEntries(install.path()).isEmpty());
        QVERIFY(ListMapEntries(install.path() + QStringLiteral("/nonexistent")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMapList)
#include "tst_maplist.moc"
