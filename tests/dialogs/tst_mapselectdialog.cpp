// Map selection: the entry it opens on, where the keyboard starts, and the folder it returns.
#include "dialogcontrols.h"
#include "dialogs/mapselectdialog.h"
#include "mapview/maplist.h"
#include "scriptedprompts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestMapSelectDialog : public QObject {
    Q_OBJECT
private:
    QString Folder(int map) const
    {
        return MapEntryPath(m_install.path(), QStringLiteral("map%1").arg(map, 2, 10, QLatin1Char('0')));
    }

    QTemporaryDir m_install;
private slots:
    void initTestCase()
    {
        // More maps than the dialog shows at once.
        QDir maps(m_install.path());
        QVERIFY(maps.mkpath(QStringLiteral("common/maps")));
        for (int i = 0; i < 30; ++i)
            QVERIFY(maps.mkpath(QStringLiteral("common/maps/map%1").arg(i, 2, 10, QLatin1Char('0'))));
    }

    void opensOnTheCurrentMap_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("selected");
        QTest::newRow("no map yet") << QString() << 0;
        QTest::newRow("as the window keeps it") << QDir::toNativeSeparators(Folder(7) + QLatin1Char('/')) << 7;
        QTest::newRow("the last, below the fold") << Folder(29) << 29;
        QTest::newRow("a folder not in the list") << m_install.path() << 0;
    }

    void opensOnTheCurrentMap()
    {
        QFETCH(QString, current);
        QFETCH(int, selected);
        TfrmSelectMap dialog(m_install.path(), current, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.ChosenFolder(), Folder(selected));
        QAbstractButton* checked = Find<QButtonGroup>(dialog, "Buttons")->checkedButton();
        QCOMPARE(dialog.focusWidget(), checked);
        QVERIFY(!checked->visibleRegion().isEmpty());
    }

    void arrowKeysChooseAtOnce()
    {
        CScriptedPrompts prompts;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSelectMap>([](TfrmSelectMap& dialog) {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QString folder = Folder(3);
        QVERIFY(SelectMap(prompts, nullptr, m_install.path(), folder));
        QCOMPARE(folder, Folder(5));
    }
};

QTEST_MAIN(TestMapSelectDialog)
#include "tst_mapselectdialog.moc"
