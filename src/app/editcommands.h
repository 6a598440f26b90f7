#pragma once
// The edits of the undo history. A Map BIN edit is a list of record changes made through the
// document's record path (rows inserted, rows removed, one row replaced); each change keeps the
// values the path handed back, so that undoing it is applying its inverse. A faction paint keeps
// the sectors it overwrote.
//
// The window does an edit first (an editor dialog may decline it) and records it afterwards: a
// command is pushed already done, and its first redo, the push's, changes nothing.

#include "document/binfile.h"

#include <QString>
#include <QUndoCommand>
#include <functional>
#include <memory>
#include <vector>

class CFactionsInfo;

// Rows of one list that an undo or redo brings forward (first > last: none).
struct ShownRows {
    ListAddress List;
    int First = 0;
    int Last = -1;
};

class CRecordChange {
public:
    virtual ~CRecordChange() = default;
    // Does the change again / takes it back; false when the document refused (it no longer fits).
    virtual bool Apply(CBINFile& document) = 0;
    virtual bool Revert(CBINFile& document) = 0;
    // The rows that show the change once it has been applied (or reverted).
    virtual ShownRows Shown(bool applied) const = 0;
};

// `values` were inserted before row `row`.
template <typename Record>
std::unique_ptr<CRecordChange> RowsInserted(int row, std::vector<Record> values, int templateNumber = -1);
// `values` (as the path handed them back) were removed from row `row` on.
template <typename Record>
std::unique_ptr<CRecordChange> RowsRemoved(int row, std::vector<Record> values, int templateNumber = -1);
// Row `row` held `old` and now holds what the document holds.
template <typename Record>
std::unique_ptr<CRecordChange> RowReplaced(int row, Record old, int templateNumber = -1);

// "keysite template", "SAM site", ...: one record of a list, as the edit texts name it; counted
// ("3 SAM sites", "1 SAM site") for edits of several.
QString RecordNoun(RecordList list);
QString CountedRecords(RecordList list, int count);

// One edit of the Map BIN document: its changes, done in order and undone in reverse.
class CDocumentEdit : public QUndoCommand {
public:
    // Called after every undo and redo with the rows to select.
    using ShowRows = std::function<void(const ShownRows&)>;

    CDocumentEdit(CBINFile& document, const QString& text, ShowRows show);
    void Add(std::unique_ptr<CRecordChange> change) { m_changes.push_back(std::move(change)); }
    bool IsEmpty() const { return m_changes.empty(); }

    void redo() override;
    void undo() override;

private:
    void Show(bool applied) const;

    CBINFile& m_document;
    ShowRows m_show;
    std::vector<std::unique_ptr<CRecordChange>> m_changes;
    bool m_done = true; // pushed after the edit was made
};

// One Alt+click on the faction layer: the square of sectors set to one faction.
class CFactionPaint : public QUndoCommand {
public:
    using Repaint = std::function<void()>;

    // Keeps the square `FirstColumn..LastColumn` x `FirstRow..LastRow` as it is; every redo (the
    // push's first) paints it with `faction`.
    CFactionPaint(CFactionsInfo& factions, int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow,
                  int faction, Repaint repaint);

    void redo() override;
    void undo() override;

private:
    CFactionsInfo& m_factions;
    int32_t m_firstColumn;
    int32_t m_firstRow;
    int32_t m_lastColumn;
    int32_t m_lastRow;
    int m_faction;
    std::vector<unsigned char> m_before; // column by column
    Repaint m_repaint;
};
