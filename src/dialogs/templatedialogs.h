#pragma once
// The keysite template editor (type and its three objects) and the template object editor
// (position, heading and object). Both work on a copy of the record they were filled with; the
// Edit functions give back the confirmed record (its other fields, a template's objects and use
// count among them, as given), or nothing on Cancel. Filled over several records (FillShared),
// each shows the fields they share, the others as "(mixed)", and gives back only the fields the
// user changed (Changes).

#include "dialogs/recordfields.h"
#include "document/records.h"

#include <QChar>
#include <QDialog>
#include <optional>

class C3DObjectsList;
class CPopTemplatesTypesList;
class CUserPrompts;
class QComboBox;
class QLineEdit;
class QPushButton;

class TfrmPopTemplateEd : public QDialog {
    Q_OBJECT
public:
    TfrmPopTemplateEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types,
                      QWidget* parent);
    void Fill(const CPopTemplate& value);
    // The record as filled, with the selected type and the objects picked or cleared.
    CPopTemplate Values() const;
    void FillShared(const PartialRecord<CPopTemplate>& shared, int count);
    // The fields changed since FillShared, with their values.
    PartialRecord<CPopTemplate> Changes() const;

private:
    // The code kept beside the selected type item.
    int32_t SelectedTypeCode() const;
    void FillTypes(int32_t code);
    // The object of the field named (one of the three) picked, cleared, chosen.
    void Pick(RecordField name);
    void Choose(RecordField name, int32_t index);
    void ShowNames();

    QComboBox* m_cbType;
    QLineEdit* m_edAppObject;
    QLineEdit* m_edBaseObject;
    QLineEdit* m_edRouteObject;
    QPushButton* m_btnAppObjectSel;
    QPushButton* m_btnBaseObjectSel;
    QPushButton* m_btnRouteObjectSel;
    QPushButton* m_btnAppObjectClear;
    QPushButton* m_btnBaseObjectClear;
    QPushButton* m_btnRouteObjectClear;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    const CPopTemplatesTypesList& m_types;
    CPopTemplate m_value;                               // the working copy
    std::optional<PartialRecord<CPopTemplate>> m_shown; // over several records: what they share
    PartialRecord<CPopTemplate> m_changes;
    int m_typeShown = -1; // the type item first shown
};

class Tfrm3DObjectEd : public QDialog {
    Q_OBJECT
public:
    Tfrm3DObjectEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent, QChar decimalSeparator);
    void Fill(const CThreeDObject& value);
    // The record as filled, with the object picked and the values of the last OK that converted.
    const CThreeDObject& Values() const { return m_value; }
    void FillShared(const PartialRecord<CThreeDObject>& shared, int count);
    // The fields changed since FillShared, with their values, as of the last OK that read.
    const PartialRecord<CThreeDObject>& Changes() const { return m_changes; }

private:
    // X, Z, then heading; the object is not checked.
    void btnOKClick();
    void btnSelectObjectClick();

    QLineEdit* m_edName;
    QLineEdit* m_edX;
    QLineEdit* m_edZ;
    QLineEdit* m_edHeading;
    QPushButton* m_btnSelectObject;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    QChar m_separator;
    CThreeDObject m_value;                               // the working copy
    std::optional<PartialRecord<CThreeDObject>> m_shown; // over several records: what they share
    PartialRecord<CThreeDObject> m_changes;
};

std::optional<CPopTemplate> EditKeysiteTemplate(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                                                const CPopTemplatesTypesList& types, const CPopTemplate& value);
std::optional<CThreeDObject> EditTemplateObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                                                const CThreeDObject& value);

// The dialogs over `count` records: the fields changed, or nothing on Cancel.
std::optional<PartialRecord<CPopTemplate>> EditKeysiteTemplates(CUserPrompts& prompts, QWidget* parent,
                                                                const C3DObjectsList& catalogue,
                                                                const CPopTemplatesTypesList& types,
                                                                const PartialRecord<CPopTemplate>& shared, int count);
std::optional<PartialRecord<CThreeDObject>> EditTemplateObjects(CUserPrompts& prompts, QWidget* parent,
                                                                const C3DObjectsList& catalogue,
                                                                const PartialRecord<CThreeDObject>& shared, int count);
