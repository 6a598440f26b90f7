#include "dialogs/dialogrecordeditor.h"

#include "dialogs/placementdialogs.h"
#include "dialogs/templatedialogs.h"

bool CDialogRecordEditor::EditKeysiteTemplate(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types,
                                              int32_t& typeCode, int32_t& approximationObject, int32_t& baseObject,
                                              int32_t& routeObject)
{
    return ::EditKeysiteTemplate(m_prompts, m_parent, catalogue, types, typeCode, approximationObject, baseObject,
                                 routeObject);
}

bool CDialogRecordEditor::EditTemplateObject(const C3DObjectsList& catalogue, float& x, float& z, float& heading,
                                             int32_t& objectIndex)
{
    return ::EditTemplateObject(m_prompts, m_parent, catalogue, x, z, heading, objectIndex);
}

bool CDialogRecordEditor::EditKeysitePlacement(int32_t& templateNumber, float& x, float& z)
{
    return ::EditKeysitePlacement(m_prompts, m_parent, templateNumber, x, z);
}

bool CDialogRecordEditor::EditAirbasePlacement(const C3DObjectsList& catalogue, int32_t& objectIndex, float& x,
                                               float& z)
{
    return ::EditAirbasePlacement(m_prompts, m_parent, catalogue, objectIndex, x, z);
}

bool CDialogRecordEditor::EditSamPlacement(float& x, float& z) { return ::EditSamPlacement(m_prompts, m_parent, x, z); }
