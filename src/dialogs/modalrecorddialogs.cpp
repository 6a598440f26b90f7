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

std::optional<PartialRecord<CPopTemplate>> CModalRecordDialogs::EditShared(const PartialRecord<CPopTemplate>& shared,
                                                                           int count)
{
    return EditKeysiteTemplates(m_prompts, m_parent, m_catalogue, m_types, shared, count);
}

std::optional<PartialRecord<CThreeDObject>> CModalRecordDialogs::EditShared(const PartialRecord<CThreeDObject>& shared,
                                                                            int count)
{
    return EditTemplateObjects(m_prompts, m_parent, m_catalogue, shared, count);
}

std::optional<PartialRecord<CKeysitePlacement>>
CModalRecordDialogs::EditShared(const PartialRecord<CKeysitePlacement>& shared, int count)
{
    return EditKeysitePlacements(m_prompts, m_parent, shared, count);
}

std::optional<PartialRecord<CAirbasePlacement>>
CModalRecordDialogs::EditShared(const PartialRecord<CAirbasePlacement>& shared, int count)
{
    return EditAirbasePlacements(m_prompts, m_parent, m_catalogue, shared, count);
}

std::optional<PartialRecord<CSAMPlacement>> CModalRecordDialogs::EditShared(const PartialRecord<CSAMPlacement>& shared,
                                                                            int count)
{
    return EditSamPlacements(m_prompts, m_parent, shared, count);
}
