#include "session/edithistory.h"

CEditHistory::CEditHistory(QObject* parent) : QObject(parent)
{
    // A history of edits of whole documents is small; no limit, so that every edit can be taken back.
    for (QUndoStack* stack : {&m_mapBin, &m_factions})
        connect(stack, &QUndoStack::indexChanged, this, [this] { Announce(); });
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
    // An obsolete edit is deleted by the push; its stamp goes with it.
    QUndoStack& stack = Stack(document);
    const int id = edit->id(); // the push may delete the edit
    stack.push(edit);
    const QUndoCommand* top = stack.index() > 0 ? stack.command(stack.index() - 1) : nullptr;
    if (top != edit) {
        m_stamps.erase(edit);
        // Merged into the edit before it: that edit is now the latest done.
        if (top && id != -1 && top->id() == id)
            m_stamps[top] = m_clock;
    }
    Announce();
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

void CEditHistory::SetHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    emit HeldChanged();
}

void CEditHistory::Undo()
{
    if (m_held)
        return;
    if (QUndoStack* stack = Latest(true)) {
        m_stamps[stack->command(stack->index() - 1)] = ++m_clock;
        stack->undo();
    }
    Announce();
}

void CEditHistory::Redo()
{
    if (m_held)
        return;
    if (QUndoStack* stack = Latest(false)) {
        m_stamps[stack->command(stack->index())] = ++m_clock;
        stack->redo();
    }
    Announce();
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
    Announce();
}

void CEditHistory::MarkSaved(Document document)
{
    Stack(document).setClean();
    Announce();
}

void CEditHistory::MarkUnsaved(Document document)
{
    Stack(document).resetClean();
    Announce();
}

bool CEditHistory::IsModified(Document document) const
{
    return !(document == MapBin ? m_mapBin : m_factions).isClean();
}

void CEditHistory::Announce() { emit Changed(); }
