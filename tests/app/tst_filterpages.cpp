// The filter bar above the grids and the grids' extended selection: what the user types and clicks
// becomes the session's selection of the right records, and commands act on those records.
#include "../dialogs/scriptedprompts.h"
#include "appfixture.h"
#include "session/recordfilters.h"

#include <QLabel>
#include <QLineEdit>

class TestFilterPages : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CTestInstallation> m_installation;
    std::unique_ptr<CScriptedPrompts> m_prompts;
    std::unique_ptr<CScriptedRecordDialogs> m_editor;
    std::unique_ptr<TfrmMain> m_window;

    // SAM sites at x = 0, 1, ... on their page, shown.
    CRecordGrid* ShowSams(int count)
    {
        Trigger(*m_window, "New1");
        std::vector<CSAMPlacement> sams;
        for (int i = 0; i < count; ++i)
            sams.push_back({float(i), 0});
        m_window->Session()->MutableRecords().InsertRows(0, std::move(sams));
        Pages(*m_window)->setCurrentWidget(Find<QWidget>(*m_window, "tsSAMs"));
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("the window is not shown");
        return Grid(*m_window, "grSAMs");
    }
    QLineEdit* Field() const { return Find<QLineEdit>(*m_window, "edFilterSAMs"); }
    QString CountText() const { return Find<QLabel>(*m_window, "lbFilterCountSAMs")->text(); }
    QList<int> SelectedSams() const
    {
        const std::vector<int> records = m_window->Session()->SelectedRecords(RecordList::Sams);
        return QList<int>(records.begin(), records.end());
    }
    // The X shown in the grid's rows: which records it shows.
    QStringList ShownX(const CRecordGrid* grid) const
    {
        QStringList xs;
        for (int row = grid->FixedRows(); row < grid->RowCount(); ++row)
            xs << grid->Cell(2, row);
        return xs;
    }

private slots:
    void init()
    {
        m_installation = std::make_unique<CTestInstallation>();
        m_installation->WriteCatalogue({"alpha", "bravo"});
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

    // Clicks on grid rows with the keys held (row 0: Ctrl+A), in order.
    void extendedSelection_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("modifiers");
        QTest::addColumn<QList<int>>("records");
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;
        QTest::newRow("click") << "" << QList<int>{3} << QList<int>{0} << QList<int>{2};
        QTest::newRow("ctrl+click adds") << "" << QList<int>{2, 5} << QList<int>{0, ctrl} << QList<int>{1, 4};
        QTest::newRow("ctrl+click takes away")
            << "" << QList<int>{2, 4, 3} << QList<int>{0, shift, ctrl} << QList<int>{1, 3};
        QTest::newRow("shift+click extends")
            << "" << QList<int>{2, 5} << QList<int>{0, shift} << QList<int>{1, 2, 3, 4};
        // The range runs from the row Ctrl+clicked; the rows picked before stay.
        QTest::newRow("shift+click after ctrl+click")
            << "" << QList<int>{2, 8, 6} << QList<int>{0, ctrl, shift} << QList<int>{1, 5, 6, 7};
        QTest::newRow("ctrl+A") << "" << QList<int>{2, 0} << QList<int>{0, 0}
                                << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        // Filtered: rows 1.. show records 0, 1, 2, 4, 6, 7, 8, 9.
        const QString apart = QStringLiteral("x!=3 x!=5");
        QTest::newRow("filtered: shift+click")
            << apart << QList<int>{2, 5} << QList<int>{0, shift} << QList<int>{1, 2, 4, 6};
        QTest::newRow("filtered: ctrl+click") << apart << QList<int>{1, 8} << QList<int>{0, ctrl} << QList<int>{0, 9};
        QTest::newRow("filtered: ctrl+A selects the rows shown")
            << apart << QList<int>{1, 0} << QList<int>{0, 0} << QList<int>{0, 1, 2, 4, 6, 7, 8, 9};
    }

    void extendedSelection()
    {
        QFETCH(QString, filter);
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, modifiers);
        QFETCH(QList<int>, records);
        CRecordGrid* grid = ShowSams(10);
        Field()->setText(filter);
        grid->setFocus();
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i] == 0)
                QTest::keySequence(grid, QKeySequence::SelectAll);
            else
                ClickGridRow(grid, rows[i], Qt::KeyboardModifiers(modifiers[i]));
        }
        QCOMPARE(SelectedSams(), records);
        // The grid shows the same records selected.
        QStringList selectedX;
        for (int row : grid->SelectedRows())
            selectedX << grid->Cell(2, row);
        QStringList recordX;
        for (int record : records)
            recordX << QString::number(record);
        QCOMPARE(selectedX, recordX);
    }

    void filterBar_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("countAfter"); // a SAM at x = 1001 added
        QTest::newRow("no filter") << ""
                                   << "1,500"
                                   << "" << 1500 << "1,501";
        QTest::newRow("some shown") << "x>=1000 x<1003"
                                    << "3 of 1,500"
                                    << "" << 3 << "4 of 1,501";
        QTest::newRow("many shown") << "x>=10"
                                    << "1,490 of 1,500"
                                    << "" << 1490 << "1,491 of 1,501";
        QTest::newRow("none shown") << "x<0"
                                    << "0 of 1,500"
                                    << "" << 0 << "0 of 1,501";
        QTest::newRow("unreadable: nothing filtered") << "x>=10 xq=1"
                                                      << "1,500"
                                                      << "No column starts with 'xq'" << 1500 << "1,501";
    }

    void filterBar()
    {
        QFETCH(QString, filter);
        QFETCH(QString, count);
        QFETCH(QString, reason);
        QFETCH(int, rows);
        QFETCH(QString, countAfter);
        CRecordGrid* grid = ShowSams(1500);
        QTest::keyClicks(Field(), filter);
        QCOMPARE(CountText(), count);
        QCOMPARE(Field()->toolTip(), reason);
        QCOMPARE(Field()->styleSheet().isEmpty(), reason.isEmpty());
        QCOMPARE(grid->RowCount() - grid->FixedRows(), rows);
        // The count follows records that come and go.
        m_window->Session()->MutableRecords().InsertRows(0, std::vector{CSAMPlacement{1001, 0}});
        QCOMPARE(CountText(), countAfter);
        // An empty field shows every record and no reason.
        Field()->clear();
        QCOMPARE(CountText(), QStringLiteral("1,501"));
        QCOMPARE(Field()->toolTip(), QString());
        QCOMPARE(grid->RowCount() - grid->FixedRows(), 1501);
    }

    // The grid shows the records' own numbers; Ctrl+F reaches the field, Escape in it shows all.
    void filterFieldKeys()
    {
        CRecordGrid* grid = ShowSams(10);
        grid->setFocus();
        Trigger(*m_window, "FilterRecords1");
        QCOMPARE(QApplication::focusWidget(), Field());
        QTest::keyClicks(Field(), "x>=7");
        QCOMPARE(ShownX(grid), (QStringList{"7", "8", "9"}));
        QCOMPARE(grid->Cell(1, 1), QStringLiteral("7")); // the "Number" column
        QTest::keyClick(Field(), Qt::Key_Escape);
        QCOMPARE(Field()->text(), QString());
        QCOMPARE(grid->RowCount(), 11);
        QCOMPARE(m_window->Session()->Filters().Text(RecordList::Sams), QString());
    }

    // Delete acts on the records selected through a filtered grid; undo brings the record back
    // into the filtered rows.
    void deleteUnderAFilter()
    {
        CRecordGrid* grid = ShowSams(10);
        QTest::keyClicks(Field(), "x>=5");
        ClickGridRow(grid, 3); // the SAM at x = 7
        QCOMPARE(SelectedSams(), QList<int>{7});
        m_prompts->ConfirmAnswers << true;
        Press(*m_window, "btnSAMDel");
        QCOMPARE(m_prompts->Shown, QStringList{"confirm: Do you want to delete 1 SAMs"});
        QCOMPARE(ShownX(grid), (QStringList{"5", "6", "8", "9"}));
        QCOMPARE(Records(*m_window).SamCount(), 9);
        QCOMPARE(CountText(), QStringLiteral("4 of 9"));
        Trigger(*m_window, "Undo1");
        QCOMPARE(ShownX(grid), (QStringList{"5", "6", "7", "8", "9"}));
        QCOMPARE(SelectedSams(), QList<int>{7});
        QCOMPARE(grid->SelectedRows(), QList<int>{3});

        // A filter that shows nothing leaves Delete nothing to act on, not a hidden record.
        Field()->setText(QStringLiteral("x<0"));
        m_prompts->Shown.clear();
        Press(*m_window, "btnSAMDel");
        QVERIFY(m_prompts->Shown.isEmpty());
        QCOMPARE(Records(*m_window).SamCount(), 10);
    }
};

QTEST_MAIN(TestFilterPages)
#include "tst_filterpages.moc"
