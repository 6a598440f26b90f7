#pragma once
// The record dialogs answered with the real dialogs, each run through the prompts and modal over
// the given window. The catalogue names the objects the dialogs show and offer; the type list
// fills the template editor's type box.

#include "dialogs/recorddialogs.h"

class C3DObjectsList;
class CPopTemplatesTypesList;
class CUserPrompts;
class QWidget;

class CModalRecordDialogs : public CRecordDialogs {
public:
    CModalRecordDialogs(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                        const CPopTemplatesTypesList& types)
        : m_prompts(prompts), m_parent(parent), m_catalogue(catalogue), m_types(types)
    {
    }

    std::optional<CPopTemplate> Edit(const CPopTemplate& value) override;
    std::optional<CThreeDObject> Edit(const CThreeDObject& value) override;
    // Gives back any template number the user typed, one naming no template too: whether it names
    // a template is the caller's check, not the dialog's.
    std::optional<CKeysitePlacement> Edit(const CKeysitePlacement& value) override;
    std::optional<CAirbasePlacement> Edit(const CAirbasePlacement& value) override;
    std::optional<CSAMPlacement> Edit(const CSAMPlacement& value) override;

    std::optional<PartialRecord<CPopTemplate>> EditShared(const PartialRecord<CPopTemplate>& shared,
                                                          int count) override;
    std::optional<PartialRecord<CThreeDObject>> EditShared(const PartialRecord<CThreeDObject>& shared,
                                                           int count) override;
    std::optional<PartialRecord<CKeysitePlacement>> EditShared(const PartialRecord<CKeysitePlacement>& shared,
                                                               int count) override;
    std::optional<PartialRecord<CAirbasePlacement>> EditShared(const PartialRecord<CAirbasePlacement>& shared,
                                                               int count) override;
    std::optional<PartialRecord<CSAMPlacement>> EditShared(const PartialRecord<CSAMPlacement>& shared,
                                                           int count) override;

private:
    CUserPrompts& m_prompts;
    QWidget* m_parent;
    const C3DObjectsList& m_catalogue;
    const CPopTemplatesTypesList& m_types;
};
