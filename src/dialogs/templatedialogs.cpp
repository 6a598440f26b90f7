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

QPushButton* SmallButton(const QString& caption, QWidget* parent, const char* name)
{
    auto* button = Named(new QPushButton(caption, parent), name);
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
    m_cbType = Named(new QComboBox(this), "cbType");
    m_cbType->setEditable(false);
    m_edAppObject = Named(MakeNameField(this), "edAppObject");
    m_edBaseObject = Named(MakeNameField(this), "edBaseObject");
    m_edRouteObject = Named(MakeNameField(this), "edRouteObject");
    m_btnAppObjectSel = SmallButton(QStringLiteral("..."), this, "btnAppObjectSel");
    m_btnBaseObjectSel = SmallButton(QStringLiteral("..."), this, "btnBaseObjectSel");
    m_btnRouteObjectSel = SmallButton(QStringLiteral("..."), this, "btnRouteObjectSel");
    m_btnAppObjectClear = SmallButton(QStringLiteral("X"), this, "btnAppObjectClear");
    m_btnBaseObjectClear = SmallButton(QStringLiteral("X"), this, "btnBaseObjectClear");
    m_btnRouteObjectClear = SmallButton(QStringLiteral("X"), this, "btnRouteObjectClear");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Type:"), m_cbType);
    form->addRow(QStringLiteral("Approximation object:"),
                 ObjectRow(m_edAppObject, m_btnAppObjectSel, m_btnAppObjectClear));
    form->addRow(QStringLiteral("Base object:"), ObjectRow(m_edBaseObject, m_btnBaseObjectSel, m_btnBaseObjectClear));
    form->addRow(QStringLiteral("Route object:"),
                 ObjectRow(m_edRouteObject, m_btnRouteObjectSel, m_btnRouteObjectClear));
    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOK = Named(buttons.Ok, "btnOK");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept); // nothing to check
    connect(m_btnAppObjectSel, &QPushButton::clicked, this,
            [this] { Pick(m_value.ApproximationObject, m_edAppObject); });
    connect(m_btnBaseObjectSel, &QPushButton::clicked, this, [this] { Pick(m_value.BaseObject, m_edBaseObject); });
    connect(m_btnRouteObjectSel, &QPushButton::clicked, this, [this] { Pick(m_value.RouteObject, m_edRouteObject); });
    connect(m_btnAppObjectClear, &QPushButton::clicked, this, [this] { Clear(m_value.ApproximationObject); });
    connect(m_btnBaseObjectClear, &QPushButton::clicked, this, [this] { Clear(m_value.BaseObject); });
    connect(m_btnRouteObjectClear, &QPushButton::clicked, this, [this] { Clear(m_value.RouteObject); });
    LayOutFormDialog(this, form, buttons);

    SetTabChain({m_edAppObject, m_edBaseObject, m_edRouteObject, m_btnOK, m_btnCancel, m_btnAppObjectSel,
                 m_btnBaseObjectSel, m_btnRouteObjectSel, m_btnRouteObjectClear, m_btnBaseObjectClear,
                 m_btnAppObjectClear, m_cbType});
    FixOuterSize(this, 458, 166);
}

void TfrmPopTemplateEd::Fill(const CPopTemplate& value)
{
    m_value = value;
    m_cbType->clear();
    for (const CPopTemplatesTypesList::Row& row : m_types.Rows())
        m_cbType->addItem(AnsiToQString(row.Text), QVariant(row.Code));
    const int row = m_types.RowOf(value.TypeCode);
    m_cbType->setCurrentIndex(row >= 0 ? row : 0);
    ShowNames();
}

CPopTemplate TfrmPopTemplateEd::Values() const
{
    CPopTemplate value = m_value;
    value.TypeCode = SelectedTypeCode();
    return value;
}

int32_t TfrmPopTemplateEd::SelectedTypeCode() const
{
    const int item = m_cbType->currentIndex();
    return item >= 0 ? m_cbType->itemData(item).toInt() : m_types.Rows().front().Code;
}

void TfrmPopTemplateEd::ShowNames()
{
    m_edAppObject->setText(AnsiToQString(m_catalogue.NameOf(m_value.ApproximationObject)));
    m_edBaseObject->setText(AnsiToQString(m_catalogue.NameOf(m_value.BaseObject)));
    m_edRouteObject->setText(AnsiToQString(m_catalogue.NameOf(m_value.RouteObject)));
}

void TfrmPopTemplateEd::Pick(int32_t& index, QLineEdit* field)
{
    int32_t picked = index;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    index = picked;
    field->setText(AnsiToQString(m_catalogue.NameOf(index)));
}

void TfrmPopTemplateEd::Clear(int32_t& index)
{
    index = NoObjectIndex;
    ShowNames();
}

std::optional<CPopTemplate> EditKeysiteTemplate(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                                                const CPopTemplatesTypesList& types, const CPopTemplate& value)
{
    TfrmPopTemplateEd dialog(prompts, catalogue, types, parent);
    return RunRecordDialog(prompts, dialog, value);
}

// --- Template object ----------------------------------------------------------------------------

Tfrm3DObjectEd::Tfrm3DObjectEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent,
                               QChar decimalSeparator)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue), m_separator(decimalSeparator)
{
    setWindowTitle(QStringLiteral("3D object"));
    m_edName = Named(MakeNameField(this), "edName");
    m_btnSelectObject = SmallButton(QStringLiteral("..."), this, "btnSelectObject");
    m_edX = Named(new QLineEdit(this), "edX");
    m_edZ = Named(new QLineEdit(this), "edZ");
    m_edHeading = Named(new QLineEdit(this), "edHeading");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), ObjectRow(m_edName, m_btnSelectObject, nullptr));
    form->addRow(QStringLiteral("X:"), m_edX);
    form->addRow(QStringLiteral("Z:"), m_edZ);
    form->addRow(QStringLiteral("Heading:"), m_edHeading);
    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOK = Named(buttons.Ok, "btnOK");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOK, &QPushButton::clicked, this, &Tfrm3DObjectEd::btnOKClick);
    connect(m_btnSelectObject, &QPushButton::clicked, this, &Tfrm3DObjectEd::btnSelectObjectClick);
    LayOutFormDialog(this, form, buttons);
    // The keyboard runs up the rows, from Heading to X.
    SetTabChain({m_edName, m_edHeading, m_edZ, m_edX, m_btnOK, m_btnCancel, m_btnSelectObject});
    FixOuterSize(this, 307, 167);
}

void Tfrm3DObjectEd::Fill(const CThreeDObject& value)
{
    m_value = value;
    m_edName->setText(AnsiToQString(m_catalogue.NameOf(value.ObjectIndex)));
    ShowNumber(m_edX, value.X, m_separator);
    ShowNumber(m_edZ, value.Z, m_separator);
    ShowNumber(m_edHeading, value.Heading, m_separator);
}

void Tfrm3DObjectEd::btnSelectObjectClick()
{
    int32_t picked = m_value.ObjectIndex;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    m_value.ObjectIndex = picked;
    m_edName->setText(AnsiToQString(m_catalogue.NameOf(m_value.ObjectIndex)));
}

void Tfrm3DObjectEd::btnOKClick()
{
    if (ReadNumbers(m_prompts, this, m_separator,
                    {{m_edX, &m_value.X}, {m_edZ, &m_value.Z}, {m_edHeading, &m_value.Heading}}))
        accept();
}

std::optional<CThreeDObject> EditTemplateObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                                                const CThreeDObject& value)
{
    Tfrm3DObjectEd dialog(prompts, catalogue, parent, SystemDecimalSeparator());
    return RunRecordDialog(prompts, dialog, value);
}
