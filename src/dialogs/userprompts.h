#pragma once
// Everything that asks the user something or tells the user something goes through here: message
// boxes, Yes/No confirmations, file and colour dialogs, map selection and every modal dialog run.
// The window uses CWidgetPrompts; tests substitute a scripted implementation that records the texts
// that would have been shown and answers for the user, so no modal window ever blocks a test.

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// One file dialog's settings. Filters are shown texts with their patterns, e.g.
// "Map BIN file (*.BIN)"; the first entry is preselected.
struct FileDialogRequest {
    QString Title;
    QStringList Filters;
    QString DefaultSuffix;
    QString Folder;
    QString FileName;
};

class CUserPrompts {
public:
    virtual ~CUserPrompts() = default;

    // Plain message box with the application's title as caption and one OK button. A `detail`
    // (the system's reason for a failure) is shown under the text.
    virtual void Message(QWidget* parent, const QString& text, const QString& detail = QString()) = 0;
    // Error box, for failures that are not the user's doing (an unexpected error, a settings file
    // that cannot be written), with an optional detail as for Message.
    virtual void Error(QWidget* parent, const QString& text, const QString& detail = QString()) = 0;
    // Yes/No question captioned "Confirmation"; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // A question with the given standard buttons (Save, Discard, Cancel, ...), the first of them
    // in Qt's order (Save, Open, ...) the default; returns the button chosen (Cancel when the box
    // is closed without one).
    virtual QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
                                            const QString& detail = QString()) = 0;

    // Open and save dialogs; true with the chosen path when the user chose a file.
    virtual bool OpenFile(QWidget* parent, const FileDialogRequest& request, QString& path) = 0;
    virtual bool SaveFile(QWidget* parent, const FileDialogRequest& request, QString& path) = 0;
    // Colour dialog starting at `initial`; true with the chosen colour when confirmed.
    virtual bool ChooseColor(QWidget* parent, const QColor& initial, QColor& chosen) = 0;
    // Lets the user choose one of the installation's maps; true with the map's folder on OK.
    virtual bool SelectMap(QWidget* parent, const QString& installationPath, QString& folder) = 0;

    // Runs a prepared modal dialog and returns its result (QDialog::Accepted or Rejected).
    virtual int Run(QDialog& dialog) = 0;
};

// The real thing: Qt's message boxes and dialogs, each modal over `parent`.
class CWidgetPrompts : public CUserPrompts {
public:
    void Message(QWidget* parent, const QString& text, const QString& detail = QString()) override;
    void Error(QWidget* parent, const QString& text, const QString& detail = QString()) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
                                    const QString& detail = QString()) override;
    bool OpenFile(QWidget* parent, const FileDialogRequest& request, QString& path) override;
    bool SaveFile(QWidget* parent, const FileDialogRequest& request, QString& path) override;
    bool ChooseColor(QWidget* parent, const QColor& initial, QColor& chosen) override;
    bool SelectMap(QWidget* parent, const QString& installationPath, QString& folder) override;
    int Run(QDialog& dialog) override;
};

// The caption of every plain message box.
QString ApplicationCaption();
