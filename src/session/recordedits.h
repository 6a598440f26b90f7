#pragma once
// The edits of the undo history. Each does its work in redo(): pushing it does it, undo takes it
// back, redo does it again. A record edit is a list of changes made through the document's record
// path (rows inserted, rows removed, one row replaced); each change keeps the values the path
// handed back, so that undoing it is applying its inverse. A faction paint keeps the sectors it
// overwrote. No edit knows a widget: after an undo or redo it asks the session to bring its rows
// forward, and the session tells whoever shows them.

#include "document/binfile.h"

#include <QString>
#include <QUndoCommand>
#include <memory>
#include <vector>

class CCampaignSession;

// Rows of one list that an undo or redo brings forward (first > last: none).
struct ShownRows {
    ListAddress List;
    int First = 0;
    int Last = -1;
    // When not empty: the rows themselves, in order, First..Last being only their span.
    std::vector<int> Rows = {};
};

class CRecordChange {
public:
    virtual ~CRecordChange() = default;
    // Does the change / takes it back; false when the document refused (it does not fit).
    virtual bool Apply(CBINFile& document) = 0;
    virtual bool Revert(CBINFile& document) = 0;
    // The rows that show the change once it has been applied (or reverted).
    virtual ShownRows Shown(bool applied) const = 0;
    // Carries rows of the change's list, numbered as before it was applied (reverted), to their
    // numbers after; a row it removed is dropped. The order of `rows` is kept.
    virtual void MoveRows(std::vector<int>&, bool /*applied*/) const { }
};

// Inserts `values` before row `row`.
template <typename Record>
std::unique_ptr<CRecordChange> InsertRecords(int row, std::vector<Record> values, int templateNumber = -1);
// Removes `count` rows from row `row` on (templates in use are refused).
template <typename Record>
std::unique_ptr<CRecordChange> RemoveRecords(int row, int count, int templateNumber = -1);
// Removes the rows `rows` (in order, any set), each run of neighbours at once; undone, every record
// is back at its row. All or nothing: when the document refuses one run, none goes.
template <typename Record>
std::unique_ptr<CRecordChange> RemoveRecords(std::vector<int> rows, int templateNumber = -1);
// Gives row `row` the value `value`.
template <typename Record>
std::unique_ptr<CRecordChange> ReplaceRecord(int row, Record value, int templateNumber = -1);

// One edit of the Map BIN document: its changes, done in order and undone in reverse. An edit
// whose changes the document all refuses when it is pushed is dropped from the history.
class CRecordEdit : public QUndoCommand {
public:
    CRecordEdit(CCampaignSession& session, const QString& text);
    void Add(std::unique_ptr<CRecordChange> change) { m_changes.push_back(std::move(change)); }
    bool IsEmpty() const { return m_changes.empty(); }

    void redo() override;
    void undo() override;

private:
    // The rows of every change on the list of the first, each carried through the changes done
    // after it.
    ShownRows Shown(bool applied) const;

    CCampaignSession& m_session;
    std::vector<std::unique_ptr<CRecordChange>> m_changes;
    bool m_pushed = false; // the first redo is the push's: the caller shows its own result
};

// One Alt+click on the faction layer: the square of sectors set to one faction.
class CFactionPaint : public QUndoCommand {
public:
    // Keeps the square `FirstColumn..LastColumn` x `FirstRow..LastRow` as it is; every redo (the
    // push's first) paints it with `faction`.
    CFactionPaint(CCampaignSession& session, int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow,
                  int faction);

    void redo() override;
    void undo() override;

private:
    CCampaignSession& m_session;
    int32_t m_firstColumn;
    int32_t m_firstRow;
    int32_t m_lastColumn;
    int32_t m_lastRow;
    int m_faction;
    std::vector<unsigned char> m_before; // column by column
};
