// The Edit menu's history: every kind of edit undone and redone exactly, long random runs of
// edits taken back to the file they started from, the modified state in the title, and the
// question before unsaved work is discarded.
#include "undofixture.h"
#include <QSpinBox>

#include <QSpinBox>
#include <random>

namespace {
// The record commands by the kind of edit, with the grid whose rows they act on.
struct Command {
    const char* Kind;
    const char* Grid; // none for Add
    const char* Button;
};
const Command kCommands[] = {
    {"add template", nullptr, "btnTemplateAdd"},
    {"edit template", "grPopTemplates", "btnTemplateEd"},
    {"delete templates", "grPopTemplates", "btnTemplateDel"},
    {"add object", "grPopTemplates", "btnTemplateObjectAdd"},
    {"edit object", "grPopTemplates", "btnTemplateObjectEd"},
    {"delete objects", "grPopTemplates", "btnTemplateObjectDel"},
    {"add keysite", nullptr, "btnKeysiteAdd"},
    {"edit keysite", "grKeysites", "btnKeysiteEd"},
    {"delete keysites", "grKeysites", "btnKeysiteDel"},
    {"add airbase", nullptr, "btnAirbaseAdd"},
    {"edit airbase", "grAirbases", "btnAirbaseEd"},
    {"delete airbases", "grAirbases", "btnAirbaseDel"},
    {"add SAM", nullptr, "btnSAMAdd"},
    {"edit SAM", "grSAMs", "btnSAMEdit"},
    {"delete SAMs", "grSAMs", "btnSAMDel"},
};
} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private:
    // Does one edit of the kind named; false when it had to be skipped.
    void Edit(const QString& kind, int row = 1, int count = 1);
    void SelectRows(CRecordGrid* grid, int first, int last)
    {
        ClickGridRow(grid, first);
        if (last != first)
            ClickGridRow(grid, last, Qt::ShiftModifier);
    }
    QWidget* Map() const { return MapImage(*m_fixture->Window); }
    QPoint MapCentre() const { return {Map()->width() / 2, Map()->height() / 2}; }

    std::unique_ptr<CUndoFixture> m_fixture;
private slots:
    void init()
    {
        m_fixture = std::make_unique<CUndoFixture>();
        QVERIFY(m_fixture->Start(true));
        m_fixture->Editor.X = 1234.5f;
        m_fixture->Editor.Z = 2345.5f;
        m_fixture->Editor.TypeCode = 7;
        m_fixture->Editor.ObjectIndex = 2;
        m_fixture->Editor.TemplateNumber = 1;
    }

    void cleanup() { m_fixture.reset(); }

    void everyEdit_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<QList<int>>("restored"); // the rows selected after the undo
        QTest::newRow("add template") << "add template" << 1 << 1 << "&Undo Add keysite template" << QList<int>{};
        QTest::newRow("edit template") << "edit template" << 2 << 1 << "&Undo Edit keysite template" << QList<int>{2};
        QTest::newRow("delete 2 templates")
            << "delete templates" << -2 << 2 << "&Undo Delete 2 keysite templates" << QList<int>{-2, -1};
        QTest::newRow("add object") << "add object" << 1 << 1 << "&Undo Add template object" << QList<int>{};
        QTest::newRow("edit object") << "edit object" << 1 << 1 << "&Undo Edit template object" << QList<int>{1};
        QTest::newRow("delete 1 object") << "delete objects" << 1 << 1 << "&Undo Delete 1 template object"
                                         << QList<int>{1};
        QTest::newRow("add keysite") << "add keysite" << 1 << 1 << "&Undo Add keysite" << QList<int>{};
        QTest::newRow("edit keysite (template moves)")
            << "edit keysite" << 3 << 1 << "&Undo Edit keysite" << QList<int>{3};
        QTest::newRow("delete 3 keysites")
            << "delete keysites" << 2 << 3 << "&Undo Delete 3 keysites" << QList<int>{2, 3, 4};
        QTest::newRow("add airbase") << "add airbase" << 1 << 1 << "&Undo Add airbase" << QList<int>{};
        QTest::newRow("edit airbase") << "edit airbase" << 1 << 1 << "&Undo Edit airbase" << QList<int>{1};
        QTest::newRow("delete 1 airbase") << "delete airbases" << 1 << 1 << "&Undo Delete 1 airbase" << QList<int>{1};
        QTest::newRow("add SAM") << "add SAM" << 1 << 1 << "&Undo Add SAM site" << QList<int>{};
        QTest::newRow("edit SAM") << "edit SAM" << 2 << 1 << "&Undo Edit SAM site" << QList<int>{2};
        QTest::newRow("delete 3 SAMs") << "delete SAMs" << 1 << 3 << "&Undo Delete 3 SAM sites" << QList<int>{1, 2, 3};
        QTest::newRow("place SAM") << "place SAM" << 2 << 5 << "&Undo Place SAM site" << QList<int>{2};
        QTest::newRow("import templates") << "import" << 1 << 1 << "&Undo Import " << QList<int>{};
        QTest::newRow("paint 5 x 5") << "paint" << 0 << 2 << "&Undo Paint factions" << QList<int>{};
    }

    void everyEdit()
    {
        QFETCH(QString, kind);
        QFETCH(int, row);
        QFETCH(int, count);
        QFETCH(QString, undoText);
        QFETCH(QList<int>, restored);
        TfrmMain& w = *m_fixture->Window;
        CUndoFixture& fixture = *m_fixture;
        if (kind == QLatin1String("delete templates")) {
            // Templates nobody uses, at the end of the list (negative rows count from there).
            // Through the record path, outside the history: the document is not modified.
            CBINFile& records = w.Session()->MutableRecords();
            records.InsertRows(records.TemplateCount(),
                               std::vector<CPopTemplate>(2, CPopTemplate{3, -2, -1, -2, 0, {}}));
            row += records.TemplateCount() + 1;
            for (int& r : restored)
                r += records.TemplateCount() + 1;
        }
        const QByteArray before = fixture.State();
        QVERIFY(!w.isWindowModified());

        Edit(kind, row, count);
        const QByteArray edited = fixture.State();
        QVERIFY(edited != before);
        QVERIFY(Action(w, "Undo1")->text().startsWith(undoText));
        QVERIFY(w.isWindowModified());

        Trigger(w, "Undo1");
        QCOMPARE(fixture.State(), before);
        QVERIFY(!w.isWindowModified());
        QVERIFY(Action(w, "Redo1")->text().startsWith(QStringLiteral("&Redo ") + undoText.mid(6)));
        if (!restored.isEmpty()) {
            const char* grid = kind.contains(QLatin1String("template")) ? "grPopTemplates"
                : kind.contains(QLatin1String("object"))                ? "grTemplateObjects"
                : kind.contains(QLatin1String("keysite"))               ? "grKeysites"
                : kind.contains(QLatin1String("airbase"))               ? "grAirbases"
                                                                        : "grSAMs";
            QCOMPARE(SelectedGridRows(Grid(w, grid)), restored);
        }

        Trigger(w, "Redo1");
        QCOMPARE(fixture.State(), edited);
        QVERIFY(w.isWindowModified());
    }

    void randomEdits_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (const unsigned seed : {1u, 2u, 3u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void randomEdits()
    {
        QFETCH(unsigned, seed);
        TfrmMain& w = *m_fixture->Window;
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const QByteArray before = m_fixture->State();
        for (int step = 0; step < 200; ++step) {
            // Now and then a place or a paint; once an import.
            const int choice = pick(0, int(std::size(kCommands)) + 1);
            const QString kind = QLatin1String(step == 100                               ? "import"
                                                   : choice == int(std::size(kCommands)) ? "place SAM"
                                                   : choice > int(std::size(kCommands))  ? "paint"
                                                                                         : kCommands[choice].Kind);
            // The rows to pick from: those of the command's grid (a place or a paint: the SAMs).
            const bool listed = choice < int(std::size(kCommands)) && kCommands[choice].Grid;
            const CRecordGrid* grid = Grid(w, listed ? kCommands[choice].Grid : "grSAMs");
            m_fixture->Editor.TemplateNumber = pick(-1, Records(w).TemplateCount() - 1);
            const int rows = std::max(grid->RowCount() - 1, 1);
            Edit(kind, pick(1, rows), pick(1, 3));
            if (w.MapArea()->IsPlacing()) // a place on an empty list
                QTest::mouseClick(Map(), Qt::RightButton, {}, MapCentre());
        }
        const QByteArray after = m_fixture->State();
        QVERIFY(w.Session()->History().Stack(CEditHistory::MapBin).count()
                    + w.Session()->History().Stack(CEditHistory::Factions).count()
                >= 150); // refusals aside, all recorded
        while (Action(w, "Undo1")->isEnabled())
            Trigger(w, "Undo1");
        QCOMPARE(m_fixture->State(), before);
        QVERIFY(!w.isWindowModified());
        while (Action(w, "Redo1")->isEnabled())
            Trigger(w, "Redo1");
        QCOMPARE(m_fixture->State(), after);
    }

    void modifiedStateAndTitle()
    {
        TfrmMain& w = *m_fixture->Window;
        const QString sid = QLatin1String(kDemoFactionFile);
        const QString loaded =
            QLatin1String(kDemoCampaignFile) + QStringLiteral(" — ") + sid + QStringLiteral(" — Sablemap");
        QCOMPARE(w.windowTitle(), loaded);
        QVERIFY(!w.isWindowModified());
        Edit(QStringLiteral("delete SAMs"), 1, 2);
        QCOMPARE(w.windowTitle(),
                 QLatin1String(kDemoCampaignFile) + QStringLiteral("* — ") + sid + QStringLiteral(" — Sablemap"));
        Trigger(w, "Save1");
        QCOMPARE(w.windowTitle(), loaded);
        QVERIFY(!w.isWindowModified());
        Trigger(w, "Undo1"); // before the save is modified too
        QVERIFY(w.isWindowModified());
        Trigger(w, "Redo1");
        QVERIFY(!w.isWindowModified());

        m_fixture->Prompts.FileAnswers << m_fixture->DemoFile(kDemoCampaignFile);
        Trigger(w, "Load1");
        QCOMPARE(w.windowTitle(), loaded);
        QVERIFY(!Action(w, "Undo1")->isEnabled()); // a fresh history
        Trigger(w, "New1");
        QCOMPARE(w.windowTitle(), sid + QStringLiteral(" — Sablemap"));
        Press(w, "btnSAMAdd");
        QCOMPARE(w.windowTitle(), QStringLiteral("Untitled.BIN* — ") + sid + QStringLiteral(" — Sablemap"));
        QVERIFY(w.isWindowModified());
        QVERIFY(
            !m_fixture->Prompts.Shown.join(QLatin1Char('\n')).contains(QLatin1String("ask:"))); // nothing was at stake
    }

    void question_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("goesAhead");
        for (const char* command : {"new", "load", "exit"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, save").arg(QLatin1String(command))))
                << command << int(QMessageBox::Save) << false << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, save fails").arg(QLatin1String(command))))
                << command << int(QMessageBox::Save) << true << false;
            QTest::newRow(qPrintable(QStringLiteral("%1, discard").arg(QLatin1String(command))))
                << command << int(QMessageBox::Discard) << false << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, cancel").arg(QLatin1String(command))))
                << command << int(QMessageBox::Cancel) << false << false;
        }
    }

    void question()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, goesAhead);
        TfrmMain& w = *m_fixture->Window;
        CScriptedPrompts& prompts = m_fixture->Prompts;
        // The document's own file, which Save writes without a dialog; a folder that has gone
        // since the load makes that save fail.
        const QString folder = m_fixture->Installation.Dir.filePath(QStringLiteral("work"));
        const QString file = folder + QStringLiteral("/") + QLatin1String(kDemoCampaignFile);
        QVERIFY(QDir().mkpath(folder) && QFile::copy(m_fixture->DemoFile(kDemoCampaignFile), file));
        QVERIFY(w.Files()->LoadBinFile(file));
        const int sams = Records(w).SamCount();
        Edit(QStringLiteral("delete SAMs"), 1, 2);
        const QByteArray edited = m_fixture->State();
        const QByteArray editedFile = Records(w).SaveBytes(true);
        if (saveFails)
            QVERIFY(QDir(folder).removeRecursively());
        const QByteArray original = ReadFile(file);
        prompts.Shown.clear();
        prompts.AskAnswers << QMessageBox::StandardButton(answer);
        if (command == QLatin1String("load"))
            prompts.FileAnswers << m_fixture->DemoFile(kDemoCampaignFile);

        if (command == QLatin1String("new"))
            Trigger(w, "New1");
        else if (command == QLatin1String("load"))
            Trigger(w, "Load1");
        else
            Trigger(w, "Exit1");

        QCOMPARE(prompts.Shown.value(0), QStringLiteral("ask: Save changes to sable_coast.BIN?"));
        // A faction layer that was not changed is not asked about.
        QCOMPARE(prompts.Shown.filter(QStringLiteral("ask:")).size(), 1);
        if (saveFails)
            QVERIFY(prompts.Shown.filter(QStringLiteral("message: Save failed")).size() == 1);
        // Saved where it came from, without a dialog; only Load's own dialog was shown.
        QCOMPARE(prompts.FileDialogs.size(), command == QLatin1String("load") && goesAhead ? 1 : 0);
        QCOMPARE(ReadFile(file), answer == QMessageBox::Save && !saveFails ? editedFile : original);
        if (!goesAhead) {
            QCOMPARE(m_fixture->State(), edited); // the edits are all there
            QVERIFY(w.isWindowModified());
            QVERIFY(w.isVisible());
            QVERIFY(Action(w, "Undo1")->isEnabled());
            return;
        }
        if (command == QLatin1String("new"))
            QCOMPARE(Records(w).SamCount(), 0);
        else if (command == QLatin1String("load"))
            QCOMPARE(Records(w).SamCount(), sams);
        else
            QVERIFY(!w.isVisible());
        // A fresh document, or the one just saved.
        QCOMPARE(w.isWindowModified(), command == QLatin1String("exit") && answer == QMessageBox::Discard);
    }

    // Save in the question writes the faction layer's own file, as Save faction assignment does.
    void questionSavesTheFactionFile()
    {
        TfrmMain& w = *m_fixture->Window;
        const auto grid = [](const QString& file) {
            CFactionsInfo layer;
            QByteArray factions;
            if (layer.LoadFromFile(file))
                for (int32_t row = 0; row < layer.Rows; ++row)
                    factions.append(reinterpret_cast<const char*>(layer.RowFactions(row)), layer.Columns);
            return factions;
        };
        const QString file = m_fixture->DemoFile(kDemoFactionFile);
        const QByteArray before = grid(file);
        Edit(QStringLiteral("paint"), 0, 1);
        m_fixture->Prompts.AskAnswers << QMessageBox::Save;
        QVERIFY(w.close());
        QCOMPARE(m_fixture->Prompts.Shown, QStringList{QStringLiteral("ask: Save changes to sable_coast.SID?")});
        QVERIFY(m_fixture->Prompts.FileDialogs.isEmpty());
        const QByteArray after = grid(file);
        QVERIFY(!after.isEmpty() && after != before);
    }

    void loadingFactionsAsksAboutThem()
    {
        TfrmMain& w = *m_fixture->Window;
        CScriptedPrompts& prompts = m_fixture->Prompts;
        const QByteArray unpainted = m_fixture->State();
        Edit(QStringLiteral("paint"), 0, 1);
        const QByteArray painted = m_fixture->State();
        prompts.Shown.clear();
        prompts.AskAnswers << QMessageBox::Cancel;
        w.Files()->OpenFactionFile(m_fixture->DemoFile(kDemoFactionFile));
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("ask: Save changes to sable_coast.SID?")});
        QCOMPARE(m_fixture->State(), painted);

        // Both documents modified: the Map BIN file is asked about first, then the faction file.
        Edit(QStringLiteral("delete SAMs"), 1, 1);
        prompts.Shown.clear();
        prompts.AskAnswers << QMessageBox::Discard << QMessageBox::Cancel;
        w.close();
        QCOMPARE(prompts.Shown,
                 (QStringList{QStringLiteral("ask: Save changes to sable_coast.BIN?"),
                              QStringLiteral("ask: Save changes to sable_coast.SID?")}));
        QVERIFY(w.isVisible());

        prompts.AskAnswers << QMessageBox::Discard;
        w.Files()->OpenFactionFile(m_fixture->DemoFile(kDemoFactionFile));
        QCOMPARE(Action(w, "Undo1")->text(),
                 QStringLiteral("&Undo Delete 1 SAM site")); // the paints went with the layer
        Trigger(w, "Undo1");
        QCOMPARE(m_fixture->State(), unpainted);
        QVERIFY(!Action(w, "Undo1")->isEnabled());
    }
};

void TestUndo::Edit(const QString& kind, int row, int count)
{
    TfrmMain& w = *m_fixture->Window;
    if (kind == QLatin1String("place SAM")) {
        QVERIFY(w.MapArea()->EnterPlaceMode(SamKind, row - 1));
        QTest::mouseClick(Map(), Qt::LeftButton, {}, MapCentre() + QPoint(count, count));
    } else if (kind == QLatin1String("import")) {
        w.Files()->ImportTemplateFile(m_fixture->DemoFile(kDemoTemplateFile));
    } else if (kind == QLatin1String("paint")) {
        Find<QSpinBox>(w, "seSectors")->setValue(count);
        QTest::mouseClick(Map(), Qt::LeftButton, Qt::AltModifier, MapCentre() + QPoint(row % 40, row % 30));
    } else {
        const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                          [&](const Command& c) { return kind == QLatin1String(c.Kind); });
        QVERIFY(command != std::end(kCommands));
        const bool deletes = kind.startsWith(QLatin1String("delete"));
        const bool objects = kind.endsWith(QLatin1String("object")) || kind.endsWith(QLatin1String("objects"));
        if (command->Grid)
            SelectRows(Grid(w, command->Grid), row, deletes && !objects ? row + count - 1 : row);
        if (objects && deletes)
            SelectRows(Grid(w, "grTemplateObjects"), 1, count);
        Press(w, command->Button);
    }
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
