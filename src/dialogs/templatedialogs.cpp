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
#include <tuple>

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

// The template's object that each object field shows.
int32_t CPopTemplate::*ObjectMember(RecordField name)
{
    return name == RecordField::ApproximationObject ? &CPopTemplate::ApproximationObject
        : name == RecordField::BaseObject           ? &CPopTemplate::BaseObject
                                                    : &CPopTemplate::RouteObject;
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
    for (const auto& [name, select, clear] :
         {std::tuple{RecordField::ApproximationObject, m_btnAppObjectSel, m_btnAppObjectClear},
          std::tuple{RecordField::BaseObject, m_btnBaseObjectSel, m_btnBaseObjectClear},
          std::tuple{RecordField::RouteObject, m_btnRouteObjectSel, m_btnRouteObjectClear}}) {
        connect(select, &QPushButton::clicked, this, [this, name = name] { Pick(name); });
        connect(clear, &QPushButton::clicked, this, [this, name = name] { Choose(name, NoObjectIndex); });
    }
    LayOutFormDialog(this, form, buttons);

    SetTabChain({m_edAppObject, m_edBaseObject, m_edRouteObject, m_btnOK, m_btnCancel, m_btnAppObjectSel,
                 m_btnBaseObjectSel, m_btnRouteObjectSel, m_btnRouteObjectClear, m_btnBaseObjectClear,
                 m_btnAppObjectClear, m_cbType});
    FixOuterSize(this, 458, 166);
}

void TfrmPopTemplateEd::Fill(const CPopTemplate& value)
{
    m_value = value;
    FillTypes(value.TypeCode);
    ShowNames();
}

void TfrmPopTemplateEd::FillTypes(int32_t code)
{
    m_cbType->clear();
    for (const CPopTemplatesTypesList::Row& row : m_types.Rows())
        m_cbType->addItem(AnsiToQString(row.Text), QVariant(row.Code));
    const int row = m_types.RowOf(code);
    m_cbType->setCurrentIndex(row >= 0 ? row : 0);
}

void TfrmPopTemplateEd::FillShared(const PartialRecord<CPopTemplate>& shared, int count)
{
    m_shown = shared;
    m_changes = {shared.Value, {}};
    m_value = shared.Value;
    CaptionForSeveral(this, RecordList::Templates, count);
    FillTypes(shared.Value.TypeCode);
    if (!shared.Fields.testFlag(RecordField::Type)) {
        m_cbType->setPlaceholderText(MixedText());
        m_cbType->setCurrentIndex(-1);
    }
    m_typeShown = m_cbType->currentIndex();
    ShowNames();
}

PartialRecord<CPopTemplate> TfrmPopTemplateEd::Changes() const
{
    PartialRecord<CPopTemplate> changes = m_changes;
    // The type shown at first, a code the list lacks too, is no change until another is chosen.
    if (m_shown && m_cbType->currentIndex() >= 0 && m_cbType->currentIndex() != m_typeShown)
        NoteChoice(*m_shown, changes, RecordField::Type, &CPopTemplate::TypeCode, SelectedTypeCode());
    return changes;
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
    for (const auto& [name, field] :
         {std::pair{RecordField::ApproximationObject, m_edAppObject},
          std::pair{RecordField::BaseObject, m_edBaseObject}, std::pair{RecordField::RouteObject, m_edRouteObject}}) {
        // Over several templates that hold different objects, until one is picked or cleared.
        const bool mixed = m_shown && !m_shown->Fields.testFlag(name) && !m_changes.Fields.testFlag(name);
        ShowSharedText(field,
                       mixed ? std::nullopt
                             : std::optional(AnsiToQString(m_catalogue.NameOf(m_value.*ObjectMember(name)))));
    }
}

void TfrmPopTemplateEd::Pick(RecordField name)
{
    int32_t picked = m_value.*ObjectMember(name);
    if (SelectObject(m_prompts, this, m_catalogue, picked))
        Choose(name, picked);
}

void TfrmPopTemplateEd::Choose(RecordField name, int32_t index)
{
    m_value.*ObjectMember(name) = index;
    if (m_shown)
        NoteChoice(*m_shown, m_changes, name, ObjectMember(name), index);
    ShowNames();
}

std::optional<CPopTemplate> EditKeysiteTemplate(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                                                const CPopTemplatesTypesList& types, const CPopTemplate& value)
{
    TfrmPopTemplateEd dialog(prompts, catalogue, types, parent);
    return RunRecordDialog(prompts, dialog, value);
}

std::optional<PartialRecord<CPopTemplate>> EditKeysiteTemplates(CUserPrompts& prompts, QWidget* parent,
                                                                const C3DObjectsList& catalogue,
                                                                const CPopTemplatesTypesList& types,
                                                                const PartialRecord<CPopTemplate>& shared, int count)
{
    TfrmPopTemplateEd dialog(prompts, catalogue, types, parent);
    return RunSharedDialog(prompts, dialog, shared, count);
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

void Tfrm3DObjectEd::FillShared(const PartialRecord<CThreeDObject>& shared, int count)
{
    m_shown = shared;
    m_changes = {shared.Value, {}};
    m_value = shared.Value;
    CaptionForSeveral(this, RecordList::TemplateObjects, count);
    const std::optional<int32_t> object = SharedValue(shared, RecordField::Object, &CThreeDObject::ObjectIndex);
    ShowSharedText(m_edName, object ? std::optional(AnsiToQString(m_catalogue.NameOf(*object))) : std::nullopt);
    ShowSharedNumber(m_edX, SharedValue(shared, RecordField::X, &CThreeDObject::X), m_separator);
    ShowSharedNumber(m_edZ, SharedValue(shared, RecordField::Z, &CThreeDObject::Z), m_separator);
    ShowSharedNumber(m_edHeading, SharedValue(shared, RecordField::Heading, &CThreeDObject::Heading), m_separator);
}

void Tfrm3DObjectEd::btnSelectObjectClick()
{
    int32_t picked = m_value.ObjectIndex;
    if (!SelectObject(m_prompts, this, m_catalogue, picked))
        return;
    m_value.ObjectIndex = picked;
    if (m_shown)
        NoteChoice(*m_shown, m_changes, RecordField::Object, &CThreeDObject::ObjectIndex, picked);
    ShowSharedText(m_edName, AnsiToQString(m_catalogue.NameOf(m_value.ObjectIndex)));
}

void Tfrm3DObjectEd::btnOKClick()
{
    if (m_shown) {
        if (ReadChangedNumbers(m_prompts, this, m_separator, *m_shown, m_changes,
                               {{m_edX, RecordField::X, &CThreeDObject::X},
                                {m_edZ, RecordField::Z, &CThreeDObject::Z},
                                {m_edHeading, RecordField::Heading, &CThreeDObject::Heading}}))
            accept();
        return;
    }
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

std::optional<PartialRecord<CThreeDObject>> EditTemplateObjects(CUserPrompts& prompts, QWidget* parent,
                                                                const C3DObjectsList& catalogue,
                                                                const PartialRecord<CThreeDObject>& shared, int count)
{
    Tfrm3DObjectEd dialog(prompts, catalogue, parent, SystemDecimalSeparator());
    return RunSharedDialog(prompts, dialog, shared, count);
}
