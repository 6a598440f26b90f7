// No save loses the file it replaces, whatever makes it fail: a disk that fills up, a name too
// long for the file system, a folder that is really a file, a target that is a folder. And no
// failed read changes the document, the template list or the faction layer being edited.
#include "../testfiles.h"
#include "diskspacelimit.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "factions/factiondocument.h"
#include "factions/factionsinfo.h"
#include "mapview/tarnconfig.h"
#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>

namespace {

constexpr rlim_t kSpaceLeft = 2048;
const QByteArray kOldContent = QByteArray("; the user's previous file\n") + QByteArray(3000, '#') + '\n';

struct Documents {
    C3DObjectsList Catalogue{QLocale(QLocale::English, QLocale::UnitedStates)};
    CPopTemplatesTypesList Types;
    CBINFile Campaign{&Catalogue, &Types};
    CFactionsInfo Factions;
    CTarnConfig Settings;

    // Each larger than the space left, so that a full disk stops every save part-way.
    Documents()
    {
        Catalogue.Add("TANK");
        CPopTemplate tmpl;
        for (int i = 0; i < 200; ++i)
            tmpl.Objects.push_back({float(i), 0, 0, 0});
        Campaign.InsertRows(0, std::vector{tmpl});
        Campaign.InsertRows(0, std::vector<CSAMPlacement>(400));
        Factions.Document() = NewFactionDocument(64, 64, [](int32_t c, int32_t r) { return (c + r) % 2; });
        Factions.ExtractFactions();
        Factions.SetFaction(1, 5, 5);
    }
};

using Saver = std::function<bool(Documents&, const QString& path, QString& reason)>;

Saver SaverNamed(const QString& name)
{
    if (name == QLatin1String("Map BIN"))
        return [](Documents& d, const QString& path, QString& reason) { return d.Campaign.Save(path, true, &reason); };
    if (name == QLatin1String("template export"))
        return [](Documents& d, const QString& path, QString& reason) {
            return d.Campaign.ExportTemplates(path, 0, 0, &reason);
        };
    if (name == QLatin1String("faction file"))
        return [](Documents& d, const QString& path, QString& reason) { return d.Factions.SaveToFile(path, &reason); };
    return [](Documents& d, const QString& path, QString& reason) {
        QString message;
        const bool ok = d.Settings.Save(path, &message, &reason);
        // The window shows this text; without it the user would not know the styles were not kept.
        if (!ok && message != QStringLiteral("Unable to write to %1").arg(path))
            reason = QStringLiteral("wrong message: ") + message;
        return ok;
    };
}

} // namespace

class TestDataSafety : public QObject {
    Q_OBJECT

private slots:
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("saver");
        QTest::addColumn<QString>("failure");
        for (const char* saver : {"Map BIN", "template export", "faction file", "settings"}) {
            for (const char* failure : {"disk full", "name too long", "folder is a file", "target is a folder"})
                QTest::addRow("%s, %s", saver, failure) << QString::fromLatin1(saver) << QString::fromLatin1(failure);
        }
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, saver);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Documents docs;
        const Saver save = SaverNamed(saver);

        // What must survive the failed save, and where the save is aimed.
        QString target;
        QString survivor;
        if (failure == QLatin1String("name too long")) {
            // The name itself fits, the temporary name beside it does not.
            target = dir.filePath(QString(250, QLatin1Char('s')));
            survivor = target;
        } else if (failure == QLatin1String("folder is a file")) {
            survivor = dir.filePath(QStringLiteral("maps"));
            target = survivor + QStringLiteral("/campaign.bin");
        } else if (failure == QLatin1String("target is a folder")) {
            target = dir.filePath(QStringLiteral("campaign.bin"));
            QVERIFY(QDir().mkpath(target + QStringLiteral("/inside")));
        } else {
            target = dir.filePath(QStringLiteral("campaign.bin"));
            survivor = target;
        }
        if (!survivor.isEmpty())
            QVERIFY(WriteFile(survivor, kOldContent));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

        QString reason;
        bool saved = false;
        if (failure == QLatin1String("disk full")) {
            DiskSpaceLimit limit(kSpaceLeft);
            QVERIFY(limit.Ok());
            saved = save(docs, target, reason);
            // The write stopped part-way; the reason is still the system's, not "Unknown error".
            QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(EFBIG)));
        } else {
            saved = save(docs, target, reason);
        }
        QVERIFY2(!saved, "the save reported success");
        QVERIFY2(!reason.isEmpty() && !reason.startsWith(QStringLiteral("wrong message")), qPrintable(reason));
        if (!survivor.isEmpty())
            QCOMPARE(ReadFile(survivor), kOldContent);
        else
            QVERIFY(QFileInfo(target + QStringLiteral("/inside")).isDir());
        // No half-written temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);

        // Once there is room again the same save goes through.
        if (failure == QLatin1String("disk full")) {
            QVERIFY2(save(docs, target, reason), qPrintable(reason));
            QVERIFY(ReadFile(target) != kOldContent);
        }
    }

    // Writing the styles touches their own lines only; the rest of the file comes back byte for
    // byte, whatever its line endings.
    void settingsKeepTheRestOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("CR LF") << QByteArray("; mine\r\n[Other]\r\nValue=1\r\n");
        QTest::newRow("LF, no final newline") << QByteArray("; mine\n[Other]\nValue=1");
        QTest::newRow("last line ends in CR") << QByteArray("[Other]\r\nValue=1\r");
        QTest::newRow("last line ends in two CRs") << QByteArray("[Other]\r\nValue=1\r\r");
        QTest::newRow("blank lines and comments") << QByteArray("\n\n;a\n  ;b = c\n[Other]\n\n");
    }
    void settingsKeepTheRestOfTheFile()
    {
        QFETCH(QByteArray, before);
        CProfileFile profile;
        profile.LoadBytes(before);
        QCOMPARE(profile.Bytes(), before);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sablemap.INI"));
        QVERIFY(WriteFile(path, before));
        CTarnConfig settings;
        settings.Styles[AirbaseKind].Color = 0x123456;
        QVERIFY(settings.Save(path));
        const QByteArray once = ReadFile(path);
        QVERIFY(settings.Save(path));
        QCOMPARE(ReadFile(path), once); // a second save changes nothing more
        // What the file held stays in front, only ended by a line ending where it had none.
        QVERIFY2(once.startsWith(before), once.constData());
        CTarnConfig reread;
        QVERIFY(reread.Load(path));
        QCOMPARE(reread.Styles[AirbaseKind].Color, 0x123456);
    }

    void failedReadsChangeNothing_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("truncated file") << QStringLiteral("truncated");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("missing file") << QStringLiteral("missing");
        QTest::newRow("empty file") << QStringLiteral("empty");
    }

    void failedReadsChangeNothing()
    {
        QFETCH(QString, source);
        QTemporaryDir dir;
        Documents docs;
        CBINFile& campaign = docs.Campaign;
        campaign.InsertRows(0, std::vector{CKeysitePlacement{0, 0, 0}});
        const QByteArray document = campaign.SaveBytes(true);
        const QString good = dir.filePath(QStringLiteral("good.sid"));
        QVERIFY(docs.Factions.SaveToFile(good));
        const QByteArray layer = docs.Factions.Document().Serialize();

        const QString path = dir.filePath(QStringLiteral("source"));
        QString factionPath = path;
        if (source == QLatin1String("truncated")) {
            QVERIFY(WriteFile(path, document.left(100))); // cut inside the template list
            factionPath = dir.filePath(QStringLiteral("cut.sid"));
            QVERIFY(WriteFile(factionPath, ReadFile(good).left(400)));
        } else if (source == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (source == QLatin1String("empty")) {
            QVERIFY(WriteFile(path, QByteArray()));
        }

        QString reason;
        QVERIFY(!campaign.Load(path, &reason));
        QVERIFY(!campaign.LoadReplacing(path, &reason));
        QVERIFY(!campaign.ImportTemplates(path, &reason));
        QVERIFY(!reason.isEmpty());
        QCOMPARE(campaign.SaveBytes(true), document);
        QCOMPARE(campaign.Templates()[0].UseCount, 1);

        QVERIFY(!docs.Factions.LoadFromFile(factionPath, &reason));
        QVERIFY(!reason.isEmpty());
        // A damaged file says where the damage is.
        if (source == QLatin1String("truncated"))
            QVERIFY2(reason.contains(QStringLiteral("offset")), qPrintable(reason));
        QVERIFY(docs.Factions.HasDocument());
        QCOMPARE(docs.Factions.GetFaction(5, 5), 1);
        QCOMPARE(docs.Factions.Document().Serialize(), layer);

        // Settings that cannot be read leave the styles as they were.
        if (source == QLatin1String("folder") || source == QLatin1String("missing")) {
            docs.Settings.Styles[SamKind].Size = 9;
            QVERIFY(!docs.Settings.Load(path));
            QCOMPARE(docs.Settings.Styles[SamKind].Size, 9);
        }
    }
};

QTEST_GUILESS_MAIN(TestDataSafety)
#include "tst_datasafety.moc"
