#include "app/clipboardcommands.h"

#include "dialogs/userprompts.h"
#include "document/recordlists.h"
#include "session/campaignsession.h"
#include "session/recordclipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace {

constexpr int kMissingNamesShown = 10; // names listed in the message, as after a read

} // namespace

CClipboardCommands::CClipboardCommands(CCampaignSession& session, CUserPrompts& prompts, QMenu& menu, QWidget* window,
                                       std::function<std::optional<QPointF>()> pointUnderMouse)
    : QObject(window), m_session(session), m_prompts(prompts), m_window(window),
      m_pointUnderMouse(std::move(pointUnderMouse))
{
    menu.addSeparator();
    const auto add = [&](const char* name, const QString& caption, QKeySequence::StandardKey keys,
                         void (CClipboardCommands::*run)()) {
        QAction* action = menu.addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    m_cut = add("Cut1", QStringLiteral("Cu&t"), QKeySequence::Cut, &CClipboardCommands::Cut);
    m_copy = add("Copy1", QStringLiteral("&Copy"), QKeySequence::Copy, &CClipboardCommands::Copy);
    m_paste = add("Paste1", QStringLiteral("&Paste"), QKeySequence::Paste, &CClipboardCommands::Paste);

    connect(&session, &CCampaignSession::SelectionChanged, this, &CClipboardCommands::Update);
    connect(&session, &CCampaignSession::RecordsChanged, this, &CClipboardCommands::Update);
    // Asking another program's clipboard what it holds may wait on that program: asked when it
    // changes, not at every change of the selection.
    const auto readClipboard = [this] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        m_clipboardHasText = data && (data->hasFormat(QLatin1String(recordclipboard::MimeType)) || data->hasText());
        Update();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);
    connect(qApp, &QApplication::focusChanged, this, &CClipboardCommands::Update);
    readClipboard();
}

QLineEdit* CClipboardCommands::FocusedTextField() const
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !m_window->isAncestorOf(focus))
        return nullptr;
    return qobject_cast<QLineEdit*>(focus);
}

void CClipboardCommands::Update()
{
    if (FocusedTextField()) {
        for (QAction* action : {m_cut, m_copy, m_paste})
            action->setEnabled(true);
        return;
    }
    // Cheap enough for every change of the selection: whether any record is chosen, not which.
    bool chosen = false;
    const RecordList active = m_session.ActiveList();
    const bool templates = active == RecordList::Templates || active == RecordList::TemplateObjects;
    for (const RecordList list :
         {RecordList::Templates, RecordList::Keysites, RecordList::Airbases, RecordList::Sams}) {
        if ((list == RecordList::Templates) == templates && m_session.Records().Count({list}) > 0
            && m_session.Selection(list).hasSelection())
            chosen = true;
    }
    m_cut->setEnabled(chosen);
    m_copy->setEnabled(chosen);
    m_paste->setEnabled(m_clipboardHasText);
}

void CClipboardCommands::Copy()
{
    if (QLineEdit* field = FocusedTextField()) {
        field->copy();
        return;
    }
    const QByteArray text = recordclipboard::CopyText(m_session);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setMimeData(recordclipboard::MimeData(text));
}

void CClipboardCommands::Cut()
{
    if (QLineEdit* field = FocusedTextField()) {
        field->cut();
        return;
    }
    std::vector<int> refused;
    const QByteArray text = recordclipboard::Cut(m_session, refused);
    // Delete's words for a template that stays.
    for (const int number : refused)
        m_prompts.Message(m_window,
                          QStringLiteral("Can't delete template ") + QString::number(number) + QLatin1Char('!'));
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setMimeData(recordclipboard::MimeData(text));
}

void CClipboardCommands::Paste()
{
    if (QLineEdit* field = FocusedTextField()) {
        field->paste();
        return;
    }
    const QByteArray text = recordclipboard::TextOf(QGuiApplication::clipboard()->mimeData());
    QString problem;
    CMissingNames missing;
    if (!recordclipboard::Paste(m_session, text, m_pointUnderMouse(), problem, missing)) {
        m_prompts.Message(m_window, problem);
        return;
    }
    if (!missing.IsEmpty())
        m_prompts.Message(m_window, MissingNamesText(missing, kMissingNamesShown));
}
