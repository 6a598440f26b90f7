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
    edX = new QLineEdit(this);
    edZ = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("X :"), edX);
    form->addRow(QStringLiteral("Z :"), edZ);
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOK = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfrmSamPlacementEd::btnOKClick);
    LayOutFormDialog(this, form, buttons);
    SetTabChain({edX, edZ, btnOK, btnCancel});
    FixOuterSize(this, 192, 125);
}

void TfrmSamPlacementEd::Fill(float x, float z)
{
    X = x;
    Z = z;
    ShowNumber(edX, x, m_separator);
    ShowNumber(edZ, z, m_separator);
}

void TfrmSamPlacementEd::btnOKClick()
{
    if (ReadNumbers(m_prompts, this, m_separator, {{edX, &X}, {edZ, &Z}}))
        accept();
}

bool EditSamPlacement(CUserPrompts& prompts, QWidget* parent, float& x, float& z)
{
    TfrmSamPlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    dialog.Fill(x, z);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    x = dialog.X;
    z = dialog.Z;
    return true;
}

// --- Airbase -----------------------------------------------------------------------------------

TfrmAirbasePlacementEd::TfrmAirbasePlacementEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent,
                                               QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("Airbase"));
    edX = new QLineEdit(this);
    edZ = new QLineEdit(this);
    edObjectName = MakeNameField(this);
    btnChangeObject = new QPushButton(QStringLiteral("..."), this);
    btnChangeObject->setAutoDefault(false);
    btnChangeObject->setFixedWidth(28);
    auto* objectRow = new QHBoxLayout;
    objectRow->addWidget(edObjectName, 1);
    objectRow->addWidget(btnChangeObject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Object :"), objectRow);
    form->addRow(QStringLiteral("X :"), edX);
    form->addRow(QStringLiteral("Z :"), edZ);
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOK = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfrmAirbasePlacementEd::btnOKClick);
    connect(btnChangeObject, &QPushButton::clicked, this, &TfrmAirbasePlacementEd::btnChangeObjectClick);
    LayOutFormDialog(this, form, buttons);
    SetTabChain({edX, edZ, btnOK, btnCancel, edObjectName, btnChangeObject});
    FixOuterSize(this, 287, 142);
}

void TfrmAirbasePlacementEd::Fill(int32_t objectIndex, float x, float z)
{
    ObjectIndex = objectIndex;
    X = x;
    Z = z;
    ShowObjectName();
    ShowNumber(edX, x, m_separator);
    ShowNumber(edZ, z, m_separator);
}

void TfrmAirbasePlacementEd::ShowObjectName() { edObjectName->setText(AnsiToQString(m_catalogue.NameOf(ObjectIndex))); }

void TfrmAirbasePlacementEd::btnChangeObjectClick()
{
    int32_t picked = ObjectIndex;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    ObjectIndex = picked;
    ShowObjectName();
}

void TfrmAirbasePlacementEd::btnOKClick()
{
    if (!ReadNumbers(m_prompts, this, m_separator, {{edX, &X}, {edZ, &Z}}))
        return;
    if (ObjectIndex < 0) {
        m_prompts.Message(this, QStringLiteral("You must select valid 3D object"));
        btnChangeObject->setFocus();
        return;
    }
    accept();
}

bool EditAirbasePlacement(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, int32_t& objectIndex,
                          float& x, float& z)
{
    TfrmAirbasePlacementEd dialog(prompts, catalogue, parent, SystemDecimalSeparator());
    dialog.Fill(objectIndex, x, z);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    objectIndex = dialog.ObjectIndex;
    x = dialog.X;
    z = dialog.Z;
    return true;
}

// --- Keysite -----------------------------------------------------------------------------------

TfrmKeysitePlacementEd::TfrmKeysitePlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("frmKeysitePlacementEd"));
    sedTemplate = new QSpinBox(this);
    sedTemplate->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    sedTemplate->setSingleStep(1);
    edX = new QLineEdit(this);
    edZ = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Template"), sedTemplate);
    form->addRow(QStringLiteral("X :"), edX);
    form->addRow(QStringLiteral("Z :"), edZ);
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOK = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfrmKeysitePlacementEd::btnOKClick);
    LayOutFormDialog(this, form, buttons);
    SetTabChain({sedTemplate, edX, edZ, btnOK, btnCancel});
    FixOuterSize(this, 191, 154);
}

void TfrmKeysitePlacementEd::Fill(int32_t templateNumber, float x, float z)
{
    TemplateNumber = templateNumber;
    X = x;
    Z = z;
    sedTemplate->setValue(templateNumber);
    ShowNumber(edX, x, m_separator);
    ShowNumber(edZ, z, m_separator);
}

void TfrmKeysitePlacementEd::btnOKClick()
{
    if (!ReadNumbers(m_prompts, this, m_separator, {{edX, &X}, {edZ, &Z}}))
        return;
    // Text the box would not take as a number (empty, a lone sign) reads as 0.
    const QString typed = sedTemplate->cleanText().trimmed();
    bool ok = false;
    const int number = typed.toInt(&ok);
    TemplateNumber = ok ? number : 0;
    accept();
}

bool EditKeysitePlacement(CUserPrompts& prompts, QWidget* parent, int32_t& templateNumber, float& x, float& z)
{
    TfrmKeysitePlacementEd dialog(prompts, parent, SystemDecimalSeparator());
    dialog.Fill(templateNumber, x, z);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    templateNumber = dialog.TemplateNumber;
    x = dialog.X;
    z = dialog.Z;
    return true;
}
