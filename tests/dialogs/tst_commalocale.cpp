// Under a locale whose decimal separator is a comma (the test runs with LC_ALL=de_DE.UTF-8) the
// dialogs show and read numbers with a comma.
#include "dialogcontrols.h"
#include "dialogs/placementdialogs.h"
#include "document/numbertext.h"
#include "scriptedprompts.h"

#include <QLineEdit>
#include <QTest>

class TestCommaLocale : public QObject {
    Q_OBJECT
private slots:
    void dialogUsesTheLocaleSeparator_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("expected");
        QTest::newRow("comma") << "12,5" << true << 12.5f;
        QTest::newRow("point is no separator here") << "12.5" << false << 0.0f;
    }

    void dialogUsesTheLocaleSeparator()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(float, expected);
        QCOMPARE(SystemDecimalSeparator(), QLatin1Char(','));
        CScriptedPrompts prompts;
        QString shown;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSamPlacementEd>([&](TfrmSamPlacementEd& d) {
            auto* x = Find<QLineEdit>(d, "edX");
            shown = x->text();
            Type(x, typed);
            Press(d, "btnOK");
            QCOMPARE(d.Values().X, accepted ? expected : 1250.5f);
        });
        const std::optional<CSAMPlacement> sam = EditSamPlacement(prompts, nullptr, {1250.5f, 0});
        QCOMPARE(sam.has_value(), accepted);
        QCOMPARE(shown, QStringLiteral("1250,5"));
        if (sam)
            QCOMPARE(sam->X, expected);
    }
};

QTEST_MAIN(TestCommaLocale)
#include "tst_commalocale.moc"
