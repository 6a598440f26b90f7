#include "dialogs/userprompts.h"

#include "dialogs/mapselectdialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

QString ApplicationCaption() { return QStringLiteral("Sablemap"); }

void CWidgetPrompts::Message(QWidget* parent, const QString& text, const QString& detail)
{
    QMessageBox box(QMessageBox::NoIcon, ApplicationCaption(), text, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    box.exec();
}

void CWidgetPrompts::Error(QWidget* parent, const QString& text, const QString& detail)
{
    QMessageBox box(QMessageBox::Critical, ApplicationCaption(), text, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    box.exec();
}

bool CWidgetPrompts::Confirm(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QMessageBox::StandardButton CWidgetPrompts::Ask(QWidget* parent, const QString& text,
                                                QMessageBox::StandardButtons buttons, const QString& detail)
{
    QMessageBox box(QMessageBox::Question, ApplicationCaption(), text, buttons, parent);
    box.setInformativeText(detail);
    // Save or Open, where offered: the first of the buttons in Qt's order.
    for (int bit = 0; bit < 32; ++bit) {
        const auto button = QMessageBox::StandardButton(1u << bit);
        if (buttons.testFlag(button)) {
            box.setDefaultButton(button);
            break;
        }
    }
    if (buttons.testFlag(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    return buttons.testFlag(QMessageBox::StandardButton(answer)) ? QMessageBox::StandardButton(answer)
                                                                 : QMessageBox::Cancel;
}

namespace {

bool RunFileDialog(QWidget* parent, const FileDialogRequest& request, bool save, QString& path)
{
    QFileDialog dialog(parent, request.Title, request.Folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.Filters);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().constFirst();
    return true;
}

} // namespace

bool CWidgetPrompts::OpenFile(QWidget* parent, const FileDialogRequest& request, QString& path)
{
    return RunFileDialog(parent, request, false, path);
}

bool CWidgetPrompts::SaveFile(QWidget* parent, const FileDialogRequest& request, QString& path)
{
    return RunFileDialog(parent, request, true, path);
}

bool CWidgetPrompts::ChooseColor(QWidget* parent, const QColor& initial, QColor& chosen)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return false;
    chosen = color;
    return true;
}

bool CWidgetPrompts::SelectMap(QWidget* parent, const QString& installationPath, QString& folder)
{
    return ::SelectMap(*this, parent, installationPath, folder);
}

int CWidgetPrompts::Run(QDialog& dialog) { return dialog.exec(); }
