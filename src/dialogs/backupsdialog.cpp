#include "dialogs/backupsdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmRestoreBackupDialog::TfrmRestoreBackupDialog(const QStringList& backups, QWidget* parent)
    : QDialog(parent), m_lbBackups(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmRestoreBackup"));
    setWindowTitle(QStringLiteral("Restore backup"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("The version chosen replaces what is open, as unsaved changes: saving "
                                            "keeps it, closing without saving does not."),
                             this);
    label->setWordWrap(true);
    layout->addWidget(label);
    m_lbBackups->setObjectName(QStringLiteral("lbBackups"));
    m_lbBackups->addItems(backups);
    m_lbBackups->setMinimumWidth(800);
    layout->addWidget(m_lbBackups);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnOk = buttons->button(QDialogButtonBox::Ok);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setText(QStringLiteral("&Restore"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_lbBackups, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_lbBackups, &QListWidget::currentRowChanged, this, [this](int row) { m_btnOk->setEnabled(row >= 0); });
    Choose(backups.isEmpty() ? -1 : 0);
}

int TfrmRestoreBackupDialog::Chosen() const { return m_lbBackups->currentRow(); }

void TfrmRestoreBackupDialog::Choose(int row)
{
    m_lbBackups->setCurrentRow(row);
    m_btnOk->setEnabled(row >= 0);
}
