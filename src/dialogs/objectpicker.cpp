#include "dialogs/objectpicker.h"

#include "catalogues/objectslist.h"
#include "dialogs/dialogparts.h"
#include "dialogs/userprompts.h"
#include "platform/ansitext.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSelect3DObject::TfrmSelect3DObject(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue)
{
    setWindowTitle(QStringLiteral("Select 3D object"));
    m_edFilter = Named(new QLineEdit(this), "edFilter");
    m_edFilter->setClearButtonEnabled(true);
    m_edFilter->installEventFilter(this);
    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(m_edFilter);
    m_lbObjects = Named(new QListWidget(this), "lbObjects");
    m_lbObjects->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lbObjects->setUniformItemSizes(true); // catalogues run to thousands of names
    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOk = Named(buttons.Ok, "btnOk");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOk, &QPushButton::clicked, this, &TfrmSelect3DObject::btnOkClick);
    connect(m_edFilter, &QLineEdit::textChanged, this, &TfrmSelect3DObject::edFilterChange);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_edFilter, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_lbObjects, 1);
    layout->addLayout(buttons.Row);
    SetTabChain({m_edFilter, m_lbObjects, m_btnOk, m_btnCancel});
    m_edFilter->setFocus(); // typing filters at once
    resize(387 - 8, 356 - 34);
}

void TfrmSelect3DObject::Fill(int32_t index)
{
    m_names.clear();
    m_lbObjects->clear();
    m_edFilter->clear();
    m_names.reserve(static_cast<qsizetype>(m_catalogue.Names().size()));
    for (const std::string& name : m_catalogue.Names())
        m_names << AnsiToQString(name);
    m_lbObjects->addItems(m_names);
    if (index >= 0 && index < m_catalogue.Count()) {
        m_lbObjects->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        m_lbObjects->scrollToItem(m_lbObjects->item(index), QAbstractItemView::PositionAtCenter);
    } else {
        m_lbObjects->clearSelection();
        m_lbObjects->setCurrentRow(-1);
    }
}

void TfrmSelect3DObject::edFilterChange(const QString& text)
{
    for (int row = 0; row < m_names.size(); ++row) {
        const bool hidden = !m_names[row].contains(text, Qt::CaseInsensitive);
        if (m_lbObjects->isRowHidden(row) != hidden)
            m_lbObjects->setRowHidden(row, hidden);
    }
    // A name the user can no longer see is not the one OK should take.
    const int selected = SelectedIndex();
    if (selected >= 0 && m_lbObjects->isRowHidden(selected)) {
        m_lbObjects->clearSelection();
        m_lbObjects->setCurrentRow(-1);
    } else if (selected >= 0) {
        m_lbObjects->scrollToItem(m_lbObjects->item(selected));
    }
}

void TfrmSelect3DObject::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const int selected = SelectedIndex(); selected >= 0)
        m_lbObjects->scrollToItem(m_lbObjects->item(selected), QAbstractItemView::PositionAtCenter);
}

bool TfrmSelect3DObject::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edFilter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: QCoreApplication::sendEvent(m_lbObjects, event); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int32_t TfrmSelect3DObject::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = m_lbObjects->selectedItems();
    return selected.isEmpty() ? -1 : m_lbObjects->row(selected.constFirst());
}

void TfrmSelect3DObject::btnOkClick()
{
    if (SelectedIndex() < 0) {
        m_prompts.Message(this, QStringLiteral("You must select 3D object"));
        return;
    }
    accept();
}

bool SelectObject(CUserPrompts& prompts, QWidget* parent, const C3DObjectsList& catalogue, int32_t& index)
{
    TfrmSelect3DObject dialog(prompts, catalogue, parent);
    dialog.Fill(index);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    const int32_t selected = dialog.SelectedIndex();
    if (selected < 0)
        return false;
    index = selected;
    return true;
}
