#include "dialogs/mapselectdialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/userprompts.h"
#include "mapview/maplist.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

TfrmSelectMap::TfrmSelectMap(const QString& installationPath, QWidget* parent)
    : QDialog(parent), m_installationPath(installationPath)
{
    setWindowTitle(QStringLiteral("Select map"));
    rgSelectMap = new QGroupBox(QStringLiteral(" Select map "), this);
    Buttons = new QButtonGroup(this);
    auto* inner = new QWidget;
    auto* list = new QVBoxLayout(inner);
    m_names = ListMapEntries(installationPath);
    for (int i = 0; i < m_names.size(); ++i) {
        auto* button = new QRadioButton(m_names[i], inner);
        Buttons->addButton(button, i);
        list->addWidget(button);
    }
    list->addStretch(1);
    if (!m_names.isEmpty())
        Buttons->button(0)->setChecked(true);
    // Many maps scroll instead of crowding together.
    auto* scroll = new QScrollArea(rgSelectMap);
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* groupLayout = new QVBoxLayout(rgSelectMap);
    groupLayout->addWidget(scroll);

    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOk = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgSelectMap, 1);
    layout->addLayout(buttons.Row);
    resize(289 - 8, 245 - 34);
}

QString TfrmSelectMap::ChosenFolder() const
{
    const int chosen = Buttons->checkedId();
    if (chosen < 0)
        return QString();
    return MapEntryPath(m_installationPath, m_names[chosen]);
}

bool SelectMap(CUserPrompts& prompts, QWidget* parent, const QString& installationPath, QString& folder)
{
    TfrmSelectMap dialog(installationPath, parent);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    folder = dialog.ChosenFolder();
    return true;
}
