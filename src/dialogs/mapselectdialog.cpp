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
    m_rgSelectMap = Named(new QGroupBox(QStringLiteral(" Select map "), this), "rgSelectMap");
    m_buttons = Named(new QButtonGroup(this), "Buttons");
    auto* inner = new QWidget;
    auto* list = new QVBoxLayout(inner);
    m_names = ListMapEntries(installationPath);
    for (int i = 0; i < m_names.size(); ++i) {
        auto* button = new QRadioButton(m_names[i], inner);
        m_buttons->addButton(button, i);
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
        m_buttons->button(current)->setChecked(true);
    }
    // Many maps scroll instead of crowding together.
    m_scroll = new QScrollArea(m_rgSelectMap);
    m_scroll->setWidget(inner);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus); // the buttons take the keyboard, not the area around them
    auto* groupLayout = new QVBoxLayout(m_rgSelectMap);
    groupLayout->addWidget(m_scroll);

    const OkCancelButtons buttons = MakeOkCancel(this);
    m_btnOk = Named(buttons.Ok, "btnOk");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rgSelectMap, 1);
    layout->addLayout(buttons.Row);
    resize(289 - 8, 245 - 34);
    // Otherwise the default button takes the keyboard and the arrow keys do nothing.
    if (QAbstractButton* checked = m_buttons->checkedButton())
        checked->setFocus();
}

void TfrmSelectMap::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QAbstractButton* current = m_buttons->checkedButton())
        m_scroll->ensureWidgetVisible(current);
}

QString TfrmSelectMap::ChosenFolder() const
{
    const int chosen = m_buttons->checkedId();
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
