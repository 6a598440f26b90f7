#include "dialogs/templatedialogs.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogs/dialogparts.h"
#include "dialogs/objectpicker.h"
#include "dialogs/userprompts.h"
#include "document/numbertext.h"
#include "platform/ansitext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* SmallButton(const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    button->setFixedWidth(28);
    return button;
}

QHBoxLayout* ObjectRow(QLineEdit* field, QPushButton* select, QPushButton* clear)
{
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(select);
    if (clear)
        row->addWidget(clear);
    return row;
}

} // namespace

// --- Keysite template ---------------------------------------------------------------------------

TfrmPopTemplateEd::TfrmPopTemplateEd(CUserPrompts& prompts, const C3DObjectsList& catalogue,
                                     const CPopTemplatesTypesList& types, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue), m_types(types)
{
    setWindowTitle(QStringLiteral("Keysite template"));
    cbType = new QComboBox(this);
    cbType->setEditable(false);
    edAppObject = MakeNameField(this);
    edBaseObject = MakeNameField(this);
    edRouteObject = MakeNameField(this);
    btnAppObjectSel = SmallButton(QStringLiteral("..."), this);
    btnBaseObjectSel = SmallButton(QStringLiteral("..."), this);
    btnRouteObjectSel = SmallButton(QStringLiteral("..."), this);
    btnAppObjectClear = SmallButton(QStringLiteral("X"), this);
    btnBaseObjectClear = SmallButton(QStringLiteral("X"), this);
    btnRouteObjectClear = SmallButton(QStringLiteral("X"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Type:"), cbType);
    form->addRow(QStringLiteral("Approximation object:"), ObjectRow(edAppObject, btnAppObjectSel, btnAppObjectClear));
    form->addRow(QStringLiteral("Base object:"), ObjectRow(edBaseObject, btnBaseObjectSel, btnBaseObjectClear));
    form->addRow(QStringLiteral("Route object:"), ObjectRow(edRouteObject, btnRouteObjectSel, btnRouteObjectClear));
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOK = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept); // nothing to check
    connect(btnAppObjectSel, &QPushButton::clicked, this, &TfrmPopTemplateEd::btnAppObjectSelClick);
    connect(btnBaseObjectSel, &QPushButton::clicked, this, &TfrmPopTemplateEd::btnBaseObjectSelClick);
    connect(btnRouteObjectSel, &QPushButton::clicked, this, &TfrmPopTemplateEd::btnRouteObjectSelClick);
    connect(btnAppObjectClear, &QPushButton::clicked, this, &TfrmPopTemplateEd::btnAppObjectClearClick);
    connect(btnBaseObjectClear, &QPushButton::clicked, this, &TfrmPopTemplateEd::btnBaseObjectClearClick);
    connect(btnRouteObjectClear, &QPushButton::clicked, this, &TfrmPopTemplateEd::btnRouteObjectClearClick);
    LayOutFormDialog(this, form, buttons);

    SetTabChain({edAppObject, edBaseObject, edRouteObject, btnOK, btnCancel, btnAppObjectSel, btnBaseObjectSel,
                 btnRouteObjectSel, btnRouteObjectClear, btnBaseObjectClear, btnAppObjectClear, cbType});
    FixOuterSize(this, 458, 166);
}

void TfrmPopTemplateEd::Fill(int32_t typeCode, int32_t approximationObject, int32_t baseObject, int32_t routeObject)
{
    cbType->clear();
    for (const CPopTemplatesTypesList::Row& row : m_types.Rows())
        cbType->addItem(AnsiToQString(row.Text), QVariant(row.Code));
    const int row = m_types.RowOf(typeCode);
    cbType->setCurrentIndex(row >= 0 ? row : 0);
    ApproximationObject = approximationObject;
    BaseObject = baseObject;
    RouteObject = routeObject;
    ShowNames();
}

int32_t TfrmPopTemplateEd::SelectedTypeCode() const
{
    const int item = cbType->currentIndex();
    return item >= 0 ? cbType->itemData(item).toInt() : m_types.Rows().front().Code;
}

void TfrmPopTemplateEd::ShowNames()
{
    edAppObject->setText(AnsiToQString(m_catalogue.NameOf(ApproximationObject)));
    edBaseObject->setText(AnsiToQString(m_catalogue.NameOf(BaseObject)));
    edRouteObject->setText(AnsiToQString(m_catalogue.NameOf(RouteObject)));
}

void TfrmPopTemplateEd::Pick(int32_t& index, QLineEdit* field)
{
    int32_t picked = index;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    index = picked;
    field->setText(AnsiToQString(m_catalogue.NameOf(index)));
}

void TfrmPopTemplateEd::btnAppObjectSelClick() { Pick(ApproximationObject, edAppObject); }
void TfrmPopTemplateEd::btnBaseObjectSelClick() { Pick(BaseObject, edBaseObject); }
void TfrmPopTemplateEd::btnRouteObjectSelClick() { Pick(RouteObject, edRouteObject); }

void TfrmPopTemplateEd::btnAppObjectClearClick()
{
    ApproximationObject = NoObjectIndex;
    ShowNames();
}

void TfrmPopTemplateEd::btnBaseObjectClearClick()
{
    BaseObject = NoObjectIndex;
    ShowNames();
}

void TfrmPopTemplateEd::btnRouteObjectClearClick()
{
    RouteObject = NoObjectIndex;
    ShowNames();
}

bool EditKeysiteTemplate(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                         const CPopTemplatesTypesList& types, int32_t& typeCode, int32_t& approximationObject,
                         int32_t& baseObject, int32_t& routeObject)
{
    TfrmPopTemplateEd dialog(prompts, catalogue, types, parent);
    dialog.Fill(typeCode, approximationObject, baseObject, routeObject);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    typeCode = dialog.SelectedTypeCode();
    approximationObject = dialog.ApproximationObject;
    baseObject = dialog.BaseObject;
    routeObject = dialog.RouteObject;
    return true;
}

// --- Template object ----------------------------------------------------------------------------

Tfrm3DObjectEd::Tfrm3DObjectEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent,
                               QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("3D object"));
    edName = MakeNameField(this);
    btnSelectObject = SmallButton(QStringLiteral("..."), this);
    edX = new QLineEdit(this);
    edZ = new QLineEdit(this);
    edHeading = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), ObjectRow(edName, btnSelectObject, nullptr));
    form->addRow(QStringLiteral("X:"), edX);
    form->addRow(QStringLiteral("Z:"), edZ);
    form->addRow(QStringLiteral("Heading:"), edHeading);
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOK = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &Tfrm3DObjectEd::btnOKClick);
    connect(btnSelectObject, &QPushButton::clicked, this, &Tfrm3DObjectEd::btnSelectObjectClick);
    LayOutFormDialog(this, form, buttons);
    // The keyboard runs up the rows, from Heading to X.
    SetTabChain({edName, edHeading, edZ, edX, btnOK, btnCancel, btnSelectObject});
    FixOuterSize(this, 307, 167);
}

void Tfrm3DObjectEd::Fill(float x, float z, float heading, int32_t objectIndex)
{
    X = x;
    Z = z;
    Heading = heading;
    ObjectIndex = objectIndex;
    edName->setText(AnsiToQString(m_catalogue.NameOf(objectIndex)));
    ShowNumber(edX, x, m_separator);
    ShowNumber(edZ, z, m_separator);
    ShowNumber(edHeading, heading, m_separator);
}

void Tfrm3DObjectEd::btnSelectObjectClick()
{
    int32_t picked = ObjectIndex;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    ObjectIndex = picked;
    edName->setText(AnsiToQString(m_catalogue.NameOf(ObjectIndex)));
}

void Tfrm3DObjectEd::btnOKClick()
{
    if (ReadNumbers(m_prompts, this, m_separator, {{edX, &X}, {edZ, &Z}, {edHeading, &Heading}}))
        accept();
}

bool EditTemplateObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, float& x, float& z,
                        float& heading, int32_t& objectIndex)
{
    Tfrm3DObjectEd dialog(prompts, catalogue, parent, SystemDecimalSeparator());
    dialog.Fill(x, z, heading, objectIndex);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    x = dialog.X;
    z = dialog.Z;
    heading = dialog.Heading;
    objectIndex = dialog.ObjectIndex;
    return true;
}
