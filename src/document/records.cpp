#include "document/records.h"

#include "catalogues/templatetypes.h"
#include "document/numbertext.h"
#include "document/recordeditor.h"
#include "platform/ansitext.h"

namespace {

QString NameText(const C3DObjectsList* catalogue, int32_t index)
{
    return AnsiToQString(catalogue->NameOf(index));
}

} // namespace

bool CThreeDObject::Edit(CRecordEditor& editor)
{
    return editor.EditTemplateObject(*m_catalogue, X, Z, Heading, ObjectIndex);
}

bool CThreeDObject::FillRow(GridRow& row, int number, const TextFormat& format) const
{
    if (row.size() < 6)
        return false;
    row[1] = IntegerText(number);
    row[2] = FloatText(X, format.DecimalSeparator);
    row[3] = FloatText(Z, format.DecimalSeparator);
    row[4] = FloatText(Heading, format.DecimalSeparator);
    row[5] = NameText(m_catalogue, ObjectIndex);
    return true;
}

bool CPopTemplate::Edit(CRecordEditor& editor)
{
    return editor.EditKeysiteTemplate(*m_catalogue, *m_types, TypeCode, ApproximationObject, BaseObject, RouteObject);
}

bool CPopTemplate::FillRow(GridRow& row, int number, const TextFormat&) const
{
    if (row.size() < 7)
        return false;
    row[1] = IntegerText(number);
    row[2] = AnsiToQString(m_types->TypeNameOf(TypeCode));
    row[3] = NameText(m_catalogue, ApproximationObject);
    row[4] = NameText(m_catalogue, BaseObject);
    row[5] = NameText(m_catalogue, RouteObject);
    row[6] = IntegerText(UseCount);
    return true;
}

int32_t CKeysitePlacement::TemplateIndex() const
{
    if (!Template)
        return -1;
    for (size_t i = 0; i < m_templates->size(); ++i) {
        if ((*m_templates)[i].get() == Template)
            return static_cast<int32_t>(i);
    }
    return -1;
}

void CKeysitePlacement::SetTemplate(CPopTemplate* tmpl)
{
    if (tmpl == Template)
        return;
    if (Template)
        Template->Release();
    Template = tmpl;
    if (Template)
        Template->AddRef();
}

bool CKeysitePlacement::Edit(CRecordEditor& editor)
{
    int32_t number = TemplateIndex();
    if (!editor.EditKeysitePlacement(number, X, Z))
        return false;
    // Only a number naming another existing template moves the keysite; anything else keeps it.
    if (number >= 0 && static_cast<size_t>(number) < m_templates->size()) {
        CPopTemplate* chosen = (*m_templates)[static_cast<size_t>(number)].get();
        if (chosen != Template)
            SetTemplate(chosen);
    }
    return true;
}

bool CKeysitePlacement::FillRow(GridRow& row, int number, int32_t templateIndex, const TextFormat& format) const
{
    if (row.size() < 5)
        return false;
    row[1] = IntegerText(number);
    row[2] = FloatText(X, format.DecimalSeparator);
    row[3] = FloatText(Z, format.DecimalSeparator);
    row[4] = Template ? IntegerText(templateIndex) : QString();
    return true;
}

bool CAirbasePlacement::Edit(CRecordEditor& editor)
{
    return editor.EditAirbasePlacement(*m_catalogue, ObjectIndex, X, Z);
}

bool CAirbasePlacement::FillRow(GridRow& row, int number, const TextFormat& format) const
{
    if (row.size() < 5)
        return false;
    row[1] = IntegerText(number);
    row[2] = FloatText(X, format.DecimalSeparator);
    row[3] = FloatText(Z, format.DecimalSeparator);
    row[4] = NameText(m_catalogue, ObjectIndex);
    return true;
}

bool CSAMPlacement::Edit(CRecordEditor& editor)
{
    return editor.EditSamPlacement(X, Z);
}

bool CSAMPlacement::FillRow(GridRow& row, int number, const TextFormat& format) const
{
    if (row.size() < 4)
        return false;
    row[1] = IntegerText(number);
    row[2] = FloatText(X, format.DecimalSeparator);
    row[3] = FloatText(Z, format.DecimalSeparator);
    return true;
}
