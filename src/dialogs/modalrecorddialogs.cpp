#include "dialogs/modalrecorddialogs.h"

#include "dialogs/placementdialogs.h"
#include "dialogs/templatedialogs.h"

std::optional<CPopTemplate> CModalRecordDialogs::Edit(const CPopTemplate& value)
{
    return EditKeysiteTemplate(m_prompts, m_parent, m_catalogue, m_types, value);
}

std::optional<CThreeDObject> CModalRecordDialogs::Edit(const CThreeDObject& value)
{
    return EditTemplateObject(m_prompts, m_parent, m_catalogue, value);
}

std::optional<CKeysitePlacement> CModalRecordDialogs::Edit(const CKeysitePlacement& value)
{
    return EditKeysitePlacement(m_prompts, m_parent, value);
}

std::optional<CAirbasePlacement> CModalRecordDialogs::Edit(const CAirbasePlacement& value)
{
    return EditAirbasePlacement(m_prompts, m_parent, m_catalogue, value);
}

std::optional<CSAMPlacement> CModalRecordDialogs::Edit(const CSAMPlacement& value)
{
    return EditSamPlacement(m_prompts, m_parent, value);
}
