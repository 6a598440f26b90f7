#include "dialogs/dialogrecordeditor.h"

#include "dialogs/placementdialogs.h"
#include "dialogs/templatedialogs.h"

// Each call fills a record with its arguments, runs the record's dialog on it and writes the
// confirmed fields back.

bool CDialogRecordEditor::EditKeysiteTemplate(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types,
                                              int32_t& typeCode, int32_t& approximationObject, int32_t& baseObject,
                                              int32_t& routeObject)
{
    CPopTemplate value;
    value.TypeCode = typeCode;
    value.ApproximationObject = approximationObject;
    value.BaseObject = baseObject;
    value.RouteObject = routeObject;
    const std::optional<CPopTemplate> confirmed = ::EditKeysiteTemplate(m_prompts, m_parent, catalogue, types, value);
    if (!confirmed)
        return false;
    typeCode = confirmed->TypeCode;
    approximationObject = confirmed->ApproximationObject;
    baseObject = confirmed->BaseObject;
    routeObject = confirmed->RouteObject;
    return true;
}

bool CDialogRecordEditor::EditTemplateObject(const C3DObjectsList& catalogue, float& x, float& z, float& heading,
                                             int32_t& objectIndex)
{
    const std::optional<CThreeDObject> confirmed =
        ::EditTemplateObject(m_prompts, m_parent, catalogue, {x, z, heading, objectIndex});
    if (!confirmed)
        return false;
    x = confirmed->X;
    z = confirmed->Z;
    heading = confirmed->Heading;
    objectIndex = confirmed->ObjectIndex;
    return true;
}

bool CDialogRecordEditor::EditKeysitePlacement(int32_t& templateNumber, float& x, float& z)
{
    const std::optional<CKeysitePlacement> confirmed =
        ::EditKeysitePlacement(m_prompts, m_parent, {templateNumber, x, z});
    if (!confirmed)
        return false;
    templateNumber = confirmed->TemplateNumber;
    x = confirmed->X;
    z = confirmed->Z;
    return true;
}

bool CDialogRecordEditor::EditAirbasePlacement(const C3DObjectsList& catalogue, int32_t& objectIndex, float& x,
                                               float& z)
{
    const std::optional<CAirbasePlacement> confirmed =
        ::EditAirbasePlacement(m_prompts, m_parent, catalogue, {x, z, objectIndex});
    if (!confirmed)
        return false;
    objectIndex = confirmed->ObjectIndex;
    x = confirmed->X;
    z = confirmed->Z;
    return true;
}

bool CDialogRecordEditor::EditSamPlacement(float& x, float& z)
{
    const std::optional<CSAMPlacement> confirmed = ::EditSamPlacement(m_prompts, m_parent, {x, z});
    if (!confirmed)
        return false;
    x = confirmed->X;
    z = confirmed->Z;
    return true;
}
