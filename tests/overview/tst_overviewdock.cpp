// The Overview dock in the real window: View > Overview hides and shows it, and the next start
// shows it as the last run left it (shown on the first start).
#include "../app/appfixture.h"
#include "../dialogs/scriptedprompts.h"

#include <QDockWidget>

class TestOverviewDock : public QObject {
    Q_OBJECT
private slots:
    void shownAsTheLastRunLeftIt_data()
    {
        QTest::addColumn<int>("toggles"); // View > Overview chosen this often in the first run
        QTest::newRow("left shown") << 0;
        QTest::newRow("hidden") << 1;
        QTest::newRow("hidden and shown again") << 2;
    }

    void shownAsTheLastRunLeftIt()
    {
        QFETCH(int, toggles);
        CTestInstallation installation;
        QString error;
        QVERIFY2(installation.WriteDemo(&error), qPrintable(error));
        installation.RegisterRoot();
        CScriptedPrompts prompts;
        const bool shown = toggles % 2 == 0;
        {
            TfrmMain first(prompts, installation.Environment());
            QVERIFY(first.InitializeMainWindow());
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            auto* dock = Find<QDockWidget>(first, "dockOverview");
            QCOMPARE(dock->windowTitle(), QStringLiteral("Overview"));
            QVERIFY(dock->isVisible() && Action(first, "Overview1")->isChecked());
            for (int i = 0; i < toggles; ++i)
                Trigger(first, "Overview1");
            QCOMPARE(dock->isVisible(), shown);
            QVERIFY(first.close());
        }
        TfrmMain second(prompts, installation.Environment());
        QVERIFY(second.InitializeMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(Find<QDockWidget>(second, "dockOverview")->isVisible(), shown);
        QCOMPARE(Action(second, "Overview1")->isChecked(), shown);
        QVERIFY(!Action(second, "Overview1")->shortcut().isEmpty());
        QVERIFY(prompts.Shown.isEmpty());
    }
};

QTEST_MAIN(TestOverviewDock)
#include "tst_overviewdock.moc"
