#include "dialogs/objectpicker.h"

#include "catalogues/objectslist.h"
#include "dialogs/dialogparts.h"
#include "dialogs/userprompts.h"
#include "platform/ansitext.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSelect3DObject::TfrmSelect3DObject(CUserPrompts& prompts, const C3DObjectsList& catalogue, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_catalogue(catalogue)
{
    setWindowTitle(QStringLiteral("Select 3D object"));
    lbObjects = new QListWidget(this);
    lbObjects->setSelectionMode(QAbstractItemView::SingleSelection);
    lbObjects->setUniformItemSizes(true); // catalogues run to thousands of names
    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOk = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOk, &QPushButton::clicked, this, &TfrmSelect3DObject::btnOkClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbObjects, 1);
    layout->addLayout(buttons.Row);
    setTabOrder(lbObjects, btnOk);
    setTabOrder(btnOk, btnCancel);
    resize(387 - 8, 356 - 34);
}

void TfrmSelect3DObject::Fill(int32_t index)
{
    lbObjects->clear();
    QStringList names;
    names.reserve(static_cast<qsizetype>(m_catalogue.Names().size()));
    for (const std::string& name : m_catalogue.Names())
        names << AnsiToQString(name);
    lbObjects->addItems(names);
    if (index >= 0 && index < m_catalogue.Count()) {
        lbObjects->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        lbObjects->scrollToItem(lbObjects->item(index), QAbstractItemView::PositionAtCenter);
    } else {
        lbObjects->clearSelection();
        lbObjects->setCurrentRow(-1);
    }
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
