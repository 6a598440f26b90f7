#pragma once
// The one dialog through which every 3D object is chosen: the catalogue's names in catalogue
// order, row i being catalogue index i.

#include <QDialog>
#include <cstdint>

class C3DObjectsList;
class CUserPrompts;
class QListWidget;
class QPushButton;

class TfrmSelect3DObject : public QDialog {
    Q_OBJECT
public:
    TfrmSelect3DObject(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent);
    // Selects and shows the row of `index`, or no row when it names no catalogue entry.
    void Fill(int32_t index);
    // Closes with OK only when a row is selected.
    void btnOkClick();
    int32_t SelectedIndex() const;

    QListWidget* lbObjects;
    QPushButton* btnOk;
    QPushButton* btnCancel;

private:
    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
};

bool SelectObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, int32_t& index);
