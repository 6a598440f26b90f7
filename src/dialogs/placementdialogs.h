#pragma once
// The dialogs that say where a SAM, an airbase or a keysite stands. Each Edit function creates its
// dialog anew, runs it through the prompts and writes the values back only when the user pressed
// OK and every field converted. The dialogs' OK handlers are public so that tests can press them.

#include <QChar>
#include <QDialog>
#include <cstdint>

class C3DObjectsList;
class CUserPrompts;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TfrmSamPlacementEd : public QDialog {
    Q_OBJECT
public:
    TfrmSamPlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator);
    void Fill(float x, float z);
    // X then Z; closes with OK when both convert.
    void btnOKClick();

    QLineEdit* edX;
    QLineEdit* edZ;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    float X = 0;
    float Z = 0;

private:
    CUserPrompts& m_prompts;
    QChar m_separator;
};

class TfrmAirbasePlacementEd : public QDialog {
    Q_OBJECT
public:
    TfrmAirbasePlacementEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent,
                           QChar decimalSeparator);
    void Fill(int32_t objectIndex, float x, float z);
    // X, Z, then a valid object.
    void btnOKClick();
    // Opens the object picker on the working index.
    void btnChangeObjectClick();

    QLineEdit* edX;
    QLineEdit* edZ;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QLineEdit* edObjectName;
    QPushButton* btnChangeObject;
    int32_t ObjectIndex = -2; // the working copy
    float X = 0;
    float Z = 0;

private:
    void ShowObjectName();

    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    QChar m_separator;
};

class TfrmKeysitePlacementEd : public QDialog {
    Q_OBJECT
public:
    TfrmKeysitePlacementEd(CUserPrompts& prompts, QWidget* parent, QChar decimalSeparator);
    void Fill(int32_t templateNumber, float x, float z);
    // The template number is not checked: the keysite decides what an unknown number means.
    void btnOKClick();

    QSpinBox* sedTemplate;
    QLineEdit* edX;
    QLineEdit* edZ;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    int32_t TemplateNumber = -1;
    float X = 0;
    float Z = 0;

private:
    CUserPrompts& m_prompts;
    QChar m_separator;
};

bool EditSamPlacement(CUserPrompts& prompts, QWidget* parent, float& x, float& z);
bool EditAirbasePlacement(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, int32_t& objectIndex,
                          float& x, float& z);
bool EditKeysitePlacement(CUserPrompts& prompts, QWidget* parent, int32_t& templateNumber, float& x, float& z);
