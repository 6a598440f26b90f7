#pragma once
// Every file dialog of the window opens where the person last chose a file of its kind (the
// dialog's default extension) and remembers the folder of each file chosen. A dialog that
// proposes a file of its own (Save proposing the file last loaded) keeps its folder; one without
// any folder opens in the fallback, the installation's maps folder. Everything else is passed on.

#include "dialogs/userprompts.h"

class CFilePlaces;

class CRememberingPrompts : public CUserPrompts {
public:
    CRememberingPrompts(CUserPrompts& inner, CFilePlaces& places) : m_inner(inner), m_places(places) { }

    QString FallbackFolder;

    void Message(QWidget* parent, const QString& text, const QString& detail = QString()) override
    {
        m_inner.Message(parent, text, detail);
    }
    void Error(QWidget* parent, const QString& text, const QString& detail = QString()) override
    {
        m_inner.Error(parent, text, detail);
    }
    bool Confirm(QWidget* parent, const QString& text) override { return m_inner.Confirm(parent, text); }
    QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
                                    const QString& detail = QString()) override
    {
        return m_inner.Ask(parent, text, buttons, detail);
    }
    bool OpenFile(QWidget* parent, const FileDialogRequest& request, QString& path) override;
    bool SaveFile(QWidget* parent, const FileDialogRequest& request, QString& path) override;
    bool ChooseColor(QWidget* parent, const QColor& initial, QColor& chosen) override
    {
        return m_inner.ChooseColor(parent, initial, chosen);
    }
    bool SelectMap(QWidget* parent, const QString& installationPath, QString& folder) override
    {
        return m_inner.SelectMap(parent, installationPath, folder);
    }
    int Run(QDialog& dialog) override { return m_inner.Run(dialog); }

private:
    FileDialogRequest Placed(const FileDialogRequest& request) const;
    bool Remember(bool chosen, const FileDialogRequest& request, const QString& path);

    CUserPrompts& m_inner;
    CFilePlaces& m_places;
};
