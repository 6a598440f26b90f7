#include "dialogs/mapselectdialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/userprompts.h"
#include "mapview/maplist.h"

#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString ComparablePath(const QString& folder) { return QDir::cleanPath(QDir::fromNativeSeparators(folder)); }

} // namespace

TfrmSelectMap::TfrmSelectMap(const QString& installationPath, const QString& currentFolder, QWidget* parent)
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
    if (!m_names.isEmpty()) {
        int current = 0;
        const QString wanted = ComparablePath(currentFolder);
        for (int i = 0; i < m_names.size() && !currentFolder.isEmpty(); ++i) {
            if (ComparablePath(MapEntryPath(installationPath, m_names[i])) == wanted)
                current = i;
        }
        Buttons->button(current)->setChecked(true);
    }
    // Many maps scroll instead of crowding together.
    m_scroll = new QScrollArea(rgSelectMap);
    m_scroll->setWidget(inner);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus); // the buttons take the keyboard, not the area around them
    auto* groupLayout = new QVBoxLayout(rgSelectMap);
    groupLayout->addWidget(m_scroll);

    const OkCancelButtons buttons = MakeOkCancel(this);
    btnOk = buttons.Ok;
    btnCancel = buttons.Cancel;
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgSelectMap, 1);
    layout->addLayout(buttons.Row);
    resize(289 - 8, 245 - 34);
    // Otherwise the default button takes the keyboard and the arrow keys do nothing.
    if (QAbstractButton* checked = Buttons->checkedButton())
        checked->setFocus();
}

void TfrmSelectMap::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QAbstractButton* current = Buttons->checkedButton())
        m_scroll->ensureWidgetVisible(current);
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
    TfrmSelectMap dialog(installationPath, folder, parent);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    folder = dialog.ChosenFolder();
    return true;
}
