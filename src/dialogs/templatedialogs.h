#pragma once
// The keysite template editor (type and its three objects) and the template object editor
// (position, heading and object). Both work on copies and write back only on OK.

#include <QChar>
#include <QDialog>
#include <cstdint>

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
    void Fill(int32_t typeCode, int32_t approximationObject, int32_t baseObject, int32_t routeObject);
    // The code kept beside the selected type item.
    int32_t SelectedTypeCode() const;

    void btnAppObjectSelClick();
    void btnBaseObjectSelClick();
    void btnRouteObjectSelClick();
    void btnAppObjectClearClick();
    void btnBaseObjectClearClick();
    void btnRouteObjectClearClick();

    QComboBox* cbType;
    QLineEdit* edAppObject;
    QLineEdit* edBaseObject;
    QLineEdit* edRouteObject;
    QPushButton* btnAppObjectSel;
    QPushButton* btnBaseObjectSel;
    QPushButton* btnRouteObjectSel;
    QPushButton* btnAppObjectClear;
    QPushButton* btnBaseObjectClear;
    QPushButton* btnRouteObjectClear;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // Working copies.
    int32_t ApproximationObject = -2;
    int32_t BaseObject = -2;
    int32_t RouteObject = -2;

private:
    void Pick(int32_t& index, QLineEdit* field);
    void ShowNames();

    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    const CPopTemplatesTypesList& m_types;
};

class Tfrm3DObjectEd : public QDialog {
    Q_OBJECT
public:
    Tfrm3DObjectEd(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent, QChar decimalSeparator);
    void Fill(float x, float z, float heading, int32_t objectIndex);
    // X, Z, then heading; the object is not checked.
    void btnOKClick();
    void btnSelectObjectClick();

    QLineEdit* edName;
    QLineEdit* edX;
    QLineEdit* edZ;
    QLineEdit* edHeading;
    QPushButton* btnSelectObject;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    int32_t ObjectIndex = -2; // the working copy
    float X = 0;
    float Z = 0;
    float Heading = 0;

private:
    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    QChar m_separator;
};

bool EditKeysiteTemplate(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue,
                         const CPopTemplatesTypesList& types, int32_t& typeCode, int32_t& approximationObject,
                         int32_t& baseObject, int32_t& routeObject);
bool EditTemplateObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, float& x, float& z,
                        float& heading, int32_t& objectIndex);
