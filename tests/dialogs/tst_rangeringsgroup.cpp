// The "Range rings" group of the Configuration dialog: the rings shown and confirmed, and OK
// refused, with the reason, while a list of radii does not read (the rings then stay as they were).
#include "dialogcontrols.h"
#include "dialogs/configurationdialog.h"
#include "mapview/rangerings.h"
#include "mapview/tarnconfig.h"
#include "scriptedprompts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

class TestRangeRingsGroup : public QObject {
    Q_OBJECT
private slots:
    void editsTheRings_data()
    {
        QTest::addColumn<QString>("sams");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two radii") << QStringLiteral("60000, 30000") << true << QString();
        QTest::newRow("none") << QString() << true << QString();
        QTest::newRow("a word") << QStringLiteral("30000, far") << false
                                << QStringLiteral("message: Range rings: \"far\" is no radius: give numbers from 1 to "
                                                  "1000000000 separated by commas");
    }
    void editsTheRings()
    {
        QFETCH(QString, sams);
        QFETCH(bool, accepted);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        CScriptedPrompts prompts;
        CTarnConfig settings;
        RangeRings rings;
        rings.Radii[AirbaseKind] = {5000};
        QString airbasesShown;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmConfigurationDialog>([&](TfrmConfigurationDialog& d) {
            airbasesShown = Find<QLineEdit>(d, "edAirbaseRings")->text();
            Find<QLineEdit>(d, "edSAMRings")->setText(sams);
            Find<QCheckBox>(d, "cbRingsOnlySelected")->setChecked(true);
            Press(d, "btnOk");
        });
        const bool done = EditSymbology(prompts, nullptr, settings, dir.filePath(QStringLiteral("s.INI")), &rings);
        QCOMPARE(airbasesShown, QStringLiteral("5000"));
        QCOMPARE(done, accepted);
        QCOMPARE(prompts.Shown, shown.isEmpty() ? QStringList() : QStringList{shown});
        if (!accepted) {
            QCOMPARE(rings.Radii[AirbaseKind], std::vector<double>{5000}); // untouched
            QVERIFY(!rings.OnlySelected);
            return;
        }
        RangeRings expected;
        expected.Radii[AirbaseKind] = {5000};
        expected.Radii[SamKind] = *rangerings::ParseRadii(sams);
        expected.OnlySelected = true;
        QCOMPARE(rings, expected);
    }
};

QTEST_MAIN(TestRangeRingsGroup)
#include "tst_rangeringsgroup.moc"
