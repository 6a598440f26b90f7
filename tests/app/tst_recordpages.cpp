// The record pages of the main window: the five grids after load, add, edit and delete, how the
// current row of one grid drives another, the confirmations and the refusal of templates in use.
#include "../dialogs/scriptedprompts.h"
#include "appfixture.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"

#include "demo/demoinstall.h"
#include <QHeaderView>
#include <QPushButton>
#include <vector>

class TestRecordPages : public QObject {
    Q_OBJECT
private:
    // Templates with the given numbers of objects; keysites using the given templates (-1: none).
    void Populate(const QList<int>& objectCounts, const QList<int>& keysiteTemplates)
    {
        // Through the record path, outside the history, as a loaded file would have them.
        CBINFile& document = m_window->Session()->MutableRecords();
        std::vector<CPopTemplate> templates(static_cast<size_t>(objectCounts.size()));
        for (int t = 0; t < objectCounts.size(); ++t) {
            templates[size_t(t)].TypeCode = t + 1;
            for (int o = 0; o < objectCounts[t]; ++o)
                templates[size_t(t)].Objects.push_back({float(o), 0, 0, NoObjectIndex});
        }
        std::vector<CKeysitePlacement> keysites;
        for (int t : keysiteTemplates)
            keysites.push_back({t >= 0 ? document.TemplateCount() + t : -1, 0, 0});
        document.InsertRows(document.TemplateCount(), std::move(templates));
        document.InsertRows(document.KeysiteCount(), std::move(keysites));
    }
    QStringList Column(const CRecordGrid* grid, int col) const
    {
        QStringList cells;
        for (int row = grid->FixedRows(); row < grid->RowCount(); ++row)
            cells << grid->Cell(col, row);
        return cells;
    }

    std::unique_ptr<CTestInstallation> m_installation;
    std::unique_ptr<CScriptedPrompts> m_prompts;
    std::unique_ptr<CScriptedRecordDialogs> m_editor;
    std::unique_ptr<TfrmMain> m_window;

    CRecordGrid* GridOf(const char* name) const { return Grid(*m_window, name); }
    void Click(const char* button) const { Press(*m_window, button); }
    void Choose(const char* action) const { Trigger(*m_window, action); }
private slots:
    void init()
    {
        m_installation = std::make_unique<CTestInstallation>();
        m_installation->WriteCatalogue({"alpha", "bravo", "charlie"});
        m_installation->RegisterRoot();
        m_prompts = std::make_unique<CScriptedPrompts>();
        m_editor = std::make_unique<CScriptedRecordDialogs>();
        m_window = std::make_unique<TfrmMain>(*m_prompts, m_installation->Environment(), m_editor.get());
        QVERIFY(m_window->InitializeMainWindow());
    }

    void cleanup()
    {
        m_window.reset();
        m_editor.reset();
        m_prompts.reset();
        m_installation.reset();
    }

    void emptyListsAfterNew()
    {
        Choose("New1");
        const CRecordGrid* sams = GridOf("grSAMs");
        QCOMPARE(sams->RowCount(), 2);
        // No template, so no object list at all.
        QCOMPARE(GridOf("grTemplateObjects")->RowCount(), 1);
        QCOMPARE(GridOf("grTemplateObjects")->ColCount(), 1);
    }

    void templateAddShowsItsEmptyObjectList()
    {
        Populate({2}, {});
        m_editor->TypeCode = 14;
        QTest::mouseClick(Button(*m_window, "btnTemplateAdd"), Qt::LeftButton);
        const CRecordGrid* templates = GridOf("grPopTemplates");
        QCOMPARE(templates->RowCount(), 3);
        QCOMPARE(templates->Row(), 2);
        QCOMPARE(templates->Cell(2, 2), QStringLiteral("[14]") + QChar(0xA0) + QStringLiteral("OIL"));
        QCOMPARE(templates->Cell(6, 2), QStringLiteral("0"));
        const CRecordGrid* objects = GridOf("grTemplateObjects");
        QCOMPARE(objects->RowCount(), 2);
        QCOMPARE(objects->Cells(0), (QStringList{"", "Number", "X", "Z", "Heading", "Name"}));
        QCOMPARE(objects->Cell(1, 1), QString());
    }

    void keyboardMovesRefillObjects()
    {
        Populate({1, 3, 0, 2}, {});
        CRecordGrid* templates = GridOf("grPopTemplates");
        QCOMPARE(templates->Row(), 1);
        QCOMPARE(GridOf("grTemplateObjects")->RowCount(), 2);
        templates->setFocus();
        const int expectedRows[] = {4, 2, 3};
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(templates, Qt::Key_Down);
            QCOMPARE(templates->Row(), step + 2);
            QCOMPARE(GridOf("grTemplateObjects")->RowCount(), expectedRows[step]);
        }
        QCOMPARE(Column(GridOf("grTemplateObjects"), 1), (QStringList{"0", "1"}));
        QTest::keyClick(templates, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(templates->Row(), 1);
        QCOMPARE(GridOf("grTemplateObjects")->RowCount(), 2);
    }

    void keysiteSelectsItsTemplate()
    {
        Populate({1, 1, 3}, {2, -1, 0});
        CRecordGrid* templates = GridOf("grPopTemplates");
        CRecordGrid* keysites = GridOf("grKeysites");
        QCOMPARE(Column(keysites, 4), (QStringList{"2", "", "0"}));
        // Row 1 is current already; a click on it still selects its template.
        Pages(*m_window)->setCurrentIndex(1);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QRect rowRect = keysites->visualRect(keysites->model()->index(0, 0));
        QTest::mouseClick(keysites->viewport(), Qt::LeftButton, {}, rowRect.center());
        QCOMPARE(templates->Row(), 3);
        QCOMPARE(GridOf("grTemplateObjects")->RowCount(), 4);
        QCOMPARE(Pages(*m_window)->currentIndex(), 1); // the page stays

        keysites->SetRow(2); // no template: nothing changes
        QCOMPARE(templates->Row(), 3);
        keysites->SetRow(3);
        QCOMPARE(templates->Row(), 1);
        QCOMPARE(GridOf("grTemplateObjects")->RowCount(), 2);
    }

    void shiftClickedKeysitesSelectOneTemplate()
    {
        Populate({0, 0, 0, 0, 0}, {0, 1, 2, 3, 3, 4});
        Pages(*m_window)->setCurrentWidget(Find<QWidget>(*m_window, "tsKeysites"));
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        CRecordGrid* keysites = GridOf("grKeysites");
        ClickGridRow(keysites, 1);
        ClickGridRow(keysites, 5, Qt::ShiftModifier);
        QCOMPARE(SelectedGridRows(keysites), (QList<int>{1, 2, 3, 4, 5})); // the user's own range
        // The held Shift must not stretch the template selection: Export templates or Delete would
        // act on every template in between.
        QCOMPARE(SelectedGridRows(GridOf("grPopTemplates")), QList<int>{4});
        QCOMPARE(GridOf("grPopTemplates")->SelectionTop(), 4);
        QCOMPARE(GridOf("grPopTemplates")->SelectionBottom(), 4);

        // The row set from code is where the user's next Shift+arrow starts.
        CRecordGrid* templates = GridOf("grPopTemplates");
        templates->setFocus();
        QTest::keyClick(templates, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(SelectedGridRows(templates), (QList<int>{4, 5}));
    }

    void templatesDeletedBottomUp()
    {
        Populate({0, 0, 0, 1, 0}, {3});
        CRecordGrid* templates = GridOf("grPopTemplates");
        templates->setFocus();
        templates->SetRow(3);
        QTest::keyClick(templates, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(templates, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(templates->SelectionTop(), 3);
        QCOMPARE(templates->SelectionBottom(), 5);
        Click("btnTemplateDel");
        QCOMPARE(
            m_prompts->Shown,
            (QStringList{"confirm: Do you want to delete 3 keysite templates", "message: Can't delete template 3!"}));
        QCOMPARE(Records(*m_window).Templates()[2].TypeCode, 4); // the old template 3
        QCOMPARE(Column(templates, 6), (QStringList{"0", "0", "1"}));
        // The keysite's template has moved up, and its row says so.
        QCOMPARE(GridOf("grKeysites")->Cell(4, 1), QStringLiteral("2"));
    }

    void samDeletion_data()
    {
        QTest::addColumn<int>("sams");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("extra");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<int>("current"); // the grid keeps the number of its current row, within range
        QTest::newRow("empty list") << 0 << 1 << 0 << true << "Do you want to delete 1 SAMs" << QStringList{""} << 1;
        QTest::newRow("three, declined") << 5 << 2 << 2 << false << "Do you want to delete 3 SAMs"
                                         << QStringList{"0", "1", "2", "3", "4"} << 4;
        QTest::newRow("three, confirmed")
            << 5 << 2 << 2 << true << "Do you want to delete 3 SAMs" << QStringList{"0", "4"} << 2;
        QTest::newRow("one in the middle: the next takes its row")
            << 5 << 3 << 0 << true << "Do you want to delete 1 SAMs" << QStringList{"0", "1", "3", "4"} << 3;
        QTest::newRow("last one") << 2 << 2 << 0 << true << "Do you want to delete 1 SAMs" << QStringList{"0"} << 1;
    }

    void samDeletion()
    {
        QFETCH(int, sams);
        QFETCH(int, first);
        QFETCH(int, extra);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QStringList, remaining);
        QFETCH(int, current);
        Choose("New1");
        for (int i = 0; i < sams; ++i)
            m_window->Session()->MutableRecords().InsertRows(i, std::vector{CSAMPlacement{float(i), 0}});
        CRecordGrid* grid = GridOf("grSAMs");
        grid->setFocus();
        grid->SetRow(first);
        for (int i = 0; i < extra; ++i)
            QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        m_prompts->ConfirmAnswers << yes;
        Click("btnSAMDel");
        QCOMPARE(m_prompts->Shown, QStringList{QStringLiteral("confirm: ") + question});
        QCOMPARE(Column(grid, 2), remaining);
        QCOMPARE(grid->Row(), current);
        if (yes)
            QCOMPARE(SelectedGridRows(grid), QList<int>{current});
    }

    // Deleted keysites leave the row's number current, now the next keysite's, and move no other
    // grid: the templates page still shows the template it showed.
    void deletedKeysitesLeaveTheTemplatesAlone()
    {
        Populate({0, 0, 0, 0, 0}, {0, 1, 2, 3, 4});
        CRecordGrid* keysites = GridOf("grKeysites");
        keysites->SetRow(2);
        keysites->setFocus();
        QTest::keyClick(keysites, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(keysites, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(GridOf("grPopTemplates")->Row(), 4);
        m_prompts->ConfirmAnswers << true;
        Click("btnKeysiteDel");
        QCOMPARE(Column(keysites, 4), (QStringList{"0", "4"}));
        QCOMPARE(keysites->Row(), 2);
        QCOMPARE(GridOf("grPopTemplates")->Row(), 4);
    }

    void deletingLastKeysiteFreesTemplate()
    {
        Populate({0}, {0});
        Click("btnTemplateDel");
        QCOMPARE(m_prompts->Shown.last(), QStringLiteral("message: Can't delete template 0!"));
        Click("btnKeysiteDel");
        QCOMPARE(m_prompts->Shown.last(), QStringLiteral("confirm: Do you want to delete 1 keysites"));
        QCOMPARE(GridOf("grPopTemplates")->Cell(6, 1), QStringLiteral("0"));
        Click("btnTemplateDel");
        QCOMPARE(Records(*m_window).TemplateCount(), 0);
        QCOMPARE(m_prompts->Shown.last(), QStringLiteral("confirm: Do you want to delete 1 keysite templates"));
        // The blank row of the now empty list is no template to refuse.
        Click("btnTemplateDel");
        QCOMPARE(m_prompts->Shown.last(), QStringLiteral("confirm: Do you want to delete 1 keysite templates"));
    }

    void addAndCancel()
    {
        Choose("New1");
        m_editor->ObjectIndex = 1;
        m_editor->X = 100;
        Click("btnAirbaseAdd");
        m_editor->X = 200;
        Click("btnAirbaseAdd");
        CRecordGrid* airbases = GridOf("grAirbases");
        QCOMPARE(airbases->Row(), 2);
        QCOMPARE(airbases->Cells(2), (QStringList{"", "1", "200", "0", "bravo"}));

        m_editor->Answer = false;
        Click("btnAirbaseAdd");
        Click("btnAirbaseEd");
        QCOMPARE(m_editor->Calls, 4);
        QCOMPARE(Records(*m_window).AirbaseCount(), 2);
        QCOMPARE(airbases->Cells(2), (QStringList{"", "1", "200", "0", "bravo"}));

        m_editor->Answer = true;
        m_editor->X = -1.25f;
        airbases->SetRow(1);
        Click("btnAirbaseEd");
        QCOMPARE(airbases->Cell(2, 1), QStringLiteral("-1.25"));
    }

    void firstKeysiteKeepsTemplateSelection()
    {
        Populate({0, 0, 0}, {});
        GridOf("grPopTemplates")->SetRow(3);
        m_editor->TemplateNumber = 0;
        QTest::mouseClick(Button(*m_window, "btnKeysiteAdd"), Qt::LeftButton);
        QCOMPARE(GridOf("grKeysites")->Row(), 1);
        QCOMPARE(GridOf("grPopTemplates")->Row(), 3);
        QCOMPARE(Column(GridOf("grPopTemplates"), 6), (QStringList{"1", "0", "0"}));
        // A second keysite makes row 2 current, which does select its template.
        QTest::mouseClick(Button(*m_window, "btnKeysiteAdd"), Qt::LeftButton);
        QCOMPARE(GridOf("grKeysites")->Row(), 2);
        QCOMPARE(GridOf("grPopTemplates")->Row(), 1);
    }

    void objectCommandsNeedATemplate()
    {
        Choose("New1");
        Click("btnTemplateObjectAdd");
        Click("btnTemplateObjectEd");
        QCOMPARE(m_editor->Calls, 0);

        Populate({0}, {});
        m_editor->X = 3;
        m_editor->ObjectIndex = 2;
        Click("btnTemplateObjectAdd");
        Click("btnTemplateObjectAdd");
        QCOMPARE(Column(GridOf("grTemplateObjects"), 5), (QStringList{"charlie", "charlie"}));
        GridOf("grTemplateObjects")->SetRow(2);
        m_editor->ObjectIndex = 0;
        Click("btnTemplateObjectEd");
        QCOMPARE(Column(GridOf("grTemplateObjects"), 5), (QStringList{"charlie", "alpha"}));
        Click("btnTemplateObjectDel");
        QCOMPARE(m_prompts->Shown.last(), QStringLiteral("confirm: Do you want to delete 1 objects of template"));
        QCOMPARE(Column(GridOf("grTemplateObjects"), 5), QStringList{"charlie"});
    }

    void loadedGridsShowHeadersAndValuesWhole()
    {
        QString error;
        QVERIFY2(m_installation->WriteDemo(&error), qPrintable(error));
        const QString campaign = m_installation->Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap)
            + QLatin1Char('/') + QLatin1String(kDemoCampaignFile);
        QVERIFY(m_window->Files()->LoadBinFile(campaign));
        const CBINFile& document = Records(*m_window);
        QVERIFY(document.TemplateCount() > 0);
        // A header row, and a blank row for an empty list of placements.
        QCOMPARE(std::vector<int>({GridOf("grPopTemplates")->RowCount(), GridOf("grKeysites")->RowCount(),
                                   GridOf("grAirbases")->RowCount(), GridOf("grSAMs")->RowCount()}),
                 std::vector<int>({document.TemplateCount() + 1, std::max(1, document.KeysiteCount()) + 1,
                                   std::max(1, document.AirbaseCount()) + 1, std::max(1, document.SamCount()) + 1}));
        QCOMPARE(m_window->Session()->MapBinPath(), campaign);

        const auto checkFits = [](const CRecordGrid* grid) {
            for (int col = grid->FixedCols(); col < grid->ColCount(); ++col) {
                const int section = col - grid->FixedCols();
                const int width = grid->ColWidth(col);
                QVERIFY2(grid->horizontalHeader()->sectionSizeHint(section) <= width, qPrintable(grid->Cell(col, 0)));
                for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
                    // The grid line takes one pixel of the column.
                    const QModelIndex index = grid->model()->index(row - grid->FixedRows(), section);
                    QVERIFY2(grid->sizeHintForIndex(index).width() <= width - 1, qPrintable(grid->Cell(col, row)));
                }
            }
        };
        const QList<CRecordGrid*> grids{GridOf("grPopTemplates"), GridOf("grTemplateObjects"), GridOf("grKeysites"),
                                        GridOf("grAirbases"), GridOf("grSAMs")};
        for (const CRecordGrid* grid : grids)
            checkFits(grid);

        // The widths follow the grid's font: twice the letters, about twice the width.
        CRecordGrid* airbases = GridOf("grAirbases");
        const int nameWidth = airbases->ColWidth(4);
        QFont large = airbases->font();
        large.setPointSizeF(large.pointSizeF() * 2);
        m_window->setFont(large);
        QVERIFY2(airbases->ColWidth(4) > nameWidth * 18 / 10, qPrintable(QString::number(airbases->ColWidth(4))));
        for (const CRecordGrid* grid : grids)
            checkFits(grid);
    }

    void saveProposesLoadedFile()
    {
        Choose("Save1"); // nothing loaded or chosen yet: the maps folder, no name
        QCOMPARE(QDir::cleanPath(m_prompts->FileDialogs.last().Folder),
                 m_installation->Root() + QStringLiteral("/common/maps"));
        QCOMPARE(m_prompts->FileDialogs.last().FileName, QString());

        Populate({1}, {0});
        const QString saved = m_installation->Dir.filePath(QStringLiteral("campaign.BIN"));
        m_prompts->FileAnswers << saved;
        Choose("Save1");
        QVERIFY(m_prompts->Shown.isEmpty());
        Choose("New1");
        QVERIFY(m_window->Files()->LoadBinFile(saved));
        Choose("SaveAs1"); // Save itself writes the loaded file without a dialog
        QCOMPARE(m_prompts->FileDialogs.last().Folder, m_installation->Dir.path() + QLatin1Char('/'));
        QCOMPARE(m_prompts->FileDialogs.last().FileName, QStringLiteral("campaign.BIN"));
        // A new document is not offered another document's name: only the folder last used.
        Choose("New1");
        Choose("Save1");
        QCOMPARE(QDir(m_prompts->FileDialogs.last().Folder).canonicalPath(),
                 QDir(m_installation->Dir.path()).canonicalPath());
        QCOMPARE(m_prompts->FileDialogs.last().FileName, QString());
    }
};

QTEST_MAIN(TestRecordPages)
#include "tst_recordpages.moc"
