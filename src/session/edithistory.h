#pragma once
// The undo history of the campaign session: one stack of edits for the Map BIN document and one for the
// faction layer, so that loading one of them starts its history afresh without touching the
// other's. Undo and Redo act on the two as on one history in time: Undo takes back the latest
// edit still done, in whichever document; Redo does again the edit undone last.
//
// Each stack's clean state is its document's saved state: undoing back to it makes the document
// unmodified again.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <unordered_map>

class CEditHistory : public QObject {
    Q_OBJECT
public:
    enum Document { MapBin, Factions };

    explicit CEditHistory(QObject* parent = nullptr);
    ~CEditHistory() override;

    // Does the edit (its first redo) and keeps it, unless it turned out obsolete.
    void Push(Document document, QUndoCommand* edit);
    void Undo();
    void Redo();
    bool CanUndo() const { return !m_held && Latest(true) != nullptr; }
    bool CanRedo() const { return !m_held && Latest(false) != nullptr; }
    // While the mouse is in the middle of an edit (a brush stroke, a drag of records), Undo and
    // Redo wait: the edit in progress was begun on the document as it is now, and would otherwise
    // be pushed over an undone one, or take back the wrong values when it is undone itself.
    void SetHeld(bool held);
    bool IsHeld() const { return m_held; }
    // "Delete 3 SAM sites": the edit Undo (Redo) would act on; empty when there is none.
    QString UndoText() const;
    QString RedoText() const;

    // A fresh history, unmodified (New, Load, a faction file loaded).
    void Reset(Document document);
    // The document now matches its file (saved).
    void MarkSaved(Document document);
    // The document differs from any file although it has no history (a recovered copy).
    void MarkUnsaved(Document document);
    bool IsModified(Document document) const;

    QUndoStack& Stack(Document document) { return document == MapBin ? m_mapBin : m_factions; }

signals:
    // After every push, undo, redo, reset and save.
    void Changed();
    // Undo and Redo were held or freed.
    void HeldChanged();

private:
    // The stack whose next edit to undo (or redo) was done (or undone) last.
    QUndoStack* Latest(bool undo) const;
    quint64 Stamp(const QUndoCommand* command) const;
    void Announce();

    QUndoStack m_mapBin;
    QUndoStack m_factions;
    // When each edit was last done or undone; the higher, the more recent.
    std::unordered_map<const QUndoCommand*, quint64> m_stamps;
    quint64 m_clock = 0;
    bool m_held = false;
};
