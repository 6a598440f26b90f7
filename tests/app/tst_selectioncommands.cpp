// The Edit menu's selection commands in the window: nudges move the map's selection by a picture
// pixel's worth of world units, a run of them is one step, and Ctrl+arrows nudge only while the
// map has the keyboard (in a grid they never move records); Select similar and Select none; and
// what the padlocks beside the map leave to the grids.
#include "demo/demoinstall.h"
#include "demowindow.h"
#include "maparea/maparea.h"
#include "maparea/mapimage.h"

#include <QInputDialog>
#include <QToolButton>

class TestSelectionCommands : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CDemoWindow> m_demo;
    TfrmMain* m_window = nullptr;

private slots:
    void init()
    {
        m_demo = std::make_unique<CDemoWindow>();
        QVERIFY(m_demo->Open());
        m_window = m_demo->Window.get();
        QVERIFY(m_window->MapArea()->UnitsPerPixel() > 0);
    }
    void cleanup() { m_demo.reset(); }

    void nudgesMoveTheSelectionAsOneStep()
    {
        CCampaignSession& session = *m_window->Session();
        const CSAMPlacement sam = session.Records().Sams()[1];
        const CAirbasePlacement airbase = session.Records().Airbases()[0];
        session.SelectPlacements({{{}, {0}, {1}}});
        QCoreApplication::processEvents(); // the entries follow the selection once per turn
        const double step = m_window->MapArea()->UnitsPerPixel();
        for (int i = 0; i < 3; ++i)
            Trigger(*m_window, "NudgeRight1");
        Trigger(*m_window, "NudgeUp1x10");
        QCOMPARE(session.History().Stack(CEditHistory::MapBin).count(), 1);
        QCOMPARE(session.History().UndoText(), QStringLiteral("Move 2 records"));
        QVERIFY(std::abs(session.Records().Sams()[1].X - (sam.X + float(3 * step))) < 0.01f);
        QVERIFY(std::abs(session.Records().Sams()[1].Z - (sam.Z - float(10 * step))) < 0.01f);
        QVERIFY(std::abs(session.Records().Airbases()[0].X - (airbase.X + float(3 * step))) < 0.01f);
        session.History().Undo();
        QCOMPARE(session.Records().Sams()[1].X, sam.X);
        QCOMPARE(session.Records().Sams()[1].Z, sam.Z);
        QCOMPARE(session.Records().Airbases()[0].Z, airbase.Z);
    }

    void ctrlArrowsNudgeOnlyFromTheMap()
    {
        CCampaignSession& session = *m_window->Session();
        const CSAMPlacement sam = session.Records().Sams()[1];
        Pages(*m_window)->setCurrentWidget(Find<QWidget>(*m_window, "tsSAMs"));
        session.SelectPlacements({{{}, {}, {1}}});
        QCoreApplication::processEvents();
        CRecordGrid* grid = Grid(*m_window, "grSAMs");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(session.Records().Sams()[1].X, sam.X);
        QVERIFY(!session.History().CanUndo());
        CMapImage* image = Find<CMapImage>(*m_window, "im");
        image->setFocus();
        QTest::keyClick(image, Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(session.Records().Sams()[1].X > sam.X);
    }

    void selectSimilarAndNone()
    {
        CCampaignSession& session = *m_window->Session();
        const CBINFile& records = session.Records();
        const int32_t templateNumber = records.Keysites()[0].TemplateNumber;
        session.SelectPlacements({{{0}, {}, {}}});
        QCoreApplication::processEvents();
        Trigger(*m_window, "SelectSimilar1");
        std::vector<int> expected;
        for (int i = 0; i < records.KeysiteCount(); ++i)
            if (records.Keysites()[size_t(i)].TemplateNumber == templateNumber)
                expected.push_back(i);
        QVERIFY(expected.size() > 1);
        QCOMPARE(session.SelectedRecords(RecordList::Keysites), expected);
        Trigger(*m_window, "SelectNone1");
        QVERIFY(!session.HasSelectedPlacements());
        QCoreApplication::processEvents(); // the entries follow once per turn
        QVERIFY(!Action(*m_window, "SelectSimilar1")->isEnabled());
        QVERIFY(!Action(*m_window, "NudgeLeft1")->isEnabled());
    }

    // Locked airbases: nudges and Select within pass them over, the grid's buttons still edit them.
    void locksLeaveTheGridsEditing()
    {
        CCampaignSession& session = *m_window->Session();
        const CBINFile& records = session.Records();
        const CAirbasePlacement airbase = records.Airbases()[0];
        const CSAMPlacement sam = records.Sams()[1];
        QTest::mouseClick(Find<QToolButton>(*m_window, "tbLockAirbases"), Qt::LeftButton);
        session.SelectPlacements({{{}, {0}, {1}}});
        QCoreApplication::processEvents();
        Trigger(*m_window, "NudgeRight1");
        QVERIFY(records.Sams()[1].X > sam.X);
        QCOMPARE(records.Airbases()[0].X, airbase.X);
        QCOMPARE(session.History().UndoText(), QStringLiteral("Move 1 SAM site"));

        m_demo->Prompts.Drivers << CScriptedPrompts::Drive<QInputDialog>([](QInputDialog& dialog) {
            dialog.setDoubleValue(1e8);
            dialog.accept();
        });
        Trigger(*m_window, "SelectWithin1");
        QVERIFY(session.SelectedRecords(RecordList::Airbases).empty());
        QCOMPARE(int(session.SelectedRecords(RecordList::Sams).size()), records.SamCount());

        session.SelectPlacements({});
        Pages(*m_window)->setCurrentWidget(Find<QWidget>(*m_window, "tsAirbases"));
        Grid(*m_window, "grAirbases")->SetRow(0);
        m_demo->Editor.ObjectIndex = airbase.ObjectIndex;
        m_demo->Editor.X = 1234;
        m_demo->Editor.Z = 5678;
        Press(*m_window, "btnAirbaseEd");
        QCOMPARE(records.Airbases()[0].X, 1234.0f);
        QCOMPARE(records.Airbases()[0].Z, 5678.0f);
    }
};

QTEST_MAIN(TestSelectionCommands)
#include "tst_selectioncommands.moc"
