// The placement dialogs, the template editors and the object picker, driven through their real
// widgets with scripted prompts: the checks and their order, the messages, and that values are
// written back only on OK.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
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
        picker.lbObjects->setCurrentRow(row);
        picker.btnOkClick();
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
        dialog.Fill(7, 8);
        dialog.edX->setText(x);
        dialog.edZ->setText(z);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (accepted) {
            QVERIFY(prompts.Shown.isEmpty());
            QCOMPARE(dialog.X, expectedX);
        } else {
            QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: Bad parameter")});
            QCOMPARE(dialog.edX->text(), x); // the user's text stays for mending
            QCOMPARE(dialog.X, 7.0f);
        }
    }

    void samShowsStoredFloat()
    {
        CScriptedPrompts prompts;
        float x = 0, z = 1250.5f;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSamPlacementEd>([](TfrmSamPlacementEd& d) {
            d.edX->setText(QStringLiteral("12.3"));
            d.btnOKClick();
        });
        QVERIFY(EditSamPlacement(prompts, nullptr, x, z));
        QCOMPARE(x, 12.3f);
        TfrmSamPlacementEd again(prompts, nullptr, QLatin1Char('.'));
        again.Fill(x, z);
        QCOMPARE(again.edX->text(), QStringLiteral("12.3000001907349"));
        QCOMPARE(again.edZ->text(), QStringLiteral("1250.5"));
    }

    void airbaseChecksNumbersBeforeObject()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        TfrmAirbasePlacementEd dialog(prompts, catalogue, nullptr, QLatin1Char('.'));
        dialog.Fill(MissingObjectIndex, 1, 2);
        QCOMPARE(dialog.edObjectName->text(), QStringLiteral("INVALID_OBJECT"));
        QVERIFY(!dialog.edObjectName->isEnabled());

        dialog.edX->setText(QStringLiteral("oops"));
        dialog.btnOKClick();
        dialog.edX->setText(QStringLiteral("10"));
        dialog.btnOKClick();
        QCOMPARE(prompts.Shown,
                 (QStringList{QStringLiteral("message: Bad parameter"),
                              QStringLiteral("message: You must select valid 3D object")}));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        prompts.Drivers << PickRow(2);
        dialog.btnChangeObjectClick();
        QCOMPARE(dialog.edObjectName->text(), QStringLiteral("radar"));
        dialog.btnOKClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ObjectIndex, 2);
        QCOMPARE(dialog.X, 10.0f);
    }

    void airbasePickThenCancelKeepsObject()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        int32_t object = 1;
        float x = 3, z = 4;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmAirbasePlacementEd>([&prompts](TfrmAirbasePlacementEd& d) {
            prompts.Drivers << PickRow(3);
            d.btnChangeObjectClick();
            QCOMPARE(d.edObjectName->text(), QStringLiteral("tower"));
            d.reject();
        });
        QVERIFY(!EditAirbasePlacement(prompts, nullptr, catalogue, object, x, z));
        QCOMPARE(object, 1);
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
        int32_t number = 2;
        float x = 1, z = 2;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmKeysitePlacementEd>([typed](TfrmKeysitePlacementEd& d) {
            QCOMPARE(d.sedTemplate->value(), 2);
            d.sedTemplate->findChild<QLineEdit*>()->setText(typed);
            d.edZ->setText(QStringLiteral("-7.25"));
            d.btnOKClick();
        });
        QVERIFY(EditKeysitePlacement(prompts, nullptr, number, x, z));
        QCOMPARE(number, expected);
        QCOMPARE(z, -7.25f);
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
        int32_t a = -2, b = -2, r = -2;
        int32_t cancelled = code;
        // Opened twice: the combo is rebuilt, never appended to.
        for (int i = 0; i < 2; ++i)
            prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([item](TfrmPopTemplateEd& d) {
                QCOMPARE(d.cbType->count(), 28);
                QCOMPARE(d.cbType->currentIndex(), item);
                d.reject();
            });
        QVERIFY(!EditKeysiteTemplate(prompts, nullptr, catalogue, types, cancelled, a, b, r));
        QVERIFY(!EditKeysiteTemplate(prompts, nullptr, catalogue, types, cancelled, a, b, r));
        QCOMPARE(cancelled, code);

        int32_t confirmed = code;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([](TfrmPopTemplateEd& d) { d.btnOK->click(); });
        QVERIFY(EditKeysiteTemplate(prompts, nullptr, catalogue, types, confirmed, a, b, r));
        QCOMPARE(confirmed, codeAfterOk);
    }

    void templateEditorObjects()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        const CPopTemplatesTypesList types;
        CScriptedPrompts prompts;
        int32_t code = 14, approximation = MissingObjectIndex, base = 1, route = 0;

        // Clearing the base row and cancelling changes nothing.
        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([](TfrmPopTemplateEd& d) {
            QCOMPARE(d.edAppObject->text(), QStringLiteral("INVALID_OBJECT"));
            QCOMPARE(d.edBaseObject->text(), QStringLiteral("hangar"));
            d.btnBaseObjectClear->click();
            QCOMPARE(d.edBaseObject->text(), QString());
            d.btnCancel->click();
        });
        QVERIFY(!EditKeysiteTemplate(prompts, nullptr, catalogue, types, code, approximation, base, route));
        QCOMPARE(base, 1);

        // Picking the route object and then clearing the same row gives no object; the base is
        // cleared; the unknown approximation object is written back untouched.
        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([&prompts](TfrmPopTemplateEd& d) {
            prompts.Drivers << PickRow(3);
            d.btnRouteObjectSelClick();
            QCOMPARE(d.edRouteObject->text(), QStringLiteral("tower"));
            d.btnRouteObjectClearClick();
            d.btnBaseObjectClearClick();
            d.btnOK->click();
        });
        QVERIFY(EditKeysiteTemplate(prompts, nullptr, catalogue, types, code, approximation, base, route));
        QCOMPARE(approximation, MissingObjectIndex);
        QCOMPARE(base, NoObjectIndex);
        QCOMPARE(route, NoObjectIndex);
        QCOMPARE(code, 14);
    }

    void templateObjectChecksStopAtFirstFailure()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        Tfrm3DObjectEd dialog(prompts, catalogue, nullptr, QLatin1Char('.'));
        dialog.Fill(1, 2, 90, NoObjectIndex);
        dialog.edX->setText(QStringLiteral("bad"));
        dialog.edHeading->setText(QStringLiteral("bad too"));
        dialog.btnOKClick();
        QCOMPARE(prompts.Shown, QStringList{QStringLiteral("message: Bad parameter")});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        // An object that is no catalogue entry is accepted as it is.
        dialog.edX->setText(QStringLiteral("4"));
        dialog.edHeading->setText(QStringLiteral("180.5"));
        dialog.btnOKClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Heading, 180.5f);
        QCOMPARE(dialog.ObjectIndex, NoObjectIndex);
    }

    void templateObjectTabOrderRunsUpward()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        Tfrm3DObjectEd dialog(prompts, catalogue, nullptr, QLatin1Char('.'));
        QCOMPARE(dialog.edHeading->nextInFocusChain(), static_cast<QWidget*>(dialog.edZ));
        QCOMPARE(dialog.edZ->nextInFocusChain(), static_cast<QWidget*>(dialog.edX));
        QCOMPARE(dialog.edX->nextInFocusChain(), static_cast<QWidget*>(dialog.btnOK));
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
        picker.btnOkClick();
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
            QCOMPARE(picker.lbObjects->count(), 0);
            picker.btnOkClick();
            picker.btnOkClick();
            picker.btnCancel->click();
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
        QTest::keyClicks(picker.edFilter, filter);
        QList<int> visible;
        for (int row = 0; row < picker.lbObjects->count(); ++row) {
            if (!picker.lbObjects->isRowHidden(row))
                visible << row;
        }
        QCOMPARE(visible, shown);
        QCOMPARE(picker.lbObjects->count(), 4); // rows stay catalogue indices
        QCOMPARE(picker.SelectedIndex(), selected);
    }

    void pickerTypeAndChoose()
    {
        const C3DObjectsList catalogue = MakeCatalogue();
        CScriptedPrompts prompts;
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSelect3DObject>([](TfrmSelect3DObject& picker) {
            picker.show();
            QVERIFY(QTest::qWaitForWindowActive(&picker));
            QCOMPARE(QApplication::focusWidget(), picker.edFilter); // typing filters at once
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
