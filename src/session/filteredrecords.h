#pragma once
// The rows of one record list that its filter lets through, in the list's order: the model the
// grid shows. Without a filter it is the list's table model row for row (the blank row of an
// empty list and the single cell of a list never filled included); with one, only records that
// pass, and no blank row. Every cell comes from the table model, so the "Number" column keeps
// showing the record's number.
//
// It follows the table model: records inserted, removed or changed are tested again and come or
// go as rows of their own. A selection over it maps to the list's rows range by range: a range of
// records becomes one range of rows here.

#include "document/recordfilter.h"

#include <QAbstractProxyModel>
#include <vector>

class CBINFile;
class CRecordTableModel;

class CFilteredRecords : public QAbstractProxyModel {
    Q_OBJECT
public:
    CFilteredRecords(const CBINFile& document, CRecordTableModel& source, QObject* parent = nullptr);

    CRecordTableModel& Records() const { return m_source; }
    const CRecordFilter& Filter() const { return m_filter; }
    // Shows the rows `filter` lets through: said as RowsAboutToChange, a reset, Filtered and
    // RowsSettled.
    void SetFilter(const CRecordFilter& filter);
    bool IsFiltering() const { return m_filter.Filters(); }
    // Whether `record` of the list is shown; every record is without a filter.
    bool Accepts(int record) const;
    // The records shown.
    int AcceptedCount() const;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QItemSelection mapSelectionToSource(const QItemSelection& selection) const override;
    QItemSelection mapSelectionFromSource(const QItemSelection& selection) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // Before rows come or go, said ahead of Qt's own announcements (the table model's, or before
    // a filter is applied); RowsSettled follows once every view and selection has heard of it,
    // whether or not any row shown here changed. `reset`: the list was shown anew.
    void RowsAboutToChange();
    void RowsSettled(bool reset);
    // A new filter has been applied, before RowsSettled: the moment to drop hidden records from a
    // selection.
    void Filtered();

private:
    void SourceAboutToInsert(int first, int last);
    void SourceInserted(int first, int last);
    void SourceAboutToRemove(int first, int last);
    void SourceRemoved(int first, int last);
    void SourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void SourceAboutToReset();
    void SourceReset();
    // The source rows that pass, tested afresh.
    void Rebuild();
    bool Passes(int sourceRow) const;
    // The first row here whose source row is `sourceRow` or later.
    int LowerRow(int sourceRow) const;
    // Rows first..last of the source tested again; rows here come and go in runs.
    void Retest(int first, int last);

    const CBINFile& m_document;
    CRecordTableModel& m_source;
    CRecordFilter m_filter;
    std::vector<int> m_rows;      // the source row of each row here, while filtering
    std::vector<bool> m_accepted; // by source row, while filtering
    bool m_removing = false;      // a removal of rows here is under way
    bool m_inserting = false;     // an insertion passed through unfiltered is under way
};
