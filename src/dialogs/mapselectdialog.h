#pragma once
// Choosing one of the installation's maps, one radio button per entry of its maps folder.

#include <QDialog>
#include <QStringList>

class CUserPrompts;
class QButtonGroup;
class QGroupBox;
class QPushButton;
class QScrollArea;

class TfrmSelectMap : public QDialog {
    Q_OBJECT
public:
    // Opens with the entry of `currentFolder` selected (the first entry when no entry is that
    // folder) and the keyboard on the list, so the arrow keys choose at once.
    TfrmSelectMap(const QString& installationPath, const QString& currentFolder, QWidget* parent);
    // The chosen map's folder, or empty when the list is empty.
    QString ChosenFolder() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* m_rgSelectMap;
    QButtonGroup* m_buttons;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
    QScrollArea* m_scroll;
    QString m_installationPath;
    QStringList m_names;
};

// `folder` is the current map's folder on entry (empty when none) and the chosen one on OK.
bool SelectMap(CUserPrompts& prompts, QWidget* parent, const QString& installationPath, QString& folder);
