#pragma once
// Prompts answered by the test instead of the user. Every text that would have been shown is
// recorded in order, prefixed with its kind ("message: ", "error: ", "confirm: "), and the detail
// of every message and error beside it; answers are taken from queues, and modal dialogs are
// handed to scripted drivers instead of exec().

#include "dialogs/userprompts.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <functional>
#include <optional>

class CScriptedPrompts : public CUserPrompts {
public:
    using Driver = std::function<int(QDialog&)>;

    QStringList Shown;
    QStringList Details;         // one per message and error, in order; empty when it had none
    QQueue<bool> ConfirmAnswers; // empty: Yes
    // Empty: Discard where it is offered (what closing without the question did), else Cancel.
    QQueue<QMessageBox::StandardButton> AskAnswers;
    QStringList Asked;           // the detail of every question
    QQueue<QString> FileAnswers; // empty queue or empty text: cancelled
    QList<FileDialogRequest> FileDialogs;
    QQueue<std::optional<QColor>> ColorAnswers; // nothing: cancelled
    QQueue<Driver> Drivers;                     // empty: the dialog is cancelled
    QStringList RunTitles;                      // caption of every dialog run

    void Message(QWidget*, const QString& text, const QString& detail = QString()) override
    {
        Shown << QStringLiteral("message: ") + text;
        Details << detail;
    }
    void Error(QWidget*, const QString& text, const QString& detail = QString()) override
    {
        Shown << QStringLiteral("error: ") + text;
        Details << detail;
    }
    bool Confirm(QWidget*, const QString& text) override
    {
        Shown << QStringLiteral("confirm: ") + text;
        return ConfirmAnswers.isEmpty() ? true : ConfirmAnswers.dequeue();
    }
    QMessageBox::StandardButton Ask(QWidget*, const QString& text, QMessageBox::StandardButtons buttons,
                                    const QString& detail = QString()) override
    {
        Shown << QStringLiteral("ask: ") + text;
        Asked << detail;
        if (!AskAnswers.isEmpty())
            return AskAnswers.dequeue();
        return buttons.testFlag(QMessageBox::Discard) ? QMessageBox::Discard : QMessageBox::Cancel;
    }
    bool OpenFile(QWidget*, const FileDialogRequest& request, QString& path) override { return File(request, path); }
    bool SaveFile(QWidget*, const FileDialogRequest& request, QString& path) override { return File(request, path); }
    bool ChooseColor(QWidget*, const QColor&, QColor& chosen) override
    {
        const std::optional<QColor> answer = ColorAnswers.isEmpty() ? std::nullopt : ColorAnswers.dequeue();
        if (answer)
            chosen = *answer;
        return answer.has_value();
    }
    bool SelectMap(QWidget*, const QString&, QString&) override { return false; }
    int Run(QDialog& dialog) override
    {
        RunTitles << dialog.windowTitle();
        return Drivers.isEmpty() ? int(QDialog::Rejected) : Drivers.dequeue()(dialog);
    }

    // A driver that acts on the dialog as its real type and returns the dialog's result.
    template <typename Dialog>
    static Driver Drive(std::function<void(Dialog&)> action)
    {
        return [action](QDialog& dialog) {
            auto* typed = dynamic_cast<Dialog*>(&dialog);
            if (!typed)
                return int(QDialog::Rejected);
            action(*typed);
            return dialog.result();
        };
    }

private:
    bool File(const FileDialogRequest& request, QString& path)
    {
        FileDialogs << request;
        const QString answer = FileAnswers.isEmpty() ? QString() : FileAnswers.dequeue();
        if (answer.isEmpty())
            return false;
        path = answer;
        return true;
    }
};
