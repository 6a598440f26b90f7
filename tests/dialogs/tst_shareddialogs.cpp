// The record dialogs over several records: the fields the records share filled in, the others
// "(mixed)", and only what the user changed given back; the number checks only for what was typed.
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogcontrols.h"
#include "dialogs/placementdialogs.h"
#include "dialogs/templatedialogs.h"
#include "scriptedprompts.h"

#include <QComboBox>
#include <QLineEdit>
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

template <typename Record>
PartialRecord<Record> Shared(const std::vector<Record>& records)
{
    std::vector<int> all;
    for (int i = 0; i < int(records.size()); ++i)
        all.push_back(i);
    return SharedFields(std::span<const Record>(records), std::span<const int>(all));
}

const QString kKeep = QStringLiteral("<keep>");

} // namespace

Q_DECLARE_METATYPE(RecordFields)

class TestSharedDialogs : public QObject {
    Q_OBJECT
private:
    const C3DObjectsList m_catalogue = MakeCatalogue();
    const CPopTemplatesTypesList m_types;

private slots:
    // X is shared (5), Z is mixed. A field left as shown, or a mixed one left blank, is no change.
    void samNumbers_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("z");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<RecordFields>("changed");
        QTest::addColumn<float>("value"); // of the field changed
        QTest::newRow("untouched") << kKeep << kKeep << true << RecordFields() << 0.0f;
        QTest::newRow("mixed Z typed") << kKeep << "7" << true << RecordFields(RecordField::Z) << 7.0f;
        QTest::newRow("shared X retyped alike") << "5.0" << kKeep << true << RecordFields() << 0.0f;
        QTest::newRow("shared X changed") << "-6.5" << kKeep << true << RecordFields(RecordField::X) << -6.5f;
        QTest::newRow("mixed Z blanks") << kKeep << "  " << true << RecordFields() << 0.0f;
        QTest::newRow("mixed Z not a number") << kKeep << "abc" << false << RecordFields() << 0.0f;
        QTest::newRow("shared X emptied") << "" << kKeep << false << RecordFields() << 0.0f;
    }

    void samNumbers()
    {
        QFETCH(QString, x);
        QFETCH(QString, z);
        QFETCH(bool, accepted);
        QFETCH(RecordFields, changed);
        QFETCH(float, value);
        CScriptedPrompts prompts;
        TfrmSamPlacementEd dialog(prompts, nullptr, QLatin1Char('.'));
        dialog.FillShared(Shared<CSAMPlacement>({{5, 1}, {5, 2}, {5, 3}}), 3);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("SAM Placement (3 SAM sites)"));
        auto* edX = Find<QLineEdit>(dialog, "edX");
        auto* edZ = Find<QLineEdit>(dialog, "edZ");
        QCOMPARE(edX->text(), QStringLiteral("5"));
        QCOMPARE(edZ->text(), QString());
        QCOMPARE(edZ->placeholderText(), QStringLiteral("(mixed)"));
        if (x != kKeep)
            Type(edX, x);
        if (z != kKeep)
            Type(edZ, z);
        Press(dialog, "btnOK");
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(prompts.Shown, accepted ? QStringList() : QStringList{QStringLiteral("message: Bad parameter")});
        if (!accepted)
            return;
        QCOMPARE(dialog.Changes().Fields, changed);
        if (changed)
            QCOMPARE(changed.testFlag(RecordField::X) ? dialog.Changes().Value.X : dialog.Changes().Value.Z, value);
    }

    void keysiteTemplate_data()
    {
        QTest::addColumn<int>("shared"); // -2: the keysites' templates differ
        QTest::addColumn<int>("set");    // -3: left alone
        QTest::addColumn<bool>("changed");
        QTest::newRow("mixed, left alone") << -2 << -3 << false;
        QTest::newRow("mixed, set") << -2 << 3 << true;
        QTest::newRow("mixed, set to none") << -2 << -1 << true;
        QTest::newRow("shared, set alike") << 2 << 2 << false;
        QTest::newRow("shared, set") << 2 << 4 << true;
    }

    void keysiteTemplate()
    {
        QFETCH(int, shared);
        QFETCH(int, set);
        QFETCH(bool, changed);
        CScriptedPrompts prompts;
        TfrmKeysitePlacementEd dialog(prompts, nullptr, QLatin1Char('.'));
        dialog.FillShared(
            Shared<CKeysitePlacement>({{shared == -2 ? 0 : shared, 1, 1}, {shared == -2 ? 1 : shared, 1, 1}}), 2);
        auto* box = Find<QSpinBox>(dialog, "sedTemplate");
        QCOMPARE(box->text(), shared == -2 ? QStringLiteral("(mixed)") : QString::number(shared));
        if (set != -3)
            box->setValue(set);
        Press(dialog, "btnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Changes().Fields.testFlag(RecordField::Template), changed);
        if (changed)
            QCOMPARE(dialog.Changes().Value.TemplateNumber, set);
        QVERIFY(!dialog.Changes().Fields.testFlag(RecordField::X));
    }

    // Types differ, approximation objects differ, base and route objects are shared: a type
    // chosen and the base object cleared are the changes; the rest stays each template's own.
    void templateFields()
    {
        CScriptedPrompts prompts;
        TfrmPopTemplateEd dialog(prompts, m_catalogue, m_types, nullptr);
        dialog.FillShared(Shared<CPopTemplate>({{14, 0, 1, 2, 1, {}}, {26, 3, 1, 2, 0, {}}}), 2);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Keysite template (2 keysite templates)"));
        auto* type = Find<QComboBox>(dialog, "cbType");
        QCOMPARE(type->currentIndex(), -1);
        QCOMPARE(type->placeholderText(), QStringLiteral("(mixed)"));
        QCOMPARE(Find<QLineEdit>(dialog, "edAppObject")->placeholderText(), QStringLiteral("(mixed)"));
        QCOMPARE(Find<QLineEdit>(dialog, "edBaseObject")->text(), QStringLiteral("hangar"));
        QCOMPARE(dialog.Changes().Fields, RecordFields()); // nothing chosen yet

        type->setCurrentIndex(type->findData(26));
        Press(dialog, "btnBaseObjectClear");
        // Cleared: no object, which is not "(mixed)".
        QCOMPARE(Find<QLineEdit>(dialog, "edBaseObject")->text(), QString());
        QCOMPARE(Find<QLineEdit>(dialog, "edBaseObject")->placeholderText(), QString());
        Press(dialog, "btnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const PartialRecord<CPopTemplate> changes = dialog.Changes();
        QCOMPARE(changes.Fields, RecordField::Type | RecordField::BaseObject);
        QCOMPARE(changes.Value.TypeCode, 26);
        QCOMPARE(changes.Value.BaseObject, NoObjectIndex);
    }
};

QTEST_MAIN(TestSharedDialogs)
#include "tst_shareddialogs.moc"
