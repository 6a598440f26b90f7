#pragma once
// Choosing one of the installation's maps, one radio button per entry of its maps folder.

#include <QDialog>
#include <QStringList>

class CUserPrompts;
class QButtonGroup;
class QGroupBox;
class QPushButton;

class TfrmSelectMap : public QDialog {
    Q_OBJECT
public:
    TfrmSelectMap(const QString& installationPath, QWidget* parent);
    // The chosen map's folder, or empty when the list is empty.
    QString ChosenFolder() const;

    QGroupBox* rgSelectMap;
    QButtonGroup* Buttons;
    QPushButton* btnOk;
    QPushButton* btnCancel;

private:
    QString m_installationPath;
    QStringList m_names;
};

bool SelectMap(CUserPrompts& prompts, QWidget* parent, const QString& installationPath, QString& folder);
