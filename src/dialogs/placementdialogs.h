#pragma once
// The dialogs that say where a SAM, an airbase or a keysite stands. Each works on a copy of the
// record it was filled with; its OK takes the typed values into that copy only when every field
// converted. The Edit functions create a dialog anew, run it through the prompts and give back the
// confirmed record (its other fields as given), or nothing on Cancel.
//
// Filled over several records (FillShared), a dialog shows the fields they share and leaves the
// others empty as "(mixed)"; its OK checks only what the user changed, and it gives back only the
// fields changed (Changes).

#include "dialogs/recordfields.h"
#include "document/records.h"

#include <QChar>
#include <QDialog>
#include <optional>

class C3DObjectsList;
class CUserPrompts;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TfrmSamPlacementEd : public QDialog {
    Q_OBJECT
public:
    TfrmSamPlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator);
    void Fill(const CSAMPlacement& value);
    // The record as filled, with the values of the last OK that converted.
    const CSAMPlacement& Values() const { return m_value; }

    void FillShared(const PartialRecord<CSAMPlacement>& shared, int count);
    // The fields changed since FillShared, with their values, as of the last OK that read.
    const PartialRecord<CSAMPlacement>& Changes() const { return m_changes; }

private:
    // X then Z; closes with OK when both convert.
    void btnOKClick();

    QLineEdit* m_edX;
    QLineEdit* m_edZ;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    CUserPrompts& m_prompts;
    QChar m_separator;
    CSAMPlacement m_value;
    std::optional<PartialRecord<CSAMPlacement>> m_shown; // over several records: what they share
    PartialRecord<CSAMPlacement> m_changes;
};

class TfrmAirbasePlacementEd : public QDialog {
    Q_OBJECT
public:
    TfrmAirbasePlacementEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent,
                           QChar decimalSeparator);
    void Fill(const CAirbasePlacement& value);
    // The record as filled, with the object picked and the values of the last OK that converted.
    const CAirbasePlacement& Values() const { return m_value; }

    void FillShared(const PartialRecord<CAirbasePlacement>& shared, int count);
    // The fields changed since FillShared, with their values, as of the last OK that read.
    const PartialRecord<CAirbasePlacement>& Changes() const { return m_changes; }

private:
    // X, Z, then a valid object.
    void btnOKClick();
    // Opens the object picker on the working index.
    void btnChangeObjectClick();
    void ShowObjectName();

    QLineEdit* m_edX;
    QLineEdit* m_edZ;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    QLineEdit* m_edObjectName;
    QPushButton* m_btnChangeObject;
    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    QChar m_separator;
    CAirbasePlacement m_value;
    std::optional<PartialRecord<CAirbasePlacement>> m_shown; // over several records: what they share
    PartialRecord<CAirbasePlacement> m_changes;
};

class TfrmKeysitePlacementEd : public QDialog {
    Q_OBJECT
public:
    TfrmKeysitePlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator);
    void Fill(const CKeysitePlacement& value);
    // The record as filled, with the values of the last OK that converted.
    const CKeysitePlacement& Values() const { return m_value; }

    void FillShared(const PartialRecord<CKeysitePlacement>& shared, int count);
    // The fields changed since FillShared, with their values, as of the last OK that read.
    const PartialRecord<CKeysitePlacement>& Changes() const { return m_changes; }

private:
    // The template number is not checked: the keysite's owner decides what an unknown number means.
    void btnOKClick();
    int TypedTemplate() const;

    QSpinBox* m_sedTemplate;
    QLineEdit* m_edX;
    QLineEdit* m_edZ;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;
    CUserPrompts& m_prompts;
    QChar m_separator;
    CKeysitePlacement m_value;
    std::optional<PartialRecord<CKeysitePlacement>> m_shown; // over several records: what they share
    PartialRecord<CKeysitePlacement> m_changes;
};

std::optional<CSAMPlacement> EditSamPlacement(CUserPrompts& prompts, QWidget* parent, const CSAMPlacement& value);
std::optional<CAirbasePlacement> EditAirbasePlacement(CUserPrompts& prompts, QWidget* parent,
                                                      const C3DObjectsList& catalogue, const CAirbasePlacement& value);
// Any template number the user typed comes back; whether it names a template is the caller's check.
std::optional<CKeysitePlacement> EditKeysitePlacement(CUserPrompts& prompts, QWidget* parent,
                                                      const CKeysitePlacement& value);

// The dialogs over `count` records: the fields changed, or nothing on Cancel.
std::optional<PartialRecord<CSAMPlacement>> EditSamPlacements(CUserPrompts& prompts, QWidget* parent,
                                                              const PartialRecord<CSAMPlacement>& shared, int count);
std::optional<PartialRecord<CAirbasePlacement>> EditAirbasePlacements(CUserPrompts& prompts, QWidget* parent,
                                                                      const C3DObjectsList& catalogue,
                                                                      const PartialRecord<CAirbasePlacement>& shared,
                                                                      int count);
// Any template number the user typed comes back, as from EditKeysitePlacement.
std::optional<PartialRecord<CKeysitePlacement>> EditKeysitePlacements(CUserPrompts& prompts, QWidget* parent,
                                                                      const PartialRecord<CKeysitePlacement>& shared,
                                                                      int count);
