// The record dialogs as the window gets them: each Edit opens its record's dialog over the window
// on the record's values, gives nothing on Cancel, and on OK gives the record with the confirmed
// fields and every other field as it came in.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogcontrols.h"
#include "dialogs/modalrecorddialogs.h"
#include "dialogs/objectpicker.h"
#include "dialogs/placementdialogs.h"
#include "dialogs/templatedialogs.h"
#include "scriptedprompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
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

CPopTemplate MakeTemplate()
{
    CPopTemplate value;
    value.TypeCode = 14;
    value.ApproximationObject = 0;
    value.BaseObject = 1;
    value.RouteObject = 2;
    value.UseCount = 3;
    value.Objects = {{1, 2, 45, 3}, {-4, 5.5f, 0, MissingObjectIndex}};
    return value;
}

// Picks catalogue row `row` in the object picker and presses its OK.
void PickNext(CScriptedPrompts& prompts, int row)
{
    prompts.Drivers << CScriptedPrompts::Drive<TfrmSelect3DObject>([row](TfrmSelect3DObject& picker) {
        Find<QListWidget>(picker, "lbObjects")->setCurrentRow(row);
        Press(picker, "btnOk");
    });
}

QString Text(const QDialog& dialog, const char* field) { return Find<QLineEdit>(dialog, field)->text(); }

} // namespace

class TestModalRecordDialogs : public QObject {
    Q_OBJECT
private:
    const C3DObjectsList m_catalogue = MakeCatalogue();
    const CPopTemplatesTypesList m_types;
    QWidget m_window;

private slots:
    void cancelGivesNothing()
    {
        CScriptedPrompts prompts; // no driver: every dialog is cancelled
        CModalRecordDialogs dialogs(prompts, &m_window, m_catalogue, m_types);
        QVERIFY(!dialogs.Edit(MakeTemplate()));
        QVERIFY(!dialogs.Edit(CThreeDObject{1, 2, 3, 0}));
        QVERIFY(!dialogs.Edit(CKeysitePlacement{0, 1, 2}));
        QVERIFY(!dialogs.Edit(CAirbasePlacement{1, 2, 0}));
        QVERIFY(!dialogs.Edit(CSAMPlacement{1, 2}));
        QCOMPARE(prompts.RunTitles,
                 (QStringList{QStringLiteral("Keysite template"), QStringLiteral("3D object"),
                              QStringLiteral("frmKeysitePlacementEd"), QStringLiteral("Airbase"),
                              QStringLiteral("SAM Placement")}));
        QVERIFY(prompts.Shown.isEmpty());
    }

    // A type chosen and one object cleared; the template's objects and use count stay as they were.
    void templateKeepsObjectsAndUseCount()
    {
        CScriptedPrompts prompts;
        CModalRecordDialogs dialogs(prompts, &m_window, m_catalogue, m_types);
        const CPopTemplate given = MakeTemplate();
        prompts.Drivers << CScriptedPrompts::Drive<TfrmPopTemplateEd>([this](TfrmPopTemplateEd& d) {
            QCOMPARE(d.parentWidget(), &m_window);
            QCOMPARE(Text(d, "edBaseObject"), QStringLiteral("hangar"));
            auto* type = Find<QComboBox>(d, "cbType");
            type->setCurrentIndex(type->findData(26));
            Press(d, "btnAppObjectClear");
            Press(d, "btnOK");
        });
        const std::optional<CPopTemplate> edited = dialogs.Edit(given);
        QVERIFY(edited);
        QCOMPARE(edited->TypeCode, 26);
        QCOMPARE(edited->ApproximationObject, NoObjectIndex);
        QCOMPARE(edited->BaseObject, given.BaseObject);
        QCOMPARE(edited->RouteObject, given.RouteObject);
        QCOMPARE(edited->UseCount, 3);
        QCOMPARE(edited->Objects.size(), given.Objects.size());
        QCOMPARE(edited->Objects[1].X, -4.0f);
        QCOMPARE(edited->Objects[0].ObjectIndex, 3);
    }

    void templateObjectGivesTypedValuesAndPickedObject()
    {
        CScriptedPrompts prompts;
        CModalRecordDialogs dialogs(prompts, &m_window, m_catalogue, m_types);
        prompts.Drivers << CScriptedPrompts::Drive<Tfrm3DObjectEd>([&prompts](Tfrm3DObjectEd& d) {
            QCOMPARE(Text(d, "edName"), QStringLiteral("bunker"));
            QCOMPARE(Text(d, "edHeading"), QStringLiteral("90"));
            PickNext(prompts, 2);
            Press(d, "btnSelectObject");
            Type(Find<QLineEdit>(d, "edHeading"), QStringLiteral("270.5"));
            Press(d, "btnOK");
        });
        const std::optional<CThreeDObject> edited = dialogs.Edit(CThreeDObject{10, -20, 90, 0});
        QVERIFY(edited);
        QCOMPARE(edited->X, 10.0f);
        QCOMPARE(edited->Z, -20.0f);
        QCOMPARE(edited->Heading, 270.5f);
        QCOMPARE(edited->ObjectIndex, 2);
    }

    // The dialog gives back a number that names no template; the caller decides what it means.
    void keysiteGivesAnyTemplateNumber()
    {
        CScriptedPrompts prompts;
        CModalRecordDialogs dialogs(prompts, &m_window, m_catalogue, m_types);
        prompts.Drivers << CScriptedPrompts::Drive<TfrmKeysitePlacementEd>([](TfrmKeysitePlacementEd& d) {
            QCOMPARE(Find<QSpinBox>(d, "sedTemplate")->value(), 1);
            QCOMPARE(Text(d, "edX"), QStringLiteral("300.25"));
            Find<QSpinBox>(d, "sedTemplate")->setValue(99);
            Type(Find<QLineEdit>(d, "edZ"), QStringLiteral("-8"));
            Press(d, "btnOK");
        });
        const std::optional<CKeysitePlacement> edited = dialogs.Edit(CKeysitePlacement{1, 300.25f, 400});
        QVERIFY(edited);
        QCOMPARE(edited->TemplateNumber, 99);
        QCOMPARE(edited->X, 300.25f);
        QCOMPARE(edited->Z, -8.0f);
    }

    void airbaseGivesPickedObject()
    {
        CScriptedPrompts prompts;
        CModalRecordDialogs dialogs(prompts, &m_window, m_catalogue, m_types);
        prompts.Drivers << CScriptedPrompts::Drive<TfrmAirbasePlacementEd>([&prompts](TfrmAirbasePlacementEd& d) {
            QCOMPARE(Text(d, "edObjectName"), QStringLiteral("INVALID_OBJECT"));
            PickNext(prompts, 3);
            Press(d, "btnChangeObject");
            Type(Find<QLineEdit>(d, "edX"), QStringLiteral("1e3"));
            Press(d, "btnOK");
        });
        const std::optional<CAirbasePlacement> edited = dialogs.Edit(CAirbasePlacement{5, 6, MissingObjectIndex});
        QVERIFY(edited);
        QCOMPARE(edited->ObjectIndex, 3);
        QCOMPARE(edited->X, 1000.0f);
        QCOMPARE(edited->Z, 6.0f);
        QCOMPARE(prompts.RunTitles, (QStringList{QStringLiteral("Airbase"), QStringLiteral("Select 3D object")}));
    }

    void samGivesTypedValues()
    {
        CScriptedPrompts prompts;
        CModalRecordDialogs dialogs(prompts, &m_window, m_catalogue, m_types);
        prompts.Drivers << CScriptedPrompts::Drive<TfrmSamPlacementEd>([](TfrmSamPlacementEd& d) {
            QCOMPARE(Text(d, "edZ"), QStringLiteral("-2.5"));
            Type(Find<QLineEdit>(d, "edX"), QStringLiteral("7"));
            Press(d, "btnOK");
        });
        const std::optional<CSAMPlacement> edited = dialogs.Edit(CSAMPlacement{1, -2.5f});
        QVERIFY(edited);
        QCOMPARE(edited->X, 7.0f);
        QCOMPARE(edited->Z, -2.5f);
    }
};

QTEST_MAIN(TestModalRecordDialogs)
#include "tst_modalrecorddialogs.moc"
