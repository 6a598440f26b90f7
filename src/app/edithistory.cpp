#include "app/edithistory.h"

#include <QAction>

CEditHistory::CEditHistory(QObject* parent) : QObject(parent)
{
    // A history of edits of whole documents is small; no limit, so that every edit can be taken back.
    for (QUndoStack* stack : {&m_mapBin, &m_factions})
        connect(stack, &QUndoStack::indexChanged, this, [this] { UpdateActions(); });
}

CEditHistory::~CEditHistory()
{
    // The stacks announce their emptying as they go; nobody may hear of it any more.
    m_mapBin.blockSignals(true);
    m_factions.blockSignals(true);
}

void CEditHistory::Push(Document document, QUndoCommand* edit)
{
    m_stamps[edit] = ++m_clock;
    Stack(document).push(edit);
    UpdateActions();
}

quint64 CEditHistory::Stamp(const QUndoCommand* command) const
{
    const auto found = m_stamps.find(command);
    return found == m_stamps.end() ? 0 : found->second;
}

QUndoStack* CEditHistory::Latest(bool undo) const
{
    // The edit Undo would take back is the one below a stack's index; Redo's is the one at it.
    QUndoStack* latest = nullptr;
    quint64 latestStamp = 0;
    for (const QUndoStack* stack : {&m_mapBin, &m_factions}) {
        if (!(undo ? stack->canUndo() : stack->canRedo()))
            continue;
        const quint64 stamp = Stamp(stack->command(stack->index() - (undo ? 1 : 0)));
        if (!latest || stamp > latestStamp) {
            latest = const_cast<QUndoStack*>(stack);
            latestStamp = stamp;
        }
    }
    return latest;
}

void CEditHistory::Undo()
{
    if (QUndoStack* stack = Latest(true)) {
        m_stamps[stack->command(stack->index() - 1)] = ++m_clock;
        stack->undo();
    }
    UpdateActions();
}

void CEditHistory::Redo()
{
    if (QUndoStack* stack = Latest(false)) {
        m_stamps[stack->command(stack->index())] = ++m_clock;
        stack->redo();
    }
    UpdateActions();
}

QString CEditHistory::UndoText() const
{
    const QUndoStack* stack = Latest(true);
    return stack ? stack->undoText() : QString();
}

QString CEditHistory::RedoText() const
{
    const QUndoStack* stack = Latest(false);
    return stack ? stack->redoText() : QString();
}

void CEditHistory::Reset(Document document)
{
    QUndoStack& stack = Stack(document);
    for (int index = 0; index < stack.count(); ++index)
        m_stamps.erase(stack.command(index));
    stack.clear(); // clean again
    UpdateActions();
}

void CEditHistory::MarkSaved(Document document)
{
    Stack(document).setClean();
    UpdateActions();
}

void CEditHistory::MarkUnsaved(Document document)
{
    Stack(document).resetClean();
    UpdateActions();
}

bool CEditHistory::IsModified(Document document) const
{
    return !(document == MapBin ? m_mapBin : m_factions).isClean();
}

void CEditHistory::Attach(QAction* undo, QAction* redo)
{
    m_undo = undo;
    m_redo = redo;
    connect(undo, &QAction::triggered, this, &CEditHistory::Undo);
    connect(redo, &QAction::triggered, this, &CEditHistory::Redo);
    UpdateActions();
}

void CEditHistory::UpdateActions()
{
    if (m_undo) {
        const QString text = UndoText();
        m_undo->setEnabled(CanUndo());
        m_undo->setText(text.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo %1").arg(text));
    }
    if (m_redo) {
        const QString text = RedoText();
        m_redo->setEnabled(CanRedo());
        m_redo->setText(text.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(text));
    }
    emit Changed();
}
