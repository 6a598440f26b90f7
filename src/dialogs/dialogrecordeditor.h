#pragma once
// The document's record-editor seam answered with the real dialogs, each run through the prompts and
// modal over the given window. It goes when the window edits through CModalRecordDialogs.

#include "document/recordeditor.h"

class CUserPrompts;
class QWidget;

class CDialogRecordEditor : public CRecordEditor {
public:
    CDialogRecordEditor(CUserPrompts& prompts, QWidget* parent) : m_prompts(prompts), m_parent(parent) { }

    bool EditKeysiteTemplate(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types, int32_t& typeCode,
                             int32_t& approximationObject, int32_t& baseObject, int32_t& routeObject) override;
    bool EditTemplateObject(const C3DObjectsList& catalogue, float& x, float& z, float& heading,
                            int32_t& objectIndex) override;
    bool EditKeysitePlacement(int32_t& templateNumber, float& x, float& z) override;
    bool EditAirbasePlacement(const C3DObjectsList& catalogue, int32_t& objectIndex, float& x, float& z) override;
    bool EditSamPlacement(float& x, float& z) override;

private:
    CUserPrompts& m_prompts;
    QWidget* m_parent;
};
