#pragma once
// The one dialog through which every 3D object is chosen: the catalogue's names in catalogue
// order, row i being catalogue index i. A filter field above the list hides the names that do not
// contain its text (letter case ignored); hidden rows keep their places, so a row is still its
// catalogue index.

#include <QDialog>
#include <QStringList>
#include <cstdint>

class C3DObjectsList;
class CUserPrompts;
class QLineEdit;
class QListWidget;
class QPushButton;

class TfrmSelect3DObject : public QDialog {
    Q_OBJECT
public:
    TfrmSelect3DObject(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent);
    // Selects and shows the row of `index`, or no row when it names no catalogue entry.
    void Fill(int32_t index);
    // The catalogue index of the selected row, or -1.
    int32_t SelectedIndex() const;

protected:
    // The filter field hands the list's movement keys on, so the user can type and choose
    // without leaving it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The list has its size only now, so the selected name can be brought to the middle.
    void showEvent(QShowEvent* event) override;

private:
    // Shows only the names containing `text`; a selected name that is hidden is no longer selected.
    void edFilterChange(const QString& text);
    // Closes with OK only when a row is selected.
    void btnOkClick();

    QLineEdit* m_edFilter;
    QListWidget* m_lbObjects;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
    CUserPrompts& m_prompts;
    const C3DObjectsList& m_catalogue;
    QStringList m_names;
};

bool SelectObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, int32_t& index);
