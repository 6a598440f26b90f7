// What the editor tells the user about files: why a save failed (the system's reason beside the
// usual message), why a load failed, and which 3D object names a Load or Import met that the
// catalogue does not hold.
#include "../dialogs/scriptedprompts.h"
#include "../hardening/diskspacelimit.h"
#include "app/documentfiles.h"
#include "appfixture.h"
#include "document/binfile.h"
#include "factions/factiondocument.h"
#include "factions/factionsinfo.h"
#include "platform/streams.h"

#include <cerrno>
#include <cstring>

namespace {

QByteArray Int32s(std::initializer_list<int32_t> values)
{
    CByteWriter writer;
    for (int32_t value : values)
        writer.WriteInt32(value);
    return writer.Bytes();
}

QByteArray Name(const QByteArray& name) { return Int32s({int32_t(name.size())}) + name; }

// A template list: each template named by its approximation object, with one object named too.
QByteArray Templates(const QList<std::pair<QByteArray, QByteArray>>& templates)
{
    QByteArray bytes = Int32s({-int32_t(templates.size())});
    for (const auto& [approximation, object] : templates)
        bytes += Int32s({1, 1, 1}) + Name(approximation) + Int32s({0, 0, 0, 0, 0}) + Name(object);
    return bytes;
}

// A Map BIN file of those templates, with no keysites and one airbase on `airbase`.
QByteArray MapFile(const QList<std::pair<QByteArray, QByteArray>>& templates, const QByteArray& airbase)
{
    return Templates(templates) + Int32s({0, 1, 0, 0}) + Name(airbase) + Int32s({0});
}

const QString kMissing =
    QStringLiteral("message: 3D object names not in the catalogue are written as INVALID_OBJECT: ");

} // namespace

class TestFileMessages : public QObject {
    Q_OBJECT

    std::unique_ptr<CTestInstallation> m_installation;
    std::unique_ptr<CScriptedPrompts> m_prompts;
    std::unique_ptr<TfrmMain> m_window;

private slots:
    void init()
    {
        m_installation = std::make_unique<CTestInstallation>();
        m_installation->WriteCatalogue({"TANK", "HANGAR"});
        m_installation->RegisterRoot();
        m_prompts = std::make_unique<CScriptedPrompts>();
        m_window = std::make_unique<TfrmMain>(*m_prompts, m_installation->Environment());
        QVERIFY(m_window->InitializeMainWindow());
    }
    void cleanup()
    {
        m_window.reset();
        m_prompts.reset();
        m_installation.reset();
    }

    // A save that the disk cuts short keeps its usual message and gives the system's reason as
    // the detail; the file it was to replace is left as it was.
    void failedSaveGivesTheReason_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Map BIN file, its own") << QStringLiteral("save") << QStringLiteral("message: Save failed");
        QTest::newRow("Map BIN file, saved as") << QStringLiteral("save as") << QStringLiteral("message: Save failed");
        QTest::newRow("faction file, its own") << QStringLiteral("factions") << QStringLiteral("message: Save failed");
        QTest::newRow("faction file, saved as")
            << QStringLiteral("factions as") << QStringLiteral("message: Save failed");
        QTest::newRow("template export") << QStringLiteral("export") << QStringLiteral("message: Export failed");
        QTest::newRow("settings") << QStringLiteral("settings") << QStringLiteral("error: Unable to write to SETTINGS");
    }
    void failedSaveGivesTheReason()
    {
        QFETCH(QString, command);
        QFETCH(QString, shown);
        TfrmMain& window = *m_window;
        const QString bin =
            m_installation->Write(QStringLiteral("in.BIN"), MapFile({{"TANK", "TANK"}, {"TANK", "HANGAR"}}, "HANGAR"));
        QVERIFY(window.Files()->LoadBinFile(bin));
        // The save's own failure, not its backup's (which fails first on a full disk and asks).
        window.Files()->Backups().SetKept(0);
        const QString sid = m_installation->Write(
            QStringLiteral("in.SID"), NewFactionDocument(8, 8, [](int32_t c, int32_t) { return c % 2; }).Serialize());
        m_prompts->FileAnswers << sid;
        Trigger(window, "Loadfactions1");
        QCOMPARE(m_prompts->Shown, QStringList());
        // Save and Save faction assignment write the documents' own files, without a dialog.
        const QString target = command == QLatin1String("save") ? bin
            : command == QLatin1String("factions")              ? sid
                                                                : m_installation->Dir.filePath(QStringLiteral("out"));
        const QByteArray before = ReadFile(target);
        const QString settings = m_installation->Environment().SettingsFile;
        m_prompts->FileAnswers << target;
        m_prompts->Drivers << [](QDialog&) { return int(QDialog::Accepted); };
        {
            DiskSpaceLimit full(40); // every file these commands write is longer
            QVERIFY(full.Ok());
            Trigger(window,
                    command == QLatin1String("save")              ? "Save1"
                        : command == QLatin1String("save as")     ? "SaveAs1"
                        : command == QLatin1String("factions")    ? "Savefactionassignment1"
                        : command == QLatin1String("factions as") ? "Savefactionassignmentas1"
                        : command == QLatin1String("export")      ? "Exporttemplates1"
                                                                  : "Settings1");
        }
        const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
        QCOMPARE(m_prompts->Shown, QStringList{QString(shown).replace(QStringLiteral("SETTINGS"), settings)});
        QCOMPARE(m_prompts->Details,
                 QStringList{command == QLatin1String("settings") ? reason : target + QStringLiteral(": ") + reason});
        QCOMPARE(QFile::exists(target), !before.isEmpty());
        QCOMPARE(ReadFile(target), before);
    }

    // Said once after each Load or Import that met such names, naming that read's names only; up
    // to ten names are listed.
    void missingNamesAreNamedAfterTheRead()
    {
        TfrmMain& window = *m_window;
        QStringList expected;
        m_prompts->FileAnswers << m_installation->Write(QStringLiteral("a.BIN"),
                                                        MapFile({{"TANK", "JEEP"}, {"CAR", "TANK"}}, "TOWER"));
        Trigger(window, "Load1");
        expected << kMissing + QStringLiteral("3 records, 3 names (\"JEEP\", \"CAR\", \"TOWER\")");
        QCOMPARE(m_prompts->Shown, expected);

        // Every name known, or a load that fails: nothing more is said about names.
        m_prompts->FileAnswers << m_installation->Write(QStringLiteral("b.BIN"), MapFile({{"tank", "HANGAR"}}, "TANK"))
                               << m_installation->Write(QStringLiteral("c.BIN"),
                                                        MapFile({{"CAR", "CAR"}}, "CAR").left(30));
        Trigger(window, "Load1");
        Trigger(window, "Load1");
        expected << QStringLiteral("message: Open failed");
        QCOMPARE(m_prompts->Shown, expected);

        QList<std::pair<QByteArray, QByteArray>> many;
        for (int i = 1; i <= 12; ++i)
            many.append({QByteArrayLiteral("TANK"), QByteArray("N") + QByteArray::number(i)});
        m_prompts->FileAnswers << m_installation->Write(QStringLiteral("many.BTP"), Templates(many));
        Trigger(window, "Importtemplates1");
        expected << kMissing
                + QStringLiteral("12 records, 12 names (\"N1\", \"N2\", \"N3\", \"N4\", \"N5\", \"N6\", "
                                 "\"N7\", \"N8\", \"N9\", \"N10\" and 2 more)");
        QCOMPARE(m_prompts->Shown, expected);
        QCOMPARE(Records(window).TemplateCount(), 13);
    }
};

QTEST_MAIN(TestFileMessages)
#include "tst_filemessages.moc"
