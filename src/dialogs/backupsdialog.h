#pragma once
// "Restore backup": the backups of the open files, newest first, one line each; the one chosen
// comes back as unsaved changes of its file.

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

class TfrmRestoreBackupDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRestoreBackupDialog(const QStringList& backups, QWidget* parent = nullptr);
    // The line chosen, -1 for none.
    int Chosen() const;
    void Choose(int row);

private:
    QListWidget* m_lbBackups;
    QPushButton* m_btnOk;
};
