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

void TfrmSamPlacementEd::btnOKClick()
{
    if (ReadNumbers(m_prompts, this, m_separator, {{m_edX, &m_value.X}, {m_edZ, &m_value.Z}}))
        accept();
}

std::optional<CSAMPlacement> EditSamPlacement(CUserPrompts& prompts, QWidget* parent, const CSAMPlacement& value)
{
    TfrmSamPlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    return RunRecordDialog(prompts, dialog, value);
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

void TfrmAirbasePlacementEd::ShowObjectName()
{
    m_edObjectName->setText(AnsiToQString(m_catalogue.NameOf(m_value.ObjectIndex)));
}

void TfrmAirbasePlacementEd::btnChangeObjectClick()
{
    int32_t picked = m_value.ObjectIndex;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    m_value.ObjectIndex = picked;
    ShowObjectName();
}

void TfrmAirbasePlacementEd::btnOKClick()
{
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

void TfrmKeysitePlacementEd::btnOKClick()
{
    if (!ReadNumbers(m_prompts, this, m_separator, {{m_edX, &m_value.X}, {m_edZ, &m_value.Z}}))
        return;
    // Text the box would not take as a number (empty, a lone sign) reads as 0.
    const QString typed = m_sedTemplate->cleanText().trimmed();
    bool ok = false;
    const int number = typed.toInt(&ok);
    m_value.TemplateNumber = ok ? number : 0;
    accept();
}

std::optional<CKeysitePlacement> EditKeysitePlacement(CUserPrompts& prompts, QWidget* parent,
                                                      const CKeysitePlacement& value)
{
    TfrmKeysitePlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    return RunRecordDialog(prompts, dialog, value);
}
