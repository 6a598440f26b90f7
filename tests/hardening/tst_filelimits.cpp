// Files that no reader may take whole: longer than any file of their kind, endless devices, pipes,
// and reads that run out of memory. Each fails as a damaged file does, with a reason, and leaves
// what it would have filled as it was.
#include "../testfiles.h"
#include "allocationprobe.h"

#include "../factions/layeredbuilder.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/map.h"
#include "platform/fileread.h"
#include "platform/messagetext.h"
#include "platform/profile.h"
#include "platform/streams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <thread>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

QByteArray Int32s(std::initializer_list<int32_t> values)
{
    CByteWriter writer;
    for (int32_t value : values)
        writer.WriteInt32(value);
    return writer.Bytes();
}

// Everything one reader works on, and what it filled. A reader that fails must leave it as built.
class Target {
public:
    C3DObjectsList Catalogue{kEnglish};
    CPopTemplatesTypesList Types;
    CBINFile Campaign{&Catalogue, &Types};
    C3DObjectsList List{kEnglish};
    CMap Map;
    RouteList Routes;
    CFactionsInfo Factions;
    CProfileFile Profile;

    Target()
    {
        Catalogue.Add("TANK");
        List.Add("KEPT");
        Profile.LoadBytes("[Kept]\nA=1\n");
        Campaign.LoadBytes(Int32s({1, 0, 7, 0, 0, 1, 0, 0, 0, 0, 0}));
    }

    // What the reader named `kind` holds, to compare before and after.
    QByteArray State(const QString& kind) const
    {
        if (kind == QLatin1String("3D object list"))
            return QByteArray::number(List.Count()) + QByteArray::fromStdString(List.NameOf(0));
        if (kind == QLatin1String("terrain file")) // a map that failed to load is thrown away
            return QByteArray::number(Map.TerrainLoaded);
        if (kind.startsWith(QLatin1String("route")))
            return QByteArray::number(qsizetype(Routes.size()));
        if (kind == QLatin1String("faction file"))
            return QByteArray::number(Factions.HasDocument());
        if (kind == QLatin1String("settings file"))
            return Profile.Bytes();
        return Campaign.SaveBytes(true);
    }
};

// After a failed read: as it was, but for a catalogue, which is left empty rather than half read.
void ExpectUnchanged(const Target& target, const QString& kind, const QByteArray& before)
{
    if (kind == QLatin1String("3D object list"))
        QCOMPARE(target.List.Count(), 0);
    else
        QCOMPARE(target.State(kind), before);
}

// The file each reader reads, inside `folder`.
QString FileOf(const QString& folder, const QString& kind)
{
    if (kind == QLatin1String("terrain file"))
        return folder + QStringLiteral("/map/terrain/terrain.sim");
    if (kind == QLatin1String("route node file"))
        return folder + QStringLiteral("/net.NDE");
    if (kind == QLatin1String("route link file"))
        return folder + QStringLiteral("/net.WP");
    return folder + QStringLiteral("/file");
}

// The other file of a route network: a valid empty one.
bool Prepare(const QString& kind, const QString& folder)
{
    if (!kind.startsWith(QLatin1String("route")))
        return true;
    const QString other = FileOf(folder,
                                 kind.contains(QLatin1String("node")) ? QStringLiteral("route link file")
                                                                      : QStringLiteral("route node file"));
    return WriteFile(other, kind.contains(QLatin1String("node")) ? RouteLinkFileBytes({}) : RouteNodeFileBytes({}));
}

// Runs the reader named after the kind of file it reads.
bool Read(Target& target, const QString& kind, const QString& folder, QString& reason)
{
    const QString path = FileOf(folder, kind);
    if (kind == QLatin1String("Map BIN file"))
        return target.Campaign.LoadReplacing(path, &reason);
    if (kind == QLatin1String("template file or Map BIN file"))
        return target.Campaign.ImportTemplates(path, &reason);
    if (kind == QLatin1String("3D object list"))
        return target.List.LoadFromFile(path, &reason);
    if (kind == QLatin1String("terrain file"))
        return target.Map.Load(folder + QStringLiteral("/map/"), &reason);
    if (kind.startsWith(QLatin1String("route")))
        return CMap::LoadRouteNetwork(folder + QStringLiteral("/net.nde"), target.Routes, &reason);
    if (kind == QLatin1String("faction file"))
        return target.Factions.LoadFromFile(path, &reason);
    return target.Profile.Load(path, &reason);
}

// A small valid file of each kind, so that every reader has something to parse.
QByteArray SmallFile(const QString& kind)
{
    const RouteGraph network{{{0, 0, 0}, {100, 0, 100}}, {{0, 1, 0, {{10, 0, 10}}}}};
    if (kind == QLatin1String("3D object list"))
        return Int32s({3, 0, 4}) + "TANK" + Int32s({0, 6}) + "HANGAR" + Int32s({0});
    if (kind == QLatin1String("terrain file"))
        return TerrainFileBytes({3, 2, 64, 64, {0, 100, 200, 300, 400, 500}});
    if (kind == QLatin1String("route node file"))
        return RouteNodeFileBytes(network);
    if (kind == QLatin1String("route link file"))
        return RouteLinkFileBytes(network);
    if (kind == QLatin1String("faction file"))
        return layered::Build(
            layered::Faction(4, 3, QByteArray("\xff\x00\xff\x00\x00\xff\x00\xff\xff\xff\x00\x00", 12)));
    if (kind == QLatin1String("settings file"))
        return "[Keysite symbol]\nShape=1\nSize=3\n[Other]\nKept=yes\n";
    // A template with a known and an unknown object, a keysite on it, an airbase and a SAM site.
    QByteArray bytes = Int32s({-1, 2, 5, 1, 4}) + "TANK" + Int32s({0, 1, 3}) + "CAR" + Int32s({0, 0, 0, 4}) + "TANK"
        + Int32s({0, 0, 0, 3}) + "CAR";
    if (kind == QLatin1String("Map BIN file"))
        bytes += Int32s({1, 0, 0, 0, 1, 0, 0, 6}) + "HANGAR" + Int32s({1, 0, 0});
    return bytes;
}

const QStringList kKinds = {QStringLiteral("Map BIN file"),    QStringLiteral("template file or Map BIN file"),
                            QStringLiteral("3D object list"),  QStringLiteral("terrain file"),
                            QStringLiteral("route node file"), QStringLiteral("route link file"),
                            QStringLiteral("faction file"),    QStringLiteral("settings file")};

qint64 LimitOf(const QString& kind)
{
    for (const FileLimit& limit :
         {FileLimits::MapBin, FileLimits::TemplateSource, FileLimits::Catalogue, FileLimits::Terrain,
          FileLimits::RouteNodes, FileLimits::RouteLinks, FileLimits::FactionFile, FileLimits::Settings}) {
        if (kind == QLatin1String(limit.Kind))
            return limit.Bytes;
    }
    return -1;
}

} // namespace

class TestFileLimits : public QObject {
    Q_OBJECT

private slots:
    void kinds_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString& kind : kKinds)
            QTest::newRow(qPrintable(kind)) << kind;
    }

    // A file of the limit's length is read; one byte more is refused before anything is read. The
    // files are sparse: all zeros, which every format but the faction file reads as empty.
    void longerThanTheLimitIsRefused_data() { kinds_data(); }
    void longerThanTheLimitIsRefused()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = FileOf(dir.path(), kind);
        QVERIFY(WriteFile(path, QByteArray()) && Prepare(kind, dir.path()));
        const qint64 limit = LimitOf(kind);
        QVERIFY(limit > 0);
        QVERIFY(QFile::resize(path, limit));
        Target target;
        QString reason;
        const bool atLimit = Read(target, kind, dir.path(), reason);
        if (kind == QLatin1String("faction file"))
            QVERIFY2(!atLimit && !reason.contains(QLatin1String("longer")), qPrintable(reason));
        else
            QVERIFY2(atLimit, qPrintable(reason));

        Target fresh;
        const QByteArray before = fresh.State(kind);
        QVERIFY(QFile::resize(path, limit + 1));
        QVERIFY(!Read(fresh, kind, dir.path(), reason));
        QVERIFY2(
            reason.contains(
                QStringLiteral("is %1 bytes long; no %2 is longer than %3 bytes").arg(limit + 1).arg(kind).arg(limit)),
            qPrintable(reason));
        ExpectUnchanged(fresh, kind, before);
    }

    // Devices and pipes have no length to check beforehand: they are read up to the limit. A
    // terrain and a sector file need only their first bytes, so an endless one of zeros reads as an
    // empty map at once.
    void endlessDevicesAreReadUpToTheLimit_data() { kinds_data(); }
    void endlessDevicesAreReadUpToTheLimit()
    {
        QFETCH(QString, kind);
        if (!QFileInfo::exists(QStringLiteral("/dev/zero")))
            QSKIP("no /dev/zero");
        QTemporaryDir dir;
        const QString path = FileOf(dir.path(), kind);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && Prepare(kind, dir.path()));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        Target target;
        const QByteArray before = target.State(kind);
        QString reason;
        if (kind == QLatin1String("terrain file")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("map/terrain/default.sec"))));
            target.Map.SectorCountX = 7;
            QVERIFY2(Read(target, kind, dir.path(), reason), qPrintable(reason));
            QCOMPARE(target.Map.ColumnCount, 0);
            QCOMPARE(target.Map.SectorCountX, 0);
            return;
        }
        QVERIFY(!Read(target, kind, dir.path(), reason));
        ExpectUnchanged(target, kind, before);
        // Route networks and settings are read from regular files only; the settings say so.
        if (kind == QLatin1String("settings file"))
            QCOMPARE(reason, QStringLiteral("it is a device, not a regular file"));
        else if (!kind.startsWith(QLatin1String("route")))
            QVERIFY2(reason.contains(
                         QStringLiteral("holds more than %1 bytes; no %2 is longer").arg(LimitOf(kind)).arg(kind)),
                     qPrintable(reason));
    }

    // The counts that size the limits are no limits of their own: a name far longer than
    // LongestName and more short records than MostRecords are read while the file fits its
    // length. The message that names the long name stays a line long.
    void countsThatSizeTheLimitsAreNotLimits()
    {
        const QByteArray name(FileLimits::LongestName * 4000, 'N');
        const int32_t sams = int32_t(FileLimits::MostRecords) * 2;
        const QByteArray bytes =
            Int32s({0, 0, 1, 0, 0, int32_t(name.size())}) + name + Int32s({sams}) + QByteArray(8 * sams, '\0');
        QVERIFY(bytes.size() < FileLimits::MapBin.Bytes);
        Target target;
        QString reason;
        QVERIFY2(target.Campaign.LoadBytes(bytes, &reason), qPrintable(reason));
        QCOMPARE(target.Campaign.SamCount(), sams);
        const CMissingNames& missing = target.Campaign.LastReadMissingNames();
        QCOMPARE(missing.Names(), std::vector<std::string>{name.toStdString()});

        const QString text = MissingNamesText(missing);
        const QString shown = QString(MessageText::LongestShown - 1, QLatin1Char('N')) + QChar(0x2026);
        QCOMPARE(text,
                 QStringLiteral("3D object names not in the catalogue are written as INVALID_OBJECT: 1 record, 1 name "
                                "(\"%1\")")
                     .arg(shown));
    }

    // A pipe that ends is read to its end.
    void pipeIsReadToItsEnd()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file"));
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        const QByteArray bytes = SmallFile(QStringLiteral("Map BIN file"));
        std::thread writer([&] {
            QFile pipe(path);
            if (pipe.open(QIODevice::WriteOnly)) {
                for (char byte : bytes)
                    pipe.write(&byte, 1);
            }
        });
        Target target;
        QString reason;
        const bool read = target.Campaign.LoadReplacing(path, &reason);
        writer.join();
        QVERIFY2(read, qPrintable(reason));
        QCOMPARE(target.Campaign.SamCount(), 1);
    }

    // Every allocation that a read makes may be the one that fails: the read then fails with the
    // reason, and nothing escapes it or changes what it would have filled.
    void runningOutOfMemoryIsAFailedRead_data() { kinds_data(); }
    void runningOutOfMemoryIsAFailedRead()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(WriteFile(FileOf(dir.path(), kind), SmallFile(kind)) && Prepare(kind, dir.path()));
        long long requests = 0;
        {
            Target target;
            QString reason;
            probe::Scope scope;
            QVERIFY2(Read(target, kind, dir.path(), reason), qPrintable(reason));
            requests = scope.Requests();
        }
        QVERIFY(requests > 0);
        for (long long failing = 0; failing < requests; ++failing) {
            Target target;
            const QByteArray before = target.State(kind);
            QString reason;
            bool read = true;
            {
                probe::Scope scope(failing);
                read = Read(target, kind, dir.path(), reason);
            }
            QVERIFY2(!read, qPrintable(QStringLiteral("request %1 of %2 failed unnoticed").arg(failing).arg(requests)));
            QVERIFY2(reason.contains(OutOfMemoryReason()), qPrintable(reason));
            ExpectUnchanged(target, kind, before);
        }
    }
};

QTEST_GUILESS_MAIN(TestFileLimits)
#include "tst_filelimits.moc"
