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
    edFilter = new QLineEdit(this);
    edFilter->setClearButtonEnabled(true);
    edFilter->installEventFilter(this);
    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(edFilter);
    lbObjects = new QListWidget(this);
    lbObjects->setSelectionMode(QAbstractItemView::SingleSelection);
    lbObjects->setUniformItemSizes(true); // catalogues run to thousands of names
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOk = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOk, &QPushButton::clicked, this, &TfrmSelect3DObject::btnOkClick);
    connect(edFilter, &QLineEdit::textChanged, this, &TfrmSelect3DObject::edFilterChange);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(edFilter, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(lbObjects, 1);
    layout->addLayout(buttons.Row);
    SetTabChain({edFilter, lbObjects, btnOk, btnCancel});
    edFilter->setFocus(); // typing filters at once
    resize(387 - 8, 356 - 34);
}

void TfrmSelect3DObject::Fill(int32_t index)
{
    m_names.clear();
    lbObjects->clear();
    edFilter->clear();
    m_names.reserve(static_cast<qsizetype>(m_catalogue.Names().size()));
    for (const std::string& name : m_catalogue.Names())
        m_names << AnsiToQString(name);
    lbObjects->addItems(m_names);
    if (index >= 0 && index < m_catalogue.Count()) {
        lbObjects->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        lbObjects->scrollToItem(lbObjects->item(index), QAbstractItemView::PositionAtCenter);
    } else {
        lbObjects->clearSelection();
        lbObjects->setCurrentRow(-1);
    }
}

void TfrmSelect3DObject::edFilterChange(const QString& text)
{
    for (int row = 0; row < m_names.size(); ++row) {
        const bool hidden = !m_names[row].contains(text, Qt::CaseInsensitive);
        if (lbObjects->isRowHidden(row) != hidden)
            lbObjects->setRowHidden(row, hidden);
    }
    // A name the user can no longer see is not the one OK should take.
    const int selected = SelectedIndex();
    if (selected >= 0 && lbObjects->isRowHidden(selected)) {
        lbObjects->clearSelection();
        lbObjects->setCurrentRow(-1);
    } else if (selected >= 0) {
        lbObjects->scrollToItem(lbObjects->item(selected));
    }
}

void TfrmSelect3DObject::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const int selected = SelectedIndex(); selected >= 0)
        lbObjects->scrollToItem(lbObjects->item(selected), QAbstractItemView::PositionAtCenter);
}

bool TfrmSelect3DObject::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edFilter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: QCoreApplication::sendEvent(lbObjects, event); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int32_t TfrmSelect3DObject::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = lbObjects->selectedItems();
    return selected.isEmpty() ? -1 : lbObjects->row(selected.constFirst());
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
