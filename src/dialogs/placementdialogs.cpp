#include "dialogs/placementdialogs.h"

#include "catalogues/objectslist.h"
#include "dialogs/dialogparts.h"
#include "dialogs/objectpicker.h"
#include "dialogs/userprompts.h"
#include "document/numbertext.h"
#include "platform/ansitext.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

namespace {

// The template box's value that stands for keysites of different templates.
constexpr int kMixedTemplate = -2;

} // namespace

// --- SAM ---------------------------------------------------------------------------------------

TfrmSamPlacementEd::TfrmSamPlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("SAM Placement"));
    m_edX = Named(new QLineEdit(this), "edX");
    m_edZ = Named(new QLineEdit(this), "edZ");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("X :"), m_edX);
    form->addRow(QStringLiteral("Z :"), m_edZ);
    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOK = Named(buttons.Ok, "btnOK");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOK, &QPushButton::clicked, this, &TfrmSamPlacementEd::btnOKClick);
    LayOutFormDialog(this, form, buttons);
    SetTabChain({m_edX, m_edZ, m_btnOK, m_btnCancel});
    FixOuterSize(this, 192, 125);
}

void TfrmSamPlacementEd::Fill(const CSAMPlacement& value)
{
    m_value = value;
    ShowNumber(m_edX, value.X, m_separator);
    ShowNumber(m_edZ, value.Z, m_separator);
}

void TfrmSamPlacementEd::FillShared(const PartialRecord<CSAMPlacement>& shared, int count)
{
    m_shown = shared;
    m_changes = {shared.Value, {}};
    CaptionForSeveral(this, RecordList::Sams, count);
    ShowSharedNumber(m_edX, SharedValue(shared, RecordField::X, &CSAMPlacement::X), m_separator);
    ShowSharedNumber(m_edZ, SharedValue(shared, RecordField::Z, &CSAMPlacement::Z), m_separator);
}

void TfrmSamPlacementEd::btnOKClick()
{
    if (m_shown) {
        if (ReadChangedNumbers(
                m_prompts, this, m_separator, *m_shown, m_changes,
                {{m_edX, RecordField::X, &CSAMPlacement::X}, {m_edZ, RecordField::Z, &CSAMPlacement::Z}}))
            accept();
        return;
    }
    if (ReadNumbers(m_prompts, this, m_separator, {{m_edX, &m_value.X}, {m_edZ, &m_value.Z}}))
        accept();
}

std::optional<CSAMPlacement> EditSamPlacement(CUserPrompts& prompts, QWidget* parent, const CSAMPlacement& value)
{
    TfrmSamPlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    return RunRecordDialog(prompts, dialog, value);
}

std::optional<PartialRecord<CSAMPlacement>> EditSamPlacements(CUserPrompts& prompts, QWidget* parent,
                                                              const PartialRecord<CSAMPlacement>& shared, int count)
{
    TfrmSamPlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    return RunSharedDialog(prompts, dialog, shared, count);
}

// --- Airbase -----------------------------------------------------------------------------------

TfrmAirbasePlacementEd::TfrmAirbasePlacementEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent,
                                               QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("Airbase"));
    m_edX = Named(new QLineEdit(this), "edX");
    m_edZ = Named(new QLineEdit(this), "edZ");
    m_edObjectName = Named(MakeNameField(this), "edObjectName");
    m_btnChangeObject = Named(new QPushButton(QStringLiteral("..."), this), "btnChangeObject");
    m_btnChangeObject->setAutoDefault(false);
    m_btnChangeObject->setFixedWidth(28);
    auto* objectRow = new QHBoxLayout;
    objectRow->addWidget(m_edObjectName, 1);
    objectRow->addWidget(m_btnChangeObject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Object :"), objectRow);
    form->addRow(QStringLiteral("X :"), m_edX);
    form->addRow(QStringLiteral("Z :"), m_edZ);
    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOK = Named(buttons.Ok, "btnOK");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOK, &QPushButton::clicked, this, &TfrmAirbasePlacementEd::btnOKClick);
    connect(m_btnChangeObject, &QPushButton::clicked, this, &TfrmAirbasePlacementEd::btnChangeObjectClick);
    LayOutFormDialog(this, form, buttons);
    SetTabChain({m_edX, m_edZ, m_btnOK, m_btnCancel, m_edObjectName, m_btnChangeObject});
    FixOuterSize(this, 287, 142);
}

void TfrmAirbasePlacementEd::Fill(const CAirbasePlacement& value)
{
    m_value = value;
    ShowObjectName();
    ShowNumber(m_edX, value.X, m_separator);
    ShowNumber(m_edZ, value.Z, m_separator);
}

void TfrmAirbasePlacementEd::FillShared(const PartialRecord<CAirbasePlacement>& shared, int count)
{
    m_shown = shared;
    m_changes = {shared.Value, {}};
    m_value = shared.Value;
    CaptionForSeveral(this, RecordList::Airbases, count);
    ShowObjectName();
    ShowSharedNumber(m_edX, SharedValue(shared, RecordField::X, &CAirbasePlacement::X), m_separator);
    ShowSharedNumber(m_edZ, SharedValue(shared, RecordField::Z, &CAirbasePlacement::Z), m_separator);
}

void TfrmAirbasePlacementEd::ShowObjectName()
{
    // Over several records that hold different objects, until one is picked.
    const bool mixed =
        m_shown && !m_shown->Fields.testFlag(RecordField::Object) && !m_changes.Fields.testFlag(RecordField::Object);
    ShowSharedText(m_edObjectName,
                   mixed ? std::nullopt : std::optional(AnsiToQString(m_catalogue.NameOf(m_value.ObjectIndex))));
}

void TfrmAirbasePlacementEd::btnChangeObjectClick()
{
    int32_t picked = m_value.ObjectIndex;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    m_value.ObjectIndex = picked;
    if (m_shown)
        NoteChoice(*m_shown, m_changes, RecordField::Object, &CAirbasePlacement::ObjectIndex, picked);
    ShowObjectName();
}

void TfrmAirbasePlacementEd::btnOKClick()
{
    // The picker gives only valid objects: over several records there is nothing more to check.
    if (m_shown) {
        if (ReadChangedNumbers(
                m_prompts, this, m_separator, *m_shown, m_changes,
                {{m_edX, RecordField::X, &CAirbasePlacement::X}, {m_edZ, RecordField::Z, &CAirbasePlacement::Z}}))
            accept();
        return;
    }
    if (!ReadNumbers(m_prompts, this, m_separator, {{m_edX, &m_value.X}, {m_edZ, &m_value.Z}}))
        return;
    if (m_value.ObjectIndex < 0) {
        m_prompts.Message(this, QStringLiteral("You must select valid 3D object"));
        m_btnChangeObject->setFocus();
        return;
    }
    accept();
}

std::optional<CAirbasePlacement> EditAirbasePlacement(CUserPrompts& prompts, QWidget* parent,
                                                      const C3DObjectsList& catalogue, const CAirbasePlacement& value)
{
    TfrmAirbasePlacementEd dialog(prompts, catalogue, parent, SystemDecimalSeparator());
    return RunRecordDialog(prompts, dialog, value);
}

std::optional<PartialRecord<CAirbasePlacement>> EditAirbasePlacements(CUserPrompts& prompts, QWidget* parent,
                                                                      const C3DObjectsList& catalogue,
                                                                      const PartialRecord<CAirbasePlacement>& shared,
                                                                      int count)
{
    TfrmAirbasePlacementEd dialog(prompts, catalogue, parent, SystemDecimalSeparator());
    return RunSharedDialog(prompts, dialog, shared, count);
}

// --- Keysite -----------------------------------------------------------------------------------

TfrmKeysitePlacementEd::TfrmKeysitePlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("frmKeysitePlacementEd"));
    m_sedTemplate = Named(new QSpinBox(this), "sedTemplate");
    m_sedTemplate->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_sedTemplate->setSingleStep(1);
    m_edX = Named(new QLineEdit(this), "edX");
    m_edZ = Named(new QLineEdit(this), "edZ");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Template"), m_sedTemplate);
    form->addRow(QStringLiteral("X :"), m_edX);
    form->addRow(QStringLiteral("Z :"), m_edZ);
    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOK = Named(buttons.Ok, "btnOK");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOK, &QPushButton::clicked, this, &TfrmKeysitePlacementEd::btnOKClick);
    LayOutFormDialog(this, form, buttons);
    SetTabChain({m_sedTemplate, m_edX, m_edZ, m_btnOK, m_btnCancel});
    FixOuterSize(this, 191, 154);
}

void TfrmKeysitePlacementEd::Fill(const CKeysitePlacement& value)
{
    m_value = value;
    m_sedTemplate->setValue(value.TemplateNumber);
    ShowNumber(m_edX, value.X, m_separator);
    ShowNumber(m_edZ, value.Z, m_separator);
}

void TfrmKeysitePlacementEd::FillShared(const PartialRecord<CKeysitePlacement>& shared, int count)
{
    m_shown = shared;
    m_changes = {shared.Value, {}};
    CaptionForSeveral(this, RecordList::Keysites, count);
    if (shared.Fields.testFlag(RecordField::Template)) {
        m_sedTemplate->setValue(shared.Value.TemplateNumber);
    } else {
        // Just below "no template" (-1), so that the arrows step from "(mixed)" into the numbers.
        m_sedTemplate->setMinimum(kMixedTemplate);
        m_sedTemplate->setSpecialValueText(MixedText());
        m_sedTemplate->setValue(kMixedTemplate);
    }
    ShowSharedNumber(m_edX, SharedValue(shared, RecordField::X, &CKeysitePlacement::X), m_separator);
    ShowSharedNumber(m_edZ, SharedValue(shared, RecordField::Z, &CKeysitePlacement::Z), m_separator);
}

int TfrmKeysitePlacementEd::TypedTemplate() const
{
    // Text the box would not take as a number (empty, a lone sign) reads as 0.
    const QString typed = m_sedTemplate->cleanText().trimmed();
    bool ok = false;
    const int number = typed.toInt(&ok);
    return ok ? number : 0;
}

void TfrmKeysitePlacementEd::btnOKClick()
{
    if (m_shown) {
        if (!ReadChangedNumbers(
                m_prompts, this, m_separator, *m_shown, m_changes,
                {{m_edX, RecordField::X, &CKeysitePlacement::X}, {m_edZ, RecordField::Z, &CKeysitePlacement::Z}}))
            return;
        const bool mixed = !m_shown->Fields.testFlag(RecordField::Template);
        if (mixed && (m_sedTemplate->value() == kMixedTemplate || m_sedTemplate->cleanText().trimmed().isEmpty()))
            m_changes.Fields &= ~RecordFields(RecordField::Template);
        else
            NoteChoice(*m_shown, m_changes, RecordField::Template, &CKeysitePlacement::TemplateNumber,
                       int32_t(TypedTemplate()));
        accept();
        return;
    }
    if (!ReadNumbers(m_prompts, this, m_separator, {{m_edX, &m_value.X}, {m_edZ, &m_value.Z}}))
        return;
    m_value.TemplateNumber = TypedTemplate();
    accept();
}

std::optional<CKeysitePlacement> EditKeysitePlacement(CUserPrompts& prompts, QWidget* parent,
                                                      const CKeysitePlacement& value)
{
    TfrmKeysitePlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    return RunRecordDialog(prompts, dialog, value);
}

std::optional<PartialRecord<CKeysitePlacement>>
EditKeysitePlacements(CUserPrompts& prompts, QWidget* parent, const PartialRecord<CKeysitePlacement>& shared, int count)
{
    TfrmKeysitePlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    return RunSharedDialog(prompts, dialog, shared, count);
}
