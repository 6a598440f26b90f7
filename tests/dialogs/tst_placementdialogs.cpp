// The placement dialogs, the template editors and the object picker, driven through their real
// widgets with scripted prompts: the checks and their order, the messages, and that values are
// written back only on OK.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogcontrols.h"
#include "dialogs/objectpicker.h"
#include "dialogs/placementdialogs.h"
#include "dialogs/templatedialogs.h"
#include "scriptedprompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

C3DObjectsList MakeCatalogue()
{
    C3DObjectsList catalogue{QLocale::c()};
    for (const char* name : {"bunker", "hangar", "radar", "tower"})
        catalogue.Add(name);
    return catalogue;
}

// Picks catalogue row `row` in the picker and presses its OK.
CScriptedPrompts::Driver PickRow(int row)
{
    return CScriptedPrompts::Drive<TfrmSelect3DObject>([row](TfrmSelect3DObject& picker) {
        Find<QListWidget>(picker, "lbObjects")->setCurrentRow(row);
        Press(picker, "btnOk");
    });
}

} // namespace

class TestPlacementDialogs : public QObject {
    Q_OBJECT
private slots:
    void samFieldChecks_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("z");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("expectedX");
        QTest::newRow("plain") << "12.5"
                               << "-3" << true << 12.5f;
        QTest::newRow("blanks only") << "   "
                                     << "0" << false << 0.0f;
        QTest::newRow("sign only") << "-"
                                   << "0" << false << 0.0f;
        QTest::newRow("bad Z after good X") << "1"
                                            << "abc" << false << 0.0f;
    }

    void samFieldChecks()
    {
        QFETCH(QString, x);
        QFETCH(QString, z);
        QFETCH(bool, accepted);
        QFETCH(float, expectedX);
        CScriptedPrompts prompts;
        TfrmSamPlacementEd dialog(prompts, nullptr, QLatin1Char('.'));
        dialog.Fill({7, 8});
        Type(Find<QLineEdit>(dialog, "edX"), x);
        Type(Find<QLineEdit>(dialog, "edZ"), z);
        Press(dialog, "btnOK");
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (accepted) {
            QVERIFY(prompts.Shown.isEmpty());
            QCOMPARE(dialog.Values().X, expectedX);
        } else {
            QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: Bad parameter")});
            QCOMPARE(Find<QLineEdit>(dialog, "edX")->text(), x); // the user's text stays for mending
            QCOMPARE(dialog.Values().X, 7.0f);
        }
    }

    void samShowsStoredFloat()
    {
        CScriptedPrompts prompts;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSamPlacementEd>([](TfrmSamPlacementEd& d) {
            Type(Find<QLineEdit>(d, "edX"), QStringLiteral("12.3"));
            Press(d, "btnOK");
        });
        const std::optional<CSAMPlacement> sam = EditSamPlacement(prompts, nullptr, {0, 1250.5f});
        QVERIFY(sam);
        QCOMPARE(sam->X, 12.3f);
        TfrmSamPlacementEd again(prompts, nullptr, QLatin1Char('.'));
        again.Fill(*sam);
        QCOMPARE(Find<QLineEdit>(again, "edX")->text(), QStringLiteral("12.3000001907349"));
        QCOMPARE(Find<QLineEdit>(again, "edZ")->text(), QStringLiteral("1250.5"));
    }

    void airbaseChecksNumbersBeforeObject()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        TfrmAirbasePlacementEd dialog(prompts, catalogue, nullptr, QLatin1Char('.'));
        dialog.Fill({1, 2, MissingObjectIndex});
        auto* objectName = Find<QLineEdit>(dialog, "edObjectName");
        QCOMPARE(objectName->text(), QStringLiteral("INVALID_OBJECT"));
        QVERIFY(!objectName->isEnabled());

        Type(Find<QLineEdit>(dialog, "edX"), QStringLiteral("oops"));
        Press(dialog, "btnOK");
        Type(Find<QLineEdit>(dialog, "edX"), QStringLiteral("10"));
        Press(dialog, "btnOK");
        QCOMPARE(prompts.Shown,
                 (QStringList{QStringLiteral("message: Bad parameter"),
                              QStringLiteral("message: You must select valid 3D object")}));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        prompts.Drivers << PickRow(2);
        Press(dialog, "btnChangeObject");
        QCOMPARE(objectName->text(), QStringLiteral("radar"));
        Press(dialog, "btnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().ObjectIndex, 2);
        QCOMPARE(dialog.Values().X, 10.0f);
    }

    void airbasePickThenCancelKeepsObject()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmAirbasePlacementEd>([&prompts](TfrmAirbasePlacementEd& d) {
            prompts.Drivers << PickRow(3);
            Press(d, "btnChangeObject");
            QCOMPARE(Find<QLineEdit>(d, "edObjectName")->text(), QStringLiteral("tower"));
            QCOMPARE(d.Values().ObjectIndex, 3);
            d.reject();
        });
        QVERIFY(!EditAirbasePlacement(prompts, nullptr, catalogue, {3, 4, 1}));
        QCOMPARE(prompts.RunTitles, (QStringList{QStringLiteral("Airbase"), QStringLiteral("Select 3D object")}));
    }

    void keysiteTemplateNumberIsNotChecked_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected");
        QTest::newRow("beyond the list") << "99" << 99;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("empty reads as 0") << "" << 0;
        QTest::newRow("sign only reads as 0") << "-" << 0;
    }

    void keysiteTemplateNumberIsNotChecked()
    {
        QFETCH(QString, typed);
        QFETCH(int, expected);
        CScriptedPrompts prompts;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmKeysitePlacementEd>([typed](TfrmKeysitePlacementEd& d) {
            auto* number = Find<QSpinBox>(d, "sedTemplate");
            QCOMPARE(number->value(), 2);
            number->findChild<QLineEdit*>()->setText(typed); // past the box's own checks
            Type(Find<QLineEdit>(d, "edZ"), QStringLiteral("-7.25"));
            Press(d, "btnOK");
        });
        const std::optional<CKeysitePlacement> keysite = EditKeysitePlacement(prompts, nullptr, {2, 1, 2});
        QVERIFY(keysite);
        QCOMPARE(keysite->TemplateNumber, expected);
        QCOMPARE(keysite->Z, -7.25f);
        QVERIFY(prompts.Shown.isEmpty());
    }

    void templateEditorTypeCombo_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("codeAfterOk");
        QTest::newRow("ROAD 26") << 26 << 23 << 26;
        QTest::newRow("unknown 9 becomes SPACE") << 9 << 0 << 1;
        QTest::newRow("last row") << 30 << 27 << 30;
    }

    void templateEditorTypeCombo()
    {
        QFETCH(int, code);
        QFETCH(int, item);
        QFETCH(int, codeAfterOk);
        const C3DObjectsList catalogue = MakeCatalogue();
        const CPopTemplatesTypesList types;
        CScriptedPrompts prompts;
        CPopTemplate value;
        value.TypeCode = code;
        // Filled twice: the combo is rebuilt, never appended to.
        TfrmPopTemplateEd dialog(prompts, catalogue, types, nullptr);
        for (int i = 0; i < 2; ++i) {
            dialog.Fill(value);
            QCOMPARE(Find<QComboBox>(dialog, "cbType")->count(), 28);
            QCOMPARE(Find<QComboBox>(dialog, "cbType")->currentIndex(), item);
        }
        QVERIFY(!EditKeysiteTemplate(prompts, nullptr, catalogue, types, value));

        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([](TfrmPopTemplateEd& d) { Press(d, "btnOK"); });
        const std::optional<CPopTemplate> confirmed = EditKeysiteTemplate(prompts, nullptr, catalogue, types, value);
        QVERIFY(confirmed);
        QCOMPARE(confirmed->TypeCode, codeAfterOk);
    }

    void templateEditorObjects()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        const CPopTemplatesTypesList types;
        CScriptedPrompts prompts;
        CPopTemplate value;
        value.TypeCode = 14;
        value.ApproximationObject = MissingObjectIndex;
        value.BaseObject = 1;
        value.RouteObject = 0;

        // Clearing the base row and cancelling gives nothing back.
        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([](TfrmPopTemplateEd& d) {
            QCOMPARE(Find<QLineEdit>(d, "edAppObject")->text(), QStringLiteral("INVALID_OBJECT"));
            QCOMPARE(Find<QLineEdit>(d, "edBaseObject")->text(), QStringLiteral("hangar"));
            Press(d, "btnBaseObjectClear");
            QCOMPARE(Find<QLineEdit>(d, "edBaseObject")->text(), QString());
            Press(d, "btnCancel");
        });
        QVERIFY(!EditKeysiteTemplate(prompts, nullptr, catalogue, types, value));

        // Picking the route object and then clearing the same row gives no object; the base is
        // cleared; the unknown approximation object is written back untouched.
        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([&prompts](TfrmPopTemplateEd& d) {
            prompts.Drivers << PickRow(3);
            Press(d, "btnRouteObjectSel");
            QCOMPARE(Find<QLineEdit>(d, "edRouteObject")->text(), QStringLiteral("tower"));
            Press(d, "btnRouteObjectClear");
            Press(d, "btnBaseObjectClear");
            Press(d, "btnOK");
        });
        const std::optional<CPopTemplate> confirmed = EditKeysiteTemplate(prompts, nullptr, catalogue, types, value);
        QVERIFY(confirmed);
        QCOMPARE(confirmed->ApproximationObject, MissingObjectIndex);
        QCOMPARE(confirmed->BaseObject, NoObjectIndex);
        QCOMPARE(confirmed->RouteObject, NoObjectIndex);
        QCOMPARE(confirmed->TypeCode, 14);
    }

    void templateObjectChecksStopAtFirstFailure()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        Tfrm3DObjectEd dialog(prompts, catalogue, nullptr, QLatin1Char('.'));
        dialog.Fill({1, 2, 90, NoObjectIndex});
        Type(Find<QLineEdit>(dialog, "edX"), QStringLiteral("bad"));
        Type(Find<QLineEdit>(dialog, "edHeading"), QStringLiteral("bad too"));
        Press(dialog, "btnOK");
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: Bad parameter")});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        // An object that is no catalogue entry is accepted as it is.
        Type(Find<QLineEdit>(dialog, "edX"), QStringLiteral("4"));
        Type(Find<QLineEdit>(dialog, "edHeading"), QStringLiteral("180.5"));
        Press(dialog, "btnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().Heading, 180.5f);
        QCOMPARE(dialog.Values().ObjectIndex, NoObjectIndex);
    }

    void templateObjectTabOrderRunsUpward()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        Tfrm3DObjectEd dialog(prompts, catalogue, nullptr, QLatin1Char('.'));
        auto* x = Find<QLineEdit>(dialog, "edX");
        auto* z = Find<QLineEdit>(dialog, "edZ");
        QCOMPARE(Find<QLineEdit>(dialog, "edHeading")->nextInFocusChain(), static_cast<QWidget*>(z));
        QCOMPARE(z->nextInFocusChain(), static_cast<QWidget*>(x));
        QCOMPARE(x->nextInFocusChain(), static_cast<QWidget*>(Find<QPushButton>(dialog, "btnOK")));
    }

    void pickerSelection_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("selectedRow");
        QTest::newRow("no object") << -2 << -1;
        QTest::newRow("missing object") << -1 << -1;
        QTest::newRow("first") << 0 << 0;
        QTest::newRow("last") << 3 << 3;
        QTest::newRow("stale index") << 4 << -1;
    }

    void pickerSelection()
    {
        QFETCH(int, index);
        QFETCH(int, selectedRow);
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        TfrmSelect3DObject picker(prompts, catalogue, nullptr);
        picker.Fill(index);
        QCOMPARE(picker.SelectedIndex(), selectedRow);
        Press(picker, "btnOk");
        if (selectedRow < 0) {
            QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: You must select 3D object")});
            QCOMPARE(picker.result(), int(QDialog::Rejected));
        } else {
            QVERIFY(prompts.Shown.isEmpty());
            QCOMPARE(picker.result(), int(QDialog::Accepted));
        }
    }

    void pickerOnEmptyCatalogue()
    {
        const C3DObjectsList empty{QLocale::c()};
        CScriptedPrompts prompts;
        int32_t index = 0;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSelect3DObject>([](TfrmSelect3DObject& picker) {
            QCOMPARE(Find<QListWidget>(picker, "lbObjects")->count(), 0);
            Press(picker, "btnOk");
            Press(picker, "btnOk");
            Press(picker, "btnCancel");
        });
        QVERIFY(!SelectObject(prompts, nullptr, empty, index));
        QCOMPARE(index, 0);
        QCOMPARE(prompts.Shown.size(), 2);
    }

    void pickerFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("selected"); // the picker opens on "radar", index 2
        QTest::newRow("nothing typed") << QString() << QList<int>{0, 1, 2, 3} << 2;
        QTest::newRow("letter case ignored, order kept") << QStringLiteral("AR") << QList<int>{1, 2} << 2;
        QTest::newRow("inside the name") << QStringLiteral("we") << QList<int>{3} << -1;
        QTest::newRow("no name matches") << QStringLiteral("tank") << QList<int>{} << -1;
    }

    void pickerFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QList<int>, shown);
        QFETCH(int, selected);
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        TfrmSelect3DObject picker(prompts, catalogue, nullptr);
        picker.Fill(2);
        QTest::keyClicks(Find<QLineEdit>(picker, "edFilter"), filter);
        const auto* list = Find<QListWidget>(picker, "lbObjects");
        QList<int> visible;
        for (int row = 0; row < list->count(); ++row) {
            if (!list->isRowHidden(row))
                visible << row;
        }
        QCOMPARE(visible, shown);
        QCOMPARE(list->count(), 4); // rows stay catalogue indices
        QCOMPARE(picker.SelectedIndex(), selected);
    }

    void pickerTypeAndChoose()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSelect3DObject>([](TfrmSelect3DObject& picker) {
            picker.show();
            QVERIFY(QTest::qWaitForWindowActive(&picker));
            QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(picker, "edFilter")); // typing filters at once
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ER"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the first name shown: bunker
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the next shown: tower
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        int32_t index = NoObjectIndex;
        QVERIFY(SelectObject(prompts, nullptr, catalogue, index));
        QCOMPARE(index, 3);
    }
};

QTEST_MAIN(TestPlacementDialogs)
#include "tst_placementdialogs.moc"
